#include "controls/xpbuttonface.h"

#include <QFontMetrics>
#include <QPainter>

#include <gtest/gtest.h>

#include <vector>

using namespace zav::controls;

namespace {

ColorValue at(const QImage &image, int x, int y)
{
    return colorValue(QColor(image.pixel(x, y)));
}

// The fixed greys of colour scheme 3 and the shifts of them the looks use.
constexpr ColorValue FACE = 0xC0C0C0;
constexpr ColorValue SHADOW = 0x808080;
constexpr ColorValue LIGHT = 0xDFDFDF;
constexpr ColorValue HILITE = 0xFFFFFF;
constexpr ColorValue DKSHADOW = 0x000000;
constexpr ColorValue FACE_P12 = 0xCCCCCC; // 192 + 12
constexpr ColorValue SHADOW_M16 = 0x707070; // 128 - 16
constexpr ColorValue SHADOW_P16 = 0x909090; // 128 + 16
constexpr ColorValue SHADOW_M26 = 0x666666; // 128 - 26
constexpr ColorValue SHADOW_P26 = 0x9A9A9A; // 128 + 26
constexpr ColorValue SHADOW_M32 = 0x606060; // 128 - 32
constexpr ColorValue SHADOW_M64 = 0x404040; // 128 - 64
constexpr ColorValue LIGHT_P8 = 0xE7E7E7; // 223 + 8

XPButtonFace greyFace(qint32 type)
{
    XPButtonFace face;
    face.buttonType = type;
    face.colors = SetColors(3, 0, 0, QPalette());
    return face;
}

QImage render(const XPButtonFace &face, int stateCode, int W = 40, int H = 20)
{
    QImage image(W, H, QImage::Format_RGB32);
    image.fill(Qt::magenta);
    face.paint(image, stateCode);
    return image;
}

struct Pixel
{
    int x;
    int y;
    ColorValue color;
};

struct LookCase
{
    const char *name;
    qint32 type;
    int stateCode;
    bool enabled;
    bool defaultIndication;
    std::vector<Pixel> pixels;
};

} // namespace

TEST(ShiftColor, MovesEachChannelAndClampsIt)
{
    struct Case
    {
        ColorValue color;
        qint32 delta;
        ColorValue expected;
    };
    const Case cases[] = {
        { rgbValue(212, 208, 200), -64, rgbValue(148, 144, 136) },
        { rgbValue(212, 208, 200), 47, rgbValue(255, 255, 247) },
        { rgbValue(0, 0, 0), 31, rgbValue(31, 31, 31) },
        { rgbValue(255, 255, 255), -300, rgbValue(0, 0, 0) },
        { rgbValue(10, 200, 100), 0, rgbValue(10, 200, 100) },
        // A system-colour code is taken apart as a signed number: green and blue come out negative.
        { 0x8000000Fu, 10, rgbValue(25, 0, 0) },
    };
    for (const Case &c : cases)
        EXPECT_EQ(ShiftColor(c.color, c.delta), c.expected)
            << std::hex << c.color << " by " << std::dec << c.delta;
}

TEST(SetColors, SchemeTwoDerivesFromBackAndForeColours)
{
    const ButtonColors black = SetColors(2, 0, rgbValue(1, 2, 3), QPalette());
    EXPECT_EQ(black.FACE, 0u);
    EXPECT_EQ(black.SHADOW, 0u);
    EXPECT_EQ(black.DKSHADOW, 0u);
    EXPECT_EQ(black.LIGHT, rgbValue(31, 31, 31));
    EXPECT_EQ(black.HILITE, rgbValue(47, 47, 47));
    EXPECT_EQ(black.TEXT, rgbValue(1, 2, 3));

    const ButtonColors grey = SetColors(2, rgbValue(212, 208, 200), 0, QPalette());
    EXPECT_EQ(grey.FACE, rgbValue(212, 208, 200));
    EXPECT_EQ(grey.SHADOW, rgbValue(148, 144, 136));
    EXPECT_EQ(grey.LIGHT, rgbValue(243, 239, 231));
    EXPECT_EQ(grey.HILITE, rgbValue(255, 255, 247));
    EXPECT_EQ(grey.DKSHADOW, rgbValue(20, 16, 8));
}

