// The room grid of the workspace driven by key events on the offscreen platform: the separators
// typed per column and view, Enter's evaluation, the window bands, cleared cells, new rooms, the
// coefficient cell buttons and the CAD program's keystrokes. Expected values are worked by hand;
// the light coefficients are those of the shipped window table (bands 1 to 8: 1,00 0,96 0,92 0,88
// 0,84 0,80 0,70 0,60).

#include "platform/ui/datagrid.h"
#include "platform/ui/datasource.h"
#include "support/cadautomationrecorder.h"
#include "workspace/unitviews.h"
#include "workspacefixture.h"

#include <QClipboard>
#include <QCloseEvent>
#include <QGuiApplication>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

#include <gtest/gtest.h>

using zav::engine::VAR_GBL;
using zav::platform::CadAutomationRecorder;
using zav::platform::Database;
using zav::platform::FormRegistry;
using zav::platform::MsgIcon;
using zav::test::num;
using zav::workspace::frm_ins_coeff;
using zav::workspace::WorkspaceCommands;
namespace vb = zav::platform::vb;

namespace {

const QString kOwner = QStringLiteral("Bianchi");

/** One unit, Bianchi (1/A floor 2 number 4, height 3), with two rooms; the grid on tab 1. */
class RoomGridTest : public zav::test::WorkspaceTest
{
protected:
    void open(QChar decimalSeparator)
    {
        separator.emplace(decimalSeparator);
        project.header(true, false, false, 1);
        project.unit(kOwner, 1, QStringLiteral("A"), QStringLiteral("2"), 4, 3.0);
        first = project.room(kOwner, 1, QStringLiteral("A"), 4,
            { { QStringLiteral("DESCRIZIONE"), QStringLiteral("Cucina") },
                { QStringLiteral("ESPRESSIONE"), QStringLiteral("3*4") },
                { QStringLiteral("MQ"), QStringLiteral("12") }, { QStringLiteral("COEF4"), num("1.1") } });
        second = project.room(kOwner, 1, QStringLiteral("A"), 4,
            { { QStringLiteral("DESCRIZIONE"), QStringLiteral("Bagno") },
                { QStringLiteral("MQ"), QStringLiteral("4") } });
        WorkspaceCommands::ins_coeff();
        form = loadedWorkspace();
        ASSERT_NE(form, nullptr);
        form->TDBGrid1->setFocus();
    }

    void TearDown() override
    {
        WorkspaceTest::TearDown();
        separator.reset();
    }

    QVariant stored(qint64 room, const char *field) const
    {
        return project.value(QStringLiteral("ESPRESSIONI"), room, QString::fromLatin1(field));
    }
    void store(qint64 room, const char *field, const QVariant &value)
    {
        Database::open(project.path())
            .update(QStringLiteral("ESPRESSIONI"), room, { { QString::fromLatin1(field), value } });
        form->Data1->refresh();
    }

    /** The editor of the cell being edited (those of ended edits linger hidden until deleted). */
    QLineEdit *editor() const
    {
        for (QLineEdit *edit : form->TDBGrid1->viewport()->findChildren<QLineEdit *>()) {
            if (edit->isVisible())
                return edit;
        }
        return nullptr;
    }

    /** Types text into a cell of a row as the user does: the first key opens the cell's editor. */
    void type(int row, int column, const QString &text)
    {
        form->TDBGrid1->setCurrentIndex(form->TDBGrid1->model()->index(row, column));
        QTest::keyClick(form->TDBGrid1, text.at(0).toLatin1());
        ASSERT_NE(editor(), nullptr);
        QTest::keyClicks(editor(), text.mid(1));
    }
    /** Types a whole new text into a cell and presses Enter. */
    void enter(int row, int column, const QString &text)
    {
        form->TDBGrid1->setCurrentIndex(form->TDBGrid1->model()->index(row, column));
        form->TDBGrid1->edit(form->TDBGrid1->currentIndex());
        ASSERT_NE(editor(), nullptr);
        editor()->selectAll();
        if (text.isEmpty())
            QTest::keyClick(editor(), Qt::Key_Backspace);
        else
            QTest::keyClicks(editor(), text);
        QTest::keyClick(editor(), Qt::Key_Return);
    }
    void select(int tab) { form->TabStrip1->setCurrentIndex(tab - 1); }

