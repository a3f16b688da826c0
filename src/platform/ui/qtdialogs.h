#pragma once

#include "platform/dialogs.h"

namespace zav::platform {

/** @brief The real boxes: QMessageBox, QInputDialog, QFileDialog. */
class QtDialogs : public Dialogs
{
public:
    MsgResult msgBox(const QString &text, MsgButtons buttons, MsgIcon icon, const QString &title) override;
    std::optional<QString> inputBox(
        const QString &prompt, const QString &title, const QString &defaultText) override;
    QString openFileName(const QString &title, const QString &folder, const QString &filter) override;
    QString saveFileName(const QString &title, const QString &folder, const QString &filter) override;
    QString existingFolder(const QString &title, const QString &folder) override;
};


/** @brief Makes the real boxes the default ones (once, at start). */
void installQtDialogs();

} // namespace zav::platform
