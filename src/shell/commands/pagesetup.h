#pragma once

#include <functional>

class QWidget;

namespace zav::platform {
struct PrinterSettings;
}

namespace zav::shell {

/**
 * @brief The page set-up command (`imp_st`, `tSetup`): the page set-up dialog on a copy of the
 * program's printer settings; when accepted, the printer, orientation, paper size, print quality
 * and copies chosen become the program's (PrinterSettings::apply). Cancelling changes nothing.
 */
class PageSetup
{
public:
    /** @brief Shows a page set-up dialog on a copy of the settings, which it changes to the
     * user's choices; true when the user accepted it. */
    using DialogRunner = std::function<bool(platform::PrinterSettings &settings, QWidget *parent)>;

    /** @brief Runs the command; returns whether the settings were applied. */
    static bool run(QWidget *parent);

    /** @brief Replaces the dialog (tests); an empty runner restores the program's dialog. */
    static void setDialogRunner(DialogRunner runner);
};

} // namespace zav::shell
