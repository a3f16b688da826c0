#include "engine/millesimi.h"

#include "engine/archive.h"
#include "engine/var_gbl.h"
#include "platform/vb.h"

#include <algorithm>
#include <cmath>
#include <map>

namespace zav::engine {

namespace vb = platform::vb;
using V = ArchiveValues;

namespace {

const QString floorPattern = QStringLiteral("###0.0##");

QVariant sumField(Num value)
{
    return value ? QVariant(*value) : QVariant();
}

} // namespace

std::vector<const Millesimi::Building *> Millesimi::composedBuildings() const
{
    // The buildings the project has, whatever count its header holds: a deleted building leaves a
    // gap in the numbers, and the buildings after it are still served.
    std::vector<const Building *> result;
    for (const Building &b : m_buildings) {
        if (!b.numPal)
            continue;
        if (!result.empty() && *result.back()->numPal == *b.numPal)
            continue;
        result.push_back(&b);
    }
    return result;
}

// First half of the stair table: each unit's general thousandths rescaled so that its stair
// totals 1000.
void Millesimi::stairFirstHalf()
{
    // General rows by building and exact stair text, in the order of the general table.
    std::map<std::pair<qint64, QString>, std::vector<int>> byStair;
    for (int i = 0; i < m_generale.size(); ++i) {
        const Row &row = m_generale[i];
        const std::optional<qint64> b = V::wholeNumber(row.palaz());
        if (b && !row.scala().isNull())
            byStair[{ *b, row.scala().toString() }].push_back(i);
    }

    m_scale.reserve(m_generale.size());
    for (const Building *composition : composedBuildings()) {
        const qint64 b = *composition->numPal;
        for (const QString &letter : archive::stairsOfBuilding(composition->numScale)) {
            Stair stair;
            stair.building = b;
            stair.letter = letter;
            stair.composition = composition;

            const auto found = byStair.find({ b, stair.letter });
            if (found != byStair.end()) {
                double stairSum = 0.0;
                for (int i : found->second) {
                    if (const Num m = m_generale[i].millesimi)
                        stairSum += *m;
                }
                for (int i : found->second) {
                    Row row = m_generale[i];
                    Num firstHalf;
                    if (const Num m = row.millesimi) {
                        const double scaled = ((1000.0 * *m) / stairSum) * 1000.0;
                        // A stair whose units all have no thousandths has no first halves.
                        if (std::isfinite(scaled))
                            firstHalf = vb::Int(scaled) / 1000.0;
                    }
                    row.millesimi = firstHalf;
                    stair.rows.push_back(int(m_scale.size()));
                    m_scale.append(row);
                }
            }
            m_stairs.push_back(std::move(stair));
        }
    }

    // The stair query returns its rows in the text order of their floor codes.
    for (Stair &stair : m_stairs) {
        const QString palaz = QString::number(stair.building);
        std::erase_if(stair.rows, [&](int i) { return !V::equals(m_scale[i].palaz(), palaz); });
        std::stable_sort(stair.rows.begin(), stair.rows.end(),
            [this](int a, int b) { return V::floorCodeLess(m_scale[a].piano(), m_scale[b].piano()); });
    }
}

// Floor and lift weight totals of a stair: for each floor 1 to 30 the heights of the first of its
// units, and for each special floor code the heights of the first of its units that a reading
// reaches. Each reading starts again from the first unit.
void Millesimi::weightScan(
    const std::vector<const Unit *> &units, bool lift, double &floorTotal, double &liftTotal)
{
    const auto count = [&](const Unit &u) {
        // An empty height adds nothing.
        floorTotal += u.hterra.value_or(0.0);
        if (lift)
            liftTotal += u.hascensore.value_or(0.0);
    };
    for (int k = 1; k <= 30; ++k) {
        for (const Unit *u : units) {
            if (u->floorSlot == k) {
                count(*u);
                break;
            }
            if (u->special >= 0 && m_marks[u->special] != 1) {
                m_marks[u->special] = 1;
                count(*u);
            }
        }
    }
    m_marks.fill(0);
}

void Millesimi::stairSlots()
{
    m_marks.fill(0);

    // Units of each building in stored order.
    std::map<qint64, std::vector<const Unit *>> unitsByBuilding;
    for (const Unit &u : m_units) {
        if (u.building)
            unitsByBuilding[*u.building].push_back(&u);
    }

    for (const Stair &stair : m_stairs) {
        if (stair.rows.empty())
            continue;
        const bool lift = V::isTrue(stair.composition->ascensore);

        // The stair's units as the archive compares stair letters: without regard to case.
        std::vector<const Unit *> units;
        for (const Unit *u : unitsByBuilding[stair.building]) {
            if (V::sameStairIgnoringCase(u->scala, stair.letter))
                units.push_back(u);
        }

        double floorTotal = 0.0;
        double liftTotal = 0.0;
        weightScan(units, lift, floorTotal, liftTotal);

        m_states.fill(Pending);
        for (int k = 1; k <= 30; ++k) {
            // The floor sum of slot k: the first halves of floor k. An empty first half makes it
            // empty, which counts neither as zero nor as not zero.
            Num floorSum = 0.0;
            Num specialSum = 0.0;
            int current = -1;
            for (int i : stair.rows) {
                const Row &row = m_scale[i];
                if (row.floorSlot() == k)
                    floorSum = (floorSum && row.millesimi) ? Num(*floorSum + *row.millesimi) : std::nullopt;
            }

            // Floor k holds the slot and holds back every special group; otherwise the first
            // pending special group, in the rows' order, takes the slot.
            if (floorSum && *floorSum != 0.0) {
                m_states.fill(Blocked);
            } else {
                for (int i : stair.rows) {
                    const Row &row = m_scale[i];
                    if (current >= 0 && row.special() != current)
                        continue;
                    if (row.special() < 0 || m_states[row.special()] != Pending)
                        continue;
                    current = row.special();
                    specialSum
                        = (specialSum && row.millesimi) ? Num(*specialSum + *row.millesimi) : std::nullopt;
                    for (int c = 0; c < V::specialCount; ++c) {
                        if (c != current && m_states[c] != Done)
                            m_states[c] = Blocked;
                    }
                }
            }
            if (floorSum && *floorSum == 0.0)
                floorSum = specialSum;

            VAR_GBL.somma_piano = sumField(floorSum);
            VAR_GBL.somma_piano_speciale = sumField(specialSum);
            if (floorSum && *floorSum == 0.0)
                continue; // a free slot: nothing happens in it

            writeSlot(stair, units, lift, floorTotal, liftTotal, k, floorSum, current);
        }
    }
}

// Second halves and means of the rows one slot serves: the stair's 1000 thousandths shared among
// its floors by height, and within the floor by first half.
void Millesimi::writeSlot(const Stair &stair, const std::vector<const Unit *> &units, bool lift,
    double floorTotal, double liftTotal, int slot, Num floorSum, int currentSpecial)
{
    // Floor weight: the first unit of floor k, else the first unit of a pending special floor.
    const Unit *stop = nullptr;
    for (const Unit *u : units) {
        if (u->floorSlot == slot) {
            stop = u;
            break;
        }
    }
    Num weight;
    bool weightMissing = false;
    if (stop) {
        weight = stop->hterra;
        if (lift)
            m_liftWeight = stop->hascensore;
    } else {
        weightMissing = true;
        for (const Unit *u : units) {
            if (u->special >= 0 && m_states[u->special] == Pending) {
                stop = u;
                weight = u->hterra;
                weightMissing = false;
                break;
            }
        }
    }
    const bool anyPending = std::any_of(m_states.begin(), m_states.end(), [](int s) { return s == Pending; });
    if (lift && anyPending)
        m_liftWeight = stop ? stop->hascensore : std::nullopt;
    // A floor the stair's units do not have weighs nothing.
    if (weightMissing)
        weight = 0.0;

    for (int i : stair.rows) {
        Row &row = m_scale[i];
        bool write = false;
        if (row.floorSlot() == slot) {
            write = true;
            // A written row of floor k stops the special group that follows it.
            for (int &mark : m_marks) {
                if (mark != 2)
                    mark = 1;
            }
        } else if (currentSpecial >= 0 && row.special() == currentSpecial && m_marks[currentSpecial] == 0) {
            write = true;
            for (int c = 0; c < V::specialCount; ++c) {
                if (c != currentSpecial && m_marks[c] != 2)
                    m_marks[c] = 1;
            }
        }
        if (!write)
            continue;

        const Num m = row.millesimi;
        // Stair value: cut to three decimals, in this order of operations.
        Num stairValue;
        if (weight && m && floorSum) {
            const double scaled = ((((*weight / floorTotal) * *m) / *floorSum) * 1000.0) * 1000.0;
            if (std::isfinite(scaled))
                stairValue = vb::Int(scaled) / 1000.0;
        }
        const Num roundedFirstHalf = V::formatted(m, floorPattern);
        row.milB = V::formatted(stairValue, floorPattern);

        if (lift && m_liftWeight.value_or(0.0) != 0.0) {
            // Lift value rounded to six decimals, then cut to three.
            Num liftValue;
            if (m && floorSum) {
                const double value = (((*m_liftWeight / liftTotal) * *m) / *floorSum) * 1000.0;
                if (std::isfinite(value))
                    liftValue = value;
            }
            const Num r = liftValue ? V::formatted(*liftValue * 1000.0, floorPattern) : std::nullopt;
            row.ascensore = r ? Num(vb::Int(*r) / 1000.0) : std::nullopt;
        } else {
            row.ascensore = 0.0;
        }

        row.media = (row.milB && roundedFirstHalf)
            ? V::formatted((*row.milB + *roundedFirstHalf) / 2.0, floorPattern)
            : std::nullopt;
        if (lift) {
            row.mediaAsc = (row.ascensore && roundedFirstHalf)
                ? V::formatted((*row.ascensore + *roundedFirstHalf) / 2.0, floorPattern)
                : std::nullopt;
        } else {
            row.mediaAsc = 0.0;
        }
    }

    // End of the slot: the group served is done, the groups only held back may be chosen again.
    for (int &mark : m_marks)
        mark = (mark == 0) ? 2 : 0;
    for (int &state : m_states) {
        if (state == Pending)
            state = Done;
        else if (state == Blocked)
            state = Pending;
    }
}

} // namespace zav::engine
