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
const QString kWeightedPattern = QStringLiteral("##0.0###");

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

/** One pass over the rooms of a unit. */
class Pass
{
public:
    Pass(const UnitTotals::Input &input, const UnitTotals::Evaluator &evaluate, UnitTotals::Result &result)
        : m_input(input)
        , m_evaluate(evaluate)
        , m_result(result)
        , m_height(input.floorHeight.value_or(0.0))
    {
        m_result.lastHeight = m_height;
    }

    /** Recomputes one room; false when the pass must stop after it. */
    bool room(RoomCells &cells);

private:
    // A number written by its pattern; one that is not finite is left empty.
    QVariant formatted(double value, const QString &pattern)
    {
        if (std::isfinite(value))
            return vb::Format(value, pattern);
        m_result.nonFinite = true;
        return QString();
    }

    // The value of an expression cell, formatted as a surface; empty when it has none.
    QVariant evaluated(const QVariant &expression)
    {
        const std::optional<double> value
            = m_evaluate ? m_evaluate(platform::vb::Trim(expression.toString())) : std::optional<double>();
        return value ? formatted(*value, kSurfacePattern) : QVariant(QString());
    }

    const UnitTotals::Input &m_input;
    const UnitTotals::Evaluator &m_evaluate;
    UnitTotals::Result &m_result;
    // The height in force: the unit's floor height, then the last room height that reads as a
    // number; 0 while there is none.
    double m_height;
};

bool Pass::room(RoomCells &c)
{
    // Surface: an empty expression counts as 0.
    if (isEmpty(c.espressione))
        c.espressione = QStringLiteral("0");
    c.mq = evaluated(c.espressione);
    TotalText::add(m_result.totMq, c.mq);

    // Window: a code starting with "C" or "A" is not an expression and leaves the area alone.
    if (isEmpty(c.supFinestra))
        c.supFinestra = QStringLiteral("0");
    const QString window = c.supFinestra.toString();
    if (!window.startsWith(u'C') && !window.startsWith(u'A'))
        c.mqFinestra = evaluated(c.supFinestra);

    // Radiant surface: only while its column is shown, and only for rooms that have one.
    if (m_input.radiantShown && !isEmpty(c.totEspresRad)) {
        if (isEmpty(c.espresRad))
            c.espresRad = QStringLiteral("0");
        c.totEspresRad = evaluated(c.espresRad);
        TotalText::add(m_result.totSupRad, c.totEspresRad);
    }

    // Coefficients: an empty one counts as 1; one that is not a number leaves the room without a
    // weighted surface rather than borrowing a value.
    std::array<double, 8> coefficients {};
    bool coefficientsRead = true;
    for (int k = 0; k < 8; ++k) {
        if (isEmpty(c.coef[k])) {
            coefficients[k] = 1.0;
            continue;
        }
        const std::optional<double> value = number(c.coef[k]);
        if (!value) {
            coefficientsRead = false;
            break;
        }
        coefficients[k] = *value;
    }

    // Weighted surface: the surface as written (three decimals) times the coefficients in order.
    const std::optional<double> surface = number(c.mq);
    c.totCoef = c.mq;
    if (surface) {
        if (coefficientsRead) {
            double product = *surface;
            for (const double coefficient : coefficients)
                product = product * coefficient;
            c.totCoef = formatted(product, kWeightedPattern);
        } else {
            c.totCoef = QString();
        }
    }
    const std::optional<double> weighted = number(c.totCoef);
    if (weighted) {
        // The running total is rounded to three decimals at every addition.
        if (const std::optional<double> total = number(m_result.totSupConv)) {
            const QVariant sum = formatted(*total + *weighted, kSurfacePattern);
            if (!isEmpty(sum))
                m_result.totSupConv = sum.toString();
        }
    }

    // Height: the room's own when it reads as one, else the one in force. A height of 0, or none
    // at all, counts as 1 and is not written into the room.
    if (const std::optional<double> own = number(c.hPiano))
        m_height = *own;
    double used = m_height;
    if (used == 0.0)
        used = 1.0;
    else
        c.hPiano = vb::CStr(m_height);
    m_result.lastHeight = used;

    // Volume: the weighted surface as written times the height. A room without a weighted surface
    // has no volume either.
    c.totVol = weighted ? formatted(*weighted * used, kSurfacePattern) : QVariant(QString());

    if (!m_input.heating) {
        m_result.stoppedWithoutHeader = true;
        return false;
    }
    const HeatingCriterion &heating = *m_input.heating;
    if (ArchiveValues::equals(c.optRisc, QStringLiteral("S"))) {
        // The heated volume is the plain surface times the height, not the weighted volume.
        if ((heating.volume || heating.half) && !isEmpty(c.totVol) && surface)
            m_result.heatedVolume += *surface * used;
        if ((heating.radiant || heating.half) && !isEmpty(c.totEspresRad)) {
            if (const std::optional<double> radiant = number(c.totEspresRad))
                m_result.radiantSum = float(double(m_result.radiantSum) + *radiant);
        }
    }

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
    return { fromText(totSupConv), fromText(totVolume),
        ArchiveValues::field(ArchiveValues::formatted(heatedVolume, kSurfacePattern)),
        ArchiveValues::field(ArchiveValues::formatted(double(radiantSum), kSurfacePattern)) };
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
