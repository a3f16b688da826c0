#include "shell/forms/frm_gestdb.h"

#include "engine/var_gbl.h"
#include "platform/db.h"
#include "platform/ui/datagrid.h"
#include "support/child.h"
#include "support/openproject.h"
#include "support/scripteddialogs.h"

#include <QPushButton>

#include <gtest/gtest.h>

namespace zav::test {
namespace {

using engine::VAR_GBL;
using platform::Database;
using platform::MsgResult;

class GestDbTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        Database db = Database::open(project.path());
        // Rossi lacks the stair, Bianchi the building and the unit number.
        addUnit(db, 1, QStringLiteral("A"), 1, QStringLiteral("Verdi"));
        addUnit(db, 1, QVariant(), 2, QStringLiteral("Rossi"));
        addUnit(db, QVariant(), QStringLiteral("B"), QVariant(), QStringLiteral("Bianchi"));
        addUnit(db, 2, QStringLiteral("A"), 4, QStringLiteral("Neri"));
    }

    static void addUnit(Database &db, const QVariant &building, const QVariant &stair,
        const QVariant &interno, const QString &owner)
    {
        db.insert(QStringLiteral("CODIF_PIANI"),
            { { QStringLiteral("NUM_PAL"), building }, { QStringLiteral("SCALA"), stair },
                { QStringLiteral("SIGLA"), QStringLiteral("1") }, { QStringLiteral("INTERNO"), interno },
                { QStringLiteral("PROPRIETARIO"), owner },
                { QStringLiteral("DESCRIZIONE"), QStringLiteral("Appartamento") } });
    }

    QStringList storedOwners()
    {
        Database db = Database::open(project.path());
        const platform::Recordset rs = db.table(QStringLiteral("CODIF_PIANI"));
        QStringList owners;
        for (int row = 0; row < rs.recordCount(); ++row)
            owners << rs.value(row, rs.fieldIndex(QStringLiteral("PROPRIETARIO"))).toString();
        return owners;
    }

    QStringList gridOwners(const platform::DataGrid &grid)
    {
        QStringList owners;
        for (int row = 0; row < grid.model()->rowCount(); ++row)
            owners << grid.model()->index(row, 4).data().toString();
        return owners;
    }

    OpenProject project;
    platform::ScriptedDialogs boxes;
};

TEST_F(GestDbTest, ShowsTheUnitsUnderTheirCaptions)
{
    shell::frm_gestdb form;
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Gestione Database"));
    auto *grid = child<platform::DataGrid>(form, QStringLiteral("TDBGrid1"));
    ASSERT_NE(grid, nullptr);
    QStringList captions;
    for (int c = 0; c < grid->model()->columnCount(); ++c)
        captions << grid->model()->headerData(c, Qt::Horizontal).toString();
    EXPECT_EQ(captions, (QStringList { "N° Pal.", "Scala", "Piano", "Int.", "Proprietario", "Descrizione" }));
    EXPECT_EQ(gridOwners(*grid), (QStringList { "Verdi", "Rossi", "Bianchi", "Neri" }));
    EXPECT_EQ(grid->model()->index(3, 0).data().toString(), QStringLiteral("2"));
    EXPECT_EQ(grid->model()->index(3, 3).data().toString(), QStringLiteral("4"));

    // The rows are edited in place; a cleared cell is Null.
    EXPECT_TRUE(grid->model()->setData(grid->model()->index(0, 1), QString()));
    Database db = Database::open(project.path());
    const platform::Recordset rs = db.table(QStringLiteral("CODIF_PIANI"));
    EXPECT_TRUE(rs.value(0, rs.fieldIndex(QStringLiteral("SCALA"))).isNull());
}

TEST_F(GestDbTest, VerificaDbDeletesOnYesKeepsOnNoAndEndsWithItsMessage)
{
    shell::frm_gestdb form;
    auto *grid = child<platform::DataGrid>(form, QStringLiteral("TDBGrid1"));
    boxes.answer(MsgResult::No); // Rossi's stair
    boxes.answer(MsgResult::Yes); // Bianchi's building: the walk steps back onto Rossi ...
    boxes.answer(MsgResult::No); // ... whose stair is asked about again
    child<QPushButton>(form, QStringLiteral("Command2"))->click();

    EXPECT_EQ(storedOwners(), (QStringList { "Verdi", "Rossi", "Neri" }));
    EXPECT_EQ(gridOwners(*grid), (QStringList { "Verdi", "Rossi", "Neri" }));
    ASSERT_EQ(boxes.shown().size(), 4);
    EXPECT_TRUE(boxes.shown().at(0).text.contains(QStringLiteral("la Scala risulta nulla")));
    EXPECT_TRUE(boxes.shown().at(1).text.contains(QStringLiteral("la Palazzina risulta nulla")));
    EXPECT_TRUE(boxes.shown().at(2).text.contains(QStringLiteral("la Scala risulta nulla")));
    EXPECT_EQ(boxes.shown().at(3).text, QStringLiteral("Rigenerazione Completata"));
    EXPECT_EQ(boxes.shown().at(3).title, QStringLiteral("Zav"));
    EXPECT_EQ(boxes.shown().at(3).icon, platform::MsgIcon::Information);
    EXPECT_EQ(boxes.pendingAnswers(), 0);

    // The kept row is asked about again at the next walk, and nothing else.
    boxes.clear();
    boxes.answer(MsgResult::No);
    form.Command2_Click();
    EXPECT_EQ(boxes.messages().size(), 2);
    EXPECT_EQ(boxes.messages().last(), QStringLiteral("Rigenerazione Completata"));
}

TEST_F(GestDbTest, EliminaRigaDeletesTheCurrentRowAfterItsQuestion)
{
    shell::frm_gestdb form;
    auto *grid = child<platform::DataGrid>(form, QStringLiteral("TDBGrid1"));
    grid->setCurrentIndex(grid->model()->index(1, 4));

    boxes.answer(MsgResult::No);
    form.Command3_Click();
    EXPECT_EQ(storedOwners().size(), 4);
    ASSERT_EQ(boxes.shown().size(), 1);
    EXPECT_EQ(boxes.shown().at(0).text, QStringLiteral("Vuoi Eliminare la riga selezionata?"));
    EXPECT_EQ(boxes.shown().at(0).title, QStringLiteral("!!! Elimina Riga !!!"));
    EXPECT_EQ(boxes.shown().at(0).icon, platform::MsgIcon::Critical);
    EXPECT_EQ(boxes.shown().at(0).buttons, platform::MsgButtons::YesNo);

    boxes.answer(MsgResult::Yes);
    form.Command3_Click();
    EXPECT_EQ(storedOwners(), (QStringList { "Verdi", "Bianchi", "Neri" }));
    EXPECT_EQ(gridOwners(*grid), (QStringList { "Verdi", "Bianchi", "Neri" }));
}

TEST_F(GestDbTest, KeepsTheArchiveItLoadedAndReportsOneItCannotOpen)
{
    shell::frm_gestdb form;
    VAR_GBL.progetto_corrente.reset();
    boxes.answer(MsgResult::No);
    boxes.answer(MsgResult::No);
    form.Command2_Click();
    EXPECT_EQ(boxes.messages().last(), QStringLiteral("Rigenerazione Completata"));

    // Opened with no project: the failure is told, and "Verifica DB" claims no success.
    boxes.clear();
    shell::frm_gestdb orphan;
    EXPECT_EQ(boxes.messages().size(), 1);
    orphan.Command2_Click();
    EXPECT_FALSE(boxes.messages().contains(QStringLiteral("Rigenerazione Completata")));
}

} // namespace
} // namespace zav::test
