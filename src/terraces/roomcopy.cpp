#include "terraces/roomcopy.h"

#include "platform/db.h"
#include "platform/vb.h"
#include "terraces/terracearchive.h"

#include <QFileInfo>
#include <QHash>
#include <QUrl>

#include <algorithm>
#include <array>
#include <cmath>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

namespace zav::terraces {

using platform::Database;

namespace {

using platform::FieldView;
using platform::StorageClass;

template<class T> void put(std::string &out, const T &value)
{
    out.append(reinterpret_cast<const char *>(&value), sizeof value);
}

// A field as the rooms query compares it as text, appended to `key` with its length first: Null as
// the empty text, a number as the program writes it, the letters A to Z lowered. Text that is all
// ASCII is lowered as it is copied; any other goes through the text the program reads from it.
void appendComparable(const FieldView &field, std::string &key)
{
    const auto viaText = [&key](const QString &text) {
        const QByteArray folded = RoomCopy::comparable(text).toUtf8();
        put(key, folded.size());
        key.append(folded.constData(), std::size_t(folded.size()));
    };
    switch (field.storage) {
    case StorageClass::Null:
        put(key, qsizetype(0));
        return;
    case StorageClass::Integer:
        viaText(platform::vb::CStr(double(field.integer)));
        return;
    case StorageClass::Real:
        viaText(platform::vb::CStr(field.real));
        return;
    case StorageClass::Blob:
        viaText(QString::fromUtf8(field.bytes));
        return;
    case StorageClass::Text:
        break;
    }
    const std::size_t start = key.size();
    put(key, field.bytes.size());
    key.resize(start + sizeof(qsizetype) + std::size_t(field.bytes.size()));
    char *folded = key.data() + start + sizeof(qsizetype);
    for (const char c : field.bytes) {
        if (static_cast<unsigned char>(c) >= 0x80) {
            key.resize(start);
            viaText(QString::fromUtf8(field.bytes));
            return;
        }
        *folded++ = c >= 'A' && c <= 'Z' ? char(c + ('a' - 'A')) : c;
    }
}

// The unit number as a number; none for an empty one or one that is not a number.
std::optional<double> numberOf(const FieldView &field)
{
    switch (field.storage) {
    case StorageClass::Null:
        return std::nullopt;
    case StorageClass::Integer:
        return double(field.integer);
    case StorageClass::Real:
        if (!std::isfinite(field.real))
            return std::nullopt;
        return field.real;
    case StorageClass::Text:
    case StorageClass::Blob:
        break;
    }
    const QVariant key = terracearchive::numberKey(field.toVariant());
    if (key.typeId() == QMetaType::QString)
        return std::nullopt;
    return key.toDouble();
}

/**
 * The key of a row whose first four fields are owner, building, stair and unit number, as the rooms
 * query compares them, into `key` (its storage reused from row to row): each text with its length
 * before it, then the number. False when the unit number is none.
 */
bool keyOf(const platform::RowView &row, std::string &key)
{
    const std::optional<double> number = numberOf(row.field(3));
    if (!number)
        return false;
    key.clear();
    for (int i = 0; i < 3; ++i)
        appendComparable(row.field(i), key);
    put(key, *number == 0.0 ? 0.0 : *number); // 0 and -0 are the same number
    return true;
}

/**
 * The rooms found in the project for the listed units, by rowid, in any order; once sorted, each
 * unit's rooms in the project's stored order.
 */
class FoundRooms
{
public:
    explicit FoundRooms(std::size_t units)
        : m_start(units + 1, 0)
    {
    }

    void append(std::size_t unit, qint64 rowid) { m_rooms.push_back({ unit, rowid }); }

    /** Groups the rooms by unit, each unit's in rowid order. */
    void sort()
    {
        std::sort(m_rooms.begin(), m_rooms.end(), [](const Room &a, const Room &b) {
            return a.unit != b.unit ? a.unit < b.unit : a.rowid < b.rowid;
        });
        for (const Room &room : m_rooms)
            ++m_start[room.unit + 1];
        for (std::size_t unit = 1; unit < m_start.size(); ++unit)
            m_start[unit] += m_start[unit - 1];
    }

    /** Calls `visit` with the rowid of each room of the unit, in rowid order; after sort(). */
    template<class Visit> void forEachRoom(std::size_t unit, Visit visit) const
    {
        for (std::size_t room = m_start[unit]; room < m_start[unit + 1]; ++room)
            visit(m_rooms[room].rowid);
    }

private:
    struct Room
    {
        std::size_t unit;
        qint64 rowid;
    };
    std::vector<std::size_t> m_start; // per unit, where its rooms begin; one more at the end
    std::vector<Room> m_rooms;
};

/** Appends rowids to the copy's temporary table in that order, many to a statement. */
class RowidWriter
{
public:
    explicit RowidWriter(Database &db)
        : m_db(db)
        , m_full(db.prepare(insert(Batch)))
    {
    }

    void append(qint64 rowid)
    {
        m_pending[m_count++] = rowid;
        if (m_count == Batch)
            write(m_full);
    }

    /** Writes the rowids still held. */
    void finish()
    {
        if (m_count == 0)
            return;
        platform::Statement rest = m_db.prepare(insert(m_count));
        write(rest);
    }

private:
    static constexpr int Batch = 256;

    static QString insert(int rows)
    {
        QString sql = QStringLiteral("INSERT INTO temp.VANI_DA_COPIARE (VANO) VALUES (?)");
        for (int i = 1; i < rows; ++i)
            sql += QStringLiteral(",(?)");
        return sql;
    }

