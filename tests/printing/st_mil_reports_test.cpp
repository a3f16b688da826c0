#include "platform/report_rtfreader.h"
#include "printingfixture.h"
#include "support/screenshots.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QPrinter>
#include <QPushButton>

using namespace zav;
using printing::ST_MIL;
using test::RtfDocument;

namespace {

/** The report engine itself, on the project VIALE: what the reports print. */
class PrintedReports : public test::PrintingTest
{
protected:
    RtfDocument exported(const QString &name)
    {
        QFile file(exportPath(name));
        if (!file.open(QIODevice::ReadOnly)) {
            ADD_FAILURE() << "no export " << name.toStdString();
            return {};
        }
        const QByteArray rtf = file.readAll();
        const RtfDocument doc = RtfDocument::read(rtf);
        EXPECT_TRUE(doc.balanced) << name.toStdString();
        EXPECT_EQ(doc.rawNonAscii, 0) << name.toStdString();
        return doc;
    }

    static QStringList column(const RtfDocument &doc, int c)
    {
        QStringList texts;
        for (qsizetype r = 1; r < doc.rows.size(); ++r)
            texts.append(doc.rows.at(r).value(c));
        return texts;
    }
};

} // namespace

TEST_F(PrintedReports, EveryTableOfTheFormExportsToAnRtfThatReadsBack)
{
    ST_MIL *f = form();
    f->Option3->click();
    f->Command1->click(); // the six thousandths tables
    f->Check7->setChecked(true);
    f->Label1->setText(QStringLiteral("SCALA B"));
    f->Check9->setChecked(true);
    f->Check8->setChecked(true);
    choose(*f, QStringLiteral("1"), QStringLiteral("A"));
    f->Command2->click();

    // One message lists the exports in the dispatcher's order: the eight tables, then the surfaces.
    ASSERT_EQ(boxes.messages().size(), 1);
    QStringList announced;
    for (const QString &line : boxes.messages().first().split(u'\n'))
        if (line.startsWith(QStringLiteral("- ")))
            announced.append(line.mid(2));
    EXPECT_EQ(announced.mid(0, 8),
        (QStringList { "VIAGBL.RTF", "VIAPAL1.RTF", "VIASCL1A.RTF", "VIAASC1A.RTF", "VIARISC.RTF",
            "VIAPORT.RTF", "VIASCALA B.RTF", "VIAANAGR.RTF" }));
    EXPECT_TRUE(announced.value(8).endsWith(QStringLiteral(".RTF")));

    // General: every unit, by building, stair, floor and unit; the shares and their total.
    RtfDocument doc = exported(QStringLiteral("VIAGBL.RTF"));
    EXPECT_EQ(doc.paragraphs.mid(0, 3),
        (QStringList { "Tabella Millesimi Globali", "Condominio Viale Aurora",
            QStringLiteral("Viale Aurora 12  Forlì") }));
    ASSERT_EQ(doc.rows.size(), 7);
    EXPECT_EQ(doc.rows.at(0),
        (QStringList { "Pal.", "Scala", "Piano", "Int.", "Condomino", "Mq. / Mc.\nvirtuali", "Millesimi" }));
    EXPECT_EQ(doc.rows.at(1), (QStringList { "1", "A", "1S", "3", "ALFA", "80,50", "200,125" }));
    EXPECT_EQ(column(doc, 4),
        (QStringList {
            "ALFA", "D'Amico \"Nino\"", "Bianchi", QStringLiteral("Negozio Perù"), "Rossi", "Totale" }));
    EXPECT_EQ(
        column(doc, 6), (QStringList { "200,125", "250,250", "224,625", "25,000", "300,000", "1000,000" }));
    EXPECT_EQ(doc.rows.last().at(5), QStringLiteral("400,50")); // 80.5 + 100 + 90 + 10 + 120

    // Building 1 only.
    doc = exported(QStringLiteral("VIAPAL1.RTF"));
    EXPECT_TRUE(doc.paragraphs.contains(QStringLiteral("Palazzina 1")));
    EXPECT_EQ(column(doc, 6), (QStringList { "300,500", "350,000", "300,000", "49,500", "1000,000" }));

    // Stair A of building 1, with both halves and the mean; the lift table with its own.
    doc = exported(QStringLiteral("VIASCL1A.RTF"));
    EXPECT_TRUE(doc.paragraphs.contains(QStringLiteral("Palazzina 1 - Scala A")));
    ASSERT_EQ(doc.rows.size(), 4);
    EXPECT_EQ(doc.rows.at(1).mid(4), (QStringList { "ALFA", "80,50", "450,000", "500,000", "475,000" }));
    EXPECT_EQ(doc.rows.at(3).mid(6), (QStringList { "1000,000", "1000,000", "1000,000" }));
    doc = exported(QStringLiteral("VIAASC1A.RTF"));
    EXPECT_EQ(doc.rows.at(2).mid(4),
        (QStringList { "D'Amico \"Nino\"", "100,00", "550,000", "600,000", "575,000" }));

    // Heating (a unit at 0) and porter's lodge.
    doc = exported(QStringLiteral("VIARISC.RTF"));
    EXPECT_EQ(column(doc, 6), (QStringList { "400,000", "600,000", "0,000", "1000,000" }));
    EXPECT_EQ(doc.rows.last().at(5), QStringLiteral("603,75"));
    doc = exported(QStringLiteral("VIAPORT.RTF"));
    EXPECT_EQ(doc.rows.size(), 7);
    EXPECT_EQ(doc.rows.last().at(6), QStringLiteral("1000,000"));

    // The user table through its buffer: its name, the weights (one never typed), its total.
    doc = exported(QStringLiteral("VIASCALA B.RTF"));
    EXPECT_TRUE(doc.paragraphs.contains(QStringLiteral("Tabella SCALA B")));
    EXPECT_EQ(column(doc, 4), (QStringList { "Bianchi", "Verdi", "Neri", "Totale" }));
    EXPECT_EQ(column(doc, 6), (QStringList { "2", "", "1", "" }));
    EXPECT_EQ(column(doc, 7), (QStringList { "500,000", "333,333", "166,667", "1000,000" }));

    // The register of building 1, stair A.
    doc = exported(QStringLiteral("VIAANAGR.RTF"));
    EXPECT_TRUE(doc.paragraphs.contains(QStringLiteral("Palazzina 1 - Scala A")));
    EXPECT_EQ(column(doc, 4), (QStringList { "ALFA", "D'Amico \"Nino\"", "Totale" }));
    EXPECT_EQ(column(doc, 7), (QStringList { "80,50", "100,00", "180,50" }));

    // Each unit's rooms: its own, not those of the owner's other unit or of another building.
    doc = exported(QStringLiteral("VIA1A13.RTF"));
    EXPECT_TRUE(
        doc.paragraphs.contains(QStringLiteral("Condomino ALFA - Palazzina 1 - Scala A - Interno 3")));
    EXPECT_EQ(column(doc, 0), (QStringList { "Soggiorno", "Cucina", "Totale" }));
    EXPECT_EQ(column(doc, 2), (QStringList { "20,50", "12,00", "32,50" }));
    doc = exported(QStringLiteral("VIA1A01.RTF"));
    EXPECT_EQ(column(doc, 0), (QStringList { "Camera", "Totale" }));
    doc = exported(QStringLiteral("VIA1Nessuna03.RTF"));
    EXPECT_EQ(column(doc, 0), (QStringList { "Negozio", "Totale" }));
    EXPECT_TRUE(doc.paragraphs.contains(
        QStringLiteral("Condomino Negozio Perù - Palazzina 1 - Scala Nessuna - Interno 3")));
    doc = exported(QStringLiteral("VIA1B25.RTF"));
    EXPECT_EQ(doc.rows.size(), 2); // a unit with no rooms: the headings and the total
}

