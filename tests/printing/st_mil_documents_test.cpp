#include "controls/xpbutton.h"
#include "platform/report_rtfreader.h"
#include "printing/documents.h"
#include "printingfixture.h"
#include "support/systemrecorder.h"

#include <QDir>
#include <QFile>
#include <QRegularExpression>

using namespace zav;
using platform::SystemRecorder;
using printing::Documents;
using printing::ST_MIL;

namespace {

const QString Editor = QStringLiteral("/opt/office/bin/scrivi");

/** The print form with a recorded desktop and an editor file the test writes. */
class DocumentButtons : public test::PrintingTest
{
protected:
    void SetUp() override
    {
        PrintingTest::SetUp();
        Documents::setServices({ [this] { return editorFile; },
            [this](const QString &document) {
                associated << document;
                return true;
            } });
    }
    void TearDown() override
    {
        Documents::setServices({});
        PrintingTest::TearDown();
    }

    /** Clicks a document button as the user does (the button raises Click on release). */
    void click(controls::XPButton *button) { emit button->Click(); }

    SystemRecorder desktop;
    std::optional<QString> editorFile;
    QStringList associated;
};

QString reportMessage()
{
    return QStringLiteral(
        "Errore 35: WordPad.exe non trovato. Puoi effettuare la modifica e la stampa del file "
        "VIALE.REL con un altro Word Processor settando il percorso nel Menù Utility di Zav.");
}

QString documentMessage()
{
    return QStringLiteral(
        "Errore 35: WordPad.exe non trovato. Puoi effettuare la modifica e la stampa del file "
        "VIALE.REL con un altro Word Processor");
}

} // namespace

TEST_F(DocumentButtons, EachWordProcessorButtonStartsTheEditorOnItsDocument)
{
    editorFile = Editor;
    desktop.install(Editor);
    ST_MIL *f = form();
    // The project's report as the project was made: beside the archive, in upper case.
    const QString report = folder.file(QStringLiteral("ARCHIVI/VIALE.RTF"));
    ASSERT_TRUE(QFile::copy(folder.file(QStringLiteral("RELAZION.rtf")), report));

    const struct
    {
        controls::XPButton *button;
        QString document;
    } cases[] = {
        { f->Command3, report },
        { f->Command7, folder.file(QStringLiteral("dcc.rtf")) },
        { f->Command8, folder.file(QStringLiteral("ma.rtf")) },
        { f->Command9, folder.file(QStringLiteral("srs.rtf")) },
    };
    for (const auto &c : cases) {
        desktop.clear();
        click(c.button);
        ASSERT_EQ(desktop.started().size(), 1) << c.button->objectName().toStdString();
        // The program and its one argument travel apart: blanks and quotes need no quoting.
        EXPECT_EQ(desktop.started().at(0), (SystemRecorder::Started { Editor, { c.document }, QString() }));
        EXPECT_TRUE(QFile::exists(c.document)) << c.document.toStdString();
    }
    EXPECT_TRUE(boxes.shown().isEmpty());
    EXPECT_TRUE(associated.isEmpty());
}

TEST_F(DocumentButtons, WithoutAWordProcessorEachButtonSaysSoAndStartsNothing)
{
    ST_MIL *f = form();
    const struct
    {
        const char *situation;
        std::optional<QString> editor;
        bool told;
    } editors[] = {
        { "no editor file", std::nullopt, true },
        { "a program that is not there", Editor, true },
        { "an empty editor file", QString(), false },
    };
    for (const auto &e : editors) {
        editorFile = e.editor;
        for (controls::XPButton *button : { f->Command3, f->Command7, f->Command8, f->Command9 }) {
            boxes.clear();
            click(button);
            SCOPED_TRACE(std::string(e.situation) + " / " + button->objectName().toStdString());
            EXPECT_TRUE(desktop.started().isEmpty());
            if (!e.told) {
                EXPECT_TRUE(boxes.shown().isEmpty());
                continue;
            }
            ASSERT_EQ(boxes.shown().size(), 1);
            const auto &shown = boxes.shown().at(0);
            EXPECT_EQ(shown.title, QStringLiteral("!!! ATTENZIONE !!!"));
            EXPECT_EQ(shown.icon, platform::MsgIcon::None);
            EXPECT_EQ(shown.buttons, platform::MsgButtons::Ok);
            EXPECT_EQ(shown.text, button == f->Command3 ? reportMessage() : documentMessage());
        }
    }
}

