// The global recalculation: every room of every unit recomputed (Recalculation does the arithmetic)
// and every unit's totals stored, in one transaction over one connection, with its question, its
// progress window and its messages.

#include "engine/archive.h"
#include "engine/archivevalues.h"
#include "engine/recalculation.h"
#include "engine/var_gbl.h"
#include "platform/db.h"
#include "platform/dialogs.h"
#include "platform/progress.h"
#include "platform/vb.h"

#include <QStringList>

#include <algorithm>
#include <cmath>
#include <cstring>
#include <exception>
#include <memory>
#include <optional>
#include <string>
#include <unordered_map>
#include <vector>

namespace zav::engine {

namespace {

namespace vb = platform::vb;
using platform::FieldView;
using platform::MsgButtons;
using platform::MsgIcon;
using platform::MsgResult;
using platform::StorageClass;
using V = ArchiveValues;

// The page cache of the run's connection: the pages of a project of tens of thousands of units.
constexpr int bulkPageCacheKiB = 64 * 1024;

const QString titleAttention = QStringLiteral("!!! Zav - Attenzione - !!!");
const QString titleInformation = QStringLiteral("!!! Zav - Informazioni - !!!");
const QString writeFailed
    = QStringLiteral("Impossibile scrivere nell'archivio del progetto. Ricalcolo Globale non completato.");

// Field positions of CODIF_PIANI.
namespace unitField {
constexpr int NUM_PAL = 1;
constexpr int SCALA = 2;
constexpr int PROPRIETARIO = 7;
constexpr int HPIANO = 9;
constexpr int INTERNO = 15;
} // namespace unitField

// Field positions of ANA_CONDO.
namespace projectField {
constexpr int RISC_VOL = 10;
constexpr int RISC_RAD = 11;
constexpr int RISC_50 = 16;
} // namespace projectField

// --- The unit key ------------------------------------------------------------------------------
//
// A room belongs to a unit when its owner, building, stair and unit number equal the values the
// rooms query binds for the unit, compared as the archive compares them: the three text fields
// without regard to case for ASCII letters (COLLATE NOCASE), the unit number as a number (3 equals
// 3.0) or, for a text, exactly; Null equals only Null. Each side is written as a key whose bytes
// are equal exactly when the archive's comparison says so.

// Text of a text field, ASCII letters folded.
void appendFoldedText(std::string &key, QByteArrayView utf8)
{
    const quint32 size = quint32(utf8.size());
    key += 'T';
    key.append(reinterpret_cast<const char *>(&size), sizeof size);
    for (const char c : utf8)
        key += (c >= 'A' && c <= 'Z') ? char(c + ('a' - 'A')) : c;
}

void appendNumber(std::string &key, double number)
{
    // A whole number keys as the integer it equals, so that 3.0 finds 3.
    if (number == std::floor(number) && std::fabs(number) < 9.2e18) {
        const qint64 whole = qint64(number);
        key += 'I';
        key.append(reinterpret_cast<const char *>(&whole), sizeof whole);
        return;
    }
    key += 'R';
    key.append(reinterpret_cast<const char *>(&number), sizeof number);
}

void appendInteger(std::string &key, qint64 whole)
{
    key += 'I';
    key.append(reinterpret_cast<const char *>(&whole), sizeof whole);
}

void appendExactText(std::string &key, QByteArrayView utf8)
{
    const quint32 size = quint32(utf8.size());
    key += 'S';
    key.append(reinterpret_cast<const char *>(&size), sizeof size);
    key.append(utf8.data(), size_t(utf8.size()));
}

// A stored text field. A number or a blob in a text field equals no text: false.
bool appendStoredText(std::string &key, const FieldView &value)
{
    if (value.isNull()) {
        key += 'N';
        return true;
    }
    if (value.storage != StorageClass::Text)
        return false;
    appendFoldedText(key, value.bytes);
    return true;
}

// A stored unit number.
bool appendStoredNumber(std::string &key, const FieldView &value)
{
    switch (value.storage) {
    case StorageClass::Null:
        key += 'N';
        return true;
    case StorageClass::Integer:
        appendInteger(key, value.integer);
        return true;
    case StorageClass::Real:
        appendNumber(key, value.real);
        return true;
    case StorageClass::Text:
        appendExactText(key, value.bytes);
        return true;
    case StorageClass::Blob:
        return false;
    }
    return false;
}

// Whether a text is a number as the archive reads one for a number field (blanks around it, a sign,
// digits with a point, an exponent); its value then.
std::optional<double> numericLiteral(const QByteArray &utf8)
{
    const QByteArray text = utf8.trimmed();
    qsizetype i = 0;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        ++i;
    qsizetype digits = 0;
    while (i < text.size() && text[i] >= '0' && text[i] <= '9')
        ++i, ++digits;
    if (i < text.size() && text[i] == '.') {
        ++i;
        while (i < text.size() && text[i] >= '0' && text[i] <= '9')
            ++i, ++digits;
    }
    if (digits == 0)
        return std::nullopt;
    if (i < text.size() && (text[i] == 'e' || text[i] == 'E')) {
        ++i;
        if (i < text.size() && (text[i] == '+' || text[i] == '-'))
            ++i;
        qsizetype exponentDigits = 0;
        while (i < text.size() && text[i] >= '0' && text[i] <= '9')
            ++i, ++exponentDigits;
        if (exponentDigits == 0)
            return std::nullopt;
    }
    if (i != text.size())
        return std::nullopt;
    bool ok = false;
    const double value = text.toDouble(&ok);
    return ok && std::isfinite(value) ? std::optional<double>(value) : std::nullopt;
}

// A value the rooms query binds for a text field.
void appendBoundText(std::string &key, const QVariant &value)
{
    if (value.isNull())
        key += 'N';
    else
        appendFoldedText(key, value.toString().toUtf8());
}

// The value the rooms query binds for the unit number; a text that reads as a number is compared as
// that number, as the archive does for a number field.
void appendBoundNumber(std::string &key, const QVariant &value)
{
    if (value.isNull()) {
        key += 'N';
    } else if (vb::isNumberValue(value)) {
        if (value.typeId() == QMetaType::LongLong || value.typeId() == QMetaType::Int)
            appendInteger(key, value.toLongLong());
        else
            appendNumber(key, value.toDouble());
    } else {
        const QByteArray text = value.toString().toUtf8();
        if (const std::optional<double> number = numericLiteral(text))
            appendNumber(key, *number);
        else
            appendExactText(key, text);
    }
}

// --- The rooms ---------------------------------------------------------------------------------

/** Memory handed out in large blocks and given back all at once: the rooms' stored values. */
class Arena
{
public:
    char *allocate(size_t size)
    {
        if (m_left < size) {
            // Not zero-filled: every byte handed out is written before it is read.
            const size_t block = std::max(size, blockSize);
            m_blocks.push_back(std::unique_ptr<char[]>(new char[block]));
            m_next = m_blocks.back().get();
            m_left = block;
        }
        char *p = m_next;
        m_next += size;
        m_left -= size;
        return p;
    }

private:
    static constexpr size_t blockSize = size_t(1) << 20;
    std::vector<std::unique_ptr<char[]>> m_blocks;
    char *m_next = nullptr;
    size_t m_left = 0;
};

/**
 * The rooms of the project, read once in stored order and kept compactly (each room's values as
 * the archive holds them, in one record), chained by unit key so that a unit finds its rooms in
 * stored order without a query of its own.
 */
class RoomTable
{
public:
    static constexpr quint32 none = 0xFFFFFFFFu;

