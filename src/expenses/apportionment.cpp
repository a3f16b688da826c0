#include "expenses/apportionment.h"

#include "expenses/expensearchive.h"
#include "platform/vb.h"

#include <QHash>
#include <QtDebug>

#include <algorithm>
#include <cmath>
#include <numeric>
#include <stdexcept>

namespace zav::expenses {

using platform::Database;
using platform::DbError;
using platform::Recordset;
namespace vb = platform::vb;

namespace {

using Kind = Apportionment::Kind;
using Share = Apportionment::Share;

bool isEmptyValue(const QVariant &value)
{
    return !value.isValid() || value.isNull() || value.toString().isEmpty();
}

/** Text of a building or stair: a number as the text of its value (12 gives "12"), text as it stands. */
QString keyText(const QVariant &value)
{
    if (isEmptyValue(value))
        return QString();
    if (vb::isNumberValue(value))
        return vb::CStr(value.toDouble());
    return value.toString();
}

/** A share, sum or total that would pass what Money holds: the run stops and says which. */
struct TooLarge
{
    QString what;
};

/** Whether a value that reads as a number lies beyond a limit (not finite counts as beyond). */
bool beyond(const QVariant &value, double limit)
{
    const std::optional<double> number = vb::CDbl(value);
    return number && !(std::fabs(*number) <= limit);
}

QString limitText(double limit)
{
    return vb::Format(limit, QStringLiteral("#,##0"));
}

/** A message on a typed value beyond its limit (%1 the value, %2 the limit); empty within it. */
QString beyondText(const QVariant &typed, double limit, const QString &message)
{
    return beyond(typed, limit) ? message.arg(typed.toString(), limitText(limit)) : QString();
}

/** The letter the grid heads a share with ("A" for `TAB_A`). */
QString shareLetter(Kind kind)
{
    return QString(Apportionment::shareField(kind)).right(1);
}

/** The work of one run: the input, the result being built, and the steps shared by the kinds. */
class Run
{
public:
    Run(const Apportionment::Input &input, Apportionment::Result &result)
        : m_in(input)
        , m_out(result)
    {
    }

    std::optional<double> thousandths(int unit, Kind kind) const
    {
        return vb::CDbl(m_in.units.at(unit).thousandths.at(kind));
    }

    /** The name of a row of an amount table, as the messages give it. */
    static QString rowName(Kind kind, const Apportionment::AmountRow &row, int index)
    {
        switch (kind) {
        case Kind::General:
        case Kind::Heating:
        case Kind::Porter:
            return isEmptyValue(row.label) ? QStringLiteral("riga %1").arg(index + 1) : row.label.toString();
        case Kind::Building:
            return QStringLiteral("Palazzina ") + keyText(row.building);
        case Kind::Stair:
            return QStringLiteral("Scala ") + keyText(row.building) + u' ' + keyText(row.stair);
        case Kind::Lift:
            return QStringLiteral("Ascensore ") + keyText(row.building) + u' ' + keyText(row.stair);
        }
        return QString();
    }

    /**
     * Says every amount and thousandths value beyond its limit; true when there is none. Nothing
     * is computed from such values: their products and sums could pass what Money holds.
     */
    bool withinLimits()
    {
        const auto check = [this](Kind kind, const Apportionment::AmountRow &row, int index) {
            if (beyond(row.amount, Apportionment::MaxAmount))
                m_out.tooLarge
                    << QStringLiteral("l'importo di %1 supera il limite").arg(rowName(kind, row, index));
        };
        if (m_in.general) {
            const std::array<Kind, 3> kinds { Kind::General, Kind::Heating, Kind::Porter };
            for (int i = 0; i < std::min<int>(3, int(m_in.general->size())); ++i)
                check(kinds[i], m_in.general->at(i), i);
        }
        const std::array<std::pair<Kind, const std::optional<QVector<Apportionment::AmountRow>> *>, 3>
            tables { { { Kind::Building, &m_in.buildings }, { Kind::Stair, &m_in.stairs },
                { Kind::Lift, &m_in.lifts } } };
        for (const auto &[kind, rows] : tables) {
            if (!*rows)
                continue;
            for (int i = 0; i < (*rows)->size(); ++i)
                check(kind, (*rows)->at(i), i);
        }
        int thousandths = 0;
        for (const Apportionment::Unit &unit : m_in.units) {
            for (const QVariant &value : unit.thousandths)
                thousandths += beyond(value, Apportionment::MaxThousandths) ? 1 : 0;
        }
        if (thousandths > 0)
            m_out.tooLarge << QStringLiteral("valori di millesimi oltre il limite: %1").arg(thousandths);
        return m_out.tooLarge.isEmpty();
    }

