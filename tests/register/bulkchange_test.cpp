#include "register/bulkchange.h"
#include "register/bulkpanel.h"

#include "register/unitregisterfixture.h"
#include "support/screenshots.h"

#include <QCheckBox>
#include <QDir>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

#include <stdexcept>

namespace zav::test {
namespace {

using register_::BulkChange;
using register_::BulkPanel;

TEST(BulkChangeNumbers, BoxesCountsAndTheFirstUnitNumber)
{
    // Boxes read in the system's number format: a grouping mark only between groups of three digits
    // of the whole part; anywhere else the text is refused rather than misread.
    const struct
    {
        char16_t separator;
        const char *typed;
        std::optional<double> number;
    } boxes[] = {
        { u',', "3", 3.0 },
        { u',', "0,5", 0.5 },
        { u',', "-0,5", -0.5 },
        { u',', " 2,25 ", 2.25 },
        { u',', "abc", std::nullopt },
        { u',', "1e400", std::nullopt },
        { u',', "", std::nullopt },
        { u',', "1.000", 1000.0 },
        { u',', "1.000,5", 1000.5 },
        { u',', "0.5", std::nullopt },
        { u',', "4.20", std::nullopt },
        { u'.', "2.5", 2.5 },
        { u'.', "1,000", 1000.0 },
        { u'.', "-0,5", std::nullopt },
        { u'.', "0,84", std::nullopt },
        { u'.', "3,5", std::nullopt },
    };
    for (const auto &c : boxes) {
        platform::vb::DecimalSeparatorScope scope { QChar(c.separator) };
        EXPECT_EQ(BulkChange::boxNumber(QString::fromLatin1(c.typed)), c.number) << c.typed;
    }

    // The count: a whole number typed whole, digits only, from 1 to the most allowed; anything
    // else is no count rather than the number its first digits make.
    const struct
    {
        const char *typed;
        std::optional<qint64> count;
    } counts[] = { { "3", 3 }, { " 12 ", 12 }, { "007", 7 }, { "1", 1 }, { "100000", 100000 },
        { "100001", std::nullopt }, { "99999999999999999999", std::nullopt }, { "0", std::nullopt },
        { "", std::nullopt }, { "1.000", std::nullopt }, { "1,000", std::nullopt }, { "2,5", std::nullopt },
        { "2.7", std::nullopt }, { "0,9", std::nullopt }, { "12abc", std::nullopt },
        { "4 unità", std::nullopt }, { "&H10", std::nullopt }, { "abc", std::nullopt },
        { "-5", std::nullopt }, { "+3", std::nullopt }, { "1e3", std::nullopt }, { "1 2", std::nullopt },
        { "\u0663", std::nullopt } };
    for (const QChar separator : { QChar(u','), QChar(u'.') }) {
        platform::vb::DecimalSeparatorScope scope { separator };
        for (const auto &c : counts)
            EXPECT_EQ(BulkChange::duplicateCount(QString::fromUtf8(c.typed)), c.count) << c.typed;
    }

    // The typed number + 1, halves to the even whole number.
    const std::pair<double, qint64> firsts[] = { { 5, 6 }, { 1.5, 2 }, { 2.5, 4 }, { 0.5, 2 }, { -1.5, 0 } };
    for (const auto &[typed, first] : firsts)
        EXPECT_EQ(BulkChange::firstUnitNumber(typed), first) << typed;
    EXPECT_EQ(BulkChange::firstUnitNumber(1e300), std::nullopt);
}

/** @brief Four units on building 2, stair A (floors "1" to "4", unit numbers 1 to 4), the register on them.
 */
class BulkPanelTest : public UnitRegisterFixture
{
protected:
    void SetUp() override
    {
        UnitRegisterFixture::SetUp();
        for (int i = 1; i <= 4; ++i)
            units.append(project.unit(
                QStringLiteral("Unità %1").arg(i), 2, QStringLiteral("A"), QString::number(i), i, 3.0));
        room = project.room(QStringLiteral("Unità 1"), 2, QStringLiteral("A"), 1, {});
        form = open();
        choose(form, QStringLiteral("2"), QStringLiteral("A"));
        makeCurrent(form, units[0]);
    }

    BulkPanel *openPanel()
    {
        boxes.answer(platform::MsgResult::Yes);
        form->Command5_Click();
        return form->Frame2;
    }

    QVariant field(qint64 unit, const char *name) const
    {
        return project.value(QStringLiteral("CODIF_PIANI"), unit, QString::fromLatin1(name));
    }

