// The expression evaluator: an operator-precedence parser driven by an operator table and a 10 by 10
// precedence matrix, over three stacks (operators, their unary flags, operands).

#include "engine/evaluationerror.h"
#include "engine/var_gbl.h"
#include "platform/dialogs.h"
#include "platform/vb.h"

#include <cmath>
#include <optional>
#include <stdexcept>

namespace zav::engine {

namespace {

using Kind = EvaluationError::Kind;

const QString kPartenza = QStringLiteral("PARTENZA FUNZIONE");
const QString kFine = QStringLiteral("FINE FUNZIONE");
const QString kUnaria = QStringLiteral("FUNZIONE UNARIA");
// The position of "FUNZIONE UNARIA" in the operator table.
constexpr int kIndiceUnaria = 10;

// The seven characters that end a token and are offered as operators themselves; null for any other.
const QString *operatorText(QChar c)
{
    static const QString texts[] = { QStringLiteral("("), QStringLiteral(")"), QStringLiteral("+"),
        QStringLiteral("-"), QStringLiteral("*"), QStringLiteral("/"), QStringLiteral("^") };
    switch (c.unicode()) {
    case u'(':
        return &texts[0];
    case u')':
        return &texts[1];
    case u'+':
        return &texts[2];
    case u'-':
        return &texts[3];
    case u'*':
        return &texts[4];
    case u'/':
        return &texts[5];
    case u'^':
        return &texts[6];
    default:
        return nullptr;
    }
}

// An element popped from a stack read as a double; the empty text of an empty stack is a type mismatch.
double asDouble(const VarGbl::ElementoPila &value)
{
    if (const double *number = std::get_if<double>(&value))
        return *number;
    throw EvaluationError(Kind::TypeMismatch);
}

bool asFlag(const VarGbl::ElementoPila &value)
{
    if (const bool *flag = std::get_if<bool>(&value))
        return *flag;
    throw EvaluationError(Kind::TypeMismatch);
}

// An operator token popped from the stack; the empty text when the stack was empty.
const QString &asToken(const VarGbl::ElementoPila &value)
{
    static const QString empty;
    const QString *token = std::get_if<QString>(&value);
    return token ? *token : empty;
}

// A word that names one of the functions, as the shared text of its name, so that a function
// entering the operator stack allocates nothing; null for any other word.
const QString *functionName(QStringView word)
{
    static const QString names[] = { QStringLiteral("SIN"), QStringLiteral("COS"), QStringLiteral("LOG"),
        QStringLiteral("EXP"), QStringLiteral("SQR") };
    if (word.size() != 3)
        return nullptr;
    for (const QString &name : names) {
        if (name == word)
            return &name;
    }
    return nullptr;
}

// Digits with at most one point among or before them: the common number of an expression.
bool plainNumber(QStringView token)
{
    bool digit = false;
    bool point = false;
    for (const QChar c : token) {
        if (c >= u'0' && c <= u'9')
            digit = true;
        else if (c == u'.' && !point)
            point = true;
        else
            return false;
    }
    return digit;
}

bool isBlank(QChar c)
{
    return c == u' ' || c == u'\t';
}

QStringView withoutOuterBlanks(QStringView token)
{
    while (!token.isEmpty() && isBlank(token.front()))
        token = token.mid(1);
    while (!token.isEmpty() && isBlank(token.back()))
        token.chop(1);
    return token;
}

// The number of a token: a plain number with an exponent after it or not ("1.5", ".5", "1E2"),
// blanks around it ignored. None for any other token; a number beyond the doubles is an overflow.
std::optional<double> expressionNumber(const QString &token)
{
    try {
        // The common case, read as it stands without a copy.
        if (plainNumber(token))
            return platform::vb::Val(token);
        const QStringView text = withoutOuterBlanks(token);
        qsizetype mark = 0;
        while (mark < text.size() && text[mark] != u'E' && text[mark] != u'D')
            ++mark;
        if (!plainNumber(text.left(mark)))
            return std::nullopt;
        if (mark < text.size()) {
            const QStringView exponent = text.mid(mark + 1);
            if (exponent.isEmpty())
                return std::nullopt;
            for (const QChar c : exponent) {
                if (c < u'0' || c > u'9')
                    return std::nullopt;
            }
        }
        return platform::vb::Val(text.toString());
    } catch (const std::overflow_error &) {
        throw EvaluationError(Kind::Overflow);
    }
}

// A token that can only be meant as a number: digits with points, commas or blanks among them, an
// exponent after them or not ("1,5", "2,", "1.000,5", "3.84.2", "2 3"). When it is no plain number
// it is refused whole, never read as the number its first digits make.
bool meantAsNumber(QStringView token)
{
    const QStringView text = withoutOuterBlanks(token);
    qsizetype end = 0;
    bool digit = false;
    for (; end < text.size(); ++end) {
        const QChar c = text[end];
        if (c >= u'0' && c <= u'9')
            digit = true;
        else if (c != u'.' && c != u',' && !isBlank(c))
            break;
    }
    if (!digit)
        return false;
    if (end == text.size())
        return true;
    if ((text[end] != u'E' && text[end] != u'D') || end + 1 == text.size())
        return false;
    for (const QChar c : text.mid(end + 1)) {
        if (c < u'0' || c > u'9')
            return false;
    }
    return true;
}

// The result of a sum, difference, product or quotient of two finite numbers that lies beyond the
// range of doubles is an overflow, told as such; only a division by zero gives the infinite value
// that the callers tell as one. A result of operands already infinite passes on as it is.
double beyondDoubles(double sinistro, double destro, double risultato)
{
    if (std::isinf(risultato) && std::isfinite(sinistro) && std::isfinite(destro))
        throw EvaluationError(Kind::Overflow);
    return risultato;
}

// A stack re-created empty with positions 0 to size - 1, in the memory it already holds.
void recreate(QVector<VarGbl::ElementoPila> &pila, qsizetype size)
{
    pila.resize(0);
    pila.resize(size);
}

// The count kept in element 0; a stack never pushed holds nothing there, which counts as 0.
int countOf(const QVector<VarGbl::ElementoPila> &pila)
{
    if (pila.isEmpty())
        return 0;
    const int *count = std::get_if<int>(&pila.at(0));
    return count ? *count : 0;
}

} // namespace

void VarGbl::init_operatori()
{
    const QString unarioBinario = QStringLiteral("UNARIO/BINARIO");
    const QString binario = QStringLiteral("BINARIO");
    operatori = { QString(), kPartenza, QStringLiteral("("), QStringLiteral("+"), QStringLiteral("-"),
        QStringLiteral("*"), QStringLiteral("/"), QStringLiteral("^"), QStringLiteral(")"), kFine, kUnaria };
    classi_operatori = { QString(), QString(), QString(), unarioBinario, unarioBinario, binario, binario,
        binario, QString(), QString(), QString() };
}

void VarGbl::init_precedenze()
{
    // Rows: the operator on top of the stack; columns: the operator arriving (both by table index).
    // 1 = reduce and look again, -1 = matched pair, 0 and 2 = stop and push.
    carica_riga_precedenze(1, QStringLiteral("0,2,2,2,2,2,2,2,-1,2"));
    carica_riga_precedenze(2, QStringLiteral("0,2,2,2,2,2,2,-1,1,2"));
    carica_riga_precedenze(3, QStringLiteral("0,2,1,1,2,2,2,1,1,2"));
    carica_riga_precedenze(4, QStringLiteral("0,2,1,1,2,2,2,1,1,2"));
    carica_riga_precedenze(5, QStringLiteral("0,2,1,1,1,1,2,1,1,2"));
    carica_riga_precedenze(6, QStringLiteral("0,2,1,1,1,1,2,1,1,2"));
    carica_riga_precedenze(7, QStringLiteral("0,2,1,1,1,1,1,1,1,2"));
    carica_riga_precedenze(8, QStringLiteral("0,2,1,1,1,1,1,0,1,0"));
    carica_riga_precedenze(9, QStringLiteral("0,0,0,0,0,0,0,0,0,0"));
    carica_riga_precedenze(10, QStringLiteral("0,2,1,1,1,1,1,1,1,0"));
}

void VarGbl::carica_riga_precedenze(int riga, const QString &testo)
{
    if (riga < 1 || riga > 10)
        throw EvaluationError(Kind::OutOfRange);
    // Consumed from the left: each part up to the next comma (the whole rest after the last one)
    // becomes the next column.
    QString resto = testo;
    int colonna = 0;
    qsizetype virgola;
    do {
        virgola = resto.indexOf(u',');
        const QString parte = virgola < 0 ? resto : resto.left(virgola);
        ++colonna;
        if (colonna > 10)
            throw EvaluationError(Kind::OutOfRange);
        tabella_precedenze[riga][colonna] = int(platform::vb::Val(parte.trimmed()));
        resto = virgola < 0 ? QString() : resto.mid(virgola + 1);
    } while (virgola >= 0);
}

int VarGbl::indice_operatore(const QString &operatore) const
{
    for (int i = 1; i <= 10; ++i) {
        // Most tokens differ in length, which settles the comparison at once; the one-character
        // tokens differ in that character.
        const QString &token = operatori[i];
        if (token.size() != operatore.size())
            continue;
        if (token.size() == 1 ? token.front() == operatore.front() : token == operatore)
            return i;
    }
    return 0;
}

int VarGbl::precedenza(const QString &sopra, const QString &arrivo) const
{
    const int riga = indice_operatore(sopra);
    const int colonna = indice_operatore(arrivo);
    if (riga == 0 || colonna == 0)
        throw EvaluationError(Kind::OutOfRange);
    return tabella_precedenze[riga][colonna];
}

void VarGbl::pila_push(QVector<ElementoPila> &pila, const ElementoPila &valore) const
{
    const int count = countOf(pila) + 1;
    if (count >= pila.size())
        throw EvaluationError(Kind::OutOfRange);
    ElementoPila *elementi = pila.data();
    elementi[0] = count;
    elementi[count] = valore;
}

VarGbl::ElementoPila VarGbl::pila_pop(QVector<ElementoPila> &pila) const
{
    const int count = countOf(pila);
    if (count == 0)
        return QString();
    // The element stays where it was; only the count goes down.
    pila.data()[0] = count - 1;
    return pila.at(count);
}

void VarGbl::push_operando(double valore)
{
    pila_push(pila_operandi, valore);
    attesa_operando = false;
}

void VarGbl::push_operatore(const QString &operatore)
{
    bool nessunFlag = false;
    push_operatore(operatore, nessunFlag);
}

void VarGbl::push_operatore(const QString &operatore, bool &attesa)
{
    const int k = indice_operatore(operatore);
    if (k == 0) {
        // A word: a function name, valid only where an operand is expected.
        if (!attesa)
            throw EvaluationError(Kind::Syntax);
    } else if (!classi_operatori[k].isEmpty()) {
        const QString &classe = classi_operatori[k];
        if (attesa && !classe.contains(QStringLiteral("UNARIO")))
            throw EvaluationError(Kind::Syntax);
        if (!attesa && !classe.contains(QStringLiteral("BINARIO")))
            throw EvaluationError(Kind::Syntax);
    } else {
        attesa = false;
    }

    bool annullato = false;
    for (;;) {
        const ElementoPila sopra = pila_pop(pila_operatori);
        const QString &token = asToken(sopra);
        if (token.isEmpty())
            break;
        const ElementoPila flag = pila_pop(pila_unari);
        const bool unario = asFlag(flag);
        // A sign or a function is looked up as "FUNZIONE UNARIA" whatever its token, on either side.
        // This is precedenza() on the two tokens, with the arriving token's index already known.
        const int riga = unario ? kIndiceUnaria : indice_operatore(token);
        const int colonna = attesa ? kIndiceUnaria : k;
        if (riga == 0 || colonna == 0)
            throw EvaluationError(Kind::OutOfRange);
        const int valore = tabella_precedenze[riga][colonna];
        if (valore == -1) {
            annullato = true;
            break;
        }
        if (valore == 1) {
            const ElementoPila destro = pila_pop(pila_operandi);
            const ElementoPila sinistro = unario ? ElementoPila(0.0) : pila_pop(pila_operandi);
            const double d = asDouble(destro);
            const double s = asDouble(sinistro);
            push_operando(applica_operatore(s, d, token));
            continue;
        }
        pila_push(pila_operatori, sopra);
        pila_push(pila_unari, flag);
        break;
    }

    if (!annullato) {
        pila_push(pila_operatori, operatore);
        pila_push(pila_unari, attesa);
        attesa_operando = true;
    }
}

double VarGbl::applica_operatore(double sinistro, double destro, const QString &operatore) const
{
    // Sums, differences, products and quotients follow the floating-point rules (1/0 is infinite);
    // the runtime's functions check their domain and range.
    const QChar single = operatore.size() == 1 ? operatore.at(0) : QChar();
    if (single == u'+')
        return beyondDoubles(sinistro, destro, sinistro + destro);
    if (single == u'-')
        return beyondDoubles(sinistro, destro, sinistro - destro);
    if (single == u'*')
        return beyondDoubles(sinistro, destro, sinistro * destro);
    if (single == u'/')
        return destro == 0.0 ? sinistro / destro : beyondDoubles(sinistro, destro, sinistro / destro);
    if (single == u'^') {
        if (sinistro < 0 && std::isfinite(destro) && destro != std::trunc(destro))
            throw EvaluationError(Kind::InvalidArgument);
        const double potenza = std::pow(sinistro, destro);
        if (std::isinf(potenza))
            throw EvaluationError(Kind::Overflow);
        if (std::isnan(potenza) && !std::isnan(sinistro) && !std::isnan(destro))
            throw EvaluationError(Kind::InvalidArgument);
        return potenza;
    }
    if (operatore == u"EXP") {
        const double e = std::exp(destro);
        if (std::isinf(e))
            throw EvaluationError(Kind::Overflow);
        return e;
    }
    if (operatore == u"SQR") {
        if (destro < 0)
            throw EvaluationError(Kind::InvalidArgument);
        return std::sqrt(destro);
    }
    if (operatore == u"LOG") {
        if (destro <= 0)
            throw EvaluationError(Kind::InvalidArgument);
        return std::log(destro);
    }
    if (operatore == u"SIN" || operatore == u"COS") {
        const double r = operatore == u"SIN" ? std::sin(destro) : std::cos(destro);
        if (std::isnan(r) && !std::isnan(destro))
            throw EvaluationError(Kind::InvalidArgument);
        return r;
    }
    throw EvaluationError(Kind::Syntax);
}

std::optional<double> VarGbl::valuta_espressione(const QString &espressione)
{
    // Each character is upper-cased on its own, so that the text keeps its length ("ß" stays one
    // character, where a whole-text upper-casing would write "SS"): the length sizes the stacks. A
    // text with nothing to upper-case (digits and operators) is used as it is.
    QString testo = espressione;
    for (qsizetype i = 0; i < testo.size(); ++i) {
        const QChar c = testo.at(i);
        const bool unchanged = c.unicode() < 0x80 ? (c < u'a' || c > u'z') : c.toUpper() == c;
        if (!unchanged) {
            for (QChar &d : testo)
                d = d.toUpper();
            break;
        }
    }
    const qsizetype n = testo.size();
    recreate(pila_operatori, n + 1);
    recreate(pila_unari, n + 1);
    recreate(pila_operandi, n + 1);

    // The start marker needs one position: for the empty text it overflows, and that failure goes
    // back to the caller as it is, with no message.
    try {
        push_operatore(kPartenza);
    } catch (const EvaluationError &) {
        return std::nullopt;
    }

    try {
        // The current token is the run of characters since the last operator character.
        qsizetype inizio = 0;
        const auto consegna = [this, &testo, &inizio](qsizetype fine) {
            if (fine == inizio)
                return;
            // A view of the text, copied only when it must outlive the evaluation on a stack.
            const QString token = QString::fromRawData(testo.constData() + inizio, fine - inizio);
            // A number, with the point as its decimal mark whatever the system's separator, enters
            // as an operand; a comma never groups nor marks decimals, so a number written with one
            // is refused whole. Any other word enters as an operator (this is how function names
            // arrive).
            if (const std::optional<double> number = expressionNumber(token))
                push_operando(*number);
            else if (meantAsNumber(token))
                throw EvaluationError(Kind::TypeMismatch);
            else if (const QString *name = functionName(token))
                push_operatore(*name, attesa_operando);
            else
                push_operatore(QString(token.constData(), token.size()), attesa_operando);
        };
        for (qsizetype i = 0; i < n; ++i) {
            if (const QString *operatore = operatorText(testo.at(i))) {
                // A closing parenthesis with nothing before it, at the start or right after an
                // opening one ("()", ")("), closes no operand.
                if (testo.at(i) == u')' && inizio == i && (i == 0 || testo.at(i - 1) == u'('))
                    throw EvaluationError(Kind::Syntax);
                consegna(i);
                inizio = i + 1;
                push_operatore(*operatore, attesa_operando);
            }
        }
        consegna(n);
        push_operatore(kFine);

        if (countOf(pila_operandi) > 1)
            throw EvaluationError(Kind::Syntax);
        // Parentheses with nothing in them ("()") leave no operand: no surface at all, which is
        // told as the syntax error it is rather than passed on silently.
        const double *risultato = n >= 1 ? std::get_if<double>(&pila_operandi.at(1)) : nullptr;
        if (!risultato)
            throw EvaluationError(Kind::Syntax);
        return *risultato;
    } catch (const EvaluationError &errore) {
        // Stacks filled up mean an expression of operators only, or of one character that is no
        // number ("x", "+", "(("): no failure of the platform's, so it is told in words of its own.
        const QString testoMessaggio = errore.kind() == EvaluationError::Kind::OutOfRange
            ? QStringLiteral(
                "L'espressione \"%1\" non si può calcolare: è incompleta o ha parentesi non "
                "chiuse.\nScrivere numeri, operatori (+ - * / ^) e funzioni (SIN, COS, LOG, EXP, "
                "SQR) con ogni parentesi chiusa e il punto come segno decimale, per esempio "
                "4.20*3.15+1.5*2.")
                  .arg(espressione)
            : errore.description();
        platform::dialogs().msgBox(
            testoMessaggio, platform::MsgButtons::Ok, platform::MsgIcon::None, platform::programTitle());
        return std::nullopt;
    }
}

} // namespace zav::engine
