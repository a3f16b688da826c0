#include "shell/project/archivechecks.h"
#include "engine/messagetitles.h"

#include "engine/databasefailure.h"

#include "engine/archive.h"
#include "platform/db.h"
#include "platform/dialogs.h"
#include "platform/steps.h"
#include "platform/ui/datasource.h"

#include <QVector>

#include <stdexcept>

namespace zav::shell {

using platform::Database;

namespace {

const QString buildingQuestion = QStringLiteral(
    "Attenzione in questo record la Palazzina risulta nulla. Se non si elimina potrebbe causare qualche "
    "problema nel calcolo dei millesimi. Vuoi eliminare il record?");
const QString stairQuestion = QStringLiteral(
    "Attenzione in questo record la Scala risulta nulla. Se non si elimina potrebbe causare qualche "
    "problema nel calcolo dei millesimi. Vuoi eliminare il record?");
const QString unitQuestion = QStringLiteral(
    "Attenzione in questo record l'Interno risulta nullo. Se non si inserisce potrebbe causare qualche "
    "problema nel calcolo dei millesimi. Vuoi eliminare il record?");

bool isEmptyKey(const QVariant &value)
{
    return value.isNull() || (value.typeId() == QMetaType::QString && value.toString().isEmpty());
}

} // namespace

const ArchiveChecks::Table &ArchiveChecks::units()
{
    static const Table table { engine::archive::CODIF_PIANI,
        { { QStringLiteral("NUM_PAL"), buildingQuestion }, { QStringLiteral("SCALA"), stairQuestion },
            { QStringLiteral("INTERNO"), unitQuestion } } };
    return table;
}

const ArchiveChecks::Table &ArchiveChecks::rooms()
{
    static const Table table { engine::archive::ESPRESSIONI,
        { { QStringLiteral("PALAZ"), buildingQuestion }, { QStringLiteral("SCALA"), stairQuestion },
            { QStringLiteral("INTERNO"), unitQuestion } } };
    return table;
}

QString ArchiveChecks::questionTitle()
{
    return QStringLiteral("Rigenerazione indici");
}

int ArchiveChecks::verify(const QString &archive, const Table &table, const platform::TableQuery &rows)
{
    Database db = Database::open(archive);
    const platform::Recordset rs
        = db.select(rows.table.isEmpty() ? platform::TableQuery { table.name, {}, {} } : rows);
    QList<int> positions;
    for (const Key &key : table.keys)
        positions << rs.fieldIndex(key.field);

    // The rows still in the table, in stored order: their rowids and key values.
    QVector<qint64> rowids;
    QVector<QVector<QVariant>> keys;
    for (int row = 0; row < rs.recordCount(); ++row) {
        rowids << rs.rowidAt(row);
        QVector<QVariant> values;
        for (int position : positions)
            values << rs.value(row, position);
        keys << values;
    }

    int deleted = 0;
    int current = 0;
    while (current < rowids.size()) {
        for (int k = 0; k < table.keys.size(); ++k) {
            // Continue-on-error: a test with no row in hand (the first row was deleted) or a
            // deletion that fails is skipped.
            platform::tryStep([&] {
                if (current < 0)
                    throw std::out_of_range("no current row");
                if (!isEmptyKey(keys.at(current).at(k)))
                    return;
                const platform::MsgResult answer
                    = platform::dialogs().msgBox(table.keys.at(k).question, platform::MsgButtons::YesNo,
                        platform::MsgIcon::Critical, questionTitle(), platform::MsgDefault::Second);
                if (answer != platform::MsgResult::Yes)
                    return;
                db.remove(table.name, rowids.at(current));
                rowids.removeAt(current);
                keys.removeAt(current);
                ++deleted;
                --current;
            });
        }
        ++current;
    }
    return deleted;
}

void ArchiveChecks::verifyDataSource(platform::DataSource &source, const Table &table)
{
    try {
        source.refresh();
        verify(source.databaseName(), table, source.recordSource());
    } catch (const platform::DbError &error) {
        engine::reportDatabaseError(error);
        return;
    }
    platform::tryStep([&] { source.refresh(); });
    platform::dialogs().msgBox(QStringLiteral("Rigenerazione Completata"), platform::MsgButtons::Ok,
        platform::MsgIcon::Information, QStringLiteral("Zav"));
}

void ArchiveChecks::deleteCurrentRow(platform::DataSource &source)
{
    const platform::MsgResult answer = platform::dialogs().msgBox(
        QStringLiteral("Vuoi Eliminare la riga selezionata?"), platform::MsgButtons::YesNo,
        platform::MsgIcon::Critical, engine::MessageTitle::DeleteRow, platform::MsgDefault::Second);
    if (answer != platform::MsgResult::Yes)
        return;
    try {
        source.deleteCurrent();
        source.refresh();
    } catch (const platform::DbError &error) {
        engine::reportDatabaseError(error);
    }
}

} // namespace zav::shell
