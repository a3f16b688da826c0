#include "tables/frm_tab_coeff.h"

#include "tables/coefficienttables.h"
#include "tablesfixture.h"

#include <QFile>
#include <QHeaderView>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace zav::test {
namespace {

using platform::FormRegistry;
using platform::MsgResult;
using tables::frm_tab_coeff;

/** Types a text into a cell of a grid through its editor, and presses Enter. */
void typeInto(platform::DataGrid *grid, int row, int column, const QString &text)
{
    const QModelIndex index = grid->model()->index(row, column);
    grid->setCurrentIndex(index);
    grid->edit(index);
    QLineEdit *editor = nullptr;
    for (QLineEdit *open : grid->viewport()->findChildren<QLineEdit *>()) {
        if (open->isVisible())
            editor = open;
    }
    ASSERT_NE(editor, nullptr);
    editor->clear();
    QTest::keyClicks(editor, text);
    QTest::keyClick(editor, Qt::Key_Return);
    // The grid commits and closes its editor from the event loop.
    QCoreApplication::processEvents();
}

class CoefficientFormTest : public TablesTest
{
protected:
    frm_tab_coeff *loadedForm()
    {
        return FormRegistry::loaded<frm_tab_coeff>(QStringLiteral("frm_tab_coeff"));
    }
};

// Each command opens its table of the open project, or of the template without a project.
TEST_F(CoefficientFormTest, EachCommandOpensItsTableOfTheProjectOrWithoutOneOfTheTemplate)
{
    for (const bool withProject : { false, true }) {
        if (withProject)
            openProject();
        for (const auto &[key, number] : tables::coefCommands()) {
            const tables::CoefficientTable table = *tables::CoefficientTables::byCommand(key);
            SCOPED_TRACE(key.toStdString() + (withProject ? " with a project" : " without a project"));
            EXPECT_EQ(table.number, number);
            QWidget *shown = tables::coef(number);
            frm_tab_coeff *form = loadedForm();
            ASSERT_NE(form, nullptr);
            EXPECT_EQ(shown, form);
            EXPECT_TRUE(form->isVisible());
            EXPECT_FALSE(form->isModal());
            EXPECT_EQ(form->windowTitle(), QStringLiteral("Tabella Coefficienti"));
            EXPECT_EQ(form->Label1->text(), table.title);
            const QString archive = withProject ? project : templ;
            EXPECT_EQ(
                form->Label2->text(), withProject ? QStringLiteral("Progetto") : QStringLiteral("Default"));
            EXPECT_FALSE(form->Command2->isVisible());
            EXPECT_EQ(form->Data1->databaseName(), archive);
            EXPECT_EQ(form->Data1->recordSource().table, table.table);
            EXPECT_EQ(form->Data1->recordCount(), rowCount(archive, table.table));
            EXPECT_EQ(form->TDBGrid1->caption(), QStringLiteral("Tabella utilizzata: Nessuna"));
        }
        // A further command re-points the one open form.
        frm_tab_coeff *form = loadedForm();
        tables::coef(2);
        EXPECT_EQ(loadedForm(), form);
        EXPECT_EQ(form->Label1->text(), QStringLiteral("Tabella Orientamento"));
    }
    EXPECT_TRUE(boxes.shown().isEmpty());

    // The grid's columns as the form shows them.
    QStringList headers;
    for (int c = 0; c < loadedForm()->TDBGrid1->model()->columnCount(); ++c)
        headers << loadedForm()->TDBGrid1->model()->headerData(c, Qt::Horizontal).toString();
    EXPECT_EQ(headers,
        (QStringList { "Descrizione", "Tab. A", "Tab. B", "Tab. C", "Tab. D", "Tab. E", "Tab. F", "Tab. G",
            "TAB_UTIL" }));
}

TEST_F(CoefficientFormTest, TheTwoArchiveButtonsSwitchTheSameTableAndEditsGoToTheArchiveShown)
{
    frm_tab_coeff *form = qobject_cast<frm_tab_coeff *>(tables::coef(3));
    ASSERT_NE(form, nullptr);

    // No project: the message, and the form keeps the template.
    form->Command4_Click();
    ASSERT_EQ(boxes.shown().size(), 1);
    EXPECT_EQ(boxes.shown().at(0).text, QStringLiteral("Nessun progetto selezionato"));
    EXPECT_EQ(boxes.shown().at(0).title, QStringLiteral("!!! Zav - Attenzione - !!!"));
    EXPECT_EQ(boxes.shown().at(0).icon, platform::MsgIcon::Information);
    EXPECT_EQ(form->Label2->text(), QStringLiteral("Default"));
    EXPECT_EQ(form->Data1->databaseName(), templ);

    openProject();
    form->Command4_Click();
    EXPECT_EQ(form->Label2->text(), QStringLiteral("Progetto"));
    EXPECT_EQ(form->Data1->databaseName(), project);
    EXPECT_EQ(form->Data1->recordSource().table, QStringLiteral("TAB_COEF3"));

    // A value typed with either mark is stored as the number's text, in the project alone.
    form->show();
    typeInto(form->TDBGrid1, 1, 2, QStringLiteral("0.85"));
    EXPECT_EQ(stored(project, QStringLiteral("TAB_COEF3"), 1, 2), QVariant(QStringLiteral("0,85")));
    EXPECT_TRUE(stored(templ, QStringLiteral("TAB_COEF3"), 1, 2).isNull());
    EXPECT_EQ(cell(form->TDBGrid1, 1, 2), QStringLiteral("0,85"));
    typeInto(form->TDBGrid1, 1, 1, QStringLiteral(" 1,050 "));
    EXPECT_EQ(stored(project, QStringLiteral("TAB_COEF3"), 1, 1), QVariant(QStringLiteral("1,05")));

    // Not a number: told, and nothing written.
    boxes.clear();
    typeInto(form->TDBGrid1, 1, 2, QStringLiteral("0,8x"));
    ASSERT_EQ(boxes.messages().size(), 1);
    EXPECT_TRUE(boxes.messages().at(0).startsWith(u"\"0,8x\" non è un numero"));
    EXPECT_EQ(stored(project, QStringLiteral("TAB_COEF3"), 1, 2), QVariant(QStringLiteral("0,85")));

    // A cleared value is Null; the description takes any text.
    typeInto(form->TDBGrid1, 1, 2, QString());
    EXPECT_TRUE(stored(project, QStringLiteral("TAB_COEF3"), 1, 2).isNull());
    typeInto(form->TDBGrid1, 1, 0, QStringLiteral("Nord, 1.5"));
    EXPECT_EQ(stored(project, QStringLiteral("TAB_COEF3"), 1, 0), QVariant(QStringLiteral("Nord, 1.5")));

    // Back to the template: the same table, its own values.
    form->Command3_Click();
    EXPECT_EQ(form->Label2->text(), QStringLiteral("Default"));
    EXPECT_EQ(form->Data1->databaseName(), templ);
    EXPECT_EQ(form->Data1->recordSource().table, QStringLiteral("TAB_COEF3"));
    EXPECT_EQ(cell(form->TDBGrid1, 1, 1), stored(templ, QStringLiteral("TAB_COEF3"), 1, 1).toString());
    EXPECT_NE(cell(form->TDBGrid1, 1, 1), QStringLiteral("1,05"));
}

TEST_F(CoefficientFormTest, AHeaderClickMarksTheColumnInUseOfTheArchiveShown)
{
    openProject();
    frm_tab_coeff *form = qobject_cast<frm_tab_coeff *>(tables::coef(1));
    ASSERT_NE(form, nullptr);
    form->Command4_Click();
    form->Data1->setCurrentRow(2);

    // A real click on the header of "Tab. C".
    QHeaderView *header = form->TDBGrid1->horizontalHeader();
    QTest::mouseClick(header->viewport(), Qt::LeftButton, {},
        QPoint(header->sectionViewportPosition(3) + header->sectionSize(3) / 2, header->height() / 2));
    EXPECT_EQ(form->TDBGrid1->caption(), QStringLiteral("Tabella utilizzata: Tab. C"));
    const int rows = rowCount(project, QStringLiteral("TAB_COEF"));
    ASSERT_GT(rows, 1);
    for (int row = 0; row < rows; ++row)
        EXPECT_EQ(stored(project, QStringLiteral("TAB_COEF"), row, 8), QVariant(QStringLiteral("Tab. C")));
    EXPECT_TRUE(stored(templ, QStringLiteral("TAB_COEF"), 0, 8).isNull());
    EXPECT_EQ(form->Data1->currentRow(), 2);
    EXPECT_EQ(cell(form->TDBGrid1, 0, 8), QStringLiteral("Tab. C"));

    // Activation reads the column in use back; the template's table has none.
    form->TDBGrid1->setCaption(QString());
    form->Form_Activate();
    EXPECT_EQ(form->TDBGrid1->caption(), QStringLiteral("Tabella utilizzata: Tab. C"));
    form->Command3_Click();
    EXPECT_EQ(form->TDBGrid1->caption(), QStringLiteral("Tabella utilizzata: Nessuna"));

    // A table with no rows: nothing written, the caption follows the click all the same, and
    // activation leaves it.
    platform::Database::open(project).clear(QStringLiteral("TAB_COEF2"));
    tables::coef(2);
    form->Command4_Click();
    ASSERT_EQ(form->Data1->recordCount(), 0);
    form->TDBGrid1_HeadClick(2);
    EXPECT_EQ(form->TDBGrid1->caption(), QStringLiteral("Tabella utilizzata: Tab. B"));
    form->Form_Activate();
    EXPECT_EQ(form->TDBGrid1->caption(), QStringLiteral("Tabella utilizzata: Tab. B"));
    EXPECT_EQ(rowCount(project, QStringLiteral("TAB_COEF2")), 0);
    EXPECT_TRUE(boxes.shown().isEmpty());
}

TEST_F(CoefficientFormTest, AMissingOrReadOnlyTemplateIsToldAndChangesNothing)
{
    // An open form keeps what it shows.
    frm_tab_coeff *form = qobject_cast<frm_tab_coeff *>(tables::coef(2));
    ASSERT_NE(form, nullptr);
    ASSERT_TRUE(QFile(templ).setPermissions(QFile::ReadOwner | QFile::ReadUser));
    EXPECT_EQ(tables::coef(5), nullptr);
    ASSERT_EQ(boxes.messages().size(), 1);
    EXPECT_TRUE(boxes.messages().at(0).contains(u"di sola lettura"));
    EXPECT_EQ(form->Label1->text(), QStringLiteral("Tabella Orientamento"));
    EXPECT_EQ(form->Data1->recordSource().table, QStringLiteral("TAB_COEF2"));
    EXPECT_GT(form->Data1->recordCount(), 0);

    // "Tab. Default" on a read-only template: the project stays shown.
    openProject();
    QFile(templ).setPermissions(QFile::ReadOwner | QFile::WriteOwner);
    form->Command4_Click();
    QFile(templ).setPermissions(QFile::ReadOwner | QFile::ReadUser);
    boxes.clear();
    form->Command3_Click();
    EXPECT_EQ(boxes.messages().size(), 1);
    EXPECT_EQ(form->Label2->text(), QStringLiteral("Progetto"));
    EXPECT_EQ(form->Data1->databaseName(), project);

    // With no form open (and no project: the template is what a command opens), none is left behind.
    engine::VAR_GBL.progetto_corrente.reset();
    form->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    QFile(templ).setPermissions(QFile::ReadOwner | QFile::WriteOwner);
    ASSERT_TRUE(QFile::remove(templ));
    boxes.clear();
    EXPECT_EQ(tables::coef(1), nullptr);
    ASSERT_EQ(boxes.messages().size(), 1);
    EXPECT_TRUE(boxes.messages().at(0).startsWith(u"Impossibile trovare l'archivio modello"));
    EXPECT_FALSE(FormRegistry::isLoaded(QStringLiteral("frm_tab_coeff")));
    EXPECT_FALSE(QFile::exists(templ));
}

TEST_F(CoefficientFormTest, StampaHandsTheTitleAndTheArchiveShownToThePrinting)
{
    QStringList printed;
    tables::setPrintHandlers(
        { [&](const QString &title, const QString &archive) { printed << title << archive; }, {} });
    openProject();
    frm_tab_coeff *form = qobject_cast<frm_tab_coeff *>(tables::coef(3));
    ASSERT_NE(form, nullptr);
    EXPECT_TRUE(form->Command5->isEnabled());
    form->Command5->click();
    form->Command3_Click();
    form->Command5->click();
    EXPECT_EQ(printed, (QStringList { "Tabella Esposizione", project, "Tabella Esposizione", templ }));
}

/** The project with a unit of three rooms and a room of another unit. */
class PickerTest : public CoefficientFormTest
{
protected:
    void SetUp() override
    {
        CoefficientFormTest::SetUp();
        openProject();
        platform::Database db = platform::Database::open(project);
        for (const char *room : { "Cucina", "Camera", "Bagno" })
            addRoom(db, QStringLiteral("D'Amico"), 3, QString::fromLatin1(room));
        addRoom(db, QStringLiteral("Rossi"), 4, QStringLiteral("Sala"));
        // The light table of the project gets values of its own, apart from the template's.
        const platform::Recordset rs = db.table(QStringLiteral("TAB_COEF4"));
        db.update(QStringLiteral("TAB_COEF4"), rs.rowidAt(1),
            { { QStringLiteral("TAB_A"), QStringLiteral(" 0,92 ") },
                { QStringLiteral("TAB_B"), QStringLiteral("0,9") } });

        const platform::TableQuery rooms = engine::archive::roomsQuery(
            QStringLiteral("D'Amico"), QStringLiteral("1"), QStringLiteral("A"), 3);
        FormRegistry::setFactory(QStringLiteral("frm_ins_coeff"),
            [this, rooms] { return new RoomGridForm(project, rooms, workspaceRoomColumns()); });
        workspace = static_cast<RoomGridForm *>(FormRegistry::form(QStringLiteral("frm_ins_coeff")));
    }

