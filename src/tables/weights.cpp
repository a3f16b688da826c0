#include "tables/weights.h"

#include "engine/databasefailure.h"
#include "engine/messagetitles.h"
#include "engine/var_gbl.h"
#include "platform/db.h"
#include "platform/dialogs.h"
#include "platform/steps.h"
#include "platform/ui/datagrid.h"
#include "platform/ui/datasource.h"
#include "platform/ui/formregistry.h"
#include "platform/vb.h"
#include "tables/typedtotal.h"
#include "workspace/frm_ins_coeff.h"
#include "workspace/totaltext.h"

#include <QLabel>

#include <cmath>

namespace zav::tables {

using engine::VAR_GBL;
using platform::dialogs;
using platform::MsgButtons;
using platform::MsgIcon;
using workspace::frm_ins_coeff;
using workspace::TotalText;

namespace {

const QString kNoTable = QStringLiteral("(Nessuna Tabella Selezionata)");
const QString kMillesimi = QStringLiteral("MILLESIMI");
const QString kInput = QStringLiteral("INPUT");

std::optional<double> weightOf(const QVariant &cell)
{
    const std::optional<double> value = platform::vb::CDbl(cell);
    return value && std::isfinite(*value) ? value : std::nullopt;
}

// The workspace shows the selected user table: its rows are the table's.
bool userTableShown(const frm_ins_coeff &form)
{
    const QString &table = VAR_GBL.tabella_selezionata;
    return !table.isEmpty() && form.Label21->text() != kNoTable
        && form.Data1->recordSource().table.compare(table, Qt::CaseInsensitive) == 0;
}

// A failed write: the command's transaction is rolled back, so the table is as it was.
void reportFailure(const QString &what, const platform::DbError &error)
{
    dialogs().msgBox(what + QStringLiteral(" non salvato: nessun valore è stato cambiato.\n")
            + engine::databaseFailureText(error),
        MsgButtons::Ok, MsgIcon::Critical, engine::MessageTitle::ZavWarning);
}

void refuse(const QString &text)
{
    dialogs().msgBox(text, MsgButtons::Ok, MsgIcon::Exclamation, engine::MessageTitle::Apportionment);
}

frm_ins_coeff *openWorkspace()
{
    return platform::FormRegistry::loaded<frm_ins_coeff>(QString::fromLatin1(frm_ins_coeff::FormName));
}

} // namespace

Weights::Shares Weights::shares(const QList<QVariant> &weights, double total)
{
    Shares result;
    double sum = 0;
    QList<std::optional<double>> read;
    for (const QVariant &cell : weights) {
        const std::optional<double> weight = weightOf(cell);
        if (weight && *weight < 0) {
            result.refused = Shares::Refusal::Negative;
            return result;
        }
        read.append(weight);
        if (weight)
            sum += *weight;
    }
    if (!std::isfinite(sum)) {
        result.refused = Shares::Refusal::TooLarge;
        return result;
    }
    if (!(sum > 0)) {
        result.refused = Shares::Refusal::NoWeight;
        return result;
    }
    const platform::vb::FormatPattern threeDecimals(QStringLiteral("###0.0##"));
    for (const std::optional<double> &weight : read) {
        if (!weight || *weight == 0) {
            result.thousandths.append(std::nullopt);
            continue;
        }
        // A share beyond the doubles cannot be written: the whole calculation is refused.
        const std::optional<double> share = threeDecimals.format(*weight * total / sum).number;
        if (!share || !std::isfinite(*share)) {
            result.refused = Shares::Refusal::TooLarge;
            result.thousandths.clear();
            return result;
        }
        result.thousandths.append(share);
    }
    return result;
}

void Weights::azzera(frm_ins_coeff &form)
{
    if (VAR_GBL.tabella_selezionata.isEmpty() || !userTableShown(form))
        return;
    platform::DataSource &rows = *form.Data1;
    try {
        rows.refresh();
        if (rows.recordCount() == 0)
            return;
        // Only the user-table view has the weights in its column 6.
        const platform::DataGridColumn column = form.TDBGrid1->column(6);
        if (column.caption != QStringLiteral("Input"))
            return;
        platform::Database db = platform::Database::open(rows.databaseName());
        platform::Transaction transaction = db.transaction();
        for (int row = 0; row < rows.recordCount(); ++row)
            db.update(rows.recordSource().table, rows.rowid(row), { { column.dataField, 0 } });
        transaction.commit();
        db.close();
        rows.refresh();
    } catch (const platform::DbError &error) {
        reportFailure(QStringLiteral("Azzeramento dei pesi"), error);
    }
}

void Weights::calc_mil_tab(frm_ins_coeff &form)
{
    if (form.Label21->text() == kNoTable || !userTableShown(form))
        return;
    const bool typedWeights
        = dialogs().msgBox(QStringLiteral("Effettuare il calcolo della colonna Input S/n ?"),
              MsgButtons::YesNo, MsgIcon::Information, engine::MessageTitle::ZavWarning)
        == platform::MsgResult::Yes;
    form.Label20->setText(QStringLiteral("0"));
    platform::DataSource &rows = *form.Data1;
    // A command that ends without computing leaves the label telling the table's total, as the
    // rounding to a total starts from it.
    const auto recount = [&] {
        platform::tryStep([&] {
            rows.refresh();
            form.Label20->setText(TotalText::columnTotals(rows, { kMillesimi }).constFirst());
        });
    };

    const std::optional<QString> answer
        = dialogs().inputBox(QStringLiteral("Effetturare il calcolo con ripartiziona a:"),
            engine::MessageTitle::Apportionment, QStringLiteral("1000"));
    const TypedTotal::Reading typed = TypedTotal::read(answer);
    if (!typed.total) {
        if (!typed.refusal.isEmpty())
            refuse(typed.refusal);
        recount();
        return;
    }
    const double total = *typed.total;

    const QString table = rows.recordSource().table;
    try {
        rows.refresh();
        // Answering No takes the thousandths as the weights: they are written only with the result.
        const QString weightField = typedWeights ? kInput : kMillesimi;
        QList<QVariant> weights;
        for (int row = 0; row < rows.recordCount(); ++row)
            weights.append(rows.value(row, weightField));
        const Shares result = shares(weights, total);
        if (result.refused) {
            const QString column = typedWeights ? QStringLiteral("Input") : QStringLiteral("Millesimi");
            switch (*result.refused) {
            case Shares::Refusal::Negative:
                refuse(QStringLiteral("Calcolo impossibile: la colonna %1 contiene valori negativi.")
                           .arg(column));
                break;
            case Shares::Refusal::NoWeight:
                refuse(QStringLiteral("Calcolo impossibile: la somma della colonna %1 è zero.").arg(column));
                break;
            case Shares::Refusal::TooLarge:
                refuse(
                    QStringLiteral("Calcolo impossibile: la somma della colonna %1 è troppo grande. Scrivere "
                                   "pesi più piccoli, in proporzione fra loro.")
                        .arg(column));
                break;
            }
            recount();
            return;
        }

        // Every row in one transaction: a row that cannot be written ends the command, and the
        // table keeps every value it had.
        QString sum = QStringLiteral("0");
        platform::Database db = platform::Database::open(rows.databaseName());
        platform::Transaction transaction = db.transaction();
        for (int row = 0; row < rows.recordCount(); ++row) {
            QList<std::pair<QString, QVariant>> values;
            if (!typedWeights)
                values.append({ kInput, weights.at(row) });
            const std::optional<double> &share = result.thousandths.at(row);
            if (share)
                values.append({ kMillesimi, *share });
            if (values.isEmpty())
                continue;
            db.update(table, rows.rowid(row), values);
            if (share)
                TotalText::add(sum, *share);
        }
        transaction.commit();
        db.close();
        form.Label20->setText(sum);
        rows.refresh();
    } catch (const platform::DbError &error) {
        reportFailure(QStringLiteral("Calcolo dei millesimi"), error);
        recount();
    }
}

void Weights::azzeraCommand()
{
    if (frm_ins_coeff *form = openWorkspace())
        azzera(*form);
}

void Weights::calcMilTabCommand()
{
    if (frm_ins_coeff *form = openWorkspace())
        calc_mil_tab(*form);
}

} // namespace zav::tables
