#pragma once

#include <QStyledItemDelegate>

namespace zav::tables {

/**
 * @brief The editor of a number column of the coefficient and window tables: what is typed is read
 * as a number (TypedNumber) and stored as that number's text; text that is not a number is refused
 * with a message and nothing is written.
 */
class NumberCellDelegate : public QStyledItemDelegate
{
    Q_OBJECT

public:
    using QStyledItemDelegate::QStyledItemDelegate;

    void setModelData(QWidget *editor, QAbstractItemModel *model, const QModelIndex &index) const override;

    /** @brief Writes a typed text into a cell as the delegate does: read, stored or refused; true
     * when the text was a number (or empty) and went to the model. */
    static bool commit(const QString &typed, QAbstractItemModel *model, const QModelIndex &index);
};

} // namespace zav::tables
