#include "expenses/costestimate.h"

#include "expenses/money.h"
#include "platform/programfolder.h"
#include "platform/vb.h"

namespace zav::expenses {

using platform::Database;
using platform::DbError;
using platform::Recordset;
namespace vb = platform::vb;

namespace {

const QString TypeMismatch = QStringLiteral("Tipo non corrispondente.");
const QString DivisionByZero = QStringLiteral("Divisione per zero.");
const QString Currency = QStringLiteral("Currency");

/** A stored number; no value when the field is empty or does not read as a number. */
std::optional<double> number(const Recordset &rows, int row, const QString &field)
{
    const QVariant value = rows.value(row, rows.fieldIndex(field));
    if (!value.isValid() || value.isNull())
        return std::nullopt;
    return vb::CDbl(value);
}

QString percentageCaption(const CostEstimate::Base &base)
{
    return QStringLiteral("% (%1)").arg(base.baseCaption);
}

} // namespace

const std::array<CostEstimate::Base, 5> &CostEstimate::bases()
{
    static const std::array<Base, 5> list = {
        Base { QStringLiteral("sup_urba"), QStringLiteral("perc_sup_urba"), QStringLiteral("COSTO_SUP_URBA"),
            QStringLiteral("Sup. Urba. (mq.)"), QStringLiteral("Costo Sup. Urba."),
            QStringLiteral("TOTALE_SUP_URBA") },
        Base { QStringLiteral("sup_cop"), QStringLiteral("perc_sup_cop"), QStringLiteral("COSTO_SUP_COP"),
            QStringLiteral("Sup. cop. (mq.)"), QStringLiteral("Costo Sup. cop."),
            QStringLiteral("TOTALE_SUP_COP") },
        Base { QStringLiteral("sup_uti"), QStringLiteral("perc_sup_uti"), QStringLiteral("COSTO_SUP_UTI"),
            QStringLiteral("Sup. uti. (mq.)"), QStringLiteral("Costo Sup. Uti."),
            QStringLiteral("TOTALE_SUP_UTI") },
        Base { QStringLiteral("volume"), QStringLiteral("perc_volume"), QStringLiteral("COSTO_VOLUME"),
            QStringLiteral("Volume"), QStringLiteral("Costo Volume"), QStringLiteral("TOTALE_VOLUME") },
        Base { QStringLiteral("costo"), QStringLiteral("perc_costo"), QStringLiteral("COSTO_COSTO"),
            QStringLiteral("Costo pres."), QStringLiteral("Costo \"Costo Pres.\""),
            QStringLiteral("TOTALE_COSTO") },
    };
    return list;
}

QString CostEstimate::path()
{
    return platform::ProgramFolder::file(FileName);
}

QString CostEstimate::Stop::message() const
{
    return QStringLiteral("Comando interrotto alla riga %1, colonna \"%2\": %3").arg(row).arg(column, reason);
}

bool CostEstimate::ensureTotalsRow(Database &db)
{
    if (!db.table(Totals).isEmpty())
        return false;
    const QStringList fields = db.fields(Totals);
    QList<std::pair<QString, QVariant>> values;
    for (int i = 0; i < 5 && i < fields.size(); ++i)
        values.append({ fields.at(i), 0.0 });
    db.insert(Totals, values);
    return true;
}

CostEstimate::Percentages CostEstimate::percentages(Database &db)
{
    Percentages result;
    platform::Transaction transaction = db.transaction();
    const auto finish = [&]() -> Percentages & {
        transaction.commit();
        return result;
    };

    // Pass 1: the column totals, as the labels show them after every row.
    result.columnTotals.fill(QStringLiteral("0"));
    const Recordset rows = db.table(Units);
    for (int row = 0; row < rows.recordCount(); ++row) {
        for (size_t i = 0; i < 5; ++i) {
            const Base &base = bases()[i];
            const std::optional<double> value = number(rows, row, base.base);
            if (!value) {
                result.stop = Stop { row + 1, base.baseCaption, TypeMismatch };
                return finish();
            }
            const double total = vb::CDbl(result.columnTotals[i]).value_or(0.0) + *value;
            result.columnTotals[i] = i == 4 ? vb::Format(total, Currency) : vb::CStr(total);
        }
    }

    // Pass 2: each share against the total shown, the cost's currency text read back.
    std::array<double, 5> shown {};
    for (size_t i = 0; i < 5; ++i)
        shown[i] = vb::CDbl(result.columnTotals[i]).value_or(0.0);
    for (int row = 0; row < rows.recordCount(); ++row) {
        QList<std::pair<QString, QVariant>> values;
        for (size_t i = 0; i < 5; ++i) {
            const Base &base = bases()[i];
            const std::optional<double> value = number(rows, row, base.base);
            if (!value) {
                result.stop = Stop { row + 1, base.baseCaption, TypeMismatch };
                return finish();
            }
            if (shown[i] == 0.0) {
                result.stop = Stop { row + 1, base.baseCaption, DivisionByZero };
                return finish();
            }
            const QString text = vb::Format(*value * 100.0 / shown[i], QStringLiteral("0.0000"));
            values.append({ base.percentage, vb::CDbl(text).value_or(0.0) });
        }
        db.update(Units, rows.rowidAt(row), values);
    }

    // Pass 3: the percentage totals.
    result.percentageTotals.fill(QStringLiteral("0"));
    const Recordset stored = db.table(Units);
    for (int row = 0; row < stored.recordCount(); ++row) {
        for (size_t i = 0; i < 5; ++i) {
            const std::optional<double> value = number(stored, row, bases()[i].percentage);
            if (!value) {
                result.stop = Stop { row + 1, percentageCaption(bases()[i]), TypeMismatch };
                return finish();
            }
            result.percentageTotals[i]
                = vb::CStr(vb::CDbl(result.percentageTotals[i]).value_or(0.0) + *value);
        }
    }
    return finish();
}

std::optional<CostEstimate::Stop> CostEstimate::split(Database &db, const std::array<QString, 5> &amounts)
{
    platform::Transaction transaction = db.transaction();
    std::optional<Stop> stop;
    const Recordset rows = db.table(Units);
    for (int row = 0; row < rows.recordCount() && !stop; ++row) {
        QList<std::pair<QString, QVariant>> values;
        for (size_t i = 0; i < 5 && !stop; ++i) {
            const Base &base = bases()[i];
            const std::optional<double> amount = vb::CCur(amounts[i]);
            const std::optional<double> share = number(rows, row, base.percentage);
            if (!amount)
                stop = Stop { row + 1, base.costCaption,
                    QStringLiteral("\"%1\" non è un importo.").arg(amounts[i]) };
            else if (!share)
                stop = Stop { row + 1, percentageCaption(base), TypeMismatch };
            else
                values.append({ base.cost, *amount * *share / 100.0 });
        }
        if (!stop)
            db.update(Units, rows.rowidAt(row), values);
    }
    transaction.commit();
    return stop;
}

CostEstimate::Check CostEstimate::check(const QStringList &coveredCosts)
{
    Check result;
    Money total;
    for (int row = 0; row < coveredCosts.size(); ++row) {
        const std::optional<double> amount = vb::CCur(coveredCosts.at(row));
        const std::optional<Money> money = amount ? Money::fromDouble(*amount) : std::nullopt;
        if (!money) {
            result.stop = Stop { row + 1, bases()[1].costCaption, TypeMismatch };
            return result;
        }
        try {
            total += *money;
        } catch (const std::overflow_error &) {
            // A total beyond what Money holds stops at the row that passes it.
            result.stop = Stop { row + 1, bases()[1].costCaption, QStringLiteral("Overflow.") };
            return result;
        }
    }
    result.total = total.toDouble();
    return result;
}

int CostEstimate::empty(Database &db)
{
    const int count = db.table(Units).recordCount();
    db.clear(Units);
    return count;
}

} // namespace zav::expenses