    std::optional<vb::DecimalSeparatorScope> separator;
    qint64 first = 0, second = 0;
    frm_ins_coeff *form = nullptr;
};

class RoomGridSeparatorTest : public RoomGridTest, public ::testing::WithParamInterface<QChar>
{
protected:
    void SetUp() override
    {
        RoomGridTest::SetUp();
        open(GetParam());
    }
    bool comma() const { return GetParam() == u','; }
};

// --- Separators -----------------------------------------------------------------------------------

// "1.5", "1,5" and "1.000" typed into a column of a view, under both separators: what reaches the
// cell. A coefficient takes either separator as the system's, so there "1.000" is 1 under the comma
// too, not the thousand the grouping rule would read elsewhere.
TEST_P(RoomGridSeparatorTest, TypedSeparatorsFollowTheColumnAndTheView)
{
    const QString sys = QString(vb::decimalSeparator());
    const struct
    {
        const char *typed;
        const char *expression;
        const char *coefficient; ///< '#' standing for the system's separator
        const char *surfaceUnderComma;
        double coefficientValue;
    } typings[] = {
        { "1.5", "1.5", "1#5", "1,5", 1.5 },
        { "1,5", "1.5", "1#5", "1,5", 1.5 },
        { "1.000", "1.000", "1#000", "1,000", 1.0 },
    };
    struct Case
    {
        int tab;
        int column;
        const char *rule; ///< "expression", "area", "coefficient" or "typed"
    };
    const Case cases[] = {
        { 1, 1, "typed" }, // description
        { 1, 2, "expression" },
        { 1, 20, "expression" },
        { 1, 21, "area" },
        { 2, 6, "coefficient" },
        { 2, 9, "coefficient" },
        { 2, 13, "coefficient" },
        { 2, 14, "coefficient" },
        { 3, 14, "typed" }, // a coefficient-view column on another view
        { 3, 16, "typed" },
        { 10, 6, "typed" }, // the user table's weights
        { 10, 7, "typed" },
    };
    Database::open(project.path())
        .exec(QStringLiteral("CREATE TABLE TAB_PROVA (CONDOMINO TEXT, PALAZ TEXT, SCALA TEXT, PIANO TEXT, "
                             "INTERNO INTEGER, MQ TEXT, INPUT TEXT, MILLESIMI TEXT)"));
    Database::open(project.path())
        .insert(QStringLiteral("TAB_PROVA"), { { QStringLiteral("CONDOMINO"), kOwner } });
    VAR_GBL.tabella_selezionata = QStringLiteral("TAB_PROVA");
    for (const Case &c : cases) {
        for (const auto &typing : typings) {
            SCOPED_TRACE(QStringLiteral("tab %1 column %2 typed %3")
                             .arg(c.tab)
                             .arg(c.column)
                             .arg(typing.typed)
                             .toStdString());
            select(c.tab);
            type(0, c.column, QString::fromLatin1(typing.typed));
            const QString rule = QString::fromLatin1(c.rule);
            QString expected = QString::fromLatin1(typing.typed);
            if (rule == u"expression")
                expected = QString::fromLatin1(typing.expression);
            else if (rule == u"coefficient")
                expected = QString::fromLatin1(typing.coefficient).replace(u'#', sys);
            else if (rule == u"area" && comma())
                expected = QString::fromLatin1(typing.surfaceUnderComma);
            EXPECT_EQ(editor()->text(), expected);
            // Esc would close the workspace: the edit ends with Enter.
            QTest::keyClick(editor(), Qt::Key_Return);
            if (rule == u"area" && !comma() && expected.contains(u',')) {
                // Under the point a comma makes no number of the window's area: the cell refuses it
                // and stays in edit, until a number is typed.
                ASSERT_NE(editor(), nullptr);
                EXPECT_TRUE(editor()->isVisible());
                editor()->clear();
                QTest::keyClicks(editor(), QStringLiteral("1.5"));
                QTest::keyClick(editor(), Qt::Key_Return);
            }
            if (rule == u"coefficient") {
                const QByteArray field = zav::workspace::UnitViews::fields().at(c.column).toLatin1();
                EXPECT_EQ(vb::CDbl(stored(first, field.constData()).toString()),
                    std::optional<double>(typing.coefficientValue));
            }
        }
    }
}

// Pasted text goes through the conversion that typed text goes through: the expressions take a
// pasted comma as a point, the coefficients of their view the system's separator.
TEST_P(RoomGridSeparatorTest, PastedTextIsConvertedAsTypedText)
{
    const QString sys = QString(vb::decimalSeparator());
    const auto paste = [this](int row, int column, const QString &text) {
        QGuiApplication::clipboard()->setText(text);
        form->TDBGrid1->setCurrentIndex(form->TDBGrid1->model()->index(row, column));
        QTest::keySequence(form->TDBGrid1, QKeySequence::Paste);
    };
    paste(0, 2, QStringLiteral("3,5*2"));
    ASSERT_NE(editor(), nullptr);
    EXPECT_EQ(editor()->text(), QStringLiteral("3.5*2"));
    QTest::keyClick(editor(), Qt::Key_Return);
    EXPECT_EQ(stored(first, "ESPRESSIONE"), QVariant(QStringLiteral("3.5*2")));
    EXPECT_EQ(stored(first, "MQ"), QVariant(num("7.0")));
    EXPECT_TRUE(boxes.shown().isEmpty());

    select(2);
    for (const char *pasted : { "0.5", "0,5" }) {
        paste(0, 6, QString::fromLatin1(pasted));
        ASSERT_NE(editor(), nullptr);
        EXPECT_EQ(editor()->text(), QStringLiteral("0") + sys + QStringLiteral("5")) << pasted;
        QTest::keyClick(editor(), Qt::Key_Return);
        EXPECT_EQ(stored(first, "COEF1"), QVariant(QStringLiteral("0") + sys + QStringLiteral("5")))
            << pasted;
    }
}

// Numbers of an expression are read whole or refused, typed or pasted: the evaluator's one message,
// and the room keeps its surface. A sum beyond the doubles is an overflow, not a division by zero;
// empty parentheses are a syntax error; an expression of one character that is no number, or of
// opening parentheses only, is named in its message.
TEST_P(RoomGridSeparatorTest, ExpressionsThatCannotBeReadWholeKeepTheSurface)
{
    const QString typeMismatch = QStringLiteral("Tipo non corrispondente.");
    const QString syntax = QStringLiteral("Errore definito dall'applicazione o dall'oggetto.");
    const auto incomplete = [](const char *expression) {
        return QStringLiteral(
            "L'espressione \"%1\" non si può calcolare: è incompleta o ha parentesi non "
            "chiuse.\nScrivere numeri, operatori (+ - * / ^) e funzioni (SIN, COS, LOG, EXP, "
            "SQR) con ogni parentesi chiusa e il punto come segno decimale, per esempio "
            "4.20*3.15+1.5*2.")
            .arg(QString::fromLatin1(expression));
    };
    const struct
    {
        const char *typed;
        QString message;
    } cases[] = {
        { "1,000.5", typeMismatch }, // the typed comma becomes a point: 1.000.5
        { "(40)*1,000.5", typeMismatch },
        { "3.84.2", typeMismatch },
        { "1e308*10", QStringLiteral("Overflow.") },
        { "()", syntax },
        { ")(", syntax },
        { "x", incomplete("x") },
        { "+", incomplete("+") },
        { "(", incomplete("(") },
        { "((", incomplete("((") },
        { "(2", typeMismatch },
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.typed);
        for (const bool pasted : { false, true }) {
            boxes.clear();
            store(first, "MQ", QStringLiteral("12"));
            if (pasted) {
                QGuiApplication::clipboard()->setText(QString::fromLatin1(c.typed));
                form->TDBGrid1->setCurrentIndex(form->TDBGrid1->model()->index(0, 2));
                QTest::keySequence(form->TDBGrid1, QKeySequence::Paste);
                ASSERT_NE(editor(), nullptr);
                QTest::keyClick(editor(), Qt::Key_Return);
            } else {
                enter(0, 2, QString::fromLatin1(c.typed));
            }
            EXPECT_EQ(boxes.messages(), QStringList { c.message }) << pasted;
            EXPECT_EQ(stored(first, "MQ"), QVariant(QStringLiteral("12"))) << pasted;
        }
    }
}

