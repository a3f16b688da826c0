#include "shell/commands/pagesetup.h"

#include "platform/ui/formregistry.h"
#include "platform/ui/printersettings.h"
#include "printing/pagesetupdialog.h"

namespace zav::shell {

namespace {

PageSetup::DialogRunner &installedRunner()
{
    static PageSetup::DialogRunner runner;
    return runner;
}

bool showPageSetupDialog(platform::PrinterSettings &settings, QWidget *parent)
{
    printing::PageSetupDialog dialog(settings, parent);
    platform::FormRegistry::showModal(&dialog);
    if (dialog.result() != QDialog::Accepted)
        return false;
    settings = dialog.chosen();
    return true;
}

} // namespace

bool PageSetup::run(QWidget *parent)
{
    platform::PrinterSettings &settings = platform::PrinterSettings::program();
    platform::PrinterSettings copy = settings;
    const DialogRunner &runner = installedRunner();
    const bool accepted = runner ? runner(copy, parent) : showPageSetupDialog(copy, parent);
    if (!accepted)
        return false;
    settings.apply(copy);
    return true;
}

void PageSetup::setDialogRunner(DialogRunner runner)
{
    installedRunner() = std::move(runner);
}

} // namespace zav::shell
