#include "platform/report/reportcontent.h"

#include "platform/db.h"
#include "platform/report/selectionformula.h"
#include "platform/vb.h"

#include <QDate>
#include <QHash>
#include <QRegularExpression>

#include <algorithm>
#include <cmath>
#include <functional>
#include <numeric>
#include <optional>
#include <vector>

namespace zav::platform {

namespace {

bool sameName(const QString &a, const QString &b)
{
    return a.compare(b, Qt::CaseInsensitive) == 0;
}

/** A sort field "+{TABLE.FIELD}" or "-{TABLE.FIELD}" of the control. */
struct SortField
{
    QString field;
    bool descending = false;
};

SortField sortField(const QString &text, const QString &detailTable)
{
    static const QRegularExpression pattern(QStringLiteral("^\\s*([+-])\\s*\\{([^.{}]+)\\.([^{}]+)\\}\\s*$"));
    const QRegularExpressionMatch match = pattern.match(text);
    if (!match.hasMatch())
        throw ReportError(QStringLiteral("campo di ordinamento non valido: %1").arg(text));
    if (!sameName(match.captured(2).trimmed(), detailTable))
        throw ReportError(
            QStringLiteral("il campo di ordinamento %1 non è della tabella %2").arg(text, detailTable));
    return { match.captured(3).trimmed(), match.captured(1) == QLatin1String("-") };
}

/** Where a slot's table is read from: the slot's database, which must be named. */
QString databaseOf(const ReportTable &table, const ReportProperties &report)
{
    const QString path = report.DataFiles.at(table.slot);
    if (path.isEmpty())
        throw ReportError(QStringLiteral("nessun archivio indicato per la tabella %1 (posizione %2)")
                              .arg(table.table)
                              .arg(table.slot));
    return path;
}

Recordset readTable(const ReportTable &table, const ReportProperties &report, const QList<FormulaTerm> &terms,
    ReportSources *sources)
{
    const QString path = databaseOf(table, report);
    try {
        std::optional<Database> own;
        Database &db = sources ? sources->open(path) : own.emplace(Database::open(path));
        TableQuery query;
        query.table = table.source.isEmpty() ? table.table : table.source;
        for (const FormulaTerm &term : terms) {
            if (sameName(term.table, table.table)) {
                const bool text = term.value.typeId() == QMetaType::QString;
                query.where.append({ term.field, term.value, text && report.caseSensitiveSelection });
            }
        }
        return db.select(query);
    } catch (const DbError &error) {
        throw ReportError(QStringLiteral("impossibile leggere la tabella %1 dall'archivio %2: %3")
                              .arg(table.table, path, error.message()));
    }
}

/** A text made only of digits, with a minus before them and blanks around them allowed. */
bool isWholeNumberText(const QString &text)
{
    // Most texts tell at once: digits alone are a number, and a letter or a sign other than the
    // minus among them makes a text. Only texts with blanks or other characters are left to the
    // pattern, which knows every blank.
    bool plain = !text.isEmpty();
    for (qsizetype i = 0; i < text.size(); ++i) {
        const char16_t c = text.at(i).unicode();
        if (c >= u'0' && c <= u'9')
            continue;
        if (c == u'-') {
            if (i != 0 || text.size() == 1)
                plain = false;
            continue;
        }
        if (c > 0x20 && c < 0x7F)
            return false;
        plain = false;
    }
    if (plain)
        return true;
    static const QRegularExpression digits(QStringLiteral("^\\s*-?[0-9]+\\s*$"));
    return digits.match(text).hasMatch();
}

/** The key a value sorts by: empty values first, then numbers by value, then texts without regard
 * to case. Texts made only of digits sort as numbers, so that building 10 follows building 9. */
struct SortKey
{
    int kind = 0; // 0 empty, 1 number, 2 text
    double number = 0;
    QString text;

    static SortKey of(const QVariant &value)
    {
        SortKey key;
        if (value.isNull() || (value.typeId() == QMetaType::QString && value.toString().isEmpty()))
            return key;
        if (vb::isNumberValue(value)) {
            key.kind = 1;
            key.number = value.toDouble();
            return key;
        }
        const QString text = value.toString();
        if (isWholeNumberText(text)) {
            key.kind = 1;
            key.number = text.trimmed().toDouble();
            return key;
        }
        key.kind = 2;
        key.text = text.toCaseFolded();
        return key;
    }

