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
    for (const GridFormButton &entry : spec.buttons) {
        QPushButton *button = addButton(entry);
        if (entry.action)
            connect(button, &QPushButton::clicked, this, entry.action);
        buttons->addWidget(button);
    }
    buttons->addStretch();
    if (!spec.closeButton.name.isEmpty()) {
        QPushButton *closer = addButton(spec.closeButton);
        if (spec.closeButton.action)
            connect(closer, &QPushButton::clicked, this, spec.closeButton.action);
        else
            connect(closer, &QPushButton::clicked, this, &QWidget::close);
        buttons->addWidget(closer);
    }
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(m_grid);
    layout->addLayout(buttons);
}

GridForm::~GridForm() = default;

QPushButton *GridForm::addButton(const GridFormButton &entry)
{
    QPushButton *button = formButton(entry.name, entry.caption, this);
    m_buttons.append(button);
    return button;
}

QPushButton *GridForm::button(const QString &name) const
{
    for (QPushButton *button : m_buttons) {
        if (button->objectName() == name)
            return button;
    }
    return nullptr;
}

} // namespace zav::platform
