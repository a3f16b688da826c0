// The unit workspace form: the hand-over of a unit, its keys, grid layouts, resize rules, closing
// and the thousandths band, driven without pixels on the offscreen platform.

#include "platform/ui/datagrid.h"
#include "platform/ui/datasource.h"
#include "platform/ui/twips.h"
#include "support/systemrecorder.h"
#include "workspace/mainwindowlink.h"
#include "workspace/unitviews.h"
#include "workspacefixture.h"

#include <QComboBox>
#include <QFile>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMdiSubWindow>
#include <QPushButton>
#include <QTabWidget>
#include <QTest>

#include <gtest/gtest.h>

using zav::engine::VAR_GBL;
using zav::platform::Database;
using zav::platform::FormRegistry;
using zav::platform::MsgResult;
using zav::platform::Twips;
using zav::test::num;
using zav::workspace::frm_ins_coeff;
using zav::workspace::Unit;
using zav::workspace::UnitKey;
using zav::workspace::WorkspaceCommands;
using zav::workspace::WorkspaceGeometry;
namespace vb = zav::platform::vb;

namespace {

const QString kRossi = QStringLiteral("D'Amico \"Nino\"");
const QString kBianchi = QStringLiteral("Bianchi");

/** Two units: D'Amico "Nino" (the first, 1/A floor 2 number 3, height 3) with two rooms whose
 * stored areas are 10.5 and 4 and a third with no area; Bianchi (2/Nessuna floor T number 1, no
 * height) with one room. */
class FormTest : public zav::test::WorkspaceTest
{
protected:
    void SetUp() override
    {
        WorkspaceTest::SetUp();
        project.header(true, false, false);
        rossi = project.unit(kRossi, 1, QStringLiteral("A"), QStringLiteral("2"), 3, 3.0);
        bianchi = project.unit(kBianchi, 2, QStringLiteral("Nessuna"), QStringLiteral("T"), 1, QVariant());
        r1 = project.room(kRossi, 1, QStringLiteral("A"), 3,
            { { QStringLiteral("DESCRIZIONE"), QStringLiteral("Cucina") },
                { QStringLiteral("ESPRESSIONE"), QStringLiteral("3*3.5") },
                { QStringLiteral("MQ"), num("10.5") }, { QStringLiteral("TOT_COEF"), num("10.5") },
                { QStringLiteral("TOT_VOL"), num("31.5") },
                { QStringLiteral("OPT_RISC"), QStringLiteral("S") } });
        r2 = project.room(kRossi, 1, QStringLiteral("A"), 3,
            { { QStringLiteral("DESCRIZIONE"), QStringLiteral("Bagno") },
                { QStringLiteral("ESPRESSIONE"), QStringLiteral("2*2") },
                { QStringLiteral("MQ"), QStringLiteral("4") }, { QStringLiteral("TOT_COEF"), num("3.6") },
                { QStringLiteral("COEF1"), num("0.9") }, { QStringLiteral("H_PIANO"), num("2.5") } });
        r3 = project.room(kRossi, 1, QStringLiteral("A"), 3,
            { { QStringLiteral("DESCRIZIONE"), QStringLiteral("Ripostiglio") },
                { QStringLiteral("ESPRESSIONE"), QStringLiteral("1") },
                { QStringLiteral("TOT_COEF"), num("1.0") }, { QStringLiteral("TOT_VOL"), num("2.5") } });
        b1 = project.room(kBianchi, 2, QStringLiteral("Nessuna"), 1,
            { { QStringLiteral("DESCRIZIONE"), QStringLiteral("Sala") },
                { QStringLiteral("ESPRESSIONE"), QStringLiteral("5*4") } });
    }

    frm_ins_coeff *openFirst()
    {
        WorkspaceCommands::ins_coeff();
        return loadedWorkspace();
    }

    static Unit bianchiUnit()
    {
        return Unit { UnitKey { kBianchi, QStringLiteral("2"), QStringLiteral("Nessuna"), QStringLiteral("T"),
                          QStringLiteral("1") },
            std::nullopt };
    }

    bool bandShown() const
    {
        return main->bar->isBandVisible(zav::workspace::MainWindowLink::ThousandthsBand);
    }
    bool toolOn(const char *key) const { return main->bar->isToolEnabled(QString::fromLatin1(key)); }

    /** A key pressed on a control of the workspace: the form's command runs once the key is delivered. */
    static void press(QWidget *widget, Qt::Key key)
    {
        QTest::keyClick(widget, key);
        QCoreApplication::processEvents();
    }

