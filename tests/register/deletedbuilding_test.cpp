// A building deleted from the middle: the buildings after it keep their thousandths and stay on
// every building list. The project is made and changed through the program's own commands.
#include "buildingsfixture.h"

#include "platform/vb.h"
#include "printing/printingforms.h"
#include "printing/st_mil.h"
#include "tables/frm_copia_mil.h"
#include "tables/usertablecopy.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>
#include <QRadioButton>

#include <vector>

namespace zav::test {
namespace {

using platform::MsgResult;
using register_::frm_comp_pal;

QStringList entries(const QComboBox *box)
{
    QStringList texts;
    for (int i = 0; i < box->count(); ++i)
        texts << box->itemText(i);
    return texts;
}

class DeletedBuildingTest : public BuildingsTest
{
protected:
    /** @brief A unit on stair A with the amounts the calculation reads. */
    void unitOf(int building, const char *owner, const char *floor, double groundHeight, double liftHeight,
        double volume, double heatedVolume)
    {
        db().insert(QStringLiteral("CODIF_PIANI"),
            { { QStringLiteral("NUM_PAL"), building }, { QStringLiteral("SCALA"), QStringLiteral("A") },
                { QStringLiteral("SIGLA"), QString::fromLatin1(floor) },
                { QStringLiteral("PROPRIETARIO"), QString::fromLatin1(owner) },
                { QStringLiteral("HTERRA"), groundHeight }, { QStringLiteral("HPIANO"), 3.0 },
                { QStringLiteral("HASCENSORE"), liftHeight }, { QStringLiteral("TOT_SUP"), 1.0 },
                { QStringLiteral("TOT_VOL"), volume }, { QStringLiteral("TOT_VOL_RISC"), heatedVolume },
                { QStringLiteral("INTERNO"), 1 } });
    }

    /** @brief One stair each; buildings 1 and 3 heated, building 3 with a lift. */
    void compose(int building, bool heated, bool lift)
    {
        db().exec(QStringLiteral("UPDATE COMPOS_PAL SET NUM_SCALE = 1, RISCALDAMENTO = ?, ASCENSORE = ? "
                                 "WHERE NUM_PAL = ?"),
            { heated, lift, building });
    }

