#pragma once

#include <QList>
#include <QString>

class QPushButton;
class QWidget;

namespace zav::shell {

/** @brief A button of a grid window, with its designer name; it never takes Enter as default. */
QPushButton *gridWindowButton(const QString &name, const QString &caption, QWidget *parent);

/**
 * @brief Lays out a grid window: the grid above a row of buttons, the actions on the left and the
 * exit button on the right.
 */
void layOutGridWindow(QWidget &window, QWidget *grid, const QList<QPushButton *> &actions, QPushButton *exit);

} // namespace zav::shell
