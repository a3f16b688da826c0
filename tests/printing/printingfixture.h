#pragma once

#include "engine/var_gbl.h"
#include "platform/db.h"
#include "platform/report/reportengine.h"
#include "platform/report/reportpreview.h"
#include "platform/ui/formregistry.h"
#include "platform/vb.h"
#include "printing/printingforms.h"
#include "printing/st_mil.h"
#include "support/fixtures.h"
#include "support/scripteddialogs.h"

#include <QCheckBox>
#include <QComboBox>
#include <QCoreApplication>
#include <QDir>
#include <QEvent>
#include <QRadioButton>

#include <gtest/gtest.h>

namespace zav::test {

/**
 * @brief The project VIALE in a program folder of its own, open, with scripted boxes.
 *
 * Two buildings: building 1 with stairs A and B, building 2 with stair A. Five units: ALFA
 * (1 A, floor "1S", unit 3), D'Amico "Nino" (1 A, "T", 1), Bianchi (1 B, "2", 5), Rossi (2 A, "1",
 * 7) and Negozio Perù (1, no stair, "T", 3). The thousandths tables hold hand-made shares that
 * add up to 1000 in each table (and in each building and stair where the table is cut); the user
 * tables are "SCALA B" (three units) and "VUOTA" (none).
 */
class PrintingTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        engine::VAR_GBL.reset();
        printing::registerForms();
        archive = folder.copyOf(QStringLiteral("ARCH_MIL.CLO"), QStringLiteral("ARCHIVI/VIALE.cdb"));
        fillProject();
        engine::VAR_GBL.progetto_corrente = archive;
        engine::VAR_GBL.nome_progetto = QStringLiteral("VIALE");
    }

    void TearDown() override
    {
        platform::FormRegistry::unload(printing::PrintFormName);
        for (platform::ReportPreview *preview : platform::ReportPreview::openPreviews())
            preview->close();
        platform::ReportEngine::setPrinterSetup({});
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        engine::VAR_GBL.reset();
    }

    printing::ST_MIL *form() { return qobject_cast<printing::ST_MIL *>(printing::stampa_mil()); }

    platform::Database db() const { return platform::Database::open(archive); }

    void insert(
        platform::Database &d, const char *table, const QStringList &fields, const QList<QVariantList> &rows)
    {
        for (const QVariantList &row : rows) {
            QList<std::pair<QString, QVariant>> values;
            for (qsizetype i = 0; i < fields.size(); ++i)
                values.append({ fields.at(i), row.at(i) });
            d.insert(QString::fromLatin1(table), values);
        }
    }

    void fillProject()
    {
        platform::Database d = db();
        platform::Transaction transaction = d.transaction();
        insert(d, "ANA_CONDO", { "NOME", "INDIRIZZO", "CITTA", "NUM_PAL" },
            { { "Condominio Viale Aurora", "Viale Aurora 12", QStringLiteral("Forlì"), 2 } });
        insert(d, "COMPOS_PAL", { "NUM_PAL", "NUM_SCALE" }, { { 1, 2 }, { 2, 1 } });
        insert(d, "CODIF_PIANI",
            { "ID", "NUM_PAL", "SCALA", "RIGA", "SIGLA", "PROPRIETARIO", "HPIANO", "TOT_SUP", "TOT_VOL",
                "INTERNO" },
            {
                { 1, 1, "A", -2, "1S", "ALFA", 3.0, 80.5, 241.5, 3 },
                { 2, 1, "A", -1, "T", "D'Amico \"Nino\"", 3.0, 100.0, 300.0, 1 },
                { 3, 1, "B", 2, "2", "Bianchi", 3.0, 90.0, 270.0, 5 },
                { 4, 2, "A", 1, "1", "Rossi", 3.0, 120.0, 360.0, 7 },
                { 5, 1, "Nessuna", -1, "T", QStringLiteral("Negozio Perù"), 4.0, 10.0, 40.0, 3 },
            });
        const QStringList rooms = { "NOME_CONDOMINO", "PALAZ", "SCALA", "INTERNO", "DESCRIZIONE",
            "ESPRESSIONE", "MQ", "TOT_COEF" };
        insert(d, "ESPRESSIONI", rooms,
            {
                { "ALFA", "1", "A", 3, "Soggiorno", "4.1*5", "20,5", "20,5" },
                { "ALFA", "1", "A", 3, "Cucina", "3*4", "12", "12" },
                { "ALFA", "1", "A", 4, "Cantina", "2.5*2", "5", "2,5" }, // another unit of the same owner
                { "ALFA", "2", "A", 3, "Box", "4*5", "20", "10" }, // same unit number, other building
                { "D'Amico \"Nino\"", "1", "A", 1, "Camera", "3.05*5", "15,25", "15,25" },
                { QStringLiteral("Negozio Perù"), "1", "Nessuna", 3, "Negozio", "2*5", "10", "10" },
            });
        const QStringList thousandths
            = { "CONDOMINO", "PALAZ", "SCALA", "MQ", "MILLESIMI", "PIANO", "INTERNO", "RIGA" };
        const QList<QVariantList> general = {
            { "Rossi", "2", "A", 120.0, 300.0, "1", 7, 1 },
            { "D'Amico \"Nino\"", "1", "A", 100.0, 250.25, "T", 1, -1 },
            { "Bianchi", "1", "B", 90.0, 224.625, "2", 5, 2 },
            { QStringLiteral("Negozio Perù"), "1", "Nessuna", 10.0, 25.0, "T", 3, -1 },
            { "ALFA", "1", "A", 80.5, 200.125, "1S", 3, -2 },
        };
        insert(d, "MILLESIMI", thousandths, general);
        insert(d, "MIL_PORTIERATO", thousandths, general);
        insert(d, "TEMPORANEO", thousandths,
            {
                { "ALFA", "1", "A", 80.5, 300.5, "1S", 3, -2 },
                { "D'Amico \"Nino\"", "1", "A", 100.0, 350.0, "T", 1, -1 },
                { "Bianchi", "1", "B", 90.0, 300.0, "2", 5, 2 },
                { QStringLiteral("Negozio Perù"), "1", "Nessuna", 10.0, 49.5, "T", 3, -1 },
                { "Rossi", "2", "A", 120.0, 1000.0, "1", 7, 1 },
            });
        insert(d, "TEMPORANEO2",
            { "CONDOMINO", "PALAZ", "SCALA", "MQ", "MILLESIMI", "MIL_B", "PIANO", "MEDIA", "ASCENSORE",
                "MEDIA_ASC", "INTERNO", "RIGA" },
            {
                { "ALFA", "1", "A", 80.5, 450.0, 500.0, "1S", 475.0, 400.0, 425.0, 3, -2 },
                { "D'Amico \"Nino\"", "1", "A", 100.0, 550.0, 500.0, "T", 525.0, 600.0, 575.0, 1, -1 },
                { "Bianchi", "1", "B", 90.0, 1000.0, 1000.0, "2", 1000.0, 1000.0, 1000.0, 5, 2 },
                { QStringLiteral("Negozio Perù"), "1", "Nessuna", 10.0, 1000.0, 1000.0, "T", 1000.0, 1000.0,
                    1000.0, 3, -1 },
                { "Rossi", "2", "A", 120.0, 1000.0, 1000.0, "1", 1000.0, 1000.0, 1000.0, 7, 1 },
            });
        insert(d, "MIL_RISC",
            { "CONDOMINO", "PALAZ", "SCALA", "PIANO", "VOLUME", "MILLESIMI", "INTERNO", "RIGA" },
            {
                { "ALFA", "1", "A", "1S", 241.5, 400.0, 3, -2 },
                { "D'Amico \"Nino\"", "1", "A", "T", 362.25, 600.0, 1, -1 },
                { "Bianchi", "1", "B", "2", 0.0, 0.0, 5, 2 },
            });
        insert(d, "NEW_TAB", { "NOME_TABELLA" }, { { "SCALA B" }, { "VUOTA" } });
        const QList<platform::FieldDef> userTable = {
            { QStringLiteral("CONDOMINO") },
            { QStringLiteral("PALAZ") },
            { QStringLiteral("SCALA") },
            { QStringLiteral("MQ"), platform::FieldType::Double },
            { QStringLiteral("MILLESIMI"), platform::FieldType::Double },
            { QStringLiteral("PIANO") },
            { QStringLiteral("NOME_CONDO") },
            { QStringLiteral("INPUT"), platform::FieldType::Double },
            { QStringLiteral("INTERNO"), platform::FieldType::Integer },
            { QStringLiteral("RIGA"), platform::FieldType::Double },
        };
        d.createTable(QStringLiteral("SCALA B"), userTable);
        d.createTable(QStringLiteral("VUOTA"), userTable);
        insert(d, "SCALA B",
            { "CONDOMINO", "PALAZ", "SCALA", "MQ", "MILLESIMI", "PIANO", "INPUT", "INTERNO", "RIGA" },
            {
                { "Bianchi", "1", "B", 90.0, 500.0, "2", 2.0, 5, 2 },
                { "Verdi", "1", "B", 60.0, 333.333, "3", QVariant(), 6, 3 },
                { "Neri", "1", "B", 30.0, 166.667, "4", 1.0, 8, 4 },
            });
        // What an earlier user-table print left in the buffer.
        insert(d, "TEMP_VARIE", { "CONDOMINO", "NOME_CONDO" },
            { { "Vecchio", "ALTRA" }, { "Vecchio 2", "ALTRA" } });
        transaction.commit();
    }

    /** Chooses a building and a stair in the boxes as the user does. */
    void choose(printing::ST_MIL &f, const QString &building, const QString &stair)
    {
        if (!building.isEmpty()) {
            f.selectBuilding(f.Combo1->findText(building));
        }
        if (!stair.isEmpty())
            f.selectStair(f.Combo2->findText(stair));
    }

    QString exportPath(const QString &name) const { return folder.file(QStringLiteral("ARCHIVI/") + name); }
    QString definition(const QString &name) const { return folder.file(QStringLiteral("STAMPE/") + name); }

    TempProgramFolder folder;
    platform::ScriptedDialogs boxes;
    platform::vb::DecimalSeparatorScope comma { u',' };
    QString archive;
};

} // namespace zav::test