// --- Enter ------------------------------------------------------------------------------------------

TEST_P(RoomGridSeparatorTest, EnterOnTheExpressionGivesTheSurfaceSavesAndTotals)
{
    enter(0, 2, QStringLiteral("3*4,5"));
    EXPECT_EQ(stored(first, "ESPRESSIONE"), QVariant(QStringLiteral("3*4.5")));
    EXPECT_EQ(stored(first, "MQ"), QVariant(num("13.5")));
    EXPECT_EQ(form->Label14->text(), num("17.5"));
    EXPECT_TRUE(boxes.shown().isEmpty());

    // An expression that cannot be evaluated: the evaluator's one message, and the room keeps its
    // surface, which the total goes on counting.
    enter(0, 2, QStringLiteral("3*"));
    EXPECT_EQ(boxes.shown().size(), 1);
    EXPECT_EQ(stored(first, "MQ"), QVariant(num("13.5")));
    EXPECT_EQ(form->Label14->text(), num("17.5"));

    // A value that is no finite number is said once and stored as nothing either.
    boxes.clear();
    enter(0, 2, QStringLiteral("1/0"));
    EXPECT_EQ(boxes.messages(), QStringList { QStringLiteral("Divisione per zero.") });
    EXPECT_EQ(stored(first, "MQ"), QVariant(QStringLiteral("0")));

    // An empty expression evaluates nothing: the surface stays, the total is summed again.
    boxes.clear();
    store(second, "MQ", num("4.25"));
    enter(1, 2, QString());
    EXPECT_TRUE(stored(second, "ESPRESSIONE").isNull());
    EXPECT_EQ(stored(second, "MQ"), QVariant(num("4.25")));
    EXPECT_EQ(form->Label14->text(), num("4.25"));
    EXPECT_TRUE(boxes.shown().isEmpty());
}

// A surface typed in place (a saved layout may unlock its column) becomes the room's expression,
// with "." as its decimal mark, at the Enter that ends the typing; an Enter on another room, not
// being edited, copies nothing.
TEST_P(RoomGridSeparatorTest, EnterEndingASurfaceEditCopiesItIntoTheExpression)
{
    zav::platform::DataGridColumn surface = form->TDBGrid1->column(3);
    surface.locked = false;
    form->TDBGrid1->setColumn(3, surface);
    enter(1, 3, QStringLiteral("12.5"));
    EXPECT_EQ(stored(second, "MQ"), QVariant(num("12.5")));
    EXPECT_EQ(stored(second, "ESPRESSIONE"), QVariant(QStringLiteral("12.5")));
    EXPECT_EQ(form->Label14->text(), num("24.5"));

    store(second, "ESPRESSIONE", QStringLiteral("5*5"));
    form->TDBGrid1->setCurrentIndex(form->TDBGrid1->model()->index(1, 1));
    QTest::keyClick(form->TDBGrid1, Qt::Key_Return);
    EXPECT_EQ(stored(second, "ESPRESSIONE"), QVariant(QStringLiteral("5*5")));
    EXPECT_EQ(stored(first, "ESPRESSIONE"), QVariant(QStringLiteral("3*4")));
}

