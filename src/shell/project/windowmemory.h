#pragma once

#include <QByteArray>
#include <QLatin1String>
#include <QString>

/**
 * @brief What the program remembers of its windows from one run to the next: the main window's
 * size and place, and the project last opened. Kept in "zav.ini" of the program folder, beside the
 * other configuration files; a missing or unreadable file remembers nothing. No widgets.
 */
namespace zav::shell::windowmemory {

/** @brief The file of the program folder that holds what is remembered. */
inline constexpr QLatin1String MemoryFile("zav.ini");

/** @brief The main window's geometry as QWidget::saveGeometry() gave it; empty when none is kept. */
QByteArray mainWindowGeometry();
/** @brief Keeps the main window's geometry (QWidget::saveGeometry()). */
void setMainWindowGeometry(const QByteArray &geometry);

/** @brief The full path of the project archive last opened or created; empty when none is kept. */
QString lastProject();
/** @brief Keeps the full path of the project archive just opened or created. */
void setLastProject(const QString &archive);

} // namespace zav::shell::windowmemory
