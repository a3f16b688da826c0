#pragma once

#include "platform/ui/datagridmodel.h"

#include <QString>

#include <functional>

class QWidget;

namespace zav::platform {
class DataGrid;
class DataSource;
} // namespace zav::platform

/**
 * @brief What the expense forms share: their message boxes, the making of their grids and data
 * sources, and the one way a command reports a database that fails it.
 */
namespace zav::expenses::formparts {

/** @brief The title of the expense forms' print previews. */
inline const QString PreviewTitle = QStringLiteral("Z.A.V. (Anteprima di Stampa)");

/** @brief A notice to the user: information icon, OK, title "!!! Zav - Attenzione - !!!". */
void information(const QString &text);
/** @brief A failure told to the user: critical icon, OK, title "!!! Zav - Attenzione - !!!". */
void failure(const QString &text);

/**
 * @brief Runs a command's database work; a DbError it throws is told to the user as a failure,
 * the lead text followed by the failure's words. Returns whether the work ran through.
 */
bool attempt(const QString &lead, const std::function<void()> &work);

/** @brief A data source with its designer name. */
platform::DataSource *dataSource(const char *name, QObject *parent);
/** @brief A grid with its designer name and caption. */
platform::DataGrid *dataGrid(const char *name, const QString &caption, QWidget *parent);
/** @brief A grid column: field, caption (UTF-8), width in pixels and display format. */
platform::DataGridColumn column(
    const char *field, const char *caption, int width, const QString &format = {});

} // namespace zav::expenses::formparts
