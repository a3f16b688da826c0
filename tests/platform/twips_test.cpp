#include "platform/ui/twips.h"

#include <QWidget>

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

TEST(Twips, ConversionsRoundToTheNearestUnit)
{
    QWidget widget;
    const qreal dpi = Twips::dpiX(&widget);
    // Half a pixel's worth either side of a whole pixel.
    const int perPixel = qRound(1440 / dpi);
    for (const int twips : { 1, 2000, 2310, 989, 11775, -225 })
        EXPECT_EQ(Twips::toPixelsX(twips, &widget), qRound(twips * dpi / 1440.0)) << twips;
    EXPECT_LE(std::abs(Twips::fromPixelsX(Twips::toPixelsX(12000, &widget), &widget) - 12000), perPixel);
    const QRect rect = Twips::toPixels(QRect(60, 1470, 11775, 6700), &widget);
    EXPECT_EQ(rect.topLeft(), QPoint(Twips::toPixelsX(60, &widget), Twips::toPixelsY(1470, &widget)));
    EXPECT_EQ(rect.size(), QSize(Twips::toPixelsX(11775, &widget), Twips::toPixelsY(6700, &widget)));
}