    static void addRoom(platform::Database &db, const QString &owner, int interno, const QString &room)
    {
        db.insert(QStringLiteral("ESPRESSIONI"),
            { { QStringLiteral("NOME_CONDOMINO"), owner }, { QStringLiteral("DESCRIZIONE"), room },
                { QStringLiteral("PALAZ"), QStringLiteral("1") },
                { QStringLiteral("SCALA"), QStringLiteral("A") }, { QStringLiteral("INTERNO"), interno } });
    }

    /** The light coefficient (COEF4, field 8) of the project's rooms, in stored order. */
    QStringList lightCoefficients()
    {
        QStringList values;
        const platform::Recordset rs = platform::Database::open(project).table(QStringLiteral("ESPRESSIONI"));
        for (int row = 0; row < rs.recordCount(); ++row)
            values << rs.value(row, 8).toString();
        return values;
    }

    /** The picker prepared as a cell button of a room grid does it, through the meta-object system. */
    frm_tab_coeff *openPicker(int column, const QString &caption)
    {
        QWidget *picker = FormRegistry::form(QStringLiteral("frm_tab_coeff"));
        bool prepared = false;
        EXPECT_TRUE(QMetaObject::invokeMethod(picker, "preparePicker", Q_RETURN_ARG(bool, prepared),
            Q_ARG(int, column), Q_ARG(QString, caption)));
        EXPECT_TRUE(prepared);
        return qobject_cast<frm_tab_coeff *>(picker);
    }

