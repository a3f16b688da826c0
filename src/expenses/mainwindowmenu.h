#pragma once

#include <QPoint>
#include <QString>

namespace zav::expenses {

/**
 * @brief The main window's pop-up menu `Opzioni`, which the summary table pops up over its grid
 * and which it cannot include: the main window implements it and hands it over with
 * setMainWindowMenu().
 */
class MainWindowMenu
{
public:
    virtual ~MainWindowMenu() = default;
    /**
     * @brief Shows or hides the pop-up menu itself (`Opzioni`) or one of its items (`sel`,
     * `accorpa`, `copia`, `incolla`). Nothing happens for any other name.
     */
    virtual void setPopupItemVisible(const QString &name, bool visible) = 0;
    /** @brief Pops `Opzioni` up at a position of the screen and returns at once. */
    virtual void popUpOpzioni(const QPoint &globalPosition) = 0;
};

} // namespace zav::expenses
