#pragma once

#include <QString>
#include <QVariant>

namespace zav::workspace {

/**
 * @brief The terrace form as the unit list sees it when it serves the terraces: the one operation
 * that shows a unit of the project with its rooms in the terrace table open there. The unit list
 * reaches the form by its name in the form registry; the form implements this interface.
 */
class TerraceUnitView
{
public:
    /** @brief Name of the terrace form in the form registry. */
    static inline const QString FormName = QStringLiteral("frm_terrazze");

    /** @brief A unit of the project as the unit list holds it; Null where a field holds no value. */
    struct ListedUnit
    {
        QVariant owner;
        QVariant building;
        QVariant stair;
        QVariant floorCode;
        QVariant interno;
    };

    virtual ~TerraceUnitView() = default;
    /**
     * @brief Binds the unit's rooms in the current terrace table to the room grid (also as
     * `sql_unita_corrente`), names the unit in the header (a field without value leaves its label),
     * totals the rooms and shows the grid on its first row. The form itself is not shown.
     */
    virtual void showListedUnit(const ListedUnit &unit) = 0;
};

} // namespace zav::workspace
