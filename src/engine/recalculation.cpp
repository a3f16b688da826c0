#include "engine/recalculation.h"

#include "platform/vb.h"

#include <cmath>

namespace zav::engine {

namespace vb = platform::vb;
using V = ArchiveValues;

namespace {

// Trim as the runtime does it: blanks only, not tabs or line ends.
QStringView trimBlanks(QStringView text)
{
    qsizetype first = 0;
    qsizetype last = text.size();
    while (first < last && text[first] == u' ')
        ++first;
    while (last > first && text[last - 1] == u' ')
        --last;
    return text.sliced(first, last - first);
}

// A number as the unit's row stores it: what its text written by the pattern reads back as.
QVariant storedNumber(const vb::Formatted &written)
{
    return written.number ? QVariant(*written.number) : QVariant();
}

} // namespace

// --- RoomField -------------------------------------------------------------------------------

RoomField::RoomField(const QVariant &stored)
{
    if (stored.isNull())
        return;
    if (stored.typeId() == QMetaType::QString) {
        m_kind = Kind::Text;
        m_text = stored.toString();
        return;
    }
    m_kind = Kind::Other;
    m_stored = stored;
}

RoomField RoomField::storedText(QByteArrayView utf8)
{
    RoomField field;
    field.m_kind = Kind::Utf8;
    field.m_utf8 = utf8;
    return field;
}

RoomField RoomField::written(QString text, Num number)
{
    RoomField field = written(std::move(text));
    field.m_read = true;
    field.m_number = number;
    return field;
}

RoomField RoomField::written(QString text)
{
    RoomField field;
    field.m_kind = Kind::Text;
    field.m_text = std::move(text);
    return field;
}

QVariant RoomField::value() const
{
    switch (m_kind) {
    case Kind::Null:
        return QVariant();
    case Kind::Utf8:
        return QVariant(QString::fromUtf8(m_utf8));
    case Kind::Other:
        return m_stored;
    case Kind::Text:
        return QVariant(m_text);
    }
    return QVariant();
}

bool RoomField::isEmpty() const
{
    switch (m_kind) {
    case Kind::Null:
        return true;
    case Kind::Utf8:
        return m_utf8.isEmpty();
    case Kind::Other:
        return V::isEmpty(m_stored);
    case Kind::Text:
        return m_text.isEmpty();
    }
    return true;
}

Num RoomField::number() const
{
    if (m_read)
        return m_number;
    m_read = true;
    switch (m_kind) {
    case Kind::Null:
        m_number.reset();
        break;
    case Kind::Utf8:
        m_number = vb::CDblUtf8(m_utf8);
        break;
    case Kind::Other:
        m_number = vb::CDbl(m_stored);
        break;
    case Kind::Text:
        m_number = vb::CDbl(m_text);
        break;
    }
    return m_number;
}

// --- RecalculationRoom -----------------------------------------------------------------------

void RecalculationRoom::readCoefficient(int k, const RoomField &value)
{
    // An empty coefficient counts as 1; one that is not a number leaves the room without a weighted
    // surface rather than borrowing a value.
    if (k < 1 || k > 8 || value.isEmpty())
        return;
    if (const Num number = value.number())
        coefficients[size_t(k - 1)] = *number;
    else
        coefficientsReadable = false;
}

// --- Recalculation ---------------------------------------------------------------------------

Recalculation::Recalculation(Host &host, Heating heating, double heightInForce)
    : m_host(host)
    , m_heating(heating)
    , m_height(heightInForce)
    , m_surfacePattern(QStringLiteral("###0.0##"))
    , m_weightedPattern(QStringLiteral("##0.0###"))
{
}

void Recalculation::startUnit()
{
    m_weightedSum = 0.0;
    m_volumeSum = 0.0;
    m_heatedVolumeSum = 0.0;
    m_radiantSum = 0.0f;
}

// A number written by its pattern; a value that is not a finite number is stored as the empty text.
RoomField Recalculation::formatted(double value, const vb::FormatPattern &pattern)
{
    if (!std::isfinite(value)) {
        m_host.nonFinite();
        return RoomField::written(QString(), std::nullopt);
    }
    vb::Formatted written = pattern.format(value);
    return RoomField::written(std::move(written.text), written.number);
}

// Evaluates an expression into its value field; one that cannot be evaluated empties it, or leaves
// it as stored when the reading keeps refused ones (the host has said why). An empty or blank
// expression leaves the value as stored, unless the reading counts an empty one as "0" (written into
// the room) and gives a blank one no value.
void Recalculation::evaluateInto(QString &expression, RoomField &field, const Reading &reading)
{
    if (reading.emptyAsZero && expression.isEmpty())
        expression = QStringLiteral("0");
    const QStringView text = trimBlanks(expression);
    if (text.isEmpty()) {
        if (reading.emptyAsZero)
            field = RoomField::written(QString(), std::nullopt);
        return;
    }
    const std::optional<double> value
        = m_host.evaluate(text.size() == expression.size() ? expression : text.toString());
    if (value)
        field = formatted(*value, m_surfacePattern);
    else if (!reading.keepRefused)
        field = RoomField::written(QString(), std::nullopt);
}

void Recalculation::computeRoom(RecalculationRoom &room)
{
    computeRoom(room, Reading());
}

void Recalculation::computeRoom(RecalculationRoom &room, const Reading &reading)
{
    evaluateInto(room.espressione, room.mq, reading);
    if (reading.radiant)
        evaluateInto(room.espresRad, room.totEspresRad, reading);
    // A window field starting with "C" or "A" holds a window code, not an expression.
    if (reading.emptyAsZero && room.supFinestra.isEmpty())
        room.supFinestra = QStringLiteral("0");
    if (!room.supFinestra.startsWith(u'C') && !room.supFinestra.startsWith(u'A'))
        evaluateInto(room.supFinestra, room.mqFinestra, reading);

    // The weighted surface starts as the surface and is multiplied only when the surface is a
    // number, by each coefficient in turn.
    Num &surface = m_found.surface;
    surface = room.mq.number();
    room.totCoef = room.mq;
    if (surface) {
        if (room.coefficientsReadable) {
            double product = *surface;
            for (const double c : room.coefficients)
                product = product * c;
            room.totCoef = formatted(product, m_weightedPattern);
        } else {
            room.totCoef = RoomField::written(QString(), std::nullopt);
        }
    }
    m_found.weighted = room.totCoef.number();

    // The height in force: the room's own when it reads as a number, otherwise the one carried over.
    // A height of 0 makes it 1, for this room and the ones after it, and is then not written.
    if (const Num height = room.hPiano.number())
        m_height = *height;
    if (m_height == 0.0)
        m_height = 1.0;
    else
        room.hPiano = RoomField::written(vb::CStr(m_height));

    // A room without a weighted surface keeps its stored volume.
    m_found.volume.reset();
    if (m_found.weighted) {
        room.totVol = formatted(*m_found.weighted * m_height, m_surfacePattern);
        m_found.volume = room.totVol.number();
    }
}

void Recalculation::addRoom(const RecalculationRoom &room)
{
    if (m_found.weighted)
        m_weightedSum += *m_found.weighted;

    // Heated rooms only; each criterion adds on its own, so two criteria add twice.
    if (room.heated) {
        const auto addVolume = [&] {
            if (!room.totVol.isEmpty() && m_found.surface)
                m_heatedVolumeSum += *m_found.surface * m_height;
        };
        const auto addRadiant = [&] {
            if (room.totEspresRad.isEmpty())
                return;
            if (const Num radiant = room.totEspresRad.number())
                m_radiantSum = float(double(m_radiantSum) + *radiant);
        };
        if (m_heating.byVolume)
            addVolume();
        if (m_heating.byRadiant)
            addRadiant();
        if (m_heating.byHalf) {
            addVolume();
            addRadiant();
        }
    }

    if (m_found.volume)
        m_volumeSum += *m_found.volume;
}

Recalculation::UnitValues Recalculation::unitValues() const
{
    // The radiant sum is a single: it is written with its own seven digits.
    return { storedNumber(m_surfacePattern.format(m_weightedSum)), QVariant(m_volumeSum),
        storedNumber(m_surfacePattern.format(m_heatedVolumeSum)),
        storedNumber(m_surfacePattern.formatSingle(m_radiantSum)) };
}

} // namespace zav::engine
