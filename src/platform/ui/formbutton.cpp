#include "platform/ui/formbutton.h"

#include <QKeyEvent>
#include <QPushButton>

namespace zav::platform {

namespace {

/**
 * A push button that Enter presses while it has the focus, as Space does. It is never a default
 * button: Enter typed in a box or a grid goes to the box, not here.
 */
class FormPushButton : public QPushButton
{
public:
    using QPushButton::QPushButton;

protected:
    void keyPressEvent(QKeyEvent *event) override
    {
        if ((event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter)
            && (event->modifiers() & ~Qt::KeypadModifier) == Qt::NoModifier) {
            if (!event->isAutoRepeat())
                click();
            event->accept();
            return;
        }
        QPushButton::keyPressEvent(event);
    }
};

} // namespace

QPushButton *formButton(const QString &name, const QString &caption, QWidget *parent)
{
    auto *button = new FormPushButton(caption, parent);
    button->setObjectName(name);
    button->setAutoDefault(false);
    return button;
}

} // namespace zav::platform
