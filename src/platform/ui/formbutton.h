#pragma once

#include <QString>

#include <utility>

class QPushButton;
class QWidget;

namespace zav::platform {

/**
 * @brief A push button of a form with its designer name as objectName. Enter presses it while it has
 * the focus, as Space does; it never takes Enter as the default button, so Enter in a box or a grid
 * does not press it. Its clicks are guarded (guardClicks).
 */
QPushButton *formButton(const QString &name, const QString &caption, QWidget *parent);

/**
 * @brief One user action, one command: a double click on the button clicks it once (its second
 * half is dropped), and while the command of a click runs (a message box, a progress that lets
 * events through) the button takes no further click, by mouse or key. Works on any button that
 * clicks when the mouse button or the key is released.
 */
void guardClicks(QWidget *button);

/**
 * @brief A control of a form, made with these constructor arguments, with its designer name as
 * objectName (`formControl<QCheckBox>("Check1", caption, parent)`).
 */
template<class Control, class... Args> Control *formControl(const char *name, Args &&...args)
{
    auto *control = new Control(std::forward<Args>(args)...);
    control->setObjectName(QString::fromLatin1(name));
    return control;
}

} // namespace zav::platform