    /** Reads every room; throws platform::DbError when the rooms cannot be read. */
    void read(platform::Database &db);

    /** The first room of the unit with this key, none when it has no rooms; see next(). */
    quint32 firstRoom(const QVariantList &unitKey);
    quint32 next(quint32 room) const { return m_rooms[room].next; }
    qint64 rowid(quint32 room) const { return m_rooms[room].rowid; }
    /** Rooms read, numbered 0 on in stored order. */
    quint32 count() const { return quint32(m_rooms.size()); }
    /** Whether more than one unit has the rooms of this room's key. */
    bool shared(quint32 room) const { return m_groups[m_rooms[room].group].units > 1; }

    /** Fills the working room with a room as stored, or as a unit before left it. */
    void load(quint32 room, RecalculationRoom &into) const;
    /** Keeps what a room of a shared key became, for the next unit that has it. */
    void keep(quint32 room, const RecalculationRoom &from) { m_kept[room] = from; }

    /** Counts a unit with this key (before the units are recalculated). */
    void countUnit(const QVariantList &unitKey);

private:
    // The fields read, after the rowid, in this order.
    enum Field {
        NOME_CONDOMINO = 1,
        PALAZ,
        SCALA,
        INTERNO,
        COEF1,
        OPT_RISC = COEF1 + 8,
        // Kept in the record, in this order.
        ESPRESSIONE,
        ESPRES_RAD,
        SUP_FINESTRA,
        MQ,
        H_PIANO,
        TOT_VOL,
        TOT_ESPRES_RAD,
        MQ_FINESTRA,
        FieldCount
    };
    static constexpr int keptFirst = ESPRESSIONE;
    static constexpr int keptCount = FieldCount - ESPRESSIONE;

