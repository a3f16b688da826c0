#include "tables/tableform.h"

#include "engine/var_gbl.h"
#include "platform/dialogs.h"
#include "platform/ui/datagrid.h"
#include "platform/ui/datasource.h"
#include "tables/coefficienttables.h"
#include "tables/numbercelldelegate.h"

#include <QLabel>
#include <QVBoxLayout>

namespace zav::tables {

platform::DataGridColumn gridColumn(const TableColumn &column, int width)
{
    platform::DataGridColumn c { column.field, column.caption, width };
    if (column.number)
        c.alignment = platform::DataGridColumn::Alignment::Right;
    return c;
}

TableForm::TableForm(const platform::GridFormSpec &spec, const QList<TableColumn> &columns, QWidget *parent)
    : GridForm(spec, parent)
    , m_captionBar(new QLabel(this))
{
    // The grid's caption stands above it, as a title bar of the grid.
    m_captionBar->setObjectName(grid()->objectName() + QStringLiteral("Caption"));
    m_captionBar->setAlignment(Qt::AlignCenter);
    m_captionBar->setFrameShape(QFrame::Panel);
    m_captionBar->setFrameShadow(QFrame::Raised);
    m_captionBar->setAutoFillBackground(true);
    m_captionBar->setBackgroundRole(QPalette::Mid);
    m_captionBar->setText(grid()->caption());
    connect(grid(), &platform::DataGrid::captionChanged, m_captionBar, &QLabel::setText);
    formLayout()->insertWidget(0, m_captionBar);

    for (int i = 0; i < columns.size(); ++i) {
        if (columns.at(i).number)
            grid()->setItemDelegateForColumn(i, new NumberCellDelegate(grid()));
    }
}

TableForm::~TableForm() = default;

QString TableForm::archive() const
{
    return dataSource()->databaseName();
}

QVBoxLayout *TableForm::formLayout() const
{
    return qobject_cast<QVBoxLayout *>(layout());
}

bool TableForm::showTemplate(const QString &table)
{
    return showTable(TableArchive::templatePath(), table, ArchiveKind::Template);
}

bool TableForm::showProject(const QString &table)
{
    if (!engine::VAR_GBL.progetto_corrente) {
        platform::dialogs().msgBox(QStringLiteral("Nessun progetto selezionato"), platform::MsgButtons::Ok,
            platform::MsgIcon::Information, QStringLiteral("!!! Zav - Attenzione - !!!"));
        return false;
    }
    return showTable(*engine::VAR_GBL.progetto_corrente, table, ArchiveKind::Project);
}

bool TableForm::showTable(const QString &path, const QString &table, ArchiveKind kind)
{
    if (!TableArchive::check(path, table, kind))
        return false;
    platform::DataSource *data = dataSource();
    const QString previousPath = data->databaseName();
    const platform::TableQuery previousRows = data->recordSource();
    data->setDatabaseName(path);
    if (showRows(platform::TableQuery { table, {}, {} })) {
        m_kind = kind;
        return true;
    }
    // The failure has been told: the form goes back to what it showed.
    data->setDatabaseName(previousPath);
    data->setRecordSource(previousRows);
    if (!previousPath.isEmpty()) {
        try {
            data->refresh();
        } catch (const platform::DbError &) {
        }
    }
    return false;
}

} // namespace zav::tables