    /** An amount as a number; one that is there but not a number is named in the result. */
    std::optional<double> amount(const Apportionment::AmountRow &row, const QString &name)
    {
        const std::optional<double> value = vb::CDbl(row.amount);
        if (!value && !isEmptyValue(row.amount))
            m_out.badAmounts << name;
        return value;
    }

    /** The fresh share of a unit that takes part in a kind. */
    void write(int unit, Kind kind, const std::optional<double> &amount)
    {
        const std::optional<double> t = thousandths(unit, kind);
        if (!amount || !t) {
            m_out.shares[unit][kind] = Share { std::nullopt, true };
            return;
        }
        writeShare(unit, kind, *t * *amount / 1000.0);
    }

    /** A share worked out in double, rounded to one decimal. */
    void writeShare(int unit, Kind kind, double value)
    {
        const std::optional<Money> share = Apportionment::roundedShare(value);
        if (!share) {
            throw TooLarge {
                QStringLiteral("la quota %1 dell'unità della riga %2").arg(shareLetter(kind)).arg(unit + 1)
            };
        }
        m_out.shares[unit][kind] = Share { share, true };
    }

    bool onGroundFloor(int unit) const { return m_in.units.at(unit).floor.toString() == QLatin1String("T"); }

    /**
     * Spreads the residue of an amount over a group of units. Upwards only: residues below 1 are
     * left. Both ways: a group whose shares add up to exactly 0 is left.
     */
    void settle(const QVector<int> &group, Kind kind, double amount, bool bothWays, const QString &name)
    {
        try {
            spread(group, kind, amount, bothWays);
        } catch (const std::overflow_error &) {
            throw TooLarge { QStringLiteral("la somma delle quote di ") + name };
        }
    }

    void spread(const QVector<int> &group, Kind kind, double amount, bool bothWays)
    {
        const std::optional<Money> rounded = Apportionment::roundedAmount(amount);
        if (!rounded)
            return;
        Money sum;
        for (int unit : group) {
            if (const std::optional<Money> &value = m_out.shares[unit][kind].value)
                sum += *value;
        }
        const Money residue = *rounded - sum;
        qint64 steps = 0;
        Money step = Money::whole(1);
        if (bothWays) {
            if (sum == Money())
                return;
            steps = std::abs(residue.wholePart());
            if (residue < Money())
                step = -step;
        } else if (residue >= Money::whole(1)) {
            steps = residue.wholePart();
        }
        if (steps == 0)
            return;

        // Only the units that weigh in the kind take steps.
        QVector<int> takers;
        for (int unit : group) {
            const std::optional<double> t = thousandths(unit, kind);
            if (!t || *t == 0.0 || !m_out.shares[unit][kind].value)
                continue;
            if (kind == Kind::Lift && onGroundFloor(unit))
                continue;
            takers << unit;
        }
        if (takers.isEmpty())
            return;
        // One step each in table order; the last of them takes the steps beyond them.
        for (qsizetype i = 0; i < takers.size(); ++i) {
            const qint64 count = i + 1 < takers.size() ? (i < steps ? 1 : 0) : std::max<qint64>(steps - i, 0);
            if (count > 0)
                *m_out.shares[takers.at(i)][kind].value
                    += step.units() > 0 ? Money::whole(count) : -Money::whole(count);
        }
    }

    void condominiumWide()
    {
        if (!m_in.general) {
            m_out.missingTables << TAB_SPESE3;
            return;
        }
        const std::array<Kind, 3> kinds { Kind::General, Kind::Heating, Kind::Porter };
        QVector<int> everyone(m_in.units.size());
        std::iota(everyone.begin(), everyone.end(), 0);
        for (int i = 0; i < 3; ++i) {
            // A missing row leaves its kind as the last run left it.
            if (i >= m_in.general->size())
                break;
            const Apportionment::AmountRow &row = m_in.general->at(i);
            const QString name = rowName(kinds[i], row, i);
            const std::optional<double> value = amount(row, name);
            for (int unit = 0; unit < m_in.units.size(); ++unit)
                write(unit, kinds[i], value);
            if (value)
                settle(everyone, kinds[i], *value, false, name);
        }
    }

