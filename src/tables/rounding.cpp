#include "tables/rounding.h"

#include "engine/databasefailure.h"
#include "engine/messagetitles.h"
#include "platform/db.h"
#include "platform/dialogs.h"
#include "platform/ui/commandregistry.h"
#include "platform/ui/datasource.h"
#include "platform/ui/formregistry.h"
#include "workspace/frm_ins_coeff.h"
#include "workspace/labelledcolumn.h"
#include "workspace/totaltext.h"

#include <QLabel>
#include <QList>

namespace zav::tables {

using platform::DataSource;
using workspace::frm_ins_coeff;
using workspace::TotalText;

RoundingOutcome Rounding::bring(
    DataSource &source, QLabel &label, const RoundingStep &step, const Decimal &target)
{
    workspace::LabelledColumn column(source, label, step.field);
    return engine::balance(column, { step.zero, step.errors }, target);
}

namespace {

frm_ins_coeff *workspaceForm()
{
    return platform::FormRegistry::loaded<frm_ins_coeff>(QString::fromLatin1(frm_ins_coeff::FormName));
}

QLabel *totalLabel(frm_ins_coeff &form, int number)
{
    switch (number) {
    case 16:
        return form.Label16;
    case 18:
        return form.Label18;
    default:
        return form.Label20;
    }
}

const Decimal kThousand { 1000, 0 };

// Runs one step on the workspace's view and tells the user when its target could not be reached.
void run(frm_ins_coeff &form, const RoundingStep &step, const Decimal &target = kThousand)
{
    QLabel *label = totalLabel(form, step.totalLabel);
    if (!form.Data1 || !label)
        return;
    const RoundingOutcome outcome = Rounding::bring(*form.Data1, *label, step, target);
    const QString goal = TotalText::of(target.toDouble());
    QString text;
    switch (outcome.end) {
    case RoundingOutcome::End::Reached:
        return;
    case RoundingOutcome::End::NoRows:
        text = QStringLiteral("La tabella non ha righe: impossibile arrivare a un totale di %1.").arg(goal);
        break;
    case RoundingOutcome::End::NoProgress:
        text = QStringLiteral("Impossibile arrivare a un totale di %1: il totale resta %2.\n"
                              "Controllare che i valori abbiano al più tre decimali e che le prime righe "
                              "non valgano zero, poi ripetere il calcolo dei millesimi.")
                   .arg(goal, outcome.total);
        break;
    case RoundingOutcome::End::Failed:
        text = QStringLiteral("Arrotondamento interrotto: %1.\nIl totale è %2: correggere il valore e "
                              "ripetere l'arrotondamento.")
                   .arg(outcome.failure, outcome.total);
        break;
    }
    platform::dialogs().msgBox(
        text, platform::MsgButtons::Ok, platform::MsgIcon::Exclamation, engine::MessageTitle::Rounding);
}

using Zero = RoundingStep::Zero;
using Errors = RoundingStep::Errors;

const RoundingStep kFirstHalf { QStringLiteral("MILLESIMI"), 16, Zero::Changed, Errors::Continue };

} // namespace

void Rounding::ARR_GLOBALI(frm_ins_coeff &form)
{
    run(form, { QStringLiteral("MILLESIMI"), 20, Zero::Changed, Errors::Stop });
}

void Rounding::ARR_PAL(frm_ins_coeff &form)
{
    run(form, { QStringLiteral("MILLESIMI"), 20, Zero::Changed, Errors::Stop });
}

void Rounding::ARR_PRIMA_META(frm_ins_coeff &form)
{
    run(form, kFirstHalf);
}

void Rounding::ARR_SECONDA_META(frm_ins_coeff &form)
{
    run(form, { QStringLiteral("MIL_B"), 18, Zero::LeftUnchanged, Errors::Continue });
}

void Rounding::ARR_SECONDA_META_ASC(frm_ins_coeff &form)
{
    run(form, { QStringLiteral("ASCENSORE"), 18, Zero::LeftUnchanged, Errors::Continue });
}

void Rounding::ARR_SCALA(frm_ins_coeff &form)
{
    ARR_PRIMA_META(form);
    ARR_SECONDA_META(form);
    run(form, { QStringLiteral("MEDIA"), 20, Zero::Changed, Errors::Continue });
}

void Rounding::ARR_ASC(frm_ins_coeff &form)
{
    ARR_PRIMA_META(form);
    ARR_SECONDA_META_ASC(form);
    run(form, { QStringLiteral("MEDIA_ASC"), 20, Zero::Changed, Errors::Stop });
}

void Rounding::ARR_RISC(frm_ins_coeff &form)
{
    run(form, { QStringLiteral("MILLESIMI"), 20, Zero::LeftUnchanged, Errors::Stop });
}

void Rounding::ARR_PORT(frm_ins_coeff &form)
{
    run(form, { QStringLiteral("MILLESIMI"), 20, Zero::Changed, Errors::Stop });
}

void Rounding::ARR_VARIE(frm_ins_coeff &form)
{
    // Without a user table on view there is nothing to bring to a total.
    if (!form.Data1 || form.Data1->recordSource().table.isEmpty())
        return;
    const std::optional<QString> answer
        = platform::dialogs().inputBox(QStringLiteral("Arrotondare con ripartizione a:"),
            engine::MessageTitle::Rounding, QStringLiteral("1000"));
    if (!answer)
        return;
    const std::optional<double> typed = TotalText::read(answer->trimmed());
    if (!typed || *typed == 0)
        return;
    const std::optional<Decimal> target = Decimal::of(*typed);
    if (!target)
        return;
    run(form, { QStringLiteral("MILLESIMI"), 20, Zero::Changed, Errors::Continue }, *target);
}

void Rounding::arrotonda()
{
    frm_ins_coeff *form = workspaceForm();
    if (!form)
        return;
    switch (form->selectedTab()) {
    case 4:
        ARR_GLOBALI(*form);
        break;
    case 5:
        ARR_PAL(*form);
        break;
    case 6:
        ARR_SCALA(*form);
        break;
    case 7:
        ARR_ASC(*form);
        break;
    case 8:
        ARR_RISC(*form);
        break;
    case 9:
        ARR_PORT(*form);
        break;
    case 10:
        ARR_VARIE(*form);
        break;
    default:
        break;
    }
}

void Rounding::registerCommands()
{
    for (const char *key : { "arrotonda", "tArrotonda" })
        platform::CommandRegistry::setHandler(QString::fromLatin1(key), [] { arrotonda(); });
}

} // namespace zav::tables
