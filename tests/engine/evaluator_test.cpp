#include "engine/evaluationerror.h"
#include "engine/var_gbl.h"
#include "platform/vb.h"
#include "support/scripteddialogs.h"

#include <gtest/gtest.h>

#include <cmath>
#include <limits>
#include <optional>

using zav::engine::EvaluationError;
using zav::engine::VAR_GBL;
using zav::platform::MsgButtons;
using zav::platform::MsgIcon;
using zav::platform::ScriptedDialogs;
namespace vb = zav::platform::vb;

namespace {

const QString kTypeMismatch = QStringLiteral("Tipo non corrispondente.");
const QString kSyntax = QStringLiteral("Errore definito dall'applicazione o dall'oggetto.");
const QString kInvalidArgument = QStringLiteral("Chiamata di routine o argomento non validi.");
const QString kOverflow = QStringLiteral("Overflow.");
constexpr double kInfinity = std::numeric_limits<double>::infinity();

// The refusal of an expression that fills the stacks, as typed.
QString incomplete(const char *expression)
{
    return QStringLiteral(
        "L'espressione \"%1\" non si può calcolare: è incompleta o ha parentesi non chiuse.\n"
        "Scrivere numeri, operatori (+ - * / ^) e funzioni (SIN, COS, LOG, EXP, SQR) con "
        "ogni parentesi chiusa e il punto come segno decimale, per esempio 4.20*3.15+1.5*2.")
        .arg(QString::fromUtf8(expression));
}

struct Case
{
    const char *expression;
    std::optional<double> value; ///< no value expected when empty
    QString message; ///< the one message expected; none when empty
};

class EvaluatorTest : public ::testing::TestWithParam<QChar>
{
protected:
    void SetUp() override
    {
        VAR_GBL.reset();
        VAR_GBL.init_operatori();
        VAR_GBL.init_precedenze();
    }

