#pragma once

#include <QColor>
#include <QPalette>

/**
 * @brief Colour values as the controls keep them: 32-bit numbers laid out 0x00BBGGRR (red in the
 * low byte). A value with the top bit set is not a colour but a system-colour code whose low bits
 * name an entry of the system colour table; it is mapped through a palette.
 */
namespace zav::controls {

/** @brief A colour value 0x00BBGGRR, or a system-colour code (top bit set). */
using ColorValue = quint32;

/** @brief The top bit that marks a system-colour code. */
inline constexpr ColorValue SystemColorFlag = 0x80000000u;

/** @brief Entries of the system colour table used by the controls. */
enum SysColorIndex : int {
    COLOR_WINDOW = 5,
    COLOR_WINDOWTEXT = 8,
    COLOR_HIGHLIGHT = 13,
    COLOR_HIGHLIGHTTEXT = 14,
    COLOR_BTNFACE = 15,
    COLOR_BTNSHADOW = 16,
    COLOR_GRAYTEXT = 17,
    COLOR_BTNTEXT = 18,
    COLOR_BTNHIGHLIGHT = 20,
    COLOR_3DDKSHADOW = 21,
    COLOR_3DLIGHT = 22,
};

/** @brief The plain colour of a system colour table entry, taken from the palette; 0 when unknown. */
ColorValue sysColor(int index, const QPalette &palette);

/**
 * @brief Turns a system-colour code into its plain colour through the palette; a plain value is
 * returned unchanged. An unknown system entry gives 0 (black).
 */
ColorValue translateColor(ColorValue value, const QPalette &palette);

/** @brief The colour of a plain value (its low three bytes). */
QColor toQColor(ColorValue value);

/** @brief The plain value 0x00BBGGRR of a colour. */
ColorValue colorValue(const QColor &color);

/** @brief The plain value of three channels, each 0 to 255. */
constexpr ColorValue rgbValue(int red, int green, int blue)
{
    return ColorValue(red) | (ColorValue(green) << 8) | (ColorValue(blue) << 16);
}

} // namespace zav::controls
