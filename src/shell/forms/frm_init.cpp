#include "shell/forms/frm_init.h"

#include "engine/messagetitles.h"
#include "engine/var_gbl.h"
#include "expenses/expensesforms.h"
#include "platform/dialogs.h"
#include "platform/programend.h"
#include "platform/steps.h"
#include "platform/ui/commandbar.h"
#include "platform/ui/commandregistry.h"
#include "platform/ui/datagrid.h"
#include "platform/ui/formregistry.h"
#include "shell/commands/commandtable.h"
#include "shell/commands/mainbars.h"
#include "shell/forms/inizio.h"
#include "shell/forms/shellforms.h"
#include "shell/project/windowmemory.h"

#include <QAction>
#include <QCloseEvent>
#include <QDate>
#include <QLabel>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPointer>
#include <QStatusBar>
#include <QStyle>

namespace zav::shell {

using engine::VAR_GBL;

frm_init::frm_init(QWidget *parent)
    : QMainWindow(parent)
{
    setObjectName(FormName::frm_init);
    setWindowTitle(QStringLiteral("Zav Win - 2013 Edition -"));

    m_mdiArea = new QMdiArea(this);
    m_mdiArea->setObjectName(QStringLiteral("mdiArea"));
    setCentralWidget(m_mdiArea);
    // Every child window, however it was added, is watched when it is restored.
    m_mdiArea->viewport()->installEventFilter(this);

    m_bar = new platform::CommandBar(this);
    m_bar->setObjectName(QStringLiteral("Bar_main1"));
    buildMainBars(*m_bar, this);
    connect(m_bar, &platform::CommandBar::toolClick, this, &frm_init::Bar_main1_ToolClick);

    buildStatusBar();
    buildPopupMenu();

    m_utility = std::make_unique<UtilityCommands>(this);
    // The CAD program types into the hidden text box of the unit workspace; a workspace that is
    // not open yet is loaded for it, without being shown.
    m_utility->cadLink().setTextBoxSource([]() -> QWidget * {
        QWidget *workspace = platform::FormRegistry::form(FormName::frm_ins_coeff);
        return workspace ? workspace->findChild<QWidget *>(QStringLiteral("txtole")) : nullptr;
    });
    m_utility->setBrowserOpener([this](const QString &address) {
        if (browserFactory())
            showChild(browserFactory()(address));
    });

    expenses::setMainWindowMetrics(this);
    expenses::setMainWindowMenu(this);
    // The buildings form opens the unit register with the main window's own command, so that the
    // register is a child window here and the workspace it opens comes in front of it.
    platform::CommandRegistry::setHandler(
        QStringLiteral("cod_piani"), [this] { Bar_main1_ToolClick(QStringLiteral("cod_piani")); });
    MDIForm_Load();
    restoreWindowGeometry();
}

frm_init::~frm_init()
{
    platform::CommandRegistry::setHandler(QStringLiteral("cod_piani"), {});
    expenses::setMainWindowMetrics(nullptr);
    expenses::setMainWindowMenu(nullptr);
}

void frm_init::setPopupItemVisible(const QString &name, bool visible)
{
    if (name == m_opzioni->objectName()) {
        m_opzioni->menuAction()->setVisible(visible);
        return;
    }
    if (auto *item = m_opzioni->findChild<QAction *>(name, Qt::FindDirectChildrenOnly))
        item->setVisible(visible);
}

void frm_init::popUpOpzioni(const QPoint &globalPosition)
{
    m_opzioni->popup(globalPosition);
}

int frm_init::windowWidth() const
{
    return frameGeometry().width();
}

int frm_init::bandWidth(int position) const
{
    const QMenu *menu = m_bar->menu(m_bar->bandName(position));
    return menu ? menu->sizeHint().width() : 0;
}

frm_init::BrowserFactory &frm_init::browserFactory()
{
    static BrowserFactory factory;
    return factory;
}

void frm_init::setBrowserFactory(BrowserFactory factory)
{
    browserFactory() = std::move(factory);
}

void frm_init::buildStatusBar()
{
    QStatusBar *bar = statusBar();
    bar->setObjectName(QStringLiteral("StatusBar1"));
    for (int i = 0; i < 2; ++i) {
        m_panels[i] = new QLabel(bar);
        m_panels[i]->setObjectName(QStringLiteral("Panel%1").arg(i + 1));
        m_panels[i]->setFrameShape(QFrame::StyledPanel);
        m_panels[i]->setFrameShadow(QFrame::Sunken);
        m_panels[i]->setTextInteractionFlags(Qt::TextSelectableByMouse);
    }
    // Panel 1 shows the day's date; panel 2, the wide one, the open project's archive.
    m_panels[0]->setText(QLocale(QLocale::Italian, QLocale::Italy)
                             .toString(QDate::currentDate(), QStringLiteral("dd/MM/yyyy")));
    bar->addPermanentWidget(m_panels[0]);
    bar->addPermanentWidget(m_panels[1], 1);
}

void frm_init::buildPopupMenu()
{
    m_opzioni = new QMenu(QStringLiteral("Opzioni"), this);
    m_opzioni->setObjectName(QStringLiteral("Opzioni"));
    QAction *title = m_opzioni->addAction(QStringLiteral("Opzioni"));
    title->setObjectName(QStringLiteral("menu"));
    title->setEnabled(false);
    QAction *line = m_opzioni->addSeparator();
    line->setObjectName(QStringLiteral("Line"));
    // The items' handlers belong to the subsystems that pop the menu up; they register them
    // under the items' names.
    const std::pair<const char *, const char *> items[] = { { "sel", "&Seleziona" },
        { "accorpa", "&Accorpa" }, { "copia", "&Copia" }, { "incolla", "&Incolla" } };
    for (const auto &[name, caption] : items) {
        QAction *action = m_opzioni->addAction(QString::fromUtf8(caption));
        const QString item = QString::fromLatin1(name);
        action->setObjectName(item);
        connect(action, &QAction::triggered, this, [item] {
            if (const Handler handler = platform::CommandRegistry::handler(item))
                platform::tryStep(handler);
        });
    }
}

void frm_init::MDIForm_Load()
{
    m_bar->setBandVisible(ThousandthsBand, false);

    VAR_GBL.elenco_per_terrazze = false;
    VAR_GBL.progetto_corrente.reset();
    VAR_GBL.sql_unita_corrente.reset();

    if (auto *login = platform::FormRegistry::loaded<INIZIO>(FormName::INIZIO))
        login->closeForMainWindow();

    m_bar->setToolEnabled(QStringLiteral("tCad2"), false);
}

void frm_init::Bar_main1_ToolClick(const QString &key)
{
    const CommandRow *row = CommandTable::find(key);
    if (!row)
        return;
    if (row->project && (!VAR_GBL.progetto_corrente || VAR_GBL.progetto_corrente->isEmpty())) {
        platform::dialogs().msgBox(QStringLiteral("Nessun progetto selezionato"), platform::MsgButtons::Ok,
            platform::MsgIcon::Information, engine::MessageTitle::ZavWarning);
        return;
    }
    // A tool button or a menu takes no focus from a grid: what is being typed in a cell goes in
    // before the command reads the rows again. Text the cell refuses stays in edit, and the
    // command waits for it.
    if (!platform::DataGrid::commitFocusedEdit())
        return;
    // Continue-on-error: a failing command ends quietly and the program goes on.
    if (const Handler handler = m_handlers.value(key))
        platform::tryStep(handler);
    else
        platform::tryStep([&] { row->run(*this, key); });
}

bool frm_init::setCommandHandler(const QString &key, Handler handler)
{
    if (!CommandTable::isCommand(key))
        return false;
    m_handlers.insert(key, std::move(handler));
    return true;
}

QString frm_init::statusPanelText(int panel) const
{
    return panel >= 1 && panel <= 2 ? m_panels[panel - 1]->text() : QString();
}

void frm_init::setStatusPanelText(int panel, const QString &text)
{
    if (panel >= 1 && panel <= 2)
        m_panels[panel - 1]->setText(text);
}

void frm_init::setMousePointer(int pointer)
{
    m_mousePointer = pointer;
    if (pointer == Hourglass)
        setCursor(Qt::WaitCursor);
    else
        unsetCursor();
}

QMdiSubWindow *frm_init::showChild(QWidget *form)
{
    if (!form)
        return nullptr;
    QMdiSubWindow *window = nullptr;
    for (QMdiSubWindow *existing : m_mdiArea->subWindowList()) {
        if (existing->widget() == form)
            window = existing;
    }
    const bool added = !window;
    // The size the form gave itself; the frame would otherwise shrink it to its size hint.
    const QSize formSize = form->testAttribute(Qt::WA_Resized) ? form->size() : QSize();
    if (!window) {
        window = m_mdiArea->addSubWindow(form);
        // The child's frame goes with the form when the form is unloaded.
        connect(form, &QObject::destroyed, window, &QObject::deleteLater);
    }
    form->show();
    window->show();
    if (added && formSize.isValid()) {
        const QStyle *style = window->style();
        const int border = style->pixelMetric(QStyle::PM_MdiSubWindowFrameWidth, nullptr, window);
        const QSize frame(
            2 * border, style->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, window) + border);
        window->resize((formSize + frame).boundedTo(m_mdiArea->viewport()->size()));
    }
    m_mdiArea->setActiveSubWindow(window);
    return window;
}

