#pragma once

#include "engine/archivevalues.h"
#include "platform/db.h"

#include <QString>
#include <QVariant>
#include <QVector>

#include <array>
#include <functional>
#include <optional>
#include <utility>
#include <vector>

namespace zav::engine {

/**
 * @brief The global thousandths calculation of one project archive: empties and rebuilds the
 * general (`MILLESIMI`), porter's lodge (`MIL_PORTIERATO`), building (`TEMPORANEO`), stair and lift
 * (`TEMPORANEO2`) and heating (`MIL_RISC`) tables from the unit totals of `CODIF_PIANI`.
 *
 * The tables are read once and the phases work on their rows in memory, in the orders in which
 * the archive returns them, so each result is what reading the archive row by row would give.
 * The caller owns the connection and the transaction; run() shows the unit messages of the
 * general table and leaves the stop and completion messages to the caller.
 */
class Millesimi
{
public:
    /** @brief How a run ended. */
    enum class Outcome {
        Completed, ///< every table rebuilt
        StoppedFloorHeight, ///< a unit without floor height: see stopOwner(); roll back
        StoppedZeroSum ///< no unit got any thousandths: only the general table is written
    };

    explicit Millesimi(platform::Database &db);

    /** @brief Runs the calculation inside the caller's transaction; throws platform::DbError when an
     * input or result table cannot be read or written (the caller then rolls back). */
    Outcome run();
    /** @brief Owner of the unit whose empty floor height stopped the run. */
    const QString &stopOwner() const { return m_stopOwner; }

private:
    /** @brief A unit of `CODIF_PIANI`: its key and position as stored, its amounts as numbers. */
    struct Unit
    {
        QVariant numPal, scala, riga, sigla, proprietario, hpiano, interno;
        QVariant totSupRaw, totVolRisc, totRadRisc;
        QVariant palaz; ///< the building as the result tables hold it: its text, Null when empty
        std::optional<qint64> building;
        int floorSlot = 0; ///< numeric floor 1..30 of SIGLA, 0 for any other code
        int special = -1; ///< special floor index of SIGLA, -1 for any other code
        Num hterra, hascensore, totSup, totVol, volRisc, radRisc;
    };

    /** @brief A building of `COMPOS_PAL`. */
    struct Building
    {
        std::optional<qint64> numPal;
        QVariant numScale, riscaldamento, ascensore;
    };

    /**
     * @brief One row of a result table as it is written: the unit it stands for (owner, building,
     * stair, floor code, unit number and floor position come from it) and its own numbers.
     */
    struct Row
    {
        /** @brief Which of the unit's amounts the row writes: MQ of a general row, VOLUME of a heating row.
         */
        enum class Amount : quint8 { None, Surface, Volume, HeatedVolume, RadiantSurface };

        const Unit *unit = nullptr;
        Amount amount = Amount::None;
        bool internoNull = false; ///< the porter's table writes an empty unit number as Null
        Num millesimi;
        // Stair and lift table only.
        Num milB, media, ascensore, mediaAsc;

        const QVariant &condomino() const { return unit->proprietario; }
        const QVariant &palaz() const { return unit->palaz; }
        const QVariant &scala() const { return unit->scala; }
        const QVariant &piano() const { return unit->sigla; }
        const QVariant &riga() const { return unit->riga; }
        QVariant interno() const { return internoNull ? QVariant() : unit->interno; }
        int floorSlot() const { return unit->floorSlot; }
        int special() const { return unit->special; }
        QVariant amountValue() const;
    };

    /** @brief A stair of a building, with its rows of the stair and lift table. */
    struct Stair
    {
        qint64 building = 0;
        QString letter;
        const Building *composition = nullptr;
        std::vector<int> rows; ///< rows of m_scale, as the stair query returns them
    };

    /** @brief A column written from a Row. */
    using Column = std::pair<QString, std::function<QVariant(const Row &)>>;

    // Reading (millesimi.cpp).
    void readInputs();
    const Building *building(qint64 number) const;

    // General and porter's lodge tables (millesimi.cpp).
    bool generalTable();
    bool runningSumIsZero() const;
    void porterTable();

    // Building table (millesimi_palazzine.cpp).
    void buildingTable();

    // Stair and lift tables (millesimi_scale.cpp).
    void stairFirstHalf();
    /** @brief The buildings that exist, in number order: the first composition row of each number. */
    std::vector<const Building *> composedBuildings() const;
    void stairSlots();
    void weightScan(const std::vector<const Unit *> &units, bool lift, double &floorTotal, double &liftTotal);
    void writeSlot(const Stair &stair, const std::vector<const Unit *> &units, bool lift, double floorTotal,
        double liftTotal, int slot, Num floorSum, int currentSpecial);

    // Heating table (millesimi_riscaldamento.cpp).
    void heatingTable();

    // Writing (millesimi.cpp).
    void clearTables();
    void writeTable(const QString &table, const QVector<Row> &rows, const QList<Column> &columns);
    static QList<Column> generalColumns();
    void writeGeneral();
    void writeOthers();

    platform::Database &m_db;

    QVector<Unit> m_units;
    std::vector<Building> m_buildings; ///< in building number order
    QVariant m_checkSup, m_riscVol, m_riscRad, m_porterFlag, m_risc50;

    QString m_stopOwner;
    QString m_runningSum; ///< general running sum as formatted text; empty = the number 0

    QVector<Row> m_generale;
    QVector<Row> m_portierato;
    QVector<Row> m_palazzine;
    QVector<Row> m_scale;
    QVector<Row> m_riscaldamento;
    std::vector<Stair> m_stairs;

    // Stair phase state that lives across slots, stairs and buildings.
    enum SpecialState { Pending = 0, Blocked = 1, Done = 2 };
    std::array<int, ArchiveValues::specialCount> m_states {};
    std::array<int, ArchiveValues::specialCount> m_marks {};
    Num m_liftWeight; ///< lift weight of the floor served last
};

} // namespace zav::engine
