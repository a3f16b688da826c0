#include "register/identitypanel.h"
#include "register/unitidentity.h"

#include "register/unitregisterfixture.h"
#include "support/screenshots.h"
#include "workspace/frm_ins_coeff.h"

#include <QDir>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace zav::test {
namespace {

using platform::FieldDef;
using platform::FieldType;
using register_::IdentityChange;
using register_::UnitIdentity;

/**
 * @brief Rossi (building 1, stair A, floor "2", unit 3) with two rooms and rows in two user tables;
 * Bianchi (1, A, floor "1", unit 5) with a room and a user-table row of his own. `NEW_TAB` lists the
 * two user tables and a third that the archive lacks, between them.
 */
class UnitIdentityTest : public UnitRegisterFixture
{
protected:
    void SetUp() override
    {
        UnitRegisterFixture::SetUp();
        platform::Database db = platform::Database::open(project.path());
        rossi = project.unit(QStringLiteral("Rossi"), 1, QStringLiteral("A"), QStringLiteral("2"), 3, 3.0);
        db.update(QStringLiteral("CODIF_PIANI"), rossi,
            { { QStringLiteral("DESCRIZIONE"), QStringLiteral("Appartamento") },
                { QStringLiteral("RIGA"), 2 }, { QStringLiteral("HTERRA"), 6.0 } });
        bianchi
            = project.unit(QStringLiteral("Bianchi"), 1, QStringLiteral("A"), QStringLiteral("1"), 5, 3.0);
        kitchen = project.room(QStringLiteral("Rossi"), 1, QStringLiteral("A"), 3,
            { { QStringLiteral("ESPRESSIONE"), QStringLiteral("3*4") },
                { QStringLiteral("PIANO"), QStringLiteral("2") } });
        bedroom = project.room(QStringLiteral("Rossi"), 1, QStringLiteral("A"), 3,
            { { QStringLiteral("ESPRESSIONE"), QStringLiteral("2*5") },
                { QStringLiteral("PIANO"), QStringLiteral("2") } });
        otherRoom = project.room(QStringLiteral("Bianchi"), 1, QStringLiteral("A"), 5,
            { { QStringLiteral("ESPRESSIONE"), QStringLiteral("7") } });
        for (const char *table : { "SCALE_EXTRA", "ASCENSORE_EXTRA" }) {
            const QString name = QString::fromLatin1(table);
            db.createTable(name,
                { { QStringLiteral("CONDOMINO"), FieldType::Text, 150 },
                    { QStringLiteral("PALAZ"), FieldType::Text, 3 },
                    { QStringLiteral("SCALA"), FieldType::Text, 10 },
                    { QStringLiteral("MQ"), FieldType::Double },
                    { QStringLiteral("MILLESIMI"), FieldType::Double },
                    { QStringLiteral("PIANO"), FieldType::Text, 3 },
                    { QStringLiteral("NOME_CONDO"), FieldType::Text, 50 },
                    { QStringLiteral("INPUT"), FieldType::Double },
                    { QStringLiteral("INTERNO"), FieldType::Integer },
                    { QStringLiteral("RIGA"), FieldType::Double } });
            userRows[name] = db.insert(name,
                { { QStringLiteral("CONDOMINO"), QStringLiteral("Rossi") },
                    { QStringLiteral("PALAZ"), QStringLiteral("1") },
                    { QStringLiteral("SCALA"), QStringLiteral("A") },
                    { QStringLiteral("MILLESIMI"), 123.456 },
                    { QStringLiteral("PIANO"), QStringLiteral("2") }, { QStringLiteral("INTERNO"), 3 } });
            db.insert(name,
                { { QStringLiteral("CONDOMINO"), QStringLiteral("Bianchi") },
                    { QStringLiteral("PALAZ"), QStringLiteral("1") },
                    { QStringLiteral("SCALA"), QStringLiteral("A") },
                    { QStringLiteral("PIANO"), QStringLiteral("1") }, { QStringLiteral("INTERNO"), 5 } });
        }
        for (const char *table : { "SCALE_EXTRA", "MANCANTE", "ASCENSORE_EXTRA" })
            db.insert(QStringLiteral("NEW_TAB"),
                { { QStringLiteral("NOME_TABELLA"), QString::fromLatin1(table) } });
    }

