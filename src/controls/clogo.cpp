#include "controls/clogo.h"

#include <QGuiApplication>
#include <QPaintDevice>
#include <QPainter>

#include <cmath>

namespace zav::controls {

cLogo::cLogo()
{
    setStartColor(0);
    setEndColor(SystemColorFlag | COLOR_BTNFACE);
}

void cLogo::setDrawingObject(QPaintDevice *picture, const QFont &font, const QColor &textColor)
{
    m_DrawingObject = picture;
    m_font = font;
    m_textColor = textColor;
}

cLogo::Channels cLogo::split(ColorValue color)
{
    const ColorValue c = translateColor(color, QGuiApplication::palette());
    return { int(c & 0xFF), int((c & 0xFF00) / 0x100), int((c & 0xFF0000) / 0x10000) };
}

void cLogo::setStartColor(ColorValue color)
{
    if (color == m_StartColor)
        return;
    m_StartColor = color;
    m_start = split(color);
    if (m_DrawingObject)
        Draw();
}

void cLogo::setEndColor(ColorValue color)
{
    if (color == m_EndColor)
        return;
    m_EndColor = color;
    m_end = split(color);
    if (m_DrawingObject)
        Draw();
}

void cLogo::Draw()
{
    if (!m_DrawingObject)
        return;
    const int Hpx = m_DrawingObject->height();
    const int Wpx = m_DrawingObject->width();
    // An empty picture has no bands to share the colours out over.
    if (Hpx <= 0 || Wpx <= 0)
        return;

    QPainter painter(m_DrawingObject);
    if (!painter.isActive())
        return;
    painter.setRenderHint(QPainter::Antialiasing, false);

    // Bands of `step` rows from the bottom up; each band's colour is worked out from the row the
    // band before it started on, so the two lowest bands have the start colour and the top one
    // stops short of the end colour.
    const int step = Hpx / 255 > 0 ? Hpx / 255 : 1;
    const double dRed = m_end.red - m_start.red;
    const double dGreen = m_end.green - m_start.green;
    const double dBlue = m_end.blue - m_start.blue;
    Channels current = m_start;
    int bottom = Hpx;
    for (int i = Hpx; i >= 0; i -= step) {
        const int top = bottom - step;
        painter.fillRect(QRect(0, top, Wpx, bottom - top), QColor(current.red, current.green, current.blue));
        bottom = top;
        current.red = int(std::nearbyint(m_start.red + (Hpx - i) * dRed / Hpx));
        current.green = int(std::nearbyint(m_start.green + (Hpx - i) * dGreen / Hpx));
        current.blue = int(std::nearbyint(m_start.blue + (Hpx - i) * dBlue / Hpx));
    }

    // The caption: Arial whatever the picture's font is called, of the picture's size in whole
    // points and its style, turned a quarter counter-clockwise so that it reads upwards; the top
    // left of its first letter's cell sits at (0, Hpx - 16).
    QFont font(QStringLiteral("Arial"));
    int pixels = m_font.pixelSize();
    if (m_font.pointSizeF() > 0) {
        const double points = std::nearbyint(m_font.pointSizeF());
        pixels = int(std::lround(points * m_DrawingObject->logicalDpiY() / 72.0));
    }
    if (pixels > 0)
        font.setPixelSize(pixels);
    font.setWeight(m_font.bold() ? QFont::Bold : QFont::Normal);
    font.setItalic(m_font.italic());
    font.setUnderline(m_font.underline());
    font.setStrikeOut(m_font.strikeOut());

    painter.setFont(font);
    painter.setPen(m_textColor);
    painter.translate(0, Hpx - 16);
    painter.rotate(-90);
    painter.drawText(QPointF(0, painter.fontMetrics().ascent()), m_Caption);
}

} // namespace zav::controls
