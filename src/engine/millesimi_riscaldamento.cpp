#include "engine/millesimi.h"

#include "platform/vb.h"

#include <cmath>
#include <map>

namespace zav::engine {

namespace vb = platform::vb;
using V = ArchiveValues;

// Heating table: one row per unit of every heated building, its share taken from the heated
// volume, the radiant surface or half of each, over the totals of all heated buildings together.
void Millesimi::heatingTable()
{
    const bool byVolume = V::isTrue(m_riscVol);
    const bool byRadiant = V::isTrue(m_riscRad);
    const bool byHalf = V::isTrue(m_risc50);

    std::map<qint64, std::vector<const Unit *>> unitsByBuilding;
    for (const Unit &u : m_units) {
        if (u.building)
            unitsByBuilding[*u.building].push_back(&u);
    }

    // Totals over every heated composition row; each criterion set adds its amounts.
    double criterionTotal = 0.0;
    double radiantTotal = 0.0;
    for (const Building &b : m_buildings) {
        if (!b.numPal || !V::isTrue(b.riscaldamento))
            continue;
        const auto units = unitsByBuilding.find(*b.numPal);
        if (units == unitsByBuilding.end())
            continue;
        for (const Unit *u : units->second) {
            if (byVolume)
                criterionTotal += u->volRisc.value_or(0.0);
            if (byRadiant)
                criterionTotal += u->radRisc.value_or(0.0);
            if (byHalf) {
                criterionTotal += u->volRisc.value_or(0.0);
                radiantTotal += u->radRisc.value_or(0.0);
            }
        }
    }
    if (criterionTotal == 0.0)
        return;

    // An amount counts only under a criterion that uses it: a heated volume left over from an
    // earlier criterion is not taken for a radiant surface, nor the other way round.
    const bool volumeCounts = byVolume || byHalf;
    const bool radiantCounts = byRadiant || byHalf;

    const auto volumeShare = [&](Num volume) -> Num {
        if (!volume)
            return std::nullopt;
        const double scaled = ((*volume * 1000.0) / criterionTotal) * 1000.0;
        return std::isfinite(scaled) ? Num(vb::Int(scaled) / 1000.0) : std::nullopt;
    };

    m_riscaldamento.reserve(m_units.size());
    for (const Building *composition : composedBuildings()) {
        if (!V::isTrue(composition->riscaldamento))
            continue;
        const auto units = unitsByBuilding.find(*composition->numPal);
        if (units == unitsByBuilding.end())
            continue;
        for (const Unit *u : units->second) {
            const Num volume = volumeCounts ? u->volRisc : Num(0.0);
            const Num radiant = radiantCounts ? u->radRisc : Num(0.0);

            Row row;
            row.unit = u;

            // An empty amount is not 0: it takes its case and gives an empty share.
            if (!byHalf && (!volume || *volume != 0.0)) {
                row.amount = Row::Amount::HeatedVolume;
                row.millesimi = V::formatted(volumeShare(volume), QStringLiteral("###0.0##"));
            } else if (!byHalf && (!radiant || *radiant != 0.0)) {
                row.amount = Row::Amount::RadiantSurface;
                const Num share = radiant ? Num((*radiant * 1000.0) / criterionTotal) : std::nullopt;
                row.millesimi = V::formatted(share, QStringLiteral("###.0##"));
            } else {
                const Num v = volumeShare(volume);
                Num r = 0.0;
                if (radiantTotal != 0.0)
                    r = radiant ? Num((*radiant * 1000.0) / radiantTotal) : std::nullopt;
                const Num mean = (v && r) ? Num((*v + *r) / 2.0) : std::nullopt;
                row.millesimi = V::formatted(mean, QStringLiteral("###.0##"));
            }
            m_riscaldamento.append(row);
        }
    }
}

} // namespace zav::engine
