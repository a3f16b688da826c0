#pragma once

#include "platform/dialogs.h"

#include <QList>
#include <QVariant>

#include <deque>
#include <functional>
#include <optional>
#include <variant>

namespace zav::platform {

/**
 * @brief Dialogs for tests: records every box shown and answers from a queue.
 *
 * Message boxes take MsgResult answers, input and file boxes take text answers (std::nullopt for
 * an input box cancelled). With the queue empty a message box answers Ok for an Ok-only box and
 * Cancel/No otherwise, an input box is cancelled and a file box answers empty; `unanswered()`
 * counts those, so a test can check that nothing asked more than it scripted.
 */
class ScriptedDialogs : public Dialogs
{
public:
    enum class Kind { Message, Input, OpenFile, SaveFile, Folder };

    /** @brief One box as it was shown. */
    struct Shown
    {
        Kind kind = Kind::Message;
        QString text; ///< message text or prompt
        QString title;
        MsgIcon icon = MsgIcon::None;
        MsgButtons buttons = MsgButtons::Ok;
        QString defaultText; ///< input box default, or file box folder
        MsgDefault defaultButton = MsgDefault::First; ///< the button Enter presses in a message box
    };

    /** @brief RAII: installs itself as the program's Dialogs for its lifetime. */
    ScriptedDialogs();
    ~ScriptedDialogs() override;

    /** @brief Called with each message box's text as it is shown, before it is answered: a test looks
     * at the program at that moment. */
    std::function<void(const QString &)> onMessage;

    void answer(MsgResult result) { m_answers.emplace_back(result); }
    void answerText(const std::optional<QString> &text) { m_answers.emplace_back(text); }

    const QList<Shown> &shown() const { return m_shown; }
    /** @brief Texts of the message boxes shown, in order. */
    QStringList messages() const;
    int unanswered() const { return m_unanswered; }
    int pendingAnswers() const { return int(m_answers.size()); }
    void clear();

    MsgResult msgBox(const QString &text, MsgButtons buttons, MsgIcon icon, const QString &title,
        MsgDefault defaultButton = MsgDefault::First) override;
    std::optional<QString> inputBox(
        const QString &prompt, const QString &title, const QString &defaultText) override;
    QString openFileName(const QString &title, const QString &folder, const QString &filter) override;
    QString saveFileName(const QString &title, const QString &folder, const QString &filter) override;
    QString existingFolder(const QString &title, const QString &folder) override;

private:
    using Answer = std::variant<MsgResult, std::optional<QString>>;
    QString nextText(Kind kind, const QString &title, const QString &folder);

    QList<Shown> m_shown;
    std::deque<Answer> m_answers;
    int m_unanswered = 0;
    Dialogs *m_previous = nullptr;
};

} // namespace zav::platform