    int compare(const SortKey &other) const
    {
        if (kind != other.kind)
            return kind < other.kind ? -1 : 1;
        if (kind == 1)
            return number < other.number ? -1 : (number > other.number ? 1 : 0);
        return text.compare(other.text);
    }
};

/** Fills "{FIELD}" placeholders; empty when every placeholder is empty (or when there is none and
 * the text is empty). */
QString fill(const QString &pattern, const std::function<QString(const QString &)> &valueOf)
{
    static const QRegularExpression placeholder(QStringLiteral("\\{([^{}]+)\\}"));
    QString result;
    qsizetype last = 0;
    bool anyPlaceholder = false;
    bool anyValue = false;
    auto it = placeholder.globalMatch(pattern);
    while (it.hasNext()) {
        const QRegularExpressionMatch match = it.next();
        result += pattern.mid(last, match.capturedStart() - last);
        const QString value = valueOf(match.captured(1).trimmed());
        anyPlaceholder = true;
        anyValue = anyValue || !value.isEmpty();
        result += value;
        last = match.capturedEnd();
    }
    result += pattern.mid(last);
    if (anyPlaceholder && !anyValue)
        return QString();
    return result.trimmed();
}

double numberOf(const QVariant &value)
{
    const std::optional<double> number = vb::CDbl(value);
    return number && std::isfinite(*number) ? *number : 0.0;
}

/** A definition's order: fields, each optionally followed by " DESC". */
QList<SortField> sortOf(const QStringList &fields)
{
    QList<SortField> sort;
    for (const QString &text : fields) {
        QString field = text.trimmed();
        const bool descending = field.endsWith(QLatin1String(" DESC"), Qt::CaseInsensitive);
        if (descending)
            field.chop(5);
        sort.append({ field.trimmed(), descending });
    }
    return sort;
}

/** The rows one table of a report prints: read, selected, sorted and written as text. */
struct TableRows
{
    Recordset records;
    QList<int> order; ///< the records' rows in print order
    QList<QStringList> rows;
    QStringList totals;
};

TableRows tableRows(const ReportTable &table, const QList<SortField> &sort,
    const QList<ReportColumn> &columns, const QString &totalLabel, const ReportProperties &report,
    const QList<FormulaTerm> &terms, ReportSources *sources)
{
    TableRows result;
    result.records = readTable(table, report, terms, sources);
    const Recordset &detail = result.records;
    QList<int> columnFields;
    for (const ReportColumn &column : columns) {
        if (!detail.hasField(column.field))
            throw ReportError(
                QStringLiteral("il campo %1 non esiste nella tabella %2").arg(column.field, table.table));
        columnFields.append(detail.fieldIndex(column.field));
    }
    QList<int> sortFields;
    for (const SortField &field : sort) {
        if (!detail.hasField(field.field))
            throw ReportError(QStringLiteral("il campo di ordinamento %1 non esiste nella tabella %2")
                                  .arg(field.field, table.table));
        sortFields.append(detail.fieldIndex(field.field));
    }
    QList<int> &order = result.order;
    order.resize(detail.recordCount());
    std::iota(order.begin(), order.end(), 0);
    if (!sortFields.isEmpty()) {
        // The keys of all the rows in one block, a row's keys side by side.
        const qsizetype perRow = sortFields.size();
        std::vector<SortKey> keys;
        keys.reserve(std::size_t(detail.recordCount() * perRow));
        for (int row = 0; row < detail.recordCount(); ++row) {
            const QList<QVariant> &record = detail.row(row);
            for (int field : sortFields)
                keys.push_back(SortKey::of(record.at(field)));
        }
        std::stable_sort(order.begin(), order.end(), [&](int a, int b) {
            const SortKey *keysA = keys.data() + a * perRow;
            const SortKey *keysB = keys.data() + b * perRow;
            for (qsizetype i = 0; i < perRow; ++i) {
                const int c = keysA[i].compare(keysB[i]);
                if (c != 0)
                    return sort.at(i).descending ? c > 0 : c < 0;
            }
            return false;
        });
    }

    // A total adds up the rows as they are printed, each rounded by its column's format, so that
    // it is the sum of the numbers above it on paper.
    QList<std::optional<vb::FormatPattern>> patterns(columns.size());
    for (qsizetype c = 0; c < columns.size(); ++c) {
        if (columns.at(c).total && !columns.at(c).format.isEmpty())
            patterns[c].emplace(columns.at(c).format);
    }
    QList<double> sums(columns.size(), 0.0);
    result.rows.reserve(order.size());
    for (int row : order) {
        const QList<QVariant> &record = detail.row(row);
        QStringList cells;
        cells.reserve(columns.size());
        for (qsizetype c = 0; c < columns.size(); ++c) {
            const QVariant &value = record.at(columnFields.at(c));
            cells.append(ReportContent::cellText(value, columns.at(c).format));
            if (!columns.at(c).total)
                continue;
            const double number = numberOf(value);
            sums[c] += patterns.at(c) ? patterns.at(c)->format(number).number.value_or(0.0) : number;
        }
        result.rows.append(cells);
    }

    const bool anyTotal = std::any_of(
        columns.cbegin(), columns.cend(), [](const ReportColumn &column) { return column.total; });
    if (anyTotal) {
        for (qsizetype c = 0; c < columns.size(); ++c) {
            const ReportColumn &column = columns.at(c);
            if (column.total)
                result.totals.append(
                    column.format.isEmpty() ? vb::CStr(sums.at(c)) : vb::Format(sums.at(c), column.format));
            else
                result.totals.append(QString());
        }
        // The label stands in the widest column left of the first total (usually the owner's).
        int label = -1;
        for (int c = 0; c < columns.size() && !columns.at(c).total; ++c) {
            if (label < 0 || columns.at(c).width > columns.at(label).width)
                label = c;
        }
        if (label >= 0)
            result.totals[label] = totalLabel;
    }
    return result;
}

} // namespace

QString ReportContent::cellText(const QVariant &value, const QString &format)
{
    if (value.isNull() || !value.isValid())
        return QString();
    if (!format.isEmpty())
        return vb::Format(value, format);
    if (value.typeId() == QMetaType::Bool)
        return value.toBool() ? QStringLiteral("Sì") : QStringLiteral("No");
    if (value.typeId() == QMetaType::Double || value.typeId() == QMetaType::Float)
        return vb::CStr(value.toDouble());
    return value.toString();
}

Database &ReportSources::open(const QString &path)
{
    auto found = m_open.find(path);
    if (found == m_open.end())
        found = m_open.emplace(path, Database::open(path)).first;
    return found->second;
}

ReportContent ReportContent::build(
    const ReportDefinition &definition, const ReportProperties &report, ReportSources *sources)
{
    QList<FormulaTerm> terms;
    try {
        terms = SelectionFormula::parse(report.SelectionFormula);
    } catch (const FormulaError &error) {
        throw ReportError(QStringLiteral("formula di selezione non valida (%1): %2")
                              .arg(error.message(), report.SelectionFormula));
    }
    for (const FormulaTerm &term : terms) {
        const bool section = std::any_of(definition.sections.cbegin(), definition.sections.cend(),
            [&](const ReportSection &s) { return sameName(term.table, s.detail.table); });
        if (!sameName(term.table, definition.detail.table) && !section
            && !(definition.header.slot >= 0 && sameName(term.table, definition.header.table)))
            throw ReportError(
                QStringLiteral("la formula di selezione nomina la tabella %1, che la stampa non legge")
                    .arg(term.table));
    }

    QList<SortField> sort;
    for (const QString &text : report.SortFields) {
        if (!text.trimmed().isEmpty())
            sort.append(sortField(text, definition.detail.table));
    }
    if (sort.isEmpty())
        sort = sortOf(definition.sort);

    ReportContent content;
    content.title = definition.title;
    content.columns = definition.columns;
    content.printDate = QDate::currentDate().toString(QStringLiteral("dd/MM/yyyy"));

    // The heading's record, and the values of the run.
    Recordset header;
    if (definition.header.slot >= 0)
        header = readTable(definition.header, report, terms, sources);
    for (const QString &line : definition.headerLines) {
        const QString text = fill(line, [&](const QString &field) {
            if (field.startsWith(u'@')) {
                const QString name = field.mid(1);
                return name == QLatin1String("DATA") ? content.printDate : report.parameters.value(name);
            }
            if (header.isEmpty() || !header.hasField(field))
                return QString();
            return cellText(header.value(0, header.fieldIndex(field)));
        });
        if (!text.isEmpty())
            content.headerLines.append(text);
    }

    // The detail rows, selected and sorted.
    TableRows main = tableRows(
        definition.detail, sort, definition.columns, definition.totalLabel, report, terms, sources);
    content.rows = std::move(main.rows);
    content.totals = std::move(main.totals);
    const Recordset &detail = main.records;
    const QList<int> &order = main.order;

    for (const ReportSection &section : definition.sections) {
        TableRows table = tableRows(section.detail, sortOf(section.sort), section.columns, section.totalLabel,
            report, terms, sources);
        content.sections.append(
            { section.title, section.columns, std::move(table.rows), std::move(table.totals) });
    }
    content.orientation = definition.orientation;
    content.fontSize = definition.fontSize;

    // The subtitle: what the selection names, else what the first row holds.
    QStringList parts;
    for (const QString &part : definition.subtitle) {
        const QString text = fill(part, [&](const QString &field) {
            for (const FormulaTerm &term : terms) {
                if (sameName(term.table, definition.detail.table) && sameName(term.field, field))
                    return cellText(term.value);
            }
            if (order.isEmpty() || !detail.hasField(field))
                return QString();
            return cellText(detail.value(order.first(), detail.fieldIndex(field)));
        });
        if (!text.isEmpty())
            parts.append(text);
    }
    content.subtitle = parts.join(QStringLiteral(" - "));
    return content;
}

} // namespace zav::platform
