#include "workspace/labelledcolumn.h"

#include "platform/ui/datasource.h"
#include "workspace/totaltext.h"

#include <QLabel>

namespace zav::workspace {

LabelledColumn::LabelledColumn(platform::DataSource &source, QLabel &label, const QString &field)
    : m_source(source)
    , m_label(label)
    , m_field(field)
{
}

QString LabelledColumn::shownTotal() const
{
    return m_label.text();
}

std::optional<double> LabelledColumn::read(const QString &total) const
{
    return TotalText::read(total);
}

std::pair<QString, std::optional<int>> LabelledColumn::count(const QVariantList &cells) const
{
    TotalText::Running total;
    std::optional<int> unreadable;
    for (qsizetype row = 0; row < cells.size(); ++row) {
        if (!total.add(cells.at(row)) && !unreadable)
            unreadable = int(row);
    }
    return { total.text(), unreadable };
}

std::pair<QString, std::optional<int>> LabelledColumn::count() const
{
    QVariantList cells;
    const int field = position();
    for (int row = 0; row < m_source.recordCount() && field >= 0; ++row)
        cells << m_source.value(row, field);
    return count(cells);
}

void LabelledColumn::show(const QString &total)
{
    m_label.setText(total);
}

void LabelledColumn::reread()
{
    m_source.refresh();
}

bool LabelledColumn::hasField() const
{
    return position() >= 0;
}

QString LabelledColumn::field() const
{
    const int index = position();
    return index >= 0 ? m_source.fieldNames().at(index) : m_field;
}

int LabelledColumn::rowCount() const
{
    return m_source.recordCount();
}

QVariant LabelledColumn::value(int row) const
{
    return m_source.value(row, position());
}

qint64 LabelledColumn::rowid(int row) const
{
    return m_source.rowid(row);
}

QString LabelledColumn::database() const
{
    return m_source.databaseName();
}

QString LabelledColumn::table() const
{
    return m_source.recordSource().table;
}

int LabelledColumn::position() const
{
    // The column is read row by row: the position found last is kept while the rows' fields still
    // have the column's field there.
    const QStringList &fields = m_source.fieldNames();
    if (m_position < 0 || m_position >= fields.size()
        || fields.at(m_position).compare(m_field, Qt::CaseInsensitive) != 0)
        m_position = m_source.fieldIndex(m_field);
    return m_position;
}

} // namespace zav::workspace
