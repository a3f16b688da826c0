#include "platform/ui/formbutton.h"

#include <QPushButton>

namespace zav::platform {

QPushButton *formButton(const QString &name, const QString &caption, QWidget *parent)
{
    auto *button = new QPushButton(caption, parent);
    button->setObjectName(name);
    button->setAutoDefault(false);
    return button;
}

} // namespace zav::platform