    QVariant field(const QString &table, qint64 rowid, const char *name) const
    {
        return project.value(table, rowid, QString::fromLatin1(name));
    }

    /** @brief Everything the change may write. */
    QStringList archive() const
    {
        return dump(QStringLiteral("CODIF_PIANI")) + dump(QStringLiteral("ESPRESSIONI"))
            + dump(QStringLiteral("SCALE_EXTRA")) + dump(QStringLiteral("ASCENSORE_EXTRA"));
    }

    /** @brief The register on building 1, stair A, with Rossi's row current and the panel open. */
    register_::IdentityPanel *openPanel()
    {
        register_::frm_cod_piani *form = open();
        choose(form, QStringLiteral("1"), QStringLiteral("A"));
        makeCurrent(form, rossi);
        form->Command2_Click();
        return form->Frame1;
    }

    qint64 rossi = 0;
    qint64 bianchi = 0;
    qint64 kitchen = 0;
    qint64 bedroom = 0;
    qint64 otherRoom = 0;
    QHash<QString, qint64> userRows;
};

TEST_F(UnitIdentityTest, RoomsUserTablesAndTheUnitTakeTheNewIdentityTogether)
{
    register_::IdentityPanel *panel = openPanel();
    ASSERT_FALSE(panel->isHidden());
    EXPECT_EQ(panel->title(), QStringLiteral("Modifica dati condomino"));
    EXPECT_EQ(panel->Label5->text(), QStringLiteral("Rossi"));
    EXPECT_EQ(panel->Text3->text(), QStringLiteral("Rossi"));
    EXPECT_EQ(panel->Text12->text(), QStringLiteral("Appartamento"));
    EXPECT_EQ(panel->Combo3->currentText(), QStringLiteral("1"));
    EXPECT_EQ(panel->Combo4->currentText(), QStringLiteral("A"));
    EXPECT_EQ(panel->Combo5->currentText(), QStringLiteral("2"));
    EXPECT_EQ(panel->Text2->text(), QStringLiteral("3"));
    EXPECT_EQ(panel->Combo5->count(), 52);
    EXPECT_EQ(panel->Combo5->findText(QStringLiteral("S1")), -1);

    // Choosing building 2 lists its only stair.
    panel->Combo3->setCurrentIndex(panel->Combo3->findText(QStringLiteral("2")));
    QStringList stairs;
    for (int i = 0; i < panel->Combo4->count(); ++i)
        stairs << panel->Combo4->itemText(i);
    EXPECT_EQ(stairs, (QStringList { "Nessuna", "A" }));
    EXPECT_EQ(panel->Combo4->currentText(), QStringLiteral("A"));

    const QString owner = QStringLiteral("D'Amico \"Nino\"");
    panel->Text3->setText(owner);
    panel->Text12->setText(QStringLiteral("Negozio"));
    panel->Combo5->setCurrentText(QStringLiteral("3S"));
    panel->Text2->setText(QStringLiteral("7"));
    boxes.answer(platform::MsgResult::Yes);
    panel->Command3_Click();

    ASSERT_EQ(boxes.shown().size(), 2);
    EXPECT_EQ(boxes.shown().at(0).text, QStringLiteral("Modificare i dati di Rossi ?"));
    EXPECT_EQ(boxes.shown().at(0).title, QStringLiteral("!!! Zav - Attenzione !!!"));
    EXPECT_EQ(boxes.shown().at(1).text, QStringLiteral("Modifica effettuata."));
    EXPECT_EQ(boxes.shown().at(1).title, QStringLiteral("!!! Modifica Dati Utente !!!"));
    EXPECT_TRUE(panel->isHidden());

    const QString rooms = QStringLiteral("ESPRESSIONI");
    for (qint64 room : { kitchen, bedroom }) {
        EXPECT_EQ(field(rooms, room, "NOME_CONDOMINO").toString(), owner);
        EXPECT_EQ(field(rooms, room, "PALAZ").toString(), QStringLiteral("2"));
        EXPECT_EQ(field(rooms, room, "SCALA").toString(), QStringLiteral("A"));
        EXPECT_EQ(field(rooms, room, "PIANO").toString(), QStringLiteral("3S"));
        EXPECT_EQ(field(rooms, room, "INTERNO").toInt(), 7);
    }
    EXPECT_EQ(field(rooms, kitchen, "ESPRESSIONE").toString(), QStringLiteral("3*4"));
    EXPECT_EQ(field(rooms, otherRoom, "NOME_CONDOMINO").toString(), QStringLiteral("Bianchi"));

    for (const QString &table : { QStringLiteral("SCALE_EXTRA"), QStringLiteral("ASCENSORE_EXTRA") }) {
        const qint64 row = userRows.value(table);
        EXPECT_EQ(field(table, row, "CONDOMINO").toString(), owner) << table.toStdString();
        EXPECT_EQ(field(table, row, "PALAZ").toString(), QStringLiteral("2"));
        EXPECT_EQ(field(table, row, "SCALA").toString(), QStringLiteral("A"));
        EXPECT_EQ(field(table, row, "PIANO").toString(), QStringLiteral("3S"));
        EXPECT_EQ(field(table, row, "INTERNO").toInt(), 7);
        EXPECT_DOUBLE_EQ(field(table, row, "MILLESIMI").toDouble(), 123.456);
        const platform::Recordset others
            = platform::Database::open(project.path())
                  .query(QStringLiteral("SELECT CONDOMINO, INTERNO FROM %1 WHERE rowid <> ?").arg(table),
                      { row });
        ASSERT_EQ(others.recordCount(), 1);
        EXPECT_EQ(others.value(0, 0).toString(), QStringLiteral("Bianchi"));
        EXPECT_EQ(others.value(0, 1).toInt(), 5);
    }

    const QString units = QStringLiteral("CODIF_PIANI");
    EXPECT_EQ(field(units, rossi, "PROPRIETARIO").toString(), owner);
    EXPECT_EQ(field(units, rossi, "DESCRIZIONE").toString(), QStringLiteral("Negozio"));
    EXPECT_EQ(field(units, rossi, "NUM_PAL").toInt(), 2);
    EXPECT_EQ(field(units, rossi, "SCALA").toString(), QStringLiteral("A"));
    EXPECT_EQ(field(units, rossi, "SIGLA").toString(), QStringLiteral("3S"));
    EXPECT_EQ(field(units, rossi, "INTERNO").toInt(), 7);
    EXPECT_EQ(field(units, rossi, "RIGA").toInt(), -4);
    EXPECT_DOUBLE_EQ(field(units, rossi, "HTERRA").toDouble(), 6.0);
    EXPECT_EQ(field(units, bianchi, "PROPRIETARIO").toString(), QStringLiteral("Bianchi"));

    // The moved unit stays in the list, showing its new values, until the list is read again.
    register_::frm_cod_piani *form = open();
    ASSERT_EQ(form->Data1->recordCount(), 2);
    const int row = form->Data1->rowOf(rossi);
    ASSERT_GE(row, 0);
    EXPECT_EQ(form->Data1->value(row, QStringLiteral("PROPRIETARIO")).toString(), owner);
}

TEST_F(UnitIdentityTest, NoWritesNothingAndClearedBoxesKeepTheStoredFloorAndNumber)
{
    register_::IdentityPanel *panel = openPanel();
    panel->Text3->setText(QStringLiteral("Rossi Mario"));
    const QStringList before = archive();
    boxes.answer(platform::MsgResult::No);
    panel->Command3_Click();
    EXPECT_EQ(boxes.messages(), QStringList { QStringLiteral("Modificare i dati di Rossi ?") });
    EXPECT_FALSE(panel->isHidden());
    EXPECT_EQ(panel->Text3->text(), QStringLiteral("Rossi Mario"));
    EXPECT_EQ(archive(), before);

    // Only the description and the owner change; the cleared boxes take the stored floor and number.
    panel->Combo5->setCurrentText(QString());
    panel->Text2->clear();
    panel->Text12->setText(QStringLiteral("Ufficio"));
    boxes.clear();
    boxes.answer(platform::MsgResult::Yes);
    panel->Command3_Click();
    EXPECT_EQ(boxes.messages().value(1), QStringLiteral("Modifica effettuata."));
    EXPECT_EQ(panel->Combo5->currentText(), QStringLiteral("2"));
    EXPECT_EQ(panel->Text2->text(), QStringLiteral("3"));
    EXPECT_EQ(field(QStringLiteral("ESPRESSIONI"), kitchen, "PIANO").toString(), QStringLiteral("2"));
    EXPECT_EQ(field(QStringLiteral("ESPRESSIONI"), kitchen, "INTERNO").toInt(), 3);
    EXPECT_EQ(field(QStringLiteral("ESPRESSIONI"), kitchen, "NOME_CONDOMINO").toString(),
        QStringLiteral("Rossi Mario"));
    EXPECT_EQ(field(QStringLiteral("SCALE_EXTRA"), userRows.value(QStringLiteral("SCALE_EXTRA")), "CONDOMINO")
                  .toString(),
        QStringLiteral("Rossi Mario"));
    EXPECT_EQ(
        field(QStringLiteral("CODIF_PIANI"), rossi, "DESCRIZIONE").toString(), QStringLiteral("Ufficio"));
    EXPECT_EQ(field(QStringLiteral("CODIF_PIANI"), rossi, "SIGLA").toString(), QStringLiteral("2"));
}

// Enter presses the button that has the focus, as Space does; Enter in a box presses nothing.
TEST_F(UnitIdentityTest, EnterPressesTheFocusedButtonOnly)
{
    register_::IdentityPanel *panel = openPanel();
    const QStringList before = archive();
    boxes.answer(platform::MsgResult::No);
    QTest::keyClick(panel->Text3, Qt::Key_Return);
    EXPECT_TRUE(boxes.messages().isEmpty());
    for (const Qt::Key key : { Qt::Key_Return, Qt::Key_Enter }) {
        boxes.clear();
        panel->Command3->setFocus();
        QTest::keyClick(panel->Command3, key);
        EXPECT_EQ(boxes.messages(), QStringList { QStringLiteral("Modificare i dati di Rossi ?") }) << key;
    }
    EXPECT_EQ(archive(), before);
    QTest::keyClick(panel->Command4, Qt::Key_Return);
    EXPECT_TRUE(panel->isHidden());
}

// The panel lies over the register's rows: a border round the whole of it, caption included, keeps
// the caption apart from the rows.
TEST_F(UnitIdentityTest, ABorderRoundThePanelTakesInItsCaption)
{
    register_::IdentityPanel *panel = openPanel();
    register_::frm_cod_piani *form = open();
    form->show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(form));
    const QImage face = panel->grab().toImage();
    const QColor background = panel->palette().color(QPalette::Window);
    const int captionRow = panel->fontMetrics().height() / 2;
    const QPoint border[] = { { face.width() / 2, 0 }, { 0, captionRow }, { face.width() - 1, captionRow },
        { face.width() / 2, face.height() - 1 } };
    for (const QPoint &at : border)
        EXPECT_NE(face.pixelColor(at), background) << at.x() << "," << at.y();
}

