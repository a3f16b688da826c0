#include "shell/forms/frm_virgola.h"

#include "engine/databasefailure.h"
#include "engine/messagetitles.h"
#include "platform/db.h"
#include "platform/dialogs.h"
#include "platform/programfolder.h"
#include "platform/ui/formbutton.h"
#include "shell/project/decimalconversion.h"

#include <QDir>
#include <QHBoxLayout>
#include <QLabel>
#include <QListWidget>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace zav::shell {

using platform::dialogs;
using platform::MsgButtons;
using platform::MsgIcon;

frm_virgola::frm_virgola(QWidget *parent)
    : QWidget(parent, Qt::Dialog)
{
    setObjectName(QStringLiteral("frm_virgola"));
    setWindowTitle(QStringLiteral("Conversione Dati - Separatore decimale -"));

    Drive1 = new platform::DriveListBox(this);
    Drive1->setObjectName(QStringLiteral("Drive1"));
    Dir1 = new platform::FolderListBox(this);
    Dir1->setObjectName(QStringLiteral("Dir1"));
    File1 = new platform::FileListBox(this);
    File1->setObjectName(QStringLiteral("File1"));
    // The archives' extensions, in whatever case the files carry them.
    File1->setPattern(QStringLiteral("*.gep;*.clo;*.cdb"));
    Command2 = platform::formButton(QStringLiteral("Command2"), QStringLiteral("Seleziona"), this);
    Label2 = new QLabel(QStringLiteral("Archivio Selezionato"), this);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label1 = new QLabel(this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setFrameShape(QFrame::StyledPanel);
    Label3 = new QLabel(QStringLiteral("Tipo di conversione"), this);
    Label3->setObjectName(QStringLiteral("Label3"));
    Option1 = new QRadioButton(QStringLiteral("Da Virgola a Punto"), this);
    Option1->setObjectName(QStringLiteral("Option1"));
    Option2 = new QRadioButton(QStringLiteral("Da Punto a Virgola"), this);
    Option2->setObjectName(QStringLiteral("Option2"));
    List1 = new QListWidget(this);
    List1->setObjectName(QStringLiteral("List1"));
    for (const DecimalConversion::Table &table : DecimalConversion::tables())
        List1->addItem(table.name);
    ProgressBar1 = new QProgressBar(this);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setRange(0, 100);
    Command1 = platform::formButton(QStringLiteral("Command1"), QStringLiteral("Converti"), this);
    Command3 = platform::formButton(QStringLiteral("Command3"), QStringLiteral("Esci"), this);

    auto *browse = new QVBoxLayout;
    browse->addWidget(Drive1);
    browse->addWidget(Dir1);
    browse->addWidget(File1);
    browse->addWidget(Command2);
    auto *options = new QVBoxLayout;
    options->addWidget(Label2);
    options->addWidget(Label1);
    options->addWidget(Label3);
    options->addWidget(Option1);
    options->addWidget(Option2);
    options->addWidget(List1);
    auto *top = new QHBoxLayout;
    top->addLayout(browse, 1);
    top->addLayout(options, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(ProgressBar1, 1);
    buttons->addWidget(Command1);
    buttons->addWidget(Command3);
    auto *layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addLayout(buttons);

    connect(Drive1, &platform::DriveListBox::Change, this, &frm_virgola::Drive1_Change);
    connect(Dir1, &platform::FolderListBox::Change, this, &frm_virgola::Dir1_Change);
    connect(Command2, &QPushButton::clicked, this, &frm_virgola::Command2_Click);
    connect(Command1, &QPushButton::clicked, this, &frm_virgola::Command1_Click);
    connect(Command3, &QPushButton::clicked, this, &frm_virgola::Command3_Click);

    Form_Load();
}

void frm_virgola::Form_Load()
{
    // The lists open on the program folder, where the program's archives lie.
    const QString folder = platform::ProgramFolder::path();
    Drive1->setDrive(folder);
    Dir1->setPath(folder);
}

void frm_virgola::Drive1_Change()
{
    Dir1->setPath(Drive1->Drive());
}

void frm_virgola::Dir1_Change()
{
    File1->setPath(Dir1->Path());
}

void frm_virgola::Command2_Click()
{
    // The file the user selected; the list's cursor alone (set by tabbing into it) selects none.
    Label1->setText(File1->FileName());
}

void frm_virgola::Command1_Click()
{
    if (!Option1->isChecked() && !Option2->isChecked())
        return;
    if (Label1->text().isEmpty()) {
        dialogs().msgBox(QStringLiteral("Nessun archivio selezionato"), MsgButtons::Ok, MsgIcon::Information,
            engine::MessageTitle::ZavWarning);
        return;
    }
    converti_archivio();
}

void frm_virgola::Command3_Click()
{
    close();
}

void frm_virgola::converti_archivio()
{
    const QString path = QDir(Dir1->Path()).filePath(Label1->text());
    const auto direction = Option1->isChecked() ? DecimalConversion::Direction::CommaToPoint
                                                : DecimalConversion::Direction::PointToComma;
    const int steps = List1->count();
    ProgressBar1->setValue(1);
    ProgressBar1->setMaximum(steps);
    DecimalConversion::Result result;
    try {
        result = DecimalConversion::convertArchive(path, direction, [this, steps](int) {
            if (ProgressBar1->value() != steps)
                ProgressBar1->setValue(ProgressBar1->value() + 1);
        });
    } catch (const platform::DbError &error) {
        // Nothing was converted: say so rather than announce an update.
        dialogs().msgBox(
            QStringLiteral("Archivio non convertito. %1")
                .arg(engine::databaseFailureText(error, QStringLiteral("nessun valore è stato cambiato"))),
            MsgButtons::Ok, MsgIcon::Critical, engine::MessageTitle::ZavWarning);
        ProgressBar1->setValue(1);
        return;
    }
    if (result.complete()) {
        dialogs().msgBox(QStringLiteral("Progetto aggiornato"), MsgButtons::Ok, MsgIcon::Information,
            engine::MessageTitle::Information);
    } else {
        dialogs().msgBox(QStringLiteral("Conversione non completata. Tabelle non convertite: %1")
                             .arg(result.failedTables.join(QStringLiteral(", "))),
            MsgButtons::Ok, MsgIcon::Exclamation, engine::MessageTitle::ZavWarning);
    }
    ProgressBar1->setValue(1);
}

} // namespace zav::shell
