#include "register/bulkpanel.h"

#include "engine/databasefailure.h"
#include "engine/messagetitles.h"
#include "engine/var_gbl.h"
#include "platform/db.h"
#include "platform/dialogs.h"
#include "platform/steps.h"
#include "platform/ui/datagrid.h"
#include "platform/ui/datasource.h"
#include "platform/ui/formbutton.h"
#include "platform/ui/twips.h"
#include "platform/ui/valuelistbox.h"
#include "platform/vb.h"
#include "register/frm_cod_piani.h"
#include "register/unitcodes.h"
#include "register/unitregisterforms.h"
#include "workspace/unitkey.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <cmath>
#include <limits>

namespace zav::register_ {

using engine::VAR_GBL;
using platform::dialogs;
using platform::MsgButtons;
using platform::MsgIcon;
using platform::MsgResult;

namespace {

void refuse(const QString &message)
{
    dialogs().msgBox(message, MsgButtons::Ok, MsgIcon::Exclamation, engine::MessageTitle::ZavWarning);
}

} // namespace

BulkPanel::BulkPanel(frm_cod_piani *form)
    : QGroupBox(QStringLiteral("Modifica/Duplica"), form)
    , m_form(form)
{
    setObjectName(QStringLiteral("Frame2"));
    setAutoFillBackground(true);
    setGeometry(platform::Twips::toPixels(QRect(1500, 700, 9000, 4600), form));

    const auto check = [this](const char *name, const char *caption) {
        return platform::formControl<QCheckBox>(name, QString::fromUtf8(caption), this);
    };
    const auto box = [this](const char *name) { return platform::formControl<QLineEdit>(name, this); };
    Check1 = check("Check1", "Nome:");
    Check2 = check("Check2", "Piano:");
    Check3 = check("Check3", "Step Interno:");
    Check4 = check("Check4", "Step H_terra:");
    Check5 = check("Check5", "H_piano:");
    Check6 = check("Check6", "Step H_asc.:");
    Check7 = check("Check7", "Descr.:");
    Text1 = box("Text1");
    Combo6 = platform::formControl<platform::ValueListBox>("Combo6", this);
    Combo6->addItems(panelFloorCodes());
    Combo6->addItem(QString());
    Combo6->setCurrentIndex(-1);
    Text4 = box("Text4");
    Text5 = box("Text5");
    Text9 = box("Text9");
    Text6 = box("Text6");
    Text7 = box("Text7");
    Text10 = box("Text10");
    Text11 = box("Text11");
    Text8 = box("Text8");
    for (QLineEdit *height : { Text5, Text9, Text7, Text10 })
        height->setToolTip(QStringLiteral("Incremento dell'altezza"));
    Command7 = platform::formButton(QStringLiteral("Command7"), QStringLiteral("Modifica"), this);
    Command9 = platform::formButton(QStringLiteral("Command9"), QStringLiteral("Duplica"), this);
    Command6 = platform::formButton(QStringLiteral("Command6"), QStringLiteral("Sel. Tutti"), this);
    Command8 = platform::formButton(QStringLiteral("Command8"), QStringLiteral("Esci"), this);
    Command9->setEnabled(false);

    auto *layout = new QGridLayout(this);
    const auto caption = [this](const char *text) { return new QLabel(QString::fromUtf8(text), this); };
    layout->addWidget(Check1, 0, 0);
    layout->addWidget(Text1, 0, 1, 1, 3);
    layout->addWidget(Check2, 1, 0);
    layout->addWidget(Combo6, 1, 1);
    layout->addWidget(Check3, 1, 2);
    layout->addWidget(Text4, 1, 3);
    layout->addWidget(Check4, 2, 0);
    layout->addWidget(Text5, 2, 1);
    layout->addWidget(caption("H. di partenza:"), 2, 2);
    layout->addWidget(Text9, 2, 3);
    layout->addWidget(Check5, 3, 0);
    layout->addWidget(Text6, 3, 1);
    layout->addWidget(Check6, 4, 0);
    layout->addWidget(Text7, 4, 1);
    layout->addWidget(caption("H. di partenza:"), 4, 2);
    layout->addWidget(Text10, 4, 3);
    layout->addWidget(Check7, 5, 0);
    layout->addWidget(Text11, 5, 1, 1, 3);
    layout->addWidget(caption("N° di dupliche:"), 6, 0);
    layout->addWidget(Text8, 6, 1);
    auto *buttons = new QHBoxLayout;
    for (QPushButton *button : { Command7, Command9, Command6, Command8 })
        buttons->addWidget(button);
    layout->addLayout(buttons, 7, 0, 1, 4);

    connect(Command6, &QPushButton::clicked, this, &BulkPanel::Command6_Click);
    connect(Command7, &QPushButton::clicked, this, &BulkPanel::Command7_Click);
    connect(Command8, &QPushButton::clicked, this, &BulkPanel::Command8_Click);
    connect(Command9, &QPushButton::clicked, this, &BulkPanel::Command9_Click);
    connect(Text8, &QLineEdit::textChanged, this, &BulkPanel::Text8_Change);
    // As tall as its rows need.
    resize(width(), sizeHint().height());
    hide();
}

void BulkPanel::open()
{
    const bool noBuilding = m_form->Combo1->currentText().isEmpty();
    const bool noStair = m_form->Combo2->currentText().isEmpty();
    if (noBuilding && noStair)
        return;
    if (noBuilding || noStair) {
        dialogs().msgBox(QStringLiteral("Palazzina o Scala non inserita"), MsgButtons::Ok, MsgIcon::Critical,
            engine::MessageTitle::Warning);
        return;
    }
    if (dialogs().msgBox(QStringLiteral("Se si modificano i dati dei condomini l'archivio coefficienti non "
                                        "verrà aggiornato. Per effettuare delle modifiche usare il tasto "
                                        "Modifica Dati. Vuoi continuare ? "),
            MsgButtons::YesNo, MsgIcon::Information, engine::MessageTitle::Information)
        != MsgResult::Yes)
        return;
    show();
    raise();
    platform::DataSource *data = m_form->Data1;
    if (data->noCurrentRow())
        return;
    const int row = data->currentRow();
    const auto field = [&](const char *name) {
        return workspace::Unit::headerText(data->value(row, QString::fromLatin1(name)));
    };
    Text1->setText(field("PROPRIETARIO"));
    // A floor code the list lacks leaves the list as it was.
    if (const int index = Combo6->findText(field("SIGLA")); index >= 0)
        Combo6->setCurrentIndex(index);
    Text4->setText(field("INTERNO"));
    Text11->setText(field("DESCRIZIONE"));
    Text9->setText(field("HTERRA"));
    Text10->setText(field("HASCENSORE"));
    Text6->setText(field("HPIANO"));
}

void BulkPanel::Command6_Click()
{
    for (QCheckBox *box : { Check1, Check2, Check3, Check4, Check5, Check6, Check7 })
        box->setChecked(true);
}

void BulkPanel::Command8_Click()
{
    hide();
}

void BulkPanel::Text8_Change()
{
    const bool count = !Text8->text().isEmpty();
    Command7->setEnabled(!count);
    Command9->setEnabled(count);
}

bool BulkPanel::anyTicked() const
{
    for (const QCheckBox *box : { Check1, Check2, Check3, Check4, Check5, Check6 }) {
        if (box->isChecked())
            return true;
    }
    return false;
}

void BulkPanel::zeroEmptyBoxes()
{
    for (QLineEdit *box : { Text4, Text5, Text6, Text7, Text9, Text10 }) {
        if (box->text().isEmpty())
            box->setText(QStringLiteral("0"));
    }
}

std::optional<BulkValues> BulkPanel::values(bool duplicate)
{
    // Each number box in use must hold a number; its check box names it in the message.
    const auto number = [](QLineEdit *box, const QCheckBox *owner) -> std::optional<double> {
        const std::optional<double> value = BulkChange::boxNumber(box->text());
        if (!value)
            refuse(QStringLiteral("Attenzione. Il valore \"%1\" di \"%2\" non è un numero: %3.")
                       .arg(box->text(), owner->text(), platform::vb::numberForm()));
        return value;
    };
    const auto stepped
        = [&](QLineEdit *start, QLineEdit *step, const QCheckBox *owner) -> std::optional<SteppedHeight> {
        const std::optional<double> from = number(start, owner);
        if (!from)
            return std::nullopt;
        const std::optional<double> by = number(step, owner);
        if (!by)
            return std::nullopt;
        if (!std::isfinite(*from + *by)) {
            refuse(QStringLiteral("Attenzione. L'altezza di \"%1\" è troppo grande.").arg(owner->text()));
            return std::nullopt;
        }
        return SteppedHeight { *from, *by };
    };

    const auto tooLong = [](const QLineEdit *box, const QCheckBox *owner, int longest) {
        if (box->text().size() <= longest)
            return false;
        refuse(QStringLiteral("Il testo di \"%1\" è troppo lungo: al massimo %2 caratteri.")
                   .arg(owner->text())
                   .arg(longest));
        return true;
    };
    if ((Check1->isChecked() && tooLong(Text1, Check1, OwnerLength))
        || (Check7->isChecked() && tooLong(Text11, Check7, KindLength)))
        return std::nullopt;

    BulkValues values;
    if (Check1->isChecked())
        values.owner = Text1->text();
    if (Check2->isChecked())
        values.floorCode = Combo6->currentText();
    if (Check3->isChecked() && duplicate) {
        const std::optional<double> typed = number(Text4, Check3);
        if (!typed)
            return std::nullopt;
        values.firstInterno = BulkChange::firstUnitNumber(*typed);
        if (!values.firstInterno) {
            refuse(QStringLiteral("Attenzione. L'interno deve essere un numero intero da -32768 a 32767."));
            return std::nullopt;
        }
    }
    if (Check4->isChecked() && !(values.groundHeight = stepped(Text9, Text5, Check4)))
        return std::nullopt;
    if (Check5->isChecked() && !(values.floorHeight = number(Text6, Check5)))
        return std::nullopt;
    if (Check6->isChecked() && !(values.liftHeight = stepped(Text10, Text7, Check6)))
        return std::nullopt;
    if (Check7->isChecked())
        values.description = Text11->text();
    return values;
}

void BulkPanel::showRows()
{
    platform::DataSource *data = m_form->Data1;
    const qint64 current = data->noCurrentRow() ? -1 : data->rowid(data->currentRow());
    try {
        data->refresh();
    } catch (const platform::DbError &error) {
        engine::reportDatabaseError(error);
        return;
    }
    if (const int row = data->rowOf(current); row >= 0)
        data->setCurrentRow(row);
}

void BulkPanel::Command7_Click()
{
    if (!anyTicked() || !VAR_GBL.progetto_corrente)
        return;
    zeroEmptyBoxes();
    const std::optional<BulkValues> chosen = values(false);
    if (!chosen)
        return;
    const QList<qint64> rows = m_form->TDBGrid1->selectedBookmarksInClickOrder();
    if (rows.isEmpty())
        return;
    try {
        platform::Database db = platform::Database::open(*VAR_GBL.progetto_corrente);
        platform::Transaction transaction(db);
        BulkChange::modify(db, rows, *chosen);
        transaction.commit();
    } catch (const platform::DbError &error) {
        dialogs().msgBox(
            QStringLiteral("Nessuna unità è stata modificata.\n%1").arg(engine::databaseFailureText(error)),
            MsgButtons::Ok, MsgIcon::Critical, engine::MessageTitle::ZavWarning);
        return;
    }
    showRows();
    unitsChanged();
    // Done once: the panel closes, so that a second click changes nothing more.
    hide();
}

void BulkPanel::Command9_Click()
{
    const QString building = m_form->Combo1->currentText();
    const QString stair = m_form->Combo2->currentText();
    if (building.isEmpty() || stair.isEmpty()) {
        dialogs().msgBox(QStringLiteral("Palazzina o Scala non inserita"), MsgButtons::Ok, MsgIcon::Critical,
            engine::MessageTitle::Warning);
        return;
    }
    if (!anyTicked() || !VAR_GBL.progetto_corrente)
        return;
    zeroEmptyBoxes();
    const std::optional<BulkValues> chosen = values(true);
    if (!chosen)
        return;
    const std::optional<qint64> typedCount = BulkChange::duplicateCount(Text8->text());
    if (!typedCount) {
        refuse(
            QStringLiteral("Attenzione. Il numero di dupliche \"%1\" non è valido: scrivere un numero intero "
                           "da 1 a %2 con le sole cifre, senza punti, virgole o segni, per esempio 12.")
                .arg(Text8->text(), QString::number(BulkChange::MostDuplicates)));
        return;
    }
    const qint64 count = *typedCount;
    if (chosen->firstInterno
        && (*chosen->firstInterno < std::numeric_limits<qint16>::min()
            || *chosen->firstInterno + count - 1 > std::numeric_limits<qint16>::max())) {
        refuse(QStringLiteral("Attenzione. L'interno deve essere un numero intero da -32768 a 32767."));
        return;
    }
    if (count > BulkChange::DuplicatesWithoutAsking
        && dialogs().msgBox(QStringLiteral("Verranno aggiunte %1 unità. Vuoi continuare ?").arg(count),
               MsgButtons::YesNo, MsgIcon::Question, engine::MessageTitle::ZavWarning)
            != MsgResult::Yes)
        return;
    const std::optional<double> number = platform::vb::CDbl(building);
    try {
        platform::Database db = platform::Database::open(*VAR_GBL.progetto_corrente);
        platform::Transaction transaction(db);
        BulkChange::duplicate(db, number ? qint64(*number) : 0, stair, count, *chosen);
        transaction.commit();
    } catch (const platform::DbError &error) {
        dialogs().msgBox(
            QStringLiteral("Nessuna unità è stata aggiunta.\n%1").arg(engine::databaseFailureText(error)),
            MsgButtons::Ok, MsgIcon::Critical, engine::MessageTitle::ZavWarning);
        return;
    }
    showRows();
    // Done once: the panel closes, so that a second click adds nothing more.
    hide();
    dialogs().msgBox(count == 1
            ? QStringLiteral("È stata aggiunta 1 unità alla palazzina %1, scala %2.").arg(building, stair)
            : QStringLiteral("Sono state aggiunte %1 unità alla palazzina %2, scala %3.")
                  .arg(QString::number(count), building, stair),
        MsgButtons::Ok, MsgIcon::Information, engine::MessageTitle::ZavInformation);
}

} // namespace zav::register_
