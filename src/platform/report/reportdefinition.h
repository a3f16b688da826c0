#pragma once

#include <QByteArray>
#include <QList>
#include <QPageLayout>
#include <QString>
#include <QStringList>

#include <optional>
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
 * @brief A further table of a report, printed after the main one under a title of its own: its
 * table and slot, its order, its columns and total row. Its column widths are measured in the
 * main table's units, so a table of few columns stays narrow.
 */
struct ReportSection
{
    QString title;
    ReportTable detail;
    QStringList sort; ///< fields, each optionally followed by " DESC"; stored order when empty
    QList<ReportColumn> columns;
    QString totalLabel;

    bool operator==(const ReportSection &other) const = default;
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
 *
 * A header line may also hold "{@DATA}", the print date, and "{@NAME}", the value the report
 * control's `parameters` give NAME for the run; a header of such lines only needs no "slot" and no
 * "table".
 *
 * Optional keys: "orientation" ("portrait" or "landscape") prints the report on pages so turned,
 * whatever the program's page set-up says, for a report too wide for the other; "fontSize", the
 * points of the tables' text (8.5 when not given), for a report of many columns; "sections", a list
 * of further tables printed after the main one, each with "title", "detail", "columns" and
 * "totalLabel" as above. A selection formula selects in every table whose name it gives; the sort
 * fields of the control order the main table only.
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
    QList<ReportSection> sections;
    /** The page's orientation when the report fixes it; else the program's page set-up decides. */
    std::optional<QPageLayout::Orientation> orientation;
    /** Points of the tables' text. */
    double fontSize = DefaultFontSize;

    static constexpr double DefaultFontSize = 8.5;

    /** @brief Reads a definition file; ReportError when it is missing or not a valid definition. */
    static ReportDefinition load(const QString &path);
    /** @brief Reads a definition from its JSON text; ReportError when it is not valid. */
    static ReportDefinition fromJson(const QByteArray &json);
};

} // namespace zav::platform