TEST(SetColors, SchemeThreeIsFixedAndOtherSchemesFollowThePalette)
{
    const ButtonColors fixed = SetColors(3, rgbValue(1, 1, 1), rgbValue(2, 2, 2), QPalette());
    EXPECT_EQ(fixed.FACE, FACE);
    EXPECT_EQ(fixed.SHADOW, SHADOW);
    EXPECT_EQ(fixed.LIGHT, LIGHT);
    EXPECT_EQ(fixed.HILITE, HILITE);
    EXPECT_EQ(fixed.DKSHADOW, DKSHADOW);
    EXPECT_EQ(fixed.TEXT, 0u);

    QPalette palette;
    palette.setColor(QPalette::Button, QColor(10, 11, 12));
    palette.setColor(QPalette::Dark, QColor(20, 21, 22));
    palette.setColor(QPalette::Midlight, QColor(30, 31, 32));
    palette.setColor(QPalette::Light, QColor(40, 41, 42));
    palette.setColor(QPalette::Shadow, QColor(50, 51, 52));
    palette.setColor(QPalette::ButtonText, QColor(60, 61, 62));
    for (qint32 scheme : { 1, 0, 4, -1 }) {
        const ButtonColors c = SetColors(scheme, rgbValue(1, 1, 1), rgbValue(2, 2, 2), palette);
        EXPECT_EQ(c.FACE, rgbValue(10, 11, 12)) << scheme;
        EXPECT_EQ(c.SHADOW, rgbValue(20, 21, 22)) << scheme;
        EXPECT_EQ(c.LIGHT, rgbValue(30, 31, 32)) << scheme;
        EXPECT_EQ(c.HILITE, rgbValue(40, 41, 42)) << scheme;
        EXPECT_EQ(c.DKSHADOW, rgbValue(50, 51, 52)) << scheme;
        EXPECT_EQ(c.TEXT, rgbValue(60, 61, 62)) << scheme;
    }
}

TEST(MakeRegion, CutsTheCornerPixelsOfEachLook)
{
    const int W = 40, H = 20;
    const QList<QPoint> threeAtEachCorner = { { 0, 0 }, { 1, 0 }, { 0, 1 }, { 38, 0 }, { 39, 0 }, { 39, 1 },
        { 0, 19 }, { 1, 19 }, { 0, 18 }, { 38, 19 }, { 39, 19 }, { 39, 18 } };
    const struct
    {
        qint32 type;
        QList<QPoint> removed;
    } cases[] = {
        { 1, { { 0, 0 }, { 39, 0 }, { 0, 19 }, { 39, 19 } } },
        { 2, {} },
        { 3, threeAtEachCorner },
        { 4, threeAtEachCorner },
        { 5, { { 0, 19 }, { 39, 0 } } },
        { 6, {} },
        { 7, {} },
        { 0, {} },
        { 8, {} },
    };
    for (const auto &c : cases) {
        const QRegion region = MakeRegion(c.type, W, H);
        for (int y = 0; y < H; ++y) {
            for (int x = 0; x < W; ++x)
                EXPECT_EQ(region.contains(QPoint(x, y)), !c.removed.contains(QPoint(x, y)))
                    << "type " << c.type << " pixel " << x << "," << y;
        }
        EXPECT_FALSE(region.contains(QPoint(W, 0))) << c.type;
        EXPECT_FALSE(region.contains(QPoint(0, H))) << c.type;
    }
}

