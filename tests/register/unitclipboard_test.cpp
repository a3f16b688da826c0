#include "register/unitclipboard.h"

#include "register/unitregisterfixture.h"
#include "register/unitregisterforms.h"

#include "platform/ui/commandregistry.h"

namespace zav::test {
namespace {

using register_::UnitClipboard;

/** @brief Three units on building 1, stair A; the register on them; the clipboard empty. */
class UnitClipboardTest : public UnitRegisterFixture
{
protected:
    void SetUp() override
    {
        UnitRegisterFixture::SetUp();
        platform::Database db = platform::Database::open(project.path());
        rossi = project.unit(QStringLiteral("Rossi"), 1, QStringLiteral("A"), QStringLiteral("2"), 3, 3.1);
        db.update(QStringLiteral("CODIF_PIANI"), rossi,
            { { QStringLiteral("DESCRIZIONE"), QStringLiteral("Appartamento") },
                { QStringLiteral("HTERRA"), 6.5 }, { QStringLiteral("HASCENSORE"), 7.0 },
                { QStringLiteral("RIGA"), 2 } });
        bianchi = project.unit(
            QStringLiteral("Bianchi"), 1, QStringLiteral("A"), QStringLiteral("T"), 1, QVariant());
        verdi = project.unit(QStringLiteral("Verdi"), 1, QStringLiteral("A"), QStringLiteral("3"), 5, 3.0);
        form = open();
        choose(form, QStringLiteral("1"), QStringLiteral("A"));
    }

    static void item(const char *name) { platform::CommandRegistry::handler(QString::fromLatin1(name))(); }

    int unitCount() const
    {
        return platform::Database::open(project.path()).table(QStringLiteral("CODIF_PIANI")).recordCount();
    }

    qint64 rossi = 0;
    qint64 bianchi = 0;
    qint64 verdi = 0;
    register_::frm_cod_piani *form = nullptr;
};

TEST_F(UnitClipboardTest, CopiedRowsArePastedIntoTheBuildingAndStairChosenThen)
{
    form->TDBGrid1->selectBookmark(rossi);
    form->TDBGrid1->selectBookmark(bianchi);
    item("copia");
    EXPECT_TRUE(engine::VAR_GBL.appunti_pieni);
    EXPECT_EQ(engine::VAR_GBL.appunti_ultima_riga, 1);

    // Between the copy and the paste a row written in the grid still gets its position.
    QAbstractItemModel *model = form->TDBGrid1->model();
    makeCurrent(form, verdi);
    ASSERT_TRUE(model->setData(model->index(form->Data1->rowOf(verdi), 3), QStringLiteral("4")));
    EXPECT_EQ(project.value(QStringLiteral("CODIF_PIANI"), verdi, QStringLiteral("RIGA")).toInt(), 4);

    choose(form, QStringLiteral("2"), QStringLiteral("A"));
    ASSERT_EQ(form->Data1->recordCount(), 0);
    item("incolla");
    EXPECT_FALSE(engine::VAR_GBL.appunti_pieni);
    EXPECT_TRUE(boxes.shown().isEmpty());
    // The register shows building 2, stair A with the pasted rows.
    ASSERT_EQ(form->Data1->recordCount(), 2);

    const platform::Recordset pasted
        = platform::Database::open(project.path())
              .query(QStringLiteral("SELECT NUM_PAL, SCALA, SIGLA, INTERNO, HTERRA, "
                                    "HPIANO, HASCENSORE, DESCRIZIONE, PROPRIETARIO, RIGA "
                                    "FROM CODIF_PIANI WHERE NUM_PAL = 2 ORDER BY rowid"));
    ASSERT_EQ(pasted.recordCount(), 2);
    // In the order the rows were selected.
    const QVariantList expected[] = {
        { 2, "A", "2", 3, 6.5, 3.1, 7.0, "Appartamento", "Rossi", QVariant() },
        { 2, "A", "T", 1, QVariant(), QVariant(), QVariant(), QVariant(), "Bianchi", QVariant() },
    };
    for (int row = 0; row < 2; ++row) {
        for (int f = 0; f < pasted.fieldCount(); ++f) {
            const QVariant want = expected[row].at(f);
            const QVariant got = pasted.value(row, f);
            if (want.isNull())
                EXPECT_TRUE(got.isNull()) << row << " " << pasted.fieldName(f).toStdString();
            else
                EXPECT_EQ(got.toString(), want.toString()) << row << " " << pasted.fieldName(f).toStdString();
        }
    }

    // A second paste adds nothing; the guard is gone, so grid rows get their positions again.
    item("incolla");
    EXPECT_EQ(unitCount(), 5);
    form->Data1->setCurrentRow(0);
    ASSERT_TRUE(model->setData(model->index(0, 3), QStringLiteral("1S")));
    EXPECT_EQ(
        project.value(QStringLiteral("CODIF_PIANI"), form->Data1->rowid(0), QStringLiteral("RIGA")).toInt(),
        -2);
}

TEST_F(UnitClipboardTest, NothingIsPastedWithoutACopyOrWithoutAStair)
{
    // A paste with no copy adds nothing and reads the list again.
    platform::Database::open(project.path())
        .insert(QStringLiteral("CODIF_PIANI"),
            { { QStringLiteral("NUM_PAL"), 1 }, { QStringLiteral("SCALA"), QStringLiteral("A") },
                { QStringLiteral("PROPRIETARIO"), QStringLiteral("Gialli") } });
    item("incolla");
    EXPECT_EQ(unitCount(), 4);
    EXPECT_EQ(form->Data1->recordCount(), 4);

    // Held rows wait while no stair is chosen.
    form->TDBGrid1->selectBookmark(rossi);
    item("copia");
    choose(form, QStringLiteral("2"), QString());
    item("incolla");
    EXPECT_EQ(boxes.messages(), QStringList { QStringLiteral("Palazzina o Scala non inserita") });
    EXPECT_EQ(unitCount(), 4);
    EXPECT_TRUE(engine::VAR_GBL.appunti_pieni);

    // A copy of no row holds nothing: the paste after it adds nothing and empties the clipboard.
    choose(form, QStringLiteral("1"), QStringLiteral("B"));
    item("copia");
    EXPECT_EQ(engine::VAR_GBL.appunti_ultima_riga, -1);
    item("incolla");
    EXPECT_EQ(unitCount(), 4);
    EXPECT_FALSE(engine::VAR_GBL.appunti_pieni);
}

TEST_F(UnitClipboardTest, TheClipboardHoldsAtMost101Rows)
{
    QList<register_::ClipboardEntry> rows;
    for (int i = 1; i <= 102; ++i)
        rows.append(
            { QStringLiteral("1"), QString::number(i), QStringLiteral("U%1").arg(i), {}, {}, {}, {} });
    EXPECT_EQ(UnitClipboard::copy(rows), 101);
    EXPECT_EQ(engine::VAR_GBL.appunti_ultima_riga, 100);
    choose(form, QStringLiteral("1"), QStringLiteral("B"));
    item("incolla");
    const platform::Recordset pasted
        = platform::Database::open(project.path())
              .query(QStringLiteral("SELECT MAX(INTERNO), COUNT(*) FROM CODIF_PIANI "
                                    "WHERE SCALA = 'B'"));
    EXPECT_EQ(pasted.value(0, 0).toInt(), 101);
    EXPECT_EQ(pasted.value(0, 1).toInt(), 101);
}

} // namespace
} // namespace zav::test
