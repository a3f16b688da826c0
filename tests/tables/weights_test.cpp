// The weights of the user table shown in the workspace: computing its thousandths from them and
// zeroing them; the totals typed for them and for "Arrotonda" on the same table.
#include "fulldisk.h"
#include "tables/rounding.h"
#include "tables/weights.h"

#include "platform/ui/datasource.h"
#include "support/killruns.h"
#include "workspace/frm_ins_coeff.h"
#include "workspace/thousandthsviews.h"
#include "workspace/workspacefixture.h"

#include <QFile>
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
public:
    /** Adds the user table, with these weights and thousandths, to an archive. */
    static void makeTable(
        const QString &archive, const QList<QVariant> &weights, const QList<QVariant> &thousandths)
    {
        Database db = Database::open(archive);
        platform::Transaction transaction = db.transaction();
        db.exec(
            QStringLiteral("CREATE TABLE [%1] (CONDOMINO TEXT, PALAZ TEXT, SCALA TEXT, MQ DOUBLE, "
                           "MILLESIMI DOUBLE, PIANO TEXT, NOME_CONDO TEXT, INPUT DOUBLE, INTERNO INTEGER, "
                           "RIGA DOUBLE)")
                .arg(kTable));
        platform::Statement insert = db.prepare(
            QStringLiteral("INSERT INTO [%1] (CONDOMINO, INPUT, MILLESIMI) VALUES (?, ?, ?)").arg(kTable));
        for (int i = 0; i < weights.size(); ++i)
            insert.exec({ QStringLiteral("U%1").arg(i + 1), weights.at(i), thousandths.at(i) });
        db.insert(QStringLiteral("NEW_TAB"), { { QStringLiteral("NOME_TABELLA"), kTable } });
        transaction.commit();
    }

    static QList<QVariant> columnOf(const QString &archive, const char *field)
    {
        QList<QVariant> values;
        const platform::Recordset rs = Database::open(archive).table(kTable);
        for (int r = 0; r < rs.recordCount(); ++r) {
            const QVariant value = rs.value(r, rs.fieldIndex(QString::fromLatin1(field)));
            values << (value.isValid() ? QVariant(value.toDouble()) : QVariant());
        }
        return values;
    }

protected:
    /** The user table with these weights and thousandths (Null: empty), shown on tab 10. */
    void show(const QList<QVariant> &weights, const QList<QVariant> &thousandths)
    {
        makeTable(project.path(), weights, thousandths);
        showTable();
    }

    /** The user table of the current project shown on tab 10. */
    void showTable()
    {
        form = platform::FormRegistry::form<frm_ins_coeff>(QString::fromLatin1(frm_ins_coeff::FormName));
        engine::VAR_GBL.tabella_selezionata = kTable;
        form->TabStrip1->blockSignals(true);
        form->TabStrip1->setCurrentIndex(9);
        form->TabStrip1->blockSignals(false);
        ASSERT_TRUE(ThousandthsViews::enter(*form, 10));
    }

    QList<QVariant> column(const char *field) const { return columnOf(project.path(), field); }

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

// Without a total nothing changes: neither the thousandths nor, after "No", the weights. Cancel
// and an empty answer end quietly; a word is refused with a message.
TEST_F(WeightsTest, NoTotalChangesNothing)
{
    const vb::DecimalSeparatorScope separator(u',');
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
        EXPECT_EQ(boxes.shown().size(), answer && !answer->isEmpty() ? 3 : 2);
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
        { "weights whose sum lies beyond the doubles", { 1e308, 1e308, 1 }, QStringLiteral("1000"),
            QStringLiteral("Calcolo impossibile: la somma della colonna Input è troppo grande. Scrivere "
                           "pesi più piccoli, in proporzione fra loro.") },
        { "a total below zero", { 1, 1, 1 }, QStringLiteral("-10"),
            QStringLiteral("Il totale \"-10\" non si può usare: scrivere un numero maggiore di zero e non "
                           "oltre 1.000.000.000, per esempio 1000.\nNessun valore è stato cambiato.") },
        { "a total of zero", { 1, 1, 1 }, QStringLiteral("0"),
            QStringLiteral("Il totale \"0\" non si può usare: scrivere un numero maggiore di zero e non "
                           "oltre 1.000.000.000, per esempio 1000.\nNessun valore è stato cambiato.") },
    };
    const vb::DecimalSeparatorScope separator(u',');
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

