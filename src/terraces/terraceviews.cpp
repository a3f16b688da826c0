#include "terraces/terraceviews.h"

#include "terraces/terracearchive.h"

namespace zav::terraces {

using Align = platform::DataGridColumn::Alignment;

namespace {

// A column of a view: a coefficient carries its cell button, which stays when its column is hidden.
platform::GridColumnSetting column(int index, const QString &caption, int widthTwips,
    std::optional<Align> alignment, bool button = false)
{
    return { index, caption, widthTwips, {}, alignment, button ? std::optional<bool>(true) : std::nullopt };
}

// A room view: the rooms' own fields, rows added and changed in place (never deleted from the grid).
TerraceView roomView(int tab, const char *caption, QList<platform::GridColumnSetting> columns)
{
    TerraceView view;
    view.tab = tab;
    view.caption = QString::fromUtf8(caption);
    view.fields = TerraceViews::roomFields();
    view.shown = std::move(columns);
    view.permissions = { .addNew = true, .update = true, .remove = false };
    return view;
}

} // namespace

const QStringList &TerraceViews::roomFields()
{
    static const QStringList fields = terracearchive::format().at(2).fields.mid(0, ColumnCount);
    return fields;
}

const TerraceView &TerraceViews::surfaces()
{
    static const TerraceView view = roomView(0, "Calcolo Superfici",
        { column(5, QStringLiteral("Descrizione"), 2700, Align::Left),
            column(6, QStringLiteral("Espressione"), 2700, Align::Left),
            column(7, QStringLiteral("Mq."), 880, Align::Right) });
    return view;
}

const TerraceView &TerraceViews::coefficients()
{
    static const TerraceView view = roomView(1, "Coefficienti",
        { column(5, QStringLiteral("Descrizione"), 2000, Align::Left),
            column(7, QStringLiteral("Mq."), 700, Align::Right),
            column(8, QStringLiteral("Piano"), 620, Align::Center, true),
            column(9, QStringLiteral("Orient."), 620, Align::Center, true),
            column(10, QStringLiteral("Espos."), 620, Align::Center, true),
            column(11, QStringLiteral("Lumin."), 670, Align::Center, true),
            column(12, QStringLiteral("Utiliz."), 620, Align::Center, true),
            column(13, QStringLiteral("Glob."), 599, Align::Center, true),
            column(14, QStringLiteral("Dest."), 599, Align::Center, true),
            column(15, QStringLiteral("Libero"), 599, Align::Center, true),
            column(16, QStringLiteral("Sup.Conv."), 810, Align::Right) });
    return view;
}

const TerraceView &TerraceViews::volumes()
{
    static const TerraceView view = roomView(2, "Calcolo Volume Convenzionale",
        { column(5, QStringLiteral("Descrizione"), 3000, Align::Left),
            column(16, QStringLiteral("Sup.Conv."), 1000, Align::Right),
            column(17, QStringLiteral("H_piano"), 810, Align::Right),
            column(18, QStringLiteral("Volume"), 989, Align::Right) });
    return view;
}

const TerraceView &TerraceViews::thousandths()
{
    static const TerraceView view = [] {
        TerraceView v;
        v.tab = 3;
        v.rooms = false;
        // The terrace thousandths' own fields in the first columns, the rooms' in the others.
        v.fields = QStringList { QStringLiteral("NOME_CONDOMINO"), QStringLiteral("PALAZ"),
                       QStringLiteral("SCALA"), QStringLiteral("PIANO"), QStringLiteral("INTERNO"),
                       QStringLiteral("MQ"), QStringLiteral("MILLESIMI") }
            + roomFields().mid(7);
        // The owner's column keeps its alignment.
        v.shown = { column(0, QStringLiteral("Condomino"), 2300, std::nullopt),
            column(1, QStringLiteral("Pal."), 500, Align::Center),
            column(2, QStringLiteral("Scala"), 800, Align::Center),
            column(3, QStringLiteral("Piano"), 500, Align::Center),
            column(4, QStringLiteral("Int."), 500, Align::Center),
            column(5, QStringLiteral("Mq/Mc"), 1000, Align::Right),
            column(6, QStringLiteral("Millesimi"), 1000, Align::Right) };
        v.permissions = { .addNew = false, .update = false, .remove = false, .readOnly = true };
        v.unitTotals = false;
        v.thousandthsTotal = true;
        v.roundButton = true;
        v.findButton = false;
        v.unitHeader = false;
        v.roomCommands = false;
        return v;
    }();
    return view;
}

const TerraceView *TerraceViews::byTab(int tab)
{
    for (const TerraceView *view : { &surfaces(), &coefficients(), &volumes(), &thousandths() })
        if (view->tab == tab)
            return view;
    return nullptr;
}

QList<platform::DataGridColumn> TerraceViews::present(
    const TerraceView &view, const QList<platform::DataGridColumn> &before, const QWidget *screenOf)
{
    return platform::GridView::lay(view, before, screenOf);
}

} // namespace zav::terraces
