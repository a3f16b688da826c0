#include "tables/frm_copia_mil.h"

#include "engine/archive.h"
#include "engine/archivevalues.h"
#include "engine/databasefailure.h"
#include "engine/messagetitles.h"
#include "engine/var_gbl.h"
#include "platform/db.h"
#include "platform/dialogs.h"
#include "platform/steps.h"
#include "platform/ui/datagrid.h"
#include "platform/ui/datasource.h"
#include "platform/ui/formbutton.h"
#include "platform/ui/formregistry.h"
#include "workspace/frm_ins_coeff.h"
#include "workspace/totaltext.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QMdiSubWindow>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

namespace zav::tables {

using engine::VAR_GBL;
using platform::dialogs;
using platform::MsgButtons;
using platform::MsgIcon;
using workspace::frm_ins_coeff;
using Source = UserTableCopy::Source;

namespace {

void tell(const QString &text)
{
    dialogs().msgBox(text, MsgButtons::Ok, MsgIcon::Information, engine::MessageTitle::ZavWarning);
}

void reportFailure(const QString &text)
{
    dialogs().msgBox(text, MsgButtons::Ok, MsgIcon::Critical, engine::MessageTitle::ZavWarning);
}

frm_ins_coeff *openWorkspace()
{
    return platform::FormRegistry::loaded<frm_ins_coeff>(QString::fromLatin1(frm_ins_coeff::FormName));
}

QRadioButton *option(const char *name, const char *caption, QWidget *parent)
{
    auto *button = new QRadioButton(QString::fromUtf8(caption), parent);
    button->setObjectName(QString::fromLatin1(name));
    return button;
}

QLabel *label(const char *name, const char *caption, QWidget *parent)
{
    auto *text = new QLabel(QString::fromUtf8(caption), parent);
    text->setObjectName(QString::fromLatin1(name));
    return text;
}

} // namespace

frm_copia_mil::frm_copia_mil(QWidget *parent)
    : QWidget(parent, Qt::Window)
{
    setObjectName(QString::fromLatin1(FormName));
    setWindowTitle(QStringLiteral("Copia Millesimi"));

    Option1 = option("Option1", "Copia Millesimi Globali", this);
    Option2 = option("Option2", "Copia Millesimi Pal.", this);
    Option3 = option("Option3", "Copia Millesimi Scala", this);
    Label6 = label("Label6", "Palazzina:", this);
    Label7 = label("Label7", "Scala:", this);
    Combo1 = new QComboBox(this);
    Combo1->setObjectName(QStringLiteral("Combo1"));
    Combo2 = new QComboBox(this);
    Combo2->setObjectName(QStringLiteral("Combo2"));
    Command1[0] = platform::formButton(QStringLiteral("Command1_0"), QStringLiteral("Copia"), this);
    Command1[1] = platform::formButton(QStringLiteral("Command1_1"), QStringLiteral("Esci"), this);
    ProgressBar1 = new QProgressBar(this);
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));
    ProgressBar1->setValue(0);

    auto *lists = new QGridLayout;
    lists->addWidget(Label6, 0, 0);
    lists->addWidget(Combo1, 0, 1);
    lists->addWidget(Label7, 1, 0);
    lists->addWidget(Combo2, 1, 1);
    auto *buttons = new QHBoxLayout;
    buttons->addWidget(Command1[0]);
    buttons->addStretch();
    buttons->addWidget(Command1[1]);
    auto *layout = new QVBoxLayout(this);
    layout->addWidget(Option1);
    layout->addWidget(Option2);
    layout->addWidget(Option3);
    layout->addLayout(lists);
    layout->addWidget(ProgressBar1);
    layout->addLayout(buttons);
    resize(360, 260);

    connect(Combo1, &QComboBox::activated, this, &frm_copia_mil::Combo1_Click);
    for (int i = 0; i < int(Command1.size()); ++i)
        connect(Command1[i], &QPushButton::clicked, this, [this, i] { Command1_Click(i); });
    Form_Load();
}

frm_copia_mil::~frm_copia_mil() = default;

void frm_copia_mil::Form_Load()
{
    if (!VAR_GBL.progetto_corrente)
        return;
    try {
        platform::Database db = platform::Database::open(*VAR_GBL.progetto_corrente);
        if (db.table(QString(engine::archive::ANA_CONDO)).isEmpty())
            return;
        // The buildings that exist: after a deletion their numbers have a gap that a count hides.
        const QList<int> buildings = engine::archive::buildingNumbers(db);
        db.close();
        Combo1->clear();
        for (int number : buildings)
            Combo1->addItem(QString::number(number));
    } catch (const platform::DbError &error) {
        reportFailure(engine::databaseFailureText(error));
        return;
    }
    // The building shown lists its stairs; at opening a building without stairs just lists none.
    if (Combo1->count() > 0)
        fillStairs(false);
}