void frm_init::restoreWindowGeometry()
{
    // The size and place of the last closing; the first time, the whole screen, where the
    // workspace's tabs and the register's columns have room.
    resize(1024, 720);
    if (!restoreGeometry(windowmemory::mainWindowGeometry()))
        setWindowState(windowState() | Qt::WindowMaximized);
}

namespace {

/** The size a form had given itself when it was put in its child window. */
constexpr const char *FormSizeProperty = "zavFormSize";

} // namespace

bool frm_init::eventFilter(QObject *watched, QEvent *event)
{
    auto *window = qobject_cast<QMdiSubWindow *>(watched);
    if (watched == m_mdiArea->viewport() && event->type() == QEvent::ChildPolished) {
        // A child window is polished as it is first shown, its form in it with the size it gave
        // itself: the frame fits the form to its own size only after.
        if (auto *added = qobject_cast<QMdiSubWindow *>(static_cast<QChildEvent *>(event)->child())) {
            added->installEventFilter(this);
            QWidget *form = added->widget();
            if (form && form->testAttribute(Qt::WA_Resized))
                added->setProperty(FormSizeProperty, form->size());
        }
    } else if (window && (event->type() == QEvent::WindowStateChange || event->type() == QEvent::Show)) {
        // A child maximised as soon as it was added has no size of its own to go back to: when
        // another child takes the maximised state, it would be left a bare title bar. The frame
        // sets its restored geometry after this event: the check comes after it.
        QMetaObject::invokeMethod(
            this,
            [this, guarded = QPointer<QMdiSubWindow>(window)] {
                if (guarded)
                    keepContentSize(guarded);
            },
            Qt::QueuedConnection);
    }
    return QMainWindow::eventFilter(watched, event);
}

