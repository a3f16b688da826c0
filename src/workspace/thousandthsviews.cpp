#include "workspace/thousandthsviews.h"

#include "engine/archivevalues.h"
#include "engine/messagetitles.h"
#include "engine/var_gbl.h"
#include "platform/dialogs.h"
#include "platform/steps.h"
#include "platform/ui/datagrid.h"
#include "platform/ui/datasource.h"
#include "platform/vb.h"
#include "workspace/frm_ins_coeff.h"
#include "workspace/mainwindowlink.h"
#include "workspace/totaltext.h"
#include "workspace/unitviews.h"
#include "workspace/viewswitch.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>

#include <stdexcept>

namespace zav::workspace {

using engine::VAR_GBL;
using platform::Condition;
using platform::TableQuery;
using Align = platform::DataGridColumn::Alignment;
using Column = platform::GridColumnSetting;

namespace {

const QString kNoTable = QStringLiteral("(Nessuna Tabella Selezionata)");
const QString kTotMil = QStringLiteral("Tot. Mil.:");

// The columns every thousandths view starts with: owner, building, stair, floor code, unit number.
QList<Column> keyColumns()
{
    return {
        { 0, QStringLiteral("Condomino"), 2300, QStringLiteral("CONDOMINO") },
        { 1, QStringLiteral("Pal."), 500, QStringLiteral("PALAZ"), Align::Center },
        { 2, QStringLiteral("Scala"), 800, QStringLiteral("SCALA"), Align::Center },
        { 3, QStringLiteral("Piano"), 600, QStringLiteral("PIANO"), Align::Center },
        { 4, QStringLiteral("Int."), 500, QStringLiteral("INTERNO") },
    };
}

Column baseValue()
{
    return { 5, QStringLiteral("Mq. / Mc. (virtuali)"), 1000, QStringLiteral("MQ") };
}

// A computed column, read from the right, without the cell button a unit view may have left on it.
Column rightColumn(int index, const QString &caption, const QString &field)
{
    return { index, caption, 1000, field, Align::Right, false };
}

Column millesimi(int index)
{
    return rightColumn(index, QStringLiteral("Millesimi"), QStringLiteral("MILLESIMI"));
}

// The grid over the workspace's 23 columns, bound as designed but for the columns a view sets;
// the thousandths are only read, but in the user table, where they are changed and deleted.
ThousandthsView gridView(int tab, const QString &caption, const QList<Column> &shown, bool userTable = false)
{
    ThousandthsView view;
    view.tab = tab;
    view.caption = caption;
    view.fields = UnitViews::fields();
    view.shown = shown;
    view.permissions = { .addNew = false, .update = userTable, .remove = userTable };
    view.userTable = userTable;
    return view;
}

// A view of one table with its thousandths in column 6, totalled by the view itself.
ThousandthsView singleTotalView(
    int tab, const QString &caption, const TableQuery &source, const Column &fifth)
{
    ThousandthsView view = gridView(tab, caption, keyColumns() << fifth << millesimi(6));
    view.source = source;
    view.totals = { { 6, 20, kTotMil } };
    return view;
}

// The stair and lift views: the three thousandths of TEMPORANEO2, two selectors.
ThousandthsView halvesView(int tab, const QString &caption, const TableQuery &source,
    const QString &secondHalf, const QString &mean, const QStringList &buildingPickOrder,
    const QStringList &stairPickOrder)
{
    ThousandthsView view = gridView(tab, caption,
        keyColumns() << Column { 5, QStringLiteral("1a Metà"), 1000, QStringLiteral("MILLESIMI") }
                     << rightColumn(6, QStringLiteral("2a Metà"), secondHalf)
                     << rightColumn(7, QStringLiteral("Media"), mean));
    view.source = source;
    view.totals = { { 5, 16, QStringLiteral("Tot. 1a Metà:") }, { 6, 18, QStringLiteral("Tot. 2a Metà:") },
        { 7, 20, kTotMil } };
    view.selectors = ThousandthsView::Selectors::BuildingAndStair;
    view.selectorTable = QStringLiteral("TEMPORANEO2");
    view.buildingPickOrder = buildingPickOrder;
    view.stairPickOrder = stairPickOrder;
    return view;
}

QStringList byUnit()
{
    return { QStringLiteral("PALAZ"), QStringLiteral("SCALA"), QStringLiteral("PIANO"),
        QStringLiteral("INTERNO") };
}

QLabel *label(frm_ins_coeff &form, int number)
{
    switch (number) {
    case 13:
        return form.Label13;
    case 14:
        return form.Label14;
    case 15:
        return form.Label15;
    case 16:
        return form.Label16;
    case 17:
        return form.Label17;
    case 18:
        return form.Label18;
    case 19:
        return form.Label19;
    case 20:
        return form.Label20;
    default:
        return nullptr;
    }
}

void showSelectors(frm_ins_coeff &form, ThousandthsView::Selectors selectors)
{
    const bool building = selectors != ThousandthsView::Selectors::None;
    const bool stair = selectors == ThousandthsView::Selectors::BuildingAndStair;
    form.Label6->setVisible(building);
    form.Combo1->setVisible(building);
    form.Label7->setVisible(stair);
    form.Combo2->setVisible(stair);
}

// The total labels: the view's own shown with their captions and "0", the others hidden.
void showTotals(frm_ins_coeff &form, const ThousandthsView &view)
{
    for (int value = 14; value <= 20; value += 2) {
        label(form, value - 1)->hide();
        label(form, value)->hide();
    }
    for (const ThousandthsView::Total &total : view.totals) {
        QLabel *caption = label(form, total.valueLabel - 1);
        QLabel *value = label(form, total.valueLabel);
        caption->setText(total.caption);
        value->setText(QStringLiteral("0"));
        caption->show();
        value->show();
    }
}

// The field a total reads: the one its grid column is bound to.
QStringList totalFields(frm_ins_coeff &form, const ThousandthsView &view)
{
    QStringList fields;
    for (const ThousandthsView::Total &total : view.totals)
        fields << form.TDBGrid1->column(total.column).dataField;
    return fields;
}

// The rows of the selectors' table for a building, or for a building and a stair, in an order.
void querySelected(
    frm_ins_coeff &form, const ThousandthsView &view, const QList<Condition> &where, const QStringList &order)
{
    form.Data1->setRecordSource(TableQuery { view.selectorTable, where, order });
    form.Data1->refresh();
    ThousandthsViews::total(form, view);
}

void warn(const QString &text)
{
    platform::dialogs().msgBox(
        text, platform::MsgButtons::Ok, platform::MsgIcon::Information, engine::MessageTitle::ZavWarning);
}

} // namespace

// --- The views ----------------------------------------------------------------------------------

const ThousandthsView &ThousandthsViews::general()
{
    static const ThousandthsView view = singleTotalView(4, QStringLiteral("Millesimi Globali"),
        TableQuery { QStringLiteral("MILLESIMI"), {},
            { QStringLiteral("PALAZ"), QStringLiteral("SCALA"), QStringLiteral("RIGA"),
                QStringLiteral("INTERNO") } },
        baseValue());
    return view;
}

const ThousandthsView &ThousandthsViews::building()
{
    static const ThousandthsView view = [] {
        ThousandthsView v = singleTotalView(5, QStringLiteral("Millesimi Palazzina"),
            TableQuery { QStringLiteral("TEMPORANEO"), {}, {} }, baseValue());
        v.selectors = ThousandthsView::Selectors::Building;
        v.selectorTable = QStringLiteral("TEMPORANEO");
        v.buildingPickOrder = { QStringLiteral("SCALA"), QStringLiteral("PIANO"), QStringLiteral("INTERNO") };
        return v;
    }();
    return view;
}

const ThousandthsView &ThousandthsViews::stair()
{
    static const ThousandthsView view = halvesView(6, QStringLiteral("Millesimi Scala"),
        TableQuery { QStringLiteral("TEMPORANEO2"), {}, {} }, QStringLiteral("MIL_B"),
        QStringLiteral("MEDIA"), { QStringLiteral("PIANO"), QStringLiteral("INTERNO") },
        { QStringLiteral("PIANO"), QStringLiteral("CONDOMINO") });
    return view;
}

const ThousandthsView &ThousandthsViews::lift()
{
    static const ThousandthsView view = halvesView(7, QStringLiteral("Millesimi Ascensore"),
        TableQuery { QStringLiteral("TEMPORANEO2"), {}, byUnit() }, QStringLiteral("ASCENSORE"),
        QStringLiteral("MEDIA_ASC"), byUnit(), byUnit());
    return view;
}

const ThousandthsView &ThousandthsViews::heating()
{
    static const ThousandthsView view = singleTotalView(8, QStringLiteral("Millesimi Riscaldamento"),
        TableQuery { QStringLiteral("MIL_RISC"), {}, byUnit() },
        Column { 5, QStringLiteral("Vol./Sup.Rad."), 1300, QStringLiteral("VOLUME") });
    return view;
}

const ThousandthsView &ThousandthsViews::porter()
{
    static const ThousandthsView view = singleTotalView(9, QStringLiteral("Millesimi Portierato"),
        TableQuery { QStringLiteral("MIL_PORTIERATO"), {}, byUnit() }, baseValue());
    return view;
}

const ThousandthsView &ThousandthsViews::userTable()
{
    static const ThousandthsView view = [] {
        ThousandthsView v = gridView(10, QString(),
            keyColumns() << baseValue() << rightColumn(6, QStringLiteral("Input"), QStringLiteral("INPUT"))
                         << millesimi(7),
            true);
        v.totals = { { 7, 20, kTotMil } };
        return v;
    }();
    return view;
}

const ThousandthsView *ThousandthsViews::byTab(int tab)
{
    for (const ThousandthsView *view :
        { &general(), &building(), &stair(), &lift(), &heating(), &porter(), &userTable() }) {
        if (view->tab == tab)
            return view;
    }
    return nullptr;
}

const ThousandthsView *ThousandthsViews::byCaption(const QString &caption)
{
    for (const ThousandthsView *view :
        { &general(), &building(), &stair(), &lift(), &heating(), &porter() }) {
        if (view->caption == caption)
            return view;
    }
    return nullptr;
}

// --- Selector lists -----------------------------------------------------------------------------

const QString &ThousandthsViews::stairLetters()
{
    static const QString letters = QStringLiteral("ABCDEFGHILMNOPQRSTUVZ");
    return letters;
}

QStringList ThousandthsViews::stairEntries(int stairs)
{
    QStringList entries { QStringLiteral("Nessuna") };
    for (int k = 1; k <= stairs; ++k)
        entries << (k <= stairLetters().size() ? QString(stairLetters().at(k - 1)) : QString());
    return entries;
}

// --- The recipe ---------------------------------------------------------------------------------

bool ThousandthsViews::enter(frm_ins_coeff &form, int tab)
{
    const ThousandthsView *found = byTab(tab);
    if (!found)
        return false;
    const ThousandthsView &view = *found;

    if (view.userTable)
        form.Label21->show();
    // Leaving a unit view keeps the unit's totals.
    if (form.isUnitViewShown())
        form.TOT_MQ_VOL();
    form.m_view = WorkspaceView(view.tab);

    // The user table is named by the user: only a name that can be a table name reaches the archive.
    QString table = view.userTable ? VAR_GBL.tabella_selezionata : QString();
    if (!table.isEmpty() && !platform::Database::isValidName(table)) {
        warn(QStringLiteral("Nome di tabella non valido: ") + table);
        table.clear();
    }
    const bool noTable = view.userTable && table.isEmpty();

    form.Data1->setDatabaseName(VAR_GBL.progetto_corrente.value_or(QString()));
    if (!noTable) {
        form.Data1->setRecordSource(view.userTable ? TableQuery { table, {}, {} } : view.source);
        form.Data1->refresh();
    }

    if (!view.userTable)
        form.Label21->hide();
    form.Frame1->hide();
    if (view.userTable) {
        form.TDBGrid1->hide();
        if (noTable) {
            form.Label21->setText(kNoTable);
        } else {
            form.Label21->setText(table);
            form.TDBGrid1->setCaption(table);
            form.TDBGrid1->show();
        }
    } else {
        form.TDBGrid1->show();
    }
    platform::GridView::apply(*form.TDBGrid1, view);
    ViewSwitch::switchToolsAndButtons(form, WorkspaceView(view.tab));
    showSelectors(form, view.selectors);
    showTotals(form, view);

    if (view.selectors == ThousandthsView::Selectors::None) {
        if (!noTable)
            total(form, view);
        return true;
    }
    // The selectors' handlers choose the rows and total them: the first building, then its first stair.
    if (form.Combo1->count() == 0)
        return true;
    form.Combo1->setCurrentIndex(0);
    buildingChosen(form);
    if (view.selectors == ThousandthsView::Selectors::BuildingAndStair && form.Combo2->count() > 1) {
        form.Combo2->setCurrentIndex(1);
        stairChosen(form);
    }
    return true;
}

void ThousandthsViews::total(frm_ins_coeff &form, const ThousandthsView &view)
{
    const QStringList totals = TotalText::columnTotals(*form.Data1, totalFields(form, view));
    for (int i = 0; i < view.totals.size(); ++i)
        label(form, view.totals.at(i).valueLabel)->setText(totals.at(i));
}

// --- The selectors ------------------------------------------------------------------------------

void ThousandthsViews::buildingChosen(frm_ins_coeff &form)
{
    if (!VAR_GBL.progetto_corrente)
        return;
    const QString building = form.Combo1->currentText();
    platform::Database db = platform::Database::open(*VAR_GBL.progetto_corrente);
    const platform::Recordset rs = db.table(QStringLiteral("COMPOS_PAL"));
    db.close();
    if (rs.isEmpty()) {
        warn(QStringLiteral("Non sono ancora state inserite palazzine"));
        return;
    }

    // The building's stairs; a building missing from the archive has none.
    QVariant stairs;
    for (int row = 0; row < rs.recordCount(); ++row) {
        if (engine::ArchiveValues::text(rs.value(row, 2)) == building) {
            stairs = rs.value(row, 3);
            break;
        }
    }
    const ThousandthsView *view = byTab(int(form.view()));
    const bool buildingView = view == &ThousandthsViews::building();
    const std::optional<double> count = engine::ArchiveValues::number(stairs);
    form.Combo2->clear();
    if (!count) {
        // The building view shows the building's units whatever its stairs.
        if (!buildingView) {
            warn(QStringLiteral("Nessuna scala inserita nella palazzina n°: ") + building);
            return;
        }
    } else {
        int whole = 0;
        try {
            whole = platform::vb::CInt(*count);
        } catch (const std::overflow_error &) {
            platform::dialogs().msgBox(QStringLiteral("Overflow."), platform::MsgButtons::Ok,
                platform::MsgIcon::Critical, platform::programTitle());
            return;
        }
        form.Combo2->addItems(stairEntries(whole));
        form.Combo2->setCurrentIndex(-1);
    }

    if (!view || view->selectors == ThousandthsView::Selectors::None)
        return;
    QList<Condition> where { { QStringLiteral("PALAZ"), building } };
    if (view->selectors == ThousandthsView::Selectors::BuildingAndStair)
        where << Condition { QStringLiteral("SCALA"), form.Combo2->currentText() };
    querySelected(form, *view, where, view->buildingPickOrder);
}

void ThousandthsViews::stairChosen(frm_ins_coeff &form)
{
    const ThousandthsView *view = byTab(int(form.view()));
    if (!view || view->selectors != ThousandthsView::Selectors::BuildingAndStair)
        return;
    platform::tryStep([&] {
        querySelected(form, *view,
            { { QStringLiteral("PALAZ"), form.Combo1->currentText() },
                { QStringLiteral("SCALA"), form.Combo2->currentText() } },
            view->stairPickOrder);
    });
}

} // namespace zav::workspace
