#include "controls/clogo.h"

#include <QFontMetrics>
#include <QGuiApplication>
#include <QImage>

#include <gtest/gtest.h>

using namespace zav::controls;

namespace {

ColorValue at(const QImage &image, int x, int y)
{
    return colorValue(QColor(image.pixel(x, y)));
}

/** Puts the application palette back as it was. */
class PaletteScope
{
public:
    PaletteScope()
        : m_saved(QGuiApplication::palette())
    {
    }
    ~PaletteScope() { QGuiApplication::setPalette(m_saved); }

    static void setButtonFace(const QColor &color)
    {
        QPalette palette = QGuiApplication::palette();
        palette.setColor(QPalette::Button, color);
        QGuiApplication::setPalette(palette);
    }

private:
    QPalette m_saved;
};

} // namespace

// From black at the bottom towards red 255, blue 200 at the top. With a picture 100 high the
// bands are one row each: rows 99 and 98 keep the start colour, row 99 - n (band n) has
// (n - 1) x end / 100, halves to even, and row 0 (band 99) stops short of the end colour.
TEST(cLogo, HundredRowsGetOneRowBands)
{
    QImage picture(20, 100, QImage::Format_RGB32);
    picture.fill(Qt::green);
    cLogo logo;
    logo.setStartColor(0);
    logo.setEndColor(rgbValue(255, 0, 200));
    logo.setDrawingObject(&picture);
    logo.Draw();

    const struct
    {
        int row;
        ColorValue color;
    } rows[] = {
        { 99, rgbValue(0, 0, 0) }, { 98, rgbValue(0, 0, 0) },
        { 97, rgbValue(3, 0, 2) }, // band 2: 2.55 to 3, 2
        { 88, rgbValue(26, 0, 20) }, // band 11: 25.5 to 26 (even), 20
        { 68, rgbValue(76, 0, 60) }, // band 31: 76.5 to 76 (even), 60
        { 50, rgbValue(122, 0, 96) }, { 0, rgbValue(250, 0, 196) }, // band 99: 249.9 to 250, 196
    };
    for (const auto &r : rows) {
        EXPECT_EQ(at(picture, 10, r.row), r.color) << "row " << r.row;
        EXPECT_EQ(at(picture, 19, r.row), r.color) << "row " << r.row;
    }
}

TEST(cLogo, SixHundredRowsGetTwoRowBands)
{
    QImage picture(8, 600, QImage::Format_RGB32);
    picture.fill(Qt::green);
    cLogo logo;
    logo.setDrawingObject(&picture);
    logo.setEndColor(rgbValue(255, 0, 200)); // draws at once: a picture is set
    const struct
    {
        int row;
        ColorValue color;
    } rows[] = {
        { 599, rgbValue(0, 0, 0) },
        { 598, rgbValue(0, 0, 0) },
        { 597, rgbValue(0, 0, 0) },
        { 596, rgbValue(0, 0, 0) },
        { 595, rgbValue(1, 0, 1) }, // band 2: 0.85 and 0.67 to 1
        { 594, rgbValue(1, 0, 1) },
        { 1, rgbValue(253, 0, 199) }, // band 299: 596 x d / 600
        { 0, rgbValue(253, 0, 199) },
    };
    for (const auto &r : rows)
        EXPECT_EQ(at(picture, 4, r.row), r.color) << "row " << r.row;
}

TEST(cLogo, SettingAColourRedrawsOnlyWhenItChanges)
{
    QImage picture(10, 50, QImage::Format_RGB32);
    cLogo logo;
    logo.setDrawingObject(&picture);
    picture.fill(Qt::white);
    logo.setStartColor(0); // already 0: nothing happens
    EXPECT_EQ(at(picture, 5, 49), 0xFFFFFFu);
    logo.setStartColor(rgbValue(0, 0, 255));
    EXPECT_EQ(at(picture, 5, 49), rgbValue(0, 0, 255));
    picture.fill(Qt::white);
    logo.setStartColor(rgbValue(0, 0, 255));
    EXPECT_EQ(at(picture, 5, 49), 0xFFFFFFu);

    // Without a picture, setting a colour draws nothing and Draw does nothing.
    cLogo alone;
    alone.setStartColor(rgbValue(1, 2, 3));
    alone.Draw();
    EXPECT_EQ(alone.startColor(), rgbValue(1, 2, 3));
}

TEST(cLogo, SystemColourIsTakenWhenSet)
{
    PaletteScope scope;
    PaletteScope::setButtonFace(QColor(200, 200, 200));
    cLogo logo; // the end colour is the button face at creation: 200
    EXPECT_EQ(logo.endColor(), 0x8000000Fu);
    PaletteScope::setButtonFace(QColor(100, 100, 100));
    logo.setStartColor(0x8000000F); // the start colour takes the button face now: 100

    QImage picture(10, 100, QImage::Format_RGB32);
    logo.setDrawingObject(&picture);
    logo.Draw();
    EXPECT_EQ(at(picture, 5, 99), rgbValue(100, 100, 100));
    EXPECT_EQ(at(picture, 5, 0), rgbValue(198, 198, 198)); // 100 + 98 x 100 / 100
}

TEST(cLogo, EmptyPictureIsLeftAlone)
{
    QImage picture(10, 0, QImage::Format_RGB32);
    cLogo logo;
    logo.setCaption(QStringLiteral("Zav"));
    logo.setDrawingObject(&picture);
    logo.Draw();
    EXPECT_TRUE(picture.isNull());
}

TEST(cLogo, CaptionRunsUpwardsFromSixteenRowsAboveTheBottom)
{
    QImage picture(60, 300, QImage::Format_RGB32);
    cLogo logo;
    logo.setEndColor(0); // all black
    logo.setCaption(QStringLiteral("MMMMMM"));
    QFont font(QStringLiteral("Arial"), 12);
    logo.setDrawingObject(&picture, font, Qt::white);
    logo.Draw();

    QRect ink;
    for (int y = 0; y < picture.height(); ++y)
        for (int x = 0; x < picture.width(); ++x)
            if (at(picture, x, y) != 0)
                ink |= QRect(x, y, 1, 1);
    ASSERT_FALSE(ink.isEmpty());
    // Turned a quarter: taller than wide, from the left edge, ending at row 300 - 16.
    EXPECT_GT(ink.height(), 2 * ink.width());
    EXPECT_LE(ink.bottom(), 300 - 16);
    EXPECT_GE(ink.bottom(), 300 - 16 - 3);
    EXPECT_LE(ink.right(), QFontMetrics(font).height() + 2);
    EXPECT_GE(ink.left(), 0);
}
