// What the user waits for after "Ricalcolo": the global recalculation followed by the thousandths
// calculation (the "Yes" to its offer), with the progress window attached, on generated projects of
// N units with ten rooms each, the rooms stored mixed between units. Each run works on a fresh copy
// of the archive on disk (the copy is not timed).
//
// The floor is the same work written directly on SQLite's C interface in one transaction: the same
// reads, the same arithmetic on the same values and the same writes, with nothing between the
// program and the database. The program prints each time over the floor's time.

#include "engine/ui/attesaprogress.h"
#include "engine/var_gbl.h"
#include "platform/db.h"
#include "platform/progress.h"
#include "platform/vb.h"
#include "support/check.h"
#include "support/comparison.h"
#include "support/scripteddialogs.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <benchmark/benchmark.h>
#include <sqlite3.h>

#include <strings.h>
#include <sys/resource.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <map>
#include <memory>
#include <stdexcept>
#include <string>
#include <unordered_map>
#include <vector>

using zav::engine::VAR_GBL;
using zav::platform::Database;
using zav::platform::MsgResult;

namespace {

constexpr int roomsPerUnit = 10;
constexpr int buildings = 4;
constexpr int stairsPerBuilding = 3;

enum class Layout {
    Mixed, ///< room k of every unit, then room k + 1 of every unit: each unit's rooms far apart
    UnitOrder ///< each unit's rooms one after the other
};

// --- The generated project ---------------------------------------------------------------------

/**
 * A project of N units spread over four buildings of three stairs (half with a lift), floors from a
 * basement to the tenth, all heated by volume, with a porter's lodge; ten rooms per unit with three
 * expressions each, two coefficients and a height on two rooms out of three.
 */
void generate(const QString &path, int units, Layout layout)
{
    const QString templateFile
        = QDir(QStringLiteral(ZAV_BENCH_PROGRAM_DIR)).filePath(QStringLiteral("ARCH_MIL.CLO"));
    if (!QFile::copy(templateFile, path))
        throw std::runtime_error("cannot copy the template archive");
    QFile(path).setPermissions(QFile::ReadOwner | QFile::WriteOwner);

    Database db = Database::open(path);
    auto transaction = db.transaction();
    db.insert(QStringLiteral("ANA_CONDO"),
        { { "NOME", QStringLiteral("Prova") }, { "NUM_PAL", buildings }, { "PORTIERATO", true },
            { "RISC_VOL", true } });
    for (int b = 1; b <= buildings; ++b) {
        db.insert(QStringLiteral("COMPOS_PAL"),
            { { "NUM_PAL", b }, { "NUM_SCALE", stairsPerBuilding }, { "RISCALDAMENTO", true },
                { "ASCENSORE", b % 2 == 0 } });
    }
    const QStringList floors = { "1S", "T", "1", "2", "3", "4", "5", "6", "7", "8", "9", "10" };
    auto unit
        = db.prepare(QStringLiteral("INSERT INTO CODIF_PIANI (NUM_PAL, SCALA, RIGA, SIGLA, PROPRIETARIO, "
                                    "HTERRA, HPIANO, HASCENSORE, INTERNO) VALUES (?,?,?,?,?,?,?,?,?)"));
    struct Key
    {
        QString owner;
        int building;
        QString stair;
        int interno;
    };
    std::vector<Key> keys;
    for (int i = 0; i < units; ++i) {
        const int building = 1 + i % buildings;
        const QString stair = QString(QChar(u'A' + (i / buildings) % stairsPerBuilding));
        const int f = (i / (buildings * stairsPerBuilding)) % int(floors.size());
        const QString owner = QStringLiteral("Condomino %1").arg(i);
        const int interno = 1 + i / (buildings * stairsPerBuilding);
        unit.exec({ building, stair, f - 1, floors.at(f), owner, 3.0 * f, 3.0, f < 2 ? 0.0 : 3.0 * (f - 1),
            interno });
        keys.push_back({ owner, building, stair, interno });
    }
    auto room
        = db.prepare(QStringLiteral("INSERT INTO ESPRESSIONI (NOME_CONDOMINO, PALAZ, SCALA, INTERNO, "
                                    "DESCRIZIONE, ESPRESSIONE, COEF1, COEF2, H_PIANO, OPT_RISC, ESPRES_RAD, "
                                    "SUP_FINESTRA) VALUES (?,?,?,?,?,?,?,?,?,?,?,?)"));
    const auto addRoom = [&](const Key &k, int r) {
        room.exec(
            { k.owner, QString::number(k.building), k.stair, k.interno, QStringLiteral("Vano %1").arg(r),
                QStringLiteral("4.20*3.15+1.5*%1").arg(r + 1), QStringLiteral("0,95"), QStringLiteral("1,1"),
                r % 3 == 0 ? QVariant() : QVariant(QStringLiteral("2,7")), QStringLiteral("S"),
                QStringLiteral("1.5*2"), QStringLiteral("1.2*1.4") });
    };
    if (layout == Layout::Mixed) {
        for (int r = 0; r < roomsPerUnit; ++r) {
            for (const Key &k : keys)
                addRoom(k, r);
        }
    } else {
        for (const Key &k : keys) {
            for (int r = 0; r < roomsPerUnit; ++r)
                addRoom(k, r);
        }
    }
    transaction.commit();
}

/** The generated projects of this run, made once each and copied afresh for every iteration. */
class Projects
{
public:
    static Projects &instance()
    {
        static Projects projects;
        return projects;
    }

