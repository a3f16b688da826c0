#include "register/identitypanel.h"

#include "engine/archive.h"
#include "engine/messagetitles.h"
#include "engine/var_gbl.h"
#include "platform/db.h"
#include "platform/dialogs.h"
#include "platform/steps.h"
#include "platform/ui/datasource.h"
#include "platform/ui/formbutton.h"
#include "platform/ui/formregistry.h"
#include "platform/ui/twips.h"
#include "platform/ui/valuelistbox.h"
#include "platform/vb.h"
#include "register/frm_cod_piani.h"
#include "register/unitcodes.h"
#include "register/unitidentity.h"
#include "register/unitregisterforms.h"
#include "workspace/frm_ins_coeff.h"
#include "workspace/unitkey.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPainter>
#include <QPushButton>
#include <QSignalBlocker>
#include <qdrawutil.h>

namespace zav::register_ {

using engine::VAR_GBL;
using platform::dialogs;
using platform::MsgButtons;
using platform::MsgIcon;
using platform::MsgResult;

namespace {

// A list's entry by its text; none when the list lacks it.
void choose(QComboBox *combo, const QString &value)
{
    combo->setCurrentIndex(combo->findText(value));
}

} // namespace

IdentityPanel::IdentityPanel(frm_cod_piani *form)
    : QGroupBox(QStringLiteral("Modifica dati condomino"), form)
    , m_form(form)
{
    setObjectName(QStringLiteral("Frame1"));
    setAutoFillBackground(true);
    setGeometry(platform::Twips::toPixels(QRect(1500, 1000, 9000, 3600), form));

    Label5 = platform::formControl<QLabel>("Label5", QString(), this);
    Label5->setAutoFillBackground(true);
    QPalette band = Label5->palette();
    band.setColor(QPalette::Window, QColor(0, 0, 128));
    band.setColor(QPalette::WindowText, Qt::white);
    Label5->setPalette(band);
    Label5->setAlignment(Qt::AlignCenter);
    Text3 = platform::formControl<QLineEdit>("Text3", this);
    Text12 = platform::formControl<QLineEdit>("Text12", this);
    Combo3 = platform::formControl<QComboBox>("Combo3", this);
    Combo4 = platform::formControl<QComboBox>("Combo4", this);
    // Editable, so that it can be emptied: an empty floor code keeps the stored one.
    Combo5 = platform::formControl<platform::ValueListBox>("Combo5", this);
    Combo5->setEditable(true);
    Combo5->addItems(panelFloorCodes());
    Combo5->setCurrentIndex(-1);
    Text2 = platform::formControl<QLineEdit>("Text2", this);
    Command3 = platform::formButton(QStringLiteral("Command3"), QStringLiteral("Modifica"), this);
    Command4 = platform::formButton(QStringLiteral("Command4"), QStringLiteral("Esci"), this);

    auto *layout = new QGridLayout(this);
    layout->addWidget(Label5, 0, 0, 1, 4);
    const auto caption = [this](const char *text) { return new QLabel(QString::fromUtf8(text), this); };
    layout->addWidget(caption("Nome:"), 1, 0);
    layout->addWidget(Text3, 1, 1, 1, 3);
    layout->addWidget(caption("Descrizione:"), 2, 0);
    layout->addWidget(Text12, 2, 1, 1, 3);
    layout->addWidget(caption("Pal. n°:"), 3, 0);
    layout->addWidget(Combo3, 3, 1);
    layout->addWidget(caption("Scala n°:"), 3, 2);
    layout->addWidget(Combo4, 3, 3);
    layout->addWidget(caption("Piano:"), 4, 0);
    layout->addWidget(Combo5, 4, 1);
    layout->addWidget(caption("Interno:"), 4, 2);
    layout->addWidget(Text2, 4, 3);
    auto *buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(Command3);
    buttons->addWidget(Command4);
    layout->addLayout(buttons, 5, 0, 1, 4);

    connect(Combo3, &QComboBox::currentIndexChanged, this, &IdentityPanel::fillStairs);
    connect(Command3, &QPushButton::clicked, this, &IdentityPanel::Command3_Click);
    connect(Command4, &QPushButton::clicked, this, &IdentityPanel::Command4_Click);
    // As tall as its rows need.
    resize(width(), sizeHint().height());
    hide();
}

void IdentityPanel::paintEvent(QPaintEvent *event)
{
    QGroupBox::paintEvent(event);
    // The group box's own frame starts under the caption, which would stand among the grid's rows.
    QPainter painter(this);
    qDrawShadePanel(&painter, rect(), palette(), false, 2);
}

void IdentityPanel::fillStairs()
{
    const QString kept = Combo4->currentText();
    Combo4->clear();
    const std::optional<double> building = platform::vb::CDbl(Combo3->currentText());
    if (!building || !VAR_GBL.progetto_corrente)
        return;
    platform::tryStep([&] {
        platform::Database db = platform::Database::open(*VAR_GBL.progetto_corrente);
        const platform::Recordset rs = db.select(platform::TableQuery {
            engine::archive::COMPOS_PAL, { { QStringLiteral("NUM_PAL"), *building } }, {} });
        if (!rs.isEmpty())
            Combo4->addItems(registerStairs(rs.value(0, rs.fieldIndex(QStringLiteral("NUM_SCALE")))));
    });
    choose(Combo4, kept);
}

void IdentityPanel::open()
{
    {
        const QSignalBlocker quiet(Combo3);
        choose(Combo3, m_form->Combo1->currentText());
    }
    // The building shown lists its stairs as they stand now.
    fillStairs();
    choose(Combo4, m_form->Combo2->currentText());
    platform::DataSource *data = m_form->Data1;
    if (!data->noCurrentRow()) {
        const int row = data->currentRow();
        const QString owner = workspace::Unit::headerText(data->value(row, QStringLiteral("PROPRIETARIO")));
        Text12->setText(workspace::Unit::headerText(data->value(row, QStringLiteral("DESCRIZIONE"))));
        Label5->setText(owner);
        Text3->setText(owner);
        Combo5->setCurrentText(workspace::Unit::headerText(data->value(row, QStringLiteral("SIGLA"))));
        Text2->setText(workspace::Unit::headerText(data->value(row, QStringLiteral("INTERNO"))));
    }
    show();
    raise();
}

void IdentityPanel::Command3_Click()
{
    platform::DataSource *data = m_form->Data1;
    if (data->noCurrentRow() || !VAR_GBL.progetto_corrente)
        return;
    const int row = data->currentRow();
    const qint64 unitRow = data->rowid(row);
    const QString storedOwner = workspace::Unit::headerText(data->value(row, QStringLiteral("PROPRIETARIO")));
    if (dialogs().msgBox(QStringLiteral("Modificare i dati di %1 ?").arg(storedOwner), MsgButtons::YesNo,
            MsgIcon::Information, engine::MessageTitle::ZavWarningNoDash)
        != MsgResult::Yes)
        return;
    if (Combo5->currentText().isEmpty())
        Combo5->setCurrentText(workspace::Unit::headerText(data->value(row, QStringLiteral("SIGLA"))));
    if (Text2->text().isEmpty())
        Text2->setText(workspace::Unit::headerText(data->value(row, QStringLiteral("INTERNO"))));

    const UnitIdentity changed { Text3->text(), Text12->text(), Combo3->currentText(), Combo4->currentText(),
        Combo5->currentText(), Text2->text() };
    // A workspace showing this unit holds its key: closed first, it stores its totals under the key
    // that still exists, and no room is later added under a key that no longer does.
    const workspace::UnitKey stored { storedOwner,
        workspace::Unit::headerText(data->value(row, QStringLiteral("NUM_PAL"))),
        workspace::Unit::headerText(data->value(row, QStringLiteral("SCALA"))),
        workspace::Unit::headerText(data->value(row, QStringLiteral("SIGLA"))),
        workspace::Unit::headerText(data->value(row, QStringLiteral("INTERNO"))) };
    const QString workspaceName = QString::fromLatin1(workspace::frm_ins_coeff::FormName);
    if (const auto *shown = platform::FormRegistry::loaded<workspace::frm_ins_coeff>(workspaceName);
        shown && shown->unit() && shown->unit()->key == stored)
        platform::FormRegistry::unload(workspaceName);
    const IdentityChange::Outcome outcome = IdentityChange::run(*VAR_GBL.progetto_corrente, unitRow, changed);
    switch (outcome.result) {
    case IdentityChange::Result::Refused:
        dialogs().msgBox(
            outcome.message, MsgButtons::Ok, MsgIcon::Exclamation, engine::MessageTitle::ZavWarningNoDash);
        return;
    case IdentityChange::Result::Failed:
        dialogs().msgBox(
            QStringLiteral("I dati di %1 non sono stati modificati.\n%2").arg(storedOwner, outcome.message),
            MsgButtons::Ok, MsgIcon::Critical, engine::MessageTitle::ZavWarningNoDash);
        return;
    case IdentityChange::Result::Changed:
        break;
    }
    // The grid keeps the row where it stands until the list is next read; writing the same values
    // through the grid's source gives its copy of the row what the archive now holds.
    platform::tryStep([&] { data->setValues(row, IdentityChange::unitRowValues(changed)); });
    dialogs().msgBox(QStringLiteral("Modifica effettuata."), MsgButtons::Ok, MsgIcon::Information,
        QStringLiteral("!!! Modifica Dati Utente !!!"));
    hide();
    unitsChanged();
}

void IdentityPanel::Command4_Click()
{
    hide();
}

} // namespace zav::register_
