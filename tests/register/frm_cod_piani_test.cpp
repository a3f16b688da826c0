#include "register/frm_cod_piani.h"
#include "register/unitregisterforms.h"

#include "platform/ui/datagrid.h"
#include "platform/ui/datasource.h"
#include "workspace/workspacefixture.h"

#include <QComboBox>
#include <QLabel>

namespace zav::test {
namespace {

using register_::frm_cod_piani;

class UnitRegisterTest : public WorkspaceTest
{
protected:
    void SetUp() override
    {
        WorkspaceTest::SetUp();
        register_::registerUnitRegisterForms();
        project.header(true, false, false, 2);
        building(1, 2, false);
        building(2, 1, true);
    }
    void TearDown() override
    {
        platform::FormRegistry::unload(register_::UnitRegisterFormName);
        processDeletes();
        WorkspaceTest::TearDown();
    }

    void building(int number, const QVariant &stairs, bool lift)
    {
        platform::Database::open(project.path())
            .insert(QStringLiteral("COMPOS_PAL"),
                { { QStringLiteral("NUM_PAL"), number }, { QStringLiteral("NUM_SCALE"), stairs },
                    { QStringLiteral("ASCENSORE"), lift } });
    }

    frm_cod_piani *open()
    {
        return platform::FormRegistry::form<frm_cod_piani>(register_::UnitRegisterFormName);
    }

    static void choose(frm_cod_piani *form, const QString &building, const QString &stair)
    {
        form->Combo1->setCurrentText(building);
        form->Combo1->setCurrentIndex(form->Combo1->findText(building));
        form->Combo1_Click();
        if (stair.isEmpty())
            return;
        form->Combo2->setCurrentIndex(form->Combo2->findText(stair));
        form->Combo2_Click();
    }