TEST_F(UnitIdentityTest, AnIdentityThatDoesNotHoldIsRefusedAndNothingIsWritten)
{
    const UnitIdentity valid { QStringLiteral("Rossi"), QStringLiteral("Appartamento"), QStringLiteral("1"),
        QStringLiteral("A"), QStringLiteral("2"), QStringLiteral("3") };
    const struct
    {
        const char *what;
        UnitIdentity identity;
        QString message;
    } cases[] = {
        { "empty owner", { "", "", "1", "A", "2", "3" }, "Inserire il nome del condomino." },
        { "blank owner", { "   ", "", "1", "A", "2", "3" }, "Inserire il nome del condomino." },
        { "owner of 151", { QString(151, u'x'), "", "1", "A", "2", "3" },
            "Il testo di \"Nome\" è troppo lungo: al massimo 150 caratteri." },
        { "owner of 200", { QString(200, u'x'), "", "1", "A", "2", "3" },
            "Il testo di \"Nome\" è troppo lungo: al massimo 150 caratteri." },
        { "description of 71", { "Rossi", QString(71, u'd'), "1", "A", "2", "3" },
            "Il testo di \"Descrizione\" è troppo lungo: al massimo 70 caratteri." },
        { "floor code of 4", { "Rossi", "", "1", "A", "10SS", "3" },
            "Il testo di \"Piano\" è troppo lungo: al massimo 3 caratteri." },
        { "no building", { "Rossi", "", "", "A", "2", "3" }, "Palazzina non inserita" },
        { "building 3", { "Rossi", "", "3", "A", "2", "3" },
            "La palazzina n°: 3 non esiste. Aggiungerla in Composizione Palazzina." },
        { "building x", { "Rossi", "", "x", "A", "2", "3" },
            "La palazzina n°: x non esiste. Aggiungerla in Composizione Palazzina." },
        { "no stair", { "Rossi", "", "1", "", "2", "3" }, "Scala non inserita" },
        { "stair C of 1", { "Rossi", "", "1", "C", "2", "3" },
            "La scala C non esiste nella palazzina n°: 1." },
        { "stair B of 2", { "Rossi", "", "2", "B", "2", "3" },
            "La scala B non esiste nella palazzina n°: 2." },
        { "no unit number", { "Rossi", "", "1", "A", "2", "" },
            "Non è stato inserito l'interno nel condomino Rossi" },
        { "unit number 7b", { "Rossi", "", "1", "A", "2", "7b" },
            "Attenzione. L'interno non puo' essere inserito alfanumerico" },
        { "unit number 40000", { "Rossi", "", "1", "A", "2", "40000" },
            "Attenzione. L'interno deve essere un numero intero da 0 a 32767." },
        { "unit number of 20 digits", { "Rossi", "", "1", "A", "2", "99999999999999999999" },
            "Attenzione. L'interno deve essere un numero intero da 0 a 32767." },
        { "Bianchi's key, other case", { "bianchi", "", "1", "A", "3", "5" },
            "Esiste già un condomino bianchi nella palazzina n°: 1, scala A, interno 5." },
    };
    const QStringList before = archive();
    for (const auto &c : cases) {
        const IdentityChange::Outcome outcome = IdentityChange::run(project.path(), rossi, c.identity);
        EXPECT_EQ(outcome.result, IdentityChange::Result::Refused) << c.what;
        EXPECT_EQ(outcome.message, c.message) << c.what;
    }
    EXPECT_EQ(archive(), before);

    // The limits themselves are allowed, and the unit may keep its own key.
    UnitIdentity longest = valid;
    longest.owner = QString(150, u'x');
    longest.description = QString(70, u'd');
    EXPECT_EQ(IdentityChange::run(project.path(), rossi, longest).result, IdentityChange::Result::Changed);
    EXPECT_EQ(IdentityChange::run(project.path(), rossi, valid).result, IdentityChange::Result::Changed);
    EXPECT_EQ(
        field(QStringLiteral("ESPRESSIONI"), bedroom, "NOME_CONDOMINO").toString(), QStringLiteral("Rossi"));
}

