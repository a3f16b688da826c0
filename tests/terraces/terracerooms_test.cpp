// The terrace rooms: the computation of a room, "Calcola Totali", "Ricalcola Totali", Enter in the
// expression column and the key of a new room. Every expected value is worked out by hand.

#include "pickerdouble.h"
#include "platform/ui/datagrid.h"
#include "tables/frm_tab_coeff.h"
#include "tables/tablecommands.h"
#include "terraces/terraceroom.h"
#include "terracesfixture.h"

#include <QLabel>
#include <QLineEdit>
#include <QPointer>
#include <QPushButton>
#include <QTabBar>
#include <QTest>

using zav::engine::VAR_GBL;
using zav::platform::MsgIcon;
using zav::terraces::frm_terrazze;
using zav::terraces::ShownTerraceUnit;
using zav::terraces::TerraceRoom;
using zav::terraces::TerraceRoomValues;
namespace vb = zav::platform::vb;

namespace {

// A point-written number in the form of the separator in force.
QString local(const char *text)
{
    return QString::fromLatin1(text).replace(u'.', vb::decimalSeparator());
}

class TerraceRooms : public zav::test::TerracesTest
{
protected:
    void SetUp() override
    {
        TerracesTest::SetUp();
        VAR_GBL.init_operatori();
        VAR_GBL.init_precedenze();
    }

    /** A room of Rossi (building 1, stair A, unit 5) in table T1 with its expression, coefficients
     * (c1 and c2) and height. */
    void room(const char *description, const QVariant &expression, const QVariant &c1 = {},
        const QVariant &c2 = {}, const QVariant &height = {}, const QString &owner = QStringLiteral("Rossi"))
    {
        insert(terraces, QStringLiteral("SUP_COEFF_VOL"),
            { { "CODICE", "T1" }, { "NOME_CONDOMINO", owner }, { "PALAZ", 1 }, { "SCALA", "A" },
                { "INTERNO", 5 }, { "DESCRIZ_VANO", description }, { "ESPRESSIONE", expression },
                { "COEFF_PIANO", c1 }, { "COEFF_ORIENT", c2 }, { "H_PIANO", height } });
    }

    /** The form with table T1 current and Rossi's rooms shown. */
    frm_terrazze *showRossi()
    {
        frm_terrazze *form = openForm();
        form->selectTable(QStringLiteral("T1"), QStringLiteral("Terrazzi"));
        form->showTerraceUnit(
            { QStringLiteral("T1"), { "Rossi", qlonglong(1), "A", "2", qlonglong(5) } }, true);
        return form;
    }

