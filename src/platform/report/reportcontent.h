#pragma once

#include "platform/db.h"
#include "platform/report/reportcontrol.h"
#include "platform/report/reportdefinition.h"

#include <QList>
#include <QPageLayout>
#include <QString>
#include <QStringList>

#include <map>
#include <optional>

namespace zav::platform {

/** @brief The archives reports read, each opened once and kept open for as long as this lives. */
class ReportSources
{
public:
    /** @brief The archive of this path, opened at its first use; DbError when it cannot be. */
    Database &open(const QString &path);

private:
    std::map<QString, Database> m_open;
};

/** @brief A further table of a report, ready to lay out: its title, columns, rows and total row. */
struct ReportSectionContent
{
    QString title;
    QList<ReportColumn> columns;
    QList<QStringList> rows;
    QStringList totals; ///< as ReportContent::totals
    bool hasTotals() const { return !totals.isEmpty(); }
};

/**
 * @brief A report ready to lay out: its heading texts and its table, every cell already written
 * as text. The preview, the printer and the RTF export all start from it.
 */
struct ReportContent
{
    QString title;
    QStringList headerLines; ///< project lines under the title (empty ones left out)
    QString subtitle; ///< what the selection names (building, stair …); may be empty
    QList<ReportColumn> columns;
    QList<QStringList> rows; ///< one text per column
    /** The total row, one text per column, the label in the widest column left of the first
     * total; empty when no column is summed. */
    QStringList totals;
    QString printDate; ///< "dd/MM/yyyy"
    /** The further tables, printed after this one in their order. */
    QList<ReportSectionContent> sections;
    /** The pages' orientation when the report fixes it. */
    std::optional<QPageLayout::Orientation> orientation;
    /** Points of the tables' text. */
    double fontSize = ReportDefinition::DefaultFontSize;

    bool hasTotals() const { return !totals.isEmpty(); }

    /**
     * @brief Reads what a report prints: the definition's tables from the databases of their slots,
     * the detail rows that the selection formula keeps, in the order of the sort fields (the
     * definition's own when none is set), then each section's rows the formula keeps, in the
     * section's own order. ReportError when a slot names no database, a database or
     * field cannot be read, or the formula or a sort field does not read. With sources, the archives
     * are read through them (kept open from one report to the next) instead of opened for this one.
     */
    static ReportContent build(
        const ReportDefinition &definition, const ReportProperties &report, ReportSources *sources = nullptr);

    /** @brief A value as a report writes it: with the pattern when there is one, else as it is. */
    static QString cellText(const QVariant &value, const QString &format = QString());
};

} // namespace zav::platform
