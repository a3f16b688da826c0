#include "platform/ui/qtdialogs.h"

#include <QApplication>
#include <QFileDialog>
#include <QInputDialog>
#include <QMessageBox>

namespace zav::platform {

namespace {


QMessageBox::StandardButtons standardButtons(MsgButtons buttons)
{
    switch (buttons) {
    case MsgButtons::Ok:
        return QMessageBox::Ok;
    case MsgButtons::OkCancel:
        return QMessageBox::Ok | QMessageBox::Cancel;
    case MsgButtons::AbortRetryIgnore:
        return QMessageBox::Abort | QMessageBox::Retry | QMessageBox::Ignore;
    case MsgButtons::YesNoCancel:
        return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    case MsgButtons::YesNo:
        return QMessageBox::Yes | QMessageBox::No;
    case MsgButtons::RetryCancel:
        return QMessageBox::Retry | QMessageBox::Cancel;
    }
    return QMessageBox::Ok;
}

QMessageBox::Icon standardIcon(MsgIcon icon)
{
    switch (icon) {
    case MsgIcon::None:
        return QMessageBox::NoIcon;
    case MsgIcon::Critical:
        return QMessageBox::Critical;
    case MsgIcon::Question:
        return QMessageBox::Question;
    case MsgIcon::Exclamation:
        return QMessageBox::Warning;
    case MsgIcon::Information:
        return QMessageBox::Information;
    }
    return QMessageBox::NoIcon;
}

MsgResult resultOf(int button)
{
    switch (button) {
    case QMessageBox::Ok:
        return MsgResult::Ok;
    case QMessageBox::Abort:
        return MsgResult::Abort;
    case QMessageBox::Retry:
        return MsgResult::Retry;
    case QMessageBox::Ignore:
        return MsgResult::Ignore;
    case QMessageBox::Yes:
        return MsgResult::Yes;
    case QMessageBox::No:
        return MsgResult::No;
    default:
        return MsgResult::Cancel;
    }
}

QWidget *dialogParent()
{
    return QApplication::activeWindow();
}

} // namespace

void installQtDialogs()
{
    static QtDialogs real;
    setDefaultDialogs(&real);
}

MsgResult QtDialogs::msgBox(const QString &text, MsgButtons buttons, MsgIcon icon, const QString &title)
{
    QMessageBox box(standardIcon(icon), title.isEmpty() ? programTitle() : title, text,
        standardButtons(buttons), dialogParent());
    return resultOf(box.exec());
}

std::optional<QString> QtDialogs::inputBox(
    const QString &prompt, const QString &title, const QString &defaultText)
{
    bool ok = false;
    const QString text = QInputDialog::getText(dialogParent(), title.isEmpty() ? programTitle() : title,
        prompt, QLineEdit::Normal, defaultText, &ok);
    if (!ok)
        return std::nullopt;
    return text;
}

QString QtDialogs::openFileName(const QString &title, const QString &folder, const QString &filter)
{
    return QFileDialog::getOpenFileName(dialogParent(), title, folder, filter);
}

QString QtDialogs::saveFileName(const QString &title, const QString &folder, const QString &filter)
{
    return QFileDialog::getSaveFileName(dialogParent(), title, folder, filter);
}

QString QtDialogs::existingFolder(const QString &title, const QString &folder)
{
    return QFileDialog::getExistingDirectory(dialogParent(), title, folder);
}

} // namespace zav::platform