    const QString &master(int units, Layout layout)
    {
        QString &path = m_masters[{ units, layout }];
        if (path.isEmpty()) {
            path = m_dir.filePath(QStringLiteral("MASTER%1_%2.CDB").arg(units).arg(int(layout)));
            generate(path, units, layout);
        }
        return path;
    }

    /** A fresh copy of a project, written through to the disk so that no timed sync pays for it. */
    QString freshCopy(int units, Layout layout)
    {
        const QString path = m_dir.filePath(QStringLiteral("RUN.CDB"));
        QFile::remove(path);
        QFile::remove(path + QStringLiteral("-journal"));
        if (!QFile::copy(master(units, layout), path))
            throw std::runtime_error("cannot copy the project");
        QFile file(path);
        file.setPermissions(QFile::ReadOwner | QFile::WriteOwner);
        if (file.open(QIODevice::ReadWrite))
            ::fsync(file.handle());
        return path;
    }

private:
    QTemporaryDir m_dir;
    std::map<std::pair<int, Layout>, QString> m_masters;
};

// Rows each thousandths table must hold after a run: one per unit in every table.
bool tablesFilled(const QString &path, int units)
{
    Database db = Database::open(path);
    for (const char *table : { "MILLESIMI", "MIL_PORTIERATO", "TEMPORANEO", "TEMPORANEO2", "MIL_RISC" }) {
        const QVariant count
            = db.query(QStringLiteral("SELECT count(*) FROM %1").arg(QString::fromLatin1(table))).value(0, 0);
        if (count.toInt() != units)
            return false;
    }
    return true;
}

double peakMegabytes()
{
    rusage usage {};
    getrusage(RUSAGE_SELF, &usage);
    return double(usage.ru_maxrss) / 1024.0;
}

// --- The program ------------------------------------------------------------------------------

void runProgram(benchmark::State &state, Layout layout)
{
    const int units = int(state.range(0));
    zav::platform::vb::setDecimalSeparator(u',');
    VAR_GBL.reset();
    zav::engine::ui::AttesaProgress attesa;
    zav::platform::setProgress(&attesa);
    zav::platform::ScriptedDialogs dialogs;
    QString path;
    for (auto _ : state) {
        state.PauseTiming();
        path = Projects::instance().freshCopy(units, layout);
        VAR_GBL.progetto_corrente = path;
        // Yes to the question, OK to the closing message, Yes to the offer, OK to its end.
        dialogs.clear();
        dialogs.answer(MsgResult::Yes);
        dialogs.answer(MsgResult::Ok);
        dialogs.answer(MsgResult::Yes);
        dialogs.answer(MsgResult::Ok);
        state.ResumeTiming();

        VAR_GBL.ricalcolo_globale();
    }
    zav::platform::setProgress(nullptr);
    const QStringList messages = dialogs.messages();
    ZAV_BENCH_CHECK(state,
        messages.value(1) == QStringLiteral("Ricalcolo Globale Terminato")
            && messages.value(3) == QStringLiteral("Calcolo Millesimi effettuato")
            && tablesFilled(path, units),
        "the recalculation or the thousandths did not end normally");
    state.SetComplexityN(units);
    state.counters["rooms"] = double(units) * roomsPerUnit;
    // The process's peak so far: read it for one size by running that benchmark alone
    // (--benchmark_filter='^RecalculationAndThousandths/10000$').
    state.counters["peak_MB"] = peakMegabytes();
}

void RecalculationAndThousandths(benchmark::State &state)
{
    runProgram(state, Layout::Mixed);
}

void RecalculationAndThousandthsInUnitOrder(benchmark::State &state)
{
    runProgram(state, Layout::UnitOrder);
}

// --- The floor: the same work on SQLite's C interface ------------------------------------------

namespace direct {

struct Finalize
{
    void operator()(sqlite3_stmt *s) const { sqlite3_finalize(s); }
};
using Stmt = std::unique_ptr<sqlite3_stmt, Finalize>;

Stmt prepare(sqlite3 *db, const char *sql)
{
    sqlite3_stmt *s = nullptr;
    if (sqlite3_prepare_v2(db, sql, -1, &s, nullptr) != SQLITE_OK)
        throw std::runtime_error(sqlite3_errmsg(db));
    return Stmt(s);
}

void exec(sqlite3 *db, const char *sql)
{
    if (sqlite3_exec(db, sql, nullptr, nullptr, nullptr) != SQLITE_OK)
        throw std::runtime_error(sqlite3_errmsg(db));
}

void step(sqlite3_stmt *s)
{
    if (sqlite3_step(s) != SQLITE_DONE)
        throw std::runtime_error(sqlite3_errmsg(sqlite3_db_handle(s)));
    sqlite3_reset(s);
}

std::string column(sqlite3_stmt *s, int i)
{
    const auto *text = reinterpret_cast<const char *>(sqlite3_column_text(s, i));
    return text ? std::string(text, size_t(sqlite3_column_bytes(s, i))) : std::string();
}

// A number held as text with the decimal comma (grouping points skipped); NaN when it is none.
double readNumber(const std::string &text)
{
    if (text.empty())
        return NAN;
    char buffer[64];
    size_t n = 0;
    for (char c : text) {
        if (c == '.')
            continue;
        if (n + 1 >= sizeof(buffer))
            return NAN;
        buffer[n++] = c == ',' ? '.' : c;
    }
    buffer[n] = 0;
    char *end = nullptr;
    const double value = std::strtod(buffer, &end);
    return end == buffer + n ? value : NAN;
}

// Writes a number with one to `decimals` decimals and the decimal comma; returns the length.
int formatNumber(char *out, double value, int decimals)
{
    int n = std::snprintf(out, 48, "%.*f", decimals, value);
    while (n > 0 && out[n - 1] == '0' && out[n - 2] != '.')
        --n;
    out[n] = 0;
    if (char *point = std::strchr(out, '.'))
        *point = ',';
    return n;
}

// The expressions: + - * / ^, signs, parentheses and the five functions, the point as decimal mark.
struct Parser
{
    const char *p;
    bool ok = true;