void frm_copia_mil::Combo1_Click()
{
    fillStairs(true);
}

void frm_copia_mil::fillStairs(bool tellWhy)
{
    Combo2->clear();
    if (!VAR_GBL.progetto_corrente)
        return;
    const QString building = Combo1->currentText();
    platform::Recordset buildings;
    try {
        platform::Database db = platform::Database::open(*VAR_GBL.progetto_corrente);
        buildings = db.table(QString(engine::archive::COMPOS_PAL));
    } catch (const platform::DbError &error) {
        reportFailure(engine::databaseFailureText(error));
        return;
    }
    if (buildings.isEmpty()) {
        if (tellWhy)
            tell(QStringLiteral("Non sono ancora state inserite palazzine"));
        return;
    }
    // A building missing from the list has no stairs recorded, as one whose count is empty.
    QVariant stairs;
    for (int row = 0; row < buildings.recordCount(); ++row) {
        if (engine::ArchiveValues::text(buildings.value(row, 2)) == building) {
            stairs = buildings.value(row, 3);
            break;
        }
    }
    if (engine::ArchiveValues::isEmpty(stairs)) {
        if (tellWhy)
            tell(QStringLiteral("Nessuna scala inserita nella palazzina n°: ") + building);
        return;
    }
    Combo2->addItem(QString(engine::archive::NoStair));
    Combo2->addItems(engine::archive::stairsOfBuilding(stairs));
}

void frm_copia_mil::Command1_Click(int Index)
{
    if (Index == 1) {
        close();
        // The workspace takes the whole window again.
        if (frm_ins_coeff *workspace = openWorkspace()) {
            QWidget *window = qobject_cast<QMdiSubWindow *>(workspace->parentWidget())
                ? workspace->parentWidget()
                : static_cast<QWidget *>(workspace);
            if (window->isVisible())
                window->showMaximized();
        }
        return;
    }
    if (Index != 0)
        return;
    if (Option1->isChecked())
        copia_millesimi_globali();
    else if (Option2->isChecked())
        copia_millesimi_pal();
    else if (Option3->isChecked())
        copia_millesimi_scala_tab();
    else
        tell(QStringLiteral("Nessuna opzione selezionata."));
}

void frm_copia_mil::copia_millesimi_globali()
{
    copy(Source::General);
}

void frm_copia_mil::copia_millesimi_pal()
{
    if (Combo1->currentText().isEmpty()) {
        tell(QStringLiteral("Nessuna palazzina selezionata"));
        return;
    }
    copy(Source::Building);
}

void frm_copia_mil::copia_millesimi_scala_tab()
{
    if (Combo1->currentText().isEmpty() || Combo2->currentText().isEmpty()) {
        tell(QStringLiteral("Nessuna palazzina o nessuna Scala selezionata"));
        return;
    }
    copy(Source::Stair);
}

void frm_copia_mil::copy(Source source)
{
    ProgressBar1->setValue(1);
    if (!VAR_GBL.progetto_corrente) {
        tell(QStringLiteral("Nessun progetto selezionato"));
        return;
    }
    const QString target = VAR_GBL.tabella_selezionata;
    UserTableCopy::Outcome outcome;
    try {
        outcome = UserTableCopy::copy(
            *VAR_GBL.progetto_corrente, source, Combo1->currentText(), Combo2->currentText(), target);
    } catch (const platform::DbError &error) {
        reportFailure(QStringLiteral("Copia non effettuata: nessuna riga è stata aggiunta alla tabella %1.\n")
                          .arg(target)
            + engine::databaseFailureText(error));
        return;
    }
    switch (outcome.end) {
    case UserTableCopy::End::NoTarget:
        dialogs().msgBox(target.isEmpty()
                ? QStringLiteral("Nessuna Tabella selezionata.")
                : QStringLiteral("La tabella %1 non si trova nell'archivio: nessuna riga copiata.")
                      .arg(target),
            MsgButtons::Ok, MsgIcon::Exclamation, engine::MessageTitle::ZavWarning);
        return;
    case UserTableCopy::End::EmptySource:
        tell(UserTableCopy::emptySourceMessage(source));
        return;
    case UserTableCopy::End::Copied:
        break;
    }
    tell(QStringLiteral("Copia effettuata con successo"));
    // The workspace showing the table shows the appended rows, and their total: the rounding to a
    // total starts from it.
    frm_ins_coeff *workspace = openWorkspace();
    if (workspace && workspace->TDBGrid1->caption().compare(target, Qt::CaseInsensitive) == 0) {
        workspace->Data1->setRecordSource(platform::TableQuery { target, {}, {} });
        platform::tryStep([workspace] {
            workspace->Data1->refresh();
            workspace->Label20->setText(
                workspace::TotalText::columnTotals(*workspace->Data1, { QStringLiteral("MILLESIMI") })
                    .constFirst());
        });
    }
}

} // namespace zav::tables
