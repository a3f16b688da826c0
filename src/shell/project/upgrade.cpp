#include "shell/project/upgrade.h"

#include "engine/archive.h"
#include "platform/db.h"
#include "shell/project/projectlayout.h"

#include <QList>

#include <exception>
#include <optional>

namespace zav::shell {

namespace {

using platform::FieldDef;
using platform::FieldType;

struct NewField
{
    QLatin1String table;
    FieldDef field;
};

// The fields the current template has and older archives lack, in the order they are appended.
QList<NewField> newFields()
{
    using namespace engine::archive;
    const FieldDef riga { QStringLiteral("RIGA"), FieldType::Double };
    return {
        { ANA_CONDO, { QStringLiteral("NOTE"), FieldType::Memo } },
        { ANA_CONDO, { QStringLiteral("RISC_50"), FieldType::Boolean } },
        { TEMPORANEO, riga },
        { TEMPORANEO2, riga },
        { MIL_RISC, riga },
        { MIL_PORTIERATO, riga },
        { MILLESIMI, riga },
        { TEMP_VARIE, riga },
    };
}

bool hasTable(const QStringList &tables, const QString &name)
{
    return tables.contains(name, Qt::CaseInsensitive);
}

// The indexes of the format that the archive lacks. They only make lookups fast, so one that cannot
// be made (an archive that cannot be written, a table or field missing) is skipped without a word,
// and the archive works as before.
void addIndexes(platform::Database &db)
{
    for (const QString &statement : projectlayout::indexes()) {
        try {
            db.exec(statement);
        } catch (const std::exception &) {
        }
    }
}

} // namespace

UpgradeOutcome upgradeArchive(const QString &path)
{
    UpgradeOutcome outcome;
    std::optional<platform::Database> db;
    try {
        db.emplace(platform::Database::open(path));
    } catch (const std::exception &error) {
        outcome.status = UpgradeOutcome::Status::Unreadable;
        outcome.error = QString::fromUtf8(error.what());
        return outcome;
    }
    try {
        const QStringList tables = db->tables();
        if (!hasTable(tables, engine::archive::ANA_CONDO)) {
            outcome.status = UpgradeOutcome::Status::NotAnArchive;
            outcome.error = QStringLiteral("Tabella ANA_CONDO non trovata");
            return outcome;
        }
        // Each field is a step of its own: one that cannot be added is skipped and the others
        // still are. A failed statement leaves the transaction open, so what was added commits.
        QStringList failures;
        platform::Transaction transaction = db->transaction();
        for (const NewField &item : newFields()) {
            if (!hasTable(tables, item.table))
                continue;
            const QString name = item.table + u'.' + item.field.name;
            try {
                if (db->fields(item.table).contains(item.field.name, Qt::CaseInsensitive))
                    continue;
                db->appendField(item.table, item.field);
                outcome.added << name;
            } catch (const std::exception &error) {
                failures << name + QStringLiteral(": ") + QString::fromUtf8(error.what());
                outcome.failures.append({ item.table, item.field.name, QString::fromUtf8(error.what()) });
            }
        }
        transaction.commit();
        // After the fields, each index a statement of its own: whatever becomes of it, the fields
        // are in.
        addIndexes(*db);
        outcome.status
            = failures.isEmpty() ? UpgradeOutcome::Status::Upgraded : UpgradeOutcome::Status::NotUpgraded;
        outcome.error = failures.join(u'\n');
    } catch (const std::exception &error) {
        outcome.status = UpgradeOutcome::Status::NotUpgraded;
        outcome.added.clear();
        outcome.error = QString::fromUtf8(error.what());
    }
    return outcome;
}

} // namespace zav::shell