    void write(platform::Statement &statement)
    {
        for (int i = 0; i < m_count; ++i)
            statement.bindInteger(i + 1, m_pending[std::size_t(i)]);
        statement.run();
        m_count = 0;
    }

    Database &m_db;
    platform::Statement m_full;
    std::array<qint64, Batch> m_pending {};
    int m_count = 0;
};

} // namespace

QString RoomCopy::comparable(const QString &text)
{
    QString folded = text;
    for (QChar &c : folded) {
        if (c >= u'A' && c <= u'Z')
            c = QChar(c.unicode() + (u'a' - u'A'));
    }
    return folded;
}

RoomCopy::Outcome RoomCopy::run(
    const QString &projectArchive, const QString &terraceArchive, const QString &code)
{
    Outcome outcome;
    // The project opens as every archive opens (a missing one is not created); the copy then reads it
    // through the terrace archive's connection, read only, so that SQLite copies each room's values
    // itself and the rooms read are those of the same moment as the list.
    Database::open(projectArchive).close();
    Database terraces = Database::open(terraceArchive);
    terraces.exec(QStringLiteral("ATTACH DATABASE ? AS progetto"),
        { QUrl::fromLocalFile(QFileInfo(projectArchive).absoluteFilePath()).toString(QUrl::FullyEncoded)
            + QStringLiteral("?mode=ro") });
    platform::Transaction transaction = terraces.transaction();

    // The listed units, each with its place in the list; a unit listed twice is copied twice, one
    // listed without a unit number has no rooms.
    std::vector<int> units; // per listed unit: index of its rooms, -1 for none
    QHash<QByteArray, int> wanted; // key -> index of its rooms
    std::string key;
    terraces
        .prepare(QStringLiteral("SELECT PROPRIETARIO, NUM_PAL, SCALA, INTERNO FROM main.ELENCO "
                                "WHERE COD_TERRAZZE IS ? ORDER BY rowid"))
        .forEach({ code }, [&](const platform::RowView &row) {
            if (!keyOf(row, key)) {
                units.push_back(-1);
                return;
            }
            const QByteArray found(key.data(), qsizetype(key.size()));
            auto at = wanted.constFind(found);
            if (at == wanted.constEnd())
                at = wanted.insert(found, int(wanted.size()));
            units.push_back(*at);
        });
    outcome.units = int(units.size());

    // The project's rooms, their keys read once in the order SQLite finds quickest (its index of the
    // rooms' units holds every key), then grouped by unit in stored order; rooms of units not listed
    // are passed by.
    FoundRooms rooms(std::size_t(wanted.size()));
    if (!wanted.isEmpty()) {
        // Rooms of a unit come one after another in that order: a room whose fields are stored as
        // those of the room before belongs where that one did, without forming its key again.
        platform::RepeatedFields sameUnit(4);
        int lastUnit = -1;
        terraces
            .prepare(QStringLiteral("SELECT NOME_CONDOMINO, PALAZ, SCALA, INTERNO, rowid "
                                    "FROM progetto.ESPRESSIONI"))
            .forEach({}, [&](const platform::RowView &row) {
                if (!sameUnit.sameAsBefore(row)) {
                    lastUnit = -1;
                    if (keyOf(row, key)) {
                        const auto found
                            = wanted.constFind(QByteArray::fromRawData(key.data(), qsizetype(key.size())));
                        if (found != wanted.constEnd())
                            lastUnit = *found;
                    }
                }
                if (lastUnit >= 0)
                    rooms.append(std::size_t(lastUnit), row.field(4).integer);
            });
        rooms.sort();
    }

    // The rooms' rowids in the list's order, into a table of this connection alone; SQLite then
    // appends every room in that order in one statement, its fields 1 to 19 copied as the project
    // holds them.
    terraces.exec(QStringLiteral("CREATE TEMP TABLE VANI_DA_COPIARE (VANO INTEGER)"));
    RowidWriter found(terraces);
    for (const int unit : units) {
        if (unit < 0)
            continue;
        rooms.forEachRoom(std::size_t(unit), [&](qint64 rowid) {
            found.append(rowid);
            ++outcome.rooms;
        });
    }
    found.finish();
    if (outcome.rooms > 0) {
        terraces.exec(
            QStringLiteral(
                "INSERT INTO main.SUP_COEFF_VOL (CODICE, NOME_CONDOMINO, PALAZ, SCALA, INTERNO, "
                "DESCRIZ_VANO, ESPRESSIONE, MQ, COEFF_PIANO, COEFF_ORIENT, COEFF_ESPOS, COEFF_LUMIN, "
                "COEFF_UTILIZ, COEFF_GLOB, COEFF_LIB1, COEFF_LIB2, SUP_CONVENZIONALE, H_PIANO, VOLUME, "
                "PIANO) "
                "SELECT ?, e.NOME_CONDOMINO, e.PALAZ, e.SCALA, e.INTERNO, e.DESCRIZIONE, e.ESPRESSIONE, "
                "e.MQ, e.COEF1, e.COEF2, e.COEF3, e.COEF4, e.COEF5, e.COEF6, e.COEF7, e.COEF8, "
                "e.TOT_COEF, e.H_PIANO, e.TOT_VOL, e.PIANO "
                "FROM temp.VANI_DA_COPIARE AS v CROSS JOIN progetto.ESPRESSIONI AS e "
                "ON e.rowid = v.VANO ORDER BY v.rowid"),
            { code });
    }
    transaction.commit();
    return outcome;
}

} // namespace zav::terraces