    qint64 rossi = 0, bianchi = 0, r1 = 0, r2 = 0, r3 = 0, b1 = 0;
};

/** The same, with the decimal separator of the parameter in force from before the rooms are made. */
class FormSeparatorTest : public FormTest, public ::testing::WithParamInterface<QChar>
{
protected:
    void SetUp() override
    {
        separator.emplace(GetParam());
        FormTest::SetUp();
    }
    void TearDown() override
    {
        FormTest::TearDown();
        separator.reset();
    }

    std::optional<vb::DecimalSeparatorScope> separator;
};

// --- The hand-over --------------------------------------------------------------------------------

TEST_P(FormSeparatorTest, InsCoeffOpensTheFirstUnitWithItsHeaderRowsAndStoredTotals)
{
    frm_ins_coeff *form = openFirst();
    ASSERT_NE(form, nullptr);
    EXPECT_TRUE(form->isVisible());
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Inserimento Coefficienti"));
    // A maximized child of the main window.
    ASSERT_EQ(main->area()->subWindowList().size(), 1);
    EXPECT_EQ(main->area()->subWindowList().at(0)->widget(), form);
    EXPECT_TRUE(main->area()->subWindowList().at(0)->isMaximized());

    EXPECT_EQ(form->Label8->text(), kRossi);
    EXPECT_EQ(form->Label9->text(), QStringLiteral("1"));
    EXPECT_EQ(form->Label10->text(), QStringLiteral("A"));
    EXPECT_EQ(form->Label11->text(), QStringLiteral("2"));
    EXPECT_EQ(form->Label12->text(), QStringLiteral("3"));
    EXPECT_EQ(form->Frame1->title(), QStringLiteral("Dati Condomino"));
    ASSERT_TRUE(VAR_GBL.sql_unita_corrente);
    EXPECT_EQ(*VAR_GBL.sql_unita_corrente, form->unit()->key.rooms());
    EXPECT_EQ(VAR_GBL.altezza_piano, 3.0);

    // The rooms as stored: the totals of what is stored, a room without area adding nothing to it.
    EXPECT_EQ(form->Data1->recordCount(), 3);
    EXPECT_EQ(form->Label14->text(), num("14.5"));
    EXPECT_EQ(form->Label16->text(), num("15.1"));
    EXPECT_EQ(form->Label18->text(), QStringLiteral("34"));
    EXPECT_EQ(form->Label20->text(), QStringLiteral("0"));

    // The surfaces view as loading sets it up.
    EXPECT_EQ(form->TDBGrid1->caption(), QStringLiteral("Calcolo Superfici"));
    EXPECT_EQ(form->selectedTab(), 1);
    EXPECT_EQ(form->TabStrip1->count(), 10);
    EXPECT_EQ(form->TabStrip1->tabText(0), QStringLiteral("Calcolo superfici"));
    EXPECT_EQ(form->TabStrip1->tabText(9), QStringLiteral("Millesimi Tabelle"));
    QStringList shown;
    for (int i = 0; i < form->TDBGrid1->columnCount(); ++i) {
        if (!form->TDBGrid1->isColumnHidden(i))
            shown << form->TDBGrid1->column(i).caption;
    }
    EXPECT_EQ(shown, QStringList({ "Descrizione", "Espressione", "Mq.", "Dim. Infisso", "Mq. Infisso" }));
    EXPECT_EQ(form->TDBGrid1->columnCount(), 23);
    EXPECT_TRUE(form->TDBGrid1->column(3).locked);
    EXPECT_EQ(form->TDBGrid1->column(1).alignment, zav::platform::DataGridColumn::Alignment::Left);
    EXPECT_EQ(form->TDBGrid1->columnWidth(2), Twips::toPixelsX(2310, form));
    EXPECT_EQ(form->TDBGrid1->columnText(1), QStringLiteral("Cucina"));

    // Hidden controls as designed.
    EXPECT_FALSE(form->Label21->isVisible());
    EXPECT_FALSE(form->Label22->isVisible());
    EXPECT_FALSE(form->Combo1->isVisible());
    EXPECT_FALSE(form->txtole->isVisible());
    EXPECT_EQ(form->txtole->text(), QStringLiteral("Text1"));
    EXPECT_FALSE(form->Command1[4]->isVisible());
    EXPECT_EQ(form->Command1[4]->text(), QStringLiteral("Esci"));
    EXPECT_FALSE(form->Command2->isVisible());
    // The building list names the buildings composed; none is, whatever the count in the header.
    EXPECT_EQ(form->Combo1->count(), 0);

    // Band 11 shown, the CAD menu on, the table tools off, the others as they were.
    EXPECT_TRUE(bandShown());
    EXPECT_TRUE(toolOn("tCad2"));
    for (const char *key : { "tArrotonda", "tCalcTab", "tCopiaMil", "tAzzera", "tSelTab" })
        EXPECT_FALSE(toolOn(key)) << key;
    for (const char *key : { "tTrova", "tRicalcola", "tCopia", "tCalcolaMil", "tEliminariga", "tEsciVis" })
        EXPECT_TRUE(toolOn(key)) << key;
    EXPECT_TRUE(boxes.shown().isEmpty());
}

TEST_P(FormSeparatorTest, SecondUnitHandedOverStoresTheFirstAndShowsOnlyItsOwnRows)
{
    frm_ins_coeff *form = openFirst();
    ASSERT_NE(form, nullptr);
    form->Label20->setText(QStringLiteral("99"));

    EXPECT_EQ(frm_ins_coeff::open(bianchiUnit()), form);
    // D'Amico's rooms recomputed: 10.5, 4 x 0.9 = 3.6 and 1; heights 3, 2.5, 2.5; volumes 31.5, 9 and
    // 2.5; only the first room heated.
    EXPECT_EQ(project.totals(rossi), QVariantList({ 15.1, 43.0, 31.5, 0.0 }));
    EXPECT_EQ(form->Label8->text(), kBianchi);
    EXPECT_EQ(form->Label10->text(), QStringLiteral("Nessuna"));
    EXPECT_EQ(form->Label11->text(), QStringLiteral("T"));
    ASSERT_EQ(form->Data1->recordCount(), 1);
    EXPECT_EQ(form->TDBGrid1->columnText(1), QStringLiteral("Sala"));
    EXPECT_EQ(form->Label14->text(), QStringLiteral("0"));
    EXPECT_EQ(form->Label20->text(), QStringLiteral("0"));
    EXPECT_EQ(*VAR_GBL.sql_unita_corrente, bianchiUnit().key.rooms());
    EXPECT_EQ(main->area()->subWindowList().size(), 1);
}

// The workspace binds its own unit's rooms, whatever another form left in sql_unita_corrente, and
// counts from its own unit's floor height, whatever another calculation left in altezza_piano.
TEST_P(FormSeparatorTest, TotalsUseTheWorkspacesOwnUnitAndFloorHeight)
{
    ASSERT_NE(openFirst(), nullptr);
    frm_ins_coeff *form = frm_ins_coeff::open(bianchiUnit());
    Database::open(project.path())
        .update(QStringLiteral("ESPRESSIONI"), r2, { { QStringLiteral("TOT_VOL"), QStringLiteral("x") } });
    VAR_GBL.sql_unita_corrente = UnitKey { kRossi, QStringLiteral("1"), QStringLiteral("A"),
        QStringLiteral("2"), QStringLiteral("3") }
                                     .rooms();
    VAR_GBL.altezza_piano = 7.0;
    WorkspaceCommands::ric_tot();
    // Bianchi has no floor height: 20 square metres, height counted as 1 and not written.
    EXPECT_EQ(project.totals(bianchi), QVariantList({ 20.0, 20.0, 0.0, 0.0 }));
    EXPECT_FALSE(project.value(QStringLiteral("ESPRESSIONI"), b1, QStringLiteral("H_PIANO")).isValid());
    EXPECT_EQ(project.value(QStringLiteral("ESPRESSIONI"), b1, QStringLiteral("TOT_VOL")), num("20.0"));
    EXPECT_EQ(form->Label14->text(), QStringLiteral("20"));
    EXPECT_EQ(form->Label16->text(), num("20.0"));
    EXPECT_EQ(form->Label18->text(), QStringLiteral("20"));
    EXPECT_EQ(form->Data1->value(0, QStringLiteral("TOT_VOL")), num("20.0"));
    // The rooms of D'Amico were not touched by Bianchi's pass.
    EXPECT_EQ(
        project.value(QStringLiteral("ESPRESSIONI"), r2, QStringLiteral("TOT_VOL")), QStringLiteral("x"));
}

TEST_P(FormSeparatorTest, UnitWhoseRoomsWereAllDeletedStoresZeroAndShowsZero)
{
    frm_ins_coeff *form = openFirst();
    ASSERT_NE(form, nullptr);
    Database::open(project.path())
        .update(QStringLiteral("CODIF_PIANI"), rossi, { { QStringLiteral("TOT_SUP"), 50.0 } });
    Database::open(project.path()).exec(QStringLiteral("DELETE FROM ESPRESSIONI WHERE INTERNO = 3"));
    WorkspaceCommands::ric_tot();
    EXPECT_EQ(project.totals(rossi), QVariantList({ 0.0, 0.0, 0.0, 0.0 }));
    EXPECT_EQ(form->Data1->recordCount(), 0);
    for (QLabel *label : { form->Label14, form->Label16, form->Label18, form->Label20 })
        EXPECT_EQ(label->text(), QStringLiteral("0"));
}

TEST_F(FormTest, MissingUnitRowIsSaid)
{
    frm_ins_coeff *form = openFirst();
    ASSERT_NE(form, nullptr);
    Database::open(project.path())
        .update(QStringLiteral("CODIF_PIANI"), rossi, { { QStringLiteral("SIGLA"), QStringLiteral("3") } });
    WorkspaceCommands::ric_tot();
    ASSERT_EQ(boxes.shown().size(), 1);
    EXPECT_TRUE(
        boxes.shown().at(0).text.startsWith(QStringLiteral("Totali non memorizzati: il condomino D'Amico")));
    EXPECT_EQ(project.totals(rossi), QVariantList({ QVariant(), QVariant(), QVariant(), QVariant() }));
}

TEST_F(FormTest, InsCoeffRefusesAFirstUnitWithoutFloorCodeOrUnitNumber)
{
    struct Case
    {
        const char *field;
        const char *message;
    };
    const Case cases[] = { { "SIGLA", "Non è stato inserito il piano nel condomino D'Amico \"Nino\"" },
        { "INTERNO", "Non è stato inserito l'interno nel condomino D'Amico \"Nino\"" } };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.field);
        boxes.clear();
        // A workspace open on another unit does not stay open either.
        ASSERT_NE(frm_ins_coeff::open(bianchiUnit()), nullptr);
        Database db = Database::open(project.path());
        const QVariant kept
            = project.value(QStringLiteral("CODIF_PIANI"), rossi, QString::fromLatin1(c.field));
        db.update(QStringLiteral("CODIF_PIANI"), rossi, { { QString::fromLatin1(c.field), QVariant() } });
        WorkspaceCommands::ins_coeff();
        processDeletes();
        ASSERT_EQ(boxes.shown().size(), 1);
        EXPECT_EQ(boxes.shown().at(0).text, QString::fromUtf8(c.message));
        EXPECT_EQ(boxes.shown().at(0).title, QStringLiteral("Zav"));
        EXPECT_EQ(boxes.shown().at(0).icon, zav::platform::MsgIcon::None);
        EXPECT_EQ(loadedWorkspace(), nullptr);
        EXPECT_FALSE(bandShown());
        db.update(QStringLiteral("CODIF_PIANI"), rossi, { { QString::fromLatin1(c.field), kept } });
    }
}