TEST_P(RoomGridSeparatorTest, EnterOnTheRadiantExpressionOfTheVolumesView)
{
    project.header(false, true, false, 1);
    Database::open(project.path()).exec(QStringLiteral("DELETE FROM ANA_CONDO WHERE RISC_VOL = 1"));
    select(3);
    ASSERT_FALSE(form->TDBGrid1->isColumnHidden(18));
    enter(1, 18, QStringLiteral("2*1,25"));
    EXPECT_EQ(stored(second, "ESPRES_RAD"), QVariant(QStringLiteral("2*1.25")));
    EXPECT_EQ(stored(second, "TOT_ESPRES_RAD"), QVariant(num("2.5")));
}

// Before any cell has been edited the column is 0; and Enter evaluates nothing on the coefficient
// view, on a thousandths view or on the user table.
TEST_P(RoomGridSeparatorTest, EnterActsOnlyOnTheUnitViewsColumnsThatEvaluate)
{
    store(first, "ESPRESSIONE", QStringLiteral("5*5"));
    QTest::keyClick(form->TDBGrid1, Qt::Key_Return);
    EXPECT_EQ(stored(first, "MQ"), QVariant(QStringLiteral("12")));

    // Entering a unit view recounts the rooms; Enter on the coefficient view evaluates nothing.
    select(2);
    EXPECT_EQ(stored(first, "MQ"), QVariant(num("25.0")));
    store(first, "ESPRESSIONE", QStringLiteral("6*6"));
    form->TDBGrid1_ColEdit(2);
    QTest::keyClick(form->TDBGrid1, Qt::Key_Return);
    EXPECT_EQ(stored(first, "MQ"), QVariant(num("25.0")));

    // Leaving for a thousandths view stores the unit (36), and Enter there evaluates nothing.
    select(4);
    EXPECT_EQ(stored(first, "MQ"), QVariant(num("36.0")));
    Database::open(project.path())
        .update(QStringLiteral("ESPRESSIONI"), first,
            { { QStringLiteral("ESPRESSIONE"), QStringLiteral("7*7") } });
    QTest::keyClick(form->TDBGrid1, Qt::Key_Return);
    EXPECT_EQ(stored(first, "MQ"), QVariant(num("36.0")));
    EXPECT_TRUE(boxes.shown().isEmpty());
}

// --- Window entries --------------------------------------------------------------------------------

TEST_P(RoomGridSeparatorTest, WindowCodesAndRatiosPickTheLightCoefficient)
{
    struct Case
    {
        const char *surface; ///< MQ of the room, "" for none
        const char *entry;
        const char *storedEntry;
        const char *windowArea; ///< MQ_FINESTRA afterwards, with "." (nullptr: emptied)
        const char *coefficient; ///< COEF4 afterwards as the window table holds it (nullptr: kept)
        bool missingSurface; ///< "Superficie del vano mancante" said
    };
    const Case cases[] = {
        { "12", "c", "C", nullptr, "0,70", false },
        { "12", "0", "0", nullptr, "0,70", false },
        { "12", "A", "A", nullptr, "0,60", false },
        { "12", "00", "00", nullptr, "0,60", false },
        { "", "C", "C", nullptr, "0,70", false }, // a code needs no surface
        { "12", "000", "000", "0.0", nullptr, false }, // area 0: no band
        { "12", "1.2*1.4", "1.2*1.4", "1.68", "0,92", false }, // r = 0.14: band 3
        { "10", "1.666", "1.666", "1.666", "1,00", false }, // r = 0.1666: band 1
        { "10", "10/6", "10/6", "1.667", "1,00", false }, // 1/6 of the floor: band 1
        { "10", "1.6659", "1.6659", "1.666", "1,00", false }, // the ratio of the area as stored
        { "100", "14.285", "14.285", "14.285", "0,96", false }, // r = 0.14285: band 2
        { "100", "14.284", "14.284", "14.284", "0,92", false }, // just under it: band 3
        { "10", "1.25", "1.25", "1.25", "0,92", false }, // 0.125: band 3
        { "10", "1.11", "1.11", "1.11", "0,88", false }, // 0.111: band 4
        { "10", "1", "1", "1.0", "0,84", false }, // 0.1: band 5
        { "10", "0.1", "0.1", "0.1", "0,80", false }, // 0.01: band 6
        { "10", "0.099", "0.099", "0.099", nullptr, false }, // under 0.01: no band
        { "10", "100", "100", "100.0", nullptr, false }, // 10: no band
        { "", "1*1", "1*1", "1.0", nullptr, true },
        { "0", "1*1", "1*1", "1.0", nullptr, true },
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.entry);
        boxes.clear();
        store(first, "MQ", *c.surface ? QVariant(num(c.surface)) : QVariant());
        store(first, "COEF4", num("1.1"));
        store(first, "MQ_FINESTRA", QStringLiteral("9"));
        enter(0, 20, QString::fromLatin1(c.entry));
        EXPECT_EQ(stored(first, "SUP_FINESTRA"), QVariant(QString::fromLatin1(c.storedEntry)));
        if (c.windowArea)
            EXPECT_EQ(stored(first, "MQ_FINESTRA"), QVariant(num(c.windowArea)));
        else
            EXPECT_TRUE(stored(first, "MQ_FINESTRA").isNull());
        EXPECT_EQ(stored(first, "COEF4"),
            QVariant(c.coefficient ? QString::fromLatin1(c.coefficient) : num("1.1")));
        if (c.missingSurface) {
            ASSERT_EQ(boxes.shown().size(), 1);
            EXPECT_EQ(boxes.shown().at(0).text, QStringLiteral("Superficie del vano mancante"));
            EXPECT_EQ(boxes.shown().at(0).title, QStringLiteral("!!! Attenzione !!!"));
            EXPECT_EQ(boxes.shown().at(0).icon, MsgIcon::Information);
        } else {
            EXPECT_TRUE(boxes.shown().isEmpty());
        }
    }
}

