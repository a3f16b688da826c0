#include "engine/millesimi.h"

#include "platform/vb.h"

#include <cmath>
#include <map>

namespace zav::engine {

namespace vb = platform::vb;
using V = ArchiveValues;

// Building table: each building's general thousandths rescaled so that its units total 1000.
void Millesimi::buildingTable()
{
    // The general rows of each building that exists, in the order of the general table; rows of
    // a building the project does not have get none.
    std::map<qint64, std::vector<int>> byBuilding;
    for (const Building *composition : composedBuildings())
        byBuilding[*composition->numPal];
    for (int i = 0; i < m_generale.size(); ++i) {
        const std::optional<qint64> b = V::wholeNumber(m_generale[i].palaz());
        if (const auto found = b ? byBuilding.find(*b) : byBuilding.end(); found != byBuilding.end())
            found->second.push_back(i);
    }

    m_palazzine.reserve(m_generale.size());
    for (const auto &[number, rows] : byBuilding) {
        double total = 0.0;
        for (int i : rows) {
            if (const Num m = m_generale[i].millesimi)
                total += *m;
        }
        for (int i : rows) {
            Row row = m_generale[i];
            Num share;
            if (const Num m = row.millesimi) {
                const double scaled = ((*m * 1000.0) / total) * 1000.0;
                // A building whose units all have no thousandths has no shares to give.
                if (std::isfinite(scaled))
                    share = vb::Int(scaled) / 1000.0;
            }
            row.millesimi = share;
            m_palazzine.append(row);
        }
    }
}

} // namespace zav::engine
