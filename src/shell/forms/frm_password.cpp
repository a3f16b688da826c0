#include "shell/forms/frm_password.h"

#include "controls/xpbutton.h"
#include "engine/databasefailure.h"
#include "engine/messagetitles.h"
#include "platform/db.h"
#include "platform/dialogs.h"
#include "shell/forms/shellforms.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>

namespace zav::shell {

namespace {

QLineEdit *passwordBox(QWidget *parent, const QString &name)
{
    auto *box = new QLineEdit(parent);
    box->setObjectName(name);
    box->setEchoMode(QLineEdit::Password);
    box->setStyleSheet(QStringLiteral("lineedit-password-character: 42;")); // '*'
    return box;
}

} // namespace

frm_password::frm_password(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(FormName::frm_password);
    setWindowTitle(QStringLiteral("Password Utente"));

    Label60 = new QLabel(QStringLiteral("Vecchia Password:"), this);
    Label60->setObjectName(QStringLiteral("Label60"));
    Text11 = passwordBox(this, QStringLiteral("Text11"));
    Label61 = new QLabel(QStringLiteral("Nuova Password:"), this);
    Label61->setObjectName(QStringLiteral("Label61"));
    Text12 = passwordBox(this, QStringLiteral("Text12"));
    Text13 = new QLineEdit(this);
    Text13->setObjectName(QStringLiteral("Text13"));
    Text13->setReadOnly(true);
    Check8 = new QCheckBox(QStringLiteral("Attiva/Disattiva"), this);
    Check8->setObjectName(QStringLiteral("Check8"));
    Command1 = new controls::XPButton(this);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setButtonType(3);
    Command1->setColorScheme(1);
    Command1->setShowFocusRect(true);
    Command1->setBackColor(0xC8D0D4); // red 212, green 208, blue 200
    Command1->setForeColor(0);
    QFont bold(QStringLiteral("Arial"));
    bold.setPointSizeF(8.25);
    bold.setBold(true);
    Command1->setFont(bold);
    Command1->setCaption(QStringLiteral("OK"));
    Command1->setFixedSize(69, 27);

    auto *layout = new QGridLayout(this);
    layout->addWidget(Label60, 0, 0);
    layout->addWidget(Text11, 0, 1);
    layout->addWidget(Label61, 1, 0);
    layout->addWidget(Text12, 1, 1);
    layout->addWidget(Text13, 1, 2);
    layout->addWidget(Check8, 2, 1);
    layout->addWidget(Command1, 3, 2, Qt::AlignRight);

    Text12->setEnabled(false);
    Text13->setEnabled(false);
    Check8->setEnabled(false);

    connect(Text11, &QLineEdit::returnPressed, this, [this] { Text11_KeyPress(13); });
    connect(Text12, &QLineEdit::textChanged, this, &frm_password::Text12_Change);
    connect(Text12, &QLineEdit::returnPressed, this, [this] { Text12_KeyPress(13); });
    connect(Command1, &controls::XPButton::Click, this, &frm_password::Command1_Click);

    Form_Load();
}

void frm_password::Form_Load()
{
    if (!readSettings())
        return;
    m_loadedAttiva = m_settings.isActive();
    Check8->setChecked(m_loadedAttiva);
}

bool frm_password::readSettings()
{
    try {
        m_settings = PasswordSettings::read();
        return true;
    } catch (const platform::DbError &error) {
        reportFailure(engine::databaseFailureText(error));
        return false;
    }
}

void frm_password::Text11_KeyPress(int KeyAscii)
{
    if (KeyAscii != 13)
        return;
    if (!readSettings())
        return;
    // No stored password (Null) counts as the empty text, so that the password can be set at all.
    const QString stored = m_settings.password().toString();
    if (Text11->text() == stored) {
        Text12->setEnabled(true);
        Text13->setEnabled(true);
        Check8->setEnabled(true);
        Text12->setFocus();
        return;
    }
    platform::dialogs().msgBox(QStringLiteral("Utente non autorizzato"), platform::MsgButtons::Ok,
        platform::MsgIcon::Exclamation, engine::MessageTitle::Warning);
    Text11->clear();
}

void frm_password::Text12_Change()
{
    Text13->setText(Text12->text());
}

void frm_password::Text12_KeyPress(int KeyAscii)
{
    if (KeyAscii != 13 || !Text12->isEnabled())
        return;
    // An empty entry keeps the stored password.
    if (Text12->text().isEmpty())
        Text12->setText(m_settings.password().toString());
    try {
        PasswordSettings::writePassword(Text13->text());
    } catch (const platform::DbError &error) {
        reportFailure(engine::databaseFailureText(error));
        return;
    }
    // From now on the record holds the new password: a later empty entry keeps that one.
    readSettings();
}

void frm_password::Command1_Click()
{
    close();
}

void frm_password::done(int result)
{
    Form_Unload();
    QDialog::done(result);
}

void frm_password::Form_Unload()
{
    if (m_unloaded)
        return;
    m_unloaded = true;
    if (!Check8->isEnabled() || Check8->isChecked() == m_loadedAttiva)
        return;
    try {
        PasswordSettings::writeAttiva(Check8->isChecked());
    } catch (const platform::DbError &error) {
        reportFailure(engine::databaseFailureText(error));
    }
}

void frm_password::reportFailure(const QString &what)
{
    platform::dialogs().msgBox(
        what, platform::MsgButtons::Ok, platform::MsgIcon::Critical, engine::MessageTitle::Warning);
}

} // namespace zav::shell
