#include "platform/report/selectionformula.h"

#include <QRegularExpression>

namespace zav::platform {

FormulaError::FormulaError(const QString &message, qsizetype position)
    : std::runtime_error(message.toStdString())
    , m_message(message)
    , m_position(position)
{
}

namespace {

/** Reads one formula from left to right. */
class Reader
{
public:
    explicit Reader(const QString &text)
        : m_text(text)
    {
    }

    QList<FormulaTerm> terms()
    {
        QList<FormulaTerm> result;
        skipBlanks();
        if (atEnd())
            return result;
        result.append(term());
        while (true) {
            const qsizetype before = m_pos;
            skipBlanks();
            if (atEnd())
                break;
            if (m_pos == before || !takeWord(QStringLiteral("and")))
                fail(QStringLiteral("atteso \"and\""));
            if (!skipBlanks())
                fail(QStringLiteral("atteso uno spazio dopo \"and\""));
            result.append(term());
        }
        return result;
    }

private:
    bool atEnd() const { return m_pos >= m_text.size(); }
    QChar peek() const { return atEnd() ? QChar() : m_text.at(m_pos); }

    [[noreturn]] void fail(const QString &what) const
    {
        throw FormulaError(QStringLiteral("%1 al carattere %2").arg(what).arg(m_pos + 1), m_pos);
    }

    /** Skips blanks; whether there were any. */
    bool skipBlanks()
    {
        const qsizetype start = m_pos;
        while (!atEnd() && peek().isSpace())
            ++m_pos;
        return m_pos > start;
    }

    bool takeWord(const QString &word)
    {
        if (m_text.mid(m_pos, word.size()).compare(word, Qt::CaseInsensitive) != 0)
            return false;
        m_pos += word.size();
        return true;
    }

    void expect(QChar c, const QString &what)
    {
        if (peek() != c)
            fail(what);
        ++m_pos;
    }

    FormulaTerm term()
    {
        FormulaTerm result;
        expect(u'{', QStringLiteral("atteso \"{\""));
        const qsizetype close = m_text.indexOf(u'}', m_pos);
        if (close < 0)
            fail(QStringLiteral("manca \"}\""));
        const QString name = m_text.mid(m_pos, close - m_pos);
        const qsizetype dot = name.indexOf(u'.');
        if (dot < 0)
            fail(QStringLiteral("atteso TABELLA.CAMPO"));
        result.table = name.left(dot).trimmed();
        result.field = name.mid(dot + 1).trimmed();
        if (result.table.isEmpty() || result.field.isEmpty() || name.contains(u'{'))
            fail(QStringLiteral("atteso TABELLA.CAMPO"));
        m_pos = close + 1;
        skipBlanks();
        expect(u'=', QStringLiteral("atteso \"=\""));
        skipBlanks();
        result.value = value();
        return result;
    }

    QVariant value()
    {
        const QChar c = peek();
        if (c == u'\'' || c == u'"')
            return quoted(c);
        static const QRegularExpression numberPattern(QStringLiteral("[+-]?[0-9]+(\\.[0-9]+)?"));
        const QRegularExpressionMatch match = numberPattern.match(
            m_text, m_pos, QRegularExpression::NormalMatch, QRegularExpression::AnchorAtOffsetMatchOption);
        if (!match.hasMatch())
            fail(QStringLiteral("atteso un valore"));
        m_pos += match.capturedLength();
        if (!atEnd() && !peek().isSpace())
            fail(QStringLiteral("valore numerico non valido"));
        const QString number = match.captured();
        if (match.capturedLength(1) == 0) {
            bool ok = false;
            const qlonglong whole = number.toLongLong(&ok);
            if (ok)
                return whole;
        }
        return number.toDouble();
    }

    QVariant quoted(QChar quote)
    {
        ++m_pos;
        QString text;
        while (true) {
            if (atEnd())
                fail(QStringLiteral("manca la virgoletta di chiusura"));
            const QChar c = m_text.at(m_pos++);
            if (c != quote) {
                text.append(c);
                continue;
            }
            if (peek() == quote) {
                text.append(quote);
                ++m_pos;
                continue;
            }
            return text;
        }
    }

    const QString &m_text;
    qsizetype m_pos = 0;
};

} // namespace

QList<FormulaTerm> SelectionFormula::parse(const QString &formula)
{
    return Reader(formula).terms();
}

FormulaBuilder &FormulaBuilder::text(
    const QString &table, const QString &field, const QString &value, Quote quote)
{
    const QString mark = quote == Quote::Single ? QStringLiteral("'") : QStringLiteral("\"");
    QString doubled = value;
    doubled.replace(mark, mark + mark);
    add(table, field, mark + doubled + mark);
    return *this;
}

FormulaBuilder &FormulaBuilder::number(const QString &table, const QString &field, const QString &value)
{
    static const QRegularExpression plainNumber(QStringLiteral("^[+-]?[0-9]+(\\.[0-9]+)?$"));
    add(table, field, plainNumber.match(value).hasMatch() ? value : QString());
    return *this;
}

QString FormulaBuilder::toString() const
{
    return m_terms.join(QStringLiteral(" and "));
}

void FormulaBuilder::add(const QString &table, const QString &field, const QString &valueText)
{
    m_terms.append(u'{' + table + u'.' + field + QStringLiteral("}=") + valueText);
}

} // namespace zav::platform
