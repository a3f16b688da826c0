#include "expenses/apportionment.h"

#include "expenses/expensearchive.h"
#include "expenses/fieldselect.h"
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
using platform::TableQuery;
namespace vb = platform::vb;

namespace {

using Kind = Apportionment::Kind;
using Share = Apportionment::Share;

bool isEmptyValue(const QVariant &value)
{
    if (!value.isValid() || value.isNull())
        return true;
    // A number always has a text: only what is not a number is written out to be looked at.
    return !vb::isNumberValue(value) && value.toString().isEmpty();
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

/**
 * Shares are worked out in whole cents over weights held as whole millionths of a thousandth, so
 * that the exact share (a fraction of the two) is compared and rounded without a double's error.
 * At the limits (amounts of 1e13 cents, thousandths of 1e12 millionths) a product holds 1e25.
 */
using Cents = __int128;

/** Money's units in a cent. */
constexpr qint64 CentUnits = Money::Scale / 100;
/** Millionths of a thousandth in a thousandth. */
constexpr double WeightScale = 1e6;
/** The greatest share, in cents, of either sign. */
constexpr Cents MaxShareCents = Cents(Apportionment::MaxAmount) * 100;

/** The quotient of a whole number by a positive one, rounded to a whole number, halves away from zero. */
Cents roundedQuotient(Cents dividend, Cents divisor)
{
    Cents quotient = dividend / divisor;
    const Cents remainder = dividend % divisor;
    const Cents twice = 2 * (remainder < 0 ? -remainder : remainder);
    if (twice >= divisor)
        quotient += dividend < 0 ? -1 : 1;
    return quotient;
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

    bool onGroundFloor(int unit) const { return m_in.units.at(unit).floor.toString() == QLatin1String("T"); }

    /**
     * Apportions one amount over the units of its group, to the cent. The units that pay are those
     * whose thousandths read as a number (for the lift, not on floor "T", which pay 0); each pays
     * the amount times its thousandths over the sum of the thousandths of the units that pay,
     * rounded to the cent, halves away from zero. The cents by which these shares miss the amount
     * (the residue) then go one a unit, in table order, to the units whose rounding went the other
     * way: up to those rounded down, down from those rounded up. So the shares add up to the
     * amount and each lies within one cent of its exact share.
     */
    void apportion(
        const QVector<int> &group, Kind kind, const std::optional<double> &amount, const QString &name)
    {
        const std::optional<Money> rounded
            = amount ? Apportionment::roundedAmount(*amount) : std::optional<Money>();
        if (!rounded) {
            for (int unit : group)
                m_out.shares[unit][kind] = Share { std::nullopt, true };
            return;
        }
        const Cents cents = rounded->units() / CentUnits;

        struct Payer
        {
            int unit;
            Cents weight; ///< millionths of a thousandth
            Cents share = 0; ///< cents
            Cents exact = 0; ///< cents times the sum of the weights
        };
        QVector<Payer> payers;
        Cents weights = 0;
        for (int unit : group) {
            const std::optional<double> t = thousandths(unit, kind);
            if (kind == Kind::Lift && onGroundFloor(unit)) {
                m_out.shares[unit][kind] = Share { Money(), true };
            } else if (!t) {
                m_out.shares[unit][kind] = Share { std::nullopt, true };
            } else {
                payers.append({ unit, Cents(std::llround(*t * WeightScale)) });
                weights += payers.last().weight;
            }
        }
        if (weights == 0) {
            for (const Payer &payer : payers)
                m_out.shares[payer.unit][kind] = Share { Money(), true };
            if (cents != 0)
                m_out.unapportioned << name;
            return;
        }
        const Cents sign = weights < 0 ? -1 : 1;
        const Cents divisor = weights * sign;
        Cents residue = cents;
        for (Payer &payer : payers) {
            payer.exact = cents * payer.weight * sign;
            payer.share = roundedQuotient(payer.exact, divisor);
            residue -= payer.share;
        }
        const Cents step = residue > 0 ? 1 : -1;
        for (Payer &payer : payers) {
            if (residue == 0)
                break;
            const Cents error = payer.share * divisor - payer.exact;
            if ((step > 0 && error < 0) || (step < 0 && error > 0)) {
                payer.share += step;
                residue -= step;
            }
        }
        // Each unit rounded the other way can take one cent, and there are enough of them.
        Q_ASSERT(residue == 0);
        for (const Payer &payer : payers) {
            if (payer.share > MaxShareCents || payer.share < -MaxShareCents) {
                throw TooLarge { QStringLiteral("la quota %1 dell'unità della riga %2")
                                     .arg(shareLetter(kind))
                                     .arg(payer.unit + 1) };
            }
            m_out.shares[payer.unit][kind]
                = Share { Money::fromUnits(qint64(payer.share) * CentUnits), true };
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
            apportion(everyone, kinds[i], amount(row, name), name);
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
            if (found != rowOf.constEnd())
                members[*found] << unit;
        }
        for (int i = 0; i < rows.size(); ++i)
            apportion(members.at(i), Kind::Building, amounts.at(i), rowName(Kind::Building, rows.at(i), i));
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
        for (int i = 0; i < rows.size(); ++i)
            apportion(members.at(i), kind, amounts.at(i), rowName(kind, rows.at(i), i));
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

QString Apportionment::Result::unapportionedText() const
{
    if (unapportioned.isEmpty())
        return QString();
    return QStringLiteral("Spese non ripartite: %1. Nessuna unità paga queste spese (i millesimi delle "
                          "unità sono 0, mancano o, per l'ascensore, le unità sono al piano \"T\"): "
                          "correggere i millesimi o il piano delle unità e ripetere \"Calcola Spese\". Le "
                          "altre spese sono state ripartite.")
        .arg(unapportioned.join(QStringLiteral(", ")));
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
    // Only the fields the calculation reads, after the rowid; the total is only written.
    QStringList fields = { QStringLiteral("PAL"), QStringLiteral("SCALA"), QStringLiteral("PIANO") };
    std::array<int, KindCount> thousandths {};
    std::array<int, KindCount> shares {};
    for (int kind = 0; kind < KindCount; ++kind) {
        thousandths[kind] = int(fields.size()) + 1;
        fields << thousandthsField(Kind(kind));
        shares[kind] = int(fields.size()) + 1;
        fields << shareField(Kind(kind));
    }
    const Recordset rows
        = selectFields(archive, TableQuery { TAB_GENERALE, {}, {} }, fields, { QStringLiteral("totale") });
    const int building = 1;
    const int stair = 2;
    const int floor = 3;

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
        values << result.totals.at(row).toDouble() << rows.value(row, 0);
        update.exec(values);
    }
    transaction.commit();
    return result;
}

} // namespace zav::expenses