TEST_F(FormTest, InsCoeffOnAProjectWithoutUnitsDoesNothing)
{
    Database::open(project.path()).clear(QStringLiteral("CODIF_PIANI"));
    WorkspaceCommands::ins_coeff();
    EXPECT_EQ(loadedWorkspace(), nullptr);
    EXPECT_TRUE(boxes.shown().isEmpty());
    EXPECT_FALSE(bandShown());
}

TEST_F(FormTest, InsCoeffOnAnArchiveThatCannotBeReadSaysSo)
{
    ASSERT_TRUE(QFile::remove(project.path()));
    WorkspaceCommands::ins_coeff();
    EXPECT_EQ(loadedWorkspace(), nullptr);
    ASSERT_EQ(boxes.shown().size(), 1);
    EXPECT_EQ(boxes.shown().at(0).icon, zav::platform::MsgIcon::Critical);
    EXPECT_EQ(boxes.shown().at(0).title, QStringLiteral("!!! Zav - Attenzione - !!!"));
}

// --- Keys -----------------------------------------------------------------------------------------

TEST_F(FormTest, F3StoresTheTotalsThenShowsTheUnitListToFind)
{
    FormRegistry::setFactory(QStringLiteral("frm_elenco"), [] {
        auto *list = new QWidget;
        (new QPushButton(QStringLiteral("Copia"), list))->setObjectName(QStringLiteral("Command1"));
        return list;
    });
    frm_ins_coeff *form = openFirst();
    ASSERT_NE(form, nullptr);
    press(form->TDBGrid1, Qt::Key_F3);
    EXPECT_EQ(project.totals(rossi).at(0), QVariant(15.1));
    QWidget *list = FormRegistry::loaded(QStringLiteral("frm_elenco"));
    ASSERT_NE(list, nullptr);
    EXPECT_TRUE(list->isVisible());
    EXPECT_EQ(list->findChild<QPushButton *>(QStringLiteral("Command1"))->text(), QStringLiteral("Trova"));
    FormRegistry::unload(QStringLiteral("frm_elenco"));
    FormRegistry::setFactory(QStringLiteral("frm_elenco"), {});
}