// The looks in the fixed greys of scheme 3, 40 x 20, without a caption, pixel by pixel as the
// recipes lay them down (later steps overwrite earlier ones).
TEST(XPButtonFace, LooksPaintTheirRecipes)
{
    const std::vector<LookCase> cases = {
        { "normal 1", 1, 0, true, false,
            { { 0, 0, FACE }, { 5, 0, DKSHADOW }, { 0, 5, DKSHADOW }, { 39, 5, DKSHADOW },
                { 5, 19, DKSHADOW }, { 1, 1, HILITE }, { 2, 2, HILITE }, { 2, 16, HILITE }, { 38, 1, SHADOW },
                { 37, 2, SHADOW }, { 1, 18, SHADOW }, { 2, 17, SHADOW }, { 3, 3, FACE } } },
        { "pressed 1", 1, 2, true, false,
            { { 0, 0, FACE }, { 5, 0, DKSHADOW }, { 1, 1, SHADOW }, { 2, 2, SHADOW }, { 38, 1, HILITE },
                { 1, 18, HILITE } } },
        { "normal 2", 2, 0, true, false,
            { { 0, 0, HILITE }, { 38, 0, HILITE }, { 0, 18, HILITE }, { 1, 1, LIGHT }, { 5, 1, LIGHT },
                { 1, 5, LIGHT }, { 39, 0, DKSHADOW }, { 39, 19, DKSHADOW }, { 0, 19, DKSHADOW },
                { 38, 5, SHADOW }, { 5, 18, SHADOW }, { 38, 18, SHADOW }, { 5, 5, FACE } } },
        { "normal 2 as default button", 2, 0, true, true,
            { { 0, 0, DKSHADOW }, { 39, 19, DKSHADOW }, { 1, 1, HILITE }, { 2, 2, LIGHT },
                { 38, 5, DKSHADOW }, { 37, 5, SHADOW }, { 5, 18, DKSHADOW }, { 5, 17, SHADOW },
                { 5, 5, FACE } } },
        { "pressed 2", 2, 2, true, false,
            { { 0, 0, DKSHADOW }, { 39, 19, DKSHADOW }, { 1, 1, SHADOW }, { 38, 18, SHADOW },
                { 5, 5, FACE } } },
        { "normal 4", 4, 0, true, false,
            { { 0, 0, FACE }, { 1, 0, FACE }, { 10, 0, DKSHADOW }, { 0, 10, DKSHADOW }, { 1, 1, DKSHADOW },
                { 1, 2, FACE }, { 2, 1, FACE }, { 2, 2, HILITE }, { 3, 3, HILITE }, { 10, 2, HILITE },
                { 2, 10, HILITE }, { 10, 10, LIGHT }, { 37, 10, FACE }, { 10, 17, FACE }, { 36, 16, FACE },
                { 38, 10, SHADOW }, { 10, 18, SHADOW }, { 37, 17, SHADOW }, { 2, 17, LIGHT }, { 2, 18, FACE },
                { 38, 2, FACE }, { 37, 2, LIGHT } } },
        { "pressed 4", 4, 2, true, false,
            { { 5, 5, SHADOW_M16 }, { 1, 5, SHADOW_M64 }, { 2, 5, SHADOW_M32 }, { 2, 2, SHADOW_M64 },
                { 3, 3, SHADOW_M32 }, { 5, 1, SHADOW_M64 }, { 1, 1, DKSHADOW }, { 10, 0, DKSHADOW },
                { 37, 5, SHADOW }, { 5, 17, SHADOW }, { 36, 16, SHADOW }, { 38, 10, SHADOW_M16 },
                { 10, 18, SHADOW_M16 }, { 38, 17, SHADOW_M32 }, { 2, 17, SHADOW_M16 },
                { 37, 1, SHADOW_M16 } } },
        { "normal 5", 5, 0, true, false,
            { { 0, 0, SHADOW_M26 }, { 38, 0, SHADOW_M26 }, { 39, 0, FACE }, { 39, 5, HILITE },
                { 0, 5, SHADOW_M26 }, { 1, 1, HILITE }, { 5, 1, HILITE }, { 5, 5, FACE_P12 },
                { 38, 5, SHADOW_M26 }, { 5, 18, SHADOW_M26 }, { 1, 18, SHADOW_P26 }, { 38, 1, SHADOW_P26 },
                { 5, 19, HILITE }, { 39, 19, HILITE }, { 0, 19, FACE } } },
        { "pressed 5", 5, 2, true, false,
            { { 5, 5, SHADOW_P16 }, { 0, 0, SHADOW_M26 }, { 1, 18, SHADOW_M26 }, { 39, 5, HILITE },
                { 5, 19, HILITE }, { 39, 19, HILITE }, { 39, 0, FACE }, { 0, 19, FACE } } },
        { "normal 6", 6, 0, true, false,
            { { 0, 0, LIGHT_P8 }, { 5, 0, LIGHT_P8 }, { 1, 1, LIGHT_P8 }, { 0, 18, LIGHT_P8 },
                { 39, 0, SHADOW }, { 38, 1, SHADOW }, { 0, 19, SHADOW }, { 1, 18, SHADOW },
                { 5, 5, FACE } } },
        { "pressed 6", 6, 2, true, false,
            { { 0, 0, SHADOW }, { 1, 1, SHADOW }, { 39, 0, LIGHT_P8 }, { 38, 1, LIGHT_P8 },
                { 0, 19, LIGHT_P8 }, { 1, 18, LIGHT_P8 }, { 5, 5, FACE } } },
        { "normal 7", 7, 0, true, false,
            { { 0, 0, HILITE }, { 38, 0, HILITE }, { 39, 0, SHADOW }, { 0, 19, SHADOW }, { 39, 19, SHADOW },
                { 1, 1, FACE } } },
        { "pressed 7", 7, 2, true, false,
            { { 0, 0, SHADOW }, { 39, 0, HILITE }, { 0, 19, HILITE }, { 39, 19, HILITE }, { 1, 1, FACE } } },
        { "disabled 1", 1, 0, false, false,
            { { 0, 0, FACE }, { 5, 0, DKSHADOW }, { 1, 1, HILITE }, { 38, 1, SHADOW } } },
        { "disabled 2 pressed", 2, 2, false, true,
            { { 0, 0, HILITE }, { 1, 1, LIGHT }, { 39, 19, DKSHADOW } } },
        { "disabled 4", 4, 0, false, false, { { 10, 10, LIGHT }, { 2, 2, HILITE }, { 38, 10, SHADOW } } },
        { "disabled 5", 5, 2, false, false,
            { { 0, 0, SHADOW }, { 39, 19, SHADOW }, { 1, 1, FACE }, { 5, 5, FACE } } },
        { "disabled 6", 6, 0, false, false, { { 0, 0, LIGHT_P8 }, { 39, 0, SHADOW }, { 5, 5, FACE } } },
        { "disabled 7", 7, 2, false, false,
            { { 0, 0, HILITE }, { 39, 0, SHADOW }, { 0, 19, SHADOW }, { 1, 1, FACE } } },
    };
    for (const LookCase &c : cases) {
        XPButtonFace face = greyFace(c.type);
        face.enabled = c.enabled;
        face.defaultIndication = c.defaultIndication;
        const QImage image = render(face, c.stateCode);
        for (const Pixel &p : c.pixels)
            EXPECT_EQ(at(image, p.x, p.y), p.color) << c.name << " at " << p.x << "," << p.y;
    }
}

