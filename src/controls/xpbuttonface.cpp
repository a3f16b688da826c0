#include "controls/xpbuttonface.h"

#include <QFontMetrics>
#include <QPainter>

#include <algorithm>
#include <cmath>

namespace zav::controls {

ColorValue ShiftColor(ColorValue color, qint32 delta)
{
    // The channels are taken from the signed value with truncating division and a remainder that
    // keeps the sign of the dividend, so that a value with the top bit set gives negative (and
    // then clamped) green and blue, exactly as the button's arithmetic always has.
    const qint32 c = static_cast<qint32>(color);
    const int red = std::clamp((c & 0xFF) + delta, 0, 255);
    const int green = std::clamp(((c / 0x100) % 0x100) + delta, 0, 255);
    const int blue = std::clamp(((c / 0x10000) % 0x100) + delta, 0, 255);
    return rgbValue(red, green, blue);
}

ButtonColors SetColors(
    qint32 colorScheme, ColorValue backColor, ColorValue foreColor, const QPalette &palette)
{
    ButtonColors c;
    switch (colorScheme) {
    case 2:
        c.FACE = backColor;
        c.SHADOW = ShiftColor(c.FACE, -64);
        c.LIGHT = ShiftColor(c.FACE, 31);
        c.HILITE = ShiftColor(c.FACE, 47);
        c.DKSHADOW = ShiftColor(c.FACE, -192);
        c.TEXT = foreColor;
        break;
    case 3:
        c.FACE = 0xC0C0C0;
        c.SHADOW = 0x808080;
        c.LIGHT = 0xDFDFDF;
        c.HILITE = 0xFFFFFF;
        c.DKSHADOW = 0x000000;
        c.TEXT = 0x000000;
        break;
    default:
        c.FACE = sysColor(COLOR_BTNFACE, palette);
        c.SHADOW = sysColor(COLOR_BTNSHADOW, palette);
        c.LIGHT = sysColor(COLOR_3DLIGHT, palette);
        c.HILITE = sysColor(COLOR_BTNHIGHLIGHT, palette);
        c.DKSHADOW = sysColor(COLOR_3DDKSHADOW, palette);
        c.TEXT = sysColor(COLOR_BTNTEXT, palette);
        break;
    }
    return c;
}

QRegion MakeRegion(qint32 buttonType, int W, int H)
{
    QRegion region(0, 0, W, H);
    auto cut = [&region](int x, int y, int w, int h) { region -= QRegion(x, y, w, h); };
    switch (buttonType) {
    case 1:
        cut(0, 0, 1, 1);
        cut(W - 1, 0, 1, 1);
        cut(0, H - 1, 1, 1);
        cut(W - 1, H - 1, 1, 1);
        break;
    case 3:
    case 4:
        cut(0, 0, 2, 1);
        cut(0, 1, 1, 1);
        cut(W - 2, 0, 2, 1);
        cut(W - 1, 1, 1, 1);
        cut(0, H - 1, 2, 1);
        cut(0, H - 2, 1, 1);
        cut(W - 2, H - 1, 2, 1);
        cut(W - 1, H - 2, 1, 1);
        break;
    case 5:
        cut(0, H - 1, 1, 1);
        cut(W - 1, 0, 1, 1);
        break;
    default:
        break;
    }
    return region;
}

namespace {

constexpr int CaptionFlags = Qt::AlignCenter | Qt::TextSingleLine | Qt::TextExpandTabs | Qt::TextShowMnemonic;

/**
 * The primitives the recipes are written in. Rectangles are (left, top, right, bottom) with right
 * and bottom exclusive; a line runs from its first point towards its second and leaves the second
 * point unpainted. Everything is painted without antialiasing, so each pixel is exactly its colour.
 */
class FacePainter
{
public:
    FacePainter(QImage &image, const XPButtonFace &face)
        : m_painter(&image)
        , m_face(face)
        , m_colors(face.colors)
        , W(image.width())
        , H(image.height())
    {
        m_painter.setRenderHint(QPainter::Antialiasing, false);
        m_painter.setFont(face.font);
    }

