#include "platform/ui/gridform.h"

#include "platform/ui/datagrid.h"
#include "platform/ui/formbutton.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace zav::platform {

GridForm::GridForm(const GridFormSpec &spec, QWidget *parent)
    : BoundForm(spec.objectName, spec.title, spec.binding, Qt::Window, parent)
    , m_grid(new DataGrid(this))
{
    resize(spec.size);
    m_grid->setObjectName(spec.gridName);
    m_grid->setDataSource(dataSource());
    m_grid->setColumns(spec.columns);
    m_grid->setReadOnly(spec.readOnly);

    // The grid above a row of buttons: the actions from the left, the closing button at the right.
    auto *buttons = new QHBoxLayout;
    QPushButton *closer = nullptr;
    for (const GridFormButton &entry : spec.buttons) {
        QPushButton *button = formButton(entry.name, entry.caption, this);
        m_buttons.append(button);
        const bool closes = entry.name == spec.closeButton;
        if (entry.action)
            connect(button, &QPushButton::clicked, this, entry.action);
        else if (closes)
            connect(button, &QPushButton::clicked, this, &QWidget::close);
        if (closes)
            closer = button;
        else
            buttons->addWidget(button);
    }
    buttons->addStretch();
    if (closer)
        buttons->addWidget(closer);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_grid);
    layout->addLayout(buttons);
}

GridForm::~GridForm() = default;

QPushButton *GridForm::button(const QString &name) const
{
    for (QPushButton *button : m_buttons) {
        if (button->objectName() == name)
            return button;
    }
    return nullptr;
}

} // namespace zav::platform