TEST(XPButtonFace, TypeOutsideTheLooksIsAPlainFaceWithoutCaption)
{
    for (qint32 type : { 0, 8, -1 }) {
        for (int state : { 0, 2 }) {
            XPButtonFace face = greyFace(type);
            face.caption = QStringLiteral("Prova");
            face.focusShown = true;
            const QImage image = render(face, state);
            for (int y = 0; y < image.height(); ++y) {
                for (int x = 0; x < image.width(); ++x)
                    ASSERT_EQ(at(image, x, y), FACE) << type << " " << state << " at " << x << "," << y;
            }
        }
    }
}

// Type 3 at height 24: the gradient rows come from the single-precision factors 75 / H and 50 / H
// (85 / H and 60 / H pressed, 60 / H and 40 / H disabled), with halves going to the even neighbour.
TEST(XPButtonFace, TypeThreeGradientAndBorder)
{
    XPButtonFace face;
    face.buttonType = 3;
    face.colors = SetColors(3, 0, 0, QPalette());
    face.caption = QStringLiteral("Crea");
    const int W = 60, H = 24;

    const QImage normal = render(face, 0, W, H);
    const Pixel normalPixels[] = {
        { 3, 20, rgbValue(193, 193, 213) }, // 3.125 x 20 = 62.5 goes to 62; 2.0833333 x 20 = 41.67 to 42
        // 50 / 24 in single precision is 2.08333325386; times 18 that is 37.4999985695, which goes
        // to 37 (the product is not rounded again to single precision, where it would be 37.5).
        { 3, 18, rgbValue(199, 199, 218) },
        { 3, 5, rgbValue(239, 239, 245) }, // 15.625 to 16; 10.42 to 10
        { 3, 3, rgbValue(246, 246, 249) }, // 9.375 to 9; 6.25 to 6
        { 2, 10, rgbValue(224, 224, 234) }, // no focus: no white line
        { 2, 0, 0x733C00 },
        { 0, 10, 0x733C00 },
        { 59, 10, 0x733C00 },
        { 10, 23, 0x733C00 },
        { 1, 1, 0x7B4D10 },
        { 58, 22, 0x7B4D10 },
        { 1, 10, 0xE7AE8C },
        { 58, 10, 0xE7AE8C },
        { 10, 21, 0xE7AE8C },
        { 10, 22, 0xEF826B },
        { 10, 1, 0xFFE7CE },
        { 10, 2, 0xF7D7BD },
        { 1, 2, 0xF7D7BD },
    };
    for (const Pixel &p : normalPixels)
        EXPECT_EQ(at(normal, p.x, p.y), p.color) << "normal at " << p.x << "," << p.y;

    face.focusShown = true;
    const QImage focused = render(face, 0, W, H);
    for (const Pixel &p : { Pixel { 2, 3, HILITE }, Pixel { 2, 10, HILITE }, Pixel { 2, 20, HILITE },
             Pixel { 57, 10, HILITE }, Pixel { 2, 21, 0xE7AE8C }, Pixel { 3, 10, rgbValue(224, 224, 234) } })
        EXPECT_EQ(at(focused, p.x, p.y), p.color) << "focused at " << p.x << "," << p.y;

    // Pressed looks the same with or without the focus.
    for (bool focus : { false, true }) {
        face.focusShown = focus;
        const QImage pressed = render(face, 2, W, H);
        const Pixel pressedPixels[] = {
            { 3, 20, rgbValue(184, 184, 205) }, // 3.5416667 x 20 = 70.83 to 71; 2.5 x 20 = 50
            // 85 / 24 in single precision is 3.54166674614; times 12 that is 42.5000009537, which
            // goes to 43, not to the even 42; 2.5 x 12 = 30.
            { 3, 12, rgbValue(212, 212, 225) },
            { 3, 5, rgbValue(237, 237, 243) }, // 17.71 to 18; 12.5 to 12
            { 3, 3, rgbValue(244, 244, 247) }, // 10.625 to 11; 7.5 to 8
            { 10, 1, 0x000000 },
            { 10, 2, 0xE0E0E0 },
            { 2, 10, 0xE0E0E0 },
            { 57, 10, 0xFFFFFF },
            { 1, 10, 0xFF8080 },
            { 10, 22, 0x404040 },
            { 2, 0, 0x733C00 },
            { 1, 1, 0x7B4D10 },
        };
        for (const Pixel &p : pressedPixels)
            EXPECT_EQ(at(pressed, p.x, p.y), p.color)
                << "pressed at " << p.x << "," << p.y << " focus " << focus;
    }

    // Disabled: its own gradient and frame in every state, never the white focus lines.
    face.enabled = false;
    face.focusShown = true;
    for (int state : { 0, 2 }) {
        const QImage disabled = render(face, state, W, H);
        const Pixel disabledPixels[] = {
            { 3, 5, rgbValue(243, 243, 247) }, // 2.5 x 5 = 12.5 to 12; 1.67 x 5 = 8.33 to 8
            { 3, 20, rgbValue(205, 205, 222) }, // 50; 33.3 to 33
            { 2, 10, rgbValue(230, 230, 238) }, // 25; 16.7 to 17
            { 1, 10, 0xFDBA99 },
            { 10, 22, 0xFE8A71 },
            { 10, 1, 0xFFEAD0 },
            { 10, 2, 0xFAD9BF },
            { 2, 0, 0x733C00 },
        };
        for (const Pixel &p : disabledPixels)
            EXPECT_EQ(at(disabled, p.x, p.y), p.color)
                << "disabled at " << p.x << "," << p.y << " state " << state;
    }
}

