#include "register/unitidentity.h"

#include "engine/archive.h"
#include "engine/databasefailure.h"
#include "platform/db.h"
#include "platform/vb.h"
#include "register/unitcodes.h"
#include "workspace/unitkey.h"

#include <algorithm>
#include <cmath>
#include <limits>

namespace zav::register_ {

using platform::Database;
using platform::DbError;
using platform::Recordset;
using platform::TableQuery;

namespace {

using Values = QList<std::pair<QString, QVariant>>;

// Empty text goes in as Null, as a cleared cell of the register does.
QVariant textOrNull(const QString &value)
{
    return value.isEmpty() ? QVariant() : QVariant(value);
}

// A whole number typed in a box, read in the system's number format.
std::optional<qint64> wholeNumber(const QString &typed)
{
    const std::optional<double> number = platform::vb::CDbl(typed.trimmed());
    if (!number || !std::isfinite(*number) || std::floor(*number) != *number || std::fabs(*number) > 9e15)
        return std::nullopt;
    return qint64(*number);
}

// The stored identity of the unit row, read afresh: every query selects by it.
struct StoredUnit
{
    QString owner;
    QVariant building;
    QString stair;
    QVariant interno;
};

StoredUnit storedUnit(Database &db, qint64 unitRow)
{
    const Recordset rs = db.select(
        TableQuery { engine::archive::CODIF_PIANI, { { QStringLiteral("rowid"), unitRow } }, {} });
    if (rs.isEmpty())
        throw DbError(platform::DbErrorCode::NoCurrentRecord, QStringLiteral("Nessun record corrente."));
    return { rs.value(0, rs.fieldIndex(QStringLiteral("PROPRIETARIO"))).toString(),
        rs.value(0, rs.fieldIndex(QStringLiteral("NUM_PAL"))),
        rs.value(0, rs.fieldIndex(QStringLiteral("SCALA"))).toString(),
        rs.value(0, rs.fieldIndex(QStringLiteral("INTERNO"))) };
}

// The stairs a unit of this building may stand on: those the register lists for it.
QStringList stairsOf(Database &db, qint64 building)
{
    const Recordset rs = db.select(TableQuery {
        engine::archive::COMPOS_PAL, { { QStringLiteral("NUM_PAL"), qlonglong(building) } }, {} });
    return rs.isEmpty() ? QStringList()
                        : registerStairs(rs.value(0, rs.fieldIndex(QStringLiteral("NUM_SCALE"))));
}

// The fields a user thousandths table keys a unit by, and the floor code it copies.
const QStringList userTableFields = { QStringLiteral("CONDOMINO"), QStringLiteral("PALAZ"),
    QStringLiteral("SCALA"), QStringLiteral("PIANO"), QStringLiteral("INTERNO") };

bool hasUserTableFields(Database &db, const QString &table)
{
    const QStringList fields = db.fields(table);
    for (const QString &field : userTableFields) {
        if (!fields.contains(field, Qt::CaseInsensitive))
            return false;
    }
    return true;
}

} // namespace

std::optional<QString> IdentityChange::refusal(Database &db, qint64 unitRow, const UnitIdentity &changed)
{
    if (changed.owner.trimmed().isEmpty())
        return QStringLiteral("Inserire il nome del condomino.");

    if (changed.building.trimmed().isEmpty())
        return QStringLiteral("Palazzina non inserita");
    const std::optional<qint64> building = wholeNumber(changed.building);
    const QList<int> buildings = engine::archive::buildingNumbers(db);
    if (!building || !buildings.contains(*building))
        return QStringLiteral("La palazzina n°: %1 non esiste. Aggiungerla in Composizione Palazzina.")
            .arg(changed.building);

    if (changed.stair.isEmpty())
        return QStringLiteral("Scala non inserita");
    // A stair the register does not list would hide the unit from it for good.
    const QStringList stairs = stairsOf(db, *building);
    if (stairs.isEmpty())
        return QStringLiteral("Nessuna scala inserita nella palazzina n°: %1. Inserire il numero delle scale "
                              "in Composizione Palazzina.")
            .arg(changed.building);
    if (!stairs.contains(changed.stair))
        return QStringLiteral("La scala %1 non esiste nella palazzina n°: %2.")
            .arg(changed.stair, changed.building);

    if (changed.interno.trimmed().isEmpty())
        return QStringLiteral("Non è stato inserito l'interno nel condomino %1").arg(changed.owner);
    // A unit number is written with digits alone: "2.0", "1.000" or "-1" would be read as another
    // number than the one meant, or as none a unit can have.
    const QString digits = changed.interno.trimmed();
    if (std::any_of(digits.begin(), digits.end(), [](QChar c) { return c.isLetter(); }))
        return QStringLiteral("Attenzione. L'interno non puo' essere inserito alfanumerico");
    if (!std::all_of(digits.begin(), digits.end(), [](QChar c) { return c >= u'0' && c <= u'9'; }))
        return QStringLiteral("Attenzione. L'interno si scrive con le sole cifre, senza segni né separatori: "
                              "per esempio 12.");
    // The user tables hold the unit number in a 16-bit field.
    bool whole = false;
    const qlonglong interno = digits.toLongLong(&whole);
    if (!whole || interno > std::numeric_limits<qint16>::max())
        return QStringLiteral("Attenzione. L'interno deve essere un numero intero da 0 a 32767.");

    const struct
    {
        const char *caption;
        const QString &value;
        int longest;
    } lengths[]
        = { { "Nome", changed.owner, OwnerLength }, { "Descrizione", changed.description, DescriptionLength },
              { "Pal. n°", changed.building, BuildingLength }, { "Scala n°", changed.stair, StairLength },
              { "Piano", changed.floorCode, FloorCodeLength } };
    for (const auto &l : lengths) {
        if (l.value.size() > l.longest)
            return QStringLiteral("Il testo di \"%1\" è troppo lungo: al massimo %2 caratteri.")
                .arg(QString::fromUtf8(l.caption))
                .arg(l.longest);
    }

    // The rooms and user-table rows of two units with one key could no longer be told apart. Owners
    // are compared as the archive compares text, without regard to case, and with the blanks around
    // them trimmed: "Bianchi " is the owner "Bianchi".
    const Recordset same = db.query(QStringLiteral("SELECT rowid FROM CODIF_PIANI WHERE TRIM(PROPRIETARIO) = "
                                                   "TRIM(?) COLLATE NOCASE AND NUM_PAL = ? AND SCALA = ? "
                                                   "AND INTERNO = ?"),
        { changed.owner, qlonglong(*building), changed.stair, qlonglong(interno) });
    for (int row = 0; row < same.recordCount(); ++row) {
        if (same.value(row, 0).toLongLong() != unitRow)
            return QStringLiteral("Esiste già un condomino %1 nella palazzina n°: %2, scala %3, interno %4.")
                .arg(changed.owner, QString::number(*building), changed.stair, QString::number(interno));
    }
    return std::nullopt;
}

void IdentityChange::apply(Database &db, qint64 unitRow, const UnitIdentity &changed)
{
    const StoredUnit stored = storedUnit(db, unitRow);
    const qint64 building = wholeNumber(changed.building).value_or(0);
    const qint64 interno = wholeNumber(changed.interno).value_or(0);
    const QVariant floorCode = textOrNull(changed.floorCode);

    // Rooms.
    const TableQuery rooms
        = engine::archive::roomsQuery(stored.owner, stored.building, stored.stair, stored.interno);
    const Recordset roomRows = db.select(rooms);
    const Values roomValues = { { QStringLiteral("NOME_CONDOMINO"), changed.owner },
        { QStringLiteral("PALAZ"), QString::number(building) }, { QStringLiteral("SCALA"), changed.stair },
        { QStringLiteral("PIANO"), floorCode }, { QStringLiteral("INTERNO"), qlonglong(interno) } };
    for (int row = 0; row < roomRows.recordCount(); ++row)
        db.update(engine::archive::ESPRESSIONI, roomRows.rowidAt(row), roomValues);

    // User thousandths tables: they key a unit by the same four values as the rooms, under their own
    // names. A listed table that cannot be one is passed over.
    const Recordset listed = db.table(engine::archive::NEW_TAB);
    const Values userValues = { { userTableFields[0], changed.owner },
        { userTableFields[1], QString::number(building) }, { userTableFields[2], changed.stair },
        { userTableFields[3], floorCode }, { userTableFields[4], qlonglong(interno) } };
    for (int i = 0; i < listed.recordCount(); ++i) {
        const QString name = workspace::Unit::headerText(listed.value(i, 0));
        if (!Database::isValidName(name) || !db.hasTable(name) || !hasUserTableFields(db, name)) {
            qWarning("Tabella utente \"%s\" non trovata: passata oltre", qUtf8Printable(name));
            continue;
        }
        TableQuery query = rooms;
        query.table = name;
        query.where[0].field = userTableFields[0];
        query.where[1].field = userTableFields[1];
        query.where[2].field = userTableFields[2];
        query.where[3].field = userTableFields[4];
        const Recordset rows = db.select(query);
        for (int row = 0; row < rows.recordCount(); ++row)
            db.update(name, rows.rowidAt(row), userValues);
    }

    // The unit row last.
    db.update(engine::archive::CODIF_PIANI, unitRow, unitRowValues(changed));
}

QList<std::pair<QString, QVariant>> IdentityChange::unitRowValues(const UnitIdentity &changed)
{
    Values values = { { QStringLiteral("PROPRIETARIO"), changed.owner },
        { QStringLiteral("DESCRIZIONE"), textOrNull(changed.description) },
        { QStringLiteral("NUM_PAL"), qlonglong(wholeNumber(changed.building).value_or(0)) },
        { QStringLiteral("SCALA"), changed.stair },
        { QStringLiteral("SIGLA"), textOrNull(changed.floorCode) },
        { QStringLiteral("INTERNO"), qlonglong(wholeNumber(changed.interno).value_or(0)) } };
    // The floor position follows the floor code, as for a row written in the grid.
    if (const std::optional<int> position = engine::archive::floorPosition(changed.floorCode))
        values.append({ QStringLiteral("RIGA"), *position });
    return values;
}

IdentityChange::Outcome IdentityChange::run(
    const QString &archive, qint64 unitRow, const UnitIdentity &changed)
{
    try {
        Database db = Database::open(archive);
        platform::Transaction transaction(db);
        if (const std::optional<QString> why = refusal(db, unitRow, changed))
            return { Result::Refused, *why };
        apply(db, unitRow, changed);
        transaction.commit();
        return { Result::Changed, {} };
    } catch (const DbError &error) {
        return { Result::Failed, engine::databaseFailureText(error) };
    }
}

} // namespace zav::register_
