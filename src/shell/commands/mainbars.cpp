#include "shell/commands/mainbars.h"

#include "platform/ui/commandbar.h"
#include "shell/commands/commandtable.h"

#include <QApplication>
#include <QHash>
#include <QIcon>
#include <QMainWindow>
#include <QToolBar>

#include <algorithm>
#include <iterator>

namespace zav::shell {

namespace {

using platform::CommandBar;
using Kind = CommandBar::BandKind;

/**
 * A band of the bar. A menu names its parent, the band whose item opens it, with that item's key
 * and caption; a child toolbar names its group.
 */
struct BandLayout
{
    Band band;
    const char *name;
    Kind kind;
    const char *caption = "";
    Band parent = Band::None;
    const char *openerKey = "";
    const char *openerCaption = "";
};

// In the order of the bands' numbers; the child toolbars follow their group.
const BandLayout bandLayouts[] = {
    { Band::MnuBand1, "MnuBand1", Kind::MenuBar },
    { Band::Mnu_progetto, "Mnu_progetto", Kind::Menu, "", Band::MnuBand1, "tProgetto", "&Progetto" },
    { Band::Mnu_archivi, "Mnu_archivi", Kind::Menu, "", Band::MnuBand1, "tArchivi", "&Archivi" },
    { Band::Mnu_coeff, "Mnu_coeff", Kind::Menu, "", Band::Mnu_archivi, "", "Co&efficienti" },
    { Band::Luminosita, "Luminosità", Kind::Menu, "", Band::Mnu_coeff, "", "&Luminosità" },
    { Band::Mnu_calcoli, "Mnu_calcoli", Kind::Menu, "", Band::MnuBand1, "tCalcoli", "&Calcoli" },
    { Band::Mnu_stampa, "Mnu_stampa", Kind::Menu, "", Band::MnuBand1, "tStampa", "&Stampa" },
    { Band::Mnu_cad, "Mnu_cad", Kind::Menu, "", Band::MnuBand1, "tCad2", "CA&D" },
    { Band::Mnu_utility, "Mnu_utility", Kind::Menu, "", Band::MnuBand1, "tUtility", "&Utility" },
    { Band::ArchiviDatabase, "Archivi Database", Kind::Menu, "", Band::Mnu_utility, "",
        "&Gestione Database" },
    { Band::tbShortcuts, "tbShortcuts", Kind::ToolBarGroup, "Opzioni Progetto" },
    { Band::tbDatiGen, "tbDatiGen", Kind::ToolBar, "Opzioni Progetto", Band::tbShortcuts },
    { Band::tbDati, "tbDati", Kind::ToolBar, "Dati Progetto", Band::tbShortcuts },
    { Band::tbCalcoli, "tbCalcoli", Kind::ToolBar, "Calcoli", Band::tbShortcuts },
    { Band::tbCoefficenti, "tbCoefficenti", Kind::ToolBar, "Coefficenti", Band::tbShortcuts },
    { Band::tBand, "tBand", Kind::ToolBar, "Opzioni Millesimi" },
};

const BandLayout &layoutOf(Band band)
{
    return *std::find_if(std::begin(bandLayouts), std::end(bandLayouts),
        [band](const BandLayout &l) { return l.band == band; });
}

QString nameOf(Band band)
{
    return QString::fromUtf8(layoutOf(band).name);
}

bool isToolBar(Band band)
{
    return band != Band::None && layoutOf(band).kind == Kind::ToolBar;
}

QIcon iconOf(const ToolIcon &icon)
{
    return QIcon::fromTheme(
        QString::fromLatin1(icon.themeName), QApplication::style()->standardIcon(icon.fallback));
}

/** Lays the bands out and fills them from the command table. */
class BarBuilder
{
public:
    BarBuilder(CommandBar &bar, QMainWindow *window)
        : m_bar(bar)
        , m_window(window)
    {
    }

    void build()
    {
        addBands();
        QHash<Band, QList<const CommandKey *>> tools;
        for (const CommandRow &row : CommandTable::rows()) {
            for (const CommandKey &key : row.keys) {
                if (key.band == Band::None)
                    m_bar.addListTool(key.key);
                else if (isToolBar(key.band))
                    tools[key.band].append(&key);
                else
                    addMenuItem(key);
            }
        }
        for (auto it = tools.begin(); it != tools.end(); ++it)
            addTools(it.key(), it.value());
        // The control also holds a tool that no band shows and no command answers.
        m_bar.addListTool(QStringLiteral("rip_spese"));
    }

private:
    void addBands()
    {
        for (const BandLayout &layout : bandLayouts) {
            const QString name = QString::fromUtf8(layout.name);
            const QString caption = QString::fromUtf8(layout.caption);
            if (layout.kind == Kind::ToolBar && layout.parent != Band::None) {
                m_bar.addChildBand(nameOf(layout.parent), name, caption);
                continue;
            }
            // The thousandths band goes on a row of its own, below the project toolbars.
            if (layout.band == Band::tBand)
                m_window->addToolBarBreak(Qt::TopToolBarArea);
            m_bar.addBand(name, layout.kind, caption);
        }
    }

    /** Puts in the item that opens a menu, and before it those of the menus that hold it. */
    void openMenu(Band band)
    {
        const BandLayout &layout = layoutOf(band);
        if (layout.parent == Band::None || m_opened.contains(band))
            return;
        openMenu(layout.parent);
        m_bar.addMenuTool(nameOf(layout.parent), QString::fromLatin1(layout.openerKey),
            QString::fromUtf8(layout.openerCaption), nameOf(band));
        m_opened.append(band);
    }

    void addMenuItem(const CommandKey &key)
    {
        openMenu(key.band);
        if (key.separatorBefore)
            m_bar.addSeparator(nameOf(key.band));
        m_bar.addTool(nameOf(key.band), key.key, key.caption);
    }

    void addTools(Band band, QList<const CommandKey *> keys)
    {
        std::sort(keys.begin(), keys.end(),
            [](const CommandKey *a, const CommandKey *b) { return a->position < b->position; });
        for (const CommandKey *key : keys)
            m_bar.addTool(nameOf(band), key->key, key->caption, key->toolTip, iconOf(key->icon));
        m_bar.toolBar(nameOf(band))->setToolButtonStyle(Qt::ToolButtonIconOnly);
    }

    CommandBar &m_bar;
    QMainWindow *m_window;
    QList<Band> m_opened;
};

} // namespace

void buildMainBars(CommandBar &bar, QMainWindow *window)
{
    BarBuilder(bar, window).build();
}

} // namespace zav::shell