TEST_F(FormTest, F4StoresTheOpenUnitsTotalsBeforeTheThousandthsCalculation)
{
    frm_ins_coeff *form = openFirst();
    ASSERT_NE(form, nullptr);
    // Without the store, D'Amico's empty weighted surface would be reported first; the calculation
    // then stops at Bianchi, who has no floor height.
    press(form->TDBGrid1, Qt::Key_F4);
    EXPECT_EQ(project.totals(rossi).at(0), QVariant(15.1));
    EXPECT_EQ(boxes.messages(),
        QStringList(
            { QStringLiteral("E' stata trovata l'altezza di piano vuota del condomino Bianchi. Controllare e "
                             "ripetere l'operazione") }));
    EXPECT_FALSE(form->testAttribute(Qt::WA_SetCursor));
}

TEST_F(FormTest, EscStoresTheTotalsClosesAndHidesTheBand)
{
    frm_ins_coeff *form = openFirst();
    ASSERT_NE(form, nullptr);
    // Esc acts while a cell is being edited: the cell's text is stored (here unchanged) first.
    const QModelIndex cell = form->TDBGrid1->model()->index(0, 1);
    form->TDBGrid1->setCurrentIndex(cell);
    form->TDBGrid1->edit(cell);
    auto *editor = form->TDBGrid1->viewport()->findChild<QLineEdit *>();
    ASSERT_NE(editor, nullptr);
    press(editor, Qt::Key_Escape);
    processDeletes();
    EXPECT_EQ(loadedWorkspace(), nullptr);
    EXPECT_EQ(project.totals(rossi), QVariantList({ 15.1, 43.0, 31.5, 0.0 }));
    EXPECT_FALSE(bandShown());
    EXPECT_FALSE(toolOn("tCad2"));
    EXPECT_EQ(project.value(QStringLiteral("ESPRESSIONI"), r1, QStringLiteral("DESCRIZIONE")),
        QStringLiteral("Cucina"));
}