TEST_F(PrintedReports, ThePrinterGetsTheGeneralTable)
{
    const QString pdf = folder.file(QStringLiteral("general.pdf"));
    platform::ReportEngine::setPrinterSetup([&](QPrinter &printer) {
        printer.setOutputFormat(QPrinter::PdfFormat);
        printer.setOutputFileName(pdf);
    });
    ST_MIL *f = form();
    f->Option2->click();
    f->Check1->setChecked(true);
    f->Command2->click();
    QFile file(pdf);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    EXPECT_TRUE(file.readAll().startsWith("%PDF"));
    EXPECT_EQ(
        boxes.messages(), QStringList { QStringLiteral("Accendi la Stampante e premi 'Ok' quando pronto") });
}

TEST_F(PrintedReports, TheWindowOpensAPreviewWithTheFormsTitle)
{
    ST_MIL *f = form();
    f->Check1->setChecked(true);
    f->Check5->setChecked(true);
    f->Command2->click();
    const QList<platform::ReportPreview *> previews = platform::ReportPreview::openPreviews();
    ASSERT_EQ(previews.size(), 2);
    for (platform::ReportPreview *preview : previews) {
        EXPECT_EQ(preview->windowTitle(), QStringLiteral("Z.A.V. (Anteprima di Stampa)"));
        EXPECT_EQ(preview->pageCount(), 1);
    }
    EXPECT_EQ(previews.at(0)->content().title, QStringLiteral("Tabella Millesimi Globali"));
    EXPECT_EQ(previews.at(1)->content().title, QStringLiteral("Tabella Millesimi Riscaldamento"));
    EXPECT_TRUE(boxes.shown().isEmpty());
}

