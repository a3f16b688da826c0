#include "tables/rounding.h"

#include "engine/databasefailure.h"
#include "engine/messagetitles.h"
#include "platform/db.h"
#include "platform/dialogs.h"
#include "platform/ui/commandregistry.h"
#include "platform/ui/datasource.h"
#include "platform/ui/formregistry.h"
#include "workspace/frm_ins_coeff.h"
#include "workspace/totaltext.h"

#include <QLabel>
#include <QList>

#include <cmath>
#include <limits>

namespace zav::tables {

using platform::DataSource;
using workspace::frm_ins_coeff;
using workspace::TotalText;

namespace {

constexpr qint64 kMaxUnits = std::numeric_limits<qint64>::max() / 10;

std::optional<qint64> powerOfTen(int exponent)
{
    qint64 result = 1;
    for (int i = 0; i < exponent; ++i) {
        if (result > kMaxUnits)
            return std::nullopt;
        result *= 10;
    }
    return result;
}

// Both numbers on one scale (the larger one).
std::optional<std::pair<qint64, qint64>> aligned(const Decimal &a, const Decimal &b, int &scale)
{
    scale = std::max(a.scale, b.scale);
    const std::optional<qint64> fa = powerOfTen(scale - a.scale);
    const std::optional<qint64> fb = powerOfTen(scale - b.scale);
    if (!fa || !fb)
        return std::nullopt;
    qint64 ua = 0;
    qint64 ub = 0;
    if (__builtin_mul_overflow(a.units, *fa, &ua) || __builtin_mul_overflow(b.units, *fb, &ub))
        return std::nullopt;
    return std::pair { ua, ub };
}

} // namespace

std::optional<Decimal> Decimal::of(double value)
{
    if (!std::isfinite(value))
        return std::nullopt;
    // The shortest form with 15 significant digits: the number the user reads.
    const QString text = QString::number(value, 'e', 14);
    const qsizetype e = text.indexOf(u'e');
    QString mantissa = text.left(e);
    int exponent = text.mid(e + 1).toInt();
    const bool negative = mantissa.startsWith(u'-');
    if (negative)
        mantissa.remove(0, 1);
    mantissa.remove(u'.');
    // mantissa holds d.dddddddddddddd: 15 digits, the first before the point.
    int scale = 14 - exponent;
    while (scale > 0 && mantissa.endsWith(u'0')) {
        mantissa.chop(1);
        --scale;
    }
    bool ok = false;
    qint64 units = mantissa.toLongLong(&ok);
    if (!ok)
        return std::nullopt;
    if (scale < 0) {
        const std::optional<qint64> factor = powerOfTen(-scale);
        if (!factor || __builtin_mul_overflow(units, *factor, &units))
            return std::nullopt;
        scale = 0;
    }
    return Decimal { negative ? -units : units, scale };
}

std::optional<Decimal> Decimal::plusThousandths(qint64 thousandths) const
{
    int common = 0;
    const auto pair = aligned(*this, Decimal { thousandths, 3 }, common);
    qint64 sum = 0;
    if (!pair || __builtin_add_overflow(pair->first, pair->second, &sum))
        return std::nullopt;
    return Decimal { sum, common };
}

std::optional<qint64> Decimal::thousandthsBetween(const Decimal &a, const Decimal &b)
{
    int common = 0;
    const auto pair = aligned(a, b, common);
    qint64 difference = 0;
    if (!pair || __builtin_sub_overflow(pair->first, pair->second, &difference))
        return std::nullopt;
    if (common <= 3) {
        const std::optional<qint64> factor = powerOfTen(3 - common);
        qint64 result = 0;
        if (!factor || __builtin_mul_overflow(difference, *factor, &result))
            return std::nullopt;
        return result;
    }
    // Rounded to three decimals, halves away from zero.
    const qint64 divisor = *powerOfTen(common - 3);
    const qint64 magnitude = difference < 0 ? -difference : difference;
    const qint64 rounded = (magnitude / divisor) + ((magnitude % divisor) * 2 >= divisor ? 1 : 0);
    return difference < 0 ? -rounded : rounded;
}

QString Decimal::text() const
{
    QString digits = QString::number(units < 0 ? -units : units);
    if (scale > 0) {
        if (digits.size() <= scale)
            digits = QString(scale - digits.size() + 1, u'0') + digits;
        digits.insert(digits.size() - scale, u'.');
        while (digits.endsWith(u'0'))
            digits.chop(1);
        if (digits.endsWith(u'.'))
            digits.chop(1);
    }
    return units < 0 ? u'-' + digits : digits;
}

double Decimal::toDouble() const
{
    return text().toDouble();
}

namespace {

// A cell's number: a number field as it is, text read with the decimal separator in force.
std::optional<double> cellNumber(const QVariant &cell)
{
    if (cell.isNull() || !cell.isValid())
        return std::nullopt;
    if (cell.typeId() == QMetaType::QString)
        return TotalText::read(cell.toString());
    bool ok = false;
    const double value = cell.toDouble(&ok);
    return ok && std::isfinite(value) ? std::optional<double>(value) : std::nullopt;
}

struct Recount
{
    QString total;
    std::optional<int> unreadableRow; // the first row whose cell is empty or not a number
};

// The column's total as the label shows it: every partial sum through its total text.
Recount recount(const DataSource &source, int field)
{
    Recount result { QStringLiteral("0"), std::nullopt };
    for (int row = 0; row < source.recordCount(); ++row) {
        if (!TotalText::add(result.total, source.value(row, field)) && !result.unreadableRow)
            result.unreadableRow = row;
    }
    return result;
}

QString rowFailure(int row)
{
    return QStringLiteral("la riga %1 non ha un valore numerico").arg(row + 1);
}

} // namespace

RoundingOutcome Rounding::bring(
    DataSource &source, QLabel &label, const RoundingStep &step, const Decimal &target)
{
    using End = RoundingOutcome::End;
    RoundingOutcome outcome;
    const bool stops = step.errors == RoundingStep::Errors::Stop;
    const double targetValue = target.toDouble();

    const auto finish = [&](End end) {
        outcome.end = end;
        outcome.total = label.text();
        return outcome;
    };
    const auto fieldIndex = [&]() { return source.fieldIndex(step.field); };

    // Recounts the column into the label; false when an operation that stops met a cell it cannot add.
    const auto recountInto = [&]() {
        const int field = fieldIndex();
        if (field < 0) {
            outcome.failure = QStringLiteral("la colonna %1 non c'è").arg(step.field);
            return false;
        }
        const Recount counted = recount(source, field);
        label.setText(counted.total);
        if (stops && counted.unreadableRow) {
            outcome.failure = rowFailure(*counted.unreadableRow);
            return false;
        }
        return true;
    };

    std::optional<double> total = TotalText::read(label.text());
    try {
        if (!total) {
            // A label that holds no number: start from the column's own total.
            if (!recountInto())
                return finish(End::Failed);
            total = TotalText::read(label.text());
        }
        while (total && *total != targetValue) {
            const std::optional<Decimal> shown = Decimal::of(*total);
            const std::optional<qint64> missing
                = shown ? Decimal::thousandthsBetween(target, *shown) : std::nullopt;
            if (!missing || *missing == 0)
                return finish(End::NoProgress);
            const bool raising = *missing > 0;
            const qint64 steps = raising ? *missing : -*missing;

            source.refresh();
            if (source.recordCount() == 0) {
                recountInto();
                return finish(End::NoRows);
            }
            const int field = fieldIndex();
            if (field < 0) {
                outcome.failure = QStringLiteral("la colonna %1 non c'è").arg(step.field);
                return finish(End::Failed);
            }

            // The column's own total before the pass, to tell whether the pass got closer.
            const std::optional<double> before = TotalText::read(recount(source, field).total);

            // The rows at the top of the view, as many as there are thousandths to move.
            QList<std::pair<qint64, double>> changes;
            std::optional<QString> failure;
            const qint64 reach = std::min<qint64>(steps, source.recordCount());
            for (int row = 0; row < reach; ++row) {
                const std::optional<double> value = cellNumber(source.value(row, field));
                const std::optional<Decimal> exact = value ? Decimal::of(*value) : std::nullopt;
                if (!exact) {
                    if (stops) {
                        failure = rowFailure(row);
                        break;
                    }
                    continue;
                }
                if (raising && step.zero == RoundingStep::Zero::LeftUnchanged && exact->units == 0)
                    continue;
                const std::optional<Decimal> moved = exact->plusThousandths(raising ? 1 : -1);
                if (!moved) {
                    if (stops) {
                        failure = rowFailure(row);
                        break;
                    }
                    continue;
                }
                // A share is never taken below zero.
                if (!raising && moved->units < 0)
                    continue;
                changes.append({ source.rowid(row), moved->toDouble() });
            }

            // One transaction a pass; what was saved before a failure stays saved.
            if (!changes.isEmpty()) {
                platform::Database db = platform::Database::open(source.databaseName());
                platform::Transaction transaction = db.transaction();
                const QString table = source.recordSource().table;
                const QString name = source.fieldNames().at(field);
                for (const auto &[rowid, value] : changes) {
                    try {
                        db.update(table, rowid, { { name, value } });
                    } catch (const platform::DbError &error) {
                        if (stops) {
                            failure = engine::databaseFailureText(error);
                            break;
                        }
                    }
                }
                transaction.commit();
            }
            source.refresh();
            ++outcome.passes;
            const bool counted = recountInto();
            if (failure) {
                outcome.failure = *failure;
                return finish(End::Failed);
            }
            if (!counted)
                return finish(End::Failed);
            const std::optional<double> next = TotalText::read(label.text());
            if (changes.isEmpty() || !next || !before
                || std::abs(targetValue - *next) >= std::abs(targetValue - *before))
                return finish(End::NoProgress);
            total = next;
        }
        // The last recount, also when no pass was needed.
        if (!recountInto())
            return finish(End::Failed);
    } catch (const platform::DbError &error) {
        outcome.failure = engine::databaseFailureText(error);
        return finish(End::Failed);
    }
    const std::optional<double> final = TotalText::read(label.text());
    return finish(final && *final == targetValue ? End::Reached : End::NoProgress);
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
