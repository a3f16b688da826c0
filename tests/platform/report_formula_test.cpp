#include "platform/report/selectionformula.h"

#include <gtest/gtest.h>

using namespace zav::platform;

namespace {

FormulaTerm term(const char *table, const char *field, const QVariant &value)
{
    return { QString::fromLatin1(table), QString::fromLatin1(field), value };
}

struct ParseCase
{
    const char *formula;
    QList<FormulaTerm> terms;
};

} // namespace

TEST(SelectionFormula, ReadsTheFormsTheProgramBuilds)
{
    const ParseCase cases[] = {
        { "", {} },
        { "   ", {} },
        { "{TEMPORANEO.PALAZ}='1'", { term("TEMPORANEO", "PALAZ", QStringLiteral("1")) } },
        { "{TEMPORANEO2.PALAZ}='12' and {TEMPORANEO2.SCALA}='Nessuna'",
            { term("TEMPORANEO2", "PALAZ", QStringLiteral("12")),
                term("TEMPORANEO2", "SCALA", QStringLiteral("Nessuna")) } },
        { "{CODIF_PIANI.NUM_PAL}=2 and {CODIF_PIANI.SCALA}='B'",
            { term("CODIF_PIANI", "NUM_PAL", qlonglong(2)),
                term("CODIF_PIANI", "SCALA", QStringLiteral("B")) } },
        // Double quotes, the word "and" in any case, blanks around the parts.
        { " {ESPRESSIONI.NOME_CONDOMINO} = \"ALFA\"  AND {ESPRESSIONI.INTERNO}=3 ",
            { term("ESPRESSIONI", "NOME_CONDOMINO", QStringLiteral("ALFA")),
                term("ESPRESSIONI", "INTERNO", qlonglong(3)) } },
        // A doubled quote is one quote; the other kind of quote stands as it is.
        { "{ESPRESSIONI.NOME_CONDOMINO}=\"D'Amico \"\"Nino\"\"\"",
            { term("ESPRESSIONI", "NOME_CONDOMINO", QStringLiteral("D'Amico \"Nino\"")) } },
        { "{T.F}='D''Amico \"Nino\"'", { term("T", "F", QStringLiteral("D'Amico \"Nino\"")) } },
        // " and " inside a value is part of the value.
        { "{T.F}='Rossi and Bianchi'", { term("T", "F", QStringLiteral("Rossi and Bianchi")) } },
        { "{T.F}=''", { term("T", "F", QString()) } },
        { "{T.F}=-1.5", { term("T", "F", -1.5) } },
        { "{USER TABLE.MY FIELD}='x'", { term("USER TABLE", "MY FIELD", QStringLiteral("x")) } },
    };
    for (const ParseCase &c : cases) {
        SCOPED_TRACE(c.formula);
        const QList<FormulaTerm> terms = SelectionFormula::parse(QString::fromUtf8(c.formula));
        ASSERT_EQ(terms.size(), c.terms.size());
        for (qsizetype i = 0; i < terms.size(); ++i) {
            EXPECT_EQ(terms.at(i).table, c.terms.at(i).table);
            EXPECT_EQ(terms.at(i).field, c.terms.at(i).field);
            EXPECT_EQ(terms.at(i).value, c.terms.at(i).value);
            EXPECT_EQ(terms.at(i).value.typeId(), c.terms.at(i).value.typeId());
        }
    }
}

TEST(SelectionFormula, RefusesWhatDoesNotRead)
{
    const char *const bad[] = {
        "{CODIF_PIANI.NUM_PAL}= and {CODIF_PIANI.SCALA}='A'", // an empty building, bare
        "{T.F}='open", // unclosed quote
        "{T.F}='it''s", // a doubled quote does not close
        "{T.F}=1 or {T.G}=2", // only "and" joins
        "{T.F}='a'and {T.G}='b'", // "and" needs blanks around it
        "{T.F}='a' and", // nothing after "and"
        "{TF}='a'", // no table
        "{T.}='a'", // no field
        "T.F='a'", // no braces
        "{T.F}", // no comparison
        "{T.F}=3x", // not a number
        "{T.F}=Nessuna", // a text without quotes
        "{T.F}='a'; DROP TABLE T", // trailing text
    };
    for (const char *formula : bad) {
        SCOPED_TRACE(formula);
        EXPECT_THROW(SelectionFormula::parse(QString::fromUtf8(formula)), FormulaError);
    }
    try {
        SelectionFormula::parse(QStringLiteral("{T.F}='a' or {T.G}='b'"));
        FAIL() << "parsed";
    } catch (const FormulaError &error) {
        EXPECT_EQ(error.position(), 10);
        EXPECT_TRUE(error.message().contains(QStringLiteral("and")));
    }
}

TEST(FormulaBuilder, DoublesTheQuoteSoThatEveryValueReadsBackWhole)
{
    const QString owners[] = { QStringLiteral("D'Amico \"Nino\""), QStringLiteral("'"),
        QStringLiteral("\"\""), QStringLiteral("O'Brien' and {T.G}='x"), QStringLiteral("Perù"), QString() };
    for (const QString &owner : owners) {
        SCOPED_TRACE(owner.toStdString());
        for (const auto quote : { FormulaBuilder::Quote::Single, FormulaBuilder::Quote::Double }) {
            FormulaBuilder builder;
            builder.text(QStringLiteral("ESPRESSIONI"), QStringLiteral("NOME_CONDOMINO"), owner, quote)
                .number(QStringLiteral("ESPRESSIONI"), QStringLiteral("INTERNO"), QStringLiteral("3"));
            const QList<FormulaTerm> terms = SelectionFormula::parse(builder.toString());
            ASSERT_EQ(terms.size(), 2);
            EXPECT_EQ(terms.at(0).value.toString(), owner);
            EXPECT_EQ(terms.at(1).value, QVariant(qlonglong(3)));
        }
    }
}

TEST(FormulaBuilder, WritesTheFormsOfTheReports)
{
    FormulaBuilder stair;
    stair.text(QStringLiteral("TEMPORANEO2"), QStringLiteral("PALAZ"), QStringLiteral("2"))
        .text(QStringLiteral("TEMPORANEO2"), QStringLiteral("SCALA"), QStringLiteral("B"));
    EXPECT_EQ(stair.toString(), QStringLiteral("{TEMPORANEO2.PALAZ}='2' and {TEMPORANEO2.SCALA}='B'"));

    FormulaBuilder unit;
    unit.text(QStringLiteral("ESPRESSIONI"), QStringLiteral("NOME_CONDOMINO"), QStringLiteral("ALFA"),
            FormulaBuilder::Quote::Double)
        .number(QStringLiteral("ESPRESSIONI"), QStringLiteral("INTERNO"), QStringLiteral("3"));
    EXPECT_EQ(
        unit.toString(), QStringLiteral("{ESPRESSIONI.NOME_CONDOMINO}=\"ALFA\" and {ESPRESSIONI.INTERNO}=3"));

    EXPECT_EQ(FormulaBuilder().toString(), QString());
}

TEST(FormulaBuilder, ANumberThatIsNotOneLeavesAFormulaThatFailsToRead)
{
    for (const char *value : { "", "1 or 1", "1 and {T.G}='x'", "abc", "1,5" }) {
        SCOPED_TRACE(value);
        FormulaBuilder builder;
        builder.number(QStringLiteral("CODIF_PIANI"), QStringLiteral("NUM_PAL"), QString::fromLatin1(value));
        EXPECT_THROW(SelectionFormula::parse(builder.toString()), FormulaError);
    }
}