// What is typed as the total of the weights and of "Arrotonda", under either separator: a number
// is used; Cancel and an empty answer end quietly; anything else is refused with a message that
// says what was typed and how to write it, and nothing changes. The table holds the thousandths
// 100, 200 and 300 (600 in all) and the weights 1, 1 and 2.
TEST_F(WeightsTest, TypedTotalsAreUsedOrRefusedWithAMessage)
{
    using Values = QList<QVariant>;
    const Values kept { 100.0, 200.0, 300.0 };
    const QString unchanged = QStringLiteral("\nNessun valore è stato cambiato.");
    const auto notANumber = [&](QChar separator, const char *typed) {
        const bool comma = separator == u',';
        return QStringLiteral(
                   "\"%1\" non è un numero: scrivere i decimali dopo %2 e %3 solo fra gruppi di tre "
                   "cifre della parte intera, per esempio %4.")
                   .arg(QString::fromUtf8(typed),
                       comma ? QStringLiteral("la virgola") : QStringLiteral("il punto"),
                       comma ? QStringLiteral("il punto") : QStringLiteral("la virgola"),
                       comma ? QStringLiteral("1.234,5") : QStringLiteral("1,234.5"))
            + unchanged;
    };
    const auto outOfRange = [&](QChar separator, const char *typed) {
        return QStringLiteral("Il totale \"%1\" non si può usare: scrivere un numero maggiore di zero e non "
                              "oltre %2, per esempio 1000.")
                   .arg(QString::fromUtf8(typed),
                       separator == u',' ? QStringLiteral("1.000.000.000") : QStringLiteral("1,000,000,000"))
            + unchanged;
    };
    enum class Answer { Number, Quiet, NotANumber, OutOfRange };
    const struct
    {
        QChar separator;
        const char *typed; ///< nullptr: Cancel
        Answer answer;
        Values weighted; ///< the thousandths the weights give for a number
        Values rounded; ///< the thousandths "Arrotonda" gives for a number
    } cases[] = {
        // 1000 shared 1:1:2; 400 thousandths more brought 0.001 a row from the top.
        { u',', "1000", Answer::Number, { 250.0, 250.0, 500.0 }, { 233.334, 333.333, 433.333 } },
        { u',', "1.000", Answer::Number, { 250.0, 250.0, 500.0 }, { 233.334, 333.333, 433.333 } },
        { u'.', "1,000", Answer::Number, { 250.0, 250.0, 500.0 }, { 233.334, 333.333, 433.333 } },
        { u',', " 601,5 ", Answer::Number, { 150.375, 150.375, 300.75 }, { 100.5, 200.5, 300.5 } },
        { u'.', "601.5", Answer::Number, { 150.375, 150.375, 300.75 }, { 100.5, 200.5, 300.5 } },
        { u',', "600", Answer::Number, { 150.0, 150.0, 300.0 }, kept },
        { u',', nullptr, Answer::Quiet, kept, kept },
        { u',', "", Answer::Quiet, kept, kept },
        { u'.', "  ", Answer::Quiet, kept, kept },
        { u',', "abc", Answer::NotANumber, kept, kept },
        { u',', "0.5", Answer::NotANumber, kept, kept },
        { u'.', "0,5", Answer::NotANumber, kept, kept },
        { u',', "\u0663", Answer::NotANumber, kept, kept },
        { u',', "&HFFFF", Answer::NotANumber, kept, kept },
        { u'.', "&H10", Answer::NotANumber, kept, kept },
        { u',', "12abc", Answer::NotANumber, kept, kept },
        { u',', "0", Answer::OutOfRange, kept, kept },
        { u'.', "0", Answer::OutOfRange, kept, kept },
        { u',', "-5", Answer::OutOfRange, kept, kept },
        { u'.', "-1000", Answer::OutOfRange, kept, kept },
        { u',', "1e300", Answer::OutOfRange, kept, kept },
        { u'.', "1e-400", Answer::OutOfRange, kept, kept },
        { u',', "1.000.000.001", Answer::OutOfRange, kept, kept },
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(testing::Message()
            << "separator " << char(c.separator.unicode()) << ", typed " << (c.typed ? c.typed : "(Cancel)"));
        const vb::DecimalSeparatorScope separator(c.separator);
        const std::optional<QString> typed
            = c.typed ? std::optional<QString>(QString::fromUtf8(c.typed)) : std::nullopt;
        QStringList refusal;
        if (c.answer == Answer::NotANumber)
            refusal << notANumber(c.separator, c.typed);
        else if (c.answer == Answer::OutOfRange)
            refusal << outOfRange(c.separator, c.typed);

        for (const bool rounding : { false, true }) {
            SCOPED_TRACE(rounding ? "Arrotonda" : "weights");
            show({ 1, 1, 2 }, kept);
            if (!rounding)
                boxes.answer(MsgResult::Yes);
            boxes.answerText(typed);
            if (rounding)
                tables::Rounding::ARR_VARIE(*form);
            else
                tables::Weights::calc_mil_tab(*form);
            EXPECT_EQ(column("MILLESIMI"), rounding ? c.rounded : c.weighted);
            EXPECT_EQ(column("INPUT"), (Values { 1.0, 1.0, 2.0 }));
            // After the weights' question, the refusal if any.
            const QStringList messages = boxes.messages().mid(rounding ? 0 : 1);
            EXPECT_EQ(messages, refusal);
            if (!refusal.isEmpty()) {
                EXPECT_EQ(boxes.shown().last().title,
                    rounding ? QStringLiteral("!!! Arrotondamento !!!")
                             : QStringLiteral("!!! Ripartizione !!!"));
            }
            boxes.clear();
            Database::open(project.path()).exec(QStringLiteral("DROP TABLE [%1]").arg(kTable));
            Database::open(project.path()).exec(QStringLiteral("DELETE FROM NEW_TAB"));
        }
    }
}

