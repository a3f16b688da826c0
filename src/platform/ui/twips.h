#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>

class QWidget;

namespace zav::platform {

/**
 * @brief Twips, the unit in which the forms give their sizes and positions: 1440 to the inch,
 * turned into pixels with the logical dots per inch of the screen a widget is on (the primary
 * screen when no widget is given, 96 when there is no screen at all).
 *
 * Every width and position that a form states in twips goes through here, so that a form keeps
 * its proportions on any screen.
 */
class Twips
{
public:
    static constexpr int PerInch = 1440;

    /** @brief Logical dots per inch across and down for a widget (or the primary screen). */
    static qreal dpiX(const QWidget *widget = nullptr);
    static qreal dpiY(const QWidget *widget = nullptr);

    /** @brief A horizontal length in twips as pixels, rounded to the nearest pixel. */
    static int toPixelsX(int twips, const QWidget *widget = nullptr);
    /** @brief A vertical length in twips as pixels, rounded to the nearest pixel. */
    static int toPixelsY(int twips, const QWidget *widget = nullptr);
    /** @brief A horizontal length in pixels as twips, rounded to the nearest twip. */
    static int fromPixelsX(int pixels, const QWidget *widget = nullptr);
    /** @brief A vertical length in pixels as twips, rounded to the nearest twip. */
    static int fromPixelsY(int pixels, const QWidget *widget = nullptr);

    static QPoint toPixels(const QPoint &twips, const QWidget *widget = nullptr);
    static QSize toPixels(const QSize &twips, const QWidget *widget = nullptr);
    static QRect toPixels(const QRect &twips, const QWidget *widget = nullptr);
    static QSize fromPixels(const QSize &pixels, const QWidget *widget = nullptr);
};

} // namespace zav::platform