// An entry that is no code because of a blank before it is an expression, which cannot be read;
// an empty entry changes nothing.
TEST_P(RoomGridSeparatorTest, WindowEntriesThatAreNoCode)
{
    store(first, "COEF4", num("1.1"));
    store(first, "MQ_FINESTRA", QStringLiteral("9"));
    enter(0, 20, QStringLiteral(" C"));
    EXPECT_EQ(stored(first, "SUP_FINESTRA"), QVariant(QStringLiteral(" C")));
    // The evaluator refuses it and no band is picked: the room's surface is there, and the window
    // keeps the area it had.
    for (const auto &shown : boxes.shown())
        EXPECT_NE(shown.text, QStringLiteral("Superficie del vano mancante"));
    EXPECT_EQ(stored(first, "MQ_FINESTRA"), QVariant(QStringLiteral("9")));
    EXPECT_EQ(stored(first, "COEF4"), QVariant(num("1.1")));

    boxes.clear();
    store(first, "MQ_FINESTRA", QStringLiteral("9"));
    enter(0, 20, QString());
    EXPECT_TRUE(stored(first, "SUP_FINESTRA").isNull());
    EXPECT_EQ(stored(first, "MQ_FINESTRA"), QVariant(QStringLiteral("9")));
    EXPECT_EQ(stored(first, "COEF4"), QVariant(num("1.1")));
    EXPECT_TRUE(boxes.shown().isEmpty());
}

INSTANTIATE_TEST_SUITE_P(Separators, RoomGridSeparatorTest, ::testing::Values(QChar(u','), QChar(u'.')));

// The window table is read in its stored order: the first row of a band gives its coefficient.
TEST_F(RoomGridTest, TheFirstRowOfABandInStoredOrderGivesTheCoefficient)
{
    open(u',');
    {
        Database db = Database::open(project.path());
        db.exec(QStringLiteral("DELETE FROM TAB_WINDOW WHERE CAMPO IN ('7', '8')"));
        for (const char *coefficient : { "0,55", "0,65" })
            db.insert(QStringLiteral("TAB_WINDOW"),
                { { QStringLiteral("COEFF"), QString::fromLatin1(coefficient) },
                    { QStringLiteral("CAMPO"), QStringLiteral("7") } });
    }
    store(first, "COEF4", QStringLiteral("1,1"));
    enter(0, 20, QStringLiteral("C"));
    EXPECT_EQ(stored(first, "COEF4"), QVariant(QStringLiteral("0,55")));
    // A band the table lacks leaves the coefficient as it was.
    enter(0, 20, QStringLiteral("A"));
    EXPECT_EQ(stored(first, "COEF4"), QVariant(QStringLiteral("0,55")));
    EXPECT_TRUE(boxes.shown().isEmpty());
}

// --- Cells and new rows ----------------------------------------------------------------------------

TEST_F(RoomGridTest, AClearedCellIsStoredAsNullABlankAsItStands)
{
    open(u',');
    enter(0, 1, QString());
    EXPECT_TRUE(stored(first, "DESCRIZIONE").isNull());
    select(2);
    enter(0, 9, QString());
    EXPECT_TRUE(stored(first, "COEF4").isNull());
    enter(1, 1, QStringLiteral(" "));
    EXPECT_EQ(stored(second, "DESCRIZIONE"), QVariant(QStringLiteral(" ")));
}

// A tab chosen, or another unit handed over, while a cell is being typed into keeps what was typed.
TEST_F(RoomGridTest, WhatIsBeingTypedIsKeptWhenTheViewOrTheUnitChanges)
{
    open(u',');
    type(0, 1, QStringLiteral("Sala"));
    select(2);
    EXPECT_EQ(stored(first, "DESCRIZIONE"), QVariant(QStringLiteral("Sala")));
    type(1, 1, QStringLiteral("Studio"));
    frm_ins_coeff::open(
        zav::workspace::Unit { { QStringLiteral("Altri"), QStringLiteral("1"), QStringLiteral("A"),
                                   QStringLiteral("3"), QStringLiteral("9") },
            std::nullopt });
    EXPECT_EQ(stored(second, "DESCRIZIONE"), QVariant(QStringLiteral("Studio")));
}

