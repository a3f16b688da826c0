#include "shell/forms/frm_coeff_db.h"

#include "engine/var_gbl.h"
#include "platform/ui/datagrid.h"
#include "platform/ui/datasource.h"
#include "platform/db.h"
#include "support/scripteddialogs.h"
#include "support/fixtures.h"

#include <gtest/gtest.h>

#include <memory>

namespace zav::test {
namespace {

using engine::VAR_GBL;
using platform::Database;
using platform::MsgResult;

class CoeffDbTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        VAR_GBL.reset();
        path = folder.copyOf(QStringLiteral("ARCH_MIL.CLO"), QStringLiteral("PROVA.CDB"));
        Database db = Database::open(path);
        addRoom(db, QStringLiteral("D'Amico"), QStringLiteral("1"), QStringLiteral("Cucina"), 1);
        addRoom(db, QStringLiteral("Rossi"), QStringLiteral("1"), QStringLiteral("Bagno"), 2);
        addRoom(db, QStringLiteral("D'Amico"), QString(), QStringLiteral("Camera"), 1);
        addRoom(db, QVariant(), QStringLiteral("2"), QStringLiteral("Ripostiglio"), 5);
        VAR_GBL.progetto_corrente = path;
        form = std::make_unique<shell::frm_coeff_db>();
        grid = form->findChild<platform::DataGrid *>(QStringLiteral("TDBGrid1"));
    }

    void TearDown() override { VAR_GBL.reset(); }

    static void addRoom(
        Database &db, const QVariant &owner, const QVariant &building, const QString &room, int interno)
    {
        db.insert(QStringLiteral("ESPRESSIONI"),
            { { QStringLiteral("NOME_CONDOMINO"), owner }, { QStringLiteral("DESCRIZIONE"), room },
                { QStringLiteral("PALAZ"), building }, { QStringLiteral("SCALA"), QStringLiteral("A") },
                { QStringLiteral("INTERNO"), interno }, { QStringLiteral("PIANO"), QStringLiteral("T") } });
    }

    QStringList gridRooms()
    {
        QStringList rooms;
        for (int row = 0; row < grid->model()->rowCount(); ++row)
            rooms << grid->model()->index(row, 5).data().toString();
        return rooms;
    }

    TempProgramFolder folder;
    QString path;
    platform::ScriptedDialogs boxes;
    std::unique_ptr<shell::frm_coeff_db> form;
    platform::DataGrid *grid = nullptr;
};

TEST_F(CoeffDbTest, FiltroShowsTheCurrentOwnersRoomsAndRefreshShowsThemAll)
{
    ASSERT_NE(grid, nullptr);
    EXPECT_EQ(grid->model()->headerData(0, Qt::Horizontal).toString(), QStringLiteral("N° Pal."));
    EXPECT_EQ(grid->model()->headerData(4, Qt::Horizontal).toString(), QStringLiteral("Proprietario"));
    EXPECT_EQ(gridRooms(), (QStringList { "Cucina", "Bagno", "Camera", "Ripostiglio" }));

    // An owner whose name holds an apostrophe.
    form->Command2_Click();
    EXPECT_EQ(gridRooms(), (QStringList { "Cucina", "Camera" }));
    form->Command3_Click();
    EXPECT_EQ(gridRooms(), (QStringList { "Cucina", "Bagno", "Camera", "Ripostiglio" }));

    // A row whose owner is empty: no rows.
    grid->setCurrentIndex(grid->model()->index(3, 4));
    form->Command2_Click();
    EXPECT_EQ(grid->model()->rowCount(), 0);
    form->Command3_Click();
    EXPECT_EQ(grid->model()->rowCount(), 4);
    EXPECT_TRUE(boxes.messages().isEmpty());
}

TEST_F(CoeffDbTest, VerificaDbOnTheRoomsTestsTheirBuildingAsText)
{
    boxes.answer(MsgResult::Yes);
    form->Command5_Click();
    ASSERT_EQ(boxes.shown().size(), 2);
    EXPECT_TRUE(boxes.shown().at(0).text.contains(QStringLiteral("la Palazzina risulta nulla")));
    EXPECT_EQ(boxes.shown().at(1).text, QStringLiteral("Rigenerazione Completata"));
    EXPECT_EQ(gridRooms(), (QStringList { "Cucina", "Bagno", "Ripostiglio" }));

    // "Elimina Riga" works on the rooms as well.
    grid->setCurrentIndex(grid->model()->index(1, 5));
    boxes.answer(MsgResult::Yes);
    form->Command4_Click();
    EXPECT_EQ(gridRooms(), (QStringList { "Cucina", "Ripostiglio" }));
}

} // namespace
} // namespace zav::test
