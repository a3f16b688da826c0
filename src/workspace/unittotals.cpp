#include "workspace/unittotals.h"

#include "engine/archivevalues.h"
#include "platform/vb.h"
#include "workspace/totaltext.h"

#include <cmath>

namespace zav::workspace {

namespace vb = platform::vb;
using engine::ArchiveValues;

namespace {

const QString kSurfacePattern = QStringLiteral("###0.0##");

bool isEmpty(const QVariant &value)
{
    return ArchiveValues::isEmpty(value);
}

std::optional<double> number(const QVariant &value)
{
    const std::optional<double> n = ArchiveValues::number(value);
    if (n && !std::isfinite(*n))
        return std::nullopt;
    return n;
}

// A room's cells as the recalculation's rules work on them, and back.
engine::RecalculationRoom recalculationRoom(const RoomCells &c)
{
    engine::RecalculationRoom room;
    room.espressione = c.espressione.toString();
    room.espresRad = c.espresRad.toString();
    room.supFinestra = c.supFinestra.toString();
    for (int k = 1; k <= 8 && room.coefficientsReadable; ++k)
        room.readCoefficient(k, engine::RoomField(c.coef[size_t(k - 1)]));
    room.heated = ArchiveValues::equals(c.optRisc, QStringLiteral("S"));
    room.mq = engine::RoomField(c.mq);
    room.totCoef = engine::RoomField(c.totCoef);
    room.hPiano = engine::RoomField(c.hPiano);
    room.totVol = engine::RoomField(c.totVol);
    room.totEspresRad = engine::RoomField(c.totEspresRad);
    room.mqFinestra = engine::RoomField(c.mqFinestra);
    return room;
}

// An expression cell that the reading rewrote (an empty one became "0").
void writeBack(QVariant &cell, const QString &expression)
{
    if (cell.toString() != expression)
        cell = expression;
}

/**
 * One pass over the rooms of a unit: each room by the rules the global recalculation follows, read
 * the workspace's way, and the labels' totals beside the unit's sums.
 */
class Pass : public engine::Recalculation::Host
{
public:
    Pass(const UnitTotals::Input &input, const UnitTotals::Evaluator &evaluate, UnitTotals::Result &result)
        : m_input(input)
        , m_evaluate(evaluate)
        , m_result(result)
        , m_calculation(*this, heating(input), input.floorHeight.value_or(0.0))
    {
        m_result.lastHeight = m_calculation.heightInForce();
        m_calculation.startUnit();
        m_result.heating = m_calculation.unitValues();
    }

    /** Recomputes one room; false when the pass must stop after it. */
    bool room(RoomCells &cells);

    std::optional<double> evaluate(const QString &expression) override
    {
        return m_evaluate ? m_evaluate(expression) : std::nullopt;
    }
    void nonFinite() override { m_result.nonFinite = true; }

private:
    static engine::Recalculation::Heating heating(const UnitTotals::Input &input)
    {
        return input.heating.value_or(HeatingCriterion {});
    }

