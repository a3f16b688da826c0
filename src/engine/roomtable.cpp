#include "engine/roomtable.h"

#include "platform/vb.h"

#include <algorithm>
#include <cmath>
#include <cstring>
#include <optional>

namespace zav::engine {

namespace {

namespace vb = platform::vb;
using platform::FieldView;
using platform::StorageClass;

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
constexpr int keptFirst = ESPRESSIONE;
constexpr int keptCount = FieldCount - ESPRESSIONE;

constexpr size_t arenaBlock = size_t(1) << 20;

// --- The unit key ----------------------------------------------------------------------------
//
// Each side of the comparison is written as a key whose bytes are equal exactly when the archive's
// comparison says the values are.

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

// --- Records -----------------------------------------------------------------------------------

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

// A stored value as the recalculation holds it: a text is viewed where it lies.
RoomField roomField(const FieldView &value)
{
    switch (value.storage) {
    case StorageClass::Null:
        return RoomField();
    case StorageClass::Text:
        return RoomField::storedText(value.bytes);
    default:
        return RoomField(value.toVariant());
    }
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

} // namespace

// --- RoomTable ---------------------------------------------------------------------------------

char *RoomTable::Arena::allocate(size_t size)
{
    if (m_left < size) {
        // Not zero-filled: every byte handed out is written before it is read.
        const size_t block = std::max(size, arenaBlock);
        m_blocks.push_back(std::unique_ptr<char[]>(new char[block]));
        m_next = m_blocks.back().get();
        m_left = block;
    }
    char *p = m_next;
    m_next += size;
    m_left -= size;
    return p;
}

RoomTable::RoomTable() = default;
RoomTable::~RoomTable() = default;

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

    char *p = m_records.allocate(size);
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
        const auto [found, inserted] = m_chainOfKey.try_emplace(m_key, quint32(m_chains.size()));
        if (inserted)
            m_chains.emplace_back();
        Chain &chain = m_chains[found->second];
        if (chain.last == none)
            chain.first = index;
        else
            m_rooms[chain.last].next = index;
        chain.last = index;
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
    const auto found = m_chainOfKey.find(m_key);
    return found == m_chainOfKey.end() ? none : m_chains[found->second].first;
}

void RoomTable::load(quint32 index, RecalculationRoom &room) const
{
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
        field = roomField(stored);
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

    // A room recalculated before in this run (for a unit sharing its key) goes on from its new values.
    if (index < m_newValues.size() && m_newValues[index]) {
        const char *q = m_newValues[index];
        for (RoomField *field :
            { &room.mq, &room.totCoef, &room.hPiano, &room.totVol, &room.totEspresRad, &room.mqFinestra }) {
            FieldView value;
            q = readField(q, value);
            *field = roomField(value);
        }
    }
}

void RoomTable::setNewValues(quint32 room, const RecalculationRoom &values)
{
    m_record.clear();
    for (const RoomField *field : { &values.mq, &values.totCoef, &values.hPiano, &values.totVol,
             &values.totEspresRad, &values.mqFinestra })
        appendRoomField(m_record, *field, m_text);
    char *kept = m_newRecords.allocate(m_record.size());
    std::memcpy(kept, m_record.data(), m_record.size());
    if (m_newValues.size() < m_rooms.size())
        m_newValues.resize(m_rooms.size(), nullptr);
    m_newValues[room] = kept;
}

void RoomTable::takeNewValues(const std::function<void(qint64 rowid, const NewValues &values)> &store)
{
    NewValues values;
    for (quint32 room = 0; room < quint32(m_newValues.size()); ++room) {
        const char *p = m_newValues[room];
        if (!p)
            continue;
        for (FieldView &value : values)
            p = readField(p, value);
        store(m_rooms[room].rowid, values);
    }
    m_newValues.clear();
}

} // namespace zav::engine