// A room started on the new-row line of any unit view belongs to the unit shown.
TEST_F(RoomGridTest, ANewRoomTakesTheUnitsKeyFromTheHeader)
{
    open(u',');
    for (int tab : { 1, 2 }) {
        SCOPED_TRACE(tab);
        select(tab);
        const int line = form->TDBGrid1->dataModel()->newRowLine();
        ASSERT_EQ(line, form->Data1->recordCount());
        enter(line, 1, QStringLiteral("Vano %1").arg(tab));
        const zav::platform::Recordset rs
            = Database::open(project.path())
                  .query(QStringLiteral("SELECT NOME_CONDOMINO, PALAZ, SCALA, OPT_RISC, "
                                        "PIANO, INTERNO FROM ESPRESSIONI WHERE "
                                        "DESCRIZIONE = ?"),
                      { QStringLiteral("Vano %1").arg(tab) });
        ASSERT_EQ(rs.recordCount(), 1);
        EXPECT_EQ(rs.row(0),
            (QVector<QVariant> { kOwner, QStringLiteral("1"), QStringLiteral("A"), QStringLiteral("S"),
                QStringLiteral("2"), 4 }));
    }
    EXPECT_EQ(form->Data1->recordCount(), 4);

    // A unit number that is no number is left out; the room is added all the same.
    form->Label12->setText(QStringLiteral("x"));
    enter(form->TDBGrid1->dataModel()->newRowLine(), 1, QStringLiteral("Senza interno"));
    const zav::platform::Recordset rs
        = Database::open(project.path())
              .query(QStringLiteral("SELECT NOME_CONDOMINO, INTERNO FROM ESPRESSIONI "
                                    "WHERE DESCRIZIONE = 'Senza interno'"));
    ASSERT_EQ(rs.recordCount(), 1);
    EXPECT_EQ(rs.value(0, 0), QVariant(kOwner));
    EXPECT_TRUE(rs.value(0, 1).isNull());
}

// --- The coefficient picker ----------------------------------------------------------------------

/** Stands in for the coefficient table form: records how it was prepared and shown. */
class PickerDouble : public QWidget
{
    Q_OBJECT

public:
    Q_INVOKABLE bool preparePicker(int column, const QString &transferCaption)
    {
        prepared << QStringLiteral("%1 %2").arg(column).arg(transferCaption);
        return column >= 6 && column <= 13;
    }
    inline static QStringList prepared;
};

TEST_F(RoomGridTest, ACoefficientCellButtonPreparesThePickerAndShowsItModal)
{
    open(u',');
    PickerDouble::prepared.clear();
    FormRegistry::setFactory(QStringLiteral("frm_tab_coeff"), [] { return new PickerDouble; });
    QStringList modal;
    zav::platform::ModalDriverScope driver([&modal](QWidget *shown) {
        modal << shown->metaObject()->className();
        shown->close();
    });
    select(2);
    for (int column : { 9, 13, 14 }) {
        form->TDBGrid1->setCurrentIndex(form->TDBGrid1->model()->index(1, column));
        emit form->TDBGrid1->buttonClick(column);
    }
    EXPECT_EQ(PickerDouble::prepared, (QStringList { "9 Trasferisci", "13 Trasferisci", "14 Trasferisci" }));
    // The column without a table is not shown.
    EXPECT_EQ(modal, (QStringList { "PickerDouble", "PickerDouble" }));
    FormRegistry::unload(QStringLiteral("frm_tab_coeff"));
    FormRegistry::setFactory(QStringLiteral("frm_tab_coeff"), {});
}

// --- The CAD program's keystrokes ------------------------------------------------------------------

TEST_F(RoomGridTest, CadKeystrokesBuildTheExpressionsOfTwoRooms)
{
    open(u',');
    CadAutomationRecorder cad;
    store(first, "ESPRESSIONE", QVariant());
    form->localCadLink();
    ASSERT_EQ(cad.creations(), QStringList { QStringLiteral("Ormida") });
    cad.clearCalls();

    form->typeIntoTxtole(QStringLiteral("4,2*3=|2*2,5"));
    EXPECT_EQ(stored(first, "ESPRESSIONE"), QVariant(QStringLiteral("4.2*3")));
    EXPECT_EQ(stored(first, "MQ"), QVariant(QStringLiteral("12,6")));
    EXPECT_EQ(stored(second, "ESPRESSIONE"), QVariant(QStringLiteral("2*2.5")));
    EXPECT_EQ(stored(second, "MQ"), QVariant(QStringLiteral("4")));
    // "=" evaluates; "Tot. Mq." waits for the next count. Appending never clears: a second "="
    // after "+1" gives 6.
    EXPECT_EQ(form->Label14->text(), QStringLiteral("16"));
    form->typeIntoTxtole(QStringLiteral("+1="));
    EXPECT_EQ(stored(second, "ESPRESSIONE"), QVariant(QStringLiteral("2*2.5+1")));
    EXPECT_EQ(stored(second, "MQ"), QVariant(QStringLiteral("6,0")));
    // "|" on the last room stays there.
    form->typeIntoTxtole(QStringLiteral("|"));
    EXPECT_EQ(form->Data1->currentRow(), 1);
    // One bring-to-front for every keystroke.
    EXPECT_EQ(cad.calls().size(), 16);
    for (const auto &call : cad.calls())
        EXPECT_EQ(call.method, QStringLiteral("Finestra_in_Primopiano"));
    EXPECT_TRUE(boxes.shown().isEmpty());

    // On the coefficient view a character is not appended, and the CAD window still comes forward.
    select(2);
    cad.clearCalls();
    form->typeIntoTxtole(QStringLiteral("7"));
    EXPECT_EQ(stored(second, "ESPRESSIONE"), QVariant(QStringLiteral("2*2.5+1")));
    EXPECT_EQ(cad.calls().size(), 1);

    // The link's second use switches it off and lets the object go; keystrokes still work.
    form->localCadLink();
    EXPECT_TRUE(cad.alive().isEmpty());
    cad.clearCalls();
    form->typeIntoTxtole(QStringLiteral("="));
    EXPECT_TRUE(cad.calls().isEmpty());
}