    const UnitTotals::Input &m_input;
    const UnitTotals::Evaluator &m_evaluate;
    UnitTotals::Result &m_result;
    engine::Recalculation m_calculation;
    /** Whether a height has been met: the unit's own, or a room's. */
    bool m_heightMet = m_input.floorHeight && *m_input.floorHeight != 0.0;
};

bool Pass::room(RoomCells &c)
{
    // Empty expressions count as 0; radiant surfaces are recomputed only while their column is
    // shown, and only for rooms that have one. An expression that cannot be evaluated keeps the
    // room's value, as at the Enter that typed it.
    engine::Recalculation::Reading reading;
    reading.emptyAsZero = true;
    reading.keepRefused = true;
    reading.radiant = m_input.radiantShown && !isEmpty(c.totEspresRad);
    engine::RecalculationRoom room = recalculationRoom(c);
    m_calculation.computeRoom(room, reading);
    m_result.lastHeight = m_calculation.heightInForce();

    // A room without a window keeps its blank: "0" would be a code of the window table.
    const bool window = !c.supFinestra.toString().isEmpty();
    // Until a height is met (the unit's, or a room's own), an empty height counts as 1 and is
    // left empty; a height met carries on to the rooms after it and is written into them.
    const std::optional<double> ownHeight = number(c.hPiano);
    if (ownHeight && *ownHeight != 0.0)
        m_heightMet = true;

    writeBack(c.espressione, room.espressione);
    if (window)
        writeBack(c.supFinestra, room.supFinestra);
    if (reading.radiant)
        writeBack(c.espresRad, room.espresRad);
    c.mq = room.mq.value();
    c.totCoef = room.totCoef.value();
    if (m_heightMet)
        c.hPiano = room.hPiano.value();
    c.totVol = room.totVol.value();
    c.totEspresRad = room.totEspresRad.value();
    if (window)
        c.mqFinestra = room.mqFinestra.value();

    TotalText::add(m_result.totMq, c.mq);
    if (reading.radiant)
        TotalText::add(m_result.totSupRad, c.totEspresRad);
    // "Tot. Sup. Conv." is rounded to three decimals at every addition.
    const engine::Recalculation::RoomNumbers &found = m_calculation.roomNumbers();
    if (found.weighted) {
        if (const std::optional<double> total = number(m_result.totSupConv)) {
            const double sum = *total + *found.weighted;
            if (std::isfinite(sum))
                m_result.totSupConv = vb::Format(sum, kSurfacePattern);
            else
                m_result.nonFinite = true;
        }
    }

    if (!m_input.heating) {
        m_result.stoppedWithoutHeader = true;
        return false;
    }
    m_calculation.addRoom(room);
    m_result.heating = m_calculation.unitValues();
    // A room without a volume of its own (no weighted surface) adds nothing to "Tot. Volume".
    if (found.volume)
        TotalText::add(m_result.totVolume, c.totVol);
    return true;
}

} // namespace

const QStringList &RoomCells::fieldNames()
{
    static const QStringList names = { QStringLiteral("ESPRESSIONE"), QStringLiteral("MQ"),
        QStringLiteral("COEF1"), QStringLiteral("COEF2"), QStringLiteral("COEF3"), QStringLiteral("COEF4"),
        QStringLiteral("COEF5"), QStringLiteral("COEF6"), QStringLiteral("COEF7"), QStringLiteral("COEF8"),
        QStringLiteral("TOT_COEF"), QStringLiteral("H_PIANO"), QStringLiteral("TOT_VOL"),
        QStringLiteral("OPT_RISC"), QStringLiteral("ESPRES_RAD"), QStringLiteral("TOT_ESPRES_RAD"),
        QStringLiteral("SUP_FINESTRA"), QStringLiteral("MQ_FINESTRA") };
    return names;
}

QVariantList RoomCells::values() const
{
    QVariantList list = { espressione, mq };
    for (const QVariant &c : coef)
        list << c;
    list << totCoef << hPiano << totVol << optRisc << espresRad << totEspresRad << supFinestra << mqFinestra;
    return list;
}

RoomCells RoomCells::fromValues(qint64 rowid, const QVector<QVariant> &values)
{
    const auto at = [&values](int i) { return i < values.size() ? values.at(i) : QVariant(); };
    RoomCells cells;
    cells.rowid = rowid;
    cells.espressione = at(0);
    cells.mq = at(1);
    for (int k = 0; k < 8; ++k)
        cells.coef[k] = at(2 + k);
    cells.totCoef = at(10);
    cells.hPiano = at(11);
    cells.totVol = at(12);
    cells.optRisc = at(13);
    cells.espresRad = at(14);
    cells.totEspresRad = at(15);
    cells.supFinestra = at(16);
    cells.mqFinestra = at(17);
    return cells;
}

std::array<QVariant, 4> UnitTotals::Result::storedTotals() const
{
    const auto fromText = [](const QString &text) { return ArchiveValues::field(number(text)); };
    return { fromText(totSupConv), fromText(totVolume), heating.totVolRisc, heating.totRadRisc };
}

UnitTotals::Result UnitTotals::compute(
    const QVector<RoomCells> &rooms, const Input &input, const Evaluator &evaluate)
{
    Result result;
    Pass pass(input, evaluate, result);
    result.rooms.reserve(rooms.size());
    for (const RoomCells &room : rooms) {
        RoomCells cells = room;
        const bool goOn = pass.room(cells);
        result.rooms.append(cells);
        if (!goOn)
            break;
    }
    return result;
}

UnitTotals::SurfaceSum UnitTotals::sommaMq(const QVector<QVariant> &surfaces)
{
    SurfaceSum sum;
    for (int i = 0; i < surfaces.size(); ++i) {
        QVariant cell = surfaces.at(i);
        if (isEmpty(cell)) {
            sum.emptied.append(i);
            cell = QStringLiteral("0");
        }
        if (!TotalText::add(sum.total, cell))
            break;
    }
    return sum;
}

} // namespace zav::workspace
