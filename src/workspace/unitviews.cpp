#include "workspace/unitviews.h"

#include "engine/archive.h"
#include "engine/archivevalues.h"
#include "engine/var_gbl.h"
#include "platform/db.h"
#include "platform/ui/datasource.h"
#include "workspace/frm_ins_coeff.h"
#include "workspace/viewswitch.h"

#include <QComboBox>
#include <QGroupBox>
#include <QLabel>

namespace zav::workspace {

using platform::DataGridColumn;

using Setting = platform::GridColumnSetting;
using Align = DataGridColumn::Alignment;

namespace {

// Positions in the project options record of the criteria that use the radiant surface.
constexpr int RISC_RAD = 11;
constexpr int RISC_50 = 16;

// Every unit view shows the description read from the left and the surface locked (it is computed).
Setting description()
{
    return { .index = 1, .caption = QStringLiteral("Descrizione"), .widthTwips = 2000, .alignment = Align::Left };
}

Setting surface(int widthTwips)
{
    return { .index = 3, .caption = QStringLiteral("Mq."), .widthTwips = widthTwips, .locked = true };
}

// A coefficient: chosen through its cell button.
Setting coefficient(int index, const QString &caption, int widthTwips)
{
    return { .index = index, .caption = caption, .widthTwips = widthTwips, .button = true };
}

// The rooms are added, changed and deleted in place in every unit view.
UnitView unitView(const QString &caption, const QString &layoutName, WorkspaceView tab,
    const QList<Setting> &shown, const QList<Setting> &captionedHidden = {})
{
    UnitView view;
    view.caption = caption;
    view.fields = UnitViews::fields();
    view.shown = shown;
    view.captionedHidden = captionedHidden;
    view.permissions = { .addNew = true, .update = true, .remove = true };
    view.layoutName = layoutName;
    view.view = tab;
    return view;
}

} // namespace

const UnitView &UnitViews::surfaces()
{
    static const UnitView view = unitView(QStringLiteral("Calcolo Superfici"), QStringLiteral("espressioni"),
        WorkspaceView::Surfaces,
        { description(), { 2, QStringLiteral("Espressione"), 2310 }, surface(989),
            { 20, QStringLiteral("Dim. Infisso"), 1769 }, { 21, QStringLiteral("Mq. Infisso"), 1049 } });
    return view;
}

const UnitView &UnitViews::coefficients()
{
    static const UnitView view = unitView(QStringLiteral("Coefficienti"), QStringLiteral("coefficienti"),
        WorkspaceView::Coefficients,
        { description(), surface(700), coefficient(6, QStringLiteral("Piano"), 620),
            coefficient(7, QStringLiteral("Orient."), 620), coefficient(8, QStringLiteral("Espos."), 620),
            coefficient(9, QStringLiteral("Lumin."), 670), coefficient(10, QStringLiteral("Utiliz."), 620),
            coefficient(11, QStringLiteral("Glob."), 599), coefficient(12, QStringLiteral("Dest."), 599),
            coefficient(13, QStringLiteral("Libero"), 599), { 14, QStringLiteral("Sup.Conv."), 900 } });
    return view;
}

const UnitView &UnitViews::volumes()
{
    // The radiant columns show only when the project's heating criterion uses them.
    static const UnitView view = unitView(QStringLiteral("Calcolo Volumi"), QStringLiteral("volumi"),
        WorkspaceView::Volumes,
        { description(), { 4, QStringLiteral("Risc. S/N"), 540 }, surface(810),
            { 14, QStringLiteral("Sup.Conv."), 989 }, { 16, QStringLiteral("H_piano"), 734 },
            { 17, QStringLiteral("Volume"), 915 } },
        { { 18, QStringLiteral("Sup. Radiante"), 1349 }, { 19, QStringLiteral("Tot. Sup. Rad."), 1019 } });
    return view;
}

QList<const UnitView *> UnitViews::all()
{
    return { &surfaces(), &coefficients(), &volumes() };
}

const UnitView *UnitViews::byCaption(const QString &caption)
{
    for (const UnitView *view : all()) {
        if (view->caption == caption)
            return view;
    }
    return nullptr;
}

const UnitView *UnitViews::byTab(int tab)
{
    for (const UnitView *view : all()) {
        if (int(view->view) == tab)
            return view;
    }
    return nullptr;
}

const QStringList &UnitViews::fields()
{
    static const QStringList names = { QStringLiteral("NOME_CONDOMINO"), QStringLiteral("DESCRIZIONE"),
        QStringLiteral("ESPRESSIONE"), QStringLiteral("MQ"), QStringLiteral("OPT_RISC"),
        QStringLiteral("PALAZ"), QStringLiteral("COEF1"), QStringLiteral("COEF2"), QStringLiteral("COEF3"),
        QStringLiteral("COEF4"), QStringLiteral("COEF5"), QStringLiteral("COEF6"), QStringLiteral("COEF7"),
        QStringLiteral("COEF8"), QStringLiteral("TOT_COEF"), QStringLiteral("SCALA"),
        QStringLiteral("H_PIANO"), QStringLiteral("TOT_VOL"), QStringLiteral("ESPRES_RAD"),
        QStringLiteral("TOT_ESPRES_RAD"), QStringLiteral("SUP_FINESTRA"), QStringLiteral("MQ_FINESTRA"),
        QStringLiteral("INTERNO") };
    return names;
}

QList<DataGridColumn> UnitViews::designedColumns()
{
    QList<DataGridColumn> columns;
    for (const QString &field : fields())
        columns.append(DataGridColumn { field, field });
    return columns;
}

QList<DataGridColumn> UnitViews::present(
    const UnitView &view, QList<DataGridColumn> columns, const QWidget *screenOf)
{
    return platform::GridView::lay(view, std::move(columns), screenOf);
}

bool UnitViews::writeDefaultLayouts(const QString &file)
{
    platform::DataGrid grid;
    for (const UnitView *view : all()) {
        grid.setColumns(present(*view, designedColumns(), &grid));
        if (!grid.saveLayout(file, view->layoutName))
            return false;
    }
    return true;
}

bool UnitViews::radiantColumnsApply(const QString &archive)
{
    platform::Database db = platform::Database::open(archive);
    const platform::Recordset options = db.table(engine::archive::ANA_CONDO);
    db.close();
    if (options.isEmpty())
        return false;
    const auto flag = [&options](int position) {
        return position < options.fieldCount() && engine::ArchiveValues::isTrue(options.value(0, position));
    };
    return flag(RISC_RAD) || flag(RISC_50);
}

void UnitViews::showRadiantColumns(platform::DataGrid &grid, bool apply)
{
    QList<DataGridColumn> columns = grid.columns();
    if (columns.size() < ColumnCount)
        return;
    for (const Setting &setting : volumes().captionedHidden) {
        if (apply)
            platform::GridView::layColumn(setting, columns[setting.index], true, &grid);
        else
            columns[setting.index].visible = false;
    }
    grid.setColumns(columns);
}

bool UnitViews::enter(frm_ins_coeff &form, int tab)
{
    const UnitView *found = byTab(tab);
    if (!found)
        return false;
    const UnitView &view = *found;
    form.m_view = view.view;

    form.bindRooms();
    form.Label21->hide();
    form.Frame1->show();

    platform::DataGrid &grid = *form.TDBGrid1;
    grid.show();
    platform::GridView::apply(grid, view);
    if (view.view == WorkspaceView::Volumes)
        showRadiantColumns(grid, radiantColumnsApply(engine::VAR_GBL.progetto_corrente.value_or(QString())));

    ViewSwitch::switchToolsAndButtons(form, view.view);
    for (QWidget *selector : { static_cast<QWidget *>(form.Label6), static_cast<QWidget *>(form.Combo1),
             static_cast<QWidget *>(form.Label7), static_cast<QWidget *>(form.Combo2) })
        selector->hide();
    for (QLabel *label : { form.Label13, form.Label14, form.Label15, form.Label16, form.Label17, form.Label18,
             form.Label19, form.Label20 })
        label->show();
    form.Label15->setText(QStringLiteral("Tot. Sup. Conv.:"));
    form.Label17->setText(QStringLiteral("Tot. Volume:"));
    form.Label19->setText(QStringLiteral("Tot. Sup. Rad.:"));

    // The totals shown are the unit's current ones, recomputed and stored.
    form.TOT_MQ_VOL();
    return true;
}

} // namespace zav::workspace
