#include "register/unitclipboard.h"

#include "engine/archive.h"
#include "engine/archivevalues.h"
#include "engine/databasefailure.h"
#include "engine/messagetitles.h"
#include "engine/var_gbl.h"
#include "platform/db.h"
#include "platform/dialogs.h"
#include "platform/ui/datagrid.h"
#include "platform/ui/datasource.h"
#include "platform/ui/formregistry.h"
#include "platform/vb.h"
#include "register/frm_cod_piani.h"
#include "register/unitregisterforms.h"
#include "workspace/unitkey.h"

#include <QComboBox>

#include <cmath>

namespace zav::register_ {

using engine::VAR_GBL;
using platform::dialogs;
using platform::MsgButtons;
using platform::MsgIcon;

namespace {

// Empty text goes in as Null, as a cleared cell of the register does.
QVariant textOrNull(const QString &value)
{
    return value.isEmpty() ? QVariant() : QVariant(value);
}

QVariant height(const std::optional<double> &value)
{
    return value ? QVariant(*value) : QVariant();
}

// The unit number held as text goes back in as the whole number it reads as, else empty.
QVariant unitNumber(const QString &interno)
{
    const std::optional<double> number = platform::vb::CDbl(interno);
    if (!number || std::floor(*number) != *number || std::fabs(*number) > 9e15)
        return {};
    return qlonglong(*number);
}

frm_cod_piani *unitRegister()
{
    return platform::FormRegistry::loaded<frm_cod_piani>(UnitRegisterFormName);
}

} // namespace

UnitClipboard::Entries &UnitClipboard::appunti_unita()
{
    static Entries entries;
    return entries;
}

int UnitClipboard::copy(const QList<ClipboardEntry> &rows)
{
    const int held = std::min(int(rows.size()), Size);
    VAR_GBL.appunti_ultima_riga = held - 1;
    for (int i = 0; i < held; ++i) {
        appunti_unita()[std::size_t(i)] = rows.at(i);
        VAR_GBL.appunti_pieni = true;
    }
    return held;
}

void UnitClipboard::paste(platform::Database &db, qint64 building, const QString &stair)
{
    for (int i = 0; i <= VAR_GBL.appunti_ultima_riga && i < Size; ++i) {
        const ClipboardEntry &entry = appunti_unita()[std::size_t(i)];
        db.insert(engine::archive::CODIF_PIANI,
            { { QStringLiteral("NUM_PAL"), qlonglong(building) }, { QStringLiteral("SCALA"), stair },
                { QStringLiteral("SIGLA"), textOrNull(entry.floorCode) },
                { QStringLiteral("INTERNO"), unitNumber(entry.interno) },
                { QStringLiteral("HTERRA"), height(entry.groundHeight) },
                { QStringLiteral("HPIANO"), height(entry.floorHeight) },
                { QStringLiteral("HASCENSORE"), height(entry.liftHeight) },
                { QStringLiteral("DESCRIZIONE"), textOrNull(entry.description) },
                { QStringLiteral("PROPRIETARIO"), textOrNull(entry.owner) } });
    }
}

void copia_Click()
{
    QList<ClipboardEntry> rows;
    if (frm_cod_piani *form = unitRegister()) {
        const platform::DataSource *data = form->Data1;
        for (qint64 rowid : form->TDBGrid1->selectedBookmarksInClickOrder()) {
            const int row = data->rowOf(rowid);
            if (row < 0)
                continue;
            const auto field = [&](const char *name) { return data->value(row, QString::fromLatin1(name)); };
            rows.append(
                { workspace::Unit::headerText(field("SIGLA")), workspace::Unit::headerText(field("INTERNO")),
                    workspace::Unit::headerText(field("PROPRIETARIO")),
                    workspace::Unit::headerText(field("DESCRIZIONE")),
                    engine::ArchiveValues::number(field("HTERRA")),
                    engine::ArchiveValues::number(field("HPIANO")),
                    engine::ArchiveValues::number(field("HASCENSORE")) });
        }
    }
    const int held = UnitClipboard::copy(rows);
    if (held < rows.size())
        dialogs().msgBox(QStringLiteral("Sono state copiate solo le prime %1 righe selezionate.").arg(held),
            MsgButtons::Ok, MsgIcon::Information, platform::programTitle());
}

void incolla_Click()
{
    // Without the register there is no building and stair to paste into.
    frm_cod_piani *form = unitRegister();
    if (!form || !VAR_GBL.progetto_corrente)
        return;
    const QString building = form->Combo1->currentText();
    const QString stair = form->Combo2->currentText();
    const std::optional<double> number = platform::vb::CDbl(building);
    if (!number || stair.isEmpty()) {
        if (VAR_GBL.appunti_pieni)
            dialogs().msgBox(QStringLiteral("Palazzina o Scala non inserita"), MsgButtons::Ok,
                MsgIcon::Critical, engine::MessageTitle::Warning);
        return;
    }
    if (VAR_GBL.appunti_pieni) {
        try {
            platform::Database db = platform::Database::open(*VAR_GBL.progetto_corrente);
            platform::Transaction transaction(db);
            UnitClipboard::paste(db, qint64(*number), stair);
            transaction.commit();
            VAR_GBL.appunti_pieni = false;
        } catch (const platform::DbError &error) {
            dialogs().msgBox(QStringLiteral("Nessuna unità è stata incollata.\n%1")
                                 .arg(engine::databaseFailureText(error)),
                MsgButtons::Ok, MsgIcon::Critical, engine::MessageTitle::ZavWarning);
        }
    }
    // The register shows the chosen building and stair again, with the new rows.
    form->Combo2_Click();
}

} // namespace zav::register_
