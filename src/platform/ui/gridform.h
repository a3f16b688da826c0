#pragma once

#include "platform/ui/boundform.h"
#include "platform/ui/datagridmodel.h"

#include <QList>
#include <QSize>
#include <QString>

#include <functional>

class QPushButton;

namespace zav::platform {

class DataGrid;

/** @brief One button of a grid form. */
struct GridFormButton
{
    /** Designer name (objectName), by which tests and code find it. */
    QString name;
    QString caption;
    /** What a click runs: the form's handler. The closing button closes the form when it has none. */
    std::function<void()> action {};
};

/**
 * @brief What sets one grid form apart from another: its names, its rows, its columns and its
 * buttons. Everything else (the grid bound to the data source, the layout, the failure reports)
 * is the same for all of them.
 */
struct GridFormSpec
{
    QString objectName;
    QString title;
    /** The data source's name, database and rows. */
    FormBinding binding;
    QList<DataGridColumn> columns;
    /** The buttons of the form's actions, laid out from the left under the grid. */
    QList<GridFormButton> buttons;
    /** The button that closes the form, apart at the right; none when its name is empty. */
    GridFormButton closeButton;
    /** Designer name of the grid. */
    QString gridName = QStringLiteral("TDBGrid1");
    QSize size { 760, 480 };
    /** A read-only grid refuses every edit. */
    bool readOnly = false;
};

/**
 * @brief A window made of one grid on a data source and a row of buttons, built from a
 * GridFormSpec.
 *
 * A named form derives from it, passes its spec (whose button actions call its `CommandN_Click`
 * handlers), takes its designer-named members from `dataSource()`, `grid()` and `button()`, and
 * runs `Form_Load()` at the end of its constructor.
 */
class GridForm : public BoundForm
{
    Q_OBJECT

public:
    explicit GridForm(const GridFormSpec &spec, QWidget *parent = nullptr);
    ~GridForm() override;

    DataGrid *grid() const { return m_grid; }
    /** @brief The button of this designer name; nullptr when the form has none. */
    QPushButton *button(const QString &name) const;

private:
    QPushButton *addButton(const GridFormButton &entry);

    DataGrid *m_grid = nullptr;
    QList<QPushButton *> m_buttons;
};

} // namespace zav::platform
