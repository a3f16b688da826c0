#include "tables/rounding.h"

#include "engine/databasefailure.h"
#include "engine/messagetitles.h"
#include "platform/db.h"
#include "platform/dialogs.h"
#include "platform/ui/commandregistry.h"
#include "platform/ui/datasource.h"
#include "platform/ui/formregistry.h"
#include "tables/typedtotal.h"
#include "workspace/frm_ins_coeff.h"
#include "workspace/labelledcolumn.h"
#include "workspace/totaltext.h"

#include <QLabel>
#include <QList>

#include <memory>
#include <vector>

namespace zav::tables {

using platform::DataSource;
using workspace::frm_ins_coeff;
using workspace::TotalText;

RoundingOutcome Rounding::bring(
    DataSource &source, QLabel &label, const RoundingStep &step, const Decimal &target)
{
    return bringTogether(source, { { &label, step } }, target).first();
}

QList<RoundingOutcome> Rounding::bringTogether(
    DataSource &source, const QList<std::pair<QLabel *, RoundingStep>> &steps, const Decimal &target)
{
    std::vector<std::unique_ptr<workspace::LabelledColumn>> columns;
    QList<engine::BalanceJob> jobs;
    for (const auto &[label, step] : steps) {
        columns.push_back(std::make_unique<workspace::LabelledColumn>(source, *label, step.field));
        jobs.append({ columns.back().get(), { step.zero, step.errors }, target });
    }
    return engine::balanceTogether(jobs);
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

// The text that tells the user why a column did not reach its target; empty when it did.
QString notReached(const RoundingOutcome &outcome, const Decimal &target)
{
    const QString goal = TotalText::of(target.toDouble());
    switch (outcome.end) {
    case RoundingOutcome::End::Reached:
        return QString();
    case RoundingOutcome::End::NoRows:
        return QStringLiteral("La tabella non ha righe: impossibile arrivare a un totale di %1.").arg(goal);
    case RoundingOutcome::End::NoProgress:
        return QStringLiteral(
            "Impossibile arrivare a un totale di %1: nessun valore è stato cambiato e il "
            "totale resta %2.\nL'arrotondamento sposta un millesimo alla volta sulle prime "
            "righe senza portarle sotto zero: controllare che i valori e il totale abbiano al "
            "più tre decimali e che le prime righe non valgano zero.")
            .arg(goal, outcome.total);
    case RoundingOutcome::End::Failed:
        return QStringLiteral("Arrotondamento interrotto: %1.\nNessun valore è stato cambiato e il totale "
                              "resta %2: correggere il valore e ripetere l'arrotondamento.")
            .arg(outcome.failure, outcome.total);
    case RoundingOutcome::End::NotWritten:
        return QStringLiteral("Arrotondamento non salvato: nessun valore è stato cambiato.\n%1")
            .arg(outcome.failure);
    }
    return QString();
}

// The step whose column stopped a command on a value it could not use (nothing was written): the
// first one whose own plan fails.
qsizetype stoppedIn(
    DataSource &source, const QList<std::pair<QLabel *, RoundingStep>> &steps, const Decimal &target)
{
    for (qsizetype i = 0; i < steps.size(); ++i) {
        const auto &[label, step] = steps.at(i);
        const workspace::LabelledColumn column(source, *label, step.field);
        if (engine::BalancePlan::of(column, { step.zero, step.errors }, target).outcome.end
            == RoundingOutcome::End::Failed)
            return i;
    }
    return 0;
}

// Runs the steps of a command on the workspace's view and tells the user what could not be done:
// once for the command when nothing was written, once per column that did not reach its target.
void run(frm_ins_coeff &form, const QList<RoundingStep> &steps, const Decimal &target = kThousand)
{
    if (!form.Data1)
        return;
    QList<std::pair<QLabel *, RoundingStep>> labelled;
    for (const RoundingStep &step : steps) {
        QLabel *label = totalLabel(form, step.totalLabel);
        if (!label)
            return;
        labelled.append({ label, step });
    }
    const QList<RoundingOutcome> outcomes = Rounding::bringTogether(*form.Data1, labelled, target);
    for (const RoundingOutcome &outcome : outcomes) {
        // A command stopped by a value it could not use is told with the total of the column it
        // stopped in.
        const QString text = notReached(outcome.end == RoundingOutcome::End::Failed
                ? outcomes.at(stoppedIn(*form.Data1, labelled, target))
                : outcome,
            target);
        if (text.isEmpty())
            continue;
        // A command that does not reach every target writes nothing: one message tells it.
        const bool failed
            = outcome.end == RoundingOutcome::End::Failed || outcome.end == RoundingOutcome::End::NotWritten;
        platform::dialogs().msgBox(text, platform::MsgButtons::Ok,
            failed ? platform::MsgIcon::Critical : platform::MsgIcon::Exclamation,
            engine::MessageTitle::Rounding);
        return;
    }
}

using Zero = RoundingStep::Zero;
using Errors = RoundingStep::Errors;

const RoundingStep kFirstHalf { QStringLiteral("MILLESIMI"), 16, Zero::Changed, Errors::Continue };
const RoundingStep kStairSecondHalf { QStringLiteral("MIL_B"), 18, Zero::LeftUnchanged, Errors::Continue };
const RoundingStep kLiftSecondHalf { QStringLiteral("ASCENSORE"), 18, Zero::LeftUnchanged, Errors::Continue };

} // namespace

void Rounding::ARR_GLOBALI(frm_ins_coeff &form)
{
    run(form, { { QStringLiteral("MILLESIMI"), 20, Zero::Changed, Errors::Stop } });
}

void Rounding::ARR_PAL(frm_ins_coeff &form)
{
    run(form, { { QStringLiteral("MILLESIMI"), 20, Zero::Changed, Errors::Stop } });
}

void Rounding::ARR_PRIMA_META(frm_ins_coeff &form)
{
    run(form, { kFirstHalf });
}

void Rounding::ARR_SECONDA_META(frm_ins_coeff &form)
{
    run(form, { kStairSecondHalf });
}

void Rounding::ARR_SECONDA_META_ASC(frm_ins_coeff &form)
{
    run(form, { kLiftSecondHalf });
}

// The stair and lift views bring both halves, then the mean, as one command.
void Rounding::ARR_SCALA(frm_ins_coeff &form)
{
    run(form,
        { kFirstHalf, kStairSecondHalf, { QStringLiteral("MEDIA"), 20, Zero::Changed, Errors::Continue } });
}

void Rounding::ARR_ASC(frm_ins_coeff &form)
{
    run(form,
        { kFirstHalf, kLiftSecondHalf, { QStringLiteral("MEDIA_ASC"), 20, Zero::Changed, Errors::Stop } });
}

void Rounding::ARR_RISC(frm_ins_coeff &form)
{
    run(form, { { QStringLiteral("MILLESIMI"), 20, Zero::LeftUnchanged, Errors::Stop } });
}

void Rounding::ARR_PORT(frm_ins_coeff &form)
{
    run(form, { { QStringLiteral("MILLESIMI"), 20, Zero::Changed, Errors::Stop } });
}

void Rounding::ARR_VARIE(frm_ins_coeff &form)
{
    // Without a user table on view there is nothing to bring to a total.
    if (!form.Data1 || form.Data1->recordSource().table.isEmpty())
        return;
    const std::optional<QString> answer
        = platform::dialogs().inputBox(QStringLiteral("Arrotondare con ripartizione a:"),
            engine::MessageTitle::Rounding, QStringLiteral("1000"));
    // A total of 0 or less, or one that is not a number, is refused before anything changes.
    const TypedTotal::Reading typed = TypedTotal::read(answer);
    if (!typed.refusal.isEmpty())
        platform::dialogs().msgBox(typed.refusal, platform::MsgButtons::Ok, platform::MsgIcon::Exclamation,
            engine::MessageTitle::Rounding);
    if (!typed.total)
        return;
    const std::optional<Decimal> target = Decimal::of(*typed.total);
    if (!target)
        return;
    run(form, { { QStringLiteral("MILLESIMI"), 20, Zero::Changed, Errors::Continue } }, *target);
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
