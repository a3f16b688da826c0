#include "tables/numbercelldelegate.h"

#include "tables/typednumber.h"

#include <QLineEdit>

namespace zav::tables {

void NumberCellDelegate::setModelData(
    QWidget *editor, QAbstractItemModel *model, const QModelIndex &index) const
{
    const auto *line = qobject_cast<QLineEdit *>(editor);
    if (!line) {
        QStyledItemDelegate::setModelData(editor, model, index);
        return;
    }
    commit(line->text(), model, index);
}

bool NumberCellDelegate::commit(const QString &typed, QAbstractItemModel *model, const QModelIndex &index)
{
    const std::optional<QVariant> stored = TypedNumber::read(typed);
    if (!stored) {
        TypedNumber::refuse(typed);
        return false;
    }
    // An empty cell is Null: the model stores empty text as Null.
    model->setData(index, stored->isNull() ? QString() : stored->toString(), Qt::EditRole);
    return true;
}

} // namespace zav::tables
