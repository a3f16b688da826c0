#include "buildingsfixture.h"

#include "register/buildings.h"
#include "support/child.h"

#include <QLabel>
#include <QPushButton>
#include <QTest>

namespace zav::test {
namespace {

using platform::MsgResult;
using register_::frm_comp_pal;

const QString BadNumber = QStringLiteral("non è un numero valido");
const QString TooMany = QStringLiteral("Le palazzine non possono essere più di 999.");
const QString AlreadyCreated = QStringLiteral("Palazzine già create. Si può solo Aggiungere o Eliminare");
const QString NoHeader = QStringLiteral("Dati Progetto non inseriti. Impossibile continuare");

TEST(WholeNumber, AcceptsOnlyPlainPositiveWholeNumbers)
{
    struct Case
    {
        const char *answer;
        std::optional<int> number;
    };
    const Case cases[] = { { "3", 3 }, { " 2 ", 2 }, { "999", 999 }, { "1000", 1000 }, { "", std::nullopt },
        { "abc", std::nullopt }, { "-1", std::nullopt }, { "0", std::nullopt }, { "02", std::nullopt },
        { "2.0", std::nullopt }, { "2,5", std::nullopt }, { "1e3", std::nullopt },
        { "1 OR 1=1", std::nullopt }, { "3abc", std::nullopt }, { "99999999999", std::nullopt } };
    for (const Case &c : cases)
        EXPECT_EQ(register_::wholeNumber(QString::fromUtf8(c.answer)), c.number) << c.answer;
}

/** The boxes told this message (part of its text), or none when it is empty. */
void expectMessage(const platform::ScriptedDialogs &boxes, const QString &message)
{
    const QString told = boxes.messages().join(QStringLiteral(" | "));
    EXPECT_TRUE(message.isEmpty() ? told.isEmpty() : told.contains(message)) << told.toStdString();
}

/** Clicks one of "Crea", "Aggiungi", "Elimina" on a fresh form and gives the total shown. */
QString run(int index)
{
    frm_comp_pal form;
    form.Command4[index]->click();
    return form.Label7->text();
}

TEST_F(BuildingsTest, CreaAnswersAsATable)
{
    struct Case
    {
        std::optional<QString> answer;
        QList<int> built;
        QVariant count;
        QString message; ///< part of the message shown, empty for none
    };
    const QList<Case> cases = {
        { QStringLiteral("3"), { 1, 2, 3 }, 3, {} },
        { QStringLiteral(" 1 "), { 1 }, 1, {} },
        { QStringLiteral("999"), {}, {}, {} }, // filled in below: 1 to 999
        { std::nullopt, {}, {}, {} },
        { QStringLiteral(""), {}, {}, {} },
        { QStringLiteral("abc"), {}, {}, BadNumber },
        { QStringLiteral("-1"), {}, {}, BadNumber },
        { QStringLiteral("0"), {}, {}, BadNumber },
        { QStringLiteral("2,5"), {}, {}, BadNumber },
        { QStringLiteral("1e3"), {}, {}, BadNumber },
        { QStringLiteral("1000"), {}, {}, TooMany },
    };
    for (int i = 0; i < cases.size(); ++i) {
        const Case &c = cases.at(i);
        SCOPED_TRACE(c.answer.value_or(QStringLiteral("<Annulla>")).toStdString());
        platform::Database d = db();
        d.clear(QStringLiteral("COMPOS_PAL"));
        d.clear(QStringLiteral("ANA_CONDO"));
        d.close();
        header();
        boxes.clear();
        boxes.answerText(c.answer);
        const QString total = run(0);
        QList<int> built = c.built;
        QVariant count = c.count;
        if (i == 2) {
            for (int n = 1; n <= 999; ++n)
                built << n;
            count = 999;
        }
        EXPECT_EQ(storedBuildings(), built);
        EXPECT_EQ(storedCount(), count);
        EXPECT_EQ(total, count.isValid() ? count.toString() : QString());
        expectMessage(boxes, c.message);
    }
}

TEST_F(BuildingsTest, CreaShowsBuildingOneAndIsRefusedOnceBuildingsExist)
{
    header();
    boxes.answerText(QStringLiteral("3"));
    {
        frm_comp_pal form;
        form.Command4[0]->click();
        EXPECT_EQ(form.Label4->text(), QStringLiteral("1"));
        EXPECT_EQ(form.Label7->text(), QStringLiteral("3"));
    }
    boxes.answerText(QStringLiteral("2"));
    EXPECT_EQ(run(0), QStringLiteral("3"));
    EXPECT_EQ(boxes.messages(), QStringList { AlreadyCreated });
    EXPECT_EQ(storedBuildings(), (QList<int> { 1, 2, 3 }));

    // Rows without a count (a count lost) refuse it too: the rows decide as well as the count.
    db().exec(QStringLiteral("UPDATE ANA_CONDO SET NUM_PAL = NULL"));
    boxes.clear();
    boxes.answerText(QStringLiteral("2"));
    run(0);
    EXPECT_EQ(boxes.messages(), QStringList { AlreadyCreated });
    EXPECT_EQ(storedBuildings(), (QList<int> { 1, 2, 3 }));
}

TEST_F(BuildingsTest, WithoutHeaderRecordNothingIsCreatedOrAdded)
{
    for (int index : { 0, 1 }) {
        boxes.clear();
        boxes.answerText(QStringLiteral("2"));
        run(index);
        EXPECT_EQ(boxes.messages(), QStringList { NoHeader });
        EXPECT_TRUE(storedBuildings().isEmpty());
    }
}

TEST_F(BuildingsTest, AggiungiFillsTheGapsUpToTheCountThenGoesOnAfterTheHighest)
{
    struct Case
    {
        QList<int> before;
        int count;
        QString answer;
        QList<int> after;
        int countAfter;
        QString message;
    };
    const QList<Case> cases = {
        { { 1, 2, 4, 5 }, 4, QStringLiteral("2"), { 1, 2, 3, 4, 5, 6 }, 6, {} },
        { { 1, 4, 5 }, 3, QStringLiteral("1"), { 1, 2, 4, 5 }, 4, {} },
        { { 1, 2, 5 }, 3, QStringLiteral("2"), { 1, 2, 3, 5, 6 }, 5, {} },
        { { 1, 2 }, 2, QStringLiteral("3"), { 1, 2, 3, 4, 5 }, 5, {} },
        { {}, 0, QStringLiteral("2"), { 1, 2 }, 2, {} },
        { { 1, 2 }, 2, QStringLiteral("0"), { 1, 2 }, 2, BadNumber },
        { { 1, 2 }, 2, QStringLiteral("abc"), { 1, 2 }, 2, BadNumber },
        { { 1, 2 }, 2, QStringLiteral("-1"), { 1, 2 }, 2, BadNumber },
        { { 1, 2 }, 2, QStringLiteral("2,5"), { 1, 2 }, 2, BadNumber },
        { { 1, 2 }, 2, QStringLiteral("1e3"), { 1, 2 }, 2, BadNumber },
        { { 1, 2 }, 2, QStringLiteral("998"), { 1, 2 }, 2, TooMany },
        { { 1, 2 }, 2, QString(), { 1, 2 }, 2, {} },
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.answer.toStdString());
        platform::Database d = db();
        d.clear(QStringLiteral("COMPOS_PAL"));
        d.clear(QStringLiteral("ANA_CONDO"));
        d.close();
        buildings(c.before, c.count);
        boxes.clear();
        boxes.answerText(c.answer);
        const QString total = run(1);
        EXPECT_EQ(storedBuildings(), c.after);
        EXPECT_EQ(storedCount(), QVariant(c.countAfter));
        EXPECT_EQ(total, QString::number(c.countAfter));
        expectMessage(boxes, c.message);
    }
}

// The count the header holds is checked against the buildings that exist, and the buildings
// decide: "Crea" is refused on a project that has buildings whatever is answered, and after any
// command the count is the number of buildings there are. "Aggiungi" fills the gaps up to the
// number of buildings there are, and no building is numbered above 999.
// "Aggiungi" double-clicked with the mouse, each answer "1" ready: one building is added, one question asked.
TEST_F(BuildingsTest, ADoubleClickOnAggiungiAddsOnce)
{
    buildings({ 1, 2 });
    boxes.answerText(QStringLiteral("1"));
    boxes.answerText(QStringLiteral("1"));
    frm_comp_pal form;
    form.show();
    QTest::mouseClick(form.Command4[1], Qt::LeftButton);
    QTest::mouseDClick(form.Command4[1], Qt::LeftButton);
    QTest::mouseRelease(form.Command4[1], Qt::LeftButton);
    EXPECT_EQ(storedBuildings(), (QList<int> { 1, 2, 3 }));
    EXPECT_EQ(storedCount(), QVariant(3));
    EXPECT_EQ(boxes.shown().size(), 1);
}

TEST_F(BuildingsTest, TheBuildingsThatExistDecideOverTheStoredCount)
{
    const QString NumberTooHigh
        = QStringLiteral("Le palazzine non possono avere un numero maggiore di 999: aggiungerne meno.");
    struct Case
    {
        const char *what;
        QVariant storedCount;
        QList<int> before;
        int command; ///< 0 "Crea", 1 "Aggiungi", 2 "Elimina"
        QString answer;
        QList<int> after;
        QVariant countAfter;
        QString total; ///< the form's total afterwards
        QString message; ///< part of the message shown, empty for none
    };
    const QList<Case> cases = {
        { "Crea abc, buildings exist", 3, { 1, 2, 3 }, 0, "abc", { 1, 2, 3 }, 3, "3", AlreadyCreated },
        { "Crea 0, buildings exist", 3, { 1, 2, 3 }, 0, "0", { 1, 2, 3 }, 3, "3", AlreadyCreated },
        { "Crea 2, count lost", {}, { 1, 2 }, 0, "2", { 1, 2 }, {}, "2", AlreadyCreated },
        { "Crea abc, no building", {}, {}, 0, "abc", {}, {}, "", BadNumber },
        { "Crea 2, count left at 0", 0, {}, 0, "2", { 1, 2 }, 2, "2", {} },
        { "Crea 2, count -100000", -100000, {}, 0, "2", { 1, 2 }, 2, "2", {} },
        { "Aggiungi 5000, count -100000", -100000, { 1, 2 }, 1, "5000", { 1, 2 }, -100000, "2", TooMany },
        { "Aggiungi 2, count -100000", -100000, { 1, 2 }, 1, "2", { 1, 2, 3, 4 }, 4, "4", {} },
        { "Aggiungi 2, count abc", "abc", { 1, 3 }, 1, "2", { 1, 2, 3, 4 }, 4, "4", {} },
        { "Aggiungi 1, count 5 above the buildings", 5, { 1, 4 }, 1, "1", { 1, 2, 4 }, 3, "3", {} },
        { "Aggiungi 1 after 999", 2, { 1, 999 }, 1, "1", { 1, 2, 999 }, 3, "3", {} },
        { "Aggiungi 2 after 999", 2, { 1, 999 }, 1, "2", { 1, 999 }, 2, "2", NumberTooHigh },
        { "Elimina 2, count abc", "abc", { 1, 2, 3 }, 2, "2", { 1, 3 }, 2, "2", "Sei sicuro ?" },
        { "Elimina 3, count 7", 7, { 1, 2, 3 }, 2, "3", { 1, 2 }, 2, "2", "Sei sicuro ?" },
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.what);
        platform::Database d = db();
        d.clear(QStringLiteral("COMPOS_PAL"));
        d.clear(QStringLiteral("ANA_CONDO"));
        d.close();
        buildings(c.before);
        db().exec(QStringLiteral("UPDATE ANA_CONDO SET NUM_PAL = ?"), { c.storedCount });
        boxes.clear();
        boxes.answerText(c.answer);
        boxes.answer(MsgResult::Yes);
        boxes.answer(MsgResult::Yes);
        const QString total = run(c.command);
        EXPECT_EQ(storedBuildings(), c.after);
        EXPECT_EQ(storedCount(), c.countAfter);
        EXPECT_EQ(total, c.total);
        expectMessage(boxes, c.message);
    }
}

