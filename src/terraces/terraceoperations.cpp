#include "terraces/terraceoperations.h"

#include "platform/db.h"
#include "terraces/terracearchive.h"

namespace zav::terraces::TerraceOperations {

using platform::Database;
using platform::TableQuery;

namespace {

// Deletes the rows a query names, by rowid; returns how many went.
int removeRows(Database &db, const TableQuery &query)
{
    const platform::Recordset rows = db.select(query);
    for (int row = 0; row < rows.recordCount(); ++row)
        db.remove(query.table, rows.rowidAt(row));
    return rows.recordCount();
}

} // namespace

QString tableCode(const QString &typed)
{
    return typed.trimmed();
}

std::optional<QString> refusedCode(const QString &archive, const QString &typed)
{
    const QString code = tableCode(typed);
    if (code.isEmpty())
        return QStringLiteral("Il codice della tabella è vuoto: scrivere un codice prima della descrizione.");
    if (code.size() > terracearchive::CodeLength)
        return QStringLiteral(
            "Il codice della tabella è troppo lungo (%1 caratteri): può avere al massimo %2 "
            "caratteri. Scrivere un codice più corto.")
            .arg(code.size())
            .arg(terracearchive::CodeLength);
    for (const QChar c : code) {
        if (c.category() == QChar::Other_Control)
            return QStringLiteral("Il codice della tabella contiene caratteri di controllo (tabulazioni, "
                                  "ritorni a capo o simili): scrivere un codice fatto solo di lettere, cifre "
                                  "e segni.");
    }
    Database db = Database::open(archive);
    const platform::Recordset tables = db.table(terracearchive::CODICE);
    for (int row = 0; row < tables.recordCount(); ++row) {
        const QString existing = tables.value(row, 0).toString();
        if (!tables.value(row, 0).isNull() && tableCode(existing).compare(code, Qt::CaseInsensitive) == 0)
            return QStringLiteral("Esiste già la tabella con il codice \"%1\": scegliere un altro codice.")
                .arg(existing);
    }
    return std::nullopt;
}

void deleteTable(const QString &archive, qint64 codeRowid, const QString &code)
{
    Database db = Database::open(archive);
    platform::Transaction transaction = db.transaction();
    removeRows(db, terracearchive::listOfCode(code));
    removeRows(db, { terracearchive::SUP_COEFF_VOL, { { QStringLiteral("CODICE"), code } }, {} });
    db.remove(terracearchive::CODICE, codeRowid);
    transaction.commit();
}

int deleteUnitRooms(const QString &archive, const ShownTerraceUnit &shown)
{
    Database db = Database::open(archive);
    platform::Transaction transaction = db.transaction();
    const int removed = removeRows(db, shown.rooms());
    transaction.commit();
    return removed;
}

void removeListedUnit(const QString &archive, qint64 listRowid, const ShownTerraceUnit &shown)
{
    Database db = Database::open(archive);
    platform::Transaction transaction = db.transaction();
    removeRows(db, shown.rooms());
    db.remove(terracearchive::ELENCO, listRowid);
    transaction.commit();
}

QList<TerraceUnit> listUnits(
    const QString &archive, const QString &code, const QString &description, const QList<TerraceUnit> &units)
{
    QList<TerraceUnit> leftOut;
    Database db = Database::open(archive);
    platform::Transaction transaction = db.transaction();
    for (const TerraceUnit &unit : units) {
        const QVariant interno = terracearchive::numberKey(unit.interno);
        if (unit.floorCode.trimmed().isEmpty() || interno.typeId() == QMetaType::QString) {
            leftOut << unit;
            continue;
        }
        db.insert(terracearchive::ELENCO,
            { { QStringLiteral("PROPRIETARIO"), terracearchive::textKey(unit.owner) },
                { QStringLiteral("NUM_PAL"),
                    unit.building.isNull() ? QVariant() : terracearchive::numberKey(unit.building) },
                { QStringLiteral("SCALA"), terracearchive::textKey(unit.stair) },
                { QStringLiteral("SIGLA"), unit.floorCode }, { QStringLiteral("INTERNO"), interno },
                { QStringLiteral("COD_TERRAZZE"), code },
                { QStringLiteral("DESCRIZIONE_TER"), description } });
    }
    transaction.commit();
    return leftOut;
}

QString describe(const TerraceUnit &unit)
{
    return QStringLiteral("%1 Pal. %2 Scala %3 Piano %4 Int. %5")
        .arg(unit.owner, TerraceUnit::text(unit.building), unit.stair, unit.floorCode,
            TerraceUnit::text(unit.interno));
}

} // namespace zav::terraces::TerraceOperations