// "Arrotonda" to a total that the passes cannot reach (0,001 from 600: the first rows reach 0 and
// cannot go below it) leaves every value as it was and says so.
TEST_F(WeightsTest, ATotalThePassesCannotReachChangesNothing)
{
    const vb::DecimalSeparatorScope separator(u',');
    show({ 1, 1, 2 }, { 100, 200, 300 });
    boxes.answerText(QStringLiteral("0,001"));
    tables::Rounding::ARR_VARIE(*form);
    EXPECT_EQ(column("MILLESIMI"), (QList<QVariant> { 100.0, 200.0, 300.0 }));
    EXPECT_EQ(form->Label20->text(), QStringLiteral("600"));
    ASSERT_EQ(boxes.shown().size(), 2);
    EXPECT_EQ(boxes.shown().at(1).text,
        QStringLiteral(
            "Impossibile arrivare a un totale di 0,001: nessun valore è stato cambiato e il totale "
            "resta 600.\nL'arrotondamento sposta un millesimo alla volta sulle prime righe senza "
            "portarle sotto zero: controllare che i valori e il totale abbiano al più tre decimali e "
            "che le prime righe non valgano zero."));
    EXPECT_EQ(boxes.shown().at(1).title, QStringLiteral("!!! Arrotondamento !!!"));
}

// A row that cannot be written ends the calculation: no row keeps a new value, and the message
// says so with its cause.
TEST_F(WeightsTest, ARowThatCannotBeWrittenEndsTheCalculationWithNothingKept)
{
    const vb::DecimalSeparatorScope separator(u',');
    for (const int refusing : { 1, 3 }) {
        SCOPED_TRACE(testing::Message() << "row " << refusing);
        show({ 1, 1, 2 }, { 100, 200, 300 });
        Database::open(project.path())
            .exec(QStringLiteral("CREATE TRIGGER sola_lettura BEFORE UPDATE ON [%1] WHEN old.rowid = %2 "
                                 "BEGIN SELECT RAISE(ABORT, 'sola lettura'); END")
                      .arg(kTable)
                      .arg(refusing));
        boxes.answer(MsgResult::Yes);
        boxes.answerText(QStringLiteral("1000"));
        tables::Weights::calc_mil_tab(*form);
        EXPECT_EQ(column("MILLESIMI"), (QList<QVariant> { 100.0, 200.0, 300.0 }));
        EXPECT_EQ(form->Label20->text(), QStringLiteral("600"));
        ASSERT_EQ(boxes.messages().size(), 2);
        EXPECT_TRUE(boxes.messages().at(1).startsWith(
            QStringLiteral("Calcolo dei millesimi non salvato: nessun valore è stato cambiato.\nL'archivio è "
                           "di sola lettura")))
            << boxes.messages().at(1).toStdString();
        boxes.clear();
        Database::open(project.path()).exec(QStringLiteral("DROP TABLE [%1]").arg(kTable));
        Database::open(project.path()).exec(QStringLiteral("DELETE FROM NEW_TAB"));
    }
}

