#pragma once

#include "engine/thousandthsbalance.h"

class QLabel;

namespace zav::platform {
class DataSource;
}

namespace zav::workspace {

/**
 * @brief A thousandths column on view as the balancing works on it: one field of a data source's
 * rows and the label under the grid that shows its total as total text. The workspace's views and
 * the terrace form's thousandths view are balanced through it.
 */
class LabelledColumn : public engine::BalancedColumn
{
public:
    LabelledColumn(platform::DataSource &source, QLabel &label, const QString &field);

    QString shownTotal() const override;
    std::optional<double> read(const QString &total) const override;
    std::pair<QString, std::optional<int>> count(const QVariantList &cells) const override;
    /** @brief The column's rows as they are read, counted as the label shows their total. */
    std::pair<QString, std::optional<int>> count() const;
    void show(const QString &total) override;
    void reread() override;
    bool hasField() const override;
    QString field() const override;
    int rowCount() const override;
    QVariant value(int row) const override;
    qint64 rowid(int row) const override;
    QString database() const override;
    QString table() const override;

private:
    /** @brief The position of the column's field among the rows' fields; -1 when they lack it. */
    int position() const;

    platform::DataSource &m_source;
    QLabel &m_label;
    QString m_field;
    mutable int m_position = -1;
};

} // namespace zav::workspace
