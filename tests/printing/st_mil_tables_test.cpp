#include "platform/report_recordingrunner.h"
#include "printingfixture.h"

#include "platform/ui/datasource.h"

#include <QLabel>
#include <QListWidget>
#include <QPushButton>

using namespace zav;
using platform::MsgIcon;
using printing::ST_MIL;

namespace {

class UserTableReport : public test::PrintingTest
{
protected:
    ST_MIL *userTableForm(const QString &table)
    {
        ST_MIL *f = form();
        f->Check7->setChecked(true);
        f->Label1->setText(table);
        return f;
    }

    QList<QVariantList> buffer()
    {
        const platform::Recordset rs = db().table(QStringLiteral("TEMP_VARIE"));
        QList<QVariantList> rows;
        for (int row = 0; row < rs.recordCount(); ++row) {
            QVariantList values;
            for (int field = 0; field < rs.fieldCount(); ++field)
                values.append(rs.value(row, field));
            rows.append(values);
        }
        return rows;
    }

    test::RecordingReportRunner runner;
};

QStringList listed(const QListWidget *list)
{
    QStringList names;
    for (int i = 0; i < list->count(); ++i)
        names.append(list->item(i)->text());
    return names;
}

} // namespace

TEST_F(UserTableReport, CopiesTheTableIntoTheBufferAndExportsIt)
{
    ST_MIL *f = userTableForm(QStringLiteral("SCALA B"));
    f->Option3->click();
    f->Command2->click();

    // Positions 0-5 as in the table, the name at 6, nothing at 7, the unit at 8, the weight at 9
    // (empty where none was typed), nothing at 10; the earlier content is gone.
    const QVariant null;
    const QList<QVariantList> expected = {
        { "Bianchi", "1", "B", 90.0, 500.0, "2", "SCALA B", null, 5, 2.0, null },
        { "Verdi", "1", "B", 60.0, 333.333, "3", "SCALA B", null, 6, null, null },
        { "Neri", "1", "B", 30.0, 166.667, "4", "SCALA B", null, 8, 1.0, null },
    };
    const QList<QVariantList> rows = buffer();
    ASSERT_EQ(rows.size(), expected.size());
    for (qsizetype r = 0; r < rows.size(); ++r) {
        for (qsizetype c = 0; c < expected.at(r).size(); ++c) {
            if (expected.at(r).at(c).isNull())
                EXPECT_TRUE(rows.at(r).at(c).isNull()) << "row " << r << " field " << c;
            else
                EXPECT_EQ(rows.at(r).at(c).toString(), expected.at(r).at(c).toString())
                    << "row " << r << " field " << c;
        }
    }

    ASSERT_EQ(runner.runs.size(), 1);
    const platform::ReportProperties &run = runner.runs.at(0);
    EXPECT_EQ(run.ReportFileName, definition(QStringLiteral("MIL_VARI.GST")));
    EXPECT_EQ(run.DataFiles.at(0), archive);
    EXPECT_EQ(run.DataFiles.at(19), archive);
    EXPECT_EQ(run.SelectionFormula, QString());
    EXPECT_EQ(run.PrintFileName, exportPath(QStringLiteral("VIASCALA B.RTF")));
    EXPECT_EQ(boxes.messages(),
        QStringList {
            QStringLiteral("Il file è stato chiamato: VIASCALA B.RTF ed è stato inserito nella directory ")
            + QDir::toNativeSeparators(folder.file(QStringLiteral("ARCHIVI"))) });
    EXPECT_EQ(listed(f->List1), QStringList { QStringLiteral("SCALA B") });

    // The same table again is listed again.
    f->Command2->click();
    EXPECT_EQ(listed(f->List1), (QStringList { QStringLiteral("SCALA B"), QStringLiteral("SCALA B") }));
    EXPECT_EQ(buffer().size(), 3);
}

TEST_F(UserTableReport, AnEmptyOrMissingTableEmptiesTheBufferAndPrintsNothing)
{
    for (const QString &table : { QStringLiteral("VUOTA"), QStringLiteral("PERSA") }) {
        SCOPED_TRACE(table.toStdString());
        ST_MIL *f = userTableForm(table);
        boxes.clear();
        f->Command2->click();
        EXPECT_TRUE(buffer().isEmpty());
        EXPECT_TRUE(runner.runs.isEmpty());
        EXPECT_EQ(f->List1->count(), 0);
        ASSERT_EQ(boxes.shown().size(), 1);
        EXPECT_EQ(boxes.shown().at(0).text,
            QStringLiteral("La Tabella ") + table + QStringLiteral(" è vuota. Impossibile visualizzare."));
        EXPECT_EQ(boxes.shown().at(0).title, QStringLiteral("!!! Attenzione !!!"));
        EXPECT_EQ(boxes.shown().at(0).icon, MsgIcon::Critical);
    }
}