// Closed with Esc on a thousandths view, the workspace opens again on "Calcolo superfici" with that
// view's tools and buttons: "Trova" and "Ricalcola" on, "Arrotonda" off; and "Ricalcola" acts.
TEST_F(FormTest, ReopenedAfterAThousandthsViewTheToolsAreThoseOfTheSurfacesView)
{
    frm_ins_coeff *form = openFirst();
    ASSERT_NE(form, nullptr);
    form->TabStrip1->setCurrentIndex(3);
    ASSERT_FALSE(toolOn("tTrova"));
    ASSERT_TRUE(toolOn("tArrotonda"));
    press(form->TDBGrid1, Qt::Key_Escape);
    processDeletes();
    ASSERT_EQ(loadedWorkspace(), nullptr);

    form = openFirst();
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(form->TDBGrid1->caption(), QStringLiteral("Calcolo Superfici"));
    for (const char *on : { "tTrova", "tRicalcola", "tCopia", "tCalcolaMil", "tEliminariga" })
        EXPECT_TRUE(toolOn(on)) << on;
    for (const char *off : { "tArrotonda", "tCalcTab", "tCopiaMil", "tAzzera", "tSelTab" })
        EXPECT_FALSE(toolOn(off)) << off;
    EXPECT_TRUE(form->Command1[1]->isEnabled()); // "Ricalc. Totali"
    EXPECT_TRUE(form->Command1[5]->isEnabled()); // "Trova"
    EXPECT_FALSE(form->Command1[6]->isEnabled()); // "Arrotonda"

    Database::open(project.path())
        .update(QStringLiteral("CODIF_PIANI"), rossi, { { QStringLiteral("TOT_SUP"), QVariant() } });
    QObject::connect(main->bar, &zav::platform::CommandBar::toolClick, main, [](const QString &key) {
        for (const auto &[command, handler] : WorkspaceCommands::commands()) {
            if (command == key)
                handler();
        }
    });
    main->bar->clickTool(QStringLiteral("tRicalcola"));
    EXPECT_EQ(project.totals(rossi).value(0), QVariant(15.1));
}

