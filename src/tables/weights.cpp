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
#include <map>

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

    try {
        // The rows are read and written in one transaction of their own, as the archive holds them;
        // the grid reads them again once, when they are written.
        platform::Database db = platform::Database::open(rows.databaseName());
        platform::Transaction transaction = db.transaction();
        const platform::Recordset stored = db.select(rows.recordSource());
        // Answering No takes the thousandths as the weights: they are written only with the result.
        const QString weightField = typedWeights ? kInput : kMillesimi;
        QList<QVariant> weights;
        const int weightColumn = stored.isEmpty() ? -1 : stored.fieldIndex(weightField);
        for (int row = 0; row < stored.recordCount(); ++row)
            weights.append(stored.value(row, weightColumn));
        const Shares result = shares(weights, total);
        if (result.refused) {
            transaction.rollback();
            db.close();
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

        // Every row in the one transaction: a row that cannot be written ends the command, and the
        // table keeps every value it had. One statement for each set of fields a row writes.
        const QString table = platform::Database::quoteName(rows.recordSource().table);
        std::map<QString, platform::Statement> updates;
        const auto update = [&](const QStringList &fields) -> platform::Statement & {
            const QString key = fields.join(u',');
            auto found = updates.find(key);
            if (found == updates.end()) {
                QStringList sets;
                for (const QString &field : fields)
                    sets << platform::Database::quoteName(field) + QStringLiteral(" = ?");
                found = updates
                            .emplace(key,
                                db.prepare(QStringLiteral("UPDATE %1 SET %2 WHERE rowid = ?")
                                               .arg(table, sets.join(QStringLiteral(", ")))))
                            .first;
            }
            return found->second;
        };
        TotalText::Running sum;
        for (int row = 0; row < stored.recordCount(); ++row) {
            QStringList fields;
            QVariantList values;
            if (!typedWeights) {
                fields << kInput;
                values << weights.at(row);
            }
            const std::optional<double> &share = result.thousandths.at(row);
            if (share) {
                fields << kMillesimi;
                values << *share;
            }
            if (fields.isEmpty())
                continue;
            values << stored.rowidAt(row);
            update(fields).exec(values);
            if (share)
                sum.add(*share);
        }
        updates.clear();
        transaction.commit();
        db.close();
        form.Label20->setText(sum.text());
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