    void check(const Case &c)
    {
        SCOPED_TRACE(c.expression);
        ScriptedDialogs dialogs;
        const std::optional<double> value = VAR_GBL.valuta_espressione(QString::fromUtf8(c.expression));
        if (c.value) {
            ASSERT_TRUE(value.has_value());
            if (std::isinf(*c.value))
                EXPECT_EQ(*value, *c.value);
            else
                EXPECT_NEAR(*value, *c.value, 1e-12);
        } else {
            EXPECT_FALSE(value.has_value());
        }
        if (c.message.isEmpty()) {
            EXPECT_TRUE(dialogs.shown().isEmpty());
        } else {
            ASSERT_EQ(dialogs.shown().size(), 1);
            const ScriptedDialogs::Shown &box = dialogs.shown().first();
            EXPECT_EQ(box.text, c.message);
            EXPECT_EQ(box.title, QStringLiteral("Zav"));
            EXPECT_EQ(box.icon, MsgIcon::None);
            EXPECT_EQ(box.buttons, MsgButtons::Ok);
        }
    }
};

// Values: precedence, grouping from the left, signs binding tighter than every binary operator.
TEST_P(EvaluatorTest, ComputesValues)
{
    const vb::DecimalSeparatorScope separator(GetParam());
    const Case cases[] = {
        { "2^3^2", 64.0, {} },
        { "-2^2", 4.0, {} },
        { "2^-1", 0.5, {} },
        { "2*-3", -6.0, {} },
        { "--2", 2.0, {} },
        { "2--3", 5.0, {} },
        { "2+-3^2", 11.0, {} },
        { "1+2*3", 7.0, {} },
        { "8-2-1", 5.0, {} },
        { "8/4/2", 1.0, {} },
        { "2*(3+4)", 14.0, {} },
        { "((7))", 7.0, {} },
        { "4.20*3.15+1.5*2", 16.23, {} },
        { "sqr(16)", 4.0, {} },
        { "Sqr(16)", 4.0, {} },
        { "SQR(12)", std::sqrt(12.0), {} },
        { "LOG(EXP(2))", 2.0, {} },
        { "SIN(0)", 0.0, {} },
        { "COS(0)", 1.0, {} },
        { "SIN-1", std::sin(-1.0), {} },
        { "2 + 3", 5.0, {} },
        { " 7 ", 7.0, {} },
        { "1E2", 100.0, {} },
        { "2.5E1*2", 50.0, {} },
        // The point is the decimal mark of expressions under either separator, also with no digit
        // before it.
        { ".5", 0.5, {} },
        { "3*.5", 1.5, {} },
        { "2+.7+6", 8.7, {} },
        { "COS(.5)", std::cos(0.5), {} },
        { "-.25*4", -1.0, {} },
        { "1/0", kInfinity, {} },
        { "-1/0", -kInfinity, {} },
    };
    for (const Case &c : cases)
        check(c);
}

// Failures: one message with the platform's text, or none where the evaluation ends silently.
TEST_P(EvaluatorTest, ReportsFailures)
{
    const vb::DecimalSeparatorScope separator(GetParam());
    const Case cases[] = {
        // A word with no operand after it, a missing operand, an unmatched parenthesis.
        { "2 3", std::nullopt, kTypeMismatch },
        { "SIN 1", std::nullopt, kTypeMismatch },
        { "2+", std::nullopt, kTypeMismatch },
        { "(+)", std::nullopt, kTypeMismatch },
        { "(2", std::nullopt, kTypeMismatch },
        { "2)", std::nullopt, kTypeMismatch },
        // Two operands left, binary operators where an operand is expected, unknown functions.
        { "3(4)", std::nullopt, kSyntax },
        { "(2)3", std::nullopt, kSyntax },
        { "*3", std::nullopt, kSyntax },
        { "2*/3", std::nullopt, kSyntax },
        { "TAN(1)", std::nullopt, kSyntax },
        { "2SQR(4)", std::nullopt, kSyntax },
        { "2*SQR 9", std::nullopt, kSyntax },
        // Blanks before a parenthesis make a word of their own, a function with no name.
        { "2 * (3)", std::nullopt, kSyntax },
        // Arguments outside a function's domain, results beyond the range of doubles.
        { "SQR(-4)", std::nullopt, kInvalidArgument },
        { "LOG(0)", std::nullopt, kInvalidArgument },
        { "LOG(-1)", std::nullopt, kInvalidArgument },
        { "(-8)^0.5", std::nullopt, kInvalidArgument },
        { "EXP(1000)", std::nullopt, kOverflow },
        { "10^400", std::nullopt, kOverflow },
        // Sums, products and quotients of finite numbers beyond the doubles: an overflow, where
        // only a division by zero gives an infinite value.
        { "1E308*10", std::nullopt, kOverflow },
        { "1E308+1E308", std::nullopt, kOverflow },
        { "-1E308-1E308", std::nullopt, kOverflow },
        { "1E308/0.001", std::nullopt, kOverflow },
        { "1E400", std::nullopt, kOverflow },
        // Parentheses with nothing in them leave no operand: a syntax error, told.
        { "()", std::nullopt, kSyntax },
        { ")(", std::nullopt, kSyntax },
        { "2*()", std::nullopt, kSyntax },
        // An expression of operators only, or of one character, fills the stacks, which have as
        // many positions as the text has characters: it is refused with a message that names it
        // and says how an expression is written. The empty text ends with no value and no message.
        { "((((((", std::nullopt, incomplete("((((((") },
        { "(", std::nullopt, incomplete("(") },
        { "((", std::nullopt, incomplete("((") },
        { "+", std::nullopt, incomplete("+") },
        { "x", std::nullopt, incomplete("x") },
        { "", std::nullopt, {} },
        // Upper-casing keeps the length, which sizes the stacks: "ß" stays one character, so the
        // word it makes fills a stack of one position.
        { "ß", std::nullopt, incomplete("ß") },
    };
    for (const Case &c : cases)
        check(c);
}

// A number is read whole or the evaluation stops: the point is the decimal mark under either
// separator, a comma neither marks decimals nor groups digits, and a second point is no number.
TEST_P(EvaluatorTest, ReadsNumbersWholeOrRefusesThem)
{
    const vb::DecimalSeparatorScope separator(GetParam());
    const Case cases[] = {
        { "1,5", std::nullopt, kTypeMismatch },
        { "2,5*2", std::nullopt, kTypeMismatch },
        { "3,5*2", std::nullopt, kTypeMismatch },
        { "0,5", std::nullopt, kTypeMismatch },
        { ",5", std::nullopt, kTypeMismatch },
        { "2,", std::nullopt, kTypeMismatch },
        { "1,000", std::nullopt, kTypeMismatch },
        { "1,000.5", std::nullopt, kTypeMismatch },
        { "(40)*1,000.5", std::nullopt, kTypeMismatch },
        { "1.000,5", std::nullopt, kTypeMismatch },
        { "3.84.2", std::nullopt, kTypeMismatch },
        { "5..9", std::nullopt, kTypeMismatch },
        { "2*1,5E3", std::nullopt, kTypeMismatch },
        { "4 ,5", std::nullopt, kTypeMismatch },
        // What the point and the exponent make stays as it is.
        { ".5", 0.5, {} },
        { "3*.5", 1.5, {} },
        { "1E2", 100.0, {} },
        { "1.000", 1.0, {} },
        { "4.20*3.15", 13.23, {} },
    };
    for (const Case &c : cases)
        check(c);
}

INSTANTIATE_TEST_SUITE_P(BothSeparators, EvaluatorTest, ::testing::Values(QChar(u','), QChar(u'.')),
    [](const ::testing::TestParamInfo<QChar> &info) {
        return info.param == u',' ? std::string("Comma") : std::string("Point");
    });

TEST(Evaluator, FailureLeavesNothingForTheNextEvaluation)
{
    const vb::DecimalSeparatorScope separator(u',');
    VAR_GBL.reset();
    VAR_GBL.init_operatori();
    VAR_GBL.init_precedenze();
    ScriptedDialogs dialogs;
    EXPECT_FALSE(VAR_GBL.valuta_espressione(QStringLiteral("(2+3")).has_value());
    EXPECT_FALSE(VAR_GBL.valuta_espressione(QStringLiteral("((((((")).has_value());
    EXPECT_FALSE(VAR_GBL.valuta_espressione(QStringLiteral("()")).has_value());
    EXPECT_EQ(VAR_GBL.valuta_espressione(QStringLiteral("-2^2")), 4.0);
    EXPECT_EQ(VAR_GBL.valuta_espressione(QStringLiteral("2*(3+4)")), 14.0);
    EXPECT_EQ(dialogs.messages(), (QStringList { kTypeMismatch, incomplete("(((((("), kSyntax }));
}

// The matrix comes from its ten row texts; spot values of each kind show they were read in place.
TEST(Evaluator, LoadsTablesAndStacks)
{
    VAR_GBL.reset();
    VAR_GBL.init_operatori();
    VAR_GBL.init_precedenze();
    EXPECT_EQ(VAR_GBL.indice_operatore(QStringLiteral("PARTENZA FUNZIONE")), 1);
    EXPECT_EQ(VAR_GBL.indice_operatore(QStringLiteral("^")), 7);
    EXPECT_EQ(VAR_GBL.indice_operatore(QStringLiteral("FUNZIONE UNARIA")), 10);
    EXPECT_EQ(VAR_GBL.indice_operatore(QStringLiteral("fine funzione")), 0);
    EXPECT_EQ(VAR_GBL.classi_operatori[4], QStringLiteral("UNARIO/BINARIO"));
    EXPECT_EQ(VAR_GBL.classi_operatori[6], QStringLiteral("BINARIO"));
    EXPECT_EQ(VAR_GBL.classi_operatori[8], QString());

    EXPECT_EQ(VAR_GBL.precedenza(QStringLiteral("PARTENZA FUNZIONE"), QStringLiteral("FINE FUNZIONE")), -1);
    EXPECT_EQ(VAR_GBL.precedenza(QStringLiteral("("), QStringLiteral(")")), -1);
    EXPECT_EQ(VAR_GBL.precedenza(QStringLiteral("("), QStringLiteral("FINE FUNZIONE")), 1);
    EXPECT_EQ(VAR_GBL.precedenza(QStringLiteral("+"), QStringLiteral("*")), 2);
    EXPECT_EQ(VAR_GBL.precedenza(QStringLiteral("^"), QStringLiteral("^")), 1);
    EXPECT_EQ(VAR_GBL.precedenza(QStringLiteral(")"), QStringLiteral(")")), 0);
    EXPECT_EQ(VAR_GBL.precedenza(QStringLiteral("FUNZIONE UNARIA"), QStringLiteral("FUNZIONE UNARIA")), 0);
    EXPECT_EQ(VAR_GBL.precedenza(QStringLiteral("FUNZIONE UNARIA"), QStringLiteral("FINE FUNZIONE")), 1);
    EXPECT_EQ(VAR_GBL.precedenza(QStringLiteral("FINE FUNZIONE"), QStringLiteral("(")), 0);

    // A row text is read part by part, blanks around the numbers ignored.
    VAR_GBL.carica_riga_precedenze(9, QStringLiteral(" 3 ,4,5,6,7,8,9,10,11, -12"));
    EXPECT_EQ(VAR_GBL.tabella_precedenze[9][1], 3);
    EXPECT_EQ(VAR_GBL.tabella_precedenze[9][10], -12);

    try {
        VAR_GBL.precedenza(QStringLiteral("SQR"), QStringLiteral("+"));
        ADD_FAILURE() << "a token outside the table has no row";
    } catch (const EvaluationError &error) {
        EXPECT_EQ(error.kind(), EvaluationError::Kind::OutOfRange);
    }

    // A stack of two positions: the count in element 0, the empty text when empty, no third push.
    using Elemento = zav::engine::VarGbl::ElementoPila;
    QVector<Elemento> pila(3);
    EXPECT_EQ(VAR_GBL.pila_pop(pila), Elemento(QString()));
    VAR_GBL.pila_push(pila, 1.5);
    VAR_GBL.pila_push(pila, QStringLiteral("+"));
    EXPECT_EQ(pila.at(0), Elemento(2));
    try {
        VAR_GBL.pila_push(pila, 3.0);
        ADD_FAILURE() << "a push beyond the last position must fail";
    } catch (const EvaluationError &error) {
        EXPECT_EQ(error.kind(), EvaluationError::Kind::OutOfRange);
    }
    EXPECT_EQ(VAR_GBL.pila_pop(pila), Elemento(QStringLiteral("+")));
    EXPECT_EQ(VAR_GBL.pila_pop(pila), Elemento(1.5));
    EXPECT_EQ(VAR_GBL.pila_pop(pila), Elemento(QString()));
}

} // namespace