void frm_init::changeEvent(QEvent *event)
{
    QMainWindow::changeEvent(event);
    if (event->type() != QEvent::ActivationChange || !isActiveWindow())
        return;
    // The focus is given back after this event, and a control of a child behind the one in front
    // (the one that had the focus when a dialog opened, or the next one when that went away)
    // would bring its child forward. The child in front is put back once the focus has settled.
    QPointer<QMdiSubWindow> front = m_mdiArea->activeSubWindow();
    if (!front)
        return;
    QMetaObject::invokeMethod(
        this,
        [this, front] {
            if (front && front->isVisible() && m_mdiArea->activeSubWindow() != front)
                m_mdiArea->setActiveSubWindow(front);
        },
        Qt::QueuedConnection);
}

void frm_init::keepContentSize(QMdiSubWindow *window) const
{
    QWidget *form = window->widget();
    if (!form || window->windowState() & (Qt::WindowMaximized | Qt::WindowMinimized | Qt::WindowFullScreen))
        return;
    // The form's content: the size it gave itself, or what its layout needs.
    const QSize content = window->property(FormSizeProperty).toSize().expandedTo(form->minimumSizeHint());
    const QStyle *style = window->style();
    const int border = style->pixelMetric(QStyle::PM_MdiSubWindowFrameWidth, nullptr, window);
    const QSize frame(2 * border, style->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, window) + border);
    const QSize needed = (content + frame).boundedTo(m_mdiArea->viewport()->size());
    if (window->width() < needed.width() || window->height() < needed.height())
        window->resize(window->size().expandedTo(needed));
}

void frm_init::esci()
{
    close();
    // A child that refused to close keeps the window up; the program ends all the same.
    if (!m_closing)
        platform::endProgram();
}

void frm_init::closeEvent(QCloseEvent *event)
{
    // What is being typed in any grid goes in first; a cell that refuses its text keeps the program
    // open, as a child window that refuses to close does.
    if (!platform::DataGrid::commitEveryPendingEdit()) {
        event->ignore();
        return;
    }
    // A window never shown has no size of the user's to keep.
    if (isVisible())
        windowmemory::setMainWindowGeometry(saveGeometry());
    // The child windows close with the main window, each running its own closing work.
    m_mdiArea->closeAllSubWindows();
    for (const QMdiSubWindow *window : m_mdiArea->subWindowList()) {
        if (window->isVisible()) {
            event->ignore();
            return;
        }
    }
    event->accept();
    m_closing = true;
    platform::endProgram();
}

} // namespace zav::shell
