#include "support/scripteddialogs.h"

namespace zav::platform {

ScriptedDialogs::ScriptedDialogs()
    : m_previous(&dialogs())
{
    setDialogs(this);
}

ScriptedDialogs::~ScriptedDialogs()
{
    // Restore whatever was installed before (the real boxes when that was the default).
    setDialogs(nullptr);
    if (m_previous != &dialogs())
        setDialogs(m_previous);
}

QStringList ScriptedDialogs::messages() const
{
    QStringList texts;
    for (const Shown &box : m_shown) {
        if (box.kind == Kind::Message)
            texts << box.text;
    }
    return texts;
}

void ScriptedDialogs::clear()
{
    m_shown.clear();
    m_answers.clear();
    m_unanswered = 0;
}

MsgResult ScriptedDialogs::msgBox(
    const QString &text, MsgButtons buttons, MsgIcon icon, const QString &title, MsgDefault defaultButton)
{
    m_shown.append(Shown { Kind::Message, text, title, icon, buttons, QString(), defaultButton });
    if (onMessage)
        onMessage(text);
    if (!m_answers.empty()) {
        const Answer answer = m_answers.front();
        m_answers.pop_front();
        if (const auto *result = std::get_if<MsgResult>(&answer))
            return *result;
    }
    ++m_unanswered;
    switch (buttons) {
    case MsgButtons::Ok:
        return MsgResult::Ok;
    case MsgButtons::YesNo:
        return MsgResult::No;
    default:
        return MsgResult::Cancel;
    }
}

std::optional<QString> ScriptedDialogs::inputBox(
    const QString &prompt, const QString &title, const QString &defaultText)
{
    m_shown.append(Shown { Kind::Input, prompt, title, MsgIcon::None, MsgButtons::OkCancel, defaultText });
    if (!m_answers.empty()) {
        const Answer answer = m_answers.front();
        m_answers.pop_front();
        if (const auto *text = std::get_if<std::optional<QString>>(&answer))
            return *text;
    }
    ++m_unanswered;
    return std::nullopt;
}

QString ScriptedDialogs::nextText(Kind kind, const QString &title, const QString &folder)
{
    m_shown.append(Shown { kind, QString(), title, MsgIcon::None, MsgButtons::OkCancel, folder });
    if (!m_answers.empty()) {
        const Answer answer = m_answers.front();
        m_answers.pop_front();
        if (const auto *text = std::get_if<std::optional<QString>>(&answer))
            return text->value_or(QString());
    }
    ++m_unanswered;
    return QString();
}

QString ScriptedDialogs::openFileName(const QString &title, const QString &folder, const QString &)
{
    return nextText(Kind::OpenFile, title, folder);
}

QString ScriptedDialogs::saveFileName(const QString &title, const QString &folder, const QString &)
{
    return nextText(Kind::SaveFile, title, folder);
}

QString ScriptedDialogs::existingFolder(const QString &title, const QString &folder)
{
    return nextText(Kind::Folder, title, folder);
}

} // namespace zav::platform