TEST_F(UserTableReport, ATableThatWasNotPrintedIsNotListed)
{
    ST_MIL *f = userTableForm(QStringLiteral("SCALA B"));
    runner.failNext(QStringLiteral("file di stampa non trovato"));
    f->Command2->click();
    EXPECT_EQ(f->List1->count(), 0);
    EXPECT_EQ(
        boxes.messages(), QStringList { QStringLiteral("Stampa non eseguita: file di stampa non trovato.") });
}

TEST_F(UserTableReport, ABufferThatCannotBeFilledIsSaidInTheProgramsWords)
{
    db().exec(QStringLiteral("DROP TABLE TEMP_VARIE"));
    ST_MIL *f = userTableForm(QStringLiteral("SCALA B"));
    f->Command2->click();
    EXPECT_TRUE(runner.runs.isEmpty());
    ASSERT_EQ(boxes.shown().size(), 1);
    EXPECT_TRUE(boxes.shown().at(0).text.startsWith(
        QStringLiteral("Impossibile preparare la stampa della tabella SCALA B.\n"
                       "Nell'archivio manca la tabella TEMP_VARIE.\n")))
        << boxes.shown().at(0).text.toStdString();
}

TEST_F(UserTableReport, ANameThatIsNoTableNameReadsAsNoTable)
{
    // Names become table names only when checked; one that reached the list all the same is no
    // table, never a path or SQL.
    ST_MIL *f = userTableForm(QStringLiteral("../SCALA B"));
    f->Option3->click();
    f->Command2->click();
    EXPECT_TRUE(runner.runs.isEmpty());
    EXPECT_EQ(boxes.messages(),
        QStringList { QStringLiteral("La Tabella ../SCALA B è vuota. Impossibile visualizzare.") });
}

// --- Room surfaces ---------------------------------------------------------------------------------

namespace {

class SurfaceReport : public test::PrintingTest
{
protected:
    test::RecordingReportRunner runner;
};

QString unitFormula(const char *owner, const char *building, const char *stair, const char *unit)
{
    return QStringLiteral("{ESPRESSIONI.NOME_CONDOMINO}=\"%1\" and {ESPRESSIONI.PALAZ}=\"%2\" and "
                          "{ESPRESSIONI.SCALA}=\"%3\" and {ESPRESSIONI.INTERNO}=%4")
        .arg(QString::fromUtf8(owner), QString::fromLatin1(building), QString::fromLatin1(stair),
            QString::fromLatin1(unit));
}

} // namespace

TEST_F(SurfaceReport, ExportedEveryUnitOfTheBuildingGetsItsOwnFile)
{
    ST_MIL *f = form();
    f->Option3->click(); // ticks "Tutti"
    f->Check8->setChecked(true);
    f->Command2->click();

    const std::pair<QString, const char *> expected[] = {
        { unitFormula("ALFA", "1", "A", "3"), "VIA1A13.RTF" },
        { unitFormula("D'Amico \"\"Nino\"\"", "1", "A", "1"), "VIA1A01.RTF" },
        { unitFormula("Bianchi", "1", "B", "5"), "VIA1B25.RTF" },
        { unitFormula("Negozio Perù", "1", "Nessuna", "3"), "VIA1Nessuna03.RTF" },
    };
    ASSERT_EQ(runner.runs.size(), 4);
    for (int i = 0; i < 4; ++i) {
        const platform::ReportProperties &run = runner.runs.at(i);
        EXPECT_EQ(run.SelectionFormula, expected[i].first);
        EXPECT_EQ(run.PrintFileName, exportPath(QString::fromLatin1(expected[i].second)));
        EXPECT_EQ(run.ReportFileName, definition(QStringLiteral("TAB_SUP.GST")));
        EXPECT_EQ(run.DataFiles.at(0), archive);
        EXPECT_EQ(run.DataFiles.at(3), archive);
    }
    // One message lists the files written, in the order written.
    ASSERT_EQ(boxes.shown().size(), 1);
    EXPECT_EQ(boxes.shown().at(0).text,
        QStringLiteral("Sono stati scritti 4 file nella directory %1:\n- VIA1A13.RTF\n- VIA1A01.RTF\n"
                       "- VIA1B25.RTF\n- VIA1Nessuna03.RTF")
            .arg(QDir::toNativeSeparators(folder.file(QStringLiteral("ARCHIVI")))));
    EXPECT_EQ(boxes.shown().at(0).title, QStringLiteral("Esportazione RTF"));
    EXPECT_TRUE(f->Data4->noCurrentRow());
}

