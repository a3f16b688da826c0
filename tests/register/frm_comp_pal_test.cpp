#include "buildingsfixture.h"

#include "register/registerforms.h"
#include "register/unitregisterforms.h"
#include "support/child.h"
#include "support/screenshots.h"

#include <QCheckBox>
#include <QDir>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace zav::test {
namespace {

using platform::FormRegistry;
using platform::MsgResult;
using register_::frm_comp_pal;

const QString HalfFieldMessage = QStringLiteral(
    "L'archivio non è stato aggiornato pertanto non può essere utilizzata l'opzione riscaldamento 50% "
    "Volume e 50% Sup. Rad.");
const QString CriterionQuestion
    = QStringLiteral("Non è stato selezionato il criterio del Riscaldamento -Volume o Sup. Radiante-. Se si "
                     "continua i millesimi riscaldamento calcolati risulteranno sbagliati. Continuare ?");

class CompPalTest : public BuildingsTest
{
protected:
    /** RISC_VOL, RISC_RAD, RISC_50 as stored. */
    QList<bool> criterion()
    {
        const platform::Recordset rs
            = db().query(QStringLiteral("SELECT RISC_VOL, RISC_RAD, RISC_50 FROM ANA_CONDO"));
        return { rs.value(0, 0).toBool(), rs.value(0, 1).toBool(), rs.value(0, 2).toBool() };
    }
    QList<bool> ticks(const frm_comp_pal &form)
    {
        return { form.Check2->isChecked(), form.Check3->isChecked(), form.Check5->isChecked() };
    }
    QList<bool> enabled(const frm_comp_pal &form)
    {
        return { form.Check2->isEnabled(), form.Check3->isEnabled(), form.Check5->isEnabled() };
    }
    void heat(int building, bool heated)
    {
        db().exec(QStringLiteral("UPDATE COMPOS_PAL SET RISCALDAMENTO = ? WHERE NUM_PAL = ?"),
            { heated, building });
    }
};

TEST_F(CompPalTest, ShowsTheControlsOfTheForm)
{
    buildings({ 1 });
    frm_comp_pal form;
    EXPECT_EQ(form.objectName(), QStringLiteral("frm_comp_pal"));
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Composizione palazzine"));
    EXPECT_EQ(child<QPushButton>(form, "Command1")->toolTip(), QStringLiteral("Pal. Precedente"));
    EXPECT_EQ(child<QPushButton>(form, "Command2")->toolTip(), QStringLiteral("Pal. Successiva"));
    const QStringList captions = { "&Crea", "A&ggiungi", "&Elimina", "&Registra", "E&sci", "C&od. Piani" };
    const QStringList names
        = { "Command4_0", "Command4_1", "Command4_2", "Command3_0", "Command3_1", "Command3_2" };
    for (int i = 0; i < names.size(); ++i) {
        auto *button = child<QPushButton>(form, names.at(i));
        if (button) {
            EXPECT_EQ(button->text(), captions.at(i));
        }
    }
    EXPECT_EQ(form.Command3[2]->toolTip(), QStringLiteral("Codifica Piani"));
    EXPECT_EQ(form.Frame1->title(), QStringLiteral("Opzioni"));
    EXPECT_EQ(form.Check5->text(), QStringLiteral("50% Vol e 50% Sup. Rad."));
}

TEST_F(CompPalTest, StepsThroughTheBuildingsInNumberOrderBeepingAtTheEnds)
{
    buildings({ 3, 1, 2 });
    frm_comp_pal form;
    EXPECT_EQ(form.Label4->text(), QStringLiteral("1"));
    EXPECT_EQ(form.Text2->text(), QStringLiteral("Palazzina 1"));
    EXPECT_EQ(form.Label7->text(), QStringLiteral("3"));

    form.Command1->click();
    EXPECT_EQ(form.Label4->text(), QStringLiteral("1"));
    EXPECT_EQ(beeps, 1);

    QStringList shown;
    for (int i = 0; i < 3; ++i) {
        form.Command2->click();
        shown << form.Label4->text();
    }
    EXPECT_EQ(shown, (QStringList { "2", "3", "3" }));
    EXPECT_EQ(beeps, 2);
    EXPECT_EQ(form.Text2->text(), QStringLiteral("Palazzina 3"));
}

TEST_F(CompPalTest, WithoutBuildingsTheStepsDoNothing)
{
    header();
    frm_comp_pal form;
    form.Command1->click();
    form.Command2->click();
    EXPECT_EQ(beeps, 0);
    EXPECT_EQ(form.Label4->text(), QString());
    EXPECT_EQ(form.Label7->text(), QString());
}

TEST_F(CompPalTest, TheBuildingShownIsStoredOnMoveOnRegistraAndOnClose)
{
    buildings({ 1, 2, 3 });
    const auto field = [this](const char *name, int building) {
        return db()
            .query(QStringLiteral("SELECT %1 FROM COMPOS_PAL WHERE NUM_PAL = ?").arg(QLatin1String(name)),
                { building })
            .value(0, 0);
    };
    {
        frm_comp_pal form;
        form.Text2->setText(QStringLiteral("Scala nord"));
        form.Text3->setText(QStringLiteral("2"));
        form.Check4->click();
        form.Command2->click(); // to building 2
        EXPECT_EQ(field("DESCRIZIONE", 1).toString(), QStringLiteral("Scala nord"));
        EXPECT_EQ(field("NUM_SCALE", 1).toInt(), 2);
        EXPECT_TRUE(field("ASCENSORE", 1).toBool());

        form.Text2->setText(QStringLiteral("Corpo B"));
        form.Command3[0]->click(); // "Registra"
        EXPECT_EQ(field("DESCRIZIONE", 2).toString(), QStringLiteral("Corpo B"));

        form.Command2->click(); // to building 3
        form.Text2->setText(QStringLiteral("Corpo C"));
        form.close();
    }
    EXPECT_EQ(field("DESCRIZIONE", 3).toString(), QStringLiteral("Corpo C"));
    EXPECT_TRUE(boxes.messages().isEmpty());
}

TEST_F(CompPalTest, TheCriterionBoxesFollowTheHeatingAndExcludeEachOther)
{
    buildings({ 1, 2 });
    heat(1, true);
    db().exec(QStringLiteral("UPDATE ANA_CONDO SET RISC_RAD = 1"));
    frm_comp_pal form;
    EXPECT_EQ(ticks(form), (QList<bool> { false, true, false }));
    EXPECT_EQ(enabled(form), (QList<bool> { true, true, true }));

    form.Check2->click(); // "Volume"
    EXPECT_EQ(ticks(form), (QList<bool> { true, false, false }));
    form.Check5->click();
    EXPECT_EQ(ticks(form), (QList<bool> { false, false, true }));
    form.Check3->click();
    EXPECT_EQ(ticks(form), (QList<bool> { false, true, false }));
    form.Check3->click(); // unticking leaves none
    EXPECT_EQ(ticks(form), (QList<bool> { false, false, false }));
    form.Check2->click();

    // Building 2 is not heated: the boxes are disabled, their ticks kept.
    form.Command2->click();
    EXPECT_EQ(enabled(form), (QList<bool> { false, false, false }));
    EXPECT_EQ(ticks(form), (QList<bool> { true, false, false }));
    form.Check1->click(); // heating ticked on building 2
    EXPECT_EQ(enabled(form), (QList<bool> { true, true, true }));
    form.Check1->click();
    EXPECT_EQ(enabled(form), (QList<bool> { false, false, false }));

    // Stored only by "Registra", which stores them disabled or not.
    EXPECT_EQ(criterion(), (QList<bool> { false, true, false }));
    form.Command3[0]->click();
    EXPECT_EQ(criterion(), (QList<bool> { true, false, false }));
    EXPECT_TRUE(boxes.messages().isEmpty());
}

TEST_F(CompPalTest, EsciAsksWhenAHeatedBuildingHasNoCriterion)
{
    buildings({ 1 });
    heat(1, true);
    db().exec(QStringLiteral("UPDATE ANA_CONDO SET RISC_VOL = 1"));
    frm_comp_pal form;
    form.show();
    form.Check2->click(); // none ticked now, not stored

    boxes.answer(MsgResult::No);
    form.Command3[1]->click();
    ASSERT_EQ(boxes.shown().size(), 1);
    EXPECT_EQ(boxes.shown().at(0).text, CriterionQuestion);
    EXPECT_EQ(boxes.shown().at(0).title, QStringLiteral("!!! Zav - Attenzione - !!!"));
    EXPECT_EQ(boxes.shown().at(0).buttons, platform::MsgButtons::YesNo);
    EXPECT_TRUE(form.isVisible());

    boxes.answer(MsgResult::Yes);
    form.Command3[1]->click();
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(criterion(), (QList<bool> { true, false, false })); // "Esci" stores no criterion
}

TEST_F(CompPalTest, EsciClosesWithoutAskingWhenACriterionIsTickedOrNoHeating)
{
    buildings({ 1 });
    for (bool heated : { false, true }) {
        heat(1, heated);
        db().exec(QStringLiteral("UPDATE ANA_CONDO SET RISC_50 = ?"), { heated });
        frm_comp_pal form;
        form.show();
        form.Command3[1]->click();
        EXPECT_FALSE(form.isVisible());
    }
    EXPECT_TRUE(boxes.shown().isEmpty());
}

TEST_F(CompPalTest, AnArchiveWithoutTheHalfFieldSaysSoAtLoadAndAtRegistra)
{
    buildings({ 1 });
    heat(1, true);
    db().exec(QStringLiteral("ALTER TABLE ANA_CONDO DROP COLUMN RISC_50"));
    frm_comp_pal form;
    EXPECT_EQ(boxes.messages(), QStringList { HalfFieldMessage });
    EXPECT_EQ(boxes.shown().at(0).title, QStringLiteral("!!! Attenzione !!!"));
    EXPECT_EQ(form.Label7->text(), QStringLiteral("1"));

    form.Check3->click();
    form.Text2->setText(QStringLiteral("Corpo unico"));
    form.Command3[0]->click();
    EXPECT_EQ(boxes.messages(), (QStringList { HalfFieldMessage, HalfFieldMessage }));
    const platform::Recordset rs = db().query(QStringLiteral("SELECT RISC_VOL, RISC_RAD FROM ANA_CONDO"));
    EXPECT_FALSE(rs.value(0, 0).toBool());
    EXPECT_TRUE(rs.value(0, 1).toBool());
    EXPECT_EQ(db().query(QStringLiteral("SELECT DESCRIZIONE FROM COMPOS_PAL")).value(0, 0).toString(),
        QStringLiteral("Corpo unico"));
}

TEST_F(CompPalTest, WithoutHeaderRecordRegistraStillStoresTheBuilding)
{
    db().insert(QStringLiteral("COMPOS_PAL"), { { QStringLiteral("NUM_PAL"), 1 } });
    frm_comp_pal form;
    EXPECT_EQ(form.Label7->text(), QString());
    EXPECT_EQ(ticks(form), (QList<bool> { false, false, false }));
    form.Text2->setText(QStringLiteral("Sola"));
    form.Command3[0]->click();
    EXPECT_EQ(db().query(QStringLiteral("SELECT DESCRIZIONE FROM COMPOS_PAL")).value(0, 0).toString(),
        QStringLiteral("Sola"));
    EXPECT_EQ(db().query(QStringLiteral("SELECT COUNT(*) FROM ANA_CONDO")).value(0, 0).toInt(), 0);
    EXPECT_TRUE(boxes.messages().isEmpty());
}

/** The unit register's place in the form registry, held by a stand-in for the test's lifetime. */
class StandInRegister
{
public:
    StandInRegister()
    {
        FormRegistry::setFactory(register_::UnitRegisterFormName, [this] {
            ++created;
            auto *form = new QWidget;
            form->setAttribute(Qt::WA_DeleteOnClose);
            return form;
        });
    }
    ~StandInRegister()
    {
        FormRegistry::unload(register_::UnitRegisterFormName);
        FormRegistry::setFactory(register_::UnitRegisterFormName, {});
    }
    int created = 0;
};

TEST_F(CompPalTest, CodPianiOpensTheUnitRegisterOnceTheBuildingsExist)
{
    StandInRegister unitRegister;
    header();
    frm_comp_pal form;
    form.show();
    form.Command3[2]->click();
    EXPECT_EQ(boxes.messages(),
        QStringList { QStringLiteral("Attenzione Composizione palazzina non effettuata.") });
    EXPECT_EQ(unitRegister.created, 0);
    EXPECT_TRUE(form.isVisible());

    boxes.clear();
    boxes.answerText(QStringLiteral("2"));
    form.Command4[0]->click(); // "Crea"
    form.Command3[2]->click();
    EXPECT_EQ(unitRegister.created, 1);
    EXPECT_TRUE(FormRegistry::isLoaded(register_::UnitRegisterFormName));
    EXPECT_FALSE(form.isVisible());
}

TEST_F(CompPalTest, CodPianiWithoutProjectOrHeaderOpensNothing)
{
    StandInRegister unitRegister;
    frm_comp_pal form; // no header record
    form.show();
    form.Command3[2]->click();
    EXPECT_TRUE(boxes.messages().isEmpty());
    engine::VAR_GBL.progetto_corrente.reset();
    form.Command3[2]->click();
    EXPECT_EQ(boxes.messages(), QStringList { QStringLiteral("Nessun progetto selezionato") });
    EXPECT_EQ(unitRegister.created, 0);
    EXPECT_TRUE(form.isVisible());
}

TEST_F(CompPalTest, TheRegistryShowsTheFormModalAndReturnsWhenItCloses)
{
    buildings({ 1, 2 });
    register_::registerForms();
    QString shownNumber;
    bool modal = false;
    {
        platform::ModalDriverScope driver([&](QWidget *form) {
            auto *buildingsForm = qobject_cast<frm_comp_pal *>(form);
            ASSERT_NE(buildingsForm, nullptr);
            modal = form->isModal();
            buildingsForm->Command2->click();
            shownNumber = buildingsForm->Label4->text();
            buildingsForm->Command3[1]->click(); // "Esci"
        });
        register_::comp_pal();
    }
    EXPECT_TRUE(modal);
    EXPECT_EQ(shownNumber, QStringLiteral("2"));
    EXPECT_FALSE(FormRegistry::isLoaded(register_::BuildingsFormName));
}

// Writes the form's picture for the documentation into the folder named by ZAV_SCREENSHOT_DIR.
TEST_F(CompPalTest, Screenshot)
{
    const QString folder = qEnvironmentVariable("ZAV_SCREENSHOT_DIR");
    if (folder.isEmpty())
        GTEST_SKIP() << "set ZAV_SCREENSHOT_DIR to write the picture";
    buildings({ 1, 2, 3 });
    heat(1, true);
    db().exec(QStringLiteral("UPDATE ANA_CONDO SET RISC_VOL = 1"));
    db().exec(
        QStringLiteral("UPDATE COMPOS_PAL SET NUM_SCALE = 2, ASCENSORE = 1, DESCRIZIONE = 'Corpo A - via "
                       "Roma 12' WHERE NUM_PAL = 1"));
    frm_comp_pal form;
    form.show();
    form.adjustSize();
    EXPECT_TRUE(zav::test::pictureWritten(form.grab(), folder, QStringLiteral("buildings-form.png")));
}

} // namespace
} // namespace zav::test
