#include "shell/browser/frmbrowser.h"

#include <QAction>
#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QStyle>
#include <QTimer>
#include <QToolBar>
#include <QUrl>
#include <QWebEnginePage>
#include <QWebEngineView>

#include <unistd.h>

namespace zav::shell {

namespace {

// The window's offsets are set in twips, fifteen to a pixel on a common screen.
int twips(int value)
{
    return qRound(value / 15.0);
}

// Chromium will not start its sandbox for the root user and then ends the whole process; run as
// root, the browser goes without the sandbox rather than take the program down.
void allowWebEngineAsRoot()
{
    if (::geteuid() == 0 && !qEnvironmentVariableIsSet("QTWEBENGINE_DISABLE_SANDBOX"))
        qputenv("QTWEBENGINE_DISABLE_SANDBOX", "1");
}

} // namespace

frmBrowser::frmBrowser(QWidget *parent)
    : QWidget(parent)
{
    allowWebEngineAsRoot();
    setObjectName(QStringLiteral("frmBrowser"));
    setWindowTitle(QStringLiteral("Brem Browser"));

    tbToolBar = new QToolBar(this);
    tbToolBar->setObjectName(QStringLiteral("tbToolBar"));
    const struct
    {
        const char *key;
        const char *tooltip;
        QStyle::StandardPixmap icon;
    } buttons[] = {
        { "Back", "Indietro", QStyle::SP_ArrowBack },
        { "Forward", "Avanti", QStyle::SP_ArrowForward },
        { "Stop", "Interrompi", QStyle::SP_BrowserStop },
        { "Refresh", "Aggiorna", QStyle::SP_BrowserReload },
        { "Home", "Home", QStyle::SP_DirHomeIcon },
        { "Search", "Cerca", QStyle::SP_FileDialogContentsView },
    };
    for (const auto &button : buttons) {
        QAction *action
            = tbToolBar->addAction(style()->standardIcon(button.icon), QString::fromUtf8(button.tooltip));
        action->setObjectName(QString::fromLatin1(button.key));
        action->setData(QString::fromLatin1(button.key));
        action->setToolTip(QString::fromUtf8(button.tooltip));
    }
    connect(tbToolBar, &QToolBar::actionTriggered, this,
        [this](QAction *action) { tbToolBar_ButtonClick(action->data().toString()); });

    picAddress = new QWidget(this);
    picAddress->setObjectName(QStringLiteral("picAddress"));
    lblAddress = new QLabel(QStringLiteral("&Indirizzo:"), picAddress);
    lblAddress->setObjectName(QStringLiteral("lblAddress"));
    cboAddress = new QComboBox(picAddress);
    cboAddress->setObjectName(QStringLiteral("cboAddress"));
    cboAddress->setEditable(true);
    // The history is written by the window alone, never by typing.
    cboAddress->setInsertPolicy(QComboBox::NoInsert);
    lblAddress->setBuddy(cboAddress);
    lblAddress->adjustSize();
    lblAddress->move(twips(50), twips(30));
    cboAddress->move(twips(50), lblAddress->geometry().bottom() + 1 + twips(15));
    cboAddress->lineEdit()->installEventFilter(this);
    connect(cboAddress, &QComboBox::activated, this, &frmBrowser::cboAddress_Click);

    brwWebBrowser = new QWebEngineView(this);
    brwWebBrowser->setObjectName(QStringLiteral("brwWebBrowser"));
    connect(brwWebBrowser, &QWebEngineView::urlChanged, this, &frmBrowser::brwWebBrowser_NavigateComplete2);
    connect(brwWebBrowser, &QWebEngineView::loadFinished, this, &frmBrowser::brwWebBrowser_DownloadComplete);

    timTimer = new QTimer(this);
    timTimer->setObjectName(QStringLiteral("timTimer"));
    timTimer->setInterval(5);
    connect(timTimer, &QTimer::timeout, this, &frmBrowser::timTimer_Timer);

    resize(800, 600);
}

frmBrowser::~frmBrowser() = default;

frmBrowser *frmBrowser::create(const QString &address, QWidget *parent)
{
    auto *window = new frmBrowser(parent);
    window->setWindowFlag(Qt::Window);
    window->setAttribute(Qt::WA_DeleteOnClose);
    window->StartingAddress = address;
    return window;
}

bool frmBrowser::busy() const
{
    return brwWebBrowser->page()->isLoading();
}

QString frmBrowser::pageName() const
{
    return brwWebBrowser->title();
}

void frmBrowser::navigate(const QString &address)
{
    if (address.trimmed().isEmpty())
        return;
    brwWebBrowser->load(QUrl::fromUserInput(address.trimmed()));
}

void frmBrowser::showEvent(QShowEvent *event)
{
    QWidget::showEvent(event);
    if (!m_loaded) {
        m_loaded = true;
        Form_Load();
    }
}

void frmBrowser::resizeEvent(QResizeEvent *event)
{
    QWidget::resizeEvent(event);
    Form_Resize();
}

bool frmBrowser::eventFilter(QObject *watched, QEvent *event)
{
    if (watched == cboAddress->lineEdit() && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent *>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            cboAddress_KeyPress(13);
            return true;
        }
    }
    return QWidget::eventFilter(watched, event);
}