    void buildings()
    {
        if (!m_in.buildings) {
            m_out.missingTables << TAB_SPESE1;
            return;
        }
        // Each unit's building row, found by number: the first row of that building.
        const QVector<Apportionment::AmountRow> &rows = *m_in.buildings;
        QHash<QString, int> rowOf;
        for (int i = 0; i < rows.size(); ++i) {
            const QString key = keyText(rows.at(i).building);
            if (!key.isEmpty() && !rowOf.contains(key))
                rowOf.insert(key, i);
        }
        QVector<std::optional<double>> amounts(rows.size());
        QVector<QVector<int>> members(rows.size());
        for (auto it = rowOf.cbegin(); it != rowOf.cend(); ++it)
            amounts[it.value()]
                = amount(rows.at(it.value()), rowName(Kind::Building, rows.at(it.value()), 0));
        for (int unit = 0; unit < m_in.units.size(); ++unit) {
            const auto found = rowOf.constFind(keyText(m_in.units.at(unit).building));
            if (found == rowOf.constEnd())
                continue;
            members[*found] << unit;
            write(unit, Kind::Building, amounts.at(*found));
        }
        for (int i = 0; i < rows.size(); ++i) {
            if (amounts.at(i))
                settle(members.at(i), Kind::Building, *amounts.at(i), false,
                    rowName(Kind::Building, rows.at(i), i));
        }
    }

    void stairs(Kind kind)
    {
        const bool lift = kind == Kind::Lift;
        const std::optional<QVector<Apportionment::AmountRow>> &table = lift ? m_in.lifts : m_in.stairs;
        if (!table) {
            m_out.missingTables << (lift ? TAB_SPESE4 : TAB_SPESE2);
            return;
        }
        // Each unit's stair row: the last row of its building and stair, as the rows are applied in order.
        const QVector<Apportionment::AmountRow> &rows = *table;
        QHash<std::pair<QString, QString>, int> rowOf;
        for (int i = 0; i < rows.size(); ++i) {
            const std::pair<QString, QString> key { keyText(rows.at(i).building), keyText(rows.at(i).stair) };
            if (!key.first.isEmpty() && !key.second.isEmpty())
                rowOf.insert(key, i);
        }
        QVector<std::optional<double>> amounts(rows.size());
        QVector<QVector<int>> members(rows.size());
        for (int i = 0; i < rows.size(); ++i) {
            const std::pair<QString, QString> key { keyText(rows.at(i).building), keyText(rows.at(i).stair) };
            if (rowOf.value(key, -1) == i)
                amounts[i] = amount(rows.at(i), rowName(kind, rows.at(i), i));
        }
        for (int unit = 0; unit < m_in.units.size(); ++unit) {
            const Apportionment::Unit &u = m_in.units.at(unit);
            const auto found = rowOf.constFind({ keyText(u.building), keyText(u.stair) });
            if (found != rowOf.constEnd())
                members[*found] << unit;
        }
        for (int i = 0; i < rows.size(); ++i) {
            if (lift)
                liftShares(members.at(i), amounts.at(i), rowName(kind, rows.at(i), i));
            else {
                for (int unit : members.at(i))
                    write(unit, kind, amounts.at(i));
            }
        }
        for (int i = 0; i < rows.size(); ++i) {
            if (amounts.at(i))
                settle(members.at(i), kind, *amounts.at(i), true, rowName(kind, rows.at(i), i));
        }
    }

