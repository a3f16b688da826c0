#include "register/frm_comp_pal.h"

#include "engine/archive.h"
#include "engine/databasefailure.h"
#include "engine/var_gbl.h"
#include "platform/dialogs.h"
#include "platform/ui/commandregistry.h"
#include "platform/ui/datasource.h"
#include "platform/ui/formbutton.h"
#include "platform/ui/formregistry.h"
#include "register/buildings.h"
#include "register/unitregisterforms.h"

#include <QApplication>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QStyle>
#include <QVBoxLayout>

namespace zav::register_ {

using engine::VAR_GBL;
using platform::dialogs;
using platform::MsgButtons;
using platform::MsgIcon;
using platform::MsgResult;

namespace {

const QString Attention = QStringLiteral("!!! Zav - Attenzione - !!!");
const QString Information = QStringLiteral("!!! Zav - Informazioni - !!!");
const QString Warning = QStringLiteral("!!! Attenzione !!!");

std::function<void()> &beeper()
{
    static std::function<void()> beep = [] { QApplication::beep(); };
    return beep;
}

void tell(const QString &text, const QString &title)
{
    dialogs().msgBox(text, MsgButtons::Ok, MsgIcon::Information, title);
}

/** @brief Tells that an answer is not a number of buildings. */
void notANumber(const QString &answer)
{
    tell(QStringLiteral("\"%1\" non è un numero valido: inserire un numero intero maggiore di zero.")
             .arg(answer),
        Attention);
}

void reportArchiveFailure(const QString &text)
{
    dialogs().msgBox(text, MsgButtons::Ok, MsgIcon::Critical, platform::programTitle());
}

platform::FormBinding buildingsBinding()
{
    return platform::FormBinding {
        .database = [] { return VAR_GBL.progetto_corrente.value_or(QString()); },
        .recordSource
        = platform::TableQuery { engine::archive::COMPOS_PAL, {}, { QStringLiteral("NUM_PAL") } },
        .reportFailure = reportArchiveFailure,
    };
}

/** @brief The hourglass for the lifetime of the scope. */
class Hourglass
{
public:
    Hourglass() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~Hourglass() { QApplication::restoreOverrideCursor(); }
    Hourglass(const Hourglass &) = delete;
    Hourglass &operator=(const Hourglass &) = delete;
};

QString failureText(const QString &what, const platform::DbError &error)
{
    return what + QStringLiteral(" non riuscita: nessun dato è stato modificato.\n")
        + engine::databaseFailureText(error);
}

} // namespace

frm_comp_pal::frm_comp_pal(QWidget *parent)
    : RecordForm(BuildingsFormName, QStringLiteral("Composizione palazzine"), buildingsBinding(), parent)
    , Data1(dataSource())
{
    Label1 = platform::formControl<QLabel>("Label1", QStringLiteral("Totale palazzine:"), this);
    Label7 = platform::formControl<QLabel>("Label7", QString(), this);
    Label2 = platform::formControl<QLabel>("Label2", QStringLiteral("DATI PALAZZINE"), this);
    Label2->setAlignment(Qt::AlignCenter);
    Command1 = platform::formButton(QStringLiteral("Command1"), QString(), this);
    Command1->setIcon(style()->standardIcon(QStyle::SP_ArrowLeft));
    Command1->setToolTip(QStringLiteral("Pal. Precedente"));
    Command2 = platform::formButton(QStringLiteral("Command2"), QString(), this);
    Command2->setIcon(style()->standardIcon(QStyle::SP_ArrowRight));
    Command2->setToolTip(QStringLiteral("Pal. Successiva"));
    Label3 = platform::formControl<QLabel>("Label3", QStringLiteral("Pal. n°:"), this);
    Label4 = platform::formControl<QLabel>("Label4", QString(), this);
    Label5 = platform::formControl<QLabel>("Label5", QStringLiteral("Descrizione:"), this);
    Text2 = new QLineEdit(this);
    Text2->setObjectName(QStringLiteral("Text2"));
    Text2->setMinimumWidth(280);
    Label6 = platform::formControl<QLabel>("Label6", QStringLiteral("Scale n°:"), this);
    Text3 = new QLineEdit(this);
    Text3->setObjectName(QStringLiteral("Text3"));
    Text3->setMaximumWidth(60);

    Frame1 = new QGroupBox(QStringLiteral("Opzioni"), this);
    Frame1->setObjectName(QStringLiteral("Frame1"));
    Check1 = platform::formControl<QCheckBox>("Check1", QStringLiteral("Riscaldamento"), Frame1);
    Check2 = platform::formControl<QCheckBox>("Check2", QStringLiteral("Volume"), Frame1);
    Check3 = platform::formControl<QCheckBox>("Check3", QStringLiteral("Sup. Rad."), Frame1);
    Check5 = platform::formControl<QCheckBox>("Check5", QStringLiteral("50% Vol e 50% Sup. Rad."), Frame1);
    Check4 = platform::formControl<QCheckBox>("Check4", QStringLiteral("Ascensore"), Frame1);
    for (QCheckBox *criterion : { Check2, Check3, Check5 })
        criterion->setEnabled(false);
    auto *options = new QGridLayout(Frame1);
    options->addWidget(Check1, 0, 0);
    options->addWidget(Check2, 0, 1);
    options->addWidget(Check3, 0, 2);
    options->addWidget(Check5, 1, 1, 1, 2);
    options->addWidget(Check4, 2, 0);

    const char *changeNames[] = { "Command4_0", "Command4_1", "Command4_2" };
    const QString changeCaptions[]
        = { QStringLiteral("&Crea"), QStringLiteral("A&ggiungi"), QStringLiteral("&Elimina") };
    const char *formNames[] = { "Command3_0", "Command3_1", "Command3_2" };
    const QString formCaptions[]
        = { QStringLiteral("&Registra"), QStringLiteral("E&sci"), QStringLiteral("C&od. Piani") };
    for (int i = 0; i < 3; ++i) {
        Command4[i] = platform::formButton(QString::fromLatin1(changeNames[i]), changeCaptions[i], this);
        connect(Command4[i], &QPushButton::clicked, this, [this, i] { Command4_Click(i); });
        Command3[i] = platform::formButton(QString::fromLatin1(formNames[i]), formCaptions[i], this);
        connect(Command3[i], &QPushButton::clicked, this, [this, i] { Command3_Click(i); });
    }
    Command3[2]->setToolTip(QStringLiteral("Codifica Piani"));

    auto *layout = new QVBoxLayout(this);
    auto *total = new QHBoxLayout;
    total->addWidget(Label1);
    total->addWidget(Label7);
    total->addStretch();
    layout->addLayout(total);
    auto *heading = new QHBoxLayout;
    heading->addWidget(Command1);
    heading->addWidget(Label2, 1);
    heading->addWidget(Command2);
    layout->addLayout(heading);
    auto *number = new QHBoxLayout;
    number->addStretch();
    number->addWidget(Label3);
    number->addWidget(Label4);
    number->addStretch();
    layout->addLayout(number);
    auto *fields = new QGridLayout;
    fields->addWidget(Label5, 0, 0);
    fields->addWidget(Text2, 0, 1);
    fields->addWidget(Label6, 1, 0);
    fields->addWidget(Text3, 1, 1, Qt::AlignLeft);
    layout->addLayout(fields);
    layout->addWidget(Frame1);
    auto *buttons = new QHBoxLayout;
    for (QPushButton *button :
        { Command4[0], Command4[1], Command4[2], Command3[2], Command3[0], Command3[1] })
        buttons->addWidget(button);
    layout->addLayout(buttons);

    connect(Check1, &QCheckBox::toggled, this, &frm_comp_pal::Check1_Click);
    connect(Check2, &QCheckBox::clicked, this, &frm_comp_pal::Check2_Click);
    connect(Check3, &QCheckBox::clicked, this, &frm_comp_pal::Check3_Click);
    connect(Check5, &QCheckBox::clicked, this, &frm_comp_pal::Check5_Click);
    connect(Command1, &QPushButton::clicked, this, &frm_comp_pal::Command1_Click);
    connect(Command2, &QPushButton::clicked, this, &frm_comp_pal::Command2_Click);
    // The heating of the building shown decides the criterion boxes, however it came to be shown.
    connect(Data1, &platform::DataSource::currentRowChanged, this, &frm_comp_pal::Check1_Click);
    connect(Data1, &platform::DataSource::refreshed, this, &frm_comp_pal::Check1_Click);

    Data1->bind(Label4, QStringLiteral("NUM_PAL"));
    Data1->bind(Text2, QStringLiteral("DESCRIZIONE"));
    Data1->bind(Text3, QStringLiteral("NUM_SCALE"));
    Data1->bind(Check1, QStringLiteral("RISCALDAMENTO"));
    Data1->bind(Check4, QStringLiteral("ASCENSORE"));

    Form_Load();
}

void frm_comp_pal::setBeeper(std::function<void()> sound)
{
    if (!sound)
        sound = [] { QApplication::beep(); };
    beeper() = std::move(sound);
}

QString frm_comp_pal::archive() const
{
    return Data1->databaseName();
}

void frm_comp_pal::Form_Load()
{
    load();
    readCriterion();
}

void frm_comp_pal::readCriterion()
{
    if (archive().isEmpty())
        return;
    HeaderState header;
    if (!attempt([&] { header = readHeader(archive()); }))
        return;
    if (header.lacksHalfField)
        halfFieldMissing();
    if (!header.exists)
        return;
    if (header.count)
        showCount(*header.count);
    Check2->setChecked(header.criterion.volume);
    Check3->setChecked(header.criterion.radiant);
    Check5->setChecked(header.criterion.half);
}

void frm_comp_pal::halfFieldMissing()
{
    tell(QStringLiteral("L'archivio non è stato aggiornato pertanto non può essere utilizzata l'opzione "
                        "riscaldamento 50% Volume e 50% Sup. Rad."),
        Warning);
}

void frm_comp_pal::showCount(int count)
{
    Label7->setText(QString::number(count));
}

void frm_comp_pal::Check1_Click()
{
    const bool heated = Check1->isChecked();
    for (QCheckBox *criterion : { Check2, Check3, Check5 })
        criterion->setEnabled(heated);
}

void frm_comp_pal::Check2_Click()
{
    if (Check2->isChecked()) {
        Check3->setChecked(false);
        Check5->setChecked(false);
    }
}

void frm_comp_pal::Check3_Click()
{
    if (Check3->isChecked()) {
        Check2->setChecked(false);
        Check5->setChecked(false);
    }
}

void frm_comp_pal::Check5_Click()
{
    if (Check5->isChecked()) {
        Check2->setChecked(false);
        Check3->setChecked(false);
    }
}

void frm_comp_pal::Command1_Click()
{
    if (Data1->noCurrentRow())
        return;
    attempt([this] {
        Data1->movePrevious();
        if (Data1->noCurrentRow()) {
            beeper()();
            Data1->moveFirst();
        }
    });
}

void frm_comp_pal::Command2_Click()
{
    if (Data1->noCurrentRow())
        return;
    attempt([this] {
        Data1->moveNext();
        if (Data1->noCurrentRow()) {
            beeper()();
            Data1->moveLast();
        }
    });
}

void frm_comp_pal::Command3_Click(int index)
{
    switch (index) {
    case 0: { // "Registra"
        bool hasHalf = true;
        const HeatingCriterion criterion { Check2->isChecked(), Check3->isChecked(), Check5->isChecked() };
        attempt([&] { hasHalf = storeCriterion(archive(), criterion); });
        if (!hasHalf)
            halfFieldMissing();
        if (!Data1->noCurrentRow())
            attempt([this] { Data1->update(); });
        // A number of stairs changed changes the stairs the register lists.
        buildingsOrUnitsChanged();
        break;
    }
    case 1: // "Esci"
        if (Check1->isChecked() && !Check2->isChecked() && !Check3->isChecked() && !Check5->isChecked()) {
            const MsgResult answer = dialogs().msgBox(
                QStringLiteral(
                    "Non è stato selezionato il criterio del Riscaldamento -Volume o Sup. Radiante-. "
                    "Se si continua i millesimi riscaldamento calcolati risulteranno sbagliati. "
                    "Continuare ?"),
                MsgButtons::YesNo, MsgIcon::Information, Attention);
            if (answer != MsgResult::Yes)
                return;
        }
        close();
        break;
    case 2: { // "Cod. Piani"
        if (!VAR_GBL.progetto_corrente) {
            tell(QStringLiteral("Nessun progetto selezionato"), Attention);
            return;
        }
        HeaderState header;
        if (!attempt([&] { header = readHeader(*VAR_GBL.progetto_corrente); }) || !header.exists)
            return;
        if (!header.count) {
            tell(QStringLiteral("Attenzione Composizione palazzina non effettuata."), Attention);
            return;
        }
        // The register is a child window of the main window, opened by the main window's command; a
        // window of its own only where no main window serves it.
        if (const platform::CommandRegistry::Handler command
            = platform::CommandRegistry::handler(QStringLiteral("cod_piani"))) {
            command();
            if (platform::FormRegistry::isLoaded(UnitRegisterFormName))
                close();
        } else if (platform::FormRegistry::showModeless(UnitRegisterFormName)) {
            close();
        }
        break;
    }
    default:
        break;
    }
}

void frm_comp_pal::Command4_Click(int index)
{
    // What was typed for the building shown is stored before the buildings are read again.
    if (!attempt([this] { Data1->storePending(); }))
        return;
    switch (index) {
    case 0:
        crea_palazzine();
        break;
    case 1:
        aggiungi_palazzine();
        break;
    case 2:
        elimina_palazzina();
        break;
    default:
        break;
    }
}

std::optional<int> frm_comp_pal::askNumber(const QString &prompt, const QString &title)
{
    const std::optional<QString> answer = dialogs().inputBox(prompt, title);
    if (!answer || answer->trimmed().isEmpty())
        return std::nullopt;
    const std::optional<int> number = wholeNumber(*answer);
    if (!number)
        notANumber(*answer);
    return number;
}

void frm_comp_pal::showBuildings()
{
    showRows();
    Check1_Click();
}

namespace {

/** @brief Tells why a change of the buildings was refused; false when it was done. */
bool refused(const BuildingsResult &result, int number, const QString &answer = {})
{
    switch (result.outcome) {
    case BuildingsOutcome::Done:
        return false;
    case BuildingsOutcome::NoHeader:
        tell(QStringLiteral("Dati Progetto non inseriti. Impossibile continuare"), Information);
        break;
    case BuildingsOutcome::AlreadyCreated:
        tell(QStringLiteral("Palazzine già create. Si può solo Aggiungere o Eliminare"), Information);
        break;
    case BuildingsOutcome::NotANumber:
        notANumber(answer);
        break;
    case BuildingsOutcome::TooMany:
        tell(QStringLiteral("Le palazzine non possono essere più di %1.").arg(MaxBuildings), Attention);
        break;
    case BuildingsOutcome::NumberTooHigh:
        tell(QStringLiteral("Le palazzine non possono avere un numero maggiore di %1: aggiungerne meno.")
                 .arg(MaxBuildings),
            Attention);
        break;
    case BuildingsOutcome::NoSuchBuilding:
        tell(QStringLiteral("La palazzina n° %1 non esiste.").arg(number), Attention);
        break;
    }
    return true;
}

} // namespace

void frm_comp_pal::crea_palazzine()
{
    const std::optional<QString> answer
        = dialogs().inputBox(QStringLiteral("N° di palazzine da creare:"), QStringLiteral("Crea palazzine"));
    if (!answer || answer->trimmed().isEmpty())
        return;
    // The project is checked before the answer: on a project that has its buildings any answer is
    // refused with the same message.
    const std::optional<int> n = wholeNumber(*answer);
    BuildingsResult result;
    try {
        Hourglass hourglass;
        result = createBuildings(archive(), n);
    } catch (const platform::DbError &error) {
        reportFailure(failureText(QStringLiteral("Creazione delle palazzine"), error));
        return;
    }
    if (refused(result, n.value_or(0), *answer))
        return;
    showBuildings();
    showCount(result.count);
    // The open register and workspace show the buildings as they now are.
    buildingsOrUnitsChanged();
}

void frm_comp_pal::aggiungi_palazzine()
{
    const std::optional<int> n
        = askNumber(QStringLiteral("N° di palazzine da aggiungere:"), QStringLiteral("Aggiungi palazzine"));
    if (!n)
        return;
    BuildingsResult result;
    try {
        Hourglass hourglass;
        result = addBuildings(archive(), *n);
    } catch (const platform::DbError &error) {
        reportFailure(failureText(QStringLiteral("Aggiunta delle palazzine"), error));
        return;
    }
    if (refused(result, *n))
        return;
    showBuildings();
    showCount(result.count);
    // The open register and workspace show the buildings as they now are.
    buildingsOrUnitsChanged();
}

void frm_comp_pal::elimina_palazzina()
{
    const std::optional<int> number
        = askNumber(QStringLiteral("N° palazzina da eliminare:"), QStringLiteral("Elimina palazzina"));
    if (!number)
        return;
    bool exists = false;
    for (int row = 0; row < Data1->recordCount() && !exists; ++row)
        exists = Data1->value(row, QStringLiteral("NUM_PAL")).toInt() == *number;
    if (!exists) {
        refused({ BuildingsOutcome::NoSuchBuilding }, *number);
        return;
    }
    if (dialogs().msgBox(QStringLiteral("Elimino la palazzina n° %1 con tutti i suoi dati ?").arg(*number),
            MsgButtons::YesNo, MsgIcon::Critical, Warning, platform::MsgDefault::Second)
        != MsgResult::Yes)
        return;
    if (dialogs().msgBox(QStringLiteral("Sei sicuro ?"), MsgButtons::YesNo, MsgIcon::Critical, Warning,
            platform::MsgDefault::Second)
        != MsgResult::Yes)
        return;
    BuildingsResult result;
    try {
        Hourglass hourglass;
        result = deleteBuilding(archive(), *number);
    } catch (const platform::DbError &error) {
        reportFailure(failureText(QStringLiteral("Eliminazione della palazzina"), error));
        return;
    }
    if (refused(result, *number))
        return;
    showBuildings();
    showCount(result.count);
    // The open register and workspace show the buildings as they now are.
    buildingsOrUnitsChanged();
}

} // namespace zav::register_
