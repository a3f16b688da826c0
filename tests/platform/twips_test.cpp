#include "platform/ui/twips.h"

#include <QWidget>
#include <QtMath>

#include <cstdlib>

#include <gtest/gtest.h>

using zav::platform::Twips;

// 1440 twips to the inch, whatever the screen's dots per inch.
TEST(Twips, AnInchIsTheScreensDotsPerInch)
{
    QWidget widget;
    const qreal dpiX = Twips::dpiX(&widget);
    const qreal dpiY = Twips::dpiY(&widget);
    ASSERT_GT(dpiX, 0);
    ASSERT_GT(dpiY, 0);
    EXPECT_EQ(Twips::toPixelsX(1440, &widget), qRound(dpiX));
    EXPECT_EQ(Twips::toPixelsY(2880, &widget), qRound(2 * dpiY));
    EXPECT_EQ(Twips::fromPixelsX(qRound(dpiX), &widget), qRound(qRound(dpiX) * 1440 / dpiX));
    EXPECT_EQ(Twips::toPixelsX(0, &widget), 0);
    // Without a widget: the primary screen's.
    EXPECT_EQ(Twips::dpiX(), dpiX);
}

TEST(Twips, RectanglesConvertCornerAndSizeAndRoundTripsStayWithinAPixel)
{
    QWidget widget;
    const qreal dpi = Twips::dpiX(&widget);
    // Half an inch is half the dots per inch, rounded.
    EXPECT_EQ(Twips::toPixelsX(720, &widget), qRound(dpi / 2));
    const int twipsPerPixel = qCeil(1440 / dpi);
    EXPECT_LE(std::abs(Twips::fromPixelsX(Twips::toPixelsX(11775, &widget), &widget) - 11775), twipsPerPixel);
    const QRect rect = Twips::toPixels(QRect(60, 1470, 11775, 6700), &widget);
    EXPECT_EQ(rect.topLeft(), QPoint(Twips::toPixelsX(60, &widget), Twips::toPixelsY(1470, &widget)));
    EXPECT_EQ(rect.size(), QSize(Twips::toPixelsX(11775, &widget), Twips::toPixelsY(6700, &widget)));
}
