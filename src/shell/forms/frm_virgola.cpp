#include "shell/forms/frm_virgola.h"

#include "platform/db.h"
#include "platform/dialogs.h"
#include "platform/programfolder.h"
#include "shell/project/decimalconversion.h"

#include <QComboBox>
#include <QDir>
#include <QFileInfo>
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

namespace {

const QString kParent = QStringLiteral("..");

QPushButton *button(const QString &name, const QString &caption, QWidget *parent)
{
    auto *b = new QPushButton(caption, parent);
    b->setObjectName(name);
    b->setAutoDefault(false);
    return b;
}

// The drive of a folder: its root ("/" here, a drive letter elsewhere).
QString driveOf(const QString &folder)
{
    QDir dir(folder);
    while (dir.cdUp()) { }
    return dir.absolutePath();
}

} // namespace

frm_virgola::frm_virgola(QWidget *parent)
    : QWidget(parent, Qt::Dialog)
{
    setObjectName(QStringLiteral("frm_virgola"));
    setWindowTitle(QStringLiteral("Conversione Dati - Separatore decimale -"));

    Drive1 = new QComboBox(this);
    Drive1->setObjectName(QStringLiteral("Drive1"));
    Dir1 = new QListWidget(this);
    Dir1->setObjectName(QStringLiteral("Dir1"));
    File1 = new QListWidget(this);
    File1->setObjectName(QStringLiteral("File1"));
    Command2 = button(QStringLiteral("Command2"), QStringLiteral("Seleziona"), this);
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
    Command1 = button(QStringLiteral("Command1"), QStringLiteral("Converti"), this);
    Command3 = button(QStringLiteral("Command3"), QStringLiteral("Esci"), this);

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

    connect(Drive1, &QComboBox::activated, this, &frm_virgola::Drive1_Change);
    connect(Dir1, &QListWidget::itemActivated, this, [this](QListWidgetItem *item) {
        setDir1Path(item->text() == kParent ? QFileInfo(m_dirPath).absolutePath()
                                            : QDir(m_dirPath).absoluteFilePath(item->text()));
    });
    connect(Command2, &QPushButton::clicked, this, &frm_virgola::Command2_Click);
    connect(Command1, &QPushButton::clicked, this, &frm_virgola::Command1_Click);
    connect(Command3, &QPushButton::clicked, this, &frm_virgola::Command3_Click);

    Form_Load();
}

void frm_virgola::Form_Load()
{
    const QString folder = platform::ProgramFolder::path();
    Drive1->clear();
    for (const QFileInfo &drive : QDir::drives())
        Drive1->addItem(drive.absolutePath());
    Drive1->setCurrentText(driveOf(folder));
    // The folder list opens on the program folder, where the program's archives lie.
    setDir1Path(folder);
}

void frm_virgola::Drive1_Change()
{
    setDir1Path(Drive1->currentText());
}

void frm_virgola::setDir1Path(const QString &path)
{
    m_dirPath = QDir(path).absolutePath();
    fillFolders();
    Dir1_Change();
}

void frm_virgola::Dir1_Change()
{
    fillFiles();
}

void frm_virgola::fillFolders()
{
    Dir1->clear();
    QDir dir(m_dirPath);
    if (!dir.isRoot())
        Dir1->addItem(kParent);
    Dir1->addItems(dir.entryList(QDir::Dirs | QDir::NoDotAndDotDot, QDir::Name | QDir::IgnoreCase));
}

void frm_virgola::fillFiles()
{
    File1->clear();
    // The archives' extensions, in whatever case the files carry them.
    const QStringList patterns { QStringLiteral("*.gep"), QStringLiteral("*.clo"), QStringLiteral("*.cdb") };
    File1->addItems(QDir(m_dirPath).entryList(patterns, QDir::Files, QDir::Name | QDir::IgnoreCase));
}

void frm_virgola::Command2_Click()
{
    // The file the user selected; the list's cursor alone (set by tabbing into it) selects none.
    const QList<QListWidgetItem *> selected = File1->selectedItems();
    Label1->setText(selected.isEmpty() ? QString() : selected.first()->text());
}

void frm_virgola::Command1_Click()
{
    if (!Option1->isChecked() && !Option2->isChecked())
        return;
    if (Label1->text().isEmpty()) {
        dialogs().msgBox(QStringLiteral("Nessun archivio selezionato"), MsgButtons::Ok, MsgIcon::Information,
            QStringLiteral("!!! Zav - Attenzione - !!!"));
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
    const QString path = QDir(m_dirPath).filePath(Label1->text());
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
        dialogs().msgBox(QStringLiteral("Archivio non convertito: %1").arg(error.message()), MsgButtons::Ok,
            MsgIcon::Critical, QStringLiteral("!!! Zav - Attenzione - !!!"));
        ProgressBar1->setValue(1);
        return;
    }
    if (result.complete()) {
        dialogs().msgBox(QStringLiteral("Progetto aggiornato"), MsgButtons::Ok, MsgIcon::Information,
            QStringLiteral("!!! Informazioni !!!"));
    } else {
        dialogs().msgBox(QStringLiteral("Conversione non completata. Tabelle non convertite: %1")
                             .arg(result.failedTables.join(QStringLiteral(", "))),
            MsgButtons::Ok, MsgIcon::Exclamation, QStringLiteral("!!! Zav - Attenzione - !!!"));
    }
    ProgressBar1->setValue(1);
}

} // namespace zav::shell