TEST_F(PrintedReports, AMissingDefinitionIsReported)
{
    ASSERT_TRUE(QFile::remove(definition(QStringLiteral("MIL_RISC.GST"))));
    ST_MIL *f = form();
    f->Check5->setChecked(true);
    f->Check6->setChecked(true);
    f->Command2->click();
    EXPECT_EQ(boxes.messages(),
        QStringList { QStringLiteral("Stampa non eseguita: file di stampa non trovato: %1.")
                          .arg(definition(QStringLiteral("MIL_RISC.GST"))) });
    // The next report of the command still runs.
    ASSERT_EQ(platform::ReportPreview::openPreviews().size(), 1);
    EXPECT_EQ(platform::ReportPreview::openPreviews().at(0)->content().title,
        QStringLiteral("Tabella Millesimi Portierato"));
}

TEST_F(PrintedReports, AnExportThatCannotBeWrittenIsReportedAndNotAnnounced)
{
    ASSERT_TRUE(QDir(folder.file(QStringLiteral("ARCHIVI")))
                    .mkpath(QStringLiteral("VIAGBL.RTF"))); // a folder in the way
    ST_MIL *f = form();
    f->Option3->click();
    f->Check1->setChecked(true);
    f->Command2->click();
    ASSERT_EQ(boxes.messages().size(), 1);
    EXPECT_TRUE(boxes.messages().at(0).startsWith(
        QStringLiteral("Il file VIAGBL.RTF non è stato creato: impossibile scrivere il file ")))
        << boxes.messages().at(0).toStdString();
}

