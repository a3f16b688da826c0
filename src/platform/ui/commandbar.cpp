#include "platform/ui/commandbar.h"

#include <QAction>
#include <QMainWindow>
#include <QMenu>
#include <QMenuBar>
#include <QToolBar>

namespace zav::platform {

CommandBar::CommandBar(QMainWindow *window)
    : QObject(window)
    , m_window(window)
{
    setObjectName(QStringLiteral("CommandBar"));
}

int CommandBar::addBand(const QString &name, BandKind kind, const QString &caption)
{
    Band band;
    band.name = name;
    band.kind = kind;
    switch (kind) {
    case BandKind::MenuBar:
        band.menuBar = m_window->menuBar();
        band.menuBar->setObjectName(name);
        break;
    case BandKind::Menu:
        // A pull-down band belongs to the window; the items that open it decide where it shows.
        band.menu = new QMenu(caption.isEmpty() ? name : caption, m_window);
        band.menu->setObjectName(name);
        break;
    case BandKind::ToolBar:
        band.toolBar = makeToolBar(name, caption);
        break;
    case BandKind::ToolBarGroup:
        break;
    }
    m_bands.append(band);
    return int(m_bands.size()) - 1;
}

QToolBar *CommandBar::addChildBand(const QString &group, const QString &name, const QString &caption)
{
    const int position = bandPosition(group);
    if (position < 0 || m_bands[position].kind != BandKind::ToolBarGroup)
        return nullptr;
    QToolBar *toolBar = makeToolBar(name, caption);
    m_bands[position].children.append(toolBar);
    m_childBands.insert(name, toolBar);
    if (!m_bands[position].visible)
        toolBar->hide();
    return toolBar;
}

QToolBar *CommandBar::makeToolBar(const QString &name, const QString &caption)
{
    auto *toolBar = new QToolBar(caption, m_window);
    toolBar->setObjectName(name);
    // Only the program shows and hides bands: the toolbar offers no switch of its own, so the
    // right-click menu of the toolbar area lists none.
    toolBar->toggleViewAction()->setVisible(false);
    m_window->addToolBar(Qt::TopToolBarArea, toolBar);
    return toolBar;
}

QWidget *CommandBar::container(const QString &name) const
{
    if (QToolBar *child = m_childBands.value(name))
        return child;
    const int position = bandPosition(name);
    if (position < 0)
        return nullptr;
    const Band &band = m_bands[position];
    if (band.menuBar)
        return band.menuBar;
    if (band.menu)
        return band.menu;
    return band.toolBar;
}

void CommandBar::place(const QString &band, QAction *action)
{
    if (QWidget *widget = container(band))
        widget->addAction(action);
}

QAction *CommandBar::makeTool(const QString &key, const QString &caption)
{
    auto *action = new QAction(caption, this);
    action->setObjectName(key);
    m_tools[key].append(action);
    return action;
}

QAction *CommandBar::addTool(const QString &band, const QString &key, const QString &caption,
    const QString &toolTip, const QIcon &icon)
{
    QAction *action = makeTool(key, caption);
    action->setToolTip(toolTip.isEmpty() ? caption : toolTip);
    if (!icon.isNull())
        action->setIcon(icon);
    connect(action, &QAction::triggered, this, [this, key] { emit toolClick(key); });
    m_commands.insert(action);
    place(band, action);
    return action;
}

QAction *CommandBar::addMenuTool(
    const QString &band, const QString &key, const QString &caption, const QString &menuBand)
{
    QMenu *opened = menu(menuBand);
    if (!opened)
        return nullptr;
    // The menu's own action is the tool: it opens the menu and runs nothing.
    QAction *action = opened->menuAction();
    action->setText(caption);
    if (!key.isEmpty()) {
        action->setObjectName(key);
        m_tools[key].append(action);
    }
    place(band, action);
    return action;
}

void CommandBar::addSeparator(const QString &band)
{
    if (QWidget *widget = container(band)) {
        auto *separator = new QAction(this);
        separator->setSeparator(true);
        widget->addAction(separator);
    }
}

QAction *CommandBar::addListTool(const QString &key, const QString &caption)
{
    QAction *action = makeTool(key, caption.isEmpty() ? key : caption);
    connect(action, &QAction::triggered, this, [this, key] { emit toolClick(key); });
    m_commands.insert(action);
    return action;
}

QList<QAction *> CommandBar::tools(const QString &key) const
{
    return m_tools.value(key);
}

void CommandBar::setToolEnabled(const QString &key, bool enabled)
{
    for (QAction *action : m_tools.value(key))
        action->setEnabled(enabled);
}

bool CommandBar::isToolEnabled(const QString &key) const
{
    const QList<QAction *> found = m_tools.value(key);
    if (found.isEmpty())
        return false;
    for (QAction *action : found) {
        if (!action->isEnabled())
            return false;
    }
    return true;
}

void CommandBar::clickTool(const QString &key)
{
    // The first tool of the key that runs a command; items that open menus run nothing.
    for (QAction *action : m_tools.value(key)) {
        if (m_commands.contains(action)) {
            action->trigger();
            return;
        }
    }
}

QString CommandBar::bandName(int position) const
{
    return position >= 0 && position < m_bands.size() ? m_bands[position].name : QString();
}

int CommandBar::bandPosition(const QString &name) const
{
    for (int i = 0; i < m_bands.size(); ++i) {
        if (m_bands[i].name == name)
            return i;
    }
    return -1;
}

QMenu *CommandBar::menu(const QString &name) const
{
    const int position = bandPosition(name);
    return position < 0 ? nullptr : m_bands[position].menu;
}

QToolBar *CommandBar::toolBar(const QString &name) const
{
    if (QToolBar *child = m_childBands.value(name))
        return child;
    const int position = bandPosition(name);
    return position < 0 ? nullptr : m_bands[position].toolBar;
}

void CommandBar::setBandVisible(int position, bool visible)
{
    if (position < 0 || position >= m_bands.size())
        return;
    Band &band = m_bands[position];
    band.visible = visible;
    if (band.menuBar)
        band.menuBar->setVisible(visible);
    if (band.menu)
        band.menu->menuAction()->setVisible(visible);
    if (band.toolBar)
        band.toolBar->setVisible(visible);
    for (QToolBar *child : band.children)
        child->setVisible(visible);
}

bool CommandBar::isBandVisible(int position) const
{
    if (position < 0 || position >= m_bands.size())
        return false;
    const Band &band = m_bands[position];
    if (band.toolBar)
        return band.toolBar->isVisibleTo(m_window);
    if (band.menuBar)
        return band.menuBar->isVisibleTo(m_window);
    if (band.menu)
        return band.menu->menuAction()->isVisible();
    return band.visible;
}

} // namespace zav::platform