    /** Shows the picker modal; while it is up, chooses a cell and presses the transfer button. */
    void transferFrom(frm_tab_coeff *picker, int row, int column, MsgResult answer)
    {
        boxes.answer(answer);
        platform::ModalDriverScope driver([&](QWidget *shown) {
            EXPECT_EQ(shown, picker);
            EXPECT_TRUE(shown->isModal());
            picker->TDBGrid1->setCurrentIndex(picker->TDBGrid1->model()->index(row, column));
            picker->Command2->click();
        });
        FormRegistry::showModal(picker);
    }

    RoomGridForm *workspace = nullptr;
};

TEST_F(PickerTest, FromTheWorkspacesLightColumnOneRoomOrEveryRoomReceivesTheValue)
{
    workspace->standOn(1, 9);
    frm_tab_coeff *picker = openPicker(9, QStringLiteral("Trasferisci"));
    EXPECT_EQ(picker->Label1->text(), QStringLiteral("Tabella Luminosità"));
    EXPECT_EQ(picker->Label2->text(), QStringLiteral("Progetto"));
    EXPECT_TRUE(picker->Command2->isVisibleTo(picker));
    EXPECT_EQ(picker->Command2->text(), QStringLiteral("Trasferisci"));
    EXPECT_EQ(picker->Data1->databaseName(), project);
    EXPECT_EQ(picker->Data1->recordSource().table, QStringLiteral("TAB_COEF4"));

    // No: the current room alone, the value without its blanks; the picker closes.
    transferFrom(picker, 1, 1, MsgResult::No);
    ASSERT_EQ(boxes.shown().size(), 1);
    EXPECT_EQ(boxes.shown().at(0).text, QStringLiteral("Vuoi trasferire il coefficente su tutti i vani ?"));
    EXPECT_EQ(boxes.shown().at(0).title, QStringLiteral("!!! Zav - Informazioni - !!!"));
    EXPECT_EQ(boxes.shown().at(0).buttons, platform::MsgButtons::YesNo);
    EXPECT_FALSE(FormRegistry::isLoaded(QStringLiteral("frm_tab_coeff")));
    EXPECT_EQ(lightCoefficients(), (QStringList { "", "0,92", "", "" }));

    // Yes: every room of the unit, in the same column; the other unit's room is not shown, nor touched.
    workspace->standOn(0, 9);
    transferFrom(openPicker(9, QStringLiteral("Trasferisci")), 1, 2, MsgResult::Yes);
    EXPECT_EQ(lightCoefficients(), (QStringList { "0,9", "0,9", "0,9", "" }));
    EXPECT_EQ(workspace->grid->row(), -1) << "the grid ends past its last row";
    EXPECT_FALSE(FormRegistry::isLoaded(QStringLiteral("frm_tab_coeff")));
}

// The transferred value shows whole beside its cell button: the column widens to it, in one room or
// in every room.
TEST_F(PickerTest, TheColumnWidensToTheValueTransferred)
{
    platform::Database db = platform::Database::open(project);
    const platform::Recordset rs = db.table(QStringLiteral("TAB_COEF4"));
    db.update(QStringLiteral("TAB_COEF4"), rs.rowidAt(1),
        { { QStringLiteral("TAB_A"), QStringLiteral("0,987654321") },
            { QStringLiteral("TAB_B"), QStringLiteral("1,23456789012") } });
    db.close();
    platform::DataGridColumn light = workspace->grid->column(9);
    light.width = 20;
    light.button = true;
    workspace->grid->setColumn(9, light);
    const struct
    {
        int row;
        int column;
        MsgResult answer;
        const char *value;
    } cases[] = { { 0, 1, MsgResult::No, "0,987654321" }, { 1, 2, MsgResult::Yes, "1,23456789012" } };
    for (const auto &c : cases) {
        workspace->standOn(c.row, 9);
        transferFrom(openPicker(9, QStringLiteral("Trasferisci")), 1, c.column, c.answer);
        const QString shown = workspace->grid->model()->index(c.row, 9).data().toString();
        EXPECT_EQ(shown, QString::fromLatin1(c.value));
        // The value's text and the cell's button side by side.
        EXPECT_GE(
            workspace->grid->columnWidth(9), workspace->grid->fontMetrics().horizontalAdvance(shown) + 18)
            << c.value;
    }
}

TEST_F(PickerTest, FromTheTerraceFormTheTerraceGridReceivesTheValue)
{
    const QString terraces = folder.copyOf(QStringLiteral("TERRAZZE.CLO"), QStringLiteral("PROVA.TER"));
    {
        platform::Database db = platform::Database::open(terraces);
        for (const char *room : { "Terrazzo", "Lastrico" })
            db.insert(QStringLiteral("SUP_COEFF_VOL"),
                { { QStringLiteral("CODICE"), QStringLiteral("T1") },
                    { QStringLiteral("DESCRIZ_VANO"), QString::fromLatin1(room) } });
    }
    FormRegistry::setFactory(QStringLiteral("frm_terrazze"), [terraces] {
        return new RoomGridForm(
            terraces, platform::TableQuery { QStringLiteral("SUP_COEFF_VOL"), {}, {} }, {});
    });
    auto *terrace = static_cast<RoomGridForm *>(FormRegistry::form(QStringLiteral("frm_terrazze")));
    terrace->standOn(0, 11);
    workspace->standOn(0, 9);

    frm_tab_coeff *picker = openPicker(11, QStringLiteral("Trasf."));
    EXPECT_EQ(picker->Label1->text(), QStringLiteral("Tabella Luminosità"));
    EXPECT_EQ(picker->Command2->text(), QStringLiteral("Trasf."));
    EXPECT_EQ(picker->Data1->recordSource().table, QStringLiteral("TAB_COEF4"));
    transferFrom(picker, 1, 2, MsgResult::Yes);

    for (int row = 0; row < 2; ++row)
        EXPECT_EQ(
            stored(terraces, QStringLiteral("SUP_COEFF_VOL"), row, 11), QVariant(QStringLiteral("0,9")));
    EXPECT_EQ(lightCoefficients(), (QStringList { "", "", "", "" })) << "never the workspace grid";

    // The terrace's own columns: 8 is the floor table, 15 the free one.
    EXPECT_EQ(openPicker(8, QStringLiteral("Trasf."))->Label1->text(), QStringLiteral("Tabella Piano"));
    EXPECT_EQ(openPicker(15, QStringLiteral("Trasf."))->Label1->text(), QStringLiteral("Tabella Utente 1"));
}

TEST_F(PickerTest, ADescriptionOrAnEmptyCellIsNotTransferredAndThePickerStaysOpen)
{
    workspace->standOn(0, 6);
    frm_tab_coeff *picker = openPicker(6, QStringLiteral("Trasferisci"));
    EXPECT_EQ(picker->Label1->text(), QStringLiteral("Tabella Piano"));
    picker->show();

    // The description column.
    picker->TDBGrid1->setCurrentIndex(picker->TDBGrid1->model()->index(0, 0));
    picker->Command2_Click();
    // An empty value column.
    picker->TDBGrid1->setCurrentIndex(picker->TDBGrid1->model()->index(0, 7));
    picker->Command2_Click();
    ASSERT_EQ(boxes.messages().size(), 2);
    EXPECT_EQ(boxes.messages().at(0),
        QStringLiteral("\"10S\" non è un coefficiente: scegliere nella tabella un valore numerico."));
    EXPECT_EQ(
        boxes.messages().at(1), QStringLiteral("Scegliere nella tabella il coefficiente da trasferire."));
    EXPECT_TRUE(FormRegistry::isLoaded(QStringLiteral("frm_tab_coeff")));
    EXPECT_EQ(lightCoefficients(), (QStringList { "", "", "", "" }));
    EXPECT_EQ(stored(project, QStringLiteral("ESPRESSIONI"), 0, 5), QVariant());

    // A column that opens no table, and a calling form that is not open: refused, told.
    bool prepared = true;
    QMetaObject::invokeMethod(picker, "preparePicker", Q_RETURN_ARG(bool, prepared), Q_ARG(int, 14),
        Q_ARG(QString, QStringLiteral("Trasferisci")));
    EXPECT_FALSE(prepared);
    EXPECT_EQ(picker->Label1->text(), QStringLiteral("Tabella Piano"));
    picker->Command2->setText(QStringLiteral("Trasf."));
    picker->TDBGrid1->setCurrentIndex(picker->TDBGrid1->model()->index(0, 1));
    boxes.clear();
    picker->Command2_Click();
    EXPECT_EQ(boxes.messages(), QStringList { "Nessuna griglia dei vani a cui trasferire il coefficiente." });
}

TEST_F(PickerTest, ThePickerTakesOverTheEditorOpenFromTheMainWindow)
{
    frm_tab_coeff *editor = qobject_cast<frm_tab_coeff *>(tables::coef(1));
    ASSERT_NE(editor, nullptr);
    ASSERT_TRUE(editor->isVisible());
    workspace->standOn(2, 9);
    frm_tab_coeff *picker = openPicker(9, QStringLiteral("Trasferisci"));
    EXPECT_EQ(picker, editor);
    EXPECT_EQ(picker->Data1->databaseName(), project);
    EXPECT_EQ(picker->Label2->text(), QStringLiteral("Progetto"));
    transferFrom(picker, 1, 1, MsgResult::No);
    EXPECT_EQ(lightCoefficients(), (QStringList { "", "", "0,92", "" }));
}

// The picker opens on the cell of the column in use (the first coefficient column when none is) and
// keys typed at once never rename a floor code; the editor of "Archivi -> Coefficienti" that opens
// next on the same form still changes descriptions.
TEST_F(PickerTest, ThePickerOpensOnTheCoefficientColumnWithItsTextsReadOnly)
{
    const auto description = [this] { return stored(project, QStringLiteral("TAB_COEF"), 0, 0); };
    ASSERT_EQ(description(), QVariant(QStringLiteral("10S")));
    for (const bool marked : { false, true }) {
        SCOPED_TRACE(marked);
        if (marked)
            platform::Database::open(project).exec(QStringLiteral("UPDATE TAB_COEF SET TAB_UTIL = 'Tab. C'"));
        workspace->standOn(0, 6);
        frm_tab_coeff *picker = openPicker(6, QStringLiteral("Trasferisci"));
        platform::ModalDriverScope driver([&](QWidget *) {
            platform::DataGrid *grid = picker->TDBGrid1;
            EXPECT_EQ(grid->currentIndex().row(), 0);
            EXPECT_EQ(grid->currentIndex().column(), marked ? 3 : 1);
            for (const int text : { 0, 8 }) {
                grid->setCurrentIndex(grid->model()->index(0, text));
                QTest::keyClicks(grid, QStringLiteral("Nord"));
                QTest::keyClick(grid, Qt::Key_Return);
                QCoreApplication::processEvents();
            }
            picker->close();
        });
        FormRegistry::showModal(picker);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_EQ(description(), QVariant(QStringLiteral("10S")));
        EXPECT_EQ(stored(project, QStringLiteral("TAB_COEF"), 0, 8),
            marked ? QVariant(QStringLiteral("Tab. C")) : QVariant());
    }

    auto *editor = qobject_cast<frm_tab_coeff *>(tables::coef(1));
    ASSERT_NE(editor, nullptr);
    typeInto(editor->TDBGrid1, 0, 0, QStringLiteral("Interrato"));
    EXPECT_EQ(description(), QVariant(QStringLiteral("Interrato")));
}

} // namespace
} // namespace zav::test
