// The weights of the user table shown in the workspace: computing its thousandths from them and
// zeroing them.
#include "tables/weights.h"

#include "platform/ui/datasource.h"
#include "workspace/frm_ins_coeff.h"
#include "workspace/thousandthsviews.h"
#include "workspace/workspacefixture.h"

#include <QLabel>
#include <QTabWidget>

#include <gtest/gtest.h>

namespace zav::test {
namespace {

using platform::Database;
using platform::MsgResult;
using workspace::frm_ins_coeff;
using workspace::ThousandthsViews;
namespace vb = platform::vb;

const QString kTable = QStringLiteral("BOX AUTO");

class WeightsTest : public WorkspaceTest
{
protected:
    /** The user table with these weights and thousandths (Null: empty), shown on tab 10. */
    void show(const QList<QVariant> &weights, const QList<QVariant> &thousandths)
    {
        Database db = Database::open(project.path());
        db.exec(
            QStringLiteral("CREATE TABLE [%1] (CONDOMINO TEXT, PALAZ TEXT, SCALA TEXT, MQ DOUBLE, "
                           "MILLESIMI DOUBLE, PIANO TEXT, NOME_CONDO TEXT, INPUT DOUBLE, INTERNO INTEGER, "
                           "RIGA DOUBLE)")
                .arg(kTable));
        for (int i = 0; i < weights.size(); ++i)
            db.insert(kTable,
                { { QStringLiteral("CONDOMINO"), QStringLiteral("U%1").arg(i + 1) },
                    { QStringLiteral("INPUT"), weights.at(i) },
                    { QStringLiteral("MILLESIMI"), thousandths.at(i) } });
        db.insert(QStringLiteral("NEW_TAB"), { { QStringLiteral("NOME_TABELLA"), kTable } });
        form = platform::FormRegistry::form<frm_ins_coeff>(QString::fromLatin1(frm_ins_coeff::FormName));
        engine::VAR_GBL.tabella_selezionata = kTable;
        form->TabStrip1->blockSignals(true);
        form->TabStrip1->setCurrentIndex(9);
        form->TabStrip1->blockSignals(false);
        ASSERT_TRUE(ThousandthsViews::enter(*form, 10));
    }

    QList<QVariant> column(const char *field) const
    {
        QList<QVariant> values;
        const platform::Recordset rs = Database::open(project.path()).table(kTable);
        for (int r = 0; r < rs.recordCount(); ++r) {
            const QVariant value = rs.value(r, rs.fieldIndex(QString::fromLatin1(field)));
            values << (value.isValid() ? QVariant(value.toDouble()) : QVariant());
        }
        return values;
    }