    static QStringList rowOf(const QString &path, int row)
    {
        QStringList values;
        for (const char *field : { "MQ", "SUP_CONVENZIONALE", "H_PIANO", "VOLUME" })
            values << column(path, QStringLiteral("SUP_COEFF_VOL"), QString::fromLatin1(field)).at(row);
        return values;
    }
};

TEST_F(TerraceRooms, ARoomIsComputedStepByStepFromTheValuesAsWritten)
{
    const struct
    {
        const char *name;
        const char *expression;
        const char *c1; // point-written; "" is empty
        const char *c2;
        const char *height;
        TerraceRoom::Scope scope;
        QStringList expected; // MQ, SUP_CONVENZIONALE, H_PIANO, VOLUME, point-written
        const char *badField;
    } cases[] = {
        { "no coefficients: the surface again, up to four decimals", "12.5", "", "", "3",
            TerraceRoom::Scope::Whole, { "12.5", "12.5", "3", "37.5" }, "" },
        { "2/3: the weighted surface starts from the rounded surface", "2/3", "", "", "3",
            TerraceRoom::Scope::Whole, { "0.667", "0.667", "3", "2.001" }, "" },
        // 10 × 0.95 × 1.05 = 9.975; 9.975 × 2.7 = 26.9325, rounded 26.933.
        { "two coefficients", "10", "0.95", "1.05", "2.7", TerraceRoom::Scope::Whole,
            { "10.0", "9.975", "2.7", "26.933" }, "" },
        // 1.234 × 1.1 = 1.3574; × 2 = 2.7148, written 2.715.
        { "the volume from the four-decimal weighted surface", "1.234", "1.1", "", "2",
            TerraceRoom::Scope::Whole, { "1.234", "1.3574", "2", "2.715" }, "" },
        { "an empty height is 0", "4", "", "", "", TerraceRoom::Scope::Whole, { "4.0", "4.0", "0", "0.0" },
            "" },
        { "no value: the surface 0", "2*(3", "", "", "3", TerraceRoom::Scope::Whole,
            { "0", "0.0", "3", "0.0" }, "" },
        // Expressions write their decimals with the point: a comma is refused, with a message.
        { "a comma in the expression", "4,5*3", "", "", "1", TerraceRoom::Scope::Whole,
            { "0", "0.0", "1", "0.0" }, "" },
        { "division by zero: the surface 0", "1/0", "", "", "3", TerraceRoom::Scope::Whole,
            { "0", "0.0", "3", "0.0" }, "" },
        { "Enter: no value leaves the surface empty", "2*(3", "2", "", "3", TerraceRoom::Scope::Surface,
            { "", "old", "3", "old" }, "" },
        { "Enter: only the surface", "2*3", "2", "", "3", TerraceRoom::Scope::Surface,
            { "6.0", "old", "3", "old" }, "" },
        { "a coefficient that is not a number stops before the weighted surface", "10", "abc", "", "3",
            TerraceRoom::Scope::Whole, { "10.0", "old", "3", "old" }, "COEFF_PIANO" },
        { "a height that is not a number stops before the volume", "10", "", "", "abc",
            TerraceRoom::Scope::Whole, { "10.0", "10.0", "abc", "old" }, "H_PIANO" },
    };
    for (const QChar separator : { u',', u'.' }) {
        const vb::DecimalSeparatorScope scope(separator);
        for (const auto &c : cases) {
            SCOPED_TRACE(
                testing::Message() << c.name << " under '" << QString(separator).toStdString() << "'");
            const auto text = [](const char *value) {
                return QString::fromLatin1(value).isEmpty() ? QVariant() : QVariant(local(value));
            };
            TerraceRoomValues room { { "ESPRESSIONE", QString::fromLatin1(c.expression) },
                { "COEFF_PIANO", text(c.c1) }, { "COEFF_ORIENT", text(c.c2) }, { "H_PIANO", text(c.height) },
                { "SUP_CONVENZIONALE", "old" }, { "VOLUME", "old" } };
            const TerraceRoom::Outcome outcome = TerraceRoom::compute(room, c.scope);
            QStringList expected;
            for (const QString &value : c.expected)
                expected << (value == QLatin1String("old") || value == QLatin1String("abc")
                        ? value
                        : local(value.toLatin1()));
            EXPECT_EQ((QStringList { room.value("MQ").toString(), room.value("SUP_CONVENZIONALE").toString(),
                          room.value("H_PIANO").toString(), room.value("VOLUME").toString() }),
                expected);
            EXPECT_EQ(outcome.badField, QString::fromLatin1(c.badField));
            EXPECT_EQ(outcome.nonFinite, QByteArray(c.expression) == "1/0");
            if (QByteArray(c.expression) == "4,5*3") {
                ASSERT_FALSE(boxes.shown().isEmpty());
                EXPECT_TRUE(boxes.shown().last().text.contains(QStringLiteral("virgola")));
            }
        }
    }
}

TEST_F(TerraceRooms, CalcolaTotaliStoresTheRoomsAndSumsTheRoundedValues)
{
    buildings(1, { 1 });
    room("Terrazzo", "2/3", {}, {}, "3");
    room("Balcone", "10", "0,95", "1,05", {});
    room("Lastrico", "2*(3", {}, {}, "2"); // not an expression: the surface 0
    room("Altro", "100", {}, {}, "3", QStringLiteral("Bianchi"));
    room("Soglia", "1/0", {}, {}, "2"); // no value either, said once
    frm_terrazze *form = showRossi();
    boxes.clear();
    form->Command1[3]->click();

    EXPECT_EQ(rowOf(terraces, 0), (QStringList { "0,667", "0,667", "3", "2,001" }));
    EXPECT_EQ(rowOf(terraces, 1), (QStringList { "10,0", "9,975", "0", "0,0" }));
    EXPECT_EQ(rowOf(terraces, 2), (QStringList { "0", "0,0", "2", "0,0" }));
    EXPECT_EQ(rowOf(terraces, 3), (QStringList { "", "", "3", "" })) << "another unit's room";
    EXPECT_EQ(rowOf(terraces, 4), (QStringList { "0", "0,0", "2", "0,0" }));
    // 0.667 + 10 + 0; 0.667 + 9.975 + 0; 2.001 + 0 + 0.
    EXPECT_EQ(form->Label14->text(), QStringLiteral("10,667"));
    EXPECT_EQ(form->Label16->text(), QStringLiteral("10,642"));
    EXPECT_EQ(form->Label18->text(), QStringLiteral("2,001"));
    EXPECT_TRUE(form->Data1->noCurrentRow()) << "left past the last room";
    // The evaluator's own message for the expression that is not one, then the division by zero.
    ASSERT_EQ(boxes.shown().size(), 2);
    EXPECT_EQ(boxes.shown().at(1).text, QStringLiteral("Divisione per zero."));
}

TEST_F(TerraceRooms, CalcolaTotaliOnAUnitWithoutRoomsShowsZeros)
{
    buildings(1, { 1 });
    frm_terrazze *form = showRossi();
    form->Label14->setText(QStringLiteral("5"));
    form->Command1[3]->click();
    for (QLabel *total : { form->Label14, form->Label16, form->Label18 })
        EXPECT_EQ(total->text(), QStringLiteral("0"));
    EXPECT_TRUE(boxes.shown().isEmpty());
}

TEST_F(TerraceRooms, CalcolaTotaliStopsAtARoomWhoseCoefficientIsNotANumberAndNamesIt)
{
    buildings(1, { 1 });
    room("Terrazzo", "2", {}, {}, "3");
    room("Balcone", "4", "abc", {}, "3");
    room("Lastrico", "5", {}, {}, "3");
    frm_terrazze *form = showRossi();
    boxes.clear();
    form->CALC_TOT_TER();
    EXPECT_EQ(rowOf(terraces, 0), (QStringList { "2,0", "2,0", "3", "6,0" }));
    EXPECT_EQ(rowOf(terraces, 1), (QStringList { "4,0", "", "3", "" }));
    EXPECT_EQ(rowOf(terraces, 2), (QStringList { "", "", "3", "" })) << "not reached";
    EXPECT_EQ(form->Label14->text(), QStringLiteral("6"));
    EXPECT_EQ(form->Label16->text(), QStringLiteral("2"));
    EXPECT_EQ(form->Label18->text(), QStringLiteral("6"));
    ASSERT_EQ(boxes.shown().size(), 1);
    EXPECT_TRUE(boxes.shown().first().text.contains(QStringLiteral("\"Balcone\"")))
        << boxes.messages().join(u'|').toStdString();
}

TEST_F(TerraceRooms, RicalcolaTotaliComputesEveryRoomOfTheTableAndShowsTheUnitAgain)
{
    buildings(1, { 1 });
    room("Terrazzo", "2/3", {}, {}, {});
    room("Balcone", "10", "abc", {}, "3", QStringLiteral("Bianchi"));
    room("Lastrico", "4", {}, {}, "abc", QStringLiteral("Bianchi"));
    insert(terraces, QStringLiteral("SUP_COEFF_VOL"),
        { { "CODICE", "T2" }, { "NOME_CONDOMINO", "Rossi" }, { "PALAZ", 1 }, { "SCALA", "A" },
            { "INTERNO", 5 }, { "ESPRESSIONE", "7" } });
    // Values from an earlier computation, which a room that cannot be computed must not keep.
    {
        zav::platform::Database db = zav::platform::Database::open(terraces);
        db.exec(QStringLiteral("UPDATE SUP_COEFF_VOL SET SUP_CONVENZIONALE = '99', VOLUME = '99'"));
    }
    frm_terrazze *form = showRossi();
    form->Frame4->hide();
    boxes.clear();
    form->Command1[11]->click();

    EXPECT_EQ(rowOf(terraces, 0), (QStringList { "0,667", "0,667", "0", "0,0" }));
    EXPECT_EQ(rowOf(terraces, 1), (QStringList { "10,0", "", "3", "" }));
    EXPECT_EQ(rowOf(terraces, 2), (QStringList { "4,0", "", "abc", "" }));
    EXPECT_EQ(rowOf(terraces, 3), (QStringList { "", "99", "", "99" })) << "another table";
    ASSERT_EQ(boxes.shown().size(), 1);
    EXPECT_EQ(boxes.shown().first().text,
        QStringLiteral("Ricalcolo Terminato\nVani con coefficienti o altezza non numerici, lasciati senza "
                       "superficie convenzionale e volume: 2"));
    EXPECT_EQ(boxes.shown().first().title, QStringLiteral("Ricalcolo Sup. Coeff. e Volumi Terrazze"));
    EXPECT_EQ(boxes.shown().first().icon, MsgIcon::Information);
    // The unit shown is bound again, and the header shows.
    EXPECT_EQ(column(*form->Data1, QStringLiteral("DESCRIZ_VANO")), QStringList { "Terrazzo" });
    EXPECT_FALSE(form->Frame4->isHidden());
}

// A room that cannot be written ends "Ricalcola Totali" with every room as it was, and the user is told.
TEST_F(TerraceRooms, RicalcolaTotaliThatCannotWriteARoomKeepsEveryRoomAndSaysSo)
{
    buildings(1, { 1 });
    room("Terrazzo", "2", {}, {}, "3");
    room("Guasto", "4", {}, {}, "3");
    room("Balcone", "6", {}, {}, "3");
    {
        zav::platform::Database db = zav::platform::Database::open(terraces);
        db.exec(QStringLiteral("CREATE TRIGGER guasto BEFORE UPDATE ON SUP_COEFF_VOL "
                               "WHEN OLD.DESCRIZ_VANO = 'Guasto' BEGIN SELECT RAISE(ABORT, 'guasto'); END"));
    }
    frm_terrazze *form = showRossi();
    boxes.clear();
    form->Command1[11]->click();

    for (int row = 0; row < 3; ++row)
        EXPECT_EQ(rowOf(terraces, row), (QStringList { "", "", "3", "" })) << "room " << row;
    ASSERT_EQ(boxes.shown().size(), 1) << boxes.messages().join(u'|').toStdString();
    EXPECT_EQ(boxes.shown().first().icon, MsgIcon::Critical);
    EXPECT_TRUE(boxes.shown().first().text.startsWith(
        QStringLiteral("Ricalcolo non eseguito: nessun vano è stato cambiato.")))
        << boxes.shown().first().text.toStdString();
}

// A room added in the grid and "Ricalcola Totali": the three totals are the sums of the rooms shown.
TEST_F(TerraceRooms, RicalcolaTotaliShowsTheTotalsOfTheRoomsShown)
{
    buildings(1, { 1 });
    room("Terrazzo", "44.02", {}, {}, local("3"));
    frm_terrazze *form = showRossi();
    form->Command1[3]->click();
    const auto totals = [form] {
        return QStringList { form->Label14->text(), form->Label16->text(), form->Label18->text() };
    };
    ASSERT_EQ(totals(), (QStringList { local("44.02"), local("44.02"), local("132.06") }));

    auto *model = form->TDBGrid1->dataModel();
    const int line = model->newRowLine();
    ASSERT_GE(line, 0);
    ASSERT_TRUE(model->setData(model->index(line, 5), QStringLiteral("Balcone")));
    ASSERT_TRUE(model->setData(model->index(line, 6), QStringLiteral("24")));
    boxes.clear();
    form->Command1[11]->click();

    // 44.02 + 24 of surface and of weighted surface; the new room has no height, so no volume.
    EXPECT_EQ(totals(), (QStringList { local("68.02"), local("68.02"), local("132.06") }));
    EXPECT_EQ(column(terraces, QStringLiteral("SUP_COEFF_VOL"), QStringLiteral("MQ")),
        (QStringList { local("44.02"), local("24.0") }));
    EXPECT_EQ(boxes.messages(), QStringList { QStringLiteral("Ricalcolo Terminato") });
}

TEST_F(TerraceRooms, RicalcolaTotaliWithoutATableChangesNothingAndSaysItHasEnded)
{
    buildings(1, { 1 });
    room("Terrazzo", "2", {}, {}, "3");
    frm_terrazze *form = openForm();
    form->RICALC_TOT_TER();
    EXPECT_EQ(rowOf(terraces, 0), (QStringList { "", "", "3", "" }));
    ASSERT_EQ(boxes.shown().size(), 1);
    EXPECT_EQ(boxes.shown().first().text, QStringLiteral("Ricalcolo Terminato"));
}

TEST_F(TerraceRooms, EnterEvaluatesTheExpressionOnlyInTheSurfacesViewsExpressionColumn)
{
    buildings(1, { 1 });
    const struct
    {
        const char *name;
        int tab;
        int row;
        int column;
        QStringList surfaces;
    } cases[] = {
        { "surfaces view, expression", 0, 1, 6, { "", "7,0" } },
        { "surfaces view, no value", 0, 0, 6, { "", "" } },
        { "surfaces view, description", 0, 1, 5, { "", "" } },
        { "coefficients view", 1, 1, 6, { "", "" } },
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        TearDown();
        SetUp();
        buildings(1, { 1 });
        room("Terrazzo", "2*(3", {}, {}, "3"); // not an expression: the surface stays empty
        room("Balcone", "2*3.5", {}, {}, "3");
        frm_terrazze *form = showRossi();
        form->TabStrip1->setCurrentIndex(c.tab);
        // The view computed the rooms: start again from empty surfaces.
        {
            zav::platform::Database db = zav::platform::Database::open(terraces);
            db.exec(QStringLiteral("UPDATE SUP_COEFF_VOL SET MQ = NULL"));
        }
        form->Data1->refresh();
        form->TDBGrid1->setCurrentIndex(form->TDBGrid1->model()->index(c.row, c.column));
        QTest::keyClick(form->TDBGrid1, Qt::Key_Return);
        EXPECT_EQ(column(terraces, QStringLiteral("SUP_COEFF_VOL"), QStringLiteral("MQ")), c.surfaces);
    }
}

TEST_F(TerraceRooms, EnterAfterTypingAnExpressionStoresItAndEvaluatesIt)
{
    buildings(1, { 1 });
    room("Terrazzo", "1", {}, {}, "3");
    frm_terrazze *form = showRossi();
    form->show();
    const QModelIndex cell = form->TDBGrid1->model()->index(0, 6);
    form->TDBGrid1->setCurrentIndex(cell);
    form->TDBGrid1->edit(cell);
    auto *editor = form->TDBGrid1->viewport()->findChild<QLineEdit *>();
    ASSERT_NE(editor, nullptr);
    editor->setText(QStringLiteral("2.5*4"));
    QTest::keyClick(editor, Qt::Key_Return);
    EXPECT_EQ(column(terraces, QStringLiteral("SUP_COEFF_VOL"), QStringLiteral("ESPRESSIONE")),
        QStringList { "2.5*4" });
    EXPECT_EQ(
        column(terraces, QStringLiteral("SUP_COEFF_VOL"), QStringLiteral("MQ")), QStringList { "10,0" });
    // The total surface follows the room's new surface.
    EXPECT_EQ(form->Label14->text(), QStringLiteral("10"));
}

// A comma typed into an expression is its decimal point, as in the workspace's expressions, under
// either separator; pasted text is heard as typed. Other columns keep what was typed.
TEST_F(TerraceRooms, ACommaTypedIntoAnExpressionBecomesItsDecimalPoint)
{
    const struct
    {
        const char *name;
        QChar separator;
        int column;
        bool paste;
        const char *typed;
        const char *stored;
        const char *surface; // MQ after Enter, under the separator
    } cases[] = {
        { "expression, comma system", u',', 6, false, "5*3,2", "5*3.2", "16,0" },
        { "expression, point system", u'.', 6, false, "5*3,2", "5*3.2", "16.0" },
        { "expression pasted", u',', 6, true, "2,5*4", "2.5*4", "10,0" },
        { "description keeps its comma", u',', 5, false, "Terrazzo, lato nord", "Terrazzo, lato nord", "" },
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        TearDown();
        SetUp();
        const zav::platform::vb::DecimalSeparatorScope separator(c.separator);
        buildings(1, { 1 });
        room("Terrazzo", QVariant(), {}, {}, "3");
        frm_terrazze *form = showRossi();
        form->show();
        const QModelIndex cell = form->TDBGrid1->model()->index(0, c.column);
        form->TDBGrid1->setCurrentIndex(cell);
        form->TDBGrid1->edit(cell);
        auto *editor = form->TDBGrid1->viewport()->findChild<QLineEdit *>();
        ASSERT_NE(editor, nullptr);
        if (c.paste)
            form->TDBGrid1->paste(editor, QString::fromUtf8(c.typed));
        else
            QTest::keyClicks(editor, QString::fromUtf8(c.typed));
        QTest::keyClick(editor, Qt::Key_Return);
        const QString field = c.column == 6 ? QStringLiteral("ESPRESSIONE") : QStringLiteral("DESCRIZ_VANO");
        EXPECT_EQ(column(terraces, QStringLiteral("SUP_COEFF_VOL"), field), QStringList { c.stored });
        EXPECT_EQ(column(terraces, QStringLiteral("SUP_COEFF_VOL"), QStringLiteral("MQ")),
            QStringList { QString::fromUtf8(c.surface) });
        EXPECT_TRUE(boxes.messages().isEmpty()) << boxes.messages().join(u'|').toStdString();
        form->close();
    }
}

TEST_F(TerraceRooms, ANewRoomTakesTheTableAndTheUnitFromTheHeaderInEveryRoomView)
{
    buildings(1, { 1 });
    room("Terrazzo", "2", {}, {}, "3");
    for (int tab : { 0, 1, 2 }) {
        SCOPED_TRACE(tab);
        frm_terrazze *form = showRossi();
        form->TabStrip1->setCurrentIndex(tab);
        ASSERT_TRUE(form->TDBGrid1->allowAddNew());
        auto *model = form->TDBGrid1->dataModel();
        const int line = model->newRowLine();
        ASSERT_GE(line, 0);
        ASSERT_TRUE(model->setData(model->index(line, 5), QStringLiteral("Nuovo %1").arg(tab)));
        zav::platform::Database db = zav::platform::Database::open(terraces);
        const zav::platform::Recordset rs
            = db.query(QStringLiteral("SELECT CODICE, NOME_CONDOMINO, PALAZ, SCALA, PIANO, INTERNO FROM "
                                      "SUP_COEFF_VOL WHERE DESCRIZ_VANO = ?"),
                { QStringLiteral("Nuovo %1").arg(tab) });
        ASSERT_EQ(rs.recordCount(), 1);
        EXPECT_EQ(rs.row(0), (QVector<QVariant> { "T1", "Rossi", qlonglong(1), "A", "2", qlonglong(5) }));
        form->TabStrip1->setCurrentIndex(0);
    }
}

// Through the form as the user works it: "Trova" on the unit list, a click on the new-row line, a
// description typed and Enter. The header keeps naming the unit and the room is stored under it.
TEST_F(TerraceRooms, ARoomTypedOnTheNewRowLineAfterTrovaBelongsToTheUnitShown)
{
    for (const bool withRooms : { true, false }) {
        SCOPED_TRACE(withRooms ? "a unit with a room" : "a unit without rooms");
        TearDown();
        SetUp();
        buildings(1, { 1 });
        table("T1", "Terrazzi");
        listed("Rossi", 1, "A", "2", 5, "T1", "Terrazzi");
        if (withRooms)
            room("Terrazzo", "2", {}, {}, "3");
        frm_terrazze *form = openForm();
        form->show();
        form->selectTable(QStringLiteral("T1"), QStringLiteral("Terrazzi"));
        form->Command1[2]->click();
        form->Data5->setCurrentRow(0);
        form->Command4->click();

        auto *model = form->TDBGrid1->dataModel();
        const QModelIndex line = model->index(model->newRowLine(), 5);
        ASSERT_TRUE(line.isValid());
        QTest::mouseClick(
            form->TDBGrid1->viewport(), Qt::LeftButton, {}, form->TDBGrid1->visualRect(line).center());
        ASSERT_EQ(form->TDBGrid1->currentIndex(), line);
        const auto header = [form] {
            return QStringList { form->Label8->text(), form->Label9->text(), form->Label10->text(),
                form->Label11->text(), form->Label12->text() };
        };
        EXPECT_EQ(header(), (QStringList { "Rossi", "1", "A", "2", "5" }));

        QTest::keyClick(form->TDBGrid1, Qt::Key_B, Qt::ShiftModifier);
        auto *editor = form->TDBGrid1->viewport()->findChild<QLineEdit *>();
        ASSERT_NE(editor, nullptr);
        QTest::keyClicks(editor, QStringLiteral("alcone"));
        QTest::keyClick(editor, Qt::Key_Return);

        zav::platform::Database db = zav::platform::Database::open(terraces);
        const zav::platform::Recordset rs
            = db.query(QStringLiteral("SELECT CODICE, NOME_CONDOMINO, PALAZ, SCALA, PIANO, INTERNO FROM "
                                      "SUP_COEFF_VOL WHERE DESCRIZ_VANO = 'Balcone'"));
        ASSERT_EQ(rs.recordCount(), 1);
        EXPECT_EQ(rs.row(0), (QVector<QVariant> { "T1", "Rossi", qlonglong(1), "A", "2", qlonglong(5) }));
        EXPECT_EQ(header(), (QStringList { "Rossi", "1", "A", "2", "5" }));
        EXPECT_TRUE(boxes.shown().isEmpty()) << boxes.messages().join(u'|').toStdString();
    }
}

// With no unit shown a room would belong to nobody: the new-row line refuses it and says why.
TEST_F(TerraceRooms, NoRoomIsAddedWhileNoUnitIsShown)
{
    buildings(1, { 1 });
    frm_terrazze *form = openForm();
    form->selectTable(QStringLiteral("T1"), QStringLiteral("Terrazzi"));
    ASSERT_FALSE(form->shownUnit().has_value());
    QList<std::pair<QString, QVariant>> values { { "DESCRIZ_VANO", "Balcone" } };
    EXPECT_FALSE(form->TDBGrid1_OnAddNew(values));
    EXPECT_EQ(rows(terraces, QStringLiteral("SUP_COEFF_VOL")), 0);
}

TEST_F(TerraceRooms, ACoefficientButtonOpensThePickerOnItsColumnForThisGrid)
{
    buildings(1, { 1 });
    room("Terrazzo", "2", {}, {}, "3");
    frm_terrazze *form = showRossi();
    form->TabStrip1->setCurrentIndex(1);
    ASSERT_TRUE(form->TDBGrid1->column(10).button);

    const struct
    {
        const char *name;
        bool accept;
        bool shown;
    } cases[] = { { "prepared: shown modal", true, true }, { "refused: not shown", false, false } };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        QPointer<zav::test::PickerDouble> picker;
        zav::platform::FormRegistry::setFactory(QStringLiteral("frm_tab_coeff"), [&picker, &c] {
            picker = new zav::test::PickerDouble;
            picker->accept = c.accept;
            return picker.data();
        });
        bool shown = false;
        {
            const zav::platform::ModalDriverScope driver([&shown](QWidget *modal) {
                shown = true;
                modal->close();
            });
            form->TDBGrid1->setCurrentIndex(form->TDBGrid1->model()->index(0, 10));
            emit form->TDBGrid1->buttonClick(10);
        }
        ASSERT_FALSE(picker.isNull());
        EXPECT_EQ(picker->preparedColumn, 10);
        EXPECT_EQ(picker->caption, QStringLiteral("Trasf."));
        EXPECT_EQ(shown, c.shown);
        zav::platform::FormRegistry::unload(QStringLiteral("frm_tab_coeff"));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
    zav::platform::FormRegistry::setFactory(QStringLiteral("frm_tab_coeff"), {});
}

TEST_F(TerraceRooms, ThePickerWritesTheChosenCoefficientIntoOneRoomOrEveryRoom)
{
    buildings(1, { 1 });
    room("Terrazzo", "2", {}, {}, "3");
    room("Balcone", "4", {}, {}, "3");
    room("Altro", "5", {}, {}, "3", QStringLiteral("Bianchi"));
    {
        zav::platform::Database db = zav::platform::Database::open(project);
        const zav::platform::Recordset rs = db.table(QStringLiteral("TAB_COEF4"));
        ASSERT_GE(rs.recordCount(), 2);
        db.update(QStringLiteral("TAB_COEF4"), rs.rowidAt(1),
            { { QStringLiteral("TAB_B"), QStringLiteral(" 0,9 ") } });
    }
    zav::tables::registerForms();
    frm_terrazze *form = showRossi();
    form->TabStrip1->setCurrentIndex(1);

    const struct
    {
        const char *name;
        zav::platform::MsgResult answer;
        int row;
        QStringList light; // COEFF_LUMIN of the rooms, in stored order
    } cases[] = {
        { "No: the current room", zav::platform::MsgResult::No, 1, { "", "0,9", "" } },
        { "Yes: every room of the unit", zav::platform::MsgResult::Yes, 1, { "0,9", "0,9", "" } },
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        {
            zav::platform::Database db = zav::platform::Database::open(terraces);
            db.exec(QStringLiteral("UPDATE SUP_COEFF_VOL SET COEFF_LUMIN = NULL"));
        }
        form->Data1->refresh();
        boxes.clear();
        boxes.answer(c.answer);
        QString title;
        {
            const zav::platform::ModalDriverScope driver([&title](QWidget *shown) {
                auto *picker = qobject_cast<zav::tables::frm_tab_coeff *>(shown);
                ASSERT_NE(picker, nullptr);
                title = picker->Label1->text();
                EXPECT_EQ(picker->Command2->text(), QStringLiteral("Trasf."));
                picker->TDBGrid1->setCurrentIndex(picker->TDBGrid1->model()->index(1, 2));
                picker->Command2->click();
            });
            form->TDBGrid1->setCurrentIndex(form->TDBGrid1->model()->index(c.row, 11));
            emit form->TDBGrid1->buttonClick(11);
        }
        EXPECT_EQ(title, QStringLiteral("Tabella Luminosità"));
        ASSERT_EQ(boxes.shown().size(), 1);
        EXPECT_EQ(
            boxes.shown().first().text, QStringLiteral("Vuoi trasferire il coefficente su tutti i vani ?"));
        EXPECT_EQ(column(terraces, QStringLiteral("SUP_COEFF_VOL"), QStringLiteral("COEFF_LUMIN")), c.light);
        // Nothing recomputed by the transfer.
        EXPECT_EQ(column(terraces, QStringLiteral("SUP_COEFF_VOL"), QStringLiteral("SUP_CONVENZIONALE")),
            (QStringList { "2,0", "4,0", "" }));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }
}

} // namespace
