#include "shell/forms/frm_opt.h"

#include "shell/project/databasefailure.h"

#include "engine/archive.h"
#include "engine/var_gbl.h"
#include "platform/ui/datasource.h"
#include "platform/db.h"
#include "platform/dialogs.h"

#include <QCheckBox>
#include <QCloseEvent>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace zav::shell {

using engine::VAR_GBL;

namespace {

QCheckBox *checkBox(const char *name, const QString &caption, QWidget *parent)
{
    auto *box = new QCheckBox(caption, parent);
    box->setObjectName(QString::fromLatin1(name));
    return box;
}

} // namespace

frm_opt::frm_opt(QWidget *parent)
    : QWidget(parent, Qt::Dialog)
{
    setObjectName(QStringLiteral("frm_opt"));
    setWindowTitle(QStringLiteral("Opzioni"));

    Data1 = new platform::DataSource(this);
    Data1->setObjectName(QStringLiteral("Data1"));

    Label2 = new QLabel(QStringLiteral("Progetto"), this);
    Label2->setObjectName(QStringLiteral("Label2"));
    Frame1 = new QGroupBox(QStringLiteral("Effettuare calcolo per:"), this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    Check1 = checkBox("Check1", QStringLiteral("Superficie"), Frame1);
    Check2 = checkBox("Check2", QStringLiteral("Volume"), Frame1);
    auto *frame1 = new QVBoxLayout(Frame1);
    frame1->addWidget(Check1);
    frame1->addWidget(Check2);

    Label1 = new QLabel(QStringLiteral("Gridal"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Frame2 = new QGroupBox(QStringLiteral("Inserire il risulato nel Campo:"), this);
    Frame2->setObjectName(QStringLiteral("Frame2"));
    Check3 = checkBox("Check3", QStringLiteral("Mq."), Frame2);
    Check4 = checkBox("Check4", QStringLiteral("Espressione"), Frame2);
    auto *frame2 = new QVBoxLayout(Frame2);
    frame2->addWidget(Check3);
    frame2->addWidget(Check4);

    Command1 = new QPushButton(QStringLiteral("Registra"), this);
    Command1->setObjectName(QStringLiteral("Command1"));
    Command1->setToolTip(QStringLiteral("Registra ed esce"));
    Command1->setAutoDefault(false);

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(Label2);
    layout->addWidget(Frame1);
    layout->addWidget(Label1);
    layout->addWidget(Frame2);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Command1);
    layout->addLayout(buttons);

    // A box set by the program reports its change as a click does, as the pairs rely on.
    connect(Check1, &QCheckBox::toggled, this, &frm_opt::Check1_Click);
    connect(Check2, &QCheckBox::toggled, this, &frm_opt::Check2_Click);
    connect(Check3, &QCheckBox::toggled, this, &frm_opt::Check3_Click);
    connect(Check4, &QCheckBox::toggled, this, &frm_opt::Check4_Click);
    connect(Command1, &QPushButton::clicked, this, &frm_opt::Command1_Click);

    Data1->bind(Check1, QStringLiteral("CHECK_SUP"));
    Data1->bind(Check2, QStringLiteral("CHECK_VOL"));
    Data1->bind(Check3, QStringLiteral("CHK_TOTMQ"));
    Data1->bind(Check4, QStringLiteral("CHK_EXPRESS"));

    Form_Load();
}

void frm_opt::Form_Load()
{
    Data1->setDatabaseName(VAR_GBL.progetto_corrente.value_or(QString()));
    Data1->setRecordSource(engine::archive::ANA_CONDO);
    showRows(*Data1);
}

void frm_opt::Check1_Click()
{
    if (Check1->isChecked())
        Check2->setChecked(false);
}

void frm_opt::Check2_Click()
{
    if (Check2->isChecked())
        Check1->setChecked(false);
}

void frm_opt::Check3_Click()
{
    if (Check3->isChecked())
        Check4->setChecked(false);
}

void frm_opt::Check4_Click()
{
    if (Check4->isChecked())
        Check3->setChecked(false);
}

void frm_opt::Command1_Click()
{
    try {
        Data1->updateRecord();
    } catch (const platform::DbError &error) {
        reportDatabaseFailure(error.message());
        return;
    }
    close();
}

void frm_opt::closeEvent(QCloseEvent *event)
{
    try {
        Data1->storePending();
    } catch (const platform::DbError &error) {
        reportDatabaseFailure(error.message());
    }
    event->accept();
}

} // namespace zav::shell
