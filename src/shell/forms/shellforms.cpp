#include "shell/forms/shellforms.h"

#include "platform/steps.h"
#include "platform/ui/formregistry.h"
#include "shell/forms/frm_coeff_db.h"
#include "shell/forms/frm_datiprg.h"
#include "shell/forms/frm_file.h"
#include "shell/forms/frm_gestdb.h"
#include "shell/forms/frm_init.h"

#include "shell/forms/frm_opt.h"
#include "shell/forms/frm_password.h"
#include "shell/forms/frm_virgola.h"
#include "shell/forms/inizio.h"

namespace zav::shell {

using platform::FormRegistry;
using platform::tryStep;

namespace {

QWidget *mainWindow()
{
    return FormRegistry::loaded(FormName::frm_init);
}

/** A form made as a child of the main window. */
template<class Form> FormRegistry::Factory ownedByMainWindow()
{
    return [] { return new Form(mainWindow()); };
}

frm_file *makeArchiveDialog()
{
    // The archive dialog reaches the main window's status bar, the project header after a project
    // is created and the decimal conversion through its hooks.
    auto *dialog = new frm_file(mainWindow());
    dialog->setHooks({
        [](const QString &archive) {
            if (auto *window = FormRegistry::loaded<frm_init>(FormName::frm_init))
                window->setStatusPanelText(2, archive);
        },
        [] {
            // A header form still open belongs to the project before: it closes, storing what
            // was typed into its own archive, and a new one loads on the project just created.
            tryStep([] { FormRegistry::unload(FormName::frm_datiprg); });
            FormRegistry::showModeless(FormName::frm_datiprg);
        },
        [] { FormRegistry::showModal(FormName::frm_virgola); },
    });
    return dialog;
}

} // namespace

void registerShellForms()
{
    FormRegistry::setFactory(FormName::INIZIO, [] { return new INIZIO; });
    FormRegistry::setFactory(FormName::frm_init, [] { return new frm_init; });
    FormRegistry::setFactory(FormName::frm_password, ownedByMainWindow<frm_password>());
    FormRegistry::setFactory(FormName::frm_file, &makeArchiveDialog);
    FormRegistry::setFactory(FormName::frm_datiprg, ownedByMainWindow<frm_datiprg>());
    FormRegistry::setFactory(FormName::frm_opt, ownedByMainWindow<frm_opt>());
    FormRegistry::setFactory(FormName::frm_virgola, ownedByMainWindow<frm_virgola>());
    FormRegistry::setFactory(FormName::frm_gestdb, ownedByMainWindow<frm_gestdb>());
    FormRegistry::setFactory(FormName::frm_coeff_db, ownedByMainWindow<frm_coeff_db>());
}

} // namespace zav::shell