// A unit may go only where the register can show it again: onto a stair its building lists
// ("Nessuna" or a letter; "Nessuna" alone for 0 stairs), never onto a building whose number of
// stairs is not given, where the register shows no stair at all. And an owner that differs from
// another unit's of the same place only by case or by blanks around it is that owner.
TEST_F(UnitIdentityTest, TheNewPlaceMustBeOneTheRegisterShowsAndTheOwnerOneOfItsOwn)
{
    building(3, QVariant(), false);
    building(4, 0, false);
    const QString noStairs = QStringLiteral(
        "Nessuna scala inserita nella palazzina n°: %1. Inserire il numero delle scale in Composizione "
        "Palazzina.");
    const QString clash
        = QStringLiteral("Esiste già un condomino %1 nella palazzina n°: 1, scala A, interno 5.");
    // The panel offers no stair of such a building, and the register none either.
    register_::IdentityPanel *panel = openPanel();
    const auto stairs = [panel] {
        QStringList texts;
        for (int i = 0; i < panel->Combo4->count(); ++i)
            texts << panel->Combo4->itemText(i);
        return texts;
    };
    panel->Combo3->setCurrentIndex(panel->Combo3->findText(QStringLiteral("3")));
    EXPECT_EQ(stairs(), QStringList());
    panel->Combo3->setCurrentIndex(panel->Combo3->findText(QStringLiteral("4")));
    EXPECT_EQ(stairs(), QStringList { QStringLiteral("Nessuna") });
    panel->Combo3->setCurrentIndex(panel->Combo3->findText(QStringLiteral("1")));
    EXPECT_EQ(stairs(), (QStringList { "Nessuna", "A", "B" }));

    register_::frm_cod_piani *form = open();
    boxes.clear();
    choose(form, QStringLiteral("3"), QString());
    EXPECT_EQ(
        boxes.messages(), QStringList { QStringLiteral("Nessuna scala inserita nella palazzina n°: 3") });
    EXPECT_EQ(form->Combo2->count(), 0);
    boxes.clear();
    choose(form, QStringLiteral("4"), QString());
    EXPECT_TRUE(boxes.messages().isEmpty());
    ASSERT_EQ(form->Combo2->count(), 1);
    EXPECT_EQ(form->Combo2->itemText(0), QStringLiteral("Nessuna"));
    // The panel's stairs stay those of the building its own box shows, whatever the register picks.
    choose(form, QStringLiteral("2"), QString());
    EXPECT_EQ(panel->Combo3->currentText(), QStringLiteral("1"));
    EXPECT_EQ(stairs(), (QStringList { "Nessuna", "A", "B" }));

    const struct
    {
        const char *what;
        UnitIdentity identity;
        QString message; ///< empty: the change is made
    } cases[] = {
        { "Nessuna of a building without stairs", { "Rossi", "", "3", "Nessuna", "2", "3" },
            noStairs.arg(3) },
        { "A of a building of 0 stairs", { "Rossi", "", "4", "A", "2", "3" },
            QStringLiteral("La scala A non esiste nella palazzina n°: 4.") },
        { "Bianchi with a trailing blank", { "Bianchi ", "", "1", "A", "3", "5" },
            clash.arg(QStringLiteral("Bianchi ")) },
        { "Bianchi with blanks and capitals", { "  BIANCHI  ", "", "1", "A", "3", "5" },
            clash.arg(QStringLiteral("  BIANCHI  ")) },
        { "Bianchi's name on another unit number", { "Bianchi ", "", "1", "A", "3", "6" }, {} },
        { "Nessuna of a building with stairs", { "Rossi", "", "1", "Nessuna", "2", "3" }, {} },
        { "Nessuna of a building of 0 stairs", { "Rossi", "", "4", "Nessuna", "2", "3" }, {} },
    };
    for (const auto &c : cases) {
        const QStringList before = archive();
        const IdentityChange::Outcome outcome = IdentityChange::run(project.path(), rossi, c.identity);
        if (c.message.isEmpty()) {
            EXPECT_EQ(outcome.result, IdentityChange::Result::Changed) << c.what;
            continue;
        }
        EXPECT_EQ(outcome.result, IdentityChange::Result::Refused) << c.what;
        EXPECT_EQ(outcome.message, c.message) << c.what;
        EXPECT_EQ(archive(), before) << c.what;
    }
}