TEST_F(DocumentButtons, TheReportOfAnArchiveInAFolderWithDotsKeepsItsWholePath)
{
    editorFile = Editor;
    desktop.install(Editor);
    // A long folder with dots in its names; the report is found whatever the case of its name.
    const QString deep
        = folder.file(QStringLiteral("Studio.Bianchi v2.1/Pratiche 2026.") + QString(80, u'x'));
    ASSERT_TRUE(QDir().mkpath(deep));
    archive = deep + QStringLiteral("/VIALE.cdb");
    ASSERT_TRUE(QFile::copy(folder.file(QStringLiteral("ARCHIVI/VIALE.cdb")), archive));
    ASSERT_TRUE(
        QFile::copy(folder.file(QStringLiteral("RELAZION.rtf")), deep + QStringLiteral("/viale.rtf")));
    engine::VAR_GBL.progetto_corrente = archive;

    click(form()->Command3);
    ASSERT_EQ(desktop.started().size(), 1);
    EXPECT_EQ(desktop.started().at(0).arguments, QStringList { deep + QStringLiteral("/viale.rtf") });

    // A report that is not there is still handed over: the word processor says so itself.
    ASSERT_TRUE(QFile::remove(deep + QStringLiteral("/viale.rtf")));
    desktop.clear();
    click(form()->Command3);
    ASSERT_EQ(desktop.started().size(), 1);
    EXPECT_EQ(desktop.started().at(0).arguments, QStringList { deep + QStringLiteral("/VIALE.RTF") });
}

TEST_F(DocumentButtons, TheReportIsTheOneTheProjectWasOpenedWith)
{
    // "viale.cdb" beside "VIALE.cdb": its own report is "viale.RTF", not VIALE's.
    editorFile = Editor;
    desktop.install(Editor);
    ASSERT_TRUE(QFile::copy(
        folder.file(QStringLiteral("RELAZION.rtf")), folder.file(QStringLiteral("ARCHIVI/VIALE.RTF"))));
    engine::VAR_GBL.progetto_corrente = folder.file(QStringLiteral("ARCHIVI/viale.cdb"));
    engine::VAR_GBL.calculationReport = folder.file(QStringLiteral("ARCHIVI/viale.RTF"));

    click(form()->Command3);
    ASSERT_EQ(desktop.started().size(), 1);
    EXPECT_EQ(
        desktop.started().at(0).arguments, QStringList { folder.file(QStringLiteral("ARCHIVI/viale.RTF")) });
}

TEST_F(DocumentButtons, TheReportWithTheProjectClosedIsRefused)
{
    editorFile = Editor;
    desktop.install(Editor);
    ST_MIL *f = form();
    engine::VAR_GBL.progetto_corrente.reset();
    click(f->Command3);
    EXPECT_TRUE(desktop.started().isEmpty());
    EXPECT_EQ(boxes.messages(), QStringList { QStringLiteral("Nessun progetto selezionato") });

    // The reference documents do not need a project.
    click(f->Command8);
    EXPECT_EQ(desktop.started().size(), 1);
}

TEST_F(DocumentButtons, TheCircularOpensThroughTheDesktopWhateverTheEditor)
{
    click(form()->XPButton1);
    EXPECT_EQ(associated, QStringList { folder.file(QStringLiteral("CIRCxMILLESIMI.pdf")) });
    EXPECT_TRUE(desktop.started().isEmpty());
    EXPECT_TRUE(boxes.shown().isEmpty());
}

TEST(ShippedDocuments, TheReferenceDocumentsReadBackAndNameTheirRules)
{
    const QString folder = QStringLiteral(ZAV_TEST_PROGRAM_DIR);
    const struct
    {
        const char *file;
        QStringList mentions;
    } documents[] = {
        { "dcc.rtf",
            { "Art. 1117", "Art. 1118", "Art. 1123", "Art. 1124", "Art. 1126", "Art. 1138", "Art. 68",
                "Art. 69" } },
        { "ma.rtf", { "Prima convocazione", "Seconda convocazione", "1136", "1120" } },
        { "srs.rtf",
            { "Tabella generale", "Tabella ascensore", "Tabella riscaldamento", "Tabella portierato" } },
    };
    for (const auto &d : documents) {
        QFile file(folder + u'/' + QString::fromLatin1(d.file));
        ASSERT_TRUE(file.open(QIODevice::ReadOnly)) << d.file;
        const QByteArray rtf = file.readAll();
        EXPECT_TRUE(rtf.startsWith("{\\rtf1")) << d.file;
        const test::RtfDocument doc = test::RtfDocument::read(rtf);
        EXPECT_TRUE(doc.balanced) << d.file;
        EXPECT_EQ(doc.rawNonAscii, 0) << d.file;
        const QString text = doc.paragraphs.join(u'\n');
        for (const QString &mention : d.mentions)
            EXPECT_TRUE(text.contains(mention)) << d.file << ": " << mention.toStdString();
    }
}

TEST(ShippedDocuments, TheCircularIsAOnePagePdf)
{
    QFile file(QStringLiteral(ZAV_TEST_PROGRAM_DIR "/CIRCxMILLESIMI.pdf"));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray pdf = file.readAll();
    EXPECT_TRUE(pdf.startsWith("%PDF"));
    // Each page object is "/Type /Page"; the page tree is "/Type /Pages".
    static const QRegularExpression page(QStringLiteral("/Type\\s*/Page[^s]"));
    EXPECT_EQ(QString::fromLatin1(pdf).count(page), 1);
}
