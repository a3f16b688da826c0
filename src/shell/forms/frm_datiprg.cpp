#include "shell/forms/frm_datiprg.h"
#include "engine/messagetitles.h"

#include "engine/archive.h"
#include "engine/var_gbl.h"
#include "platform/db.h"
#include "platform/dialogs.h"
#include "platform/ui/datasource.h"
#include "platform/ui/formbutton.h"
#include "platform/ui/formregistry.h"
#include "shell/forms/projectbinding.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace zav::shell {

using engine::VAR_GBL;
using platform::dialogs;
using platform::MsgButtons;
using platform::MsgIcon;

namespace {

enum { Registra = 0, Esci = 1, Modifica = 2 };

} // namespace

frm_datiprg::frm_datiprg(QWidget *parent)
    : RecordForm(QStringLiteral("frm_datiprg"), QStringLiteral("Dati Progetto"),
        projectBinding(engine::archive::ANA_CONDO), parent)
    , Data1(dataSource())
{
    const auto labelled = [this](QLabel *&label, QLineEdit *&box, const char *name, const QString &caption,
                              const char *boxName) {
        label = new QLabel(caption, this);
        label->setObjectName(QString::fromLatin1(name));
        box = new QLineEdit(this);
        box->setObjectName(QString::fromLatin1(boxName));
        label->setBuddy(box);
    };
    labelled(Label1, Text1, "Label1", QStringLiteral("Nome condominio:"), "Text1");
    labelled(Label2, Text2, "Label2", QStringLiteral("Indirizzo:"), "Text2");
    labelled(Label3, Text3, "Label3", QStringLiteral("Città:"), "Text3");
    Check1 = new QCheckBox(QStringLiteral("Portierato"), this);
    Check1->setObjectName(QStringLiteral("Check1"));

    const QString captions[]
        = { QStringLiteral("Registra"), QStringLiteral("Esci"), QStringLiteral("Modifica") };
    for (int i = 0; i < 3; ++i) {
        Command1[i] = platform::formButton(QStringLiteral("Command1_%1").arg(i), captions[i], this);
        connect(Command1[i], &QPushButton::clicked, this, [this, i] { Command1_Click(i); });
    }
    Command2 = platform::formButton(QStringLiteral("Command2"), QStringLiteral("Comp. Pal."), this);
    connect(Command2, &QPushButton::clicked, this, &frm_datiprg::Command2_Click);

    auto *fields = new QFormLayout;
    fields->addRow(Label1, Text1);
    fields->addRow(Label2, Text2);
    fields->addRow(Label3, Text3);
    fields->addRow(QString(), Check1);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(Command1[Registra]);
    buttons->addWidget(Command1[Modifica]);
    buttons->addWidget(Command2);
    buttons->addStretch();
    buttons->addWidget(Command1[Esci]);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(fields);
    layout->addLayout(buttons);
    Text1->setMinimumWidth(320);

    Data1->bind(Text1, QStringLiteral("NOME"));
    Data1->bind(Text2, QStringLiteral("INDIRIZZO"));
    Data1->bind(Text3, QStringLiteral("CITTA"));
    Data1->bind(Check1, QStringLiteral("PORTIERATO"));

    Form_Load();
}

void frm_datiprg::Form_Load()
{
    if (!load())
        return;
    if (Data1->recordCount() == 0) {
        Data1->addNew();
        Command1[Modifica]->setEnabled(false);
    } else {
        Command1[Registra]->setEnabled(false);
    }
}

void frm_datiprg::Command1_Click(int Index)
{
    switch (Index) {
    case Registra:
        if (!attempt([this] {
                Data1->update();
                Data1->refresh();
            }))
            return;
        Command1[Modifica]->setEnabled(true);
        Text1->setFocus();
        Command1[Registra]->setEnabled(false);
        return;
    case Modifica:
        if (!attempt([this] { Data1->edit(); }))
            return;
        Text1->setFocus();
        Command1[Registra]->setEnabled(true);
        return;
    case Esci:
        discardAndClose();
        return;
    default:
        return;
    }
}

void frm_datiprg::Command2_Click()
{
    if (!VAR_GBL.progetto_corrente) {
        dialogs().msgBox(QStringLiteral("Nessun progetto selezionato"), MsgButtons::Ok, MsgIcon::Information,
            engine::MessageTitle::ZavWarning);
        return;
    }
    // The stored header, not what the boxes hold: the buildings need a record in the archive.
    bool stored = false;
    if (!attempt([&stored] {
            platform::Database db = platform::Database::open(*VAR_GBL.progetto_corrente);
            stored = !db.table(engine::archive::ANA_CONDO).isEmpty();
        }))
        return;
    if (!stored) {
        dialogs().msgBox(QStringLiteral("Dati Progetto non inseriti. Impossibile continuare"), MsgButtons::Ok,
            MsgIcon::Information, engine::MessageTitle::ZavInformation);
        return;
    }
    platform::FormRegistry::showModal(QStringLiteral("frm_comp_pal"));
    close();
}

} // namespace zav::shell