// The panel's unit number is digits alone under either separator: a number written any other way
// is refused with the form expected, never stored as 20, 1000 or -1; digits are stored as typed.
TEST_F(UnitIdentityTest, ThePanelsUnitNumberIsDigitsAlone)
{
    const QString digitsOnly = QStringLiteral(
        "Attenzione. L'interno si scrive con le sole cifre, senza segni né separatori: per esempio 12.");
    const struct
    {
        char16_t separator;
        const char *typed;
        std::optional<int> stored; ///< none: refused
    } cases[] = {
        { u',', "2.0", std::nullopt },
        { u',', "1.000", std::nullopt },
        { u',', "2,0", std::nullopt },
        { u',', "-1", std::nullopt },
        { u',', "+7", std::nullopt },
        { u'.', "2,0", std::nullopt },
        { u'.', "1,000", std::nullopt },
        { u'.', "2.0", std::nullopt },
        { u'.', "-1", std::nullopt },
        { u',', " 12 ", 12 },
        { u'.', "012", 12 },
        { u'.', "0", 0 },
    };
    register_::IdentityPanel *panel = openPanel();
    for (const auto &c : cases) {
        SCOPED_TRACE(c.typed);
        platform::vb::DecimalSeparatorScope separator { QChar(c.separator) };
        const QStringList before = archive();
        panel->Text2->setText(QString::fromLatin1(c.typed));
        boxes.clear();
        boxes.answer(platform::MsgResult::Yes);
        panel->Command3_Click();
        ASSERT_EQ(boxes.messages().size(), 2);
        if (c.stored) {
            EXPECT_EQ(boxes.messages().at(1), QStringLiteral("Modifica effettuata."));
            EXPECT_EQ(field(QStringLiteral("CODIF_PIANI"), rossi, "INTERNO").toInt(), *c.stored);
            EXPECT_EQ(field(QStringLiteral("ESPRESSIONI"), kitchen, "INTERNO").toInt(), *c.stored);
            panel = openPanel();
        } else {
            EXPECT_EQ(boxes.messages().at(1), digitsOnly);
            EXPECT_EQ(archive(), before);
            EXPECT_FALSE(panel->isHidden());
        }
    }
}

