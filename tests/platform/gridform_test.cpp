// Grid forms and record forms built on the platform's bound-form layer, on a small archive built
// in code.

#include "platform/ui/gridform.h"
#include "platform/ui/recordform.h"

#include "platform/db.h"
#include "platform/ui/datagrid.h"
#include "platform/ui/datasource.h"
#include "platform/vb.h"
#include "support/scripteddialogs.h"

#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

using namespace zav::platform;

namespace {

class BoundFormTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        first = archive(QStringLiteral("UNO.CDB"), { { "Cucina", 1234.5 }, { "Bagno", 0.5 } });
        second = archive(QStringLiteral("DUE.CDB"), { { "Salone", 7.0 } });
        database = first;
    }

    QString archive(const QString &name, const QList<std::pair<const char *, double>> &rows)
    {
        const QString path = m_dir.filePath(name);
        Database db = Database::create(path);
        db.createTable(QStringLiteral("VOCI"),
            { { QStringLiteral("NOME"), FieldType::Text },
                { QStringLiteral("IMPORTO"), FieldType::Double } });
        for (const auto &[nome, importo] : rows)
            db.insert(QStringLiteral("VOCI"),
                { { QStringLiteral("NOME"), QString::fromUtf8(nome) },
                    { QStringLiteral("IMPORTO"), importo } });
        return path;
    }

    /** A binding to VOCI of whatever archive `database` names when the form loads. */
    FormBinding binding(bool ownReport = true)
    {
        FormBinding b;
        b.database = [this] { return database; };
        b.recordSource = TableQuery { QStringLiteral("VOCI"), {}, {} };
        if (ownReport)
            b.reportFailure = [this](const QString &text) { failures << text; };
        return b;
    }

    GridFormSpec spec()
    {
        return GridFormSpec {
            .objectName = QStringLiteral("frm_prova"),
            .title = QStringLiteral("Prova"),
            .binding = binding(),
            .columns = { { QStringLiteral("NOME"), QStringLiteral("Nome") },
                { QStringLiteral("IMPORTO"), QStringLiteral("Importo"), -1, true, false, false,
                    QStringLiteral("##0.00") } },
            .buttons = { { QStringLiteral("Command2"), QStringLiteral("Conta"), [this] { ++counted; } },
                { QStringLiteral("Command3"), QStringLiteral("Altro"), [this] { ++other; } } },
            .closeButton = { QStringLiteral("Command1"), QStringLiteral("Esci") },
            .readOnly = true,
        };
    }

    static QStringList names(const DataGrid &grid)
    {
        QStringList rows;
        for (int row = 0; row < grid.model()->rowCount(); ++row)
            rows << grid.model()->index(row, 0).data().toString();
        return rows;
    }

    QTemporaryDir m_dir;
    QString first;
    QString second;
    QString database;
    QStringList failures;
    int counted = 0;
    int other = 0;
    ScriptedDialogs boxes;
};

TEST_F(BoundFormTest, AGridFormIsBuiltFromItsSpecAndLoadsWhenAsked)
{
    vb::DecimalSeparatorScope comma(u',');
    GridForm form(spec());
    EXPECT_EQ(form.objectName(), QStringLiteral("frm_prova"));
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Prova"));
    auto *grid = form.findChild<DataGrid *>(QStringLiteral("TDBGrid1"));
    ASSERT_EQ(grid, form.grid());
    ASSERT_EQ(form.findChild<DataSource *>(QStringLiteral("Data1")), form.dataSource());
    EXPECT_EQ(grid->dataSource(), form.dataSource());
    EXPECT_TRUE(grid->isReadOnly());
    EXPECT_EQ(grid->model()->headerData(1, Qt::Horizontal).toString(), QStringLiteral("Importo"));
    EXPECT_EQ(grid->model()->rowCount(), 0); // nothing is read before the load

    ASSERT_TRUE(form.load());
    EXPECT_EQ(names(*grid), (QStringList { "Cucina", "Bagno" }));
    EXPECT_EQ(grid->model()->index(0, 1).data().toString(), QStringLiteral("1234,50"));
    EXPECT_EQ(grid->model()->index(1, 1).data().toString(), QStringLiteral("0,50"));
    EXPECT_TRUE(failures.isEmpty());

    // Each button runs its own action; the buttons keep their names and captions.
    ASSERT_NE(form.button(QStringLiteral("Command2")), nullptr);
    EXPECT_EQ(form.button(QStringLiteral("Command2"))->text(), QStringLiteral("Conta"));
    EXPECT_EQ(
        form.findChild<QPushButton *>(QStringLiteral("Command3")), form.button(QStringLiteral("Command3")));
    EXPECT_EQ(form.button(QStringLiteral("Command9")), nullptr);
    form.button(QStringLiteral("Command2"))->click();
    form.button(QStringLiteral("Command2"))->click();
    form.button(QStringLiteral("Command3"))->click();
    EXPECT_EQ(counted, 2);
    EXPECT_EQ(other, 1);
}

// Esc closes a form shown as a window of its own, as it closes a dialog, from the grid too; a cell
// being edited takes the first Esc for itself. A form inside another window keeps Esc for its controls.
TEST_F(BoundFormTest, EscClosesAFormShownAsAWindow)
{
    GridForm form(spec());
    form.show();
    ASSERT_TRUE(form.load());
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    form.grid()->setFocus();
    QTest::keyClick(form.grid(), Qt::Key_Escape);
    EXPECT_FALSE(form.isVisible());

    QWidget host;
    auto *inside = new GridForm(spec(), &host);
    inside->setWindowFlags(Qt::Widget);
    host.show();
    inside->show();
    QTest::keyClick(inside, Qt::Key_Escape);
    EXPECT_TRUE(inside->isVisible());
}

