#pragma once

#include <functional>

class QPrinter;
class QWidget;

namespace zav::shell {

/**
 * @brief The page set-up command (`imp_st`, `tSetup`): the page set-up dialog on a printer
 * holding the program's printer settings; when accepted, the printer, orientation, paper size,
 * print quality and copies chosen become the program's. Cancelling changes nothing.
 */
class PageSetup
{
public:
    /** @brief Shows a page set-up dialog on a printer; true when the user accepted it. */
    using DialogRunner = std::function<bool(QPrinter &printer, QWidget *parent)>;

    /** @brief Runs the command; returns whether the settings were applied. */
    static bool run(QWidget *parent);

    /** @brief Replaces the dialog (tests); an empty runner restores QPageSetupDialog. */
    static void setDialogRunner(DialogRunner runner);
};

} // namespace zav::shell
