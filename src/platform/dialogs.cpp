#include "platform/dialogs.h"

#include <QtDebug>

namespace zav::platform {

namespace {

Dialogs *g_installed = nullptr;
Dialogs *g_default = nullptr;

/** Answers every box as if cancelled, with a trace: what runs before a real set of boxes exists. */
class UnattendedDialogs : public Dialogs
{
public:
    MsgResult msgBox(
        const QString &text, MsgButtons buttons, MsgIcon, const QString &title, MsgDefault) override
    {
        qWarning("Message with no dialogs installed: %s: %s", qUtf8Printable(title), qUtf8Printable(text));
        return buttons == MsgButtons::Ok ? MsgResult::Ok : MsgResult::Cancel;
    }
    std::optional<QString> inputBox(const QString &prompt, const QString &, const QString &) override
    {
        qWarning("Input box with no dialogs installed: %s", qUtf8Printable(prompt));
        return std::nullopt;
    }
    QString openFileName(const QString &, const QString &, const QString &) override { return {}; }
    QString saveFileName(const QString &, const QString &, const QString &) override { return {}; }
    QString existingFolder(const QString &, const QString &) override { return {}; }
};

} // namespace

QString programTitle()
{
    return QStringLiteral("Zav");
}

Dialogs &dialogs()
{
    static UnattendedDialogs unattended;
    if (g_installed)
        return *g_installed;
    return g_default ? *g_default : unattended;
}

void setDialogs(Dialogs *installed)
{
    g_installed = installed;
}

void setDefaultDialogs(Dialogs *real)
{
    g_default = real;
}

} // namespace zav::platform