    void blanks()
    {
        while (*p == ' ')
            ++p;
    }
    double expression()
    {
        double value = term();
        for (blanks(); *p == '+' || *p == '-'; blanks()) {
            const char op = *p++;
            const double right = term();
            value = op == '+' ? value + right : value - right;
        }
        return value;
    }
    double term()
    {
        double value = power();
        for (blanks(); *p == '*' || *p == '/'; blanks()) {
            const char op = *p++;
            const double right = power();
            value = op == '*' ? value * right : value / right;
        }
        return value;
    }
    double power()
    {
        double value = unary();
        for (blanks(); *p == '^'; blanks()) {
            ++p;
            value = std::pow(value, unary());
        }
        return value;
    }
    double unary()
    {
        blanks();
        if (*p == '-' || *p == '+') {
            const char op = *p++;
            const double value = unary();
            return op == '-' ? -value : value;
        }
        static const char *names[] = { "SIN", "COS", "LOG", "EXP", "SQR" };
        for (int f = 0; f < 5; ++f) {
            if (strncasecmp(p, names[f], 3) == 0) {
                p += 3;
                const double x = unary();
                switch (f) {
                case 0:
                    return std::sin(x);
                case 1:
                    return std::cos(x);
                case 2:
                    return std::log(x);
                case 3:
                    return std::exp(x);
                default:
                    return std::sqrt(x);
                }
            }
        }
        if (*p == '(') {
            ++p;
            const double value = expression();
            blanks();
            if (*p != ')')
                ok = false;
            else
                ++p;
            return value;
        }
        char *end = nullptr;
        const double value = std::strtod(p, &end);
        if (end == p)
            ok = false;
        p = end;
        return value;
    }
};

// The value of an expression, NaN when it cannot be evaluated.
double evaluate(const std::string &text)
{
    Parser parser { text.c_str() };
    const double value = parser.expression();
    parser.blanks();
    return parser.ok && *parser.p == 0 ? value : NAN;
}

struct Room
{
    sqlite3_int64 rowid;
    std::string expression, radiant, window, mq, height, volume, radiantSurface, windowArea;
    double coef[8];
    bool heated;
};

std::string lower(std::string text)
{
    for (char &c : text)
        c = char(std::tolower(static_cast<unsigned char>(c)));
    return text;
}

void bindText(sqlite3_stmt *s, int i, const char *text, int n)
{
    sqlite3_bind_text(s, i, text, n, SQLITE_TRANSIENT);
}

void recalculation(sqlite3 *db)
{
    bool byVolume = false, byRadiant = false, byHalf = false;
    {
        Stmt s = prepare(db, "SELECT RISC_VOL, RISC_RAD, RISC_50 FROM ANA_CONDO ORDER BY rowid LIMIT 1");
        if (sqlite3_step(s.get()) == SQLITE_ROW) {
            byVolume = sqlite3_column_int(s.get(), 0) != 0;
            byRadiant = sqlite3_column_int(s.get(), 1) != 0;
            byHalf = sqlite3_column_int(s.get(), 2) != 0;
        }
    }
    struct Unit
    {
        sqlite3_int64 rowid;
        std::string key;
    };
    std::vector<Unit> units;
    {
        Stmt s = prepare(db,
            "SELECT rowid, NUM_PAL, SCALA, PROPRIETARIO, HPIANO, INTERNO FROM CODIF_PIANI ORDER BY rowid");
        while (sqlite3_step(s.get()) == SQLITE_ROW) {
            units.push_back({ sqlite3_column_int64(s.get(), 0),
                lower(column(s.get(), 3)) + '\x1f' + column(s.get(), 1) + '\x1f' + lower(column(s.get(), 2))
                    + '\x1f' + column(s.get(), 5) });
        }
    }
    std::vector<Room> rooms;
    std::unordered_map<std::string, std::vector<int>> roomsOfUnit;
    {
        Stmt s = prepare(db,
            "SELECT rowid, NOME_CONDOMINO, PALAZ, SCALA, INTERNO, ESPRESSIONE, MQ, COEF1, COEF2, COEF3, "
            "COEF4, "
            "COEF5, COEF6, COEF7, COEF8, H_PIANO, TOT_VOL, OPT_RISC, ESPRES_RAD, TOT_ESPRES_RAD, "
            "SUP_FINESTRA, "
            "MQ_FINESTRA FROM ESPRESSIONI ORDER BY rowid");
        while (sqlite3_step(s.get()) == SQLITE_ROW) {
            sqlite3_stmt *r = s.get();
            Room room;
            room.rowid = sqlite3_column_int64(r, 0);
            room.expression = column(r, 5);
            room.mq = column(r, 6);
            for (int k = 0; k < 8; ++k) {
                const std::string c = column(r, 7 + k);
                room.coef[k] = c.empty() ? 1.0 : readNumber(c);
            }
            room.height = column(r, 15);
            room.volume = column(r, 16);
            room.heated = column(r, 17) == "S";
            room.radiant = column(r, 18);
            room.radiantSurface = column(r, 19);
            room.window = column(r, 20);
            room.windowArea = column(r, 21);
            roomsOfUnit[lower(column(r, 1)) + '\x1f' + column(r, 2) + '\x1f' + lower(column(r, 3)) + '\x1f'
                + column(r, 4)]
                .push_back(int(rooms.size()));
            rooms.push_back(std::move(room));
        }
    }

    Stmt storeRoom = prepare(db,
        "UPDATE ESPRESSIONI SET MQ = ?, TOT_COEF = ?, H_PIANO = ?, TOT_VOL = ?, TOT_ESPRES_RAD = ?, "
        "MQ_FINESTRA = ? WHERE rowid = ?");
    Stmt storeUnit = prepare(db,
        "UPDATE CODIF_PIANI SET TOT_SUP = ?, TOT_VOL = ?, TOT_VOL_RISC = ?, TOT_RAD_RISC = ? WHERE rowid = "
        "?");
    double height = 0.0;
    char mq[48], weighted[48], h[48], volume[48], radiant[48], window[48], total[48];
    for (const Unit &unit : units) {
        const auto found = roomsOfUnit.find(unit.key);
        if (found == roomsOfUnit.end())
            throw std::runtime_error("a unit without rooms");
        double weightedSum = 0, volumeSum = 0, heatedSum = 0;
        float radiantSum = 0;
        for (int index : found->second) {
            Room &room = rooms[size_t(index)];
            const double surface = evaluate(room.expression);
            formatNumber(mq, surface, 3);
            const double radiantValue = evaluate(room.radiant);
            formatNumber(radiant, radiantValue, 3);
            const double windowValue = evaluate(room.window);
            formatNumber(window, windowValue, 3);
            const double surfaceRead = readNumber(mq);
            double product = surfaceRead;
            for (double c : room.coef)
                product *= c;
            formatNumber(weighted, product, 4);
            const double weightedRead = readNumber(weighted);
            weightedSum += weightedRead;
            const double heightRead = readNumber(room.height);
            if (!std::isnan(heightRead))
                height = heightRead;
            if (height == 0)
                height = 1;
            std::snprintf(h, sizeof(h), "%.15g", height);
            if (char *point = std::strchr(h, '.'))
                *point = ',';
            formatNumber(volume, weightedRead * height, 3);
            const double volumeRead = readNumber(volume);
            if (room.heated) {
                if (byVolume || byHalf)
                    heatedSum += surfaceRead * height;
                if (byRadiant || byHalf)
                    radiantSum = float(double(radiantSum) + readNumber(radiant));
            }
            volumeSum += volumeRead;
            sqlite3_stmt *s = storeRoom.get();
            bindText(s, 1, mq, -1);
            bindText(s, 2, weighted, -1);
            bindText(s, 3, h, -1);
            bindText(s, 4, volume, -1);
            bindText(s, 5, radiant, -1);
            bindText(s, 6, window, -1);
            sqlite3_bind_int64(s, 7, room.rowid);
            step(s);
        }
        sqlite3_stmt *s = storeUnit.get();
        formatNumber(total, weightedSum, 3);
        sqlite3_bind_double(s, 1, readNumber(total));
        sqlite3_bind_double(s, 2, volumeSum);
        formatNumber(total, heatedSum, 3);
        sqlite3_bind_double(s, 3, readNumber(total));
        std::snprintf(total, sizeof(total), "%.7g", double(radiantSum));
        sqlite3_bind_double(s, 4, std::atof(total));
        sqlite3_bind_int64(s, 5, unit.rowid);
        step(s);
    }
}

void thousandths(sqlite3 *db)
{
    int buildingCount = 0;
    bool bySurface = false, porter = false;
    {
        Stmt s = prepare(db, "SELECT NUM_PAL, CHECK_SUP, PORTIERATO FROM ANA_CONDO ORDER BY rowid LIMIT 1");
        if (sqlite3_step(s.get()) == SQLITE_ROW) {
            buildingCount = sqlite3_column_int(s.get(), 0);
            bySurface = sqlite3_column_int(s.get(), 1) != 0;
            porter = sqlite3_column_int(s.get(), 2) != 0;
        }
    }
    struct Unit
    {
        int building;
        std::string stair, floor, owner, interno;
        double riga, hterra, hascensore, surface, volume, heated;
        double share = 0, buildingShare = 0, stairShare = 0, floorShare = 0, liftShare = 0, heatingShare = 0;
    };
    std::vector<Unit> units;
    {
        Stmt s = prepare(db,
            "SELECT NUM_PAL, SCALA, RIGA, SIGLA, PROPRIETARIO, HTERRA, HPIANO, HASCENSORE, TOT_SUP, TOT_VOL, "
            "TOT_VOL_RISC, TOT_RAD_RISC, INTERNO FROM CODIF_PIANI ORDER BY rowid");
        while (sqlite3_step(s.get()) == SQLITE_ROW) {
            sqlite3_stmt *r = s.get();
            units.push_back(
                { sqlite3_column_int(r, 0), column(r, 1), column(r, 3), column(r, 4), column(r, 12),
                    sqlite3_column_double(r, 2), sqlite3_column_double(r, 5), sqlite3_column_double(r, 7),
                    sqlite3_column_double(r, 8), sqlite3_column_double(r, 9), sqlite3_column_double(r, 10) });
        }
    }
    std::map<int, bool> lifts;
    {
        Stmt s = prepare(
            db, "SELECT NUM_PAL, NUM_SCALE, RISCALDAMENTO, ASCENSORE FROM COMPOS_PAL ORDER BY NUM_PAL");
        while (sqlite3_step(s.get()) == SQLITE_ROW)
            lifts[sqlite3_column_int(s.get(), 0)] = sqlite3_column_int(s.get(), 3) != 0;
    }
    for (const char *sql : { "DELETE FROM MILLESIMI", "DELETE FROM TEMPORANEO", "DELETE FROM TEMPORANEO2",
             "DELETE FROM MIL_RISC", "DELETE FROM MIL_PORTIERATO" })
        exec(db, sql);

    // General shares, cut to three decimals, with the running sum kept as text.
    double totalSurface = 0, totalVolume = 0, totalHeated = 0;
    for (const Unit &u : units) {
        totalSurface += u.surface;
        totalVolume += u.volume;
        totalHeated += u.heated;
    }
    char running[48];
    double runningSum = 0;
    for (Unit &u : units) {
        const double value = bySurface ? u.surface : u.volume;
        u.share = std::floor(((1000.0 * value) / (bySurface ? totalSurface : totalVolume)) * 1000.0) / 1000.0;
        formatNumber(running, runningSum + u.share, 3);
        runningSum = readNumber(running);
    }
    // Building, stair, floor weight and lift shares over their groups' sums.
    std::map<int, double> buildingSums;
    std::map<std::pair<int, std::string>, double> stairSums, weightSums, liftSums;
    for (const Unit &u : units) {
        buildingSums[u.building] += u.share;
        stairSums[{ u.building, u.stair }] += u.share;
        weightSums[{ u.building, u.stair }] += u.hterra;
        liftSums[{ u.building, u.stair }] += u.hascensore;
    }
    for (Unit &u : units) {
        const std::pair<int, std::string> stair { u.building, u.stair };
        u.buildingShare = std::floor(((u.share * 1000.0) / buildingSums[u.building]) * 1000.0) / 1000.0;
        u.stairShare = std::floor(((1000.0 * u.share) / stairSums[stair]) * 1000.0) / 1000.0;
        const double w = weightSums[stair] > 0 ? u.hterra / weightSums[stair] : 0;
        u.floorShare = std::floor(((w * u.share) / stairSums[stair]) * 1000.0 * 1000.0) / 1000.0;
        const double l = liftSums[stair] > 0 ? u.hascensore / liftSums[stair] : 0;
        u.liftShare = lifts[u.building] ? std::round(l * 1e9) / 1e6 : 0;
        u.heatingShare = std::floor(((u.heated * 1000.0) / totalHeated) * 1000.0) / 1000.0;
    }

    const auto insertGeneral = [&](const char *table, auto share) {
        const std::string sql = std::string("INSERT INTO ") + table
            + " (CONDOMINO, PALAZ, SCALA, MQ, MILLESIMI, PIANO, INTERNO, RIGA) VALUES (?,?,?,?,?,?,?,?)";
        Stmt insert = prepare(db, sql.c_str());
        sqlite3_stmt *s = insert.get();
        for (const Unit &u : units) {
            char building[16];
            std::snprintf(building, sizeof(building), "%d", u.building);
            bindText(s, 1, u.owner.c_str(), int(u.owner.size()));
            bindText(s, 2, building, -1);
            bindText(s, 3, u.stair.c_str(), int(u.stair.size()));
            sqlite3_bind_double(s, 4, bySurface ? u.surface : u.volume);
            sqlite3_bind_double(s, 5, share(u));
            bindText(s, 6, u.floor.c_str(), int(u.floor.size()));
            sqlite3_bind_int64(s, 7, std::atoll(u.interno.c_str()));
            sqlite3_bind_double(s, 8, u.riga);
            step(s);
        }
    };
    insertGeneral("MILLESIMI", [](const Unit &u) { return u.share; });
    if (porter)
        insertGeneral("MIL_PORTIERATO", [](const Unit &u) { return u.share; });
    if (buildingCount > 0)
        insertGeneral("TEMPORANEO", [](const Unit &u) { return u.buildingShare; });
    {
        Stmt insert = prepare(db,
            "INSERT INTO TEMPORANEO2 (CONDOMINO, PALAZ, SCALA, MQ, MILLESIMI, PIANO, INTERNO, RIGA, MIL_B, "
            "MEDIA, "
            "ASCENSORE, MEDIA_ASC) VALUES (?,?,?,?,?,?,?,?,?,?,?,?)");
        sqlite3_stmt *s = insert.get();
        for (const Unit &u : units) {
            char building[16];
            std::snprintf(building, sizeof(building), "%d", u.building);
            bindText(s, 1, u.owner.c_str(), int(u.owner.size()));
            bindText(s, 2, building, -1);
            bindText(s, 3, u.stair.c_str(), int(u.stair.size()));
            sqlite3_bind_double(s, 4, bySurface ? u.surface : u.volume);
            sqlite3_bind_double(s, 5, u.stairShare);
            bindText(s, 6, u.floor.c_str(), int(u.floor.size()));
            sqlite3_bind_int64(s, 7, std::atoll(u.interno.c_str()));
            sqlite3_bind_double(s, 8, u.riga);
            sqlite3_bind_double(s, 9, u.floorShare);
            sqlite3_bind_double(s, 10, std::round((u.stairShare + u.floorShare) / 2 * 1000) / 1000);
            sqlite3_bind_double(s, 11, u.liftShare);
            sqlite3_bind_double(s, 12, std::round((u.stairShare + u.liftShare) / 2 * 1000) / 1000);
            step(s);
        }
    }
    {
        Stmt insert = prepare(db,
            "INSERT INTO MIL_RISC (CONDOMINO, PALAZ, SCALA, PIANO, VOLUME, MILLESIMI, INTERNO, RIGA) "
            "VALUES (?,?,?,?,?,?,?,?)");
        sqlite3_stmt *s = insert.get();
        char share[48];
        for (const Unit &u : units) {
            char building[16];
            std::snprintf(building, sizeof(building), "%d", u.building);
            bindText(s, 1, u.owner.c_str(), int(u.owner.size()));
            bindText(s, 2, building, -1);
            bindText(s, 3, u.stair.c_str(), int(u.stair.size()));
            bindText(s, 4, u.floor.c_str(), int(u.floor.size()));
            sqlite3_bind_double(s, 5, u.heated);
            formatNumber(share, u.heatingShare, 3);
            sqlite3_bind_double(s, 6, readNumber(share));
            sqlite3_bind_int64(s, 7, std::atoll(u.interno.c_str()));
            sqlite3_bind_double(s, 8, u.riga);
            step(s);
        }
    }
}

void run(const QString &path)
{
    sqlite3 *db = nullptr;
    if (sqlite3_open_v2(path.toUtf8().constData(), &db, SQLITE_OPEN_READWRITE, nullptr) != SQLITE_OK)
        throw std::runtime_error("cannot open the archive");
    try {
        // The page cache the program gives its bulk work.
        exec(db, "PRAGMA cache_size = -65536");
        exec(db, "BEGIN");
        recalculation(db);
        thousandths(db);
        exec(db, "COMMIT");
    } catch (...) {
        sqlite3_close(db);
        throw;
    }
    sqlite3_close(db);
}

} // namespace direct

void SqliteFloor(benchmark::State &state)
{
    const int units = int(state.range(0));
    QString path;
    for (auto _ : state) {
        state.PauseTiming();
        path = Projects::instance().freshCopy(units, Layout::Mixed);
        state.ResumeTiming();
        direct::run(path);
    }
    ZAV_BENCH_CHECK(state, tablesFilled(path, units), "the floor did not fill the tables");
    state.SetComplexityN(units);
}

// The program and the floor in turns, each iteration on fresh copies, the order swapped from one
// iteration to the next: the load of the machine weighs on both alike. Reports the medians of both
// times and of their ratio.
void ProgramOverFloor(benchmark::State &state)
{
    const int units = int(state.range(0));
    zav::platform::vb::setDecimalSeparator(u',');
    VAR_GBL.reset();
    zav::engine::ui::AttesaProgress attesa;
    // The second argument says whether the progress window is attached (1, as the user sees the run)
    // or not (0, to tell the window's share).
    if (state.range(1) != 0)
        zav::platform::setProgress(&attesa);
    zav::platform::ScriptedDialogs dialogs;
    std::vector<double> programTimes, floorTimes, ratios;
    bool programFirst = true;
    bool ended = true;
    for (auto _ : state) {
        double program = 0;
        double floor = 0;
        for (int turn = 0; turn < 2; ++turn) {
            const bool ofProgram = (turn == 0) == programFirst;
            const QString path = Projects::instance().freshCopy(units, Layout::Mixed);
            if (ofProgram) {
                VAR_GBL.progetto_corrente = path;
                dialogs.clear();
                dialogs.answer(MsgResult::Yes);
                dialogs.answer(MsgResult::Ok);
                dialogs.answer(MsgResult::Yes);
                dialogs.answer(MsgResult::Ok);
            }
            const auto start = std::chrono::steady_clock::now();
            if (ofProgram)
                VAR_GBL.ricalcolo_globale();
            else
                direct::run(path);
            const double seconds
                = std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
            (ofProgram ? program : floor) = seconds;
            if (ofProgram)
                ended
                    = ended && dialogs.messages().value(3) == QStringLiteral("Calcolo Millesimi effettuato");
        }
        programFirst = !programFirst;
        state.SetIterationTime(program + floor);
        programTimes.push_back(program);
        floorTimes.push_back(floor);
        ratios.push_back(program / floor);
    }
    zav::platform::setProgress(nullptr);
    ZAV_BENCH_CHECK(state, ended, "the recalculation or the thousandths did not end normally");
    const auto median = [](std::vector<double> values) {
        std::sort(values.begin(), values.end());
        const size_t n = values.size();
        return n == 0 ? 0.0 : n % 2 ? values[n / 2] : (values[n / 2 - 1] + values[n / 2]) / 2;
    };
    state.counters["program_ms"] = median(programTimes) * 1e3;
    state.counters["floor_ms"] = median(floorTimes) * 1e3;
    state.counters["ratio"] = median(ratios);
}

BENCHMARK(ProgramOverFloor)
    ->Args({ 1000, 1 })
    ->Args({ 1000, 0 })
    ->Iterations(21)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);
