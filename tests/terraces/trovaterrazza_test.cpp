// The unit list's terrace find: the picked unit's rooms, header and totals in the terrace form.

#include "platform/ui/datagrid.h"
#include "terracesfixture.h"
#include "workspace/frm_elenco.h"

#include <QFrame>
#include <QLabel>
#include <QPushButton>

#include <memory>

using zav::engine::VAR_GBL;
using zav::terraces::frm_terrazze;
using zav::workspace::frm_elenco;

namespace {

class TrovaTerrazza : public zav::test::TerracesTest
{
protected:
    void SetUp() override
    {
        TerracesTest::SetUp();
        buildings(1, { 1 });
        table("T1", "Terrazzi");
        insert(project, QStringLiteral("CODIF_PIANI"),
            { { "PROPRIETARIO", "D'Amico" }, { "NUM_PAL", 1 }, { "SCALA", "A" }, { "SIGLA", "2" },
                { "INTERNO", 5 }, { "HPIANO", 3.2 } });
        insert(project, QStringLiteral("CODIF_PIANI"),
            { { "PROPRIETARIO", "Verdi" }, { "NUM_PAL", 1 }, { "SCALA", "B" }, { "SIGLA", "T" },
                { "INTERNO", 1 } });
        // D'Amico's rooms: an empty surface, and a volume that is not a number.
        terraceRoom("T1", "D'Amico", 1, "A", 5, "Terrazzo", "10", "1,5", "4");
        terraceRoom("T1", "D'Amico", 1, "A", 5, "Balcone", "12", "2", "5");
        terraceRoom("T1", "D'Amico", 1, "A", 5, "Lastrico", {}, "3", "x");
        terraceRoom("T2", "D'Amico", 1, "A", 5, "Altra tabella", "100", "100", "100");
        VAR_GBL.elenco_per_terrazze = true;
    }

    /** Picks the unit of this owner in the unit list and presses "Trova". */
    void trova(const QString &owner)
    {
        auto list = std::make_unique<frm_elenco>();
        list->Command1->setText(frm_elenco::FindCaption);
        const int row = column(*list->Data1, QStringLiteral("PROPRIETARIO")).indexOf(owner);
        ASSERT_GE(row, 0);
        list->Data1->setCurrentRow(row);
        list->Command1->click();
    }
};

TEST_F(TrovaTerrazza, TheUnitsRoomsHeaderAndTotalsGoToTheTerraceForm)
{
    frm_terrazze *form = openForm();
    form->selectTable(QStringLiteral("T1"), QStringLiteral("Terrazzi"));
    VAR_GBL.altezza_piano = 0;
    trova(QStringLiteral("D'Amico"));

    EXPECT_FALSE(form->isVisible()) << "the form is not shown";
    EXPECT_EQ(column(*form->Data1, QStringLiteral("DESCRIZ_VANO")),
        (QStringList { "Terrazzo", "Balcone", "Lastrico" }));
    ASSERT_TRUE(VAR_GBL.sql_unita_corrente.has_value());
    EXPECT_EQ(*VAR_GBL.sql_unita_corrente, form->Data1->recordSource());
    EXPECT_EQ(form->Label8->text(), QStringLiteral("D'Amico"));
    EXPECT_EQ(form->Label9->text(), QStringLiteral("1"));
    EXPECT_EQ(form->Label10->text(), QStringLiteral("A"));
    EXPECT_EQ(form->Label11->text(), QStringLiteral("2"));
    EXPECT_EQ(form->Label12->text(), QStringLiteral("5"));
    EXPECT_DOUBLE_EQ(VAR_GBL.altezza_piano, 3.2);
    // 10 + 12; 1.5 + 2 + 3; 4 + 5, the third volume skipped on its own.
    EXPECT_EQ(form->Label14->text(), QStringLiteral("22"));
    EXPECT_EQ(form->Label16->text(), QStringLiteral("6,5"));
    EXPECT_EQ(form->Label18->text(), QStringLiteral("9"));
    EXPECT_FALSE(form->TDBGrid1->isHidden());
    EXPECT_EQ(form->Data1->currentRow(), 0);
    EXPECT_TRUE(form->Frame4->isHidden()) << "the header frame is left as it was";
    EXPECT_TRUE(boxes.shown().isEmpty());
    // Nothing written.
    EXPECT_EQ(column(terraces, QStringLiteral("SUP_COEFF_VOL"), QStringLiteral("MQ")),
        (QStringList { "10", "12", "", "100" }));
}

TEST_F(TrovaTerrazza, AUnitWithoutRoomsShowsAnEmptyGridAndZeroTotals)
{
    frm_terrazze *form = openForm();
    form->selectTable(QStringLiteral("T1"), QStringLiteral("Terrazzi"));
    form->Label14->setText(QStringLiteral("7"));
    trova(QStringLiteral("Verdi"));
    EXPECT_EQ(form->Data1->recordCount(), 0);
    EXPECT_FALSE(form->TDBGrid1->isHidden());
    for (QLabel *total : { form->Label14, form->Label16, form->Label18 })
        EXPECT_EQ(total->text(), QStringLiteral("0"));
    EXPECT_EQ(form->Label8->text(), QStringLiteral("Verdi"));
}

} // namespace
