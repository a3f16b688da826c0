#include "terraces/terraceviews.h"

#include "platform/ui/twips.h"
#include "terraces/terracearchive.h"

namespace zav::terraces {

using Align = platform::DataGridColumn::Alignment;

namespace {

QStringList roomBinding()
{
    return TerraceViews::roomFields().mid(0, 12);
}

TerraceView roomView(int tab, const char *caption, QList<TerraceView::Column> shown)
{
    TerraceView view;
    view.tab = tab;
    view.caption = QString::fromUtf8(caption);
    view.fields = roomBinding();
    view.shown = std::move(shown);
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
        { { 5, QStringLiteral("Descrizione"), 2700, Align::Left },
            { 6, QStringLiteral("Espressione"), 2700, Align::Left },
            { 7, QStringLiteral("Mq."), 880, Align::Right } });
    return view;
}

const TerraceView &TerraceViews::coefficients()
{
    static const TerraceView view = roomView(1, "Coefficienti",
        { { 5, QStringLiteral("Descrizione"), 2000, Align::Left },
            { 7, QStringLiteral("Mq."), 700, Align::Right },
            { 8, QStringLiteral("Piano"), 620, Align::Center, true },
            { 9, QStringLiteral("Orient."), 620, Align::Center, true },
            { 10, QStringLiteral("Espos."), 620, Align::Center, true },
            { 11, QStringLiteral("Lumin."), 670, Align::Center, true },
            { 12, QStringLiteral("Utiliz."), 620, Align::Center, true },
            { 13, QStringLiteral("Glob."), 599, Align::Center, true },
            { 14, QStringLiteral("Dest."), 599, Align::Center, true },
            { 15, QStringLiteral("Libero"), 599, Align::Center, true },
            { 16, QStringLiteral("Sup.Conv."), 810, Align::Right } });
    return view;
}

const TerraceView &TerraceViews::volumes()
{
    static const TerraceView view = roomView(2, "Calcolo Volume Convenzionale",
        { { 5, QStringLiteral("Descrizione"), 3000, Align::Left },
            { 16, QStringLiteral("Sup.Conv."), 1000, Align::Right },
            { 17, QStringLiteral("H_piano"), 810, Align::Right },
            { 18, QStringLiteral("Volume"), 989, Align::Right } });
    return view;
}

const TerraceView &TerraceViews::thousandths()
{
    static const TerraceView view = [] {
        TerraceView v;
        v.tab = 3;
        v.rooms = false;
        v.fields = { QStringLiteral("NOME_CONDOMINO"), QStringLiteral("PALAZ"), QStringLiteral("SCALA"),
            QStringLiteral("PIANO"), QStringLiteral("INTERNO"), QStringLiteral("MQ"),
            QStringLiteral("MILLESIMI") };
        // The owner's column keeps its alignment.
        v.shown = { { 0, QStringLiteral("Condomino"), 2300, Align::General },
            { 1, QStringLiteral("Pal."), 500, Align::Center },
            { 2, QStringLiteral("Scala"), 800, Align::Center },
            { 3, QStringLiteral("Piano"), 500, Align::Center },
            { 4, QStringLiteral("Int."), 500, Align::Center },
            { 5, QStringLiteral("Mq/Mc"), 1000, Align::Right },
            { 6, QStringLiteral("Millesimi"), 1000, Align::Right } };
        v.editable = false;
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
    QList<platform::DataGridColumn> columns;
    for (int i = 0; i < ColumnCount; ++i) {
        platform::DataGridColumn column = i < before.size() ? before.at(i) : platform::DataGridColumn {};
        column.dataField = i < view.fields.size() ? view.fields.at(i) : roomFields().at(i);
        column.visible = false;
        column.locked = false;
        column.format.clear();
        columns.append(column);
    }
    for (const TerraceView::Column &shown : view.shown) {
        platform::DataGridColumn &column = columns[shown.index];
        column.visible = true;
        column.caption = shown.caption;
        column.width = platform::Twips::toPixelsX(shown.widthTwips, screenOf);
        if (shown.alignment != Align::General || shown.index != 0)
            column.alignment = shown.alignment;
        column.button = column.button || shown.button;
    }
    return columns;
}

} // namespace zav::terraces
