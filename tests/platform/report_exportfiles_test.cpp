#include "platform/report/exportfiles.h"
#include "platform/report/rtfwriter.h"
#include "platform/report_rtfreader.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace zav::platform;

namespace {

class ExportFilesTest : public ::testing::Test
{
protected:
    QString path(const QString &name) const { return dir.filePath(name); }

    void write(const QString &name, const QByteArray &bytes) const
    {
        QFile file(path(name));
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(bytes);
    }

    /** A project archive that exists. */
    QString project(const QString &name) const
    {
        const QString file = path(name);
        QDir().mkpath(QFileInfo(file).path());
        QFile archive(file);
        archive.open(QIODevice::WriteOnly);
        return file;
    }

    QTemporaryDir dir;
};

} // namespace

TEST_F(ExportFilesTest, TheOwnerIsReadFromTheMarkHoweverAWordProcessorBreaksItsLines)
{
    const struct
    {
        const char *rtf;
        const char *owner;
    } cases[] = {
        { "{\\rtf1{\\*\\userprops {\\propname ZavProgetto}\\proptype30{\\staticval /p/VIALE.CDB}}Testo\\par}",
            "/p/VIALE.CDB" },
        { "{\\rtf1{\\*\\userprops\r\n{\\propname ZavProgetto}\r\n\\proptype30\r\n{\\staticval "
          "/p/Via%20Roma%20%C3%A8/VIALE.CDB}}}",
            "/p/Via Roma è/VIALE.CDB" },
        { "{\\rtf1{\\*\\userprops {\\propname ZavProgetto}\\proptype30{\\staticval /p/VIA\r\nLE.CDB}}}",
            "/p/VIALE.CDB" },
        // No mark, another property, or a mark the text of the document only mentions.
        { "{\\rtf1 Testo\\par}", "" },
        { "{\\rtf1{\\*\\userprops {\\propname Autore}\\proptype30{\\staticval /p/VIALE.CDB}}}", "" },
        { "{\\rtf1 ZavProgetto /p/VIALE.CDB\\par}", "" },
        { "", "" },
    };
    for (const auto &c : cases) {
        write(QStringLiteral("X.RTF"), c.rtf);
        EXPECT_EQ(ExportFiles::ownerOf(path(QStringLiteral("X.RTF"))), QString::fromUtf8(c.owner)) << c.rtf;
    }
    EXPECT_EQ(ExportFiles::ownerOf(path(QStringLiteral("MISSING.RTF"))), QString());
}

TEST_F(ExportFilesTest, AnExportNamesItsProjectWhateverThePathHolds)
{
    // Blanks, accents, RTF's own characters and a percent sign all come back as they were.
    const QString archive = project(QStringLiteral("Condominio {Via} Roma è\\100%/VIALE.cdb"));
    ReportContent content;
    write(QStringLiteral("X.RTF"),
        RtfWriter::write(content, QPageSize(QPageSize::A4), QPageLayout::Portrait, archive));
    EXPECT_EQ(ExportFiles::ownerOf(path(QStringLiteral("X.RTF"))), archive);

    QFile file(path(QStringLiteral("X.RTF")));
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const QByteArray rtf = file.readAll();
    EXPECT_TRUE(zav::test::RtfDocument::read(rtf).balanced);
    EXPECT_TRUE(
        zav::test::RtfDocument::read(rtf).paragraphs.join(QString()).indexOf(QStringLiteral("VIALE")) < 0)
        << "the mark is no text of the document";
}

TEST_F(ExportFilesTest, AFileIsOwnFreeOrAnotherProjectsAndOnlyTheLastIsPassedOver)
{
    const QString viale = project(QStringLiteral("uno/VIALE.CDB"));
    const QString sameName = project(QStringLiteral("due/VIALE.CDB"));
    const QString otherCase = project(QStringLiteral("uno/viale.cdb"));
    const auto marked = [](const QString &owner) {
        return "{\\rtf1{\\*\\userprops {\\propname ZavProgetto}\\proptype30{\\staticval " + owner.toUtf8()
            + "}}}";
    };
    write(QStringLiteral("OWN.RTF"), marked(viale));
    write(QStringLiteral("SAME.RTF"), marked(sameName));
    write(QStringLiteral("CASE.RTF"), marked(otherCase));
    write(QStringLiteral("GONE.RTF"), marked(path(QStringLiteral("tre/VIALE.CDB"))));
    write(QStringLiteral("OLD.RTF"), "{\\rtf1 vecchia esportazione\\par}");
    // The owner written by another spelling of the same file is still this project.
    write(QStringLiteral("DOTS.RTF"), marked(path(QStringLiteral("due/../uno/VIALE.CDB"))));

    using Claim = ExportFiles::Claim;
    const std::pair<const char *, Claim> cases[] = {
        { "OWN.RTF", Claim::Own },
        { "DOTS.RTF", Claim::Own },
        { "SAME.RTF", Claim::Other },
        { "CASE.RTF", Claim::Other },
        { "GONE.RTF", Claim::Free },
        { "OLD.RTF", Claim::Free },
        { "NONE.RTF", Claim::Free },
    };
    for (const auto &[name, claim] : cases)
        EXPECT_EQ(ExportFiles::claim(path(QString::fromLatin1(name)), viale), claim) << name;
    EXPECT_EQ(ExportFiles::claim(path(QStringLiteral("OWN.RTF")), QString()), Claim::Other);

    // Passed over: another project's files and the names already taken, in the order of the names.
    write(QStringLiteral("VIAGBL.RTF"), marked(sameName));
    write(QStringLiteral("VIAGBL_2.RTF"), marked(otherCase));
    write(QStringLiteral("VIAGBL_4.RTF"), marked(sameName));
    ExportFiles::Target target = ExportFiles::target(path(QStringLiteral("VIAGBL.RTF")), viale);
    EXPECT_EQ(target.path, path(QStringLiteral("VIAGBL_3.RTF")));
    EXPECT_EQ(target.otherOwner, sameName);
    target
        = ExportFiles::target(path(QStringLiteral("VIAGBL.RTF")), viale, { QStringLiteral("viagbl_3.rtf") });
    EXPECT_EQ(target.path, path(QStringLiteral("VIAGBL_5.RTF")));
    target = ExportFiles::target(path(QStringLiteral("OWN.RTF")), viale, {});
    EXPECT_EQ(target.path, path(QStringLiteral("OWN.RTF")));
    EXPECT_EQ(target.otherOwner, QString());
    target = ExportFiles::target(path(QStringLiteral("OWN.RTF")), viale, { QStringLiteral("own.rtf") });
    EXPECT_EQ(target.path, path(QStringLiteral("OWN_2.RTF")));
    EXPECT_EQ(target.otherOwner, QString());

    EXPECT_EQ(OwnedFiles::numberedName(QStringLiteral("Bianchi A1B7.RTF"), 2),
        QStringLiteral("Bianchi A1B7_2.RTF"));
    EXPECT_EQ(OwnedFiles::numberedName(QStringLiteral("V.I.A.RTF"), 3), QStringLiteral("V.I.A_3.RTF"));
    EXPECT_EQ(OwnedFiles::numberedName(QStringLiteral("SENZA"), 2), QStringLiteral("SENZA_2"));
}