TEST_F(RoomGridTest, CadKeystrokesOnTheOtherViews)
{
    open(u',');
    CadAutomationRecorder cad;
    // The link of the main window's CAD menu is not the workspace's: no bring-to-front call.
    select(2);
    form->typeIntoTxtole(QStringLiteral("9="));
    EXPECT_EQ(stored(first, "ESPRESSIONE"), QVariant(QStringLiteral("3*4")));
    EXPECT_EQ(stored(first, "MQ"), QVariant(QStringLiteral("12,0")));
    EXPECT_TRUE(cad.calls().isEmpty());

    // "=" on the volumes view evaluates the room's expression; other characters are not appended.
    select(3);
    store(first, "ESPRESSIONE", QStringLiteral("2*3"));
    EXPECT_EQ(stored(first, "MQ"), QVariant(QStringLiteral("12,0")));
    form->typeIntoTxtole(QStringLiteral("1|="));
    EXPECT_EQ(stored(first, "ESPRESSIONE"), QVariant(QStringLiteral("2*3")));
    EXPECT_EQ(stored(first, "MQ"), QVariant(QStringLiteral("6,0")));

    // Nothing is written into a thousandths table.
    select(4);
    form->typeIntoTxtole(QStringLiteral("5="));
    EXPECT_TRUE(boxes.shown().isEmpty());
    select(1);
    EXPECT_EQ(stored(first, "ESPRESSIONE"), QVariant(QStringLiteral("2*3")));
}

// An expression that cannot be read, then "=": the evaluator's message, and the surface kept.
TEST_F(RoomGridTest, CadEqualsOnAnExpressionThatCannotBeRead)
{
    open(u',');
    const QVariant surface = stored(first, "MQ");
    ASSERT_FALSE(surface.isNull());
    form->typeIntoTxtole(QStringLiteral("*="));
    EXPECT_EQ(stored(first, "ESPRESSIONE"), QVariant(QStringLiteral("3*4*")));
    EXPECT_EQ(boxes.shown().size(), 1);
    EXPECT_EQ(stored(first, "MQ"), surface);
    // On an empty expression "=" changes nothing.
    boxes.clear();
    store(second, "MQ", QStringLiteral("4"));
    form->Data1->setCurrentRow(1);
    form->typeIntoTxtole(QStringLiteral("="));
    EXPECT_EQ(stored(second, "MQ"), QVariant(QStringLiteral("4")));
    EXPECT_TRUE(boxes.shown().isEmpty());
}

// "Ricalc. Totali" on a unit without a floor height: rooms "10", "10", "10" with height 3, "10".
// The first two heights stay empty (counted as 1), the height met carries on and is written; a
// blank window size stays blank, its area as it was.
TEST_F(RoomGridTest, TheTotalsPassWritesNoHeightNorWindowTheUserNeverTyped)
{
    separator.emplace(u',');
    project.header(true, false, false, 1);
    const qint64 unit = project.unit(kOwner, 1, QStringLiteral("A"), QStringLiteral("2"), 4, QVariant());
    const QVariant heights[] = { QVariant(), QStringLiteral(""), QStringLiteral("3"), QVariant() };
    const QVariant windows[] = { QVariant(), QStringLiteral(""), QVariant(), QStringLiteral("") };
    qint64 rooms[4] = {};
    for (int i = 0; i < 4; ++i)
        rooms[i] = project.room(kOwner, 1, QStringLiteral("A"), 4,
            { { QStringLiteral("ESPRESSIONE"), QStringLiteral("10") },
                { QStringLiteral("H_PIANO"), heights[i] }, { QStringLiteral("SUP_FINESTRA"), windows[i] },
                { QStringLiteral("MQ_FINESTRA"), i == 1 ? QVariant(QStringLiteral("2")) : QVariant() } });
    WorkspaceCommands::ins_coeff();
    form = loadedWorkspace();
    ASSERT_NE(form, nullptr);
    WorkspaceCommands::ric_tot(); // "Ricalcola"

    const QVariant writtenHeights[]
        = { QVariant(), QStringLiteral(""), QStringLiteral("3"), QStringLiteral("3") };
    const double volumes[] = { 10, 10, 30, 30 };
    for (int i = 0; i < 4; ++i) {
        SCOPED_TRACE(i);
        EXPECT_EQ(stored(rooms[i], "H_PIANO"), writtenHeights[i]);
        EXPECT_EQ(vb::CDbl(stored(rooms[i], "TOT_VOL").toString()), volumes[i]);
        EXPECT_EQ(stored(rooms[i], "SUP_FINESTRA"), windows[i]);
        EXPECT_EQ(stored(rooms[i], "MQ_FINESTRA"), i == 1 ? QVariant(QStringLiteral("2")) : QVariant());
    }
    EXPECT_EQ(project.totals(unit).value(1), QVariant(80.0));
}