TEST_F(FormTest, F12RunsTheGlobalRecalculation)
{
    frm_ins_coeff *form = openFirst();
    ASSERT_NE(form, nullptr);
    boxes.answer(MsgResult::No);
    press(form, Qt::Key_F12);
    ASSERT_EQ(boxes.shown().size(), 1);
    EXPECT_EQ(boxes.shown().at(0).text,
        QStringLiteral("Questa operazione potrebbe richiedere alcuni minuti. Continuare ?"));
}

TEST_F(FormTest, F1OpensTheManualOrSaysItIsMissing)
{
    zav::platform::SystemRecorder system;
    frm_ins_coeff *form = openFirst();
    ASSERT_NE(form, nullptr);
    const QString manual = project.folder().file(QStringLiteral("Zav6-Man.pdf"));
    QFile::remove(manual);
    press(form->TDBGrid1, Qt::Key_F1);
    ASSERT_EQ(boxes.shown().size(), 1);
    EXPECT_EQ(boxes.shown().at(0).text, QStringLiteral("Manuale non trovato: ") + manual);
    EXPECT_TRUE(system.started().isEmpty());

    QFile file(manual);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.close();
    boxes.clear();
    press(form, Qt::Key_F1);
    EXPECT_TRUE(boxes.shown().isEmpty());
    ASSERT_EQ(system.started().size(), 1);
    EXPECT_EQ(system.started().at(0).document, manual);
}

// --- Layouts --------------------------------------------------------------------------------------

TEST_F(FormTest, LayoutsAreSavedReloadedAndTakenFromTheFactoryFile)
{
    frm_ins_coeff *form = openFirst();
    ASSERT_NE(form, nullptr);
    const int designed = form->TDBGrid1->columnWidth(2);
    form->TDBGrid1->setColumnWidth(2, designed + 40);
    press(form, Qt::Key_F8);
    ASSERT_TRUE(QFile::exists(frm_ins_coeff::userLayoutFile()));

    form->TDBGrid1->setColumnWidth(2, designed + 90);
    press(form, Qt::Key_F9);
    EXPECT_EQ(form->TDBGrid1->columnWidth(2), designed + 40);

    // The factory layout, which is the view as designed, now in the user's file too.
    press(form, Qt::Key_F10);
    EXPECT_EQ(form->TDBGrid1->columnWidth(2), designed);
    form->TDBGrid1->setColumnWidth(2, designed + 90);
    press(form, Qt::Key_F9);
    EXPECT_EQ(form->TDBGrid1->columnWidth(2), designed);

    // The user's layout is what the next opening shows.
    form->TDBGrid1->setColumnWidth(2, designed + 60);
    press(form, Qt::Key_F8);
    FormRegistry::unload(QString::fromLatin1(frm_ins_coeff::FormName));
    processDeletes();
    form = openFirst();
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(form->TDBGrid1->columnWidth(2), designed + 60);
}

TEST_F(FormTest, LayoutKeysOnAnotherViewNeitherStoreNorLoad)
{
    frm_ins_coeff *form = openFirst();
    ASSERT_NE(form, nullptr);
    form->TabStrip1->setCurrentIndex(3);
    press(form, Qt::Key_F8);
    EXPECT_FALSE(QFile::exists(frm_ins_coeff::userLayoutFile()));
    form->TDBGrid1->setColumnWidth(2, 33);
    press(form, Qt::Key_F10);
    EXPECT_EQ(form->TDBGrid1->columnWidth(2), 33);
    EXPECT_FALSE(QFile::exists(frm_ins_coeff::userLayoutFile()));
}

TEST_F(FormTest, LayoutNamingAMissingFieldGivesAnEmptyColumn)
{
    QFile file(project.folder().file(QStringLiteral("Layout_utente")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(R"({"espressioni":[{"dataField":"NON_ESISTE","caption":"Altro","width":80,"visible":true},
                                  {"dataField":"DESCRIZIONE","caption":"Vano","width":120,"visible":true}]})");
    file.close();
    frm_ins_coeff *form = openFirst();
    ASSERT_NE(form, nullptr);
    ASSERT_EQ(form->TDBGrid1->columnCount(), 2);
    EXPECT_EQ(form->TDBGrid1->columnText(0), QString());
    EXPECT_EQ(form->TDBGrid1->columnText(1), QStringLiteral("Cucina"));
    EXPECT_TRUE(boxes.shown().isEmpty());
}