    /**
     * The lift shares of one lift. Units on floor "T" pay nothing; what their thousandths would
     * pay goes to the units that pay, in proportion to their thousandths.
     */
    void liftShares(const QVector<int> &members, const std::optional<double> &amount, const QString &name)
    {
        double unpaidThousandths = 0.0;
        double payingThousandths = 0.0;
        for (int unit : members) {
            const std::optional<double> t = thousandths(unit, Kind::Lift);
            if (!t)
                continue;
            (onGroundFloor(unit) ? unpaidThousandths : payingThousandths) += *t;
        }
        if (amount && *amount != 0.0 && !members.isEmpty() && payingThousandths == 0.0)
            m_out.unpaidLifts << name;
        for (int unit : members) {
            const std::optional<double> t = thousandths(unit, Kind::Lift);
            if (onGroundFloor(unit))
                m_out.shares[unit][Kind::Lift]
                    = Share { amount ? std::optional<Money>(Money()) : std::nullopt, true };
            else if (!amount || !t || unpaidThousandths == 0.0 || payingThousandths == 0.0)
                write(unit, Kind::Lift, amount);
            else
                writeShare(unit, Kind::Lift,
                    *t * *amount / 1000.0 + unpaidThousandths * *amount / 1000.0 * *t / payingThousandths);
        }
    }

private:
    const Apportionment::Input &m_in;
    Apportionment::Result &m_out;
};

} // namespace

QLatin1String Apportionment::shareField(Kind kind)
{
    static const QLatin1String fields[KindCount] = { QLatin1String("TAB_A"), QLatin1String("TAB_E"),
        QLatin1String("TAB_F"), QLatin1String("TAB_B"), QLatin1String("TAB_C"), QLatin1String("TAB_D") };
    return fields[kind];
}

QLatin1String Apportionment::thousandthsField(Kind kind)
{
    static const QLatin1String fields[KindCount]
        = { QLatin1String("millesimi_generali"), QLatin1String("millesimi_riscaldamento"),
              QLatin1String("millesimi_portierato"), QLatin1String("millesimi_palazzina"),
              QLatin1String("millesimi_scala"), QLatin1String("millesimi_ascensore") };
    return fields[kind];
}

std::optional<Money> Apportionment::share(double thousandths, double amount)
{
    return roundedShare(thousandths * amount / 1000.0);
}

std::optional<Money> Apportionment::roundedShare(double value)
{
    // Rounded as the one-decimal text the share is written as, then read back.
    if (!std::isfinite(value) || std::fabs(value) >= double(Money::max().units() / Money::Scale))
        return std::nullopt;
    return Money::fromValue(vb::Format(value, QStringLiteral("########0.0")));
}

QString Apportionment::amountProblem(const QVariant &typed)
{
    return beyondText(typed, MaxAmount,
        QStringLiteral("Importo troppo grande: %1. Gli importi non possono superare %2, in più o in meno: "
                       "scrivere un importo minore."));
}

QString Apportionment::thousandthsProblem(const QVariant &typed)
{
    return beyondText(typed, MaxThousandths,
        QStringLiteral("Millesimi troppo grandi: %1. I millesimi non possono superare %2, in più o in meno: "
                       "scrivere un valore minore."));
}

std::optional<Money> Apportionment::roundedAmount(double amount)
{
    return Money::fromValue(vb::Format(amount, QStringLiteral("0.00")));
}

Apportionment::Result Apportionment::compute(const Input &input)
{
    Result result;
    const int units = int(input.units.size());
    result.shares.resize(units);
    for (int unit = 0; unit < units; ++unit) {
        const Unit &u = input.units.at(unit);
        for (int kind = 0; kind < KindCount; ++kind) {
            result.shares[unit][kind] = Share { Money::fromValue(u.shares.at(kind)), false };
            if (!isEmptyValue(u.thousandths.at(kind)) && !vb::CDbl(u.thousandths.at(kind)))
                ++result.badThousandths;
        }
    }

    result.totals.resize(units);
    Run run(input, result);
    if (!run.withinLimits())
        return result;
    try {
        run.condominiumWide();
        run.buildings();
        run.stairs(Kind::Stair);
        run.stairs(Kind::Lift);

        for (int unit = 0; unit < units; ++unit) {
            Money sum;
            try {
                for (const Share &share : result.shares.at(unit)) {
                    if (share.value)
                        sum += *share.value;
                }
            } catch (const std::overflow_error &) {
                throw TooLarge { QStringLiteral("il totale dell'unità della riga %1").arg(unit + 1) };
            }
            result.totals[unit]
                = Money::fromValue(vb::Format(sum.toDouble(), QStringLiteral("########0.000"))).value_or(sum);
        }
    } catch (const TooLarge &tooLarge) {
        result.tooLarge << tooLarge.what;
    }
    return result;
}

QString Apportionment::Result::refusal() const
{
    if (!refused())
        return QString();
    return QStringLiteral("Calcolo non effettuato: %1.\nGli importi e le quote non possono superare %2 e i "
                          "millesimi %3, in più o in meno, e le somme delle quote devono restare entro "
                          "questi limiti: correggere i valori indicati e ripetere \"Calcola Spese\". "
                          "Nessuna quota è stata modificata.")
        .arg(tooLarge.join(QStringLiteral("; ")), limitText(MaxAmount), limitText(MaxThousandths));
}

QString Apportionment::Result::unpaidLiftsText() const
{
    if (unpaidLifts.isEmpty())
        return QString();
    return QStringLiteral("Spesa ascensore non ripartita: %1. Nessuna unità di questo ascensore paga la "
                          "quota (sono tutte al piano \"T\" o hanno millesimi ascensore 0): correggere il "
                          "piano o i millesimi ascensore delle unità e ripetere \"Calcola Spese\". Le altre "
                          "spese sono state ripartite.")
        .arg(unpaidLifts.join(QStringLiteral(", ")));
}

QString Apportionment::Result::notes() const
{
    QStringList parts;
    if (!badAmounts.isEmpty())
        parts << QStringLiteral("importi non numerici: ") + badAmounts.join(QStringLiteral(", "));
    if (badThousandths > 0)
        parts << QStringLiteral("millesimi non numerici: %1").arg(badThousandths);
    if (!missingTables.isEmpty())
        parts << QStringLiteral("tabelle mancanti: ") + missingTables.join(QStringLiteral(", "));
    if (shares.isEmpty())
        parts << QStringLiteral("nessuna unità nella tabella");
    if (parts.isEmpty())
        return QString();
    QString text = parts.join(QStringLiteral("; ")) + u'.';
    text[0] = text.at(0).toUpper();
    return text;
}

namespace {

QVector<Apportionment::AmountRow> readAmounts(Database &archive, const QString &table)
{
    const Recordset rows = archive.table(table);
    const int amount = rows.fieldIndex(QStringLiteral("importo"));
    const int building
        = rows.hasField(QStringLiteral("PALAZZINA")) ? rows.fieldIndex(QStringLiteral("PALAZZINA")) : -1;
    const int stair = rows.hasField(QStringLiteral("SCALA")) ? rows.fieldIndex(QStringLiteral("SCALA")) : -1;
    const int label
        = rows.hasField(QStringLiteral("tabella")) ? rows.fieldIndex(QStringLiteral("tabella")) : -1;
    QVector<Apportionment::AmountRow> list;
    list.reserve(rows.recordCount());
    for (int row = 0; row < rows.recordCount(); ++row) {
        list.append({ building >= 0 ? rows.value(row, building) : QVariant(),
            stair >= 0 ? rows.value(row, stair) : QVariant(), rows.value(row, amount),
            label >= 0 ? rows.value(row, label) : QVariant() });
    }
    return list;
}

} // namespace

Apportionment::Result Apportionment::run(Database &archive)
{
    if (!archive.hasTable(TAB_GENERALE)) {
        throw DbError(platform::DbErrorCode::ItemNotFound,
            QStringLiteral("L'archivio spese non contiene la tabella %1.").arg(TAB_GENERALE));
    }
    const Recordset rows = archive.table(TAB_GENERALE);
    const int building = rows.fieldIndex(QStringLiteral("PAL"));
    const int stair = rows.fieldIndex(QStringLiteral("SCALA"));
    const int floor = rows.fieldIndex(QStringLiteral("PIANO"));
    std::array<int, KindCount> thousandths {};
    std::array<int, KindCount> shares {};
    for (int kind = 0; kind < KindCount; ++kind) {
        thousandths[kind] = rows.fieldIndex(thousandthsField(Kind(kind)));
        shares[kind] = rows.fieldIndex(shareField(Kind(kind)));
    }
    rows.fieldIndex(QStringLiteral("totale"));

    Input input;
    input.units.reserve(rows.recordCount());
    for (int row = 0; row < rows.recordCount(); ++row) {
        Unit unit { rows.value(row, building), rows.value(row, stair), rows.value(row, floor), {}, {} };
        for (int kind = 0; kind < KindCount; ++kind) {
            unit.thousandths[kind] = rows.value(row, thousandths[kind]);
            unit.shares[kind] = rows.value(row, shares[kind]);
        }
        input.units.append(unit);
    }
    // An amount table the archive lacks (or cannot be read) leaves its kinds alone.
    const auto amounts = [&archive](const QString &table) -> std::optional<QVector<AmountRow>> {
        if (!archive.hasTable(table))
            return std::nullopt;
        try {
            return readAmounts(archive, table);
        } catch (const DbError &error) {
            qWarning() << "apportionment: amounts not read:" << table << error.message();
            return std::nullopt;
        }
    };
    input.general = amounts(TAB_SPESE3);
    input.buildings = amounts(TAB_SPESE1);
    input.stairs = amounts(TAB_SPESE2);
    input.lifts = amounts(TAB_SPESE4);

    Result result = compute(input);
    if (rows.isEmpty() || result.refused())
        return result;

    platform::Transaction transaction = archive.transaction();
    platform::Statement update
        = archive.prepare(QStringLiteral("UPDATE TAB_GENERALE SET TAB_A = ?, TAB_E = ?, TAB_F = ?, TAB_B = "
                                         "?, TAB_C = ?, TAB_D = ?, totale = ? "
                                         "WHERE rowid = ?"));
    for (int row = 0; row < rows.recordCount(); ++row) {
        QVariantList values;
        for (int kind = 0; kind < KindCount; ++kind) {
            const Share &share = result.shares.at(row).at(kind);
            if (!share.written)
                values << input.units.at(row).shares.at(kind);
            else
                values << (share.value ? QVariant(share.value->toDouble()) : QVariant());
        }
        values << result.totals.at(row).toDouble() << rows.rowidAt(row);
        update.exec(values);
    }
    transaction.commit();
    return result;
}

} // namespace zav::expenses
