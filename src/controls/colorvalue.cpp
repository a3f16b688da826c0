#include "controls/colorvalue.h"

namespace zav::controls {

namespace {

struct SystemEntry
{
    QPalette::ColorGroup group;
    QPalette::ColorRole role;
};

// The system colour table mapped onto the palette's roles: the 3D button colours follow the roles
// Qt itself gives them (face = Button, highlight = Light, light = Midlight, shadow = Dark, dark
// shadow = Shadow); the others go to their nearest role.
constexpr SystemEntry SystemTable[] = {
    { QPalette::Active, QPalette::Button }, // 0 scroll bar
    { QPalette::Active, QPalette::Dark }, // 1 desktop
    { QPalette::Active, QPalette::Highlight }, // 2 active caption
    { QPalette::Inactive, QPalette::Mid }, // 3 inactive caption
    { QPalette::Active, QPalette::Window }, // 4 menu
    { QPalette::Active, QPalette::Base }, // 5 window
    { QPalette::Active, QPalette::Shadow }, // 6 window frame
    { QPalette::Active, QPalette::WindowText }, // 7 menu text
    { QPalette::Active, QPalette::Text }, // 8 window text
    { QPalette::Active, QPalette::HighlightedText }, // 9 caption text
    { QPalette::Active, QPalette::Window }, // 10 active border
    { QPalette::Inactive, QPalette::Window }, // 11 inactive border
    { QPalette::Active, QPalette::Dark }, // 12 application workspace
    { QPalette::Active, QPalette::Highlight }, // 13 highlight
    { QPalette::Active, QPalette::HighlightedText }, // 14 highlight text
    { QPalette::Active, QPalette::Button }, // 15 button face
    { QPalette::Active, QPalette::Dark }, // 16 button shadow
    { QPalette::Disabled, QPalette::Text }, // 17 grey text
    { QPalette::Active, QPalette::ButtonText }, // 18 button text
    { QPalette::Inactive, QPalette::WindowText }, // 19 inactive caption text
    { QPalette::Active, QPalette::Light }, // 20 button highlight
    { QPalette::Active, QPalette::Shadow }, // 21 3D dark shadow
    { QPalette::Active, QPalette::Midlight }, // 22 3D light
    { QPalette::Active, QPalette::ToolTipText }, // 23 info text
    { QPalette::Active, QPalette::ToolTipBase }, // 24 info background
    { QPalette::Active, QPalette::NoRole }, // 25 unused
    { QPalette::Active, QPalette::Link }, // 26 hot light
    { QPalette::Active, QPalette::Highlight }, // 27 active caption gradient
    { QPalette::Inactive, QPalette::Mid }, // 28 inactive caption gradient
    { QPalette::Active, QPalette::Highlight }, // 29 menu highlight
    { QPalette::Active, QPalette::Window }, // 30 menu bar
};

} // namespace

ColorValue sysColor(int index, const QPalette &palette)
{
    if (index < 0 || index >= int(std::size(SystemTable)))
        return 0;
    const SystemEntry &entry = SystemTable[index];
    if (entry.role == QPalette::NoRole)
        return 0;
    return colorValue(palette.color(entry.group, entry.role));
}

ColorValue translateColor(ColorValue value, const QPalette &palette)
{
    if (!(value & SystemColorFlag))
        return value;
    const ColorValue index = value & 0x00FFFFFFu;
    if (index >= std::size(SystemTable))
        return 0;
    return sysColor(int(index), palette);
}

QColor toQColor(ColorValue value)
{
    return QColor(int(value & 0xFF), int((value >> 8) & 0xFF), int((value >> 16) & 0xFF));
}

ColorValue colorValue(const QColor &color)
{
    const QColor rgb = color.toRgb();
    return rgbValue(rgb.red(), rgb.green(), rgb.blue());
}

} // namespace zav::controls
