#pragma once

// Shared fixture of the thousandths calculation tests: a fresh copy of the template archive, filled
// with a project record, buildings and units, and read back table by table.

#include "engine/var_gbl.h"
#include "platform/db.h"
#include "support/scripteddialogs.h"
#include "platform/vb.h"
#include "support/fixtures.h"

#include <QStringList>
#include <QVariant>

#include <gtest/gtest.h>

#include <cmath>
#include <initializer_list>
#include <optional>
#include <vector>

namespace zav::milltest {

using engine::VAR_GBL;
using platform::MsgIcon;
using platform::vb::DecimalSeparatorScope;
using Num = std::optional<double>;

/** @brief The project record; empty fields stay Null. */
struct ProjectRow
{
    QVariant numPal {};
    QVariant checkSup {};
    QVariant portierato {};
    QVariant riscVol {};
    QVariant riscRad {};
    QVariant risc50 {};
};

/** @brief A building of COMPOS_PAL. */
struct BuildingRow
{
    QVariant number {};
    QVariant stairs {};
    QVariant heated = false;
    QVariant lift = false;
};

/** @brief A unit of CODIF_PIANI; fields not given are Null, but for its place and floor height. */
struct UnitRow
{
    QVariant owner {};
    QVariant numPal = 1;
    QVariant scala = "A";
    QVariant sigla = "1";
    QVariant hterra {};
    QVariant hpiano = 3.0;
    QVariant hascensore {};
    QVariant totSup {};
    QVariant totVol {};
    QVariant volRisc {};
    QVariant radRisc {};
    QVariant interno {};
    QVariant riga {};
};

inline const QStringList resultTables
    = { "MILLESIMI", "MIL_PORTIERATO", "TEMPORANEO", "TEMPORANEO2", "MIL_RISC" };

inline QVariantList texts(std::initializer_list<const char *> values)
{
    QVariantList result;
    for (const char *v : values)
        result.append(QString::fromUtf8(v));
    return result;
}

/** @brief Numbers read back from the archive against numbers worked out by hand (Null = empty). */
inline void expectNumbers(const QVariantList &actual, const std::vector<Num> &expected)
{
    ASSERT_EQ(actual.size(), qsizetype(expected.size()));
    for (size_t i = 0; i < expected.size(); ++i) {
        const QVariant &value = actual.at(qsizetype(i));
        if (!expected[i]) {
            EXPECT_TRUE(value.isNull()) << "row " << i << ": " << value.toString().toStdString();
            continue;
        }
        ASSERT_FALSE(value.isNull()) << "row " << i;
        EXPECT_NEAR(value.toDouble(), *expected[i], 1e-9) << "row " << i;
    }
}

class MillesimiCalc : public ::testing::Test
{
protected:
    void SetUp() override { freshArchive(); }
    void TearDown() override { VAR_GBL.reset(); }

    /** @brief A new empty project archive as the open project, and no message shown yet. */
    void freshArchive()
    {
        VAR_GBL.reset();
        dialogs.clear();
        path = folder.copyOf(QStringLiteral("ARCH_MIL.CLO"), QStringLiteral("PROVA.cdb"));
        VAR_GBL.progetto_corrente = path;
    }

    void project(const ProjectRow &p)
    {
        db().insert(QStringLiteral("ANA_CONDO"),
            { { "NUM_PAL", p.numPal }, { "CHECK_SUP", p.checkSup }, { "PORTIERATO", p.portierato },
                { "RISC_VOL", p.riscVol }, { "RISC_RAD", p.riscRad }, { "RISC_50", p.risc50 } });
    }

    void building(const BuildingRow &b)
    {
        db().insert(QStringLiteral("COMPOS_PAL"),
            { { "NUM_PAL", b.number }, { "NUM_SCALE", b.stairs }, { "RISCALDAMENTO", b.heated },
                { "ASCENSORE", b.lift } });
    }

    void units(const std::vector<UnitRow> &rows)
    {
        platform::Database archive = db();
        for (const UnitRow &u : rows) {
            archive.insert(QStringLiteral("CODIF_PIANI"),
                { { "NUM_PAL", u.numPal }, { "SCALA", u.scala }, { "SIGLA", u.sigla },
                    { "PROPRIETARIO", u.owner }, { "HTERRA", u.hterra }, { "HPIANO", u.hpiano },
                    { "HASCENSORE", u.hascensore }, { "TOT_SUP", u.totSup }, { "TOT_VOL", u.totVol },
                    { "TOT_VOL_RISC", u.volRisc }, { "TOT_RAD_RISC", u.radRisc }, { "INTERNO", u.interno },
                    { "RIGA", u.riga } });
        }
    }

    void exec(const QString &sql) { db().exec(sql); }

    /** @brief One field of a table, in stored order. */
    QVariantList column(const QString &table, const QString &field)
    {
        const platform::Recordset rs
            = db().query(QStringLiteral("SELECT %1 FROM %2 ORDER BY rowid").arg(field, table));
        QVariantList result;
        for (int r = 0; r < rs.recordCount(); ++r)
            result.append(rs.value(r, 0));
        return result;
    }

    platform::Database db() { return platform::Database::open(path); }

    zav::test::TempProgramFolder folder;
    platform::ScriptedDialogs dialogs;
    QString path;
};

} // namespace zav::milltest