class EliminaTest : public BuildingsTest
{
protected:
    void SetUp() override
    {
        BuildingsTest::SetUp();
        buildings({ 1, 2, 3 });
        unit(1, QStringLiteral("Rossi"));
        unit(2, QStringLiteral("Bianchi"));
        unit(2, QStringLiteral("Verdi"));
        unit(3, QStringLiteral("Neri"));
        room(QStringLiteral("1"), QStringLiteral("Rossi"));
        room(QStringLiteral("2"), QStringLiteral("Bianchi"));
        room(QStringLiteral(" 2"), QStringLiteral("Verdi"));
        room(QStringLiteral("3"), QStringLiteral("Neri"));
    }

    QStringList owners()
    {
        return column(QStringLiteral("SELECT PROPRIETARIO FROM CODIF_PIANI ORDER BY rowid"));
    }
    QStringList roomOwners()
    {
        return column(QStringLiteral("SELECT NOME_CONDOMINO FROM ESPRESSIONI ORDER BY rowid"));
    }

    const QStringList allOwners = { "Rossi", "Bianchi", "Verdi", "Neri" };
};

TEST_F(EliminaTest, DeletesTheBuildingWithItsUnitsAndRoomsAfterTwoYes)
{
    boxes.answerText(QStringLiteral("2"));
    boxes.answer(MsgResult::Yes);
    boxes.answer(MsgResult::Yes);
    frm_comp_pal form;
    form.Command4[2]->click();

    ASSERT_EQ(boxes.shown().size(), 3);
    EXPECT_EQ(boxes.shown().at(0).text, QStringLiteral("N° palazzina da eliminare:"));
    EXPECT_EQ(boxes.shown().at(0).title, QStringLiteral("Elimina palazzina"));
    EXPECT_EQ(boxes.shown().at(1).text, QStringLiteral("Elimino la palazzina n° 2 con tutti i suoi dati ?"));
    EXPECT_EQ(boxes.shown().at(1).title, QStringLiteral("!!! Attenzione !!!"));
    EXPECT_EQ(boxes.shown().at(1).icon, platform::MsgIcon::Critical);
    EXPECT_EQ(boxes.shown().at(2).text, QStringLiteral("Sei sicuro ?"));
    // Enter answers "No" to both questions.
    EXPECT_EQ(boxes.shown().at(1).defaultButton, platform::MsgDefault::Second);
    EXPECT_EQ(boxes.shown().at(2).defaultButton, platform::MsgDefault::Second);

    EXPECT_EQ(storedBuildings(), (QList<int> { 1, 3 }));
    EXPECT_EQ(owners(), (QStringList { "Rossi", "Neri" }));
    EXPECT_EQ(roomOwners(), (QStringList { "Rossi", "Neri" }));
    EXPECT_EQ(storedCount(), QVariant(2));
    EXPECT_EQ(form.Label7->text(), QStringLiteral("2"));
    EXPECT_EQ(form.Label4->text(), QStringLiteral("1"));

    // Building 3 keeps its number and stays reachable.
    form.Command2->click();
    EXPECT_EQ(form.Label4->text(), QStringLiteral("3"));
    EXPECT_EQ(beeps, 0);
}

