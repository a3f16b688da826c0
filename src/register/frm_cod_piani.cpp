#include "register/frm_cod_piani.h"

#include "engine/archive.h"
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
#include "platform/ui/twips.h"
#include "platform/vb.h"
#include "register/bulkpanel.h"
#include "register/identitypanel.h"
#include "register/unitcodes.h"
#include "register/unitregisterforms.h"
#include "workspace/frm_ins_coeff.h"
#include "workspace/unitkey.h"

#include <QComboBox>
#include <QLabel>
#include <QPushButton>

#include <algorithm>

namespace zav::register_ {

using engine::VAR_GBL;
using platform::Database;
using platform::DataGridColumn;
using platform::dialogs;
using platform::MsgButtons;
using platform::MsgIcon;
using platform::MsgResult;
using platform::TableQuery;

namespace {

namespace Col {
constexpr int Pos = 0, Owner = 1, Kind = 2, Floor = 3, Interno = 4, Lift = 7;
}

void info(const QString &text, const QString &title)
{
    dialogs().msgBox(text, MsgButtons::Ok, MsgIcon::Information, title);
}

} // namespace

frm_cod_piani::frm_cod_piani(QWidget *parent)
    : QWidget(parent)
{
    setAttribute(Qt::WA_DeleteOnClose);
    setObjectName(QStringLiteral("frm_cod_piani"));
    setWindowTitle(QStringLiteral("Codifica piani"));
    buildControls();
    Form_Load();
}

frm_cod_piani::~frm_cod_piani() = default;

void frm_cod_piani::buildControls()
{
    resize(platform::Twips::toPixels(QSize(12500, 7900), this));
    const auto place = [this](QWidget *w, const char *name, QRect twips) {
        w->setObjectName(QString::fromLatin1(name));
        w->setGeometry(platform::Twips::toPixels(twips, this));
    };
    Label1 = new QLabel(QStringLiteral("Pal. n°:"), this);
    place(Label1, "Label1", { 120, 120, 800, 300 });
    Combo1 = new QComboBox(this);
    place(Combo1, "Combo1", { 950, 90, 1000, 315 });
    Label2 = new QLabel(QStringLiteral("Scala n°:"), this);
    place(Label2, "Label2", { 2200, 120, 900, 300 });
    Combo2 = new QComboBox(this);
    place(Combo2, "Combo2", { 3100, 90, 1300, 315 });

    Data1 = new platform::DataSource(this);
    Data1->setObjectName(QStringLiteral("Data1"));
    Data2 = new platform::DataSource(this);
    Data2->setObjectName(QStringLiteral("Data2"));
    Data2->setRecordSource(QStringLiteral("NEW_TAB"));

    TDBGrid1 = new platform::DataGrid(this);
    place(TDBGrid1, "TDBGrid1", { 120, 550, 12165, 6015 });
    TDBGrid1->setCaption(QStringLiteral("Elenco Condomini"));
    TDBGrid1->setDataSource(Data1);
    TDBGrid1->setAllowAddNew(true);
    TDBGrid1->setHeadingLines(2);
    TDBGrid1->setSelectionBehavior(QAbstractItemView::SelectItems);
    const auto width = [this](int twips) { return platform::Twips::toPixelsX(twips, this); };
    QList<DataGridColumn> columns {
        { QStringLiteral("riga"), QStringLiteral("Pos."), width(495) },
        { QStringLiteral("PROPRIETARIO"), QStringLiteral("Proprietario"), width(3780) },
        { QStringLiteral("DESCRIZIONE"), QStringLiteral("Descrizione Immobile"), width(3525) },
        { QStringLiteral("SIGLA"), QStringLiteral("Piano"), width(645) },
        { QStringLiteral("INTERNO"), QStringLiteral("Int."), width(510) },
        { QStringLiteral("HTERRA"), QStringLiteral("Alt. terra"), width(720) },
        { QStringLiteral("HPIANO"), QStringLiteral("Alt. piano"), width(870) },
        { QStringLiteral("HASCENSORE"), QStringLiteral("Alt. ascens."), width(915) },
    };
    columns[Col::Kind].valueItems = unitKinds();
    columns[Col::Floor].valueItems = floorCodes();
    TDBGrid1->setColumns(columns);

    platform::DataGridModel *model = TDBGrid1->dataModel();
    model->setOnAddNew([this](platform::DataGridModel::Values &values) {
        if (Combo1->currentText().isEmpty() || Combo2->currentText().isEmpty()) {
            platform::tryStep([this] { Data1->refresh(); });
            dialogs().msgBox(QStringLiteral("Palazzina o Scala non inserita"), MsgButtons::Ok,
                MsgIcon::Critical, engine::MessageTitle::Warning);
            return false;
        }
        m_nuovaRiga = true;
        m_rigaAggiunta = -1;
        values.append({ QStringLiteral("NUM_PAL"), Combo1->currentText() });
        values.append({ QStringLiteral("SCALA"), Combo2->currentText() });
        return true;
    });
    model->setBeforeColUpdate([this](int column, const QVariant &, const QVariant &newValue) {
        const QString typed = newValue.toString();
        if (column == Col::Interno && !platform::vb::CDbl(typed)) {
            info(QStringLiteral("Attenzione. L'interno non puo' essere inserito alfanumerico"),
                platform::programTitle());
            return true;
        }
        // Longer texts than the fields hold are refused, not cut.
        const int longest = column == Col::Owner ? OwnerLength : column == Col::Kind ? KindLength : -1;
        if (longest >= 0 && typed.size() > longest) {
            info(QStringLiteral("Il testo è troppo lungo: al massimo %1 caratteri.").arg(longest),
                platform::programTitle());
            return true;
        }
        // Several cells pasted into one (tabs, line breaks) would make an owner no list can show.
        if (typed.contains(u'\t') || typed.contains(u'\n') || typed.contains(u'\r')) {
            info(QStringLiteral("Il testo contiene tabulazioni o ritorni a capo: inserire un solo valore "
                                "per cella."),
                platform::programTitle());
            return true;
        }
        return false;
    });
    // Pasted units go straight to the archive, never through here: rows written in the grid
    // always get their position, whatever the unit-row clipboard holds.
    model->setBeforeUpdate([this](int row, platform::DataGridModel::Values &values) {
        // The floor code the row will hold: the one being written, else the stored one.
        QString floorCode = row >= 0 ? TDBGrid1->dataModel()->value(row, Col::Floor).toString() : QString();
        for (const auto &[field, value] : values) {
            if (field.compare(u"SIGLA", Qt::CaseInsensitive) == 0)
                floorCode = value.toString();
        }
        if (const std::optional<int> position = engine::archive::floorPosition(floorCode))
            values.append({ QStringLiteral("RIGA"), *position });
    });
    model->setAfterUpdate([this](int row) {
        if (!m_nuovaRiga || m_rigaAggiunta >= 0)
            return;
        // The row just added is stored at once, but the user is still typing it: it stays open
        // until the user leaves it.
        m_rigaAggiunta = Data1->rowid(row);
    });
    connect(TDBGrid1, &platform::DataGrid::rowColChange, this, &frm_cod_piani::TDBGrid1_RowColChange);
    // Esc gives up the row being added. The grid is still handling the key: the row goes after it.
    TDBGrid1->setKeyPress([this](int &keyAscii) {
        if (keyAscii == 27 && m_nuovaRiga && m_rigaAggiunta >= 0)
            QMetaObject::invokeMethod(this, &frm_cod_piani::discardNewRow, Qt::QueuedConnection);
    });

    // The buttons from left to right; Command1 keeps its index.
    // The buttons' access letters leave free those of the main window's menus (P, A, C, S, D, U, H),
    // which share the window with this form.
    Command5 = new QPushButton(QStringLiteral("Modi&f./Duplica"), this);
    Command5->setObjectName(QStringLiteral("Command5"));
    connect(Command5, &QPushButton::clicked, this, &frm_cod_piani::Command5_Click);
    Command2 = new QPushButton(QStringLiteral("&Modifica dati"), this);
    Command2->setObjectName(QStringLiteral("Command2"));
    connect(Command2, &QPushButton::clicked, this, &frm_cod_piani::Command2_Click);
    for (int index = 0; index < int(Command1.size()); ++index) {
        static const char *const captions[]
            = { "Esc&i", "I&ns. Coeff.", "&Ordina", "&Elimina riga", "&Gen. Posizioni" };
        auto *button = new QPushButton(QString::fromLatin1(captions[index]), this);
        button->setObjectName(QStringLiteral("Command1_%1").arg(index));
        Command1[std::size_t(index)] = button;
        connect(button, &QPushButton::clicked, this, [this, index] { Command1_Click(index); });
    }
    int left = 150;
    for (QPushButton *button :
        { Command5, Command1[2], Command1[4], Command1[1], Command2, Command1[3], Command1[0] }) {
        platform::guardClicks(button);
        button->setGeometry(platform::Twips::toPixels(QRect(left, 6800, 1500, 450), this));
        left += 1650;
    }

    // The two panels open over the grid.
    Frame1 = new IdentityPanel(this);
    Combo3 = Frame1->Combo3;
    Combo4 = Frame1->Combo4;
    Frame2 = new BulkPanel(this);
    connect(Combo1, &QComboBox::activated, this, &frm_cod_piani::Combo1_Click);
    connect(Combo2, &QComboBox::activated, this, &frm_cod_piani::Combo2_Click);
}

void frm_cod_piani::Form_Load()
{
    if (!VAR_GBL.progetto_corrente)
        return;
    const QString path = *VAR_GBL.progetto_corrente;
    try {
        Database db = Database::open(path);
        if (db.table(QStringLiteral("ANA_CONDO")).isEmpty())
            return;
        // The buildings that exist, not a count that may not match them.
        const platform::Recordset buildings
            = db.select(TableQuery { QStringLiteral("COMPOS_PAL"), {}, { QStringLiteral("NUM_PAL") } });
        Combo1->clear();
        Combo3->clear();
        for (int i = 0; i < buildings.recordCount(); ++i) {
            const QString number = workspace::Unit::headerText(
                buildings.value(i, buildings.fieldIndex(QStringLiteral("NUM_PAL"))));
            if (number.isEmpty())
                continue;
            Combo1->addItem(number);
            Combo3->addItem(number);
        }
        Combo1->setCurrentIndex(-1);
    } catch (const platform::DbError &error) {
        dialogs().msgBox(
            engine::databaseFailureText(error), MsgButtons::Ok, MsgIcon::Critical, platform::programTitle());
        return;
    }
    Data2->setDatabaseName(path);
    platform::tryStep([this] { Data2->refresh(); });
}

void frm_cod_piani::buildingsChanged()
{
    const QString building = Combo1->currentText();
    const QString stair = Combo2->currentText();
    m_nuovaRiga = false;
    m_rigaAggiunta = -1;
    Form_Load();
    QStringList stairs;
    if (const int index = Combo1->findText(building); !building.isEmpty() && index >= 0) {
        Combo1->setCurrentIndex(index);
        platform::tryStep([&] {
            const platform::Recordset rs = Database::open(*VAR_GBL.progetto_corrente)
                                               .select(TableQuery { engine::archive::COMPOS_PAL, {}, {} });
            const int numPal = rs.fieldIndex(QStringLiteral("NUM_PAL"));
            for (int i = 0; i < rs.recordCount(); ++i) {
                if (workspace::Unit::headerText(rs.value(i, numPal)) == building)
                    stairs = registerStairs(rs.value(i, rs.fieldIndex(QStringLiteral("NUM_SCALE"))));
            }
        });
    }
    Combo2->clear();
    Combo2->addItems(stairs);
    Combo2->setCurrentIndex(stairs.indexOf(stair));
    // The units of a building and stair still there, read again; none of one that is gone.
    if (VAR_GBL.progetto_corrente)
        bindUnits(false);
    TDBGrid1_RowColChange();
}

void frm_cod_piani::Combo1_Click()
{
    const QString building = Combo1->currentText();
    try {
        Database db = Database::open(*VAR_GBL.progetto_corrente);
        const platform::Recordset rs = db.table(QStringLiteral("COMPOS_PAL"));
        if (rs.isEmpty()) {
            info(
                QStringLiteral("Non sono ancora state inserite palazzine"), engine::MessageTitle::ZavWarning);
            return;
        }
        const int numPal = rs.fieldIndex(QStringLiteral("NUM_PAL"));
        int found = -1;
        for (int i = 0; i < rs.recordCount() && found < 0; ++i) {
            if (workspace::Unit::headerText(rs.value(i, numPal)) == building)
                found = i;
        }
        if (found < 0) {
            info(QStringLiteral("La palazzina n°: %1 non esiste. Aggiungerla in Composizione Palazzina.")
                     .arg(building),
                engine::MessageTitle::ZavWarning);
            Combo2->clear();
            return;
        }
        // A building with no stair (none given, or 0) has none to list, "Nessuna" included.
        const QStringList stairs
            = registerStairs(rs.value(found, rs.fieldIndex(QStringLiteral("NUM_SCALE"))));
        Combo2->clear();
        if (stairs.isEmpty()) {
            info(QStringLiteral("Nessuna scala inserita nella palazzina n°: %1").arg(building),
                engine::MessageTitle::ZavWarning);
            return;
        }
        // The panel's stair list follows its own building box (IdentityPanel).
        Combo2->addItems(stairs);
        Combo2->setCurrentIndex(-1);
        const QVariant lift = rs.value(found, rs.fieldIndex(QStringLiteral("ASCENSORE")));
        DataGridColumn column = TDBGrid1->column(Col::Lift);
        column.visible = lift.isValid() && !lift.isNull() && lift.toBool();
        TDBGrid1->setColumn(Col::Lift, column);
    } catch (const platform::DbError &error) {
        dialogs().msgBox(
            engine::databaseFailureText(error), MsgButtons::Ok, MsgIcon::Critical, platform::programTitle());
    }
}

void frm_cod_piani::bindUnits(bool byPosition)
{
    Data1->setDatabaseName(*VAR_GBL.progetto_corrente);
    TableQuery query { QStringLiteral("CODIF_PIANI"),
        { { QStringLiteral("NUM_PAL"), Combo1->currentText() },
            { QStringLiteral("SCALA"), Combo2->currentText() } },
        byPosition ? QStringList { QStringLiteral("riga"), QStringLiteral("interno") }
                   : QStringList { QStringLiteral("num_pal"), QStringLiteral("scala"),
                       QStringLiteral("sigla"), QStringLiteral("interno") } };
    // The building number is a number field: bound as a number, it matches.
    if (const std::optional<double> number = platform::vb::CDbl(Combo1->currentText()))
        query.where[0].value = *number;
    Data1->setRecordSource(query);
    try {
        Data1->refresh();
    } catch (const platform::DbError &error) {
        dialogs().msgBox(
            engine::databaseFailureText(error), MsgButtons::Ok, MsgIcon::Critical, platform::programTitle());
    }
}

void frm_cod_piani::Combo2_Click()
{
    if (Combo1->currentText().isEmpty() || !VAR_GBL.progetto_corrente)
        return;
    bindUnits(false);
}

void frm_cod_piani::TDBGrid1_RowColChange()
{
    const int row = TDBGrid1->currentIndex().row();
    const bool stored = row >= 0 && row < Data1->recordCount();
    // Leaving the row being added ends it (also one whose writing was refused).
    if (m_nuovaRiga && stored && Data1->rowid(row) != m_rigaAggiunta)
        m_nuovaRiga = false;
    const QVariant position = stored ? TDBGrid1->dataModel()->value(row, Col::Pos) : QVariant();
    const bool lock = stored && position.isValid() && !position.isNull() && !m_nuovaRiga;
    for (int c = Col::Owner; c <= Col::Interno; ++c) {
        DataGridColumn column = TDBGrid1->column(c);
        if (column.locked == lock)
            continue;
        column.locked = lock;
        TDBGrid1->dataModel()->setColumn(c, column);
    }
}

void frm_cod_piani::discardNewRow()
{
    if (!m_nuovaRiga || m_rigaAggiunta < 0)
        return;
    const qint64 added = m_rigaAggiunta;
    m_nuovaRiga = false;
    m_rigaAggiunta = -1;
    try {
        Database::open(Data1->databaseName()).remove(QStringLiteral("CODIF_PIANI"), added);
    } catch (const platform::DbError &error) {
        dialogs().msgBox(QStringLiteral("Impossibile annullare la riga inserita.\n%1")
                             .arg(engine::databaseFailureText(error)),
            MsgButtons::Ok, MsgIcon::Critical, platform::programTitle());
    }
    platform::tryStep([this] { Data1->refresh(); });
    TDBGrid1_RowColChange();
}

void frm_cod_piani::Command1_Click(int Index)
{
    switch (Index) {
    case 0:
        close();
        break;
    case 1:
        insCoeff();
        break;
    case 2:
        ordina();
        break;
    case 3:
        eliminaRiga();
        break;
    case 4:
        genPosizioni();
        break;
    default:
        break;
    }
}

void frm_cod_piani::Command2_Click()
{
    Frame1->open();
}

void frm_cod_piani::Command5_Click()
{
    Frame2->open();
}

void frm_cod_piani::insCoeff()
{
    using engine::MessageTitle::ZavWarning;
    if (Combo1->currentText().isEmpty())
        return info(QStringLiteral("Palazzina non inserita"), ZavWarning);
    if (Combo2->currentText().isEmpty())
        return info(QStringLiteral("Scala non inserita"), ZavWarning);
    if (Data1->noCurrentRow())
        return info(QStringLiteral("Nessun condomino selezionato o inserito"), ZavWarning);
    const int row = Data1->currentRow();
    const QString owner = workspace::Unit::headerText(Data1->value(row, QStringLiteral("PROPRIETARIO")));
    const QString floorCode = workspace::Unit::headerText(Data1->value(row, QStringLiteral("SIGLA")));
    const QString interno = workspace::Unit::headerText(Data1->value(row, QStringLiteral("INTERNO")));
    const QString workspaceName = QString::fromLatin1(workspace::frm_ins_coeff::FormName);
    if (floorCode.isEmpty() || interno.isEmpty()) {
        const QString what = floorCode.isEmpty() ? QStringLiteral("il piano") : QStringLiteral("l'interno");
        dialogs().msgBox(QStringLiteral("Non è stato inserito %1 nel condomino %2").arg(what, owner),
            MsgButtons::Ok, MsgIcon::None, platform::programTitle());
        platform::FormRegistry::unload(workspaceName);
        return;
    }
    workspace::Unit unit;
    unit.key = { owner, workspace::Unit::headerText(Data1->value(row, QStringLiteral("NUM_PAL"))),
        workspace::Unit::headerText(Data1->value(row, QStringLiteral("SCALA"))), floorCode, interno };
    const QVariant height = Data1->value(row, QStringLiteral("HPIANO"));
    unit.floorHeight = platform::vb::CDbl(height.isNull() ? QString() : workspace::Unit::headerText(height));
    if (!unit.floorHeight)
        info(QStringLiteral(
                 "Non è stata inserita l'altezza del piano, il calcolo dei volumi non verrà effettuato."),
            engine::MessageTitle::Information);
    workspace::frm_ins_coeff::open(unit);
}

void frm_cod_piani::ordina()
{
    const MsgResult answer = dialogs().msgBox(QStringLiteral("Vuoi ordinare per piano?"), MsgButtons::YesNo,
        MsgIcon::Information, QStringLiteral("Ordina Record"));
    bindUnits(answer == MsgResult::Yes);
}

void frm_cod_piani::eliminaRiga()
{
    if (Data1->noCurrentRow()) {
        platform::tryStep([this] { Data1->refresh(); });
        return;
    }
    const int row = Data1->currentRow();
    const QString owner = workspace::Unit::headerText(Data1->value(row, QStringLiteral("PROPRIETARIO")));
    const qint64 unitId = Data1->rowid(row);
    if (!owner.isEmpty()) {
        const MsgResult answer = dialogs().msgBox(
            QStringLiteral("Vuoi eliminare %1 e tutti i suoi dati (Superfici Coefficienti e Volumi) ?")
                .arg(owner),
            MsgButtons::YesNo, MsgIcon::Information, engine::MessageTitle::ZavWarningNoDash,
            platform::MsgDefault::Second);
        if (answer != MsgResult::Yes)
            return;
    }
    try {
        Database db = Database::open(*VAR_GBL.progetto_corrente);
        platform::Transaction transaction(db);
        if (!owner.isEmpty()) {
            const QVariant building = Data1->value(row, QStringLiteral("NUM_PAL"));
            const QString stair
                = workspace::Unit::headerText(Data1->value(row, QStringLiteral("SCALA"))).trimmed();
            const QVariant interno = Data1->value(row, QStringLiteral("INTERNO"));
            const platform::Recordset rooms = db.table(QStringLiteral("ESPRESSIONI"));
            const int fOwner = rooms.fieldIndex(QStringLiteral("NOME_CONDOMINO"));
            const int fPalaz = rooms.fieldIndex(QStringLiteral("PALAZ"));
            const int fScala = rooms.fieldIndex(QStringLiteral("SCALA"));
            const int fInterno = rooms.fieldIndex(QStringLiteral("INTERNO"));
            for (int i = 0; i < rooms.recordCount(); ++i) {
                const QVariant palaz = rooms.value(i, fPalaz);
                const QVariant scala = rooms.value(i, fScala);
                const QVariant roomInterno = rooms.value(i, fInterno);
                if (rooms.value(i, fOwner).isNull() || palaz.isNull() || scala.isNull()
                    || roomInterno.isNull())
                    continue;
                const std::optional<double> palazNumber
                    = platform::vb::CDbl(workspace::Unit::headerText(palaz).trimmed());
                const std::optional<double> unitBuilding
                    = platform::vb::CDbl(workspace::Unit::headerText(building));
                if (rooms.value(i, fOwner).toString() != owner || !palazNumber || !unitBuilding
                    || *palazNumber != *unitBuilding || workspace::Unit::headerText(scala).trimmed() != stair
                    || workspace::Unit::headerText(roomInterno) != workspace::Unit::headerText(interno))
                    continue;
                db.remove(QStringLiteral("ESPRESSIONI"), rooms.rowidAt(i));
            }
        }
        db.remove(QStringLiteral("CODIF_PIANI"), unitId);
        transaction.commit();
        // The workspace open on this unit gives it up.
        unitsChanged();
    } catch (const platform::DbError &error) {
        // Nothing was deleted: the unit and its rooms stand or fall together.
        const QString what = owner.isEmpty() ? QStringLiteral("la riga") : owner;
        dialogs().msgBox(QStringLiteral("Impossibile eliminare %1: non è stato eliminato nulla.\n%2")
                             .arg(what, engine::databaseFailureText(error)),
            MsgButtons::Ok, MsgIcon::Critical, engine::MessageTitle::ZavWarningNoDash);
    }
    platform::tryStep([this] { Data1->refresh(); });
}

void frm_cod_piani::genPosizioni()
{
    for (int row = std::max(Data1->currentRow(), 0); row < Data1->recordCount(); ++row) {
        const std::optional<int> position = engine::archive::floorPosition(
            workspace::Unit::headerText(TDBGrid1->dataModel()->value(row, Col::Floor)));
        if (!position)
            continue;
        platform::tryStep([&] { Data1->setValues(row, { { QStringLiteral("RIGA"), *position } }); });
    }
    Data1->setCurrentRow(Data1->recordCount());
}

} // namespace zav::register_