// Writes pictures of the print form at its opening size and of the general table's preview into the
// folder named by ZAV_SCREENSHOT_DIR.
TEST_F(PrintedReports, Screenshot)
{
    const QString target = qEnvironmentVariable("ZAV_SCREENSHOT_DIR");
    if (target.isEmpty())
        GTEST_SKIP() << "set ZAV_SCREENSHOT_DIR to write the picture";
    ASSERT_TRUE(QDir().mkpath(target));
    ST_MIL *f = form();
    f->show();
    QCoreApplication::processEvents();
    EXPECT_TRUE(zav::test::pictureWritten(f->grab(), target, QStringLiteral("print-form.png")));
    f->Check1->setChecked(true);
    f->Command2->click();
    ASSERT_EQ(platform::ReportPreview::openPreviews().size(), 1);
    platform::ReportPreview *preview = platform::ReportPreview::openPreviews().first();
    preview->resize(900, 720);
    QCoreApplication::processEvents();
    ASSERT_TRUE(QDir().mkpath(target));
    EXPECT_TRUE(zav::test::pictureWritten(preview->grab(), target, QStringLiteral("print-preview.png")));
}

TEST_F(PrintedReports, AnotherProjectsExportOfTheSameNameIsNeverReplaced)
{
    // A project of the same name in another folder exports its general table first.
    ASSERT_TRUE(QDir().mkpath(folder.file(QStringLiteral("altro"))));
    const QString other = folder.copyOf(QStringLiteral("ARCH_MIL.CLO"), QStringLiteral("altro/VIALE.cdb"));
    const auto printGeneral = [&](const QString &project) {
        engine::VAR_GBL.progetto_corrente = project;
        boxes.clear();
        ST_MIL *f = form();
        f->Option3->click();
        f->Check1->setChecked(true);
        f->Command2->click();
        EXPECT_EQ(boxes.messages().size(), 1);
        return boxes.messages().value(0);
    };
    const auto bytes = [&](const QString &name) {
        QFile file(exportPath(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    };
    const QString folderText = QDir::toNativeSeparators(folder.file(QStringLiteral("ARCHIVI")));

    EXPECT_EQ(printGeneral(other),
        QStringLiteral("Il file è stato chiamato: VIAGBL.RTF ed è stato inserito nella directory ")
            + folderText);
    const QByteArray othersExport = bytes(QStringLiteral("VIAGBL.RTF"));
    ASSERT_FALSE(othersExport.isEmpty());

    // VIALE's own export is named apart, and says so; the other's file is as it was.
    EXPECT_EQ(printGeneral(archive),
        QStringLiteral("Il file VIAGBL.RTF è l'esportazione di un altro progetto (%1) e non è stato "
                       "sostituito: questa esportazione ha un nome a parte.\n\n"
                       "Il file è stato chiamato: VIAGBL_2.RTF ed è stato inserito nella directory %2")
            .arg(QDir::toNativeSeparators(QFileInfo(other).absoluteFilePath()), folderText));
    EXPECT_EQ(bytes(QStringLiteral("VIAGBL.RTF")), othersExport);
    const RtfDocument own = exported(QStringLiteral("VIAGBL_2.RTF"));
    EXPECT_EQ(own.rows.size(), 7);

    // Each project's next export replaces its own file, and only that.
    QFile::remove(exportPath(QStringLiteral("VIAGBL_2.RTF")));
    printGeneral(archive);
    EXPECT_TRUE(QFile::exists(exportPath(QStringLiteral("VIAGBL_2.RTF"))));
    EXPECT_FALSE(QFile::exists(exportPath(QStringLiteral("VIAGBL_3.RTF"))));
    EXPECT_EQ(bytes(QStringLiteral("VIAGBL.RTF")), othersExport);
    const QByteArray viale = bytes(QStringLiteral("VIAGBL_2.RTF"));
    EXPECT_TRUE(printGeneral(other).startsWith(QStringLiteral("Il file è stato chiamato: VIAGBL.RTF ")));
    EXPECT_EQ(bytes(QStringLiteral("VIAGBL_2.RTF")), viale);

    // Once the other project is gone, its file is free again.
    ASSERT_TRUE(QFile::remove(other));
    EXPECT_TRUE(printGeneral(archive).startsWith(QStringLiteral("Il file è stato chiamato: VIAGBL.RTF ")));
    EXPECT_NE(bytes(QStringLiteral("VIAGBL.RTF")), othersExport);
}