TEST_F(UnitIdentityTest, AFailedWriteLeavesEverythingAsItWasAndSaysSo)
{
    register_::IdentityPanel *panel = openPanel();
    panel->Text3->setText(QStringLiteral("Verdi"));
    // The unit row is written last: rooms and user tables are already written when it fails.
    platform::Database::open(project.path())
        .exec(QStringLiteral("CREATE TRIGGER guasto BEFORE UPDATE ON CODIF_PIANI "
                             "BEGIN SELECT RAISE(ABORT, 'disco pieno'); END"));
    const QStringList before = archive();
    boxes.answer(platform::MsgResult::Yes);
    panel->Command3_Click();

    ASSERT_EQ(boxes.shown().size(), 2);
    EXPECT_TRUE(
        boxes.shown().at(1).text.startsWith(QStringLiteral("I dati di Rossi non sono stati modificati.")))
        << boxes.shown().at(1).text.toStdString();
    EXPECT_EQ(boxes.shown().at(1).icon, platform::MsgIcon::Critical);
    EXPECT_FALSE(panel->isHidden());
    EXPECT_EQ(archive(), before);
    EXPECT_EQ(
        field(QStringLiteral("ESPRESSIONI"), kitchen, "NOME_CONDOMINO").toString(), QStringLiteral("Rossi"));
}