BENCHMARK(ProgramOverFloor)
    ->Args({ 10000, 1 })
    ->Iterations(5)
    ->UseManualTime()
    ->Unit(benchmark::kMillisecond);

BENCHMARK(RecalculationAndThousandths)->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(RecalculationAndThousandthsInUnitOrder)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);
BENCHMARK(SqliteFloor)->Arg(100)->Arg(1000)->Arg(10000)->Unit(benchmark::kMillisecond);

const bool comparedWithFloor = zav::bench::compareWithFloor("RecalculationAndThousandths", "SqliteFloor")
    && zav::bench::compareWithFloor("RecalculationAndThousandthsInUnitOrder", "SqliteFloor")
    && zav::bench::compareWithFloor("SqliteFloor", "SqliteFloor");

// One evaluation of a room surface expression, the unit of work the recalculation repeats.
void ValutaEspressione(benchmark::State &state)
{
    zav::platform::vb::setDecimalSeparator(u',');
    VAR_GBL.reset();
    VAR_GBL.init_operatori();
    VAR_GBL.init_precedenze();
    const QString expression = QStringLiteral("4.20*3.15+1.5*2");
    for (auto _ : state)
        benchmark::DoNotOptimize(VAR_GBL.valuta_espressione(expression));
}

BENCHMARK(ValutaEspressione);

} // namespace
