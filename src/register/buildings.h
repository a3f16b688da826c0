#pragma once

#include <QString>

#include <optional>

namespace zav::register_ {

/** @brief The largest number of buildings a project may have. */
inline constexpr int MaxBuildings = 999;

/**
 * @brief An answer typed as a building number or a number of buildings: blanks around it are
 * allowed, then only digits without a leading zero ("2", " 2 "; not "02", "2.0", "2,5", "1e3",
 * "-1", "0"). No value when the text is not such a number.
 */
std::optional<int> wholeNumber(const QString &answer);

/** @brief The heating criterion of the project, as the header record holds it. */
struct HeatingCriterion
{
    bool volume = false; ///< by heated volume
    bool radiant = false; ///< by radiant surface
    bool half = false; ///< half of each
};

/** @brief What the header record and the buildings table say of the buildings. */
struct HeaderState
{
    bool exists = false; ///< the project has its header record
    /**
     * The number of buildings, counted among those that exist (whatever number the header
     * record holds); none until the buildings are created (no count stored and no building).
     */
    std::optional<int> count;
    HeatingCriterion criterion;
    bool lacksHalfField = false; ///< the archive has no field for "half of each" (not upgraded)
};

/** @brief Reads the header record of the archive; DbError when the archive cannot be read. */
HeaderState readHeader(const QString &archive);

/**
 * @brief Stores the heating criterion in the header record. Without a header record nothing is
 * stored. Returns false when the archive lacks the "half of each" field (the other two are stored
 * all the same). DbError when the archive cannot be written.
 */
bool storeCriterion(const QString &archive, const HeatingCriterion &criterion);

/** @brief How a change of the buildings went. */
enum class BuildingsOutcome {
    Done,
    NoHeader, ///< the project has no header record
    AlreadyCreated, ///< "Crea" on a project that has buildings
    NotANumber, ///< the answer is not a number of buildings
    TooMany, ///< the project would pass MaxBuildings buildings
    NumberTooHigh, ///< a new building would be numbered above MaxBuildings
    NoSuchBuilding, ///< "Elimina" of a number that is no building
};

struct BuildingsResult
{
    BuildingsOutcome outcome = BuildingsOutcome::Done;
    int count = 0; ///< the number of buildings afterwards (when Done)
};

/**
 * @brief Creates buildings 1 to n of a project that has none. Refused, in this order, when the
 * project has no header record, when buildings exist, when n is no number (NotANumber) and when n
 * passes MaxBuildings. The stored count becomes n. All or nothing; DbError when the archive fails
 * (nothing changed).
 */
BuildingsResult createBuildings(const QString &archive, std::optional<int> n);

/**
 * @brief Adds n buildings (n >= 1): first the numbers from 1 up to the number of buildings that
 * exist which are missing, in increasing order, then after the highest number. The stored count
 * becomes the number of buildings that exist afterwards, whatever it held before. All or nothing;
 * DbError when the archive fails (nothing changed).
 */
BuildingsResult addBuildings(const QString &archive, int n);

/**
 * @brief Deletes the building of this number with its units and their rooms; the stored count
 * becomes the number of buildings left. All or nothing; DbError when the archive fails (nothing
 * changed).
 */
BuildingsResult deleteBuilding(const QString &archive, int number);

} // namespace zav::register_
