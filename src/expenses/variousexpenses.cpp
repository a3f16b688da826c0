#include "expenses/variousexpenses.h"

#include "platform/programfolder.h"
#include "platform/steps.h"
#include "platform/vb.h"
#include "platform/windowspaths.h"

namespace zav::expenses {

using platform::Condition;
using platform::Database;
using platform::DbError;
using platform::FieldDef;
using platform::FieldType;
using platform::Recordset;
using platform::TableQuery;
namespace vb = platform::vb;

namespace {

QString milField(const QString &name)
{
    return name + QStringLiteral("_mil");
}

QString impField(const QString &name)
{
    return name + QStringLiteral("_imp");
}

bool isEmptyValue(const QVariant &value)
{
    return !value.isValid() || value.isNull() || value.toString().trimmed().isEmpty();
}

/** The unit number as the database holds it: the number's text, empty (Null) when there is none. */
QVariant unitText(const QVariant &number)
{
    if (isEmptyValue(number))
        return QVariant();
    const std::optional<double> n = vb::CDbl(number);
    return n ? QVariant(vb::CStr(*n)) : QVariant(number.toString().trimmed());
}

QVariant field(const Recordset &rows, int row, const QString &name)
{
    return rows.hasField(name) ? rows.value(row, rows.fieldIndex(name)) : QVariant();
}

} // namespace

QString VariousExpenses::path()
{
    const QString mapped = platform::WindowsPaths::document(WindowsPath);
    return mapped.isEmpty() ? platform::ProgramFolder::file(QStringLiteral("rip_spese3.mdb")) : mapped;
}

const QStringList &VariousExpenses::unitFields()
{
    static const QStringList fields = { QStringLiteral("nome_condomino"), QStringLiteral("pal"),
        QStringLiteral("scala"), QStringLiteral("piano"), QStringLiteral("interno") };
    return fields;
}

TableQuery VariousExpenses::orderedUnits()
{
    return TableQuery { Units, {},
        { QStringLiteral("pal"), QStringLiteral("scala"), QStringLiteral("interno"),
            QStringLiteral("nome_condomino") } };
}

QStringList VariousExpenses::pairTables(Database &various)
{
    const Recordset rows = various.table(Tables);
    QStringList names;
    for (int row = 0; row < rows.recordCount(); ++row)
        names << rows.value(row, 0).toString();
    return names;
}

QStringList VariousExpenses::add(Database &various, Database &sample, const QStringList &names)
{
    QStringList skipped;
    QStringList added;
    platform::Transaction transaction = various.transaction();

    // The pairs of fields and the list of tables first, then the thousandths.
    for (const QString &name : names) {
        if (!Database::isValidName(milField(name))) {
            skipped << QStringLiteral("Il nome della tabella \"%1\" non può diventare il nome di un campo "
                                      "(sono ammessi lettere, cifre, spazi e trattini bassi).")
                           .arg(name);
            continue;
        }
        if (!sample.hasTable(name)) {
            skipped << QStringLiteral("La tabella \"%1\" non è nell'archivio di esempio.").arg(name);
            continue;
        }
        for (const QString &f : { milField(name), impField(name) }) {
            try {
                various.appendField(Units, FieldDef { f, FieldType::Double });
            } catch (const DbError &error) {
                // A pair already there is kept as it is.
                if (error.code() != platform::DbErrorCode::FieldExists)
                    qWarning("Campo %s non aggiunto: %s", qPrintable(f), qPrintable(error.message()));
            }
        }
        platform::tryStep([&] {
            if (!pairTables(various).contains(name))
                various.insert(Tables, { { various.fields(Tables).at(0), name } });
        });
        added << name;
    }

    for (const QString &name : added) {
        platform::tryStep([&] {
            const Recordset rows = sample.table(name);
            for (int row = 0; row < rows.recordCount(); ++row) {
                platform::tryStep([&] {
                    const QVariant owner = field(rows, row, QStringLiteral("CONDOMINO"));
                    const QVariant building = field(rows, row, QStringLiteral("PALAZ"));
                    const QVariant stair = field(rows, row, QStringLiteral("SCALA"));
                    const QVariant number = unitText(field(rows, row, QStringLiteral("INTERNO")));
                    const QVariant thousandths = field(rows, row, QStringLiteral("MILLESIMI"));
                    const Recordset found = various.select(TableQuery { Units,
                        { Condition { QStringLiteral("nome_condomino"), owner },
                            Condition { QStringLiteral("pal"), building },
                            Condition { QStringLiteral("scala"), stair },
                            Condition { QStringLiteral("interno"), number } },
                        {} });
                    if (found.isEmpty()) {
                        various.insert(Units,
                            { { QStringLiteral("nome_condomino"), owner },
                                { QStringLiteral("pal"), building }, { QStringLiteral("scala"), stair },
                                { QStringLiteral("interno"), number },
                                { QStringLiteral("piano"), field(rows, row, QStringLiteral("PIANO")) },
                                { milField(name), thousandths } });
                    } else {
                        various.update(Units, found.rowidAt(0), { { milField(name), thousandths } });
                    }
                });
            }
        });
    }
    transaction.commit();
    return skipped;
}

void VariousExpenses::removePair(Database &various, const QString &name)
{
    for (const QString &f : { milField(name), impField(name) }) {
        platform::tryStep([&] {
            various.exec(QStringLiteral("ALTER TABLE %1 DROP COLUMN %2")
                             .arg(Database::quoteName(Units), Database::quoteName(f)));
        });
    }
    platform::tryStep([&] {
        const Recordset rows = various.table(Tables);
        for (int row = 0; row < rows.recordCount(); ++row) {
            if (rows.value(row, 0).toString() == name)
                various.remove(Tables, rows.rowidAt(row));
        }
    });
}

void VariousExpenses::emptyUnits(Database &various)
{
    various.clear(Units);
}

} // namespace zav::expenses
