#include "shell/forms/frm_coeff_db.h"

#include "platform/db.h"
#include "platform/ui/datagrid.h"
#include "support/child.h"
#include "support/openproject.h"
#include "support/scripteddialogs.h"

#include <gtest/gtest.h>

#include <memory>

namespace zav::test {
namespace {

using platform::Database;
using platform::MsgResult;

class CoeffDbTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        Database db = Database::open(project.path());
        addRoom(db, QStringLiteral("D'Amico"), QStringLiteral("1"), QStringLiteral("Cucina"), 1);
        addRoom(db, QStringLiteral("Rossi"), QStringLiteral("1"), QStringLiteral("Bagno"), 2);
        addRoom(db, QStringLiteral("D'Amico"), QString(), QStringLiteral("Camera"), 1);
        addRoom(db, QVariant(), QStringLiteral("2"), QStringLiteral("Ripostiglio"), 5);
        form = std::make_unique<shell::frm_coeff_db>();
        grid = child<platform::DataGrid>(*form, QStringLiteral("TDBGrid1"));
    }

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

    OpenProject project;
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