TEST(XPButtonFace, FocusMarkIsADottedRectangleOnlyWhenShown)
{
    // The mark sits on the outline of (4, 4, W - 4, H - 4): columns 4 and 35, rows 4 and 15.
    auto onOutline = [](int x, int y) {
        const bool column = (x == 4 || x == 35) && y >= 4 && y <= 15;
        const bool row = (y == 4 || y == 15) && x >= 4 && x <= 35;
        return column || row;
    };
    for (qint32 type : { 1, 2, 6, 7 }) {
        XPButtonFace face = greyFace(type);
        face.defaultIndication = true; // type 2 shows its mark only as the default button
        const QImage plain = render(face, 0);
        face.focusShown = true;
        const QImage marked = render(face, 0);
        for (int y = 0; y < plain.height(); ++y) {
            for (int x = 0; x < plain.width(); ++x) {
                if (at(plain, x, y) == at(marked, x, y))
                    continue;
                EXPECT_TRUE(onOutline(x, y)) << "type " << type << " changed " << x << "," << y;
                // The mark inverts the pixels it falls on.
                EXPECT_EQ(at(marked, x, y), at(plain, x, y) ^ 0xFFFFFFu) << type;
            }
        }
        // Dotted: along the top edge every other pixel is inverted.
        for (int x = 4; x < 35; ++x) {
            const bool changed = at(plain, x, 4) != at(marked, x, 4);
            const bool nextChanged = at(plain, x + 1, 4) != at(marked, x + 1, 4);
            EXPECT_NE(changed, nextChanged) << "type " << type << " at " << x;
        }
    }
    // Type 2 without the default-button indication shows no mark, even with the focus.
    XPButtonFace face = greyFace(2);
    const QImage plain = render(face, 0);
    face.focusShown = true;
    EXPECT_EQ(render(face, 0), plain);
    // Disabled looks never show it.
    face = greyFace(1);
    face.enabled = false;
    const QImage disabled = render(face, 0);
    face.focusShown = true;
    EXPECT_EQ(render(face, 0), disabled);
}

