#include "shell/forms/gridwindow.h"

#include <QHBoxLayout>
#include <QPushButton>
#include <QVBoxLayout>

namespace zav::shell {

QPushButton *gridWindowButton(const QString &name, const QString &caption, QWidget *parent)
{
    auto *button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setAutoDefault(false);
    return button;
}

void layOutGridWindow(QWidget &window, QWidget *grid, const QList<QPushButton *> &actions, QPushButton *exit)
{
    auto *buttons = new QHBoxLayout;
    for (QPushButton *action : actions)
        buttons->addWidget(action);
    buttons->addStretch();
    buttons->addWidget(exit);
    auto *layout = new QVBoxLayout(&window);
    layout->addWidget(grid);
    layout->addLayout(buttons);
}

} // namespace zav::shell