    QVariant unitField(const QString &owner, const QString &field)
    {
        const platform::Recordset rs
            = platform::Database::open(project.path())
                  .query(QStringLiteral("SELECT %1 FROM CODIF_PIANI WHERE PROPRIETARIO = ?").arg(field),
                      { owner });
        return rs.isEmpty() ? QVariant(QStringLiteral("<none>")) : rs.value(0, 0);
    }
};

TEST_F(UnitRegisterTest, SelectorsListTheBuildingsAndStairsAndTheLiftColumnFollowsTheBuilding)
{
    project.unit(QStringLiteral("Rossi"), 1, QStringLiteral("B"), QStringLiteral("2"), 4, 3.0);
    project.unit(QStringLiteral("Bianchi"), 1, QStringLiteral("B"), QStringLiteral("1S"), 1, 3.0);
    project.unit(QStringLiteral("Verdi"), 1, QStringLiteral("A"), QStringLiteral("T"), 2, 3.0);
    frm_cod_piani *form = open();
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Codifica piani"));
    ASSERT_EQ(form->Combo1->count(), 2);
    EXPECT_EQ(form->Combo3->itemText(1), QStringLiteral("2"));
    EXPECT_EQ(form->TDBGrid1->model()->rowCount(), 0); // nothing bound before a stair

    choose(form, QStringLiteral("1"), QStringLiteral("B"));
    QStringList stairs;
    for (int i = 0; i < form->Combo2->count(); ++i)
        stairs << form->Combo2->itemText(i);
    EXPECT_EQ(stairs, (QStringList { "Nessuna", "A", "B" }));
    EXPECT_EQ(form->Combo4->count(), 3);
    EXPECT_FALSE(form->TDBGrid1->column(7).visible);
    // Stair B of building 1: ordered by floor code as text, then the new-row line.
    ASSERT_EQ(form->Data1->recordCount(), 2);
    EXPECT_EQ(form->Data1->value(0, QStringLiteral("PROPRIETARIO")).toString(), QStringLiteral("Bianchi"));
    EXPECT_EQ(form->TDBGrid1->model()->rowCount(), 3);
    EXPECT_EQ(form->TDBGrid1->column(3).valueItems.size(), 53);
    EXPECT_EQ(form->TDBGrid1->column(2).valueItems.size(), 7);

    choose(form, QStringLiteral("2"), QString());
    EXPECT_TRUE(form->TDBGrid1->column(7).visible);
    EXPECT_EQ(form->Combo2->currentText(), QString());
}

TEST_F(UnitRegisterTest, ANewRowTakesTheChosenBuildingAndStairAndItsPosition)
{
    frm_cod_piani *form = open();
    QAbstractItemModel *model = form->TDBGrid1->model();
    choose(form, QStringLiteral("2"), QStringLiteral("A"));
    ASSERT_EQ(model->rowCount(), 1);
    ASSERT_TRUE(model->setData(model->index(0, 1), QStringLiteral("D'Amico \"Nino\"")));
    EXPECT_EQ(unitField(QStringLiteral("D'Amico \"Nino\""), QStringLiteral("NUM_PAL")).toInt(), 2);
    EXPECT_EQ(unitField(QStringLiteral("D'Amico \"Nino\""), QStringLiteral("SCALA")).toString(),
        QStringLiteral("A"));
    EXPECT_FALSE(form->nuova_riga());

    // The floor position of each code, worked from the rule; "S1" leaves it as it was.
    const struct
    {
        const char *code;
        QVariant position;
    } cases[]
        = { { "3S", -4 }, { "10S", -11 }, { "1S", -2 }, { "T", -1 }, { "R", 0 }, { "12", 12 }, { "S1", 12 } };
    for (const auto &c : cases) {
        ASSERT_TRUE(model->setData(model->index(0, 3), QString::fromLatin1(c.code))) << c.code;
        EXPECT_EQ(unitField(QStringLiteral("D'Amico \"Nino\""), QStringLiteral("RIGA")), c.position)
            << c.code;
    }

    // The unit number must be a number (and an emptied one is refused); a too long owner is refused.
    EXPECT_TRUE(model->setData(model->index(0, 4), QStringLiteral("7")));
    for (const char *bad : { "12a", "" }) {
        boxes.clear();
        EXPECT_FALSE(model->setData(model->index(0, 4), QString::fromLatin1(bad)));
        ASSERT_EQ(boxes.shown().size(), 1);
        EXPECT_EQ(boxes.shown().at(0).text,
            QStringLiteral("Attenzione. L'interno non puo' essere inserito alfanumerico"));
        EXPECT_EQ(boxes.shown().at(0).title, QStringLiteral("Zav"));
    }
    EXPECT_EQ(unitField(QStringLiteral("D'Amico \"Nino\""), QStringLiteral("INTERNO")).toInt(), 7);
    boxes.clear();
    EXPECT_FALSE(model->setData(model->index(1, 1), QString(300, u'x')));
    EXPECT_EQ(boxes.shown().size(), 1);
    EXPECT_EQ(platform::Database::open(project.path()).table(QStringLiteral("CODIF_PIANI")).recordCount(), 1);

    // Without a stair the new row is refused.
    choose(form, QStringLiteral("1"), QString());
    boxes.clear();
    EXPECT_FALSE(model->setData(model->index(model->rowCount() - 1, 1), QStringLiteral("Gialli")));
    ASSERT_EQ(boxes.shown().size(), 1);
    EXPECT_EQ(boxes.shown().at(0).text, QStringLiteral("Palazzina o Scala non inserita"));
    EXPECT_EQ(boxes.shown().at(0).title, QStringLiteral("!!! Attenzione !!!"));
    EXPECT_EQ(
        unitField(QStringLiteral("Gialli"), QStringLiteral("NUM_PAL")).toString(), QStringLiteral("<none>"));
}

TEST_F(UnitRegisterTest, EliminaRigaDeletesTheUnitWithItsRooms)
{
    project.unit(QStringLiteral("Rossi"), 1, QStringLiteral("A"), QStringLiteral("2"), 3, 3.0);
    const qint64 spaced = project.room(QStringLiteral("Rossi"), 1, QStringLiteral("A "), 3, {});
    platform::Database::open(project.path())
        .query(QStringLiteral("UPDATE ESPRESSIONI SET PALAZ = ' 1' WHERE rowid = ?"), { spaced });
    project.room(QStringLiteral("Rossi"), 1, QStringLiteral("A"), 3, {});
    const qint64 otherCase = project.room(QStringLiteral("ROSSI"), 1, QStringLiteral("A"), 3, {});
    frm_cod_piani *form = open();
    choose(form, QStringLiteral("1"), QStringLiteral("A"));
    ASSERT_EQ(form->Data1->recordCount(), 1);
    form->Data1->moveFirst();

    boxes.answer(platform::MsgResult::Yes);
    form->Command1_Click(3);
    ASSERT_EQ(boxes.shown().size(), 1);
    EXPECT_EQ(boxes.shown().at(0).text,
        QStringLiteral("Vuoi eliminare Rossi e tutti i suoi dati (Superfici Coefficienti e Volumi) ?"));
    EXPECT_EQ(boxes.shown().at(0).title, QStringLiteral("!!! Zav - Attenzione !!!"));
    const platform::Recordset rooms
        = platform::Database::open(project.path()).table(QStringLiteral("ESPRESSIONI"));
    ASSERT_EQ(rooms.recordCount(), 1);
    EXPECT_EQ(rooms.rowidAt(0), otherCase);
    EXPECT_EQ(form->Data1->recordCount(), 0);
}

TEST_F(UnitRegisterTest, InsCoeffChecksTheUnitAndHandsItToTheWorkspace)
{
    project.unit(QStringLiteral("Rossi"), 1, QStringLiteral("A"), QVariant(), 3, 3.0);
    project.unit(QStringLiteral("Verdi"), 1, QStringLiteral("A"), QStringLiteral("2"), 5, QVariant());
    frm_cod_piani *form = open();
    form->Command1_Click(1);
    ASSERT_EQ(boxes.shown().size(), 1);
    EXPECT_EQ(boxes.shown().at(0).text, QStringLiteral("Palazzina non inserita"));

    choose(form, QStringLiteral("1"), QStringLiteral("A"));
    // Rossi has no floor code; Verdi has one but no floor height.
    boxes.clear();
    const int rossi
        = form->Data1->value(0, QStringLiteral("PROPRIETARIO")).toString() == QStringLiteral("Rossi") ? 0 : 1;
    form->Data1->setCurrentRow(rossi);
    form->Command1_Click(1);
    ASSERT_EQ(boxes.shown().size(), 1);
    EXPECT_EQ(boxes.shown().at(0).text, QStringLiteral("Non è stato inserito il piano nel condomino Rossi"));
    EXPECT_EQ(loadedWorkspace(), nullptr);

    boxes.clear();
    engine::VAR_GBL.altezza_piano = 2.7;
    form->Data1->setCurrentRow(1 - rossi);
    form->Command1_Click(1);
    ASSERT_EQ(boxes.shown().size(), 1);
    EXPECT_EQ(boxes.shown().at(0).title, QStringLiteral("!!! Informazioni !!!"));
    ASSERT_NE(loadedWorkspace(), nullptr);
    EXPECT_EQ(loadedWorkspace()->Label8->text(), QStringLiteral("Verdi"));
    EXPECT_EQ(loadedWorkspace()->Label12->text(), QStringLiteral("5"));
    EXPECT_DOUBLE_EQ(engine::VAR_GBL.altezza_piano, 2.7);
}

} // namespace
} // namespace zav::test