TEST(XPButtonFace, TypeFiveFramesTheCaptionForTheFocus)
{
    XPButtonFace face = greyFace(5);
    face.font = QFont(QStringLiteral("Arial"), 8);
    QFont bold = face.font;
    bold.setBold(true);
    const int TH = QFontMetrics(bold).height();
    // An empty caption is 0 wide: the box is 6 wide, centred as (40 - 0) \ 2 - 3 = 17.
    const int x = 17;
    const int y = (20 - TH) / 2 - 1;
    const ColorValue box = rgbValue(0x99, 0x99, 0xCC);
    for (int state : { 0, 2 }) {
        face.focusShown = false;
        const QImage plain = render(face, state);
        EXPECT_NE(at(plain, x, y), box);
        face.focusShown = true;
        const QImage focused = render(face, state);
        EXPECT_EQ(at(focused, x, y), box) << state;
        EXPECT_EQ(at(focused, x + 5, y), box) << state;
        EXPECT_EQ(at(focused, x, y + TH + 1), box) << state;
        EXPECT_EQ(at(focused, x + 5, y + TH + 1), box) << state;
        EXPECT_EQ(at(focused, x + 6, y), at(plain, x + 6, y)) << state;
        EXPECT_EQ(at(focused, x + 2, y + 1), at(plain, x + 2, y + 1)) << state;
    }
}

namespace {

// The box around the pixels that differ from the face colour inside the border.
QRect inkBox(const QImage &image, ColorValue background, int border)
{
    QRect box;
    for (int y = border; y < image.height() - border; ++y) {
        for (int x = border; x < image.width() - border; ++x) {
            if (at(image, x, y) != background)
                box |= QRect(x, y, 1, 1);
        }
    }
    return box;
}

} // namespace

TEST(XPButtonFace, PressedCaptionSitsOnePixelRightAndDown)
{
    for (qint32 type : { 1, 2, 6, 7 }) {
        XPButtonFace face = greyFace(type);
        face.caption = QStringLiteral("Hg");
        const QRect normal = inkBox(render(face, 0, 60, 30), FACE, 4);
        const QRect pressed = inkBox(render(face, 2, 60, 30), FACE, 4);
        ASSERT_FALSE(normal.isEmpty()) << type;
        EXPECT_EQ(pressed, normal.translated(1, 1)) << type;
    }
    // Type 5 keeps its caption in place when pressed.
    XPButtonFace face = greyFace(5);
    face.caption = QStringLiteral("Hg");
    face.colors.TEXT = 0x0000FF;
    auto textBox = [](const QImage &image) {
        QRect box;
        for (int y = 0; y < image.height(); ++y)
            for (int x = 0; x < image.width(); ++x)
                if (at(image, x, y) == 0x0000FF)
                    box |= QRect(x, y, 1, 1);
        return box;
    };
    const QRect normal = textBox(render(face, 0, 60, 30));
    ASSERT_FALSE(normal.isEmpty());
    EXPECT_EQ(textBox(render(face, 2, 60, 30)), normal);
}

TEST(XPButtonFace, AmpersandsShowAsTheyDoInMenus)
{
    // "A&&B" shows "A&B", just as the plain text "A&B" would with no prefix processing.
    XPButtonFace face = greyFace(7);
    face.caption = QStringLiteral("A&&B");
    const QImage doubled = render(face, 0, 80, 24);
    QImage plain(80, 24, QImage::Format_RGB32);
    plain.fill(toQColor(FACE));
    {
        QPainter painter(&plain);
        painter.setPen(Qt::black);
        painter.setFont(face.font);
        painter.drawText(QRect(0, 0, 80, 24), Qt::AlignCenter | Qt::TextSingleLine, QStringLiteral("A&B"));
    }
    EXPECT_EQ(inkBox(doubled, FACE, 2), inkBox(plain, FACE, 2));
}
