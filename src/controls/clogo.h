#pragma once

#include "controls/colorvalue.h"

#include <QColor>
#include <QFont>
#include <QString>

class QPaintDevice;

namespace zav::controls {

/**
 * @brief A banner painted on a picture: a vertical gradient in horizontal bands from `StartColor`
 * at the bottom towards `EndColor` at the top, with `Caption` written upwards in a font turned 90
 * degrees, starting 16 pixels above the bottom-left corner.
 *
 * The picture is any paint device the caller gives (an image, a pixmap, or a widget from inside
 * its own paint event), with the font and the text colour it is written in. Colours are values
 * 0x00BBGGRR or system-colour codes, which are translated through the application palette when
 * they are set.
 */
class cLogo
{
public:
    cLogo();

    QString caption() const { return m_Caption; }
    /** @brief Stores the text; no redraw. */
    void setCaption(const QString &caption) { m_Caption = caption; }

    /**
     * @brief The picture to paint on, with the font the caption takes its size and style from and
     * the caption's colour; no redraw. The device must outlive its use here.
     */
    void setDrawingObject(
        QPaintDevice *picture, const QFont &font = QFont(), const QColor &textColor = Qt::black);

    ColorValue startColor() const { return m_StartColor; }
    /** @brief A new value is stored, translated and split into channels, and redrawn when a picture is set.
     */
    void setStartColor(ColorValue color);
    ColorValue endColor() const { return m_EndColor; }
    void setEndColor(ColorValue color);

    /** @brief Paints the banner on the picture; without a picture, or on an empty one, nothing happens. */
    void Draw();

private:
    struct Channels
    {
        int red = 0;
        int green = 0;
        int blue = 0;
    };
    static Channels split(ColorValue color);

    QPaintDevice *m_DrawingObject = nullptr;
    QFont m_font;
    QColor m_textColor = Qt::black;
    QString m_Caption;
    Channels m_start;
    ColorValue m_StartColor = 0;
    Channels m_end;
    ColorValue m_EndColor = 0;
};

} // namespace zav::controls