    void draw(int stateCode)
    {
        fill(0, 0, W, H, m_colors.FACE);
        if (m_face.buttonType < 1 || m_face.buttonType > 7)
            return;
        if (!m_face.enabled) {
            disabled();
            return;
        }
        m_text = m_colors.TEXT;
        if (stateCode == 0)
            normal();
        else if (stateCode == 2)
            pressed();
    }

private:
    void fill(int l, int t, int r, int b, ColorValue c)
    {
        if (r > l && b > t)
            m_painter.fillRect(QRect(l, t, r - l, b - t), toQColor(c));
    }

    void frame(int l, int t, int r, int b, ColorValue c)
    {
        if (r <= l || b <= t)
            return;
        fill(l, t, r, t + 1, c);
        fill(l, b - 1, r, b, c);
        fill(l, t, l + 1, b, c);
        fill(r - 1, t, r, b, c);
    }

    // Every line of the looks is horizontal or vertical.
    void line(int x1, int y1, int x2, int y2, ColorValue c)
    {
        if (y1 == y2) {
            if (x1 < x2)
                fill(x1, y1, x2, y1 + 1, c);
            else if (x1 > x2)
                fill(x2 + 1, y1, x1 + 1, y1 + 1, c);
        } else if (x1 == x2) {
            if (y1 < y2)
                fill(x1, y1, x1 + 1, y2, c);
            else
                fill(x1, y2 + 1, x1 + 1, y1 + 1, c);
        }
    }

    void pixel(int x, int y, ColorValue c) { fill(x, y, x + 1, y + 1, c); }

    void caption(int l, int t, int r, int b)
    {
        if (r <= l || b <= t || m_face.caption.isEmpty())
            return;
        m_painter.setPen(toQColor(m_text));
        m_painter.drawText(QRect(l, t, r - l, b - t), CaptionFlags, m_face.caption);
    }

    void captionN() { caption(0, 0, W, H); }
    void captionP() { caption(2, 2, W, H); }

    void embossedCaption()
    {
        m_text = m_colors.HILITE;
        captionP();
        m_text = m_colors.SHADOW;
        captionN();
    }

    // The dotted focus rectangle: every other pixel of the outline of (4, 4, W - 4, H - 4) inverted.
    void focusMark()
    {
        if (!m_face.focusShown)
            return;
        const int l = 4, t = 4, r = W - 4, b = H - 4;
        if (r <= l || b <= t)
            return;
        m_painter.save();
        m_painter.setCompositionMode(QPainter::RasterOp_SourceXorDestination);
        auto dot = [this](int x, int y) {
            if ((x + y) % 2 == 0)
                m_painter.fillRect(QRect(x, y, 1, 1), Qt::white);
        };
        for (int x = l; x < r; ++x) {
            dot(x, t);
            if (b - 1 > t)
                dot(x, b - 1);
        }
        for (int y = t + 1; y < b - 1; ++y) {
            dot(l, y);
            if (r - 1 > l)
                dot(r - 1, y);
        }
        m_painter.restore();
    }

    void setBold(bool bold)
    {
        QFont font = m_painter.font();
        font.setBold(bold);
        m_painter.setFont(font);
    }
    void boldBack() { setBold(m_face.font.bold()); }

    // The frame around the caption that types 5 shows for the focus, measured in the current font.
    void captionBox()
    {
        const QFontMetrics metrics(m_painter.font());
        const int TW = metrics.horizontalAdvance(m_face.caption);
        const int TH = metrics.height();
        const int x = (W - TW) / 2 - 3;
        const int y = (H - TH) / 2 - 1;
        frame(x, y, x + TW + 6, y + TH + 2, 0xCC9999);
    }

