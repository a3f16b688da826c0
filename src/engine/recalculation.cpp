#include "engine/recalculation.h"

#include "platform/vb.h"

#include <cmath>

namespace zav::engine {

namespace vb = platform::vb;
using V = ArchiveValues;

namespace {

const QString surfacePattern = QStringLiteral("###0.0##");
const QString weightedPattern = QStringLiteral("##0.0###");

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

RoomField::RoomField(QVariant stored)
    : m_value(std::move(stored))
{
}

RoomField RoomField::written(QString text, Num number)
{
    RoomField field(QVariant(std::move(text)));
    field.m_read = true;
    field.m_number = number;
    return field;
}

bool RoomField::isEmpty() const
{
    return V::isEmpty(m_value);
}

Num RoomField::number() const
{
    if (!m_read) {
        m_number = vb::CDbl(m_value);
        m_read = true;
    }
    return m_number;
}

// --- RecalculationRoom -----------------------------------------------------------------------

void RecalculationRoom::readCoefficient(int k, const QVariant &value)
{
    // An empty coefficient counts as 1; one that is not a number leaves the room without a weighted
    // surface rather than borrowing a value.
    if (k < 1 || k > 8 || V::isEmpty(value))
        return;
    if (const std::optional<double> number = vb::CDbl(value))
        coefficients[size_t(k - 1)] = *number;
    else
        coefficientsReadable = false;
}

void RecalculationRoom::readHeating(const QVariant &value)
{
    heated = !value.isNull() && value.toString() == u"S";
}

// --- Recalculation ---------------------------------------------------------------------------

Recalculation::Recalculation(Host &host, Heating heating, double heightInForce)
    : m_host(host)
    , m_heating(heating)
    , m_height(heightInForce)
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
RoomField Recalculation::formatted(double value, const QString &pattern)
{
    if (!std::isfinite(value)) {
        m_host.nonFinite();
        return RoomField::written(QString(), std::nullopt);
    }
    vb::Formatted written = vb::FormatWithValue(value, pattern);
    return RoomField::written(std::move(written.text), written.number);
}

// Evaluates an expression into its value field. An empty expression leaves the value as stored; one
// that cannot be evaluated empties it (the host has said why).
void Recalculation::evaluateInto(const QString &expression, RoomField &field)
{
    const QStringView text = trimBlanks(expression);
    if (text.isEmpty())
        return;
    const std::optional<double> value = m_host.evaluate(text.toString());
    field = value ? formatted(*value, surfacePattern) : RoomField::written(QString(), std::nullopt);
}

void Recalculation::computeRoom(RecalculationRoom &room)
{
    evaluateInto(room.espressione, room.mq);
    evaluateInto(room.espresRad, room.totEspresRad);
    // A window field starting with "C" or "A" holds a window code, not an expression.
    if (!room.supFinestra.startsWith(u'C') && !room.supFinestra.startsWith(u'A'))
        evaluateInto(room.supFinestra, room.mqFinestra);

    // The weighted surface starts as the surface and is multiplied only when the surface is a
    // number, by each coefficient in turn.
    m_surface = room.mq.number();
    room.totCoef = room.mq;
    if (m_surface) {
        if (room.coefficientsReadable) {
            double product = *m_surface;
            for (const double c : room.coefficients)
                product = product * c;
            room.totCoef = formatted(product, weightedPattern);
        } else {
            room.totCoef = RoomField::written(QString(), std::nullopt);
        }
    }
    m_weighted = room.totCoef.number();

    // The height in force: the room's own when it reads as a number, otherwise the one carried over;
    // 0 counts as 1 and is then not written.
    if (const Num height = room.hPiano.number())
        m_height = *height;
    if (m_height == 0.0)
        m_height = 1.0;
    else
        room.hPiano = RoomField(QVariant(vb::CStr(m_height)));

    m_volume.reset();
    if (m_weighted) {
        room.totVol = formatted(*m_weighted * m_height, surfacePattern);
        m_volume = room.totVol.number();
    }
}

void Recalculation::addRoom(const RecalculationRoom &room)
{
    if (m_weighted)
        m_weightedSum += *m_weighted;

    // Heated rooms only; each criterion adds on its own, so two criteria add twice.
    if (room.heated) {
        const auto addVolume = [&] {
            if (!room.totVol.isEmpty() && m_surface)
                m_heatedVolumeSum += *m_surface * m_height;
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

    if (m_volume)
        m_volumeSum += *m_volume;
}

Recalculation::UnitValues Recalculation::unitValues() const
{
    // The radiant sum is a single: it is written with its own seven digits.
    return { storedNumber(vb::FormatWithValue(m_weightedSum, surfacePattern)), QVariant(m_volumeSum),
        storedNumber(vb::FormatWithValue(m_heatedVolumeSum, surfacePattern)),
        storedNumber(vb::FormatSingleWithValue(m_radiantSum, surfacePattern)) };
}

} // namespace zav::engine