TEST_F(BoundFormTest, TheClosingButtonStandsAtTheRightAndClosesWithoutAnAction)
{
    GridForm form(spec());
    form.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&form));
    QPushButton *esci = form.button(QStringLiteral("Command1"));
    QPushButton *conta = form.button(QStringLiteral("Command2"));
    QPushButton *altro = form.button(QStringLiteral("Command3"));
    // The actions in their order from the left, the closing button apart at the right.
    EXPECT_LT(conta->x(), altro->x());
    EXPECT_GT(esci->x(), altro->x() + altro->width());
    EXPECT_GT(conta->y(), form.grid()->y() + form.grid()->height() - 1);
    esci->click();
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(counted + other, 0);

    // A closing button with an action of its own runs that, and the action decides.
    GridFormSpec asking = spec();
    asking.closeButton.action = [this] { ++other; };
    GridForm kept(asking);
    kept.show();
    kept.button(QStringLiteral("Command1"))->click();
    EXPECT_EQ(other, 1);
    EXPECT_TRUE(kept.isVisible());
}

TEST_F(BoundFormTest, AFormKeepsTheArchiveItLoadedUntilItLoadsAgain)
{
    GridForm form(spec());
    ASSERT_TRUE(form.load());
    database = second;
    ASSERT_TRUE(
        form.showRows(TableQuery { QStringLiteral("VOCI"), { { QStringLiteral("NOME"), "Bagno" } }, {} }));
    EXPECT_EQ(names(*form.grid()), QStringList { "Bagno" });
    ASSERT_TRUE(form.showRows());
    EXPECT_EQ(names(*form.grid()), (QStringList { "Cucina", "Bagno" }));
    ASSERT_TRUE(form.load());
    EXPECT_EQ(names(*form.grid()), QStringList { "Salone" });
    EXPECT_TRUE(failures.isEmpty());
}

TEST_F(BoundFormTest, ADatabaseFailureIsReportedThroughTheBindingOrWithTheProgramsTitle)
{
    database = m_dir.filePath(QStringLiteral("MANCA.CDB"));
    GridForm form(spec());
    EXPECT_FALSE(form.load());
    EXPECT_EQ(failures.size(), 1);
    EXPECT_TRUE(boxes.shown().isEmpty());
    EXPECT_FALSE(QFile::exists(database)); // opening never creates an archive

    GridFormSpec plain = spec();
    plain.binding = binding(false);
    GridForm told(plain);
    EXPECT_FALSE(told.load());
    ASSERT_EQ(boxes.shown().size(), 1);
    EXPECT_EQ(boxes.shown().at(0).icon, MsgIcon::Critical);
    EXPECT_EQ(boxes.shown().at(0).title, programTitle());
    EXPECT_EQ(failures.size(), 1);

    // A step that fails is told and gives false; one that works gives true.
    EXPECT_FALSE(form.attempt([] { throw DbError(DbErrorCode::Failed, QStringLiteral("guasto")); }));
    EXPECT_EQ(failures.last(), QStringLiteral("guasto"));
    EXPECT_TRUE(form.attempt([] {}));
    EXPECT_EQ(failures.size(), 2);
}

TEST_F(BoundFormTest, ARecordFormStoresWhatIsPendingAsItClosesAndEsciDropsIt)
{
    const auto storedName = [this] {
        Database db = Database::open(first);
        return db.table(QStringLiteral("VOCI")).value(0, 0).toString();
    };
    {
        RecordForm form(QStringLiteral("frm_testata"), QStringLiteral("Testata"), binding());
        EXPECT_EQ(form.objectName(), QStringLiteral("frm_testata"));
        EXPECT_EQ(form.windowTitle(), QStringLiteral("Testata"));
        EXPECT_TRUE(form.windowFlags() & Qt::Dialog);
        auto *text = new QLineEdit(&form);
        form.dataSource()->bind(text, QStringLiteral("NOME"));
        ASSERT_TRUE(form.load());
        EXPECT_EQ(text->text(), QStringLiteral("Cucina"));
        form.show();
        text->setText(QStringLiteral("Cucinino"));
        form.discardAndClose();
        EXPECT_FALSE(form.isVisible());
        EXPECT_EQ(text->text(), QStringLiteral("Cucina"));
        EXPECT_EQ(storedName(), QStringLiteral("Cucina"));
    }
    {
        RecordForm form(QStringLiteral("frm_testata"), QStringLiteral("Testata"), binding());
        auto *text = new QLineEdit(&form);
        form.dataSource()->bind(text, QStringLiteral("NOME"));
        ASSERT_TRUE(form.load());
        form.show();
        text->setText(QStringLiteral("Cucinino"));
        form.close();
        EXPECT_EQ(storedName(), QStringLiteral("Cucinino"));
    }
    {
        // The archive gone before closing: the failure is told, and the form closes all the same.
        RecordForm form(QStringLiteral("frm_testata"), QStringLiteral("Testata"), binding());
        auto *text = new QLineEdit(&form);
        form.dataSource()->bind(text, QStringLiteral("NOME"));
        ASSERT_TRUE(form.load());
        form.show();
        text->setText(QStringLiteral("Cucinotta"));
        ASSERT_TRUE(QFile::remove(first));
        form.close();
        EXPECT_FALSE(form.isVisible());
        EXPECT_EQ(failures.size(), 1);
    }
}

} // namespace