    /** @brief The rows added to building 2, stair A after the four units, in stored order. */
    platform::Recordset added() const
    {
        return platform::Database::open(project.path())
            .query(
                QStringLiteral("SELECT NUM_PAL, SCALA, INTERNO, HTERRA, SIGLA, RIGA, PROPRIETARIO, HPIANO, "
                               "HASCENSORE FROM CODIF_PIANI WHERE rowid > ? ORDER BY rowid"),
                { units.last() });
    }

    QList<qint64> units;
    qint64 room = 0;
    register_::frm_cod_piani *form = nullptr;
};

TEST_F(BulkPanelTest, ModificaWritesTheRowsInTheOrderTheyWereSelected)
{
    BulkPanel *panel = openPanel();
    ASSERT_EQ(boxes.shown().size(), 1);
    EXPECT_EQ(boxes.shown().at(0).text,
        QStringLiteral(
            "Se si modificano i dati dei condomini l'archivio coefficienti non verrà aggiornato. Per "
            "effettuare delle modifiche usare il tasto Modifica Dati. Vuoi continuare ? "));
    EXPECT_EQ(boxes.shown().at(0).title, QStringLiteral("!!! Informazioni !!!"));
    ASSERT_FALSE(panel->isHidden());
    EXPECT_EQ(panel->Text1->text(), QStringLiteral("Unità 1"));
    EXPECT_EQ(panel->Text4->text(), QStringLiteral("1"));
    EXPECT_EQ(panel->Text6->text(), QStringLiteral("3"));
    EXPECT_EQ(panel->Combo6->count(), 53); // 52 floor codes and an empty entry

    const QStringList rooms = dump(QStringLiteral("ESPRESSIONI"));
    for (int i : { 2, 0, 1 })
        form->TDBGrid1->selectBookmark(units[i]);
    // "Descr.:" alone changes nothing.
    panel->Check7->setChecked(true);
    panel->Text11->setText(QStringLiteral("Box"));
    const QStringList before = dump(QStringLiteral("CODIF_PIANI"));
    panel->Command7_Click();
    EXPECT_EQ(dump(QStringLiteral("CODIF_PIANI")), before);

    panel->Check1->setChecked(true);
    panel->Text1->setText(QStringLiteral("Verdi"));
    panel->Check3->setChecked(true);
    panel->Text4->setText(QStringLiteral("20"));
    panel->Check4->setChecked(true);
    panel->Text9->setText(QStringLiteral("3"));
    panel->Text5->setText(QStringLiteral("3"));
    panel->Check6->setChecked(true);
    panel->Text10->setText(QStringLiteral("10"));
    panel->Text7->setText(QStringLiteral("-0,5"));
    boxes.clear();
    panel->Command7_Click();
    EXPECT_TRUE(boxes.shown().isEmpty());
    // Done once, the panel closes.
    EXPECT_TRUE(panel->isHidden());

    // Selected third, first, second: the heights step in that order.
    const struct
    {
        int unit;
        double ground;
        double lift;
    } expected[] = { { 2, 6.0, 9.5 }, { 0, 9.0, 9.0 }, { 1, 12.0, 8.5 } };
    for (const auto &e : expected) {
        const qint64 unit = units[e.unit];
        EXPECT_DOUBLE_EQ(field(unit, "HTERRA").toDouble(), e.ground) << e.unit;
        EXPECT_DOUBLE_EQ(field(unit, "HASCENSORE").toDouble(), e.lift) << e.unit;
        EXPECT_EQ(field(unit, "PROPRIETARIO").toString(), QStringLiteral("Verdi"));
        EXPECT_EQ(field(unit, "DESCRIZIONE").toString(), QStringLiteral("Box"));
        EXPECT_EQ(field(unit, "INTERNO").toInt(), e.unit + 1); // the numbers stay
    }
    EXPECT_EQ(field(units[3], "PROPRIETARIO").toString(), QStringLiteral("Unità 4"));
    EXPECT_TRUE(field(units[3], "HTERRA").isNull());
    EXPECT_EQ(dump(QStringLiteral("ESPRESSIONI")), rooms);
    EXPECT_EQ(form->Data1->value(form->Data1->rowOf(units[0]), QStringLiteral("PROPRIETARIO")).toString(),
        QStringLiteral("Verdi"));
}

TEST_F(BulkPanelTest, DuplicaAddsNumberedUnitsWithSteppedHeights)
{
    BulkPanel *panel = openPanel();
    EXPECT_TRUE(panel->Command7->isEnabled());
    EXPECT_FALSE(panel->Command9->isEnabled());
    panel->Check2->setChecked(true);
    panel->Combo6->setCurrentIndex(panel->Combo6->findText(QStringLiteral("2")));
    panel->Check3->setChecked(true);
    panel->Text4->setText(QStringLiteral("5"));
    panel->Check4->setChecked(true);
    panel->Text9->setText(QStringLiteral("3"));
    panel->Text5->setText(QStringLiteral("3"));
    panel->Check6->setChecked(true);
    panel->Text10->clear();
    panel->Text7->clear();
    panel->Text8->setText(QStringLiteral("3"));
    EXPECT_FALSE(panel->Command7->isEnabled());
    EXPECT_TRUE(panel->Command9->isEnabled());
    boxes.clear();
    panel->Command9_Click();
    // Said once, with the count and where the units went.
    EXPECT_EQ(boxes.messages(),
        QStringList { QStringLiteral("Sono state aggiunte 3 unità alla palazzina 2, scala A.") });

    platform::Recordset rows = added();
    ASSERT_EQ(rows.recordCount(), 3);
    for (int k = 0; k < 3; ++k) {
        EXPECT_EQ(rows.value(k, 0).toInt(), 2);
        EXPECT_EQ(rows.value(k, 1).toString(), QStringLiteral("A"));
        EXPECT_EQ(rows.value(k, 2).toInt(), 6 + k);
        EXPECT_DOUBLE_EQ(rows.value(k, 3).toDouble(), 6.0 + 3.0 * k);
        EXPECT_EQ(rows.value(k, 4).toString(), QStringLiteral("2"));
        EXPECT_EQ(rows.value(k, 5).toInt(), 2);
        EXPECT_TRUE(rows.value(k, 6).isNull()); // no box sets the owner
        EXPECT_TRUE(rows.value(k, 7).isNull());
        EXPECT_DOUBLE_EQ(rows.value(k, 8).toDouble(), 0.0); // empty start and step
    }
    EXPECT_EQ(panel->Text10->text(), QStringLiteral("0"));
    EXPECT_EQ(panel->Text7->text(), QStringLiteral("0"));
    EXPECT_EQ(form->Data1->recordCount(), 7);

    // The count "2" adds two more, numbered from the same start.
    panel->Text8->setText(QStringLiteral("2"));
    boxes.clear();
    panel->Command9_Click();
    rows = added();
    ASSERT_EQ(rows.recordCount(), 5);
    EXPECT_EQ(rows.value(3, 2).toInt(), 6);
    EXPECT_EQ(rows.value(4, 2).toInt(), 7);
    EXPECT_DOUBLE_EQ(rows.value(4, 3).toDouble(), 9.0);
    EXPECT_EQ(boxes.messages(),
        QStringList { QStringLiteral("Sono state aggiunte 2 unità alla palazzina 2, scala A.") });

    // One unit is said in the singular.
    panel->Text8->setText(QStringLiteral("1"));
    boxes.clear();
    panel->Command9_Click();
    EXPECT_EQ(added().recordCount(), 6);
    EXPECT_EQ(boxes.messages(),
        QStringList { QStringLiteral("È stata aggiunta 1 unità alla palazzina 2, scala A.") });
}

// The count of new units, typed under either separator: a whole number of digits adds that many
// units; anything else adds none and says what was typed and how to write a count.
TEST_F(BulkPanelTest, ACountIsAWholeNumberTypedWholeOrRefused)
{
    BulkPanel *panel = openPanel();
    panel->Check5->setChecked(true);
    panel->Text6->setText(QStringLiteral("3"));
    const auto refusal = [](const char *typed) {
        return QStringLiteral("Attenzione. Il numero di dupliche \"%1\" non è valido: scrivere un numero "
                              "intero da 1 a 100000 con le sole cifre, senza punti, virgole o segni, per "
                              "esempio 12.")
            .arg(QString::fromUtf8(typed));
    };
    const struct
    {
        const char *typed;
        int rows; ///< new units; 0 with the refusal
    } cases[] = {
        { "2", 2 },
        { " 3 ", 3 },
        { "1.000", 0 },
        { "1,000", 0 },
        { "2,5", 0 },
        { "2.5", 0 },
        { "0,9", 0 },
        { "12abc", 0 },
        { "&H10", 0 },
        { "abc", 0 },
        { "-5", 0 },
        { "0", 0 },
        { "100001", 0 },
        { "1e400", 0 },
        { "\u0663", 0 },
    };
    for (const QChar separator : { QChar(u','), QChar(u'.') }) {
        platform::vb::DecimalSeparatorScope scope { separator };
        for (const auto &c : cases) {
            SCOPED_TRACE(testing::Message() << "separator " << char(separator.unicode()) << ", " << c.typed);
            const QStringList before = dump(QStringLiteral("CODIF_PIANI"));
            const int count = added().recordCount();
            panel->Text8->setText(QString::fromUtf8(c.typed));
            boxes.clear();
            panel->Command9_Click();
            if (c.rows > 0) {
                EXPECT_EQ(boxes.messages(),
                    QStringList { QStringLiteral("Sono state aggiunte %1 unità alla palazzina 2, scala A.")
                                      .arg(c.rows) });
                EXPECT_EQ(added().recordCount(), count + c.rows);
            } else {
                EXPECT_EQ(boxes.messages(), QStringList { refusal(c.typed) });
                EXPECT_EQ(dump(QStringLiteral("CODIF_PIANI")), before);
            }
        }
    }
}

// A double click as the mouse makes it: press, release, the second press as a double click, release.
void doubleClick(QWidget *button)
{
    QTest::mouseClick(button, Qt::LeftButton);
    QTest::mouseDClick(button, Qt::LeftButton);
    QTest::mouseRelease(button, Qt::LeftButton);
}

// "Duplica" with one duplicate, then "Modifica", each double-clicked: one unit is added and the
// selected one changed once; after each run the panel closes, and opening it again asks again.
TEST_F(BulkPanelTest, ADoubleClickDuplicatesOnceAndThePanelCloses)
{
    BulkPanel *panel = openPanel();
    panel->Check1->setChecked(true);
    panel->Text1->setText(QStringLiteral("Neri Paolo"));
    panel->Check3->setChecked(true);
    panel->Text4->setText(QStringLiteral("4"));
    panel->Text8->setText(QStringLiteral("1"));
    form->show();
    ASSERT_TRUE(panel->Command9->isVisible());
    boxes.clear();
    doubleClick(panel->Command9);
    platform::Recordset rows = added();
    ASSERT_EQ(rows.recordCount(), 1);
    EXPECT_EQ(rows.value(0, 6).toString(), QStringLiteral("Neri Paolo"));
    EXPECT_EQ(rows.value(0, 2).toInt(), 5);
    EXPECT_FALSE(panel->isVisible());
    // One run, one message.
    EXPECT_EQ(boxes.messages(),
        QStringList { QStringLiteral("È stata aggiunta 1 unità alla palazzina 2, scala A.") });

    // "Modifica": the floor height of the first unit, written once; the panel asks before it opens.
    boxes.clear();
    form->TDBGrid1->selectBookmark(units[0]);
    panel = openPanel();
    ASSERT_EQ(boxes.shown().size(), 1);
    EXPECT_TRUE(panel->isVisible());
    for (QCheckBox *box : { panel->Check1, panel->Check3 })
        box->setChecked(false);
    panel->Text8->clear();
    panel->Check5->setChecked(true);
    panel->Text6->setText(QStringLiteral("2,9"));
    doubleClick(panel->Command7);
    EXPECT_DOUBLE_EQ(field(units[0], "HPIANO").toDouble(), 2.9);
    EXPECT_FALSE(panel->isVisible());
    EXPECT_EQ(added().recordCount(), 1);
}

TEST_F(BulkPanelTest, BadInputAddsNothingAndSaysWhy)
{
    BulkPanel *panel = openPanel();
    panel->Check4->setChecked(true);
    panel->Text9->setText(QStringLiteral("3"));
    panel->Text8->setText(QStringLiteral("2"));
    const QStringList before = dump(QStringLiteral("CODIF_PIANI"));

    // Under the comma: a number is refused with the form it takes.
    const QString howToWrite
        = QStringLiteral(": scrivere i decimali dopo la virgola e il punto solo fra gruppi di tre "
                         "cifre della parte intera, per esempio 1.234,5.");
    const struct
    {
        const char *step;
        const char *count;
        QString message; ///< empty: nothing said
    } cases[] = {
        { "abc", "2", "Attenzione. Il valore \"abc\" di \"Step H_terra:\" non è un numero" + howToWrite },
        { "1e400", "2", "Attenzione. Il valore \"1e400\" di \"Step H_terra:\" non è un numero" + howToWrite },
        { "0.5", "2", "Attenzione. Il valore \"0.5\" di \"Step H_terra:\" non è un numero" + howToWrite },
        { "1", "100000", "Verranno aggiunte 100000 unità. Vuoi continuare ?" }, // answered No
    };
    for (const auto &c : cases) {
        panel->Text5->setText(QString::fromLatin1(c.step));
        panel->Text8->setText(QString::fromLatin1(c.count));
        boxes.clear();
        panel->Command9_Click();
        EXPECT_EQ(boxes.messages(), c.message.isEmpty() ? QStringList() : QStringList { c.message })
            << c.count;
        EXPECT_EQ(dump(QStringLiteral("CODIF_PIANI")), before) << c.step << " " << c.count;
    }

    // A unit number beyond what a unit number can be.
    panel->Check3->setChecked(true);
    panel->Text4->setText(QStringLiteral("32766"));
    panel->Text8->setText(QStringLiteral("2"));
    boxes.clear();
    panel->Command9_Click();
    EXPECT_EQ(boxes.messages(),
        QStringList {
            QStringLiteral("Attenzione. L'interno deve essere un numero intero da -32768 a 32767.") });

    // Without a stair there is nowhere to add the units.
    choose(form, QStringLiteral("1"), QString());
    panel->Text4->setText(QStringLiteral("1"));
    boxes.clear();
    panel->Command9_Click();
    EXPECT_EQ(boxes.messages(), QStringList { QStringLiteral("Palazzina o Scala non inserita") });
    EXPECT_EQ(dump(QStringLiteral("CODIF_PIANI")), before);
}

TEST_F(BulkPanelTest, ThePanelKeepsItsChoicesBetweenOpenings)
{
    BulkPanel *panel = openPanel();
    panel->Command6_Click();
    for (QCheckBox *box : { panel->Check1, panel->Check2, panel->Check3, panel->Check4, panel->Check5,
             panel->Check6, panel->Check7 })
        EXPECT_TRUE(box->isChecked()) << box->objectName().toStdString();
    panel->Check5->setChecked(false);
    panel->Text5->setText(QStringLiteral("0,5"));
    panel->Text7->setText(QStringLiteral("0,25"));
    panel->Text8->setText(QStringLiteral("2"));
    panel->Command8_Click();
    EXPECT_TRUE(panel->isHidden());

    makeCurrent(form, units[1]);
    openPanel();
    EXPECT_FALSE(panel->isHidden());
    EXPECT_FALSE(panel->Check5->isChecked());
    EXPECT_TRUE(panel->Check7->isChecked());
    EXPECT_EQ(panel->Text5->text(), QStringLiteral("0,5"));
    EXPECT_EQ(panel->Text7->text(), QStringLiteral("0,25"));
    EXPECT_EQ(panel->Text8->text(), QStringLiteral("2"));
    EXPECT_TRUE(panel->Command9->isEnabled());
    EXPECT_EQ(panel->Text1->text(), QStringLiteral("Unità 2"));
    EXPECT_EQ(panel->Text4->text(), QStringLiteral("2"));
    EXPECT_EQ(panel->Combo6->currentText(), QStringLiteral("2"));
    panel->Text8->clear();
    EXPECT_TRUE(panel->Command7->isEnabled());
    EXPECT_FALSE(panel->Command9->isEnabled());
    panel->Command8_Click();

    // No is the end of it; with no building and no stair nothing is asked; with one of them the
    // missing choice is said.
    boxes.clear();
    boxes.answer(platform::MsgResult::No);
    form->Command5_Click();
    EXPECT_TRUE(panel->isHidden());
    form->Combo1->setCurrentIndex(-1);
    form->Combo2->setCurrentIndex(-1);
    boxes.clear();
    form->Command5_Click();
    EXPECT_TRUE(boxes.shown().isEmpty());
    choose(form, QStringLiteral("2"), QString());
    form->Command5_Click();
    EXPECT_EQ(boxes.messages(), QStringList { QStringLiteral("Palazzina o Scala non inserita") });
    EXPECT_TRUE(panel->isHidden());
}

TEST_F(BulkPanelTest, Screenshot)
{
    const QString folder = qEnvironmentVariable("ZAV_SCREENSHOT_DIR");
    if (folder.isEmpty())
        GTEST_SKIP() << "set ZAV_SCREENSHOT_DIR to write the picture";
    BulkPanel *panel = openPanel();
    panel->Check4->setChecked(true);
    panel->Text5->setText(QStringLiteral("3"));
    form->show();
    EXPECT_TRUE(zav::test::pictureWritten(form->grab(), folder, QStringLiteral("unit-bulk-panel.png")));
}

} // namespace
} // namespace zav::test
