#include "shell/commands/pagesetup.h"

#include "platform/ui/printersettings.h"

#include <QPageSetupDialog>
#include <QPrinter>

namespace zav::shell {

namespace {

PageSetup::DialogRunner &installedRunner()
{
    static PageSetup::DialogRunner runner;
    return runner;
}

bool showPageSetupDialog(QPrinter &printer, QWidget *parent)
{
    QPageSetupDialog dialog(&printer, parent);
    return dialog.exec() == QDialog::Accepted;
}

} // namespace

bool PageSetup::run(QWidget *parent)
{
    platform::PrinterSettings &settings = platform::PrinterSettings::program();
    QPrinter printer;
    settings.applyTo(printer);
    const DialogRunner &runner = installedRunner();
    const bool accepted = runner ? runner(printer, parent) : showPageSetupDialog(printer, parent);
    if (!accepted)
        return false;
    // The margins the dialog may have changed are not taken: each report lays out its own.
    settings = platform::PrinterSettings::fromPrinter(printer);
    return true;
}

void PageSetup::setDialogRunner(DialogRunner runner)
{
    installedRunner() = std::move(runner);
}

} // namespace zav::shell