    // Horizontal lines from row `from` to row H, darker downwards. The factors are single
    // precision; their product with the row is taken exactly (a double holds it without loss) and
    // then goes to the nearest integer, halves to the even neighbour.
    void gradient(int redGreenSpan, int blueSpan, int from)
    {
        const float k1 = float(redGreenSpan) / float(H);
        const float k2 = float(blueSpan) / float(H);
        for (int i = from; i <= H; ++i) {
            const double p1 = double(k1) * i;
            const double p2 = double(k2) * i;
            const int rg = 255 - int(std::nearbyint(p1));
            const int b = 255 - int(std::nearbyint(p2));
            line(0, i, W, i, rgbValue(rg, rg, b));
        }
    }

    // The dark blue rounded border of type 3.
    void blueBorder()
    {
        line(2, 0, W - 2, 0, 0x733C00);
        line(2, H - 1, W - 2, H - 1, 0x733C00);
        line(0, 2, 0, H - 2, 0x733C00);
        line(W - 1, 2, W - 1, H - 2, 0x733C00);
        pixel(1, 1, 0x7B4D10);
        pixel(1, H - 2, 0x7B4D10);
        pixel(W - 2, 1, 0x7B4D10);
        pixel(W - 2, H - 2, 0x7B4D10);
    }

    void type1Border()
    {
        const ColorValue dk = m_colors.DKSHADOW;
        line(1, 0, W - 1, 0, dk);
        line(1, H - 1, W - 1, H - 1, dk);
        line(0, 1, 0, H - 1, dk);
        line(W - 1, 1, W - 1, H - 1, dk);
    }

    void type1Rim(ColorValue topLeft, ColorValue bottomRight)
    {
        frame(1, 1, W - 1, H - 1, topLeft);
        frame(2, 2, W - 2, H - 2, topLeft);
        line(W - 2, 1, W - 2, H - 1, bottomRight);
        line(W - 3, 2, W - 3, H - 1, bottomRight);
        line(1, H - 2, W - 1, H - 2, bottomRight);
        line(2, H - 3, W - 2, H - 3, bottomRight);
    }

    void type2Plain()
    {
        const ButtonColors &c = m_colors;
        frame(0, 0, W - 1, H - 1, c.HILITE);
        frame(1, 1, W - 1, H - 1, c.LIGHT);
        line(W - 1, 0, W - 1, H, c.DKSHADOW);
        line(W - 2, 1, W - 2, H - 1, c.SHADOW);
        line(0, H - 1, W - 1, H - 1, c.DKSHADOW);
        line(1, H - 2, W - 2, H - 2, c.SHADOW);
    }

    void type4Border()
    {
        const ColorValue dk = m_colors.DKSHADOW;
        line(2, 0, W - 2, 0, dk);
        line(2, H - 1, W - 2, H - 1, dk);
        line(0, 2, 0, H - 2, dk);
        line(W - 1, 2, W - 1, H - 2, dk);
    }

    void type4Corners()
    {
        const ColorValue dk = m_colors.DKSHADOW;
        pixel(1, 1, dk);
        pixel(1, H - 2, dk);
        pixel(W - 2, 1, dk);
        pixel(W - 2, H - 2, dk);
    }

    // Everything of the raised type 4 after its caption.
    void type4Rest()
    {
        const ButtonColors &c = m_colors;
        type4Border();
        type4Corners();
        pixel(1, 2, c.FACE);
        pixel(2, 1, c.FACE);
        line(3, 2, W - 3, 2, c.HILITE);
        line(2, 2, 2, H - 3, c.HILITE);
        pixel(3, 3, c.HILITE);
        line(W - 3, 1, W - 3, H - 3, c.FACE);
        line(1, H - 3, W - 3, H - 3, c.FACE);
        pixel(W - 4, H - 4, c.FACE);
        line(W - 2, 3, W - 2, H - 2, c.SHADOW);
        line(3, H - 2, W - 2, H - 2, c.SHADOW);
        pixel(W - 3, H - 3, c.SHADOW);
        pixel(2, H - 2, c.FACE);
        pixel(2, H - 3, c.LIGHT);
        pixel(W - 2, 2, c.FACE);
        pixel(W - 3, 2, c.LIGHT);
    }