// A workspace open on the unit being renamed is closed first, storing its totals under the key
// that still exists; one open on another unit stays.
TEST_F(UnitIdentityTest, AWorkspaceShowingTheRenamedUnitIsClosedFirst)
{
    for (const bool onRossi : { true, false }) {
        workspace::Unit unit;
        unit.key = onRossi ? workspace::UnitKey { QStringLiteral("Rossi"), QStringLiteral("1"),
            QStringLiteral("A"), QStringLiteral("2"), QStringLiteral("3") }
                           : workspace::UnitKey { QStringLiteral("Bianchi"), QStringLiteral("1"),
                                 QStringLiteral("A"), QStringLiteral("1"), QStringLiteral("5") };
        unit.floorHeight = 3.0;
        workspace::frm_ins_coeff::open(unit);
        ASSERT_NE(loadedWorkspace(), nullptr);
        boxes.clear();

        register_::IdentityPanel *panel = openPanel();
        panel->Text3->setText(onRossi ? QStringLiteral("Verdi") : QStringLiteral("Rossi"));
        boxes.answer(platform::MsgResult::Yes);
        panel->Command3_Click();
        processDeletes();

        if (onRossi) {
            EXPECT_EQ(loadedWorkspace(), nullptr);
            // Closing stored the totals (3*4 + 2*5 = 22) on the unit's row, which then took the new name.
            EXPECT_EQ(field(QStringLiteral("CODIF_PIANI"), rossi, "PROPRIETARIO").toString(),
                QStringLiteral("Verdi"));
            EXPECT_DOUBLE_EQ(field(QStringLiteral("CODIF_PIANI"), rossi, "TOT_SUP").toDouble(), 22.0);
        } else {
            ASSERT_NE(loadedWorkspace(), nullptr);
            EXPECT_EQ(loadedWorkspace()->unit()->key.owner, QStringLiteral("Bianchi"));
        }
        for (const auto &shown : boxes.shown())
            EXPECT_FALSE(shown.text.startsWith(QStringLiteral("Totali non memorizzati")))
                << shown.text.toStdString();
    }
}

TEST_F(UnitIdentityTest, Screenshot)
{
    const QString folder = qEnvironmentVariable("ZAV_SCREENSHOT_DIR");
    if (folder.isEmpty())
        GTEST_SKIP() << "set ZAV_SCREENSHOT_DIR to write the picture";
    register_::IdentityPanel *panel = openPanel();
    register_::frm_cod_piani *form = open();
    form->show();
    EXPECT_FALSE(panel->isHidden());
    EXPECT_TRUE(zav::test::pictureWritten(form->grab(), folder, QStringLiteral("unit-identity-panel.png")));
}

} // namespace
} // namespace zav::test