    frm_ins_coeff *form = nullptr;
};

// Weights and a total worked by hand: each weighted unit gets weight × total ÷ sum of the weights,
// with three decimals; a unit without weight keeps its thousandths and is not counted.
TEST_F(WeightsTest, ThousandthsFromTheTypedWeights)
{
    const vb::DecimalSeparatorScope separator(u',');
    const QVariant none;
    const struct
    {
        const char *name;
        QList<QVariant> weights;
        QList<QVariant> thousandths;
        QString total;
        QList<QVariant> expected;
        QString label;
    } cases[] = {
        { "1, 1, 2", { 1, 1, 2 }, { 0, 0, 0 }, QStringLiteral("1000"), { 250.0, 250.0, 500.0 },
            QStringLiteral("1000") },
        { "1, 1, 1", { 1, 1, 1 }, { none, none, none }, QStringLiteral("1000"), { 333.333, 333.333, 333.333 },
            QStringLiteral("999,999") },
        { "a zero and an empty weight", { 0, 3, none, 1 }, { 100, 7, 50, 7 }, QStringLiteral("1000"),
            { 100.0, 750.0, 50.0, 250.0 }, QStringLiteral("1000") },
        { "decimal total", { 1, 2 }, { none, none }, QStringLiteral("100,5"), { 33.5, 67.0 },
            QStringLiteral("100,5") },
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        show(c.weights, c.thousandths);
        boxes.answer(MsgResult::Yes);
        boxes.answerText(c.total);
        tables::Weights::calc_mil_tab(*form);
        EXPECT_EQ(column("MILLESIMI"), c.expected);
        EXPECT_EQ(form->Label20->text(), c.label);
        ASSERT_EQ(boxes.shown().size(), 2);
        EXPECT_EQ(
            boxes.shown().at(0).text, QStringLiteral("Effettuare il calcolo della colonna Input S/n ?"));
        EXPECT_EQ(boxes.shown().at(0).title, QStringLiteral("!!! Zav - Attenzione - !!!"));
        EXPECT_EQ(boxes.shown().at(1).text, QStringLiteral("Effetturare il calcolo con ripartiziona a:"));
        EXPECT_EQ(boxes.shown().at(1).title, QStringLiteral("!!! Ripartizione !!!"));
        EXPECT_EQ(boxes.shown().at(1).defaultText, QStringLiteral("1000"));
        // The grid shows the new thousandths.
        EXPECT_EQ(form->Data1->value(0, QStringLiteral("MILLESIMI")).toDouble(), c.expected.at(0).toDouble());
        boxes.clear();
        Database::open(project.path()).exec(QStringLiteral("DROP TABLE [%1]").arg(kTable));
        Database::open(project.path()).exec(QStringLiteral("DELETE FROM NEW_TAB"));
    }
}

// "No" takes the thousandths as the weights, so the table is brought to a new total.
TEST_F(WeightsTest, AnsweringNoSharesTheThousandthsOutAgain)
{
    show({ 9, 9, 9 }, { 200, 300, 500 });
    boxes.answer(MsgResult::No);
    boxes.answerText(QStringLiteral("100"));
    tables::Weights::calc_mil_tab(*form);
    EXPECT_EQ(column("MILLESIMI"), (QList<QVariant> { 20.0, 30.0, 50.0 }));
    EXPECT_EQ(column("INPUT"), (QList<QVariant> { 200.0, 300.0, 500.0 }));
    EXPECT_EQ(form->Label20->text(), QStringLiteral("100"));
}

// Without a valid total nothing changes: neither the thousandths nor, after "No", the weights.
TEST_F(WeightsTest, NoTotalChangesNothing)
{
    show({ 1, 2, 3 }, { 200, 300, 500 });
    for (const std::optional<QString> &answer : { std::optional<QString>(), std::optional<QString>(QString()),
             std::optional<QString>(QStringLiteral("dieci")) }) {
        boxes.answer(MsgResult::No);
        boxes.answerText(answer);
        tables::Weights::calc_mil_tab(*form);
        EXPECT_EQ(column("MILLESIMI"), (QList<QVariant> { 200.0, 300.0, 500.0 }));
        EXPECT_EQ(column("INPUT"), (QList<QVariant> { 1.0, 2.0, 3.0 }));
        // The label tells the table's total, from which a rounding would start.
        EXPECT_EQ(form->Label20->text(), QStringLiteral("1000"));
        EXPECT_EQ(boxes.shown().size(), 2);
        boxes.clear();
    }
}

// Weights that cannot be shares, and a total that cannot be shared, are refused with a message.
TEST_F(WeightsTest, WeightsThatCannotBeSharesAreRefused)
{
    const QVariant none;
    const struct
    {
        const char *name;
        QList<QVariant> weights;
        QString total;
        QString message;
    } cases[] = {
        { "5 and -5", { 5, -5, 1 }, QStringLiteral("1000"),
            QStringLiteral("Calcolo impossibile: la colonna Input contiene valori negativi.") },
        { "all zero or empty", { 0, none, 0 }, QStringLiteral("1000"),
            QStringLiteral("Calcolo impossibile: la somma della colonna Input è zero.") },
        { "a total below zero", { 1, 1, 1 }, QStringLiteral("-10"),
            QStringLiteral("Il totale da ripartire deve essere maggiore di zero.") },
        { "a total of zero", { 1, 1, 1 }, QStringLiteral("0"),
            QStringLiteral("Il totale da ripartire deve essere maggiore di zero.") },
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        show(c.weights, { 400, 600, 0 });
        boxes.answer(MsgResult::Yes);
        boxes.answerText(c.total);
        tables::Weights::calc_mil_tab(*form);
        EXPECT_EQ(column("MILLESIMI"), (QList<QVariant> { 400.0, 600.0, 0.0 }));
        EXPECT_EQ(form->Label20->text(), QStringLiteral("1000"));
        ASSERT_EQ(boxes.shown().size(), 3);
        EXPECT_EQ(boxes.shown().at(2).text, c.message);
        EXPECT_EQ(boxes.shown().at(2).title, QStringLiteral("!!! Ripartizione !!!"));
        boxes.clear();
        Database::open(project.path()).exec(QStringLiteral("DROP TABLE [%1]").arg(kTable));
        Database::open(project.path()).exec(QStringLiteral("DELETE FROM NEW_TAB"));
    }
}

// With no user table shown the operations do nothing and ask nothing.
TEST_F(WeightsTest, NothingWithoutAUserTableShown)
{
    form = platform::FormRegistry::form<frm_ins_coeff>(QString::fromLatin1(frm_ins_coeff::FormName));
    ASSERT_TRUE(ThousandthsViews::enter(*form, 10));
    EXPECT_EQ(form->Label21->text(), QStringLiteral("(Nessuna Tabella Selezionata)"));
    tables::Weights::calc_mil_tab(*form);
    tables::Weights::azzera(*form);
    EXPECT_TRUE(boxes.shown().isEmpty());
}

TEST_F(WeightsTest, AzzeraZeroesTheWeightsOfTheUserTableViewOnly)
{
    show({ 3, QVariant(), 5 }, { 1, 2, 3 });
    // Another view in front: its column 6 holds no weights.
    ASSERT_TRUE(ThousandthsViews::enter(*form, 4));
    tables::Weights::azzera(*form);
    EXPECT_EQ(column("INPUT"), (QList<QVariant> { 3.0, QVariant(), 5.0 }));

    ASSERT_TRUE(ThousandthsViews::enter(*form, 10));
    tables::Weights::azzera(*form);
    EXPECT_EQ(column("INPUT"), (QList<QVariant> { 0.0, 0.0, 0.0 }));
    EXPECT_EQ(column("MILLESIMI"), (QList<QVariant> { 1.0, 2.0, 3.0 }));
    EXPECT_EQ(form->Data1->value(1, QStringLiteral("INPUT")).toDouble(), 0.0);
    EXPECT_TRUE(boxes.shown().isEmpty());
}

} // namespace
} // namespace zav::test
