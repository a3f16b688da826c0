#include "engine/ui/attesa.h"

#include "platform/dialogs.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QProgressBar>
#include <QVBoxLayout>

namespace zav::engine::ui {

ATTESA::ATTESA(QWidget *parent)
    : QWidget(parent, Qt::Dialog)
    , Label1(new QLabel(QStringLiteral("Attendere. Elaborazione in Corso."), this))
    , Label2(new QLabel(this))
    , Label3(new QLabel(QStringLiteral("Elaborata U.I. n°:"), this))
    , Label4(new QLabel(this))
    , Label5(new QLabel(this))
    , ProgressBar1(new QProgressBar(this))
{
    setObjectName(QStringLiteral("ATTESA"));
    setWindowTitle(platform::programTitle());
    Label1->setObjectName(QStringLiteral("Label1"));
    Label2->setObjectName(QStringLiteral("Label2"));
    Label3->setObjectName(QStringLiteral("Label3"));
    Label4->setObjectName(QStringLiteral("Label4"));
    Label5->setObjectName(QStringLiteral("Label5"));
    ProgressBar1->setObjectName(QStringLiteral("ProgressBar1"));

    Label1->setAlignment(Qt::AlignCenter);
    Label2->setAlignment(Qt::AlignCenter);
    // The counter line is shown only while a run counts.
    Label3->setVisible(false);
    Label4->setVisible(false);
    Label5->setVisible(false);
    // A plain bar, 0 to 100 until told otherwise, with no text of its own.
    ProgressBar1->setRange(0, 100);
    ProgressBar1->setValue(0);
    ProgressBar1->setTextVisible(false);

    auto *contatore = new QHBoxLayout;
    contatore->addStretch();
    contatore->addWidget(Label3);
    contatore->addWidget(Label5);
    contatore->addWidget(Label4);
    contatore->addStretch();

    auto *layout = new QVBoxLayout(this);
    layout->addWidget(Label1);
    layout->addWidget(Label2);
    layout->addLayout(contatore);
    layout->addWidget(ProgressBar1);
    setMinimumWidth(360);
}

} // namespace zav::engine::ui