    struct Room
    {
        qint64 rowid = 0;
        const char *record = nullptr;
        quint32 next = none;
        quint32 group = 0;
    };
    struct Group
    {
        quint32 first = none;
        quint32 last = none;
        int units = 0;
    };

    static bool unitKey(std::string &key, const QVariantList &values);
    void add(const platform::RowView &row);

    Arena m_arena;
    std::vector<Room> m_rooms;
    std::vector<Group> m_groups;
    std::unordered_map<std::string, quint32> m_groupOfKey;
    std::unordered_map<quint32, RecalculationRoom> m_kept;
    std::string m_key; ///< scratch, kept so that keys are built without allocating
};

void RoomTable::read(platform::Database &db)
{
    platform::Statement all
        = db.prepare(QStringLiteral("SELECT rowid, NOME_CONDOMINO, PALAZ, SCALA, INTERNO, COEF1, COEF2, "
                                    "COEF3, COEF4, COEF5, COEF6, COEF7, "
                                    "COEF8, OPT_RISC, ESPRESSIONE, ESPRES_RAD, SUP_FINESTRA, MQ, H_PIANO, "
                                    "TOT_VOL, TOT_ESPRES_RAD, MQ_FINESTRA "
                                    "FROM ESPRESSIONI ORDER BY rowid"));
    all.forEach({}, [this](const platform::RowView &row) { add(row); });
}

// Whether the recalculation rewrites a value field from its expression field whatever the value
// holds (the expression, blanks trimmed, is not empty): then the stored value is not kept. Only the
// certain cases count; any other keeps the value.
bool rewritten(const FieldView &expression)
{
    switch (expression.storage) {
    case StorageClass::Integer:
    case StorageClass::Real:
        return true;
    case StorageClass::Text:
        for (const char c : expression.bytes) {
            if (c != ' ')
                return true;
        }
        return false;
    default:
        return false;
    }
}

// The window field holds an expression (not a window code) that rewrites the window area.
bool windowRewritten(const FieldView &window)
{
    if (window.storage == StorageClass::Text && !window.bytes.isEmpty()
        && (window.bytes.front() == 'C' || window.bytes.front() == 'A'))
        return false;
    return rewritten(window);
}

// Storage bytes of a room's record: a storage class, or a value not kept.
enum RecordTag : char { TagNull, TagInteger, TagReal, TagText, TagBlob, TagNotKept };

size_t lengthSize(quint32 length)
{
    size_t size = 1;
    while (length >= 0x80) {
        length >>= 7;
        ++size;
    }
    return size;
}

char *writeLength(char *p, quint32 length)
{
    while (length >= 0x80) {
        *p++ = char(0x80 | (length & 0x7F));
        length >>= 7;
    }
    *p++ = char(length);
    return p;
}

const char *readLength(const char *p, quint32 &length)
{
    length = 0;
    for (int shift = 0;; shift += 7) {
        const uchar byte = uchar(*p++);
        length |= quint32(byte & 0x7F) << shift;
        if (!(byte & 0x80))
            return p;
    }
}

// Reads one field of a record written with these tags (TagNotKept reads as Null).
const char *readField(const char *p, FieldView &field)
{
    field = FieldView();
    const char tag = *p++;
    switch (tag) {
    case TagNull:
    case TagNotKept:
        break;
    case TagInteger:
        field.storage = StorageClass::Integer;
        std::memcpy(&field.integer, p, 8);
        p += 8;
        break;
    case TagReal:
        field.storage = StorageClass::Real;
        std::memcpy(&field.real, p, 8);
        p += 8;
        break;
    default: {
        quint32 length = 0;
        p = readLength(p, length);
        field.storage = tag == TagText ? StorageClass::Text : StorageClass::Blob;
        field.bytes = QByteArrayView(p, qsizetype(length));
        p += length;
        break;
    }
    }
    return p;
}

// Appends one field with its tag.
void appendField(std::string &out, const FieldView &field)
{
    char length[8];
    switch (field.storage) {
    case StorageClass::Null:
        out += TagNull;
        break;
    case StorageClass::Integer:
        out += TagInteger;
        out.append(reinterpret_cast<const char *>(&field.integer), 8);
        break;
    case StorageClass::Real:
        out += TagReal;
        out.append(reinterpret_cast<const char *>(&field.real), 8);
        break;
    case StorageClass::Text:
    case StorageClass::Blob:
        out += field.storage == StorageClass::Text ? TagText : TagBlob;
        out.append(length, size_t(writeLength(length, quint32(field.bytes.size())) - length));
        out.append(field.bytes.data(), size_t(field.bytes.size()));
        break;
    }
}

// A room's record: a flags byte (heated, coefficients readable), the count of coefficients other
// than 1 and those coefficients in order (multiplying by 1 changes nothing), then each kept field:
// a tag, then 8 bytes of number, or a length and the bytes. A value that its expression rewrites is
// not kept.
void RoomTable::add(const platform::RowView &row)
{
    FieldView kept[keptCount];
    for (int i = 0; i < keptCount; ++i)
        kept[i] = row.field(keptFirst + i);
    const bool notKept[keptCount] = { false, false, false, rewritten(kept[ESPRESSIONE - keptFirst]), false,
        false, rewritten(kept[ESPRES_RAD - keptFirst]), windowRewritten(kept[SUP_FINESTRA - keptFirst]) };
    size_t size = 2;
    for (int i = 0; i < keptCount; ++i) {
        size += 1;
        if (notKept[i] || kept[i].isNull())
            continue;
        if (kept[i].storage == StorageClass::Integer || kept[i].storage == StorageClass::Real)
            size += 8;
        else
            size += lengthSize(quint32(kept[i].bytes.size())) + size_t(kept[i].bytes.size());
    }

    RecalculationRoom coefficients;
    for (int k = 1; k <= 8 && coefficients.coefficientsReadable; ++k) {
        const FieldView c = row.field(COEF1 + k - 1);
        if (c.storage == StorageClass::Text)
            coefficients.readCoefficient(k, RoomField::storedText(c.bytes));
        else
            coefficients.readCoefficient(k, RoomField(c.toVariant()));
    }
    int notOne = 0;
    for (const double c : coefficients.coefficients)
        notOne += c != 1.0;
    size += size_t(notOne) * sizeof(double);

    const FieldView heating = row.field(OPT_RISC);
    const bool heated = heating.storage == StorageClass::Text
        ? heating.bytes.size() == 1 && heating.bytes.front() == 'S'
        : (!heating.isNull() && heating.toVariant().toString() == u"S");

    char *p = m_arena.allocate(size);
    Room room;
    room.rowid = row.field(0).integer;
    room.record = p;
    *p++ = char((heated ? 1 : 0) | (coefficients.coefficientsReadable ? 2 : 0));
    *p++ = char(notOne);
    for (const double c : coefficients.coefficients) {
        if (c != 1.0) {
            std::memcpy(p, &c, sizeof c);
            p += sizeof c;
        }
    }
    for (int i = 0; i < keptCount; ++i) {
        const FieldView &field = kept[i];
        if (notKept[i]) {
            *p++ = TagNotKept;
            continue;
        }
        switch (field.storage) {
        case StorageClass::Null:
            *p++ = TagNull;
            break;
        case StorageClass::Integer:
            *p++ = TagInteger;
            std::memcpy(p, &field.integer, 8);
            p += 8;
            break;
        case StorageClass::Real:
            *p++ = TagReal;
            std::memcpy(p, &field.real, 8);
            p += 8;
            break;
        case StorageClass::Text:
        case StorageClass::Blob: {
            *p++ = field.storage == StorageClass::Text ? TagText : TagBlob;
            const quint32 length = quint32(field.bytes.size());
            p = writeLength(p, length);
            if (length > 0)
                std::memcpy(p, field.bytes.data(), length);
            p += length;
            break;
        }
        }
    }

    // Chained to the rooms of its key; a room whose key equals no unit's is chained to none.
    const quint32 index = quint32(m_rooms.size());
    m_key.clear();
    if (appendStoredText(m_key, row.field(NOME_CONDOMINO)) && appendStoredText(m_key, row.field(PALAZ))
        && appendStoredText(m_key, row.field(SCALA)) && appendStoredNumber(m_key, row.field(INTERNO))) {
        auto [found, inserted] = m_groupOfKey.try_emplace(m_key, quint32(m_groups.size()));
        if (inserted)
            m_groups.emplace_back();
        Group &group = m_groups[found->second];
        room.group = found->second;
        if (group.last == none)
            group.first = index;
        else
            m_rooms[group.last].next = index;
        group.last = index;
    } else {
        room.group = quint32(m_groups.size());
        m_groups.emplace_back();
    }
    m_rooms.push_back(room);
}

bool RoomTable::unitKey(std::string &key, const QVariantList &values)
{
    key.clear();
    if (values.size() != 4)
        return false;
    appendBoundText(key, values.at(0));
    appendBoundText(key, values.at(1));
    appendBoundText(key, values.at(2));
    appendBoundNumber(key, values.at(3));
    return true;
}

quint32 RoomTable::firstRoom(const QVariantList &unitKeyValues)
{
    if (!unitKey(m_key, unitKeyValues))
        return none;
    const auto found = m_groupOfKey.find(m_key);
    return found == m_groupOfKey.end() ? none : m_groups[found->second].first;
}

void RoomTable::countUnit(const QVariantList &unitKeyValues)
{
    if (!unitKey(m_key, unitKeyValues))
        return;
    const auto found = m_groupOfKey.find(m_key);
    if (found != m_groupOfKey.end())
        ++m_groups[found->second].units;
}

// Expressions arrive as text: plain ASCII is copied into the text's own storage, reused room after
// room, and anything else decoded.
void assignUtf8(QString &text, QByteArrayView utf8)
{
    for (const char c : utf8) {
        if (uchar(c) >= 0x80) {
            text = QString::fromUtf8(utf8);
            return;
        }
    }
    text.resize(utf8.size());
    QChar *out = text.data();
    for (const char c : utf8)
        *out++ = QLatin1Char(c);
}

void RoomTable::load(quint32 index, RecalculationRoom &room) const
{
    if (!m_kept.empty()) {
        if (const auto kept = m_kept.find(index); kept != m_kept.end()) {
            room = kept->second;
            return;
        }
    }
    const char *p = m_rooms[index].record;
    const uchar flags = uchar(*p++);
    room.heated = flags & 1;
    room.coefficientsReadable = flags & 2;
    const int notOne = uchar(*p++);
    room.coefficients.fill(1.0);
    for (int i = 0; i < notOne; ++i) {
        std::memcpy(&room.coefficients[size_t(i)], p, sizeof(double));
        p += sizeof(double);
    }

    RoomField fields[keptCount];
    for (RoomField &field : fields) {
        FieldView stored;
        p = readField(p, stored);
        switch (stored.storage) {
        case StorageClass::Null:
            field = RoomField();
            break;
        case StorageClass::Text:
            field = RoomField::storedText(stored.bytes);
            break;
        default:
            field = RoomField(stored.toVariant());
            break;
        }
    }
    // Expressions as text: Null reads as the empty text.
    const auto expression = [](QString &text, const RoomField &field) {
        if (field.kind() == RoomField::Kind::Utf8)
            assignUtf8(text, field.utf8());
        else
            text = field.value().toString();
    };
    expression(room.espressione, fields[ESPRESSIONE - keptFirst]);
    expression(room.espresRad, fields[ESPRES_RAD - keptFirst]);
    expression(room.supFinestra, fields[SUP_FINESTRA - keptFirst]);
    room.mq = fields[MQ - keptFirst];
    room.totCoef = RoomField(); // always rewritten from the surface
    room.hPiano = fields[H_PIANO - keptFirst];
    room.totVol = fields[TOT_VOL - keptFirst];
    room.totEspresRad = fields[TOT_ESPRES_RAD - keptFirst];
    room.mqFinestra = fields[MQ_FINESTRA - keptFirst];
}

// --- The run -----------------------------------------------------------------------------------

/** A unit of CODIF_PIANI as the recalculation reads it. */
struct Unit
{
    qint64 rowid = 0;
    QVariant owner, building, stair, interno;
    bool heightEmpty = true;
};

// A statement that cannot be prepared stays absent: each use of it then fails as a step would.
void prepare(std::optional<platform::Statement> &statement, platform::Database &db, const QString &sql)
{
    try {
        statement.emplace(db.prepare(sql));
    } catch (const std::exception &) {
        statement.reset();
    }
}

// A field of the first row, by position; an empty recordset or a missing field reads as Null.
QVariant firstRowField(const platform::Recordset &rs, int position)
{
    return position < rs.fieldCount() && !rs.isEmpty() ? rs.value(0, position) : QVariant();
}

// A room field as it is to be stored: a stored text goes back as its own bytes, a written text as
// its UTF-8.
void appendRoomField(std::string &out, const RoomField &field, std::string &scratch)
{
    FieldView value;
    switch (field.kind()) {
    case RoomField::Kind::Null:
        break;
    case RoomField::Kind::Utf8:
        value.storage = StorageClass::Text;
        value.bytes = field.utf8();
        break;
    case RoomField::Kind::Text: {
        scratch.clear();
        const QString &text = field.text();
        bool ascii = true;
        for (const QChar c : text) {
            if (c.unicode() >= 0x80) {
                ascii = false;
                break;
            }
            scratch += char(c.unicode());
        }
        if (!ascii) {
            const QByteArray utf8 = text.toUtf8();
            scratch.assign(utf8.constData(), size_t(utf8.size()));
        }
        value.storage = StorageClass::Text;
        value.bytes = QByteArrayView(scratch.data(), qsizetype(scratch.size()));
        break;
    }
    case RoomField::Kind::Other: {
        const QVariant &other = field.other();
        if (other.isNull())
            break;
        switch (other.typeId()) {
        case QMetaType::Int:
        case QMetaType::UInt:
        case QMetaType::LongLong:
            value.storage = StorageClass::Integer;
            value.integer = other.toLongLong();
            break;
        case QMetaType::Double:
        case QMetaType::Float:
            value.storage = StorageClass::Real;
            value.real = other.toDouble();
            break;
        case QMetaType::QByteArray:
            scratch = other.toByteArray().toStdString();
            value.storage = StorageClass::Blob;
            value.bytes = QByteArrayView(scratch.data(), qsizetype(scratch.size()));
            break;
        default:
            scratch = other.toString().toStdString();
            value.storage = StorageClass::Text;
            value.bytes = QByteArrayView(scratch.data(), qsizetype(scratch.size()));
            break;
        }
        break;
    }
    }
    appendField(out, value);
}

/** One run of the global recalculation: its connection, its statements and what it has met so far. */
class GlobalRecalculation : public Recalculation::Host
{
public:
    explicit GlobalRecalculation(VarGbl &state)
        : m_state(state)
    {
    }

