#include "shell/forms/inizio.h"

#include "engine/messagetitles.h"
#include "platform/db.h"
#include "platform/dialogs.h"
#include "platform/programend.h"
#include "platform/ui/formregistry.h"
#include "shell/forms/shellforms.h"

#include <QCloseEvent>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QLinearGradient>
#include <QPainter>
#include <QPushButton>
#include <QVBoxLayout>

namespace zav::shell {

namespace {

// The code that opens the program whatever password is stored.
const QString masterCode = QStringLiteral("8261");

} // namespace

INIZIO::INIZIO(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(FormName::INIZIO);
    setWindowTitle(QString());
    // Closing this form on the way to the main window must not end the program: leaving happens
    // only through endProgram() (see closeEvent).
    setAttribute(Qt::WA_QuitOnClose, false);
    setFixedSize(420, 280);

    Command1 = new QPushButton(QStringLiteral("&Avvio"), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    // Enter presses "Avvio", as the default button of a dialog.
    Command1->setDefault(true);
    Command1->setAutoDefault(true);
    Label63 = new QLabel(QStringLiteral("Inserire Password:"), this);
    Label63->setObjectName(QStringLiteral("Label63"));
    Label4 = new QLabel(QStringLiteral("Password Utente"), this);
    Label4->setObjectName(QStringLiteral("Label4"));
    Text16 = new QLineEdit(this);
    Text16->setObjectName(QStringLiteral("Text16"));
    Text16->setEchoMode(QLineEdit::Password);
    Text16->setStyleSheet(QStringLiteral("lineedit-password-character: 42;")); // '*'

    QFont title = Label4->font();
    title.setBold(true);
    title.setPointSizeF(title.pointSizeF() * 1.2);
    Label4->setFont(title);

    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(40, 90, 40, 24);
    layout->addWidget(Label4);
    layout->addWidget(Label63);
    layout->addWidget(Text16);
    layout->addStretch();
    layout->addWidget(Command1, 0, Qt::AlignHCenter);

    Label63->hide();
    Label4->hide();
    Text16->hide();

    connect(Command1, &QPushButton::clicked, this, &INIZIO::Command1_Click);
    connect(Text16, &QLineEdit::returnPressed, this, [this] { Text16_KeyPress(13); });

    Form_Load();
}

void INIZIO::Form_Load()
{
    update();
    // A settings database that cannot be read counts as one holding no record: no password is
    // asked, as with the flag off.
    try {
        m_settings = PasswordSettings::read();
    } catch (const platform::DbError &) {
        m_settings = PasswordSettings();
    }
}

void INIZIO::Command1_Click()
{
    if (m_settings.isActive()) {
        Label63->show();
        Label4->show();
        Text16->show();
        Text16->setFocus();
        return;
    }
    openMainWindow();
}

void INIZIO::Text16_KeyPress(int KeyAscii)
{
    if (KeyAscii != 13)
        return;
    const QString typed = Text16->text();
    const QVariant stored = m_settings.password();
    // A Null password matches nothing; the empty text matches an empty box.
    const bool matchesStored = !stored.isNull() && typed == stored.toString();
    if (matchesStored || typed == masterCode) {
        openMainWindow();
        return;
    }
    ++m_refusals;
    if (m_refusals >= 3) {
        platform::endProgram();
        return;
    }
    platform::dialogs().msgBox(QStringLiteral("Utente non autorizzato"), platform::MsgButtons::Ok,
        platform::MsgIcon::Exclamation, engine::MessageTitle::Warning);
    Text16->clear();
}

void INIZIO::openMainWindow()
{
    setCursor(Qt::WaitCursor);
    // The main window's load closes this form.
    platform::FormRegistry::showModeless(FormName::frm_init);
}

void INIZIO::closeForMainWindow()
{
    m_closingForMainWindow = true;
    close();
}

void INIZIO::closeEvent(QCloseEvent *event)
{
    event->accept();
    // Closed by its frame before the main window opened: the user chose not to start.
    if (!m_closingForMainWindow)
        platform::endProgram();
}

void INIZIO::keyPressEvent(QKeyEvent *event)
{
    // The password box answers Enter itself; anywhere else Enter presses "Avvio".
    const bool enter = event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter;
    if (enter && !Text16->hasFocus() && Command1->isVisible() && Command1->isEnabled()) {
        Command1->click();
        return;
    }
    QWidget::keyPressEvent(event);
}

void INIZIO::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    QLinearGradient gradient(0, 0, 0, height());
    gradient.setColorAt(0, QColor(0x1f, 0x3a, 0x68));
    gradient.setColorAt(1, QColor(0x9f, 0xb8, 0xd8));
    painter.fillRect(rect(), gradient);
    QFont font = this->font();
    font.setBold(true);
    font.setPointSizeF(font.pointSizeF() * 2.6);
    painter.setFont(font);
    painter.setPen(Qt::white);
    painter.drawText(QRect(0, 16, width(), 60), Qt::AlignCenter, QStringLiteral("Zav"));
}

} // namespace zav::shell
