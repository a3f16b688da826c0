#pragma once

#include "platform/dialogs.h"

class QMessageBox;

namespace zav::platform {

/** @brief The real boxes: QMessageBox, QInputDialog, QFileDialog. */
class QtDialogs : public Dialogs
{
public:
    MsgResult msgBox(const QString &text, MsgButtons buttons, MsgIcon icon, const QString &title,
        MsgDefault defaultButton = MsgDefault::First) override;
    std::optional<QString> inputBox(
        const QString &prompt, const QString &title, const QString &defaultText) override;
    QString openFileName(const QString &title, const QString &folder, const QString &filter) override;
    QString saveFileName(const QString &title, const QString &folder, const QString &filter) override;
    QString existingFolder(const QString &title, const QString &folder) override;
};

/** @brief How wide a window must be for a window manager's title bar to show this title whole. */
int titleBarWidth(const QString &title);

/** @brief Makes a message box at least as wide as its title bar needs (before it is shown). */
void widenForTitle(QMessageBox &box);

/** @brief Makes the real boxes the default ones (once, at start). */
void installQtDialogs();

} // namespace zav::platform