    void type6Frames(ColorValue outer, ColorValue lines)
    {
        frame(0, 0, W, H, outer);
        frame(1, 1, W - 1, H - 1, outer);
        line(W - 1, 0, W - 1, H, lines);
        line(W - 2, 1, W - 2, H - 1, lines);
        line(0, H - 1, W, H - 1, lines);
        line(1, H - 2, W - 1, H - 2, lines);
    }

    void normal()
    {
        const ButtonColors &c = m_colors;
        switch (m_face.buttonType) {
        case 1:
            captionN();
            type1Border();
            type1Rim(c.HILITE, c.SHADOW);
            focusMark();
            break;
        case 2:
            captionN();
            if (m_face.defaultIndication) {
                frame(1, 1, W - 1, H - 1, c.HILITE);
                frame(2, 2, W - 2, H - 2, c.LIGHT);
                line(W - 2, 1, W - 2, H - 1, c.DKSHADOW);
                line(W - 3, 2, W - 3, H - 1, c.SHADOW);
                line(1, H - 2, W - 1, H - 2, c.DKSHADOW);
                line(2, H - 3, W - 2, H - 3, c.SHADOW);
                focusMark();
                frame(0, 0, W, H, c.DKSHADOW);
            } else {
                type2Plain();
            }
            break;
        case 3:
            gradient(75, 50, 1);
            captionN();
            blueBorder();
            frame(1, 2, W - 1, H - 2, 0xE7AE8C);
            line(2, H - 2, W - 2, H - 2, 0xEF826B);
            line(2, 1, W - 2, 1, 0xFFE7CE);
            line(1, 2, W - 1, 2, 0xF7D7BD);
            if (m_face.focusShown) {
                line(2, 3, 2, H - 3, 0xFFFFFF);
                line(W - 3, 3, W - 3, H - 3, 0xFFFFFF);
            }
            break;
        case 4:
            fill(1, 1, W - 1, H - 1, c.LIGHT);
            captionN();
            type4Rest();
            break;
        case 5:
            setBold(true);
            fill(1, 1, W, H, ShiftColor(c.FACE, 12));
            captionN();
            frame(1, 1, W, H, c.HILITE);
            frame(0, 0, W - 1, H - 1, ShiftColor(c.SHADOW, -26));
            pixel(1, H - 2, ShiftColor(c.SHADOW, 26));
            pixel(W - 2, 1, ShiftColor(c.SHADOW, 26));
            if (m_face.focusShown)
                captionBox();
            boldBack();
            break;
        case 6:
            captionN();
            type6Frames(ShiftColor(c.LIGHT, 8), c.SHADOW);
            focusMark();
            break;
        case 7:
            captionN();
            frame(0, 0, W, H, c.HILITE);
            line(W - 1, 0, W - 1, H, c.SHADOW);
            line(0, H - 1, W, H - 1, c.SHADOW);
            focusMark();
            break;
        }
    }

