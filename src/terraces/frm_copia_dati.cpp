#include "terraces/frm_copia_dati.h"

#include "engine/databasefailure.h"
#include "engine/messagetitles.h"
#include "engine/var_gbl.h"
#include "platform/dialogs.h"
#include "platform/ui/formbutton.h"
#include "platform/ui/formregistry.h"
#include "terraces/frm_terrazze.h"
#include "terraces/roomcopy.h"
#include "terraces/terracearchive.h"
#include "terraces/terracesforms.h"

#include <QApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace zav::terraces {

using engine::VAR_GBL;
using platform::dialogs;
using platform::MsgButtons;
using platform::MsgIcon;

namespace {

const QString CopyTitle = QStringLiteral("!!! Copia Dati Condomini !!!");

} // namespace

frm_copia_dati::frm_copia_dati(QWidget *parent)
    : QWidget(parent)
{
    setObjectName(RoomCopyFormName);
    setWindowTitle(QStringLiteral("Copia dati condomini - Terrazze -"));
    Label1 = new QLabel(
        QStringLiteral(
            "Copia le Superfici, i Coefficienti e i Volumi di tutti i condomini dell'elenco Terrazze."),
        this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setWordWrap(true);
    Command1[0] = platform::formButton(QStringLiteral("Command1_0"), QStringLiteral("Copia"), this);
    Command1[1] = platform::formButton(QStringLiteral("Command1_1"), QStringLiteral("Esci"), this);
    connect(Command1[0], &QPushButton::clicked, this, [this] { Command1_Click(0); });
    connect(Command1[1], &QPushButton::clicked, this, [this] { Command1_Click(1); });

    auto *buttons = new QHBoxLayout;
    buttons->addStretch(1);
    buttons->addWidget(Command1[0]);
    buttons->addWidget(Command1[1]);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(Label1);
    layout->addStretch(1);
    layout->addLayout(buttons);
    resize(420, 140);
}

frm_copia_dati::~frm_copia_dati() = default;

void frm_copia_dati::Command1_Click(int Index)
{
    if (Index == 0)
        copia();
    else if (Index == 1)
        close();
}

void frm_copia_dati::copia()
{
    auto *form = platform::FormRegistry::loaded<frm_terrazze>(TerraceFormName);
    if (!form || !VAR_GBL.progetto_corrente) {
        close();
        return;
    }
    const QString code = form->currentTableCode();
    QString failure;
    {
        QApplication::setOverrideCursor(Qt::WaitCursor);
        try {
            RoomCopy::run(*VAR_GBL.progetto_corrente, VAR_GBL.archivio_terrazze, code);
        } catch (const platform::DbError &error) {
            failure = engine::databaseFailureText(error);
        }
        QApplication::restoreOverrideCursor();
    }
    form->showUnitList(terracearchive::listOfCode(code));
    close();
    if (failure.isEmpty())
        dialogs().msgBox(QStringLiteral("Copia effettuata"), MsgButtons::Ok, MsgIcon::Information, CopyTitle);
    else
        dialogs().msgBox(
            QStringLiteral("La copia non è stata fatta: nessun vano è stato aggiunto alla tabella.\n%1")
                .arg(failure),
            MsgButtons::Ok, MsgIcon::Critical, CopyTitle);
}

} // namespace zav::terraces
