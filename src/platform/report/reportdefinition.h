#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <stdexcept>

namespace zav::platform {

/** @brief A report that cannot run, with the reason in words for the user. */
class ReportError : public std::runtime_error
{
public:
    explicit ReportError(const QString &message);
    QString message() const { return m_message; }

private:
    QString m_message;
};

/** @brief One column of a report's table. */
struct ReportColumn
{
    enum class Align { Left, Center, Right };

    QString field; ///< field of the detail table
    QString heading; ///< column heading
    double width = 10; ///< relative width: the columns share the page width in proportion
    Align align = Align::Left;
    QString format; ///< number pattern ("##0.000"); empty writes the value as it is
    bool total = false; ///< the column is summed in the total row

    bool operator==(const ReportColumn &other) const = default;
};

/**
 * @brief A table a report reads, and the slot whose database it is read from. The report, its
 * selection formula and its sort fields call the table `table`; "source" in the definition names
 * the table of the database when that differs ("table": "MILLESIMI_TER", "source": "MILLESIMI").
 */
struct ReportTable
{
    int slot = -1;
    QString table;
    QString source; ///< the table's name in its database; empty when it is `table`

    bool operator==(const ReportTable &other) const = default;
};

/**
 * @brief A report definition: our own declarative file (JSON) kept in the program's "STAMPE".
 *
 * A report prints one table (the detail table, one line per row, columns with headings and
 * optional totals) under a heading made of a title, lines taken from the single record of an
 * optional header table, and a subtitle. Placeholders "{FIELD}" in header lines name fields of the
 * header record; in subtitle parts they name fields of the detail table, taken from the selection
 * formula where it compares that field, else from the first row printed. A part or line whose
 * placeholders are all empty is left out. Example:
 *
 *     { "title": "Millesimi Generali",
 *       "header": { "slot": 0, "table": "ANA_CONDO", "lines": ["{NOME}", "{INDIRIZZO} {CITTA}"] },
 *       "detail": { "slot": 7, "table": "MILLESIMI", "sort": ["PALAZ", "SCALA", "INTERNO"] },
 *       "subtitle": ["Palazzina {PALAZ}", "Scala {SCALA}"],
 *       "columns": [ { "field": "CONDOMINO", "heading": "Condomino", "width": 30 },
 *                    { "field": "MILLESIMI", "heading": "Millesimi", "width": 10, "align": "right",
 *                      "format": "##0.000", "total": true } ],
 *       "totalLabel": "Totale" }
 */
struct ReportDefinition
{
    QString title;
    ReportTable header; ///< slot -1 when the report has no header table
    QStringList headerLines;
    ReportTable detail;
    QStringList sort; ///< fields of the detail table, each optionally followed by " DESC"
    QStringList subtitle;
    QList<ReportColumn> columns;
    QString totalLabel;

    /** @brief Reads a definition file; ReportError when it is missing or not a valid definition. */
    static ReportDefinition load(const QString &path);
    /** @brief Reads a definition from its JSON text; ReportError when it is not valid. */
    static ReportDefinition fromJson(const QByteArray &json);
};

} // namespace zav::platform
