#include "workspace/viewswitch.h"

#include "engine/var_gbl.h"
#include "platform/steps.h"
#include "platform/ui/datagrid.h"
#include "workspace/frm_ins_coeff.h"
#include "workspace/mainwindowlink.h"
#include "workspace/thousandthsviews.h"
#include "workspace/unitviews.h"

#include <QLabel>
#include <QPushButton>

namespace zav::workspace {

const QString &ViewSwitch::separatorHint()
{
    static const QString hint
        = QStringLiteral("Inserire il separatore decimale come da Impostazioni Internazionali di Windows");
    return hint;
}

const QStringList &ViewSwitch::tools()
{
    static const QStringList keys { QStringLiteral("tArrotonda"), QStringLiteral("tCalcTab"),
        QStringLiteral("tCopiaMil"), QStringLiteral("tAzzera"), QStringLiteral("tSelTab"),
        QStringLiteral("tTrova"), QStringLiteral("tRicalcola"), QStringLiteral("tCopia"),
        QStringLiteral("tCalcolaMil"), QStringLiteral("tEliminariga") };
    return keys;
}

QStringList ViewSwitch::toolsOn(WorkspaceView view)
{
    if (isUnitView(view)) {
        QStringList on { QStringLiteral("tTrova"), QStringLiteral("tRicalcola"), QStringLiteral("tCopia"),
            QStringLiteral("tCalcolaMil") };
        // Rows are deleted from the band on the surfaces view alone.
        if (view == WorkspaceView::Surfaces)
            on << QStringLiteral("tEliminariga");
        return on;
    }
    if (view == WorkspaceView::UserTable)
        return { QStringLiteral("tArrotonda"), QStringLiteral("tCalcTab"), QStringLiteral("tCopiaMil"),
            QStringLiteral("tAzzera"), QStringLiteral("tSelTab") };
    return { QStringLiteral("tArrotonda"), QStringLiteral("tCalcolaMil") };
}

bool ViewSwitch::buttonEnabled(WorkspaceView view, int button)
{
    const bool unit = isUnitView(view);
    const bool userTable = view == WorkspaceView::UserTable;
    switch (button) {
    case 0: // "Copia da:"
    case 1: // "Ricalc. Totali"
    case 3: // "Gridal"
    case 5: // "Trova"
        return unit;
    case 2: // "Elimina Riga"
        return view == WorkspaceView::Surfaces;
    case 6: // "Arrotonda"
        return !unit;
    case 7: // "Azzera Input"
    case 8: // "Sel. Tab."
    case 9: // "Copia Mil. da"
    case 10: // "Calc. Mil. Tab."
        return userTable;
    case 11: // Command2 "Calc. Mil."
        return !userTable;
    default: // "Esci" is never touched
        return false;
    }
}

void ViewSwitch::switchToolsAndButtons(frm_ins_coeff &form, WorkspaceView view)
{
    const QStringList on = toolsOn(view);
    for (const QString &tool : tools())
        platform::tryStep([&] { MainWindowLink::setToolEnabled(tool, on.contains(tool)); });
    for (int i = 0; i < int(form.Command1.size()); ++i) {
        if (i != 4)
            form.Command1[size_t(i)]->setEnabled(buttonEnabled(view, i));
    }
    form.Command2->setEnabled(buttonEnabled(view, 11));
}

void ViewSwitch::run(frm_ins_coeff &form, int tab)
{
    // The hint belongs to the coefficient view alone; every tab sets it first.
    if (tab == int(WorkspaceView::Coefficients)) {
        form.Label22->setText(separatorHint());
        form.Label22->show();
    } else {
        form.Label22->setText(QString());
        form.Label22->hide();
    }
    if (!isViewTab(tab))
        return;
    if (!UnitViews::enter(form, tab))
        ThousandthsViews::enter(form, tab);
    loadUserLayout(form);
}

void ViewSwitch::loadUserLayout(frm_ins_coeff &form)
{
    const UnitView *view = UnitViews::byTab(int(form.view()));
    if (!view)
        return;
    form.TDBGrid1->loadLayout(frm_ins_coeff::userLayoutFile(), view->layoutName);
    // A saved layout may show or hide the radiant columns whatever the heating criterion says.
    if (view->view == WorkspaceView::Volumes)
        UnitViews::showRadiantColumns(*form.TDBGrid1,
            UnitViews::radiantColumnsApply(engine::VAR_GBL.progetto_corrente.value_or(QString())));
}

} // namespace zav::workspace