TEST_F(SurfaceReport, TheWindowShowsTheCurrentUnitOnly)
{
    ST_MIL *f = form();
    f->Check8->setChecked(true);
    f->Data4->setCurrentRow(1);
    f->Command2->click();
    ASSERT_EQ(runner.runs.size(), 1);
    EXPECT_EQ(runner.runs.at(0).SelectionFormula, unitFormula("D'Amico \"\"Nino\"\"", "1", "A", "1"));
    EXPECT_EQ(runner.runs.at(0).Destination, platform::ReportDestination::Window);

    // No unit chosen: said, not printed.
    f->Data4->setCurrentRow(-1);
    f->Command2->click();
    EXPECT_EQ(runner.runs.size(), 1);
    EXPECT_EQ(boxes.messages(),
        QStringList { QStringLiteral("Nessun condomino scelto nella lista dei condomini.") });
}

TEST_F(SurfaceReport, WithoutTabSuperficiTuttiPrintsNothing)
{
    ST_MIL *f = form();
    f->Option2->click();
    ASSERT_TRUE(f->Check10->isChecked());
    f->Command2->click();
    EXPECT_TRUE(runner.runs.isEmpty());
}

TEST_F(SurfaceReport, AUnitWithoutItsUnitNumberOrFloorIsSkippedNeverPrintedWithAnothersName)
{
    db().exec(
        QStringLiteral("UPDATE CODIF_PIANI SET INTERNO = NULL WHERE PROPRIETARIO = 'D''Amico \"Nino\"'"));
    db().exec(QStringLiteral("UPDATE CODIF_PIANI SET SIGLA = NULL WHERE PROPRIETARIO = 'Bianchi'"));
    ST_MIL *f = form();
    f->Option3->click();
    f->Check8->setChecked(true);
    f->Command2->click();
    ASSERT_EQ(runner.runs.size(), 2);
    EXPECT_EQ(runner.runs.at(0).PrintFileName, exportPath(QStringLiteral("VIA1A13.RTF")));
    EXPECT_EQ(runner.runs.at(1).SelectionFormula, unitFormula("Negozio Perù", "1", "Nessuna", "3"));
    EXPECT_EQ(runner.runs.at(1).PrintFileName, exportPath(QStringLiteral("VIA1Nessuna03.RTF")));
    const QString skipped = QStringLiteral("Impossibile stampare la tabella superfici del condomino %1: "
                                           "palazzina, piano o interno non inseriti.");
    EXPECT_EQ(boxes.messages(),
        (QStringList { skipped.arg(QStringLiteral("D'Amico \"Nino\"")),
            skipped.arg(QStringLiteral("Bianchi")),
            QStringLiteral(
                "Sono stati scritti 2 file nella directory %1:\n- VIA1A13.RTF\n- VIA1Nessuna03.RTF")
                .arg(QDir::toNativeSeparators(folder.file(QStringLiteral("ARCHIVI")))) }));

    // Without an export the floor is not needed: Bianchi prints on the printer.
    boxes.clear();
    runner.runs.clear();
    f->Option2->click();
    f->Command2->click();
    EXPECT_EQ(runner.runs.size(), 3);
}

TEST_F(SurfaceReport, ExportNamesKeepOnlyCharactersSafeInAFileName)
{
    db().exec(QStringLiteral("UPDATE CODIF_PIANI SET SCALA = '../A' WHERE PROPRIETARIO = 'ALFA'"));
    ST_MIL *f = form();
    f->Option3->click();
    f->Check8->setChecked(true);
    f->Command2->click();
    ASSERT_FALSE(runner.runs.isEmpty());
    EXPECT_EQ(runner.runs.at(0).PrintFileName, exportPath(QStringLiteral("VIA1.._A13.RTF")));
    EXPECT_EQ(runner.runs.at(0).SelectionFormula, unitFormula("ALFA", "1", "../A", "3"));
}