// --- Closing with a cell being typed --------------------------------------------------------------

// "3.1" typed into the second room's H_piano, never confirmed with Enter, then the workspace closed
// by each way the user has: the height is stored, and the volume the totals pass makes of it.
TEST_P(RoomGridSeparatorTest, ClosingStoresTheHeightBeingTyped)
{
    const std::function<void(frm_ins_coeff *)> ways[] = {
        [this](frm_ins_coeff *) { main->area()->subWindowList().at(0)->close(); },
        [](frm_ins_coeff *workspace) {
            QCloseEvent close;
            QCoreApplication::sendEvent(workspace, &close);
            if (close.isAccepted())
                workspace->close();
        },
        [this](frm_ins_coeff *) {
            QTest::keyClick(editor(), Qt::Key_Escape);
            QCoreApplication::processEvents();
        },
    };
    // Bagno's surface comes from its expression (4), which the totals pass reads again.
    store(second, "ESPRESSIONE", QStringLiteral("4"));
    for (std::size_t way = 0; way < std::size(ways); ++way) {
        SCOPED_TRACE(way);
        if (way > 0) {
            Database::open(project.path())
                .update(QStringLiteral("ESPRESSIONI"), second, { { QStringLiteral("H_PIANO"), QVariant() } });
            WorkspaceCommands::ins_coeff();
            form = loadedWorkspace();
            ASSERT_NE(form, nullptr);
            form->TDBGrid1->setFocus();
        }
        select(3);
        type(1, 16, num("3.1"));
        ways[way](form);
        processDeletes();
        EXPECT_EQ(loadedWorkspace(), nullptr);
        EXPECT_EQ(vb::CDbl(stored(second, "H_PIANO").toString()), 3.1);
        EXPECT_EQ(vb::CDbl(stored(second, "TOT_VOL").toString()), 12.4);
    }
}

// A letter typed into "Orient." is refused with the form of a number, on Enter and again when the
// window is closed with the text still in the cell: the workspace stays open, the room as it was.
// Either separator is still taken as the decimal mark.
TEST_P(RoomGridSeparatorTest, ACoefficientCellRefusesWhatIsNotANumber)
{
    select(2);
    type(0, 7, QStringLiteral("n"));
    QTest::keyClick(editor(), Qt::Key_Return);
    ASSERT_EQ(boxes.shown().size(), 1);
    EXPECT_TRUE(
        boxes.messages().at(0).startsWith(QStringLiteral("\"n\" non è un numero: scrivere i decimali dopo ")))
        << boxes.messages().at(0).toStdString();
    ASSERT_NE(editor(), nullptr);
    EXPECT_EQ(editor()->text(), QStringLiteral("n"));
    EXPECT_TRUE(stored(first, "COEF2").isNull());

    boxes.clear();
    main->area()->subWindowList().at(0)->close();
    processDeletes();
    EXPECT_EQ(loadedWorkspace(), form);
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(boxes.shown().size(), 1);
    EXPECT_TRUE(stored(first, "COEF2").isNull());

    // The cell put right is stored, and the window closes.
    boxes.clear();
    editor()->selectAll();
    QTest::keyClicks(editor(), QStringLiteral("0.95"));
    QTest::keyClick(editor(), Qt::Key_Return);
    EXPECT_TRUE(boxes.shown().isEmpty());
    EXPECT_EQ(vb::CDbl(stored(first, "COEF2").toString()), 0.95);
    type(1, 12, QStringLiteral("1,1"));
    QTest::keyClick(editor(), Qt::Key_Return);
    EXPECT_EQ(vb::CDbl(stored(second, "COEF7").toString()), 1.1);
    for (const char *notANumber : { "1,1,1", "x2", "2*3" }) {
        SCOPED_TRACE(notANumber);
        boxes.clear();
        type(1, 13, QString::fromLatin1(notANumber));
        QTest::keyClick(editor(), Qt::Key_Return);
        EXPECT_EQ(boxes.shown().size(), 1);
        EXPECT_TRUE(stored(second, "COEF8").isNull());
        // Emptied, the cell is taken (Null).
        editor()->selectAll();
        QTest::keyClick(editor(), Qt::Key_Backspace);
        QTest::keyClick(editor(), Qt::Key_Return);
        EXPECT_EQ(editor(), nullptr);
        EXPECT_TRUE(stored(second, "COEF8").isNull());
    }
}

} // namespace

#include "roomgrid_test.moc"
