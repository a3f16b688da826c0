#include "platform/ui/twips.h"

#include <QGuiApplication>
#include <QScreen>
#include <QWidget>

#include <cmath>

namespace zav::platform {

namespace {

constexpr qreal kNoScreenDpi = 96.0;

const QScreen *screenOf(const QWidget *widget)
{
    if (widget) {
        if (const QScreen *screen = widget->screen())
            return screen;
    }
    return QGuiApplication::primaryScreen();
}

int scaled(int value, qreal numerator, qreal denominator)
{
    return int(std::lround(qreal(value) * numerator / denominator));
}

} // namespace

qreal Twips::dpiX(const QWidget *widget)
{
    const QScreen *screen = screenOf(widget);
    return screen ? screen->logicalDotsPerInchX() : kNoScreenDpi;
}

qreal Twips::dpiY(const QWidget *widget)
{
    const QScreen *screen = screenOf(widget);
    return screen ? screen->logicalDotsPerInchY() : kNoScreenDpi;
}

int Twips::toPixelsX(int twips, const QWidget *widget)
{
    return scaled(twips, dpiX(widget), PerInch);
}

int Twips::toPixelsY(int twips, const QWidget *widget)
{
    return scaled(twips, dpiY(widget), PerInch);
}

int Twips::fromPixelsX(int pixels, const QWidget *widget)
{
    return scaled(pixels, PerInch, dpiX(widget));
}

int Twips::fromPixelsY(int pixels, const QWidget *widget)
{
    return scaled(pixels, PerInch, dpiY(widget));
}

QPoint Twips::toPixels(const QPoint &twips, const QWidget *widget)
{
    return { toPixelsX(twips.x(), widget), toPixelsY(twips.y(), widget) };
}

QSize Twips::toPixels(const QSize &twips, const QWidget *widget)
{
    return { toPixelsX(twips.width(), widget), toPixelsY(twips.height(), widget) };
}

QRect Twips::toPixels(const QRect &twips, const QWidget *widget)
{
    return { toPixels(twips.topLeft(), widget), toPixels(twips.size(), widget) };
}

QSize Twips::fromPixels(const QSize &pixels, const QWidget *widget)
{
    return { fromPixelsX(pixels.width(), widget), fromPixelsY(pixels.height(), widget) };
}

} // namespace zav::platform
