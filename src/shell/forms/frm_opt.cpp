#include "shell/forms/frm_opt.h"

#include "engine/archive.h"
#include "platform/ui/datasource.h"
#include "platform/ui/formbutton.h"
#include "shell/forms/projectbinding.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace zav::shell {

frm_opt::frm_opt(QWidget *parent)
    : RecordForm(QStringLiteral("frm_opt"), QStringLiteral("Opzioni"),
        projectBinding(engine::archive::ANA_CONDO), parent)
    , Data1(dataSource())
{
    Label2 = new QLabel(QStringLiteral("Progetto"), this);
    Label2->setObjectName(QStringLiteral("Label2"));
    Frame1 = new QGroupBox(QStringLiteral("Effettuare calcolo per:"), this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    Check1 = platform::formControl<QCheckBox>("Check1", QStringLiteral("Superficie"), Frame1);
    Check2 = platform::formControl<QCheckBox>("Check2", QStringLiteral("Volume"), Frame1);
    auto *frame1 = new QVBoxLayout(Frame1);
    frame1->addWidget(Check1);
    frame1->addWidget(Check2);

    Label1 = new QLabel(QStringLiteral("Gridal"), this);
    Label1->setObjectName(QStringLiteral("Label1"));
    Frame2 = new QGroupBox(QStringLiteral("Inserire il risulato nel Campo:"), this);
    Frame2->setObjectName(QStringLiteral("Frame2"));
    Check3 = platform::formControl<QCheckBox>("Check3", QStringLiteral("Mq."), Frame2);
    Check4 = platform::formControl<QCheckBox>("Check4", QStringLiteral("Espressione"), Frame2);
    auto *frame2 = new QVBoxLayout(Frame2);
    frame2->addWidget(Check3);
    frame2->addWidget(Check4);

    Command1 = platform::formButton(QStringLiteral("Command1"), QStringLiteral("Registra"), this);
    Command1->setToolTip(QStringLiteral("Registra ed esce"));

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
    if (!load())
        return;
    // The calculation takes the weighted surface only when "Superficie" is stored ticked, the
    // volume otherwise (an empty field included): the boxes show that base, so that a new project
    // shows "Volume" rather than no base at all.
    const bool bySurface
        = !Data1->noCurrentRow() && Data1->value(Data1->currentRow(), QStringLiteral("CHECK_SUP")).toBool();
    Check1->setChecked(bySurface);
    Check2->setChecked(!bySurface);
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
    if (attempt([this] { Data1->updateRecord(); }))
        close();
}

} // namespace zav::shell
