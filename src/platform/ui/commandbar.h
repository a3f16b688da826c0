#pragma once

#include <QHash>
#include <QIcon>
#include <QList>
#include <QObject>
#include <QSet>
#include <QString>
#include <QVector>

class QAction;
class QMainWindow;
class QMenu;
class QMenuBar;
class QToolBar;
class QWidget;

namespace zav::platform {

/**
 * @brief The main window's menus and toolbars, addressed the way the program addresses them:
 * tools by command key, bands by position.
 *
 * A band is the menu bar, a pull-down menu, a toolbar, or a group of child toolbars shown and
 * hidden together. Bands are numbered in the order they are added, from 0. A tool is a QAction
 * placed in a band; several tools may share one key (the same command in a menu and on a
 * toolbar), and switching a key switches every tool that carries it. Tools kept only in the list
 * belong to no band but are dispatched like the others.
 *
 * Every command tool reports its key through `toolClick`; items that only open a menu report
 * nothing. Bands are shown and hidden by the program only: the user cannot switch a toolbar on or
 * off (the window's right-click menu of the toolbar area offers none).
 */
class CommandBar : public QObject
{
    Q_OBJECT

public:
    enum class BandKind { MenuBar, Menu, ToolBar, ToolBarGroup };

    /** @brief Builds the bands into this window (menu bar, toolbar areas). */
    explicit CommandBar(QMainWindow *window);

    // --- Layout -------------------------------------------------------------------------------
    /** @brief Adds a band at the next position; returns the position. */
    int addBand(const QString &name, BandKind kind, const QString &caption = QString());
    /** @brief Adds a child toolbar to a band of kind ToolBarGroup. */
    QToolBar *addChildBand(const QString &group, const QString &name, const QString &caption);
    /** @brief Adds a command tool to a band or child band; returns its action. */
    QAction *addTool(const QString &band, const QString &key, const QString &caption,
        const QString &toolTip = QString(), const QIcon &icon = QIcon());
    /** @brief Adds an item that opens a menu band; it runs no command. */
    QAction *addMenuTool(
        const QString &band, const QString &key, const QString &caption, const QString &menuBand);
    void addSeparator(const QString &band);
    /** @brief Adds a tool that only the tool list holds. */
    QAction *addListTool(const QString &key, const QString &caption = QString());

    // --- Tools --------------------------------------------------------------------------------
    /** @brief Every tool carrying this key, in the order they were added. */
    QList<QAction *> tools(const QString &key) const;
    /** @brief Switches every tool of this key on or off; a tool switched off cannot be used. */
    void setToolEnabled(const QString &key, bool enabled);
    /** @brief Whether the tools of this key are on (false for an unknown key). */
    bool isToolEnabled(const QString &key) const;
    /**
     * @brief Runs the key's first command tool as a click would: the key goes to `toolClick` when
     * the tool is on. Items that only open a menu are passed over.
     */
    void clickTool(const QString &key);

    // --- Bands --------------------------------------------------------------------------------
    int bandCount() const { return int(m_bands.size()); }
    QString bandName(int position) const;
    /** @brief Position of a band by name, -1 when missing (child bands have none). */
    int bandPosition(const QString &name) const;
    /** @brief The menu of a Menu band (or nullptr). */
    QMenu *menu(const QString &name) const;
    /** @brief The toolbar of a ToolBar band or child band (or nullptr). */
    QToolBar *toolBar(const QString &name) const;
    void setBandVisible(int position, bool visible);
    /** @brief Whether the band is shown when its window is (not hidden by setBandVisible). */
    bool isBandVisible(int position) const;

signals:
    /** @brief A command tool was clicked; carries its key. */
    void toolClick(const QString &key);

private:
    struct Band
    {
        QString name;
        BandKind kind = BandKind::Menu;
        QMenuBar *menuBar = nullptr;
        QMenu *menu = nullptr;
        QToolBar *toolBar = nullptr;
        QList<QToolBar *> children;
        bool visible = true;
    };

    QToolBar *makeToolBar(const QString &name, const QString &caption);
    QWidget *container(const QString &band) const;
    void place(const QString &band, QAction *action);
    QAction *makeTool(const QString &key, const QString &caption);

    QMainWindow *m_window;
    QVector<Band> m_bands;
    QHash<QString, QToolBar *> m_childBands;
    QHash<QString, QList<QAction *>> m_tools;
    QSet<QAction *> m_commands;
};

} // namespace zav::platform
