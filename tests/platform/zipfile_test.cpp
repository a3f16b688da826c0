#include "platform/zipfile.h"

#include <QByteArray>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace zav::platform;

namespace {

QString writeFile(const QString &path, const QByteArray &content)
{
    QFile file(path);
    if (!file.open(QIODevice::WriteOnly) || file.write(content) != content.size())
        ADD_FAILURE() << "cannot write " << path.toStdString();
    return path;
}

} // namespace

TEST(ZipFile, WrittenEntriesReadBackWithTheirNamesAndBytes)
{
    QTemporaryDir dir;
    QByteArray binary(70000, '\0');
    for (int i = 0; i < binary.size(); ++i)
        binary[i] = char(i * 7 % 251);
    const QString first = writeFile(dir.filePath(QStringLiteral("PROVA.CDB")), binary);
    const QString second = writeFile(dir.filePath(QStringLiteral("nota.txt")), "Relazione è pronta");
    const QString zipPath = dir.filePath(QStringLiteral("PROVA.zip"));

    ZipFile zip = ZipFile::create(zipPath);
    zip.addFile(QStringLiteral("PROVA.CDB"), first);
    zip.addFile(QStringLiteral("città.txt"), second);
    zip.commit();

    const ZipFile read = ZipFile::openForReading(zipPath);
    EXPECT_EQ(read.entries(), QStringList({ QStringLiteral("PROVA.CDB"), QStringLiteral("città.txt") }));
    EXPECT_EQ(read.read(QStringLiteral("PROVA.CDB")), binary);
    EXPECT_EQ(read.read(QStringLiteral("città.txt")), QByteArray("Relazione è pronta"));
    EXPECT_THROW(read.read(QStringLiteral("ALTRO.CDB")), ZipError);
}

TEST(ZipFile, CommitReplacesAnOlderZipOfTheSameName)
{
    QTemporaryDir dir;
    const QString a = writeFile(dir.filePath(QStringLiteral("A.CDB")), "uno");
    const QString b = writeFile(dir.filePath(QStringLiteral("B.CDB")), "due");
    const QString zipPath = dir.filePath(QStringLiteral("copia.zip"));
    {
        ZipFile zip = ZipFile::create(zipPath);
        zip.addFile(QStringLiteral("A.CDB"), a);
        zip.commit();
    }
    ZipFile zip = ZipFile::create(zipPath);
    zip.addFile(QStringLiteral("B.CDB"), b);
    zip.commit();

    EXPECT_EQ(ZipFile::openForReading(zipPath).entries(), QStringList({ QStringLiteral("B.CDB") }));
}

TEST(ZipFile, NothingIsWrittenUnlessCommitted)
{
    QTemporaryDir dir;
    const QString source = writeFile(dir.filePath(QStringLiteral("A.CDB")), "uno");
    const QString zipPath = dir.filePath(QStringLiteral("copia.zip"));
    {
        ZipFile zip = ZipFile::create(zipPath);
        zip.addFile(QStringLiteral("A.CDB"), source);
    }
    EXPECT_FALSE(QFile::exists(zipPath));

    // An existing zip stays as it was when a new one over it is dropped.
    {
        ZipFile zip = ZipFile::create(zipPath);
        zip.addFile(QStringLiteral("A.CDB"), source);
        zip.commit();
    }
    {
        ZipFile zip = ZipFile::create(zipPath);
        zip.addFile(QStringLiteral("B.CDB"), source);
    }
    EXPECT_EQ(ZipFile::openForReading(zipPath).entries(), QStringList({ QStringLiteral("A.CDB") }));
}

