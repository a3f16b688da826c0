#pragma once

namespace zav::expenses {

/**
 * @brief What the expense form reads of the main window, which it cannot include: the window's
 * width and the width of one of its command bar's bands. The main window implements it and hands
 * it over with setMainWindowMetrics().
 */
class MainWindowMetrics
{
public:
    virtual ~MainWindowMetrics() = default;
    /** @brief The main window's outer width, in pixels. */
    virtual int windowWidth() const = 0;
    /**
     * @brief The width, in pixels, of the band at a position of the main window's command bar, as
     * the command bar numbers its bands (position 1 is the "Progetto" pull-down menu).
     */
    virtual int bandWidth(int position) const = 0;
};

} // namespace zav::expenses
