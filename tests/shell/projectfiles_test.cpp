// The names of a project's files, the names a user may give a project, and the check that a
// folder can be written.

#include "shell/project/projectfiles.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace zav::shell::projectfiles;

// Every file of a project is named after the project, and the project after its archive less the
// extension: "VILLA.NORD.CDB" (made by an older version) is project "VILLA.NORD", with terrace
// archive "VILLA.NORD.TER", not the companion of project "VILLA".
TEST(ProjectFiles, EveryFileOfAProjectIsNamedAfterTheProject)
{
    const struct
    {
        const char *archive;
        const char *project;
        const char *terraces;
        const char *report;
        const char *lock;
    } cases[] = {
        { "VILLA.CDB", "VILLA", "VILLA.TER", "VILLA.RTF", "VILLA.LDB" },
        { "villa.cdb", "villa", "villa.TER", "villa.RTF", "villa.LDB" },
        { "VILLA.NORD.CDB", "VILLA.NORD", "VILLA.NORD.TER", "VILLA.NORD.RTF", "VILLA.NORD.LDB" },
        { "Casa Rossi.CDB", "Casa Rossi", "Casa Rossi.TER", "Casa Rossi.RTF", "Casa Rossi.LDB" },
        { "SENZA", "SENZA", "SENZA.TER", "SENZA.RTF", "SENZA.LDB" },
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.archive);
        const QString project = projectName(QString::fromUtf8(c.archive));
        EXPECT_EQ(project, QString::fromUtf8(c.project));
        EXPECT_EQ(projectFileName(project, ProjectFile::Terraces), QString::fromUtf8(c.terraces));
        EXPECT_EQ(projectFileName(project, ProjectFile::Report), QString::fromUtf8(c.report));
        EXPECT_EQ(projectFileName(project, ProjectFile::Lock), QString::fromUtf8(c.lock));
    }
    EXPECT_EQ(projectFileName(QStringLiteral("AURORA"), ProjectFile::Archive), QStringLiteral("AURORA.CDB"));
}

// Names typed in Crea and Duplica: a dot would make the project pass for a companion of another,
// separators would reach another folder, and a name longer than 60 characters could give file
// names the file system refuses.
TEST(ProjectFiles, TypedProjectNames)
{
    const QString sixty(60, u'à');
    const struct
    {
        QString name;
        const char *problem; // nullptr: accepted
    } cases[] = {
        { QStringLiteral("AURORA"), nullptr },
        { QStringLiteral("villa nord"), nullptr },
        { QStringLiteral("Condominio_2024-bis"), nullptr },
        { sixty, nullptr },
        { QStringLiteral("villa.nord"), "\"villa.nord\" non è un nome di progetto valido" },
        { QStringLiteral("VILLA."), "\"VILLA.\" non è un nome di progetto valido" },
        { QStringLiteral("."), "\".\" non è un nome di progetto valido" },
        { QStringLiteral(".."), "\"..\" non è un nome di progetto valido" },
        { QStringLiteral("../FUORI"), "\"../FUORI\" non è un nome di progetto valido" },
        { QStringLiteral("sotto/PROVA"), "\"sotto/PROVA\" non è un nome di progetto valido" },
        { QStringLiteral("sotto\\PROVA"), "\"sotto\\PROVA\" non è un nome di progetto valido" },
        { QStringLiteral("riga\nnuova"),
            "non è un nome di progetto valido: contiene caratteri di controllo" },
        // A mark that reverses the text ("VIALE" would read "ELAIV"), one that shows nothing, and a
        // format character outside the basic plane (a language tag).
        { QStringLiteral("\u202EVIALE"),
            "non è un nome di progetto valido: contiene caratteri di controllo" },
        { QStringLiteral("VIA\u200BLE"),
            "non è un nome di progetto valido: contiene caratteri di controllo" },
        { QString::fromUcs4(U"VIALE\U000E0001"), "contiene caratteri di controllo o di formato" },
        { QStringLiteral("A") + QChar(0xD835),
            "contiene caratteri di controllo o di formato" }, // half a character
        // Letters outside the basic plane, accents and other scripts are names.
        { QString::fromUcs4(U"\U0001D538\U0001D539\U0001D53B"), nullptr },
        { QStringLiteral("Perù e Città"), nullptr },
        { QStringLiteral("\u05E9\u05DC\u05D5\u05DD"), nullptr },
        { sixty + u'x',
            "Il nome del progetto è troppo lungo (61 caratteri): può avere al massimo 60 caratteri." },
        { QString(300, u'N'),
            "Il nome del progetto è troppo lungo (300 caratteri): può avere al massimo 60 caratteri." },
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name.left(20).toStdString());
        const std::optional<QString> problem = projectNameProblem(c.name);
        if (!c.problem) {
            EXPECT_EQ(problem, std::nullopt);
            continue;
        }
        ASSERT_TRUE(problem.has_value());
        EXPECT_TRUE(problem->contains(QString::fromUtf8(c.problem))) << problem->toStdString();
    }
    EXPECT_TRUE(projectNameProblem(QStringLiteral("villa.nord"))->contains(QStringLiteral("il punto")));
}

// Whether a folder can be written is found by writing there: a file where the folder should be,
// and a folder that is not there, cannot be written, whoever runs the program.
TEST(ProjectFiles, AFolderIsWritableWhenAFileCanBeMadeInIt)
{
    QTemporaryDir dir;
    EXPECT_TRUE(isWritableFolder(dir.path()));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList()); // the probe is gone

    const QString file = dir.filePath(QStringLiteral("ARCHIVI"));
    QFile made(file);
    ASSERT_TRUE(made.open(QIODevice::WriteOnly));
    made.close();
    EXPECT_FALSE(isWritableFolder(file));
    EXPECT_FALSE(isWritableFolder(dir.filePath(QStringLiteral("manca"))));
    EXPECT_TRUE(isWritableFile(file));

    setWritableCheck([&](const QString &path) { return path != dir.path(); });
    EXPECT_FALSE(isWritableFolder(dir.path()));
    EXPECT_FALSE(isWritableFile(file)); // its folder is not
    setWritableCheck({});
    EXPECT_TRUE(isWritableFolder(dir.path()));
}