// A full disk when the thousandths are written: nothing changes, and the message says the disk is
// full and that nothing was changed. The weights taken from the thousandths ("No") stay as well.
TEST_F(WeightsTest, AFullDiskChangesNothingAndSaysSo)
{
    const vb::DecimalSeparatorScope separator(u',');
    show({ 1, 1, 2 }, { 100, 200, 300 });
    for (const MsgResult weights : { MsgResult::Yes, MsgResult::No }) {
        boxes.answer(weights);
        boxes.answerText(QStringLiteral("1000"));
        {
            const FullDiskScope full;
            tables::Weights::calc_mil_tab(*form);
        }
        EXPECT_EQ(column("MILLESIMI"), (QList<QVariant> { 100.0, 200.0, 300.0 }));
        EXPECT_EQ(column("INPUT"), (QList<QVariant> { 1.0, 1.0, 2.0 }));
        EXPECT_EQ(form->Label20->text(), QStringLiteral("600"));
        ASSERT_EQ(boxes.messages().size(), 2);
        EXPECT_TRUE(boxes.messages().at(1).startsWith(QStringLiteral(
            "Calcolo dei millesimi non salvato: nessun valore è stato cambiato.\nIl disco è "
            "pieno: le modifiche non possono essere salvate. Liberare spazio sul disco e riprovare.")))
            << boxes.messages().at(1).toStdString();
        EXPECT_EQ(boxes.shown().last().icon, platform::MsgIcon::Critical);
        boxes.clear();
    }
    // With room on the disk again the same calculation is written.
    boxes.answer(MsgResult::Yes);
    boxes.answerText(QStringLiteral("1000"));
    tables::Weights::calc_mil_tab(*form);
    EXPECT_EQ(column("MILLESIMI"), (QList<QVariant> { 250.0, 250.0, 500.0 }));
}

constexpr const char *ChildArchive = "ZAV_WEIGHTS_CHILD_ARCHIVE";

// The child run by the kill test: computes the thousandths of the archive its parent names from the
// typed weights, to the total 1000, and says when it starts.
TEST_F(WeightsTest, ChildComputesTheArchiveItIsGiven)
{
    const QString path = qEnvironmentVariable(ChildArchive);
    if (path.isEmpty())
        GTEST_SKIP() << "run by the weights' kill test with an archive to compute";
    const vb::DecimalSeparatorScope separator(u',');
    engine::VAR_GBL.progetto_corrente = path;
    showTable();
    boxes.answer(MsgResult::Yes);
    boxes.answerText(QStringLiteral("1000"));
    sayCommandStarts();
    tables::Weights::calc_mil_tab(*form);
    EXPECT_EQ(boxes.messages().size(), 1) << boxes.messages().join(u'|').toStdString();
}

// 30 calculations on 10,000 rows, each killed at a random point from its start to a little past
// its end: every row holds its old thousandths (0) or every row its new ones (1000 / 10,000).
TEST(WeightsKill, AKilledCalculationLeavesTheTableAllOldOrAllNew)
{
    constexpr int rows = 10000;
    TempProgramFolder folder;
    const QString fixture = folder.copyOf(QStringLiteral("ARCH_MIL.CLO"), QStringLiteral("FIXTURE.CDB"));
    WeightsTest::makeTable(fixture, QList<QVariant>(rows, 1), QList<QVariant>(rows, 0));
    killAtRandomPoints(QStringLiteral("WeightsTest.ChildComputesTheArchiveItIsGiven"), ChildArchive, fixture,
        folder.file(QStringLiteral("PROVA.CDB")), [](const QString &path) {
            const QList<QVariant> column = WeightsTest::columnOf(path, "MILLESIMI");
            if (column.count(QVariant(0.0)) == rows)
                return Left::AsItWas;
            if (column.count(QVariant(0.1)) == rows)
                return Left::Done;
            return Left::Neither;
        });
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
