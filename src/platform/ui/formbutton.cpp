#include "platform/ui/formbutton.h"

#include <QAbstractButton>
#include <QEvent>
#include <QKeyEvent>
#include <QPointer>
#include <QPushButton>

namespace zav::platform {

namespace {

/** Drops the second half of a double click, and every click while the command of one runs. */
class ClickGuard : public QObject
{
public:
    explicit ClickGuard(QWidget *button)
        : QObject(button)
    {
        setObjectName(QString::fromLatin1(Name));
    }

    static constexpr const char *Name = "clickGuard";

    bool eventFilter(QObject *watched, QEvent *event) override
    {
        const QEvent::Type type = event->type();
        const bool mouse = type == QEvent::MouseButtonPress || type == QEvent::MouseButtonRelease
            || type == QEvent::MouseButtonDblClick;
        const bool key = type == QEvent::KeyPress || type == QEvent::KeyRelease;
        if (!mouse && !key)
            return false;
        if (m_running)
            return true;
        if (type == QEvent::MouseButtonDblClick) {
            m_secondHalf = true;
            return true;
        }
        if (type == QEvent::MouseButtonRelease && m_secondHalf) {
            m_secondHalf = false;
            if (auto *button = qobject_cast<QAbstractButton *>(watched))
                button->setDown(false);
            return true;
        }
        if (type == QEvent::MouseButtonPress)
            m_secondHalf = false;
        if (type != QEvent::MouseButtonRelease && type != QEvent::KeyRelease)
            return false;
        // The release clicks the button: its command runs inside this delivery.
        const QPointer<ClickGuard> alive(this);
        m_running = true;
        watched->event(event);
        if (alive)
            m_running = false;
        return true;
    }

private:
    bool m_running = false;
    bool m_secondHalf = false;
};

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
    guardClicks(button);
    return button;
}

void guardClicks(QWidget *button)
{
    if (!button
        || button->findChild<QObject *>(QString::fromLatin1(ClickGuard::Name), Qt::FindDirectChildrenOnly))
        return;
    button->installEventFilter(new ClickGuard(button));
}

} // namespace zav::platform
