#include "shell/forms/frm_file.h"

#include "controls/xpbutton.h"
#include "engine/var_gbl.h"
#include "platform/programfolder.h"
#include "platform/ui/datagrid.h"
#include "shell/project/archiveoperations.h"
#include "shell/project/projectfiles.h"
#include "shell/project/windowmemory.h"

#include <QApplication>
#include <QDir>
#include <QEvent>
#include <QFileDialog>
#include <QFileInfo>
#include <QInputDialog>
#include <QLabel>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>

namespace zav::shell {

namespace {

// Captions of the Command1 array, by index.
const QStringList Command1Captions { QStringLiteral("&Apri"), QStringLiteral("&Nuovo"),
    QStringLiteral("&Elimina"), QStringLiteral("E&sci"), QStringLiteral("&Backup"),
    QStringLiteral("&Conv. Dati"), QStringLiteral("&Duplica") };

constexpr int ApriIndex = 0;
constexpr int NuovoIndex = 1;
constexpr int EliminaIndex = 2;
constexpr int EsciIndex = 3;
constexpr int BackupIndex = 4;
constexpr int ConvDatiIndex = 5;
constexpr int DuplicaIndex = 6;

} // namespace

// --- frm_file --------------------------------------------------------------------------------

frm_file::frm_file(QWidget *parent)
    : QDialog(parent)
{
    setObjectName(QStringLiteral("frm_file"));
    setWindowTitle(QStringLiteral("Progetti esistenti"));
    setModal(false);

    Drive1 = new platform::DriveListBox(this);
    Drive1->setObjectName(QStringLiteral("Drive1"));
    Drive1->setGeometry(8, 8, 200, 22);

    Dir1 = new platform::FolderListBox(this);
    Dir1->setObjectName(QStringLiteral("Dir1"));
    Dir1->setGeometry(8, 36, 200, 180);

    File1 = new platform::FileListBox(this);
    File1->setObjectName(QStringLiteral("File1"));
    File1->setGeometry(216, 8, 200, 208);
    File1->setPattern(QStringLiteral("*.cdb"));

    Label1 = new QLabel(QStringLiteral("Nome nuovo progetto:"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Label1->setGeometry(8, 226, 140, 20);
    Text1 = new QLineEdit(this);
    Text1->setObjectName(QStringLiteral("Text1"));
    Text1->setGeometry(150, 224, 184, 22);
    // "Crea" is the program's own button, with the properties it is placed with.
    Command2 = new controls::XPButton(this);
    Command2->setObjectName(QStringLiteral("Command2"));
    Command2->setButtonType(3);
    Command2->setColorScheme(1);
    Command2->setShowFocusRect(true);
    Command2->setBackColor(controls::rgbValue(212, 208, 200));
    Command2->setForeColor(0);
    QFont arial(QStringLiteral("Arial"));
    arial.setPointSizeF(8.25);
    arial.setWeight(QFont::Normal);
    Command2->setFont(arial);
    Command2->setCaption(QStringLiteral("C&rea"));
    Command2->setGeometry(342, 224, 67, 21);

    for (int i = 0; i < Command1Captions.size(); ++i) {
        auto *button = new QPushButton(Command1Captions.at(i), this);
        button->setObjectName(QStringLiteral("Command1_%1").arg(i));
        button->setGeometry(424, 8 + i * 28, 90, 24);
        button->setAutoDefault(false);
        button->installEventFilter(this);
        connect(button, &QPushButton::clicked, this, [this, i] { Command1_Click(i); });
        Command1 << button;
    }
    Command1.at(ConvDatiIndex)->setToolTip(QStringLiteral("Leggi note sottostanti"));

    Command3 = new QPushButton(QStringLiteral("A&ggiorna"), this);
    Command3->setObjectName(QStringLiteral("Command3"));
    Command3->setToolTip(QStringLiteral("Aggiorna i vecchi archivi di Zav  alla versione ultima"));
    Command3->setGeometry(424, 8 + 7 * 28, 90, 24);
    Command3->setAutoDefault(false);
    Command3->installEventFilter(this);

    Label3 = new QLabel(QStringLiteral("Conversione Dati"), this);
    Label3->setObjectName(QStringLiteral("Label3"));
    Label3->setGeometry(8, 316, 506, 18);
    QFont bold = Label3->font();
    bold.setBold(true);
    Label3->setFont(bold);
    Label2 = new QLabel(
        QStringLiteral(
            "Questa procedura permette di convertire gli archivi dei progetti creati o l'archivio "
            "principale < Archi_mil.clo > da virgola a punto e viceversa. Questa funzione è "
            "subordinata alle < Impostazioni Internazionali > del vostro Pc. Es: se le impostazioni "
            "sono settate in virgola non occorre nessuna modifica, se invece sono settate con il "
            "punto si dovrà convertire l'archivio principale e il relativo progetto se creato da "
            "virgola a punto. Successivamente sarà possibile ripristinare da punto a virgola. N.B.: "
            "L'archivio principale si trova dentro la directory di Zav."),
        this);
    Label2->setObjectName(QStringLiteral("Label2"));
    Label2->setWordWrap(true);
    Label2->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    Label2->setGeometry(8, 336, 506, 84);

    setFixedWidth(522);
    resize(522, ShortHeight);
    showNewProjectFields(false);

    connect(Drive1, &platform::DriveListBox::Change, this, &frm_file::Drive1_Change);
    connect(Dir1, &platform::FolderListBox::Change, this, &frm_file::Dir1_Change);
    connect(Command2, &controls::XPButton::Click, this, &frm_file::Command2_Click);
    connect(Command3, &QPushButton::clicked, this, &frm_file::Command3_Click);
    // Enter in the name box presses "Crea"; a double click or Enter on a project opens it.
    connect(Text1, &QLineEdit::returnPressed, this, &frm_file::Command2_Click);
    connect(File1, &QListWidget::itemActivated, this, [this](QListWidgetItem *item) {
        File1->setListIndex(File1->row(item));
        Command1_Click(ApriIndex);
    });
}

void frm_file::showModeless()
{
    show();
    raise();
    activateWindow();
}

void frm_file::showNewProject()
{
    showModeless();
    Command1_Click(NuovoIndex);
}

void frm_file::showNewProjectFields(bool shown)
{
    Label1->setVisible(shown);
    Text1->setVisible(shown);
    Command2->setVisible(shown);
}

QString frm_file::chosenArchive() const
{
    return projectfiles::joinPath(File1->Path(), File1->FileName());
}

bool frm_file::event(QEvent *event)
{
    // The dialog runs its activation whenever it becomes the active window again, except when it
    // comes back from one of its own message or input boxes.
    if (event->type() == QEvent::WindowDeactivate) {
        const QWidget *now = QApplication::activeWindow();
        m_leftForBox = now
            && (qobject_cast<const QMessageBox *>(now) || qobject_cast<const QInputDialog *>(now)
                || qobject_cast<const QFileDialog *>(now));
    } else if (event->type() == QEvent::WindowActivate) {
        if (!m_leftForBox)
            Form_Activate();
        m_leftForBox = false;
    }
    return QDialog::event(event);
}

bool frm_file::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() == QEvent::Enter || event->type() == QEvent::MouseMove) {
        if (watched == Command3) {
            Command3_MouseMove();
        } else {
            const int index = int(Command1.indexOf(qobject_cast<QPushButton *>(watched)));
            if (index >= 0)
                Command1_MouseMove(index);
        }
    }
    return QDialog::eventFilter(watched, event);
}

void frm_file::Form_Activate()
{
    Drive1->setDrive(platform::ProgramFolder::path());
    QString folder = projectfiles::rememberedFolder().value_or(QString());
    if (folder.isEmpty() || !QFileInfo(folder).isDir())
        folder = projectfiles::defaultFolder();
    Dir1->setPath(folder);
    File1->setPattern(QStringLiteral("*.cdb"));
    File1->setPath(folder);
    selectLastProject();
    aggiornamento_silenzioso = false;
}

void frm_file::selectLastProject()
{
    const QFileInfo last(windowmemory::lastProject());
    if (last.fileName().isEmpty() || last.dir() != QDir(File1->Path()))
        return;
    for (int row = 0; row < File1->count(); ++row) {
        if (File1->item(row)->text() == last.fileName()) {
            File1->setListIndex(row);
            File1->scrollToItem(File1->item(row));
            return;
        }
    }
}

void frm_file::rememberOpenProject()
{
    if (engine::VAR_GBL.progetto_corrente)
        windowmemory::setLastProject(*engine::VAR_GBL.progetto_corrente);
}

void frm_file::Drive1_Change()
{
    Dir1->setPath(Drive1->Drive());
}

void frm_file::Dir1_Change()
{
    File1->setPath(Dir1->Path());
}

void frm_file::Command1_Click(int Index)
{
    switch (Index) {
    case ApriIndex: {
        if (File1->ListIndex() < 0)
            return;
        // What is being typed in the open project's grids goes into that project first.
        if (!platform::DataGrid::commitEveryPendingEdit())
            return;
        // The upgrade that opening runs is silent; the flag holds only while it runs.
        aggiornamento_silenzioso = true;
        const bool opened = archiveoperations::openProject(File1->Path(), File1->FileName());
        aggiornamento_silenzioso = false;
        if (!opened)
            return;
        rememberOpenProject();
        if (m_hooks.showProjectInStatusBar)
            m_hooks.showProjectInStatusBar(engine::VAR_GBL.progetto_corrente.value_or(QString()));
        close();
        return;
    }
    case NuovoIndex:
        showNewProjectFields(true);
        Text1->setFocus();
        return;
    case EliminaIndex:
        if (archiveoperations::deleteProject(File1->Path(), File1->FileName()))
            File1->Refresh();
        return;
    case EsciIndex:
        close();
        return;
    case BackupIndex:
        archiveoperations::backup(File1->Path(), File1->FileName());
        return;
    case ConvDatiIndex:
        if (m_hooks.showDecimalConversion)
            m_hooks.showDecimalConversion();
        return;
    case DuplicaIndex:
        if (archiveoperations::duplicateArchive(File1->Path(), File1->FileName()))
            File1->Refresh();
        return;
    default:
        return;
    }
}

void frm_file::Command2_Click()
{
    const QString name = Text1->text();
    if (name.isEmpty()) {
        showNewProjectFields(false);
        return;
    }
    if (!archiveoperations::createProject(File1->Path(), name))
        return;
    rememberOpenProject();
    File1->Refresh();
    if (m_hooks.showProjectInStatusBar)
        m_hooks.showProjectInStatusBar(engine::VAR_GBL.progetto_corrente.value_or(QString()));
    close();
    if (m_hooks.showProjectHeader)
        m_hooks.showProjectHeader();
}

void frm_file::Command3_Click()
{
    if (File1->ListIndex() < 0)
        return;
    archiveoperations::upgrade(chosenArchive(), aggiornamento_silenzioso);
}

void frm_file::Command1_MouseMove(int Index)
{
    resize(width(), Index == ConvDatiIndex ? TallHeight : ShortHeight);
}

void frm_file::Command3_MouseMove()
{
    resize(width(), ShortHeight);
}

} // namespace zav::shell