TEST_F(FormTest, UnreadableLayoutFileLeavesTheViewAsDesigned)
{
    QFile file(project.folder().file(QStringLiteral("Layout_utente")));
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write("non è un layout");
    file.close();
    frm_ins_coeff *form = openFirst();
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(form->TDBGrid1->columnCount(), 23);
    EXPECT_EQ(form->TDBGrid1->columnWidth(2), Twips::toPixelsX(2310, form));
}

// --- Geometry -------------------------------------------------------------------------------------

TEST(WorkspaceGeometry, ResizeRulesInTwips)
{
    WorkspaceGeometry g = WorkspaceGeometry::resize(QSize(12000, 9000), QSize(1, 1));
    EXPECT_EQ(g.tabStripWidth, 11775);
    EXPECT_EQ(g.gridWidth, 11655);
    EXPECT_EQ(g.tabStripHeight, 6700);
    EXPECT_EQ(g.gridHeight, 5800);
    EXPECT_EQ(g.totalsTop, 8200);

    // Too small for the heights: those rules are skipped and the tab strip keeps its height; the
    // grid and the totals follow the height the tab strip kept.
    g = WorkspaceGeometry::resize(QSize(300, 2000), QSize(11775, 6700));
    EXPECT_EQ(g.tabStripWidth, 75);
    EXPECT_FALSE(g.gridWidth);
    EXPECT_FALSE(g.tabStripHeight);
    EXPECT_EQ(g.gridHeight, 5800);
    EXPECT_EQ(g.totalsTop, 8200);
}

TEST_F(FormTest, ResizeRulesAtTwoWindowSizes)
{
    frm_ins_coeff *form = openFirst();
    ASSERT_NE(form, nullptr);
    QMdiSubWindow *child = main->area()->subWindowList().at(0);
    child->showNormal();

    // 12000 x 9000 twips.
    child->resize(child->size() - form->size() + Twips::toPixels(QSize(12000, 9000), form));
    const QSize window = Twips::fromPixels(form->size(), form);
    EXPECT_EQ(form->tabStripTwips(), QSize(window.width() - 225, window.height() - 2300));
    EXPECT_EQ(form->gridTwips(), QSize(window.width() - 345, window.height() - 3200));
    EXPECT_EQ(form->totalsTopTwips(), window.height() - 800);
    EXPECT_EQ(
        form->TabStrip1->geometry(), Twips::toPixels(QRect(QPoint(60, 1470), form->tabStripTwips()), form));
    EXPECT_EQ(form->TDBGrid1->geometry(), Twips::toPixels(QRect(QPoint(120, 2160), form->gridTwips()), form));
    EXPECT_EQ(form->Label13->y(), Twips::toPixelsY(form->totalsTopTwips(), form));
    EXPECT_EQ(form->Label20->y(), form->Label13->y());

    // Too low for the tab strip: its height stays, the width still follows.
    const QSize before = form->tabStripTwips();
    child->resize(child->size() - form->size() + Twips::toPixels(QSize(9000, 1500), form));
    const QSize small = Twips::fromPixels(form->size(), form);
    EXPECT_EQ(form->tabStripTwips(), QSize(small.width() - 225, before.height()));
    EXPECT_EQ(form->totalsTopTwips(), before.height() + 1500);
}

// --- Closing and the band -------------------------------------------------------------------------

TEST_F(FormTest, ClosingStoresTheTotalsSwitchesTheCadMenuOffAndHidesTheBand)
{
    frm_ins_coeff *form = openFirst();
    ASSERT_NE(form, nullptr);
    EXPECT_TRUE(bandShown());
    main->area()->subWindowList().at(0)->close();
    processDeletes();
    EXPECT_EQ(loadedWorkspace(), nullptr);
    EXPECT_EQ(project.totals(rossi), QVariantList({ 15.1, 43.0, 31.5, 0.0 }));
    EXPECT_FALSE(bandShown());
    EXPECT_FALSE(toolOn("tCad2"));
}