    void run();

    std::optional<double> evaluate(const QString &expression) override
    {
        return m_state.valuta_espressione(expression);
    }
    void nonFinite() override;

private:
    enum class Outcome { Continue, Stopped };

    bool open();
    void close();
    QVariantList unitKey(const Unit &unit) const;
    Outcome recalculateUnit(const Unit &unit, Recalculation &calculation);
    void keepForWriting(quint32 room, const RecalculationRoom &values);
    void writeRooms();
    void advanceProgress();
    void stop(const QString &message);

    VarGbl &m_state;
    platform::Progress &m_progress = platform::progress();
    std::optional<platform::Database> m_db;
    std::optional<platform::Transaction> m_transaction;
    std::optional<platform::Statement> m_storeRoom;
    std::optional<platform::Statement> m_storeUnit;
    std::vector<Unit> m_units;
    RoomTable m_rooms;
    bool m_roomsRead = false;
    RecalculationRoom m_room; ///< the room being recalculated, its texts reused room after room
    Arena m_writtenValues;
    std::vector<const char *> m_written; ///< per room in stored order, its values to store, or none
    std::string m_record; ///< scratch of one room's values to store
    std::string m_text; ///< scratch of one value
    bool m_hasProjectRecord = false;
    Recalculation::Heating m_heating;
    bool m_writeFailed = false;
    bool m_nonFiniteReported = false;
};

bool GlobalRecalculation::open()
{
    try {
        if (!m_state.progetto_corrente)
            return false;
        m_db.emplace(platform::Database::open(*m_state.progetto_corrente));
        // Every room is rewritten: room for all of them, so that none is written out twice.
        m_db->setPageCacheLimit(bulkPageCacheKiB);
        // The units in stored order, by field position; a field the table lacks reads as Null.
        platform::Statement units
            = m_db->prepare(QStringLiteral("SELECT rowid, * FROM CODIF_PIANI ORDER BY rowid"));
        units.forEach({}, [this](const platform::RowView &row) {
            const auto field = [&row](int position) {
                return position + 1 < row.fieldCount() ? row.field(position + 1) : FieldView();
            };
            Unit unit;
            unit.rowid = row.field(0).integer;
            unit.owner = field(unitField::PROPRIETARIO).toVariant();
            unit.building = field(unitField::NUM_PAL).toVariant();
            unit.stair = field(unitField::SCALA).toVariant();
            unit.interno = field(unitField::INTERNO).toVariant();
            const FieldView height = field(unitField::HPIANO);
            unit.heightEmpty
                = height.isNull() || (height.storage == StorageClass::Text && height.bytes.isEmpty());
            m_units.push_back(std::move(unit));
        });
        const platform::Recordset project = m_db->table(archive::ANA_CONDO);
        m_hasProjectRecord = !project.isEmpty();
        m_heating.byVolume = V::isTrue(firstRowField(project, projectField::RISC_VOL));
        m_heating.byRadiant = V::isTrue(firstRowField(project, projectField::RISC_RAD));
        m_heating.byHalf = V::isTrue(firstRowField(project, projectField::RISC_50));
        m_transaction.emplace(m_db->transaction());
    } catch (const std::exception &) {
        m_transaction.reset();
        m_db.reset();
        return false;
    }

    // Every room once, in stored order. Rooms that cannot be read leave every unit without rooms,
    // which stops the run at the first unit.
    try {
        m_rooms.read(*m_db);
        m_roomsRead = true;
        for (const Unit &unit : m_units) {
            if (!V::isEmpty(unit.interno))
                m_rooms.countUnit(unitKey(unit));
        }
    } catch (const std::exception &) {
        m_roomsRead = false;
    }
    prepare(m_storeRoom, *m_db,
        QStringLiteral(
            "UPDATE ESPRESSIONI SET MQ = ?, TOT_COEF = ?, H_PIANO = ?, TOT_VOL = ?, TOT_ESPRES_RAD = ?, "
            "MQ_FINESTRA = ? WHERE rowid = ?"));
    prepare(m_storeUnit, *m_db,
        QStringLiteral("UPDATE CODIF_PIANI SET TOT_SUP = ?, TOT_VOL = ?, TOT_VOL_RISC = ?, TOT_RAD_RISC = ? "
                       "WHERE rowid = ?"));
    return true;
}

// The values the rooms query binds for a unit.
QVariantList GlobalRecalculation::unitKey(const Unit &unit) const
{
    QVariantList key;
    for (const platform::Condition &condition :
        archive::roomsQuery(V::text(unit.owner), unit.building, V::text(unit.stair), unit.interno).where)
        key << condition.value;
    return key;
}

// Closing the connection commits what was stored; a commit that fails loses the run's writes.
void GlobalRecalculation::close()
{
    if (m_db && m_transaction)
        writeRooms();
    m_storeRoom.reset();
    m_storeUnit.reset();
    if (m_db && m_transaction) {
        try {
            m_transaction->commit();
        } catch (const std::exception &) {
            m_writeFailed = true;
        }
    }
    m_transaction.reset();
    m_db.reset();
}

void GlobalRecalculation::stop(const QString &message)
{
    platform::dialogs().msgBox(message, MsgButtons::Ok, MsgIcon::Information, titleAttention);
    close();
    if (m_writeFailed)
        platform::dialogs().msgBox(writeFailed, MsgButtons::Ok, MsgIcon::Critical, titleAttention);
    m_progress.close();
    m_progress.setBusy(false);
}

// The first value of a run that is not a finite number is reported; the others are stored as quietly.
void GlobalRecalculation::nonFinite()
{
    if (m_nonFiniteReported)
        return;
    m_nonFiniteReported = true;
    platform::dialogs().msgBox(
        QStringLiteral("Divisione per zero."), MsgButtons::Ok, MsgIcon::None, platform::programTitle());
}

void GlobalRecalculation::run()
{
    m_state.init_operatori();
    m_state.init_precedenze();

    if (platform::dialogs().msgBox(
            QStringLiteral("Questa operazione potrebbe richiedere alcuni minuti. Continuare ?"),
            MsgButtons::YesNo, MsgIcon::Information, titleAttention)
        != MsgResult::Yes)
        return;

    m_progress.setBusy(true);
    if (!open()) {
        platform::dialogs().msgBox(
            QStringLiteral("Impossibile aprire l'archivio del progetto. Ricalcolo non effettuato."),
            MsgButtons::Ok, MsgIcon::Critical, titleAttention);
        m_progress.setBusy(false);
        return;
    }

    const int unitCount = int(m_units.size());
    m_progress.setMaximum(unitCount);
    m_progress.setTotal(QStringLiteral("su ") + QString::number(unitCount));
    m_progress.show();
    m_progress.setCountersVisible(true);
    m_progress.setDone(QStringLiteral("0"));
    m_progress.refresh();
    m_progress.setValue(1);
    m_progress.setTask(QStringLiteral("Ricalcolo Globale Sup. Coeff e Vol."));

    // The height in force is shared: it runs on from the last operation and is left to the next.
    Recalculation calculation(*this, m_heating, m_state.altezza_piano);
    for (const Unit &unit : m_units) {
        const Outcome outcome = recalculateUnit(unit, calculation);
        m_state.altezza_piano = calculation.heightInForce();
        if (outcome == Outcome::Stopped)
            return;
        advanceProgress();
    }

    close();
    if (m_writeFailed)
        platform::dialogs().msgBox(writeFailed, MsgButtons::Ok, MsgIcon::Critical, titleAttention);
    else
        platform::dialogs().msgBox(QStringLiteral("Ricalcolo Globale Terminato"), MsgButtons::Ok,
            MsgIcon::Information, titleInformation);
    m_progress.setCountersVisible(false);
    m_progress.close();
    m_progress.setBusy(false);
    if (m_writeFailed)
        return;

    if (platform::dialogs().msgBox(QStringLiteral("Si vuole effettuare il Calcolo Millesimi ?"),
            MsgButtons::YesNo, MsgIcon::Information, titleInformation)
        == MsgResult::Yes) {
        m_progress.setBusy(true);
        m_state.calcolo_millesimi();
        m_progress.setBusy(false);
    }
}

void GlobalRecalculation::advanceProgress()
{
    // The bar wraps to 1 when it reaches its maximum, then moves on by one.
    if (m_progress.value() == m_progress.maximum())
        m_progress.setValue(1);
    m_progress.setValue(m_progress.value() + 1);
    m_progress.setDone(QString::number(m_progress.done().toInt() + 1));
}

GlobalRecalculation::Outcome GlobalRecalculation::recalculateUnit(
    const Unit &unit, Recalculation &calculation)
{
    if (unit.heightEmpty) {
        stop(QStringLiteral("I dati del condomino ") + V::text(unit.owner) + QStringLiteral(" Pal.: ")
            + V::text(unit.building) + QStringLiteral(" Scala: ") + V::text(unit.stair)
            + QStringLiteral(" risultano incompleti. Impossibile continuare."));
        return Outcome::Stopped;
    }

    // The rooms of the unit, by its key. An empty unit number makes the key unusable.
    quint32 room = RoomTable::none;
    if (m_roomsRead && !V::isEmpty(unit.interno))
        room = m_rooms.firstRoom(unitKey(unit));
    if (room == RoomTable::none) {
        stop(QStringLiteral("In inserimento Espr./Coeff./Vol. i dati del condomino ") + V::text(unit.owner)
            + QStringLiteral(" Pal.: ") + V::text(unit.building) + QStringLiteral(" Scala: ")
            + V::text(unit.stair) + QStringLiteral(" Interno: ") + V::text(unit.interno)
            + QStringLiteral(" risultano incompleti. Impossibile continuare."));
        return Outcome::Stopped;
    }

    calculation.startUnit();
    for (; room != RoomTable::none; room = m_rooms.next(room)) {
        m_rooms.load(room, m_room);
        calculation.computeRoom(m_room);
        // The project record is checked before each room is added: without it the run stops at the
        // first room, whose changes are dropped.
        if (!m_hasProjectRecord) {
            stop(QStringLiteral("Composizione palazzina non effettuata.Impossibile proseguire"));
            return Outcome::Stopped;
        }
        calculation.addRoom(m_room);
        keepForWriting(room, m_room);
        // A unit that shares its key with another one finds the rooms as this one left them.
        if (m_rooms.shared(room))
            m_rooms.keep(room, m_room);
    }

    const Recalculation::UnitValues totals = calculation.unitValues();
    try {
        if (!m_storeUnit)
            throw platform::DbError(platform::DbErrorCode::Failed, QStringLiteral("no statement"));
        m_storeUnit->exec({ totals.totSup, totals.totVol, totals.totVolRisc, totals.totRadRisc, unit.rowid });
    } catch (const std::exception &) {
        m_writeFailed = true;
    }
    return Outcome::Continue;
}

// A room's values are kept until the commit and then stored in stored order, whatever the order of
// the units: rooms stored mixed between units cost what rooms in unit order cost. All of it is one
// transaction, so nobody sees the difference; a room recalculated again (a unit sharing its key)
// is stored with its last values.
void GlobalRecalculation::keepForWriting(quint32 room, const RecalculationRoom &values)
{
    m_record.clear();
    for (const RoomField *field : { &values.mq, &values.totCoef, &values.hPiano, &values.totVol,
             &values.totEspresRad, &values.mqFinestra })
        appendRoomField(m_record, *field, m_text);
    char *kept = m_writtenValues.allocate(m_record.size());
    std::memcpy(kept, m_record.data(), m_record.size());
    if (m_written.size() < m_rooms.count())
        m_written.resize(m_rooms.count(), nullptr);
    m_written[room] = kept;
}

// A store that fails is skipped; the run reports it at the end.
void GlobalRecalculation::writeRooms()
{
    for (quint32 room = 0; room < quint32(m_written.size()); ++room) {
        const char *p = m_written[room];
        if (!p)
            continue;
        try {
            if (!m_storeRoom)
                throw platform::DbError(platform::DbErrorCode::Failed, QStringLiteral("no statement"));
            platform::Statement &store = *m_storeRoom;
            for (int position = 1; position <= 6; ++position) {
                FieldView value;
                p = readField(p, value);
                store.bind(position, value);
            }
            store.bindInteger(7, m_rooms.rowid(room));
            store.run();
        } catch (const std::exception &) {
            m_writeFailed = true;
        }
    }
    m_written.clear();
}

} // namespace

void VarGbl::ricalcolo_globale()
{
    GlobalRecalculation(*this).run();
}

} // namespace zav::engine
