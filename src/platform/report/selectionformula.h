#pragma once

#include <QList>
#include <QString>
#include <QVariant>

#include <stdexcept>

namespace zav::platform {

/** @brief One comparison of a selection formula: a field of a table equal to a typed value. */
struct FormulaTerm
{
    QString table;
    QString field;
    /** A QString for a quoted value, a qlonglong or a double for a bare number. */
    QVariant value;

    bool operator==(const FormulaTerm &other) const = default;
};

/** @brief A selection formula that does not read; `position` is the character where reading stopped. */
class FormulaError : public std::runtime_error
{
public:
    FormulaError(const QString &message, qsizetype position);
    QString message() const { return m_message; }
    qsizetype position() const { return m_position; }

private:
    QString m_message;
    qsizetype m_position;
};

/**
 * @brief Record selection formulas: comparisons of a field with a value joined by "and".
 *
 * The language is exactly what the program builds:
 *
 *     {TABLE.FIELD}='text'  {TABLE.FIELD}="text"  {TABLE.FIELD}=12  {TABLE.FIELD}=-1.5
 *
 * joined by " and " (in any case). Inside a quoted value the quote character is written twice
 * ('D''Amico', "Nino ""il bello"""). Blanks around the parts are allowed; the empty formula selects
 * every row. The values come out typed and are only ever bound, never pasted into SQL.
 */
class SelectionFormula
{
public:
    /** @brief The terms of a formula, in their order; FormulaError when it does not read. */
    static QList<FormulaTerm> parse(const QString &formula);
};

/**
 * @brief Builds selection formulas: the one place where values become formula text, so that a
 * value cannot change the formula's structure.
 */
class FormulaBuilder
{
public:
    enum class Quote { Single, Double };

    /** @brief Adds {table.field}= the text between quotes, the quote doubled inside it. */
    FormulaBuilder &text(
        const QString &table, const QString &field, const QString &value, Quote quote = Quote::Single);
    /**
     * @brief Adds {table.field}= a bare number. A text that is not a plain number (digits, an
     * optional sign and point) is left out, so that the formula then fails to read rather than
     * select on something else.
     */
    FormulaBuilder &number(const QString &table, const QString &field, const QString &value);
    /** @brief The formula: the comparisons joined by " and ". */
    QString toString() const;

private:
    void add(const QString &table, const QString &field, const QString &valueText);
    QStringList m_terms;
};

} // namespace zav::platform
