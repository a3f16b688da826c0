#include "expenses/summarytable.h"

#include "expenses/expensearchive.h"
#include "expenses/thousandthscopy.h"
#include "platform/programfolder.h"
#include "platform/vb.h"

#include <QDir>
#include <QFileInfo>

#include <optional>

namespace zav::expenses {

using platform::Database;
using platform::DbError;
using platform::Recordset;
using platform::TableQuery;
namespace vb = platform::vb;

namespace {

const QString COD_CONDOMINIO = QStringLiteral("COD_CONDOMINIO");
const QString DESCRIZIONE = QStringLiteral("DESCRIZIONE");
const QString ARCHIVIO = QStringLiteral("ARCHIVIO");

/** Makes the rows under a name the project's; refused, with nothing written, when another
 * project holds them. */
void claim(Database &summary, const QString &name, const QString &projectArchive)
{
    SummaryTable::checkOwner(summary, name, projectArchive);
    if (!summary.hasTable(SummaryTable::Owners)) {
        summary.createTable(SummaryTable::Owners,
            { { COD_CONDOMINIO, platform::FieldType::Memo }, { ARCHIVIO, platform::FieldType::Memo } });
    }
    summary.exec(QStringLiteral("DELETE FROM %1 WHERE %2 = ? COLLATE BINARY")
                     .arg(Database::quoteName(SummaryTable::Owners), Database::quoteName(COD_CONDOMINIO)),
        { name });
    summary.insert(SummaryTable::Owners,
        { { COD_CONDOMINIO, name }, { ARCHIVIO, QFileInfo(projectArchive).absoluteFilePath() } });
}

bool isEmptyValue(const QVariant &value)
{
    return !value.isValid() || value.isNull()
        || (value.typeId() == QMetaType::QString && value.toString().isEmpty());
}

/** A thousandths value as a number; no value when it is empty. DbError when it is not a number. */
std::optional<double> number(const QVariant &value)
{
    if (isEmptyValue(value))
        return std::nullopt;
    const std::optional<double> n = vb::CDbl(value);
    if (!n)
        throw DbError(platform::DbErrorCode::Failed, QStringLiteral("Tipo non corrispondente."));
    return n;
}

} // namespace

const std::array<QString, 6> &SummaryTable::thousandthsFields()
{
    static const std::array<QString, 6> fields
        = { QStringLiteral("millesimi_generali"), QStringLiteral("millesimi_palazzina"),
              QStringLiteral("millesimi_scala"), QStringLiteral("millesimi_ascensore"),
              QStringLiteral("millesimi_riscaldamento"), QStringLiteral("millesimi_portierato") };
    return fields;
}

QString SummaryTable::path()
{
    return platform::ProgramFolder::file(FileName);
}

TableQuery SummaryTable::projectRows(const QString &project)
{
    return TableQuery { Table, { { COD_CONDOMINIO, project, true } }, {} };
}

QString SummaryTable::otherOwner(Database &summary, const QString &name, const QString &projectArchive)
{
    if (!summary.hasTable(Owners))
        return QString();
    const Recordset owners = summary.select(TableQuery { Owners, { { COD_CONDOMINIO, name, true } }, {} });
    const QString project = QFileInfo(projectArchive).canonicalFilePath();
    for (int row = 0; row < owners.recordCount(); ++row) {
        const QString owner = owners.value(row, owners.fieldIndex(ARCHIVIO)).toString();
        const QString existing = QFileInfo(owner).canonicalFilePath();
        if (!existing.isEmpty() && existing != project)
            return owner;
    }
    return QString();
}

QString SummaryTable::otherOwnerText(const QString &name, const QString &otherArchive)
{
    return QStringLiteral(
        "Le righe di \"%1\" nella tabella riepilogativa sono del progetto \"%2\", che ha lo stesso nome")
        .arg(name, QDir::toNativeSeparators(otherArchive));
}

void SummaryTable::checkOwner(Database &summary, const QString &name, const QString &projectArchive)
{
    const QString other = otherOwner(summary, name, projectArchive);
    if (!other.isEmpty()) {
        throw DbError(platform::DbErrorCode::PermissionDenied,
            otherOwnerText(name, other)
                + QStringLiteral(
                    ": restano a quel progetto. Per lavorarle o stamparle aprire quel progetto."));
    }
}

int SummaryTable::create(
    Database &summary, Database &project, const QString &name, const QString &projectArchive)
{
    const Recordset units = project.select(ExpenseArchive::unitQuery());
    const int owner = units.fieldIndex(QStringLiteral("PROPRIETARIO"));
    const int building = units.fieldIndex(QStringLiteral("NUM_PAL"));
    const int stair = units.fieldIndex(QStringLiteral("SCALA"));
    const int number = units.fieldIndex(QStringLiteral("INTERNO"));
    const int floor = units.fieldIndex(QStringLiteral("SIGLA"));
    const int description = units.fieldIndex(QStringLiteral("DESCRIZIONE"));

    platform::Transaction transaction = summary.transaction();
    claim(summary, name, projectArchive);
    platform::Statement insert = summary.prepare(QStringLiteral(
        "INSERT INTO %1 (COD_CONDOMINIO, nome_condomino, PAL, SCALA, INTERNO, PIANO, DESCRIZIONE) "
        "VALUES (?, ?, ?, ?, ?, ?, ?)")
                                                     .arg(Database::quoteName(Table)));
    for (int row = 0; row < units.recordCount(); ++row) {
        // The building goes in as the text of its number ("12"); an empty one stays empty.
        const std::optional<double> buildingNumber = vb::CDbl(units.value(row, building));
        insert.exec({ name, units.value(row, owner),
            buildingNumber ? QVariant(vb::CStr(*buildingNumber)) : QVariant(), units.value(row, stair),
            units.value(row, number), units.value(row, floor), units.value(row, description) });
    }
    for (const ThousandthsCopy::Source &source : ThousandthsCopy::sources())
        ThousandthsCopy::run(project, summary, projectRows(name), source);
    transaction.commit();
    return units.recordCount();
}

int SummaryTable::removeProject(Database &summary, const QString &name, const QString &projectArchive)
{
    platform::Transaction transaction = summary.transaction();
    claim(summary, name, projectArchive);
    const int removed
        = summary.exec(QStringLiteral("DELETE FROM %1 WHERE %2 = ? COLLATE BINARY")
                           .arg(Database::quoteName(Table), Database::quoteName(COD_CONDOMINIO)),
            { name });
    transaction.commit();
    return removed;
}

SummaryTable::MergeSums SummaryTable::gather(Database &summary, const QList<qint64> &rowids)
{
    MergeSums result;
    platform::Statement read
        = summary.prepare(QStringLiteral("SELECT * FROM %1 WHERE rowid = ?").arg(Database::quoteName(Table)));
    for (qint64 rowid : rowids) {
        const Recordset row = read.read({ rowid });
        if (row.isEmpty())
            continue;
        for (size_t i = 0; i < thousandthsFields().size(); ++i) {
            // A value that cannot be read adds nothing, as an empty one.
            try {
                if (const std::optional<double> value
                    = number(row.value(0, row.fieldIndex(thousandthsFields()[i]))))
                    result.sums[i] += *value;
            } catch (const DbError &) {
            }
        }
        const QVariant text = row.value(0, row.fieldIndex(DESCRIZIONE));
        if (!isEmptyValue(text))
            result.descriptions += QStringLiteral(" + ") + text.toString();
    }
    return result;
}

void SummaryTable::merge(
    Database &summary, qint64 rowid, const std::array<QVariant, 6> &sums, const QString &descriptions)
{
    const Recordset row = summary.query(
        QStringLiteral("SELECT * FROM %1 WHERE rowid = ?").arg(Database::quoteName(Table)), { rowid });
    if (row.isEmpty())
        throw DbError(platform::DbErrorCode::NoCurrentRecord, QStringLiteral("Nessun record corrente."));

    QList<std::pair<QString, QVariant>> values;
    for (size_t i = 0; i < thousandthsFields().size(); ++i) {
        const std::optional<double> current = number(row.value(0, row.fieldIndex(thousandthsFields()[i])));
        const std::optional<double> sum = number(sums[i]);
        if (current && sum)
            values.append({ thousandthsFields()[i], *current + *sum });
    }
    const QVariant text = row.value(0, row.fieldIndex(DESCRIZIONE));
    if (!isEmptyValue(text) && !descriptions.isEmpty())
        values.append({ DESCRIZIONE, text.toString() + descriptions });
    if (!values.isEmpty())
        summary.update(Table, rowid, values);
}

} // namespace zav::expenses