void frmBrowser::Form_Load()
{
    Form_Resize();
    cboAddress->move(twips(50), lblAddress->geometry().bottom() + 1 + twips(15));
    if (StartingAddress.isEmpty())
        return;
    cboAddress->setEditText(StartingAddress);
    cboAddress->addItem(StartingAddress);
    timTimer->start();
    navigate(StartingAddress);
}

void frmBrowser::Form_Resize()
{
    const int toolbarHeight = tbToolBar->sizeHint().height();
    tbToolBar->setGeometry(0, 0, width(), toolbarHeight);
    const int stripHeight = cboAddress->geometry().bottom() + 1 + twips(60);
    picAddress->setGeometry(0, toolbarHeight, width(), stripHeight);
    const int innerWidth = qMax(0, width() - twips(100));
    cboAddress->resize(innerWidth, cboAddress->sizeHint().height());
    const int stripBottom = picAddress->geometry().bottom() + 1;
    brwWebBrowser->setGeometry(
        twips(50), stripBottom, innerWidth, qMax(0, height() - stripBottom - twips(100)));
}

void frmBrowser::timTimer_Timer()
{
    if (busy()) {
        setWindowTitle(QStringLiteral("Elaborazione in corso..."));
        return;
    }
    timTimer->stop();
    setWindowTitle(pageName());
}

void frmBrowser::cboAddress_Click()
{
    if (m_historyGuard)
        return;
    timTimer->start();
    navigate(cboAddress->currentText());
}

void frmBrowser::cboAddress_KeyPress(int KeyAscii)
{
    if (KeyAscii != 13 || m_historyGuard)
        return;
    timTimer->start();
    navigate(cboAddress->currentText());
}

void frmBrowser::tbToolBar_ButtonClick(const QString &key)
{
    timTimer->start();
    if (key == QStringLiteral("Back")) {
        brwWebBrowser->back();
    } else if (key == QStringLiteral("Forward")) {
        brwWebBrowser->forward();
    } else if (key == QStringLiteral("Refresh")) {
        brwWebBrowser->reload();
    } else if (key == QStringLiteral("Home")) {
        navigate(HomeAddress);
    } else if (key == QStringLiteral("Search")) {
        navigate(SearchAddress);
    } else if (key == QStringLiteral("Stop")) {
        timTimer->stop();
        brwWebBrowser->stop();
        setWindowTitle(pageName());
    }
}

void frmBrowser::brwWebBrowser_DownloadComplete()
{
    setWindowTitle(pageName());
}

void frmBrowser::brwWebBrowser_NavigateComplete2(const QUrl &URL)
{
    setWindowTitle(pageName());
    const QString address = URL.toString();
    m_historyGuard = true;
    const int found = cboAddress->findText(address, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (found >= 0)
        cboAddress->removeItem(found);
    cboAddress->insertItem(0, address);
    cboAddress->setCurrentIndex(0);
    m_historyGuard = false;
}

} // namespace zav::shell
