#include "tables/celltarget.h"

#include "platform/ui/datagrid.h"
#include "platform/ui/datasource.h"
#include "platform/ui/formregistry.h"

namespace zav::tables {

GridCellTarget::GridCellTarget(platform::DataGrid *grid)
    : m_grid(grid)
{
}

int GridCellTarget::currentColumn() const
{
    return m_grid ? m_grid->currentIndex().column() : -1;
}

bool GridCellTarget::hasCurrentRow() const
{
    return m_grid && m_grid->row() >= 0;
}

void GridCellTarget::moveFirst()
{
    if (m_grid && m_grid->dataSource())
        m_grid->dataSource()->moveFirst();
}

void GridCellTarget::moveNext()
{
    if (m_grid && m_grid->dataSource())
        m_grid->dataSource()->moveNext();
}

bool GridCellTarget::setCell(int column, const QString &text)
{
    if (!hasCurrentRow())
        return false;
    QAbstractItemModel *model = m_grid->model();
    const QModelIndex cell = model->index(m_grid->row(), column);
    if (!cell.isValid())
        return false;
    // Writing the text the cell already holds is no change, and no failure.
    if (model->data(cell, Qt::EditRole).toString() == text)
        return true;
    const int row = m_grid->row();
    const auto shown = [model, row] {
        QStringList texts;
        for (int c = 0; c < model->columnCount(); ++c)
            texts.append(model->data(model->index(row, c), Qt::DisplayRole).toString());
        return texts;
    };
    const QStringList before = shown();
    if (!model->setData(cell, text, Qt::EditRole))
        return false;
    const QStringList after = shown();
    for (int c = 0; c < after.size(); ++c) {
        if (after.at(c) != before.value(c) && !m_changed.contains(c))
            m_changed.append(c);
    }
    return true;
}

void GridCellTarget::fitWrittenColumns()
{
    if (m_grid)
        m_grid->fitColumns(m_changed);
    m_changed.clear();
}

std::unique_ptr<CellTarget> CoefficientTransfer::targetFor(const QString &transferCaption)
{
    const QString form = transferCaption == QLatin1String(WorkspaceCaption) ? QStringLiteral("frm_ins_coeff")
                                                                            : QStringLiteral("frm_terrazze");
    QWidget *caller = platform::FormRegistry::loaded(form);
    auto *grid = caller ? caller->findChild<platform::DataGrid *>(QStringLiteral("TDBGrid1")) : nullptr;
    if (!grid)
        return nullptr;
    return std::make_unique<GridCellTarget>(grid);
}

int CoefficientTransfer::transfer(CellTarget &target, const QString &value, bool everyRow)
{
    const int column = target.currentColumn();
    if (column < 0)
        return 0;
    int written = 0;
    if (!everyRow) {
        written = target.hasCurrentRow() && target.setCell(column, value) ? 1 : 0;
    } else {
        target.moveFirst();
        while (target.hasCurrentRow()) {
            if (target.setCell(column, value))
                ++written;
            target.moveNext();
        }
    }
    target.fitWrittenColumns();
    return written;
}

} // namespace zav::tables
