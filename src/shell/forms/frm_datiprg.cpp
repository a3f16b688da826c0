#include "shell/forms/frm_datiprg.h"

#include "shell/project/databasefailure.h"

#include "engine/archive.h"
#include "engine/var_gbl.h"
#include "platform/ui/datasource.h"
#include "platform/db.h"
#include "platform/dialogs.h"
#include "platform/ui/formregistry.h"

#include <QCheckBox>
#include <QCloseEvent>
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
    : QWidget(parent, Qt::Dialog)
{
    setObjectName(QStringLiteral("frm_datiprg"));
    setWindowTitle(QStringLiteral("Dati Progetto"));

    Data1 = new platform::DataSource(this);
    Data1->setObjectName(QStringLiteral("Data1"));

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
        Command1[i] = new QPushButton(captions[i], this);
        Command1[i]->setObjectName(QStringLiteral("Command1_%1").arg(i));
        Command1[i]->setAutoDefault(false);
        connect(Command1[i], &QPushButton::clicked, this, [this, i] { Command1_Click(i); });
    }
    Command2 = new QPushButton(QStringLiteral("Comp. Pal."), this);
    Command2->setObjectName(QStringLiteral("Command2"));
    Command2->setAutoDefault(false);
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
    Data1->setDatabaseName(VAR_GBL.progetto_corrente.value_or(QString()));
    Data1->setRecordSource(engine::archive::ANA_CONDO);
    if (!showRows(*Data1))
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
    try {
        switch (Index) {
        case Registra:
            Data1->update();
            Data1->refresh();
            Command1[Modifica]->setEnabled(true);
            Text1->setFocus();
            Command1[Registra]->setEnabled(false);
            break;
        case Modifica:
            Data1->edit();
            Text1->setFocus();
            Command1[Registra]->setEnabled(true);
            break;
        case Esci:
            Data1->updateControls();
            close();
            break;
        default:
            break;
        }
    } catch (const platform::DbError &error) {
        reportDatabaseFailure(error.message());
    }
}

void frm_datiprg::Command2_Click()
{
    if (!VAR_GBL.progetto_corrente) {
        dialogs().msgBox(QStringLiteral("Nessun progetto selezionato"), MsgButtons::Ok, MsgIcon::Information,
            QStringLiteral("!!! Zav - Attenzione - !!!"));
        return;
    }
    try {
        // The stored header, not what the boxes hold: the buildings need a record in the archive.
        platform::Database db = platform::Database::open(*VAR_GBL.progetto_corrente);
        if (db.table(engine::archive::ANA_CONDO).isEmpty()) {
            db.close();
            dialogs().msgBox(QStringLiteral("Dati Progetto non inseriti. Impossibile continuare"),
                MsgButtons::Ok, MsgIcon::Information, QStringLiteral("!!! Zav - Informazioni - !!!"));
            return;
        }
    } catch (const platform::DbError &error) {
        reportDatabaseFailure(error.message());
        return;
    }
    platform::FormRegistry::showModal(QStringLiteral("frm_comp_pal"));
    close();
}

void frm_datiprg::closeEvent(QCloseEvent *event)
{
    // A form bound to its record stores what is still pending as it closes.
    try {
        Data1->storePending();
    } catch (const platform::DbError &error) {
        reportDatabaseFailure(error.message());
    }
    event->accept();
}

} // namespace zav::shell