TEST_F(EliminaTest, AnswersThatNameNoBuildingDeleteNothing)
{
    struct Case
    {
        std::optional<QString> answer;
        QString message;
    };
    const QList<Case> cases = {
        { std::nullopt, {} },
        { QStringLiteral(""), {} },
        { QStringLiteral("02"), BadNumber },
        { QStringLiteral("2.0"), BadNumber },
        { QStringLiteral("abc"), BadNumber },
        { QStringLiteral("-1"), BadNumber },
        { QStringLiteral("0"), BadNumber },
        { QStringLiteral("2,5"), BadNumber },
        { QStringLiteral("1e3"), BadNumber },
        { QStringLiteral("1 OR 1=1"), BadNumber },
        { QStringLiteral("4"), QStringLiteral("La palazzina n° 4 non esiste.") },
        { QStringLiteral("1000"), QStringLiteral("La palazzina n° 1000 non esiste.") },
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.answer.value_or(QStringLiteral("<Annulla>")).toStdString());
        boxes.clear();
        boxes.answerText(c.answer);
        // Were a question asked, it would be answered Yes: nothing must get that far.
        boxes.answer(MsgResult::Yes);
        boxes.answer(MsgResult::Yes);
        EXPECT_EQ(run(2), QStringLiteral("3"));
        expectMessage(boxes, c.message);
        EXPECT_EQ(storedBuildings(), (QList<int> { 1, 2, 3 }));
        EXPECT_EQ(owners(), allOwners);
        EXPECT_EQ(roomOwners(), allOwners);
        EXPECT_EQ(storedCount(), QVariant(3));
    }
}