    void pressed()
    {
        const ButtonColors &c = m_colors;
        switch (m_face.buttonType) {
        case 1:
            captionP();
            type1Border();
            type1Rim(c.SHADOW, c.HILITE);
            focusMark();
            break;
        case 2:
            captionP();
            frame(0, 0, W, H, c.DKSHADOW);
            frame(1, 1, W - 1, H - 1, c.SHADOW);
            focusMark();
            break;
        case 3:
            gradient(85, 60, 3);
            captionP();
            blueBorder();
            frame(1, 2, W - 1, H - 2, 0xFF8080);
            line(2, H - 2, W - 2, H - 2, 0x404040);
            line(2, 1, W - 2, 1, 0x000000);
            line(1, 2, W - 1, 2, 0xE0E0E0);
            line(2, 3, 2, H - 3, 0xE0E0E0);
            line(W - 3, 3, W - 3, H - 3, 0xFFFFFF);
            break;
        case 4: {
            const ColorValue dark16 = ShiftColor(c.SHADOW, -16);
            const ColorValue dark32 = ShiftColor(c.SHADOW, -32);
            const ColorValue dark64 = ShiftColor(c.SHADOW, -64);
            fill(1, 1, W - 1, H - 1, dark16);
            m_text = c.LIGHT;
            captionP();
            type4Border();
            frame(1, 1, W - 1, H - 1, dark64);
            frame(2, 2, W - 2, H - 2, dark32);
            pixel(2, 2, dark64);
            pixel(3, 3, dark32);
            type4Corners();
            line(W - 3, 1, W - 3, H - 3, c.SHADOW);
            line(1, H - 3, W - 2, H - 3, c.SHADOW);
            pixel(W - 4, H - 4, c.SHADOW);
            line(W - 2, 3, W - 2, H - 2, dark16);
            line(3, H - 2, W - 2, H - 2, dark16);
            pixel(W - 2, H - 3, dark32);
            pixel(W - 3, H - 2, dark32);
            pixel(2, H - 2, dark32);
            pixel(2, H - 3, dark16);
            pixel(1, H - 3, dark16);
            pixel(W - 2, 2, dark32);
            pixel(W - 3, 2, dark16);
            pixel(W - 3, 1, dark16);
            break;
        }
        case 5:
            setBold(true);
            fill(1, 1, W - 1, H - 1, ShiftColor(c.SHADOW, 16));
            frame(0, 0, W - 1, H - 1, ShiftColor(c.SHADOW, -26));
            line(W - 1, 1, W - 1, H, c.HILITE);
            line(1, H - 1, W - 1, H - 1, c.HILITE);
            captionN(); // the caption of type 5 stays in place when pressed
            if (m_face.focusShown)
                captionBox();
            boldBack();
            break;
        case 6:
            captionP();
            type6Frames(c.SHADOW, ShiftColor(c.LIGHT, 8));
            focusMark();
            break;
        case 7:
            captionP();
            frame(0, 0, W, H, c.SHADOW);
            line(W - 1, 0, W - 1, H, c.HILITE);
            line(0, H - 1, W - 1, H - 1, c.HILITE);
            focusMark();
            break;
        }
    }

    // The disabled looks: embossed or greyed caption, never a focus mark.
    void disabled()
    {
        const ButtonColors &c = m_colors;
        switch (m_face.buttonType) {
        case 1:
            embossedCaption();
            type1Border();
            type1Rim(c.HILITE, c.SHADOW);
            break;
        case 2:
            embossedCaption();
            type2Plain();
            break;
        case 3:
            gradient(60, 40, 1);
            embossedCaption();
            blueBorder();
            frame(1, 2, W - 1, H - 2, 0xFDBA99);
            line(2, H - 2, W - 2, H - 2, 0xFE8A71);
            line(2, 1, W - 2, 1, 0xFFEAD0);
            line(1, 2, W - 1, 2, 0xFAD9BF);
            break;
        case 4:
            fill(1, 1, W - 1, H - 1, c.LIGHT);
            embossedCaption();
            type4Rest();
            break;
        case 5:
            setBold(true);
            m_text = c.SHADOW;
            captionN();
            frame(0, 0, W, H, c.SHADOW);
            boldBack();
            break;
        case 6:
            m_text = c.SHADOW;
            captionN();
            type6Frames(ShiftColor(c.LIGHT, 8), c.SHADOW);
            break;
        case 7:
            embossedCaption();
            frame(0, 0, W, H, c.HILITE);
            line(W - 1, 0, W - 1, H, c.SHADOW);
            line(0, H - 1, W - 1, H - 1, c.SHADOW);
            break;
        }
    }

    QPainter m_painter;
    const XPButtonFace &m_face;
    const ButtonColors &m_colors;
    const int W;
    const int H;
    ColorValue m_text = 0;
};

} // namespace

void XPButtonFace::paint(QImage &face, int stateCode) const
{
    if (face.isNull())
        return;
    FacePainter(face, *this).draw(stateCode);
}

} // namespace zav::controls