    /** @brief A result table's field for building 3's rows, in stored order. */
    std::vector<double> buildingThree(const char *table, const char *field)
    {
        const platform::Recordset rows
            = db().query(QStringLiteral("SELECT %1 FROM %2 WHERE PALAZ = '3' ORDER BY rowid")
                             .arg(QLatin1String(field), QLatin1String(table)));
        std::vector<double> values;
        for (int row = 0; row < rows.recordCount(); ++row)
            values.push_back(platform::vb::CDbl(rows.value(row, 0).toString()).value_or(-1));
        return values;
    }
};

// Buildings 1, 2, 3 made by "Crea"; building 2 deleted by "Elimina". Volumes: building 1 Rossi
// 1000; building 3 u1 500 (floor 1), u2 and u3 250 each (floor 2): general 500, 250, 125, 125.
//   building table, building 3 (sum 500): 250*1000/500 = 500, then 250 and 250;
//   stair A of building 3: first halves 500, 250, 250; floor heights 3 and 7 (W = 10): slot 1 gives
//   floor 1 3/10 of 1000 = 300, MEDIA (300 + 500)/2 = 400; slot 2 gives floor 2 700 shared by first
//   half, 350 each, MEDIA (350 + 250)/2 = 300;
//   lift heights 0 and 3: floor 1 0, MEDIA_ASC 250; floor 2 3/3*250/500*1000 = 500, MEDIA_ASC 375;
//   heating by volume, heated volumes Rossi 600, u1 200, u2 100, u3 100 (T1 = 1000): 200, 100, 100.
TEST_F(DeletedBuildingTest, BuildingThreeKeepsItsTablesAndItsPlaceOnEveryList)
{
    header();
    db().exec(QStringLiteral("UPDATE ANA_CONDO SET RISC_VOL = 1"));
    {
        boxes.answerText(QStringLiteral("3"));
        frm_comp_pal form;
        form.Command4[0]->click(); // "Crea"
    }
    ASSERT_EQ(storedBuildings(), (QList<int> { 1, 2, 3 }));
    compose(1, true, false);
    compose(2, false, false);
    compose(3, true, true);
    unitOf(1, "Rossi", "1", 1, 0, 1000, 600);
    unitOf(2, "Bianchi", "1", 1, 0, 800, 0);
    unitOf(3, "u1", "1", 3, 0, 500, 200);
    unitOf(3, "u2", "2", 7, 3, 250, 100);
    unitOf(3, "u3", "2", 7, 3, 250, 100);

    boxes.clear();
    boxes.answerText(QStringLiteral("2"));
    boxes.answer(MsgResult::Yes);
    boxes.answer(MsgResult::Yes);
    {
        frm_comp_pal form;
        form.Command4[2]->click(); // "Elimina"
        EXPECT_EQ(form.Label7->text(), QStringLiteral("2"));
    }
    ASSERT_EQ(storedBuildings(), (QList<int> { 1, 3 }));
    EXPECT_EQ(storedCount(), QVariant(2));

    platform::vb::DecimalSeparatorScope scope(u',');
    boxes.clear();
    engine::VAR_GBL.calcolo_millesimi();
    EXPECT_EQ(boxes.messages(), QStringList { QStringLiteral("Calcolo Millesimi effettuato") });

    using Values = std::vector<double>;
    EXPECT_EQ(buildingThree("TEMPORANEO", "MILLESIMI"), (Values { 500, 250, 250 }));
    EXPECT_EQ(buildingThree("TEMPORANEO2", "MILLESIMI"), (Values { 500, 250, 250 }));
    EXPECT_EQ(buildingThree("TEMPORANEO2", "MEDIA"), (Values { 400, 300, 300 }));
    EXPECT_EQ(buildingThree("TEMPORANEO2", "ASCENSORE"), (Values { 0, 500, 500 }));
    EXPECT_EQ(buildingThree("TEMPORANEO2", "MEDIA_ASC"), (Values { 250, 375, 375 }));
    EXPECT_EQ(buildingThree("MIL_RISC", "MILLESIMI"), (Values { 200, 100, 100 }));

    // The print form offers the buildings that exist; building 3 lists its stairs.
    printing::registerForms();
    auto *print = qobject_cast<printing::ST_MIL *>(printing::stampa_mil());
    ASSERT_NE(print, nullptr);
    EXPECT_EQ(entries(print->Combo1), (QStringList { "1", "3" }));
    EXPECT_EQ(entries(print->Combo3), (QStringList { "1", "3" }));
    print->selectBuilding(1);
    EXPECT_EQ(entries(print->Combo2), (QStringList { "Nessuna", "A" }));
    platform::FormRegistry::unload(printing::PrintFormName);

    // So does the copy form, and building 3's thousandths can be copied from it.
    db().exec(QStringLiteral("CREATE TABLE [GARAGE] (CONDOMINO TEXT, PALAZ TEXT, SCALA TEXT, MQ DOUBLE, "
                             "MILLESIMI DOUBLE, PIANO TEXT, NOME_CONDO TEXT, INPUT DOUBLE, INTERNO INTEGER, "
                             "RIGA DOUBLE)"));
    db().insert(QStringLiteral("NEW_TAB"), { { QStringLiteral("NOME_TABELLA"), QStringLiteral("GARAGE") } });
    engine::VAR_GBL.tabella_selezionata = QStringLiteral("GARAGE");
    boxes.clear();
    {
        tables::frm_copia_mil copy;
        EXPECT_EQ(entries(copy.Combo1), (QStringList { "1", "3" }));
        copy.Combo1->setCurrentIndex(1);
        copy.Combo1_Click();
        EXPECT_EQ(entries(copy.Combo2), (QStringList { "Nessuna", "A" }));
        copy.Option2->setChecked(true);
        copy.Command1_Click(0);
    }
    EXPECT_EQ(boxes.messages(), QStringList { QStringLiteral("Copia effettuata con successo") });
    EXPECT_EQ(column(QStringLiteral("SELECT CONDOMINO FROM GARAGE ORDER BY rowid")),
        (QStringList { "u1", "u2", "u3" }));
}

} // namespace
} // namespace zav::test