TEST_F(EliminaTest, NoToEitherQuestionDeletesNothing)
{
    for (const QList<MsgResult> &answers :
        { QList<MsgResult> { MsgResult::No }, { MsgResult::Yes, MsgResult::No } }) {
        boxes.clear();
        boxes.answerText(QStringLiteral("2"));
        for (MsgResult answer : answers)
            boxes.answer(answer);
        EXPECT_EQ(run(2), QStringLiteral("3"));
        EXPECT_EQ(storedBuildings(), (QList<int> { 1, 2, 3 }));
        EXPECT_EQ(owners(), allOwners);
        EXPECT_EQ(roomOwners(), allOwners);
        EXPECT_EQ(storedCount(), QVariant(3));
    }
}

TEST_F(EliminaTest, AFailureHalfWayLeavesEverythingAsItWasAndSaysSo)
{
    // The rooms cannot be deleted: the units are gone by then, and must come back.
    db().exec(QStringLiteral("CREATE TRIGGER no_room_delete BEFORE DELETE ON ESPRESSIONI "
                             "BEGIN SELECT RAISE(ABORT, 'rooms are read-only'); END"));
    boxes.answerText(QStringLiteral("2"));
    boxes.answer(MsgResult::Yes);
    boxes.answer(MsgResult::Yes);
    EXPECT_EQ(run(2), QStringLiteral("3"));

    ASSERT_EQ(boxes.messages().size(), 3);
    EXPECT_TRUE(
        boxes.messages().last().contains(QStringLiteral("non riuscita: nessun dato è stato modificato")))
        << boxes.messages().last().toStdString();
    EXPECT_EQ(storedBuildings(), (QList<int> { 1, 2, 3 }));
    EXPECT_EQ(owners(), allOwners);
    EXPECT_EQ(roomOwners(), allOwners);
    EXPECT_EQ(storedCount(), QVariant(3));
}

TEST_F(BuildingsTest, AFailureHalfWayThroughCreaOrAggiungiLeavesNothingBehind)
{
    header();
    db().exec(QStringLiteral("CREATE TRIGGER no_third BEFORE INSERT ON COMPOS_PAL WHEN NEW.NUM_PAL = 3 "
                             "BEGIN SELECT RAISE(ABORT, 'full'); END"));
    boxes.answerText(QStringLiteral("4"));
    EXPECT_EQ(run(0), QString());
    EXPECT_TRUE(storedBuildings().isEmpty());
    EXPECT_FALSE(storedCount().isValid());
    EXPECT_TRUE(boxes.messages().join(" | ").contains(QStringLiteral("nessun dato è stato modificato")));

    db().clear(QStringLiteral("ANA_CONDO"));
    buildings({ 1, 2 });
    boxes.clear();
    boxes.answerText(QStringLiteral("3"));
    EXPECT_EQ(run(1), QStringLiteral("2"));
    EXPECT_EQ(storedBuildings(), (QList<int> { 1, 2 }));
    EXPECT_EQ(storedCount(), QVariant(2));
}

} // namespace
} // namespace zav::test