TEST(ZipFile, TheCommentOfTheZipReadsBackAsItWasWritten)
{
    QTemporaryDir dir;
    const QString source = writeFile(dir.filePath(QStringLiteral("A.CDB")), "uno");
    const QString zipPath = dir.filePath(QStringLiteral("copia.zip"));
    const QString cases[] = {
        QStringLiteral("Zav progetto: /home/anna/VIALE.CDB"),
        QStringLiteral("Zav progetto: /home/anna/Città e più/Condominio «Béla» 100%/VIALE.CDB"),
        QStringLiteral("prima riga\nseconda riga"), QString(65535, u'x'), // the longest comment a zip holds
        QString(), // none
    };
    for (const QString &comment : cases) {
        ZipFile zip = ZipFile::create(zipPath);
        zip.addFile(QStringLiteral("A.CDB"), source);
        zip.setComment(comment);
        zip.commit();
        const ZipFile read = ZipFile::openForReading(zipPath);
        EXPECT_EQ(read.comment(), comment) << comment.left(60).toStdString();
        EXPECT_EQ(read.read(QStringLiteral("A.CDB")), QByteArray("uno"));
    }

    // A longer one is refused, and the zip already there stays as it was.
    ZipFile zip = ZipFile::create(zipPath);
    zip.addFile(QStringLiteral("A.CDB"), source);
    EXPECT_THROW(zip.setComment(QString(65536, u'x')), ZipError);
    // Two bytes a character in UTF-8: too long too.
    EXPECT_THROW(zip.setComment(QString(40000, u'è')), ZipError);
    EXPECT_TRUE(ZipFile::openForReading(zipPath).comment().isEmpty());
}

TEST(ZipFile, FailuresAreReported)
{
    QTemporaryDir dir;
    const QString source = writeFile(dir.filePath(QStringLiteral("A.CDB")), "uno");

    // A source that is not there.
    ZipFile zip = ZipFile::create(dir.filePath(QStringLiteral("a.zip")));
    EXPECT_THROW(zip.addFile(QStringLiteral("X.CDB"), dir.filePath(QStringLiteral("X.CDB"))), ZipError);

    // A folder that does not exist: the zip cannot be written, and the user reads why in Italian.
    try {
        ZipFile bad = ZipFile::create(dir.filePath(QStringLiteral("manca/a.zip")));
        bad.addFile(QStringLiteral("A.CDB"), source);
        bad.commit();
        ADD_FAILURE() << "a zip written into a missing folder";
    } catch (const ZipError &error) {
        EXPECT_TRUE(error.message().contains(QStringLiteral("impossibile scrivere lo zip (file o cartella "
                                                            "inesistente)")))
            << error.message().toStdString();
    }
    EXPECT_FALSE(QDir(dir.filePath(QStringLiteral("manca"))).exists());

    // Reading: a missing file and a file that is not a zip.
    EXPECT_THROW(ZipFile::openForReading(dir.filePath(QStringLiteral("nessuno.zip"))), ZipError);
    try {
        ZipFile::openForReading(source);
        ADD_FAILURE() << "a text file read as a zip";
    } catch (const ZipError &error) {
        EXPECT_TRUE(error.message().endsWith(QStringLiteral("il file non è uno zip")))
            << error.message().toStdString();
    }
}

TEST(ZipFile, TemporariesOfAnEarlierStoppedWriteOfThatZipAreRemoved)
{
    // libzip writes "NAME.zip.XXXXXX" and renames it; a killed write leaves it behind.
    QTemporaryDir dir;
    const QString source = writeFile(dir.filePath(QStringLiteral("A.CDB")), "uno");
    const struct
    {
        const char *name;
        bool removed;
    } cases[] = {
        { "copia.zip.Ab3dE9", true },
        { "copia.zip.000000", true },
        { "copia.zip.Ab3dE", false }, // not six characters
        { "copia.zip.Ab3dE9x", false },
        { "altro.zip.Ab3dE9", false }, // another zip's
        { "COPIA.zip.Ab3dE9", false }, // another zip's, whatever the case
        { "copia.zipxAb3dE9", false },
    };
    for (const auto &c : cases)
        writeFile(dir.filePath(QString::fromLatin1(c.name)), "resto");

    ZipFile zip = ZipFile::create(dir.filePath(QStringLiteral("copia.zip")));
    zip.addFile(QStringLiteral("A.CDB"), source);
    zip.commit();

    for (const auto &c : cases)
        EXPECT_EQ(QFile::exists(dir.filePath(QString::fromLatin1(c.name))), !c.removed) << c.name;
    EXPECT_EQ(
        ZipFile::openForReading(dir.filePath(QStringLiteral("copia.zip"))).read(QStringLiteral("A.CDB")),
        QByteArray("uno"));
}
