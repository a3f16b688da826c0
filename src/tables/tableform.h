#pragma once

#include "platform/ui/gridform.h"
#include "tables/tablearchive.h"

#include <QList>
#include <QString>

class QLabel;
class QVBoxLayout;

namespace zav::tables {

struct TableColumn;

/**
 * @brief What the coefficient form and the window form share: a grid form on one table of either the
 * template archive or the open project's archive, switched by its buttons, with the grid's caption
 * shown above it and number columns that take numbers only.
 *
 * Before the form is pointed at an archive the archive is checked (TableArchive): a missing or
 * read-only archive, or one without the table, is told and the form keeps showing what it showed.
 */
class TableForm : public platform::GridForm
{
    Q_OBJECT

public:
    TableForm(
        const platform::GridFormSpec &spec, const QList<TableColumn> &columns, QWidget *parent = nullptr);
    ~TableForm() override;

    /** @brief Which archive the form shows (the template until it is pointed at the project). */
    ArchiveKind archiveKind() const { return m_kind; }
    /** @brief The full path of the archive shown; empty before the form is pointed at one. */
    QString archive() const;
    /** @brief The label above the grid that shows the grid's caption. */
    QLabel *captionBar() const { return m_captionBar; }

protected:
    /** @brief Points the form at a table of the template archive; false (nothing changed) when the
     * template cannot be used. */
    bool showTemplate(const QString &table);
    /**
     * @brief Points the form at a table of the open project's archive; with no project open it says
     * "Nessun progetto selezionato" and changes nothing, as when the archive cannot be used.
     */
    bool showProject(const QString &table);
    /** @brief The layout of the form, to put more controls above the grid. */
    QVBoxLayout *formLayout() const;

private:
    bool showTable(const QString &path, const QString &table, ArchiveKind kind);

    QLabel *m_captionBar = nullptr;
    ArchiveKind m_kind = ArchiveKind::Template;
};

/** @brief The grid column of a table column: its field, caption, and right alignment for numbers. */
platform::DataGridColumn gridColumn(const TableColumn &column, int width);

} // namespace zav::tables