TEST_F(FormTest, ClosingFromAnotherViewStoresNothingButStillHidesTheBand)
{
    frm_ins_coeff *form = openFirst();
    ASSERT_NE(form, nullptr);
    // Leaving the unit's rooms stores its totals; closing from the general view stores nothing more.
    form->TabStrip1->setCurrentIndex(3);
    EXPECT_EQ(project.totals(rossi), QVariantList({ 15.1, 43.0, 31.5, 0.0 }));
    Database::open(project.path())
        .update(QStringLiteral("CODIF_PIANI"), rossi,
            { { QStringLiteral("TOT_SUP"), QVariant() }, { QStringLiteral("TOT_VOL"), QVariant() },
                { QStringLiteral("TOT_VOL_RISC"), QVariant() },
                { QStringLiteral("TOT_RAD_RISC"), QVariant() } });
    WorkspaceCommands::exit_mil();
    processDeletes();
    EXPECT_EQ(loadedWorkspace(), nullptr);
    EXPECT_EQ(project.totals(rossi), QVariantList({ QVariant(), QVariant(), QVariant(), QVariant() }));
    EXPECT_FALSE(bandShown());
    EXPECT_FALSE(toolOn("tCad2"));
}

// Closing the project closes the workspace first, while the project is still open.
TEST_F(FormTest, ClosingTheProjectStoresTheOpenUnitsTotals)
{
    ASSERT_NE(openFirst(), nullptr);
    FormRegistry::unload(QString::fromLatin1(frm_ins_coeff::FormName));
    VAR_GBL.progetto_corrente.reset();
    processDeletes();
    EXPECT_EQ(project.totals(rossi), QVariantList({ 15.1, 43.0, 31.5, 0.0 }));
}

// --- Band commands --------------------------------------------------------------------------------

TEST_F(FormTest, ExitMilStoresTheTotalsAndClosesTheWorkspace)
{
    ASSERT_NE(openFirst(), nullptr);
    WorkspaceCommands::exit_mil();
    processDeletes();
    EXPECT_EQ(loadedWorkspace(), nullptr);
    EXPECT_EQ(project.totals(rossi), QVariantList({ 15.1, 43.0, 31.5, 0.0 }));
    EXPECT_FALSE(bandShown());
    EXPECT_FALSE(toolOn("tCad2"));
}

TEST_F(FormTest, BandCommandsWithoutAWorkspaceDoNothing)
{
    WorkspaceCommands::ric_tot();
    WorkspaceCommands::elimina_riga();
    EXPECT_EQ(loadedWorkspace(), nullptr);
    EXPECT_TRUE(boxes.shown().isEmpty());
}

TEST_F(FormTest, EliminaRigaAsksAndDeletesTheCurrentRoomOnYesOnly)
{
    frm_ins_coeff *form = openFirst();
    ASSERT_NE(form, nullptr);
    form->Data1->setCurrentRow(1);

    boxes.answer(MsgResult::No);
    WorkspaceCommands::elimina_riga();
    ASSERT_EQ(boxes.shown().size(), 1);
    EXPECT_EQ(boxes.shown().at(0).text, QStringLiteral("Vuoi eliminare la riga: Bagno ?"));
    EXPECT_EQ(boxes.shown().at(0).title, QStringLiteral("!!! Attenzione !!!"));
    EXPECT_EQ(boxes.shown().at(0).icon, zav::platform::MsgIcon::Critical);
    EXPECT_EQ(boxes.shown().at(0).buttons, zav::platform::MsgButtons::YesNo);
    EXPECT_EQ(form->Data1->recordCount(), 3);

    boxes.answer(MsgResult::Yes);
    WorkspaceCommands::elimina_riga();
    EXPECT_EQ(form->Data1->recordCount(), 2);
    EXPECT_FALSE(project.value(QStringLiteral("ESPRESSIONI"), r2, QStringLiteral("DESCRIZIONE")).isValid());
    EXPECT_EQ(project.value(QStringLiteral("ESPRESSIONI"), r1, QStringLiteral("DESCRIZIONE")),
        QStringLiteral("Cucina"));
}

TEST_P(FormSeparatorTest, SommaMqResumsTheSurfaceColumn)
{
    frm_ins_coeff *form = openFirst();
    ASSERT_NE(form, nullptr);
    form->Label14->setText(QStringLiteral("99"));
    form->somma_mq();
    // 10.5 + 4 + an empty area that becomes 0.
    EXPECT_EQ(form->Label14->text(), num("14.5"));
    EXPECT_EQ(project.value(QStringLiteral("ESPRESSIONI"), r3, QStringLiteral("MQ")), QStringLiteral("0"));
}

INSTANTIATE_TEST_SUITE_P(Separators, FormSeparatorTest, ::testing::Values(QChar(u','), QChar(u'.')),
    [](const ::testing::TestParamInfo<QChar> &info) { return info.param == u',' ? "comma" : "point"; });

} // namespace
