#pragma once

#include <QString>
#include <QStringList>

#include <optional>

namespace zav::platform {

/** @brief Buttons of a message box. */
enum class MsgButtons { Ok, OkCancel, AbortRetryIgnore, YesNoCancel, YesNo, RetryCancel };
/** @brief Icon of a message box. */
enum class MsgIcon { None, Critical, Question, Exclamation, Information };
/** @brief Which of a message box's buttons Enter presses: the first (Ok, Yes, Abort, Retry) or the second
 * (Cancel, No, Retry). Questions that delete something default to the second, so that Enter keeps the data.
 */
enum class MsgDefault { First, Second };
/** @brief The button a message box was closed with. */
enum class MsgResult { Ok, Cancel, Abort, Retry, Ignore, Yes, No };

/**
 * @brief Message, input and file boxes: the only way the program asks or tells the user anything.
 *
 * Storage and engine code shows no widget; it calls the installed Dialogs. The program installs
 * QtDialogs; tests install ScriptedDialogs, which records every box and answers from a queue.
 */
class Dialogs
{
public:
    virtual ~Dialogs() = default;

    /** @brief Shows a message and returns the button chosen. */
    virtual MsgResult msgBox(const QString &text, MsgButtons buttons = MsgButtons::Ok,
        MsgIcon icon = MsgIcon::None, const QString &title = QString(),
        MsgDefault defaultButton = MsgDefault::First)
        = 0;
    /** @brief Asks for one line of text; no value when cancelled. */
    virtual std::optional<QString> inputBox(
        const QString &prompt, const QString &title = QString(), const QString &defaultText = QString())
        = 0;
    /** @brief Picks an existing file; empty text when cancelled. */
    virtual QString openFileName(const QString &title, const QString &folder, const QString &filter) = 0;
    /** @brief Picks a file to write; empty text when cancelled. */
    virtual QString saveFileName(const QString &title, const QString &folder, const QString &filter) = 0;
    /** @brief Picks a folder; empty text when cancelled. */
    virtual QString existingFolder(const QString &title, const QString &folder) = 0;
};

/** @brief The installed Dialogs (QtDialogs unless a test installed another). */
Dialogs &dialogs();
/** @brief Installs a Dialogs; nullptr restores the default. The caller keeps ownership. */
void setDialogs(Dialogs *dialogs);
/**
 * @brief Sets the boxes used while no other is installed (the program's real ones). Until then
 * every box is answered as cancelled, with a warning.
 */
void setDefaultDialogs(Dialogs *real);

/** @brief Message title used where a box has none of its own: the program's name. */
QString programTitle();

} // namespace zav::platform
