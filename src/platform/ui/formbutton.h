#pragma once

#include <QString>

class QPushButton;
class QWidget;

namespace zav::platform {

/**
 * @brief A push button of a form with its designer name as objectName; it never takes Enter as the
 * default button, so Enter in a box or a grid does not press it.
 */
QPushButton *formButton(const QString &name, const QString &caption, QWidget *parent);

} // namespace zav::platform
