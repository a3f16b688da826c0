#pragma once

#include "controls/colorvalue.h"

#include <QFont>
#include <QImage>
#include <QPalette>
#include <QRegion>
#include <QString>

namespace zav::controls {

/** @brief The six colours a button face is drawn with (plain values 0x00BBGGRR). */
struct ButtonColors
{
    ColorValue FACE = 0;
    ColorValue LIGHT = 0;
    ColorValue HILITE = 0;
    ColorValue SHADOW = 0;
    ColorValue DKSHADOW = 0;
    ColorValue TEXT = 0;
};

/**
 * @brief Lightens (positive delta) or darkens a colour: each channel moves by delta and is held to
 * 0..255. The channels are read from the value as a signed 32-bit number, so a system-colour code
 * is not translated but taken apart as it stands.
 */
ColorValue ShiftColor(ColorValue color, qint32 delta);

/**
 * @brief The drawing colours of a colour scheme: 2 derives them from the back and fore colours,
 * 3 is a fixed set of greys, any other scheme takes the system colours from the palette.
 */
ButtonColors SetColors(
    qint32 colorScheme, ColorValue backColor, ColorValue foreColor, const QPalette &palette);

/** @brief The window shape of a button type: the rectangle W x H less the corner pixels of the look. */
QRegion MakeRegion(qint32 buttonType, int W, int H);

/**
 * @brief One drawing of a button face: everything the face depends on, and the recipes that paint
 * it pixel by pixel.
 *
 * Types 1 to 7 are seven looks; any other type draws a plain FACE rectangle. The face is drawn in
 * the normal state (code 0), the pressed state (code 2), or, when not enabled, the disabled look
 * whatever the state.
 */
struct XPButtonFace
{
    qint32 buttonType = 2;
    ButtonColors colors;
    QString caption;
    QFont font;
    bool enabled = true;
    /** @brief The focus is shown: the control has the focus and its focus mark is wanted. */
    bool focusShown = false;
    /** @brief The host shows the control as its default button (type 2 draws a heavier frame). */
    bool defaultIndication = false;

    /** @brief Paints the whole face into the image, whose size is the control's W x H. */
    void paint(QImage &face, int stateCode) const;
};

} // namespace zav::controls
