#include "workspace/roomgrid.h"

#include "engine/archivevalues.h"
#include "engine/messagetitles.h"
#include "engine/var_gbl.h"
#include "engine/windowbands.h"
#include "platform/cadautomation.h"
#include "platform/dialogs.h"
#include "platform/steps.h"
#include "platform/ui/datagrid.h"
#include "platform/ui/datasource.h"
#include "platform/vb.h"
#include "workspace/frm_ins_coeff.h"
#include "workspace/totaltext.h"

#include <QLabel>
#include <QLineEdit>

#include <cmath>
#include <memory>
#include <optional>

namespace zav::workspace {

using engine::ArchiveValues;
using engine::VAR_GBL;
using platform::tryStep;

namespace {

const QString kSurfacePattern = QStringLiteral("###0.0##");

bool hasField(const platform::DataGridModel::Values &values, const QString &field)
{
    for (const auto &[name, value] : values) {
        if (name.compare(field, Qt::CaseInsensitive) == 0)
            return true;
    }
    return false;
}

} // namespace

int RoomGrid::mappedSeparator(int keyAscii, int column, WorkspaceView view, bool puntoDecimale)
{
    int key = keyAscii;
    if ((column == Mq || column == MqFinestra) && !puntoDecimale && key == '.')
        key = ',';
    if ((column == Espressione || column == EspresRad || column == SupFinestra) && key == ',')
        key = '.';
    if (view == WorkspaceView::Coefficients && column >= 6 && column <= 14) {
        if (puntoDecimale && key == ',')
            key = '.';
        else if (!puntoDecimale && key == '.')
            key = ',';
    }
    return key;
}

bool RoomGrid::refusesTyped(const frm_ins_coeff &form, int column, const QString &typed)
{
    if (!form.isUnitViewShown() || !((column >= Coef1 && column <= Coef8) || column == MqFinestra))
        return false;
    if (typed.trimmed().isEmpty() || platform::vb::CDbl(typed))
        return false;
    platform::dialogs().msgBox(
        platform::vb::notANumberMessage(typed) + QStringLiteral("\nIl valore non è stato registrato."),
        platform::MsgButtons::Ok, platform::MsgIcon::Exclamation, engine::MessageTitle::Warning);
    return true;
}

QString RoomGrid::cellText(const platform::DataGrid &grid, int column)
{
    return ArchiveValues::text(grid.columnValue(column));
}

RoomGrid::Evaluation RoomGrid::evaluateInto(platform::DataGrid &grid, int source, int target)
{
    const QString expression = platform::vb::Trim(cellText(grid, source));
    if (expression.isEmpty())
        return Evaluation::Skipped;
    const std::optional<double> value = VAR_GBL.valuta_espressione(expression);
    if (value && std::isfinite(*value)) {
        grid.setColumnValue(target, platform::vb::Format(*value, kSurfacePattern));
        return Evaluation::Written;
    }
    // The evaluator has told its own failures, and the room keeps the value it had: a typing slip
    // does not empty its surface. A value that is no finite number is told here and stored as none.
    if (value) {
        platform::dialogs().msgBox(QStringLiteral("Divisione per zero."), platform::MsgButtons::Ok,
            platform::MsgIcon::None, platform::programTitle());
        grid.setColumnValue(target, QVariant());
    }
    return Evaluation::Failed;
}

void RoomGrid::enter(frm_ins_coeff &form, int column)
{
    platform::DataGrid &grid = *form.TDBGrid1;
    switch (form.view()) {
    case WorkspaceView::Surfaces:
        if (column == Espressione) {
            tryStep([&] { evaluateInto(grid, Espressione, Mq); });
            tryStep([&] { form.somma_mq(); });
        } else if (column == Mq && grid.keyEditColumn() == Mq) {
            // A surface typed in place becomes the room's expression, which reads "." as its mark.
            // Only the Enter that ends that typing does it: a surface merely shown is no edit.
            tryStep([&] {
                const QString surface = cellText(grid, Mq);
                const std::optional<double> number = ArchiveValues::number(surface);
                grid.setColumnValue(Espressione,
                    number ? TotalText::of(*number).replace(platform::vb::decimalSeparator(), u'.')
                           : surface);
            });
            tryStep([&] { form.somma_mq(); });
        } else if (column == SupFinestra) {
            windowSteps(grid);
        }
        break;
    case WorkspaceView::Volumes:
        if (column == EspresRad)
            tryStep([&] { evaluateInto(grid, EspresRad, TotEspresRad); });
        break;
    default:
        break;
    }
}

void RoomGrid::windowSteps(platform::DataGrid &grid)
{
    QString entry = cellText(grid, SupFinestra);
    if (entry.isEmpty())
        return;
    const QString upper = entry.toUpper();
    if (upper != entry)
        tryStep([&] { grid.setColumnValue(SupFinestra, upper); });
    entry = upper;

    std::optional<engine::WindowBands> bands;
    tryStep([&] { bands = engine::WindowBands::read(VAR_GBL.progetto_corrente.value_or(QString())); });

    // A code picks its band whatever the room's surface.
    if (const std::optional<QString> band = engine::WindowBands::bandOfCode(entry)) {
        tryStep([&] { grid.setColumnValue(MqFinestra, QVariant()); });
        if (bands) {
            if (const std::optional<QVariant> coefficient = bands->coefficient(*band))
                tryStep([&] { grid.setColumnValue(Coef4, *coefficient); });
        }
        return;
    }

    Evaluation evaluation = Evaluation::Failed;
    tryStep([&] { evaluation = evaluateInto(grid, SupFinestra, MqFinestra); });
    const std::optional<double> surface = ArchiveValues::number(grid.columnValue(Mq));
    if (!surface || *surface == 0.0) {
        platform::dialogs().msgBox(QStringLiteral("Superficie del vano mancante"), platform::MsgButtons::Ok,
            platform::MsgIcon::Information, engine::MessageTitle::Warning);
        return;
    }
    // A window area that cannot be evaluated picks no band from the area the room kept.
    const std::optional<double> window = ArchiveValues::number(grid.columnValue(MqFinestra));
    if (evaluation == Evaluation::Failed || !window || !bands)
        return;
    const std::optional<QString> band = engine::WindowBands::bandOfRatio(*window, *surface);
    if (!band)
        return;
    const std::optional<QVariant> coefficient = bands->coefficient(*band);
    if (!coefficient)
        return;
    // The coefficient goes into the room's record, whichever column shows it.
    tryStep([&] {
        platform::DataSource *rooms = grid.dataSource();
        if (!rooms || rooms->noCurrentRow())
            return;
        rooms->setValue(rooms->currentRow(), rooms->fieldIndex(QStringLiteral("COEF4")), *coefficient);
    });
}

void RoomGrid::newRoomDefaults(platform::DataGridModel::Values &values, const frm_ins_coeff &form)
{
    const auto add = [&values](const QString &field, const QVariant &value) {
        if (!hasField(values, field))
            values.append({ field, value });
    };
    add(QStringLiteral("NOME_CONDOMINO"), form.Label8->text());
    add(QStringLiteral("PALAZ"), form.Label9->text());
    add(QStringLiteral("SCALA"), form.Label10->text());
    add(QStringLiteral("OPT_RISC"), QStringLiteral("S"));
    add(QStringLiteral("PIANO"), form.Label11->text());
    // A unit number that does not read as a number is left out; the row is still added.
    if (platform::vb::CDbl(form.Label12->text()))
        add(QStringLiteral("INTERNO"), form.Label12->text());
}

void RoomGrid::keepCurrentRoom(frm_ins_coeff &form)
{
    struct Kept
    {
        QString readTable; ///< the table of the rows in hand
        QString table; ///< the table and rowid of the row current before the rows are read again
        std::optional<qint64> rowid;
        bool reading = false;
    };
    auto kept = std::make_shared<Kept>();
    platform::DataSource *rooms = form.Data1;
    QObject::connect(rooms, &platform::DataSource::aboutToRefresh, &form, [rooms, kept] {
        kept->reading = true;
        kept->table = kept->readTable;
        kept->rowid.reset();
        if (!rooms->noCurrentRow())
            kept->rowid = rooms->rowid(rooms->currentRow());
    });
    // A refresh ends by making its first row current: the room kept is made current after it.
    QObject::connect(rooms, &platform::DataSource::currentRowChanged, &form, [rooms, kept, &form] {
        if (!kept->reading)
            return;
        kept->reading = false;
        kept->readTable = rooms->recordSource().table;
        if (!form.isUnitViewShown() || !kept->rowid || kept->table != kept->readTable)
            return;
        const int row = rooms->rowOf(*kept->rowid);
        if (row >= 0 && row != rooms->currentRow())
            tryStep([rooms, row] { rooms->setCurrentRow(row); });
    });
}

void RoomGrid::cadKeystroke(frm_ins_coeff &form, int keyAscii)
{
    platform::DataGrid &grid = *form.TDBGrid1;
    const bool surfaces = form.view() == WorkspaceView::Surfaces;
    const auto bringForward = [] {
        if (platform::CadAutomation *cad = frm_ins_coeff::oggetto_cad_locale())
            tryStep([cad] { cad->Finestra_in_Primopiano(); });
    };

    if (surfaces && keyAscii == '|') {
        // The next room; past the last one the room stays.
        tryStep([&] {
            platform::DataSource *rooms = grid.dataSource();
            if (rooms && rooms->currentRow() + 1 < rooms->recordCount())
                rooms->setCurrentRow(rooms->currentRow() + 1);
        });
        bringForward();
        return;
    }
    if (surfaces && keyAscii != '=') {
        tryStep([&] {
            form.espressione_cad = cellText(grid, Espressione);
            form.espressione_cad += keyAscii == ',' ? QChar(u'.') : QChar(keyAscii);
            grid.setColumnValue(Espressione, form.espressione_cad);
            form.txtole->setText(QString());
        });
    }
    bringForward();
    if (keyAscii == '=' && isUnitView(form.view()))
        tryStep([&] { evaluateInto(grid, Espressione, Mq); });
}

} // namespace zav::workspace
