// Database failures said to the user in Italian: what is wrong on the first line, the database's
// own text on the second.

#include "engine/databasefailure.h"

#include "platform/db.h"
#include "support/fixtures.h"
#include "support/scripteddialogs.h"

#include <QFile>
#include <QTemporaryDir>

#include <functional>

#include <gtest/gtest.h>

using zav::engine::databaseFailureText;
using zav::platform::Database;
using zav::platform::DbError;

TEST(DatabaseFailure, DatabaseTextsAreSaidInItalian)
{
    const struct
    {
        const char *text;
        const char *said;
    } cases[] = {
        { "no such table: CODIF_PIANI", "Nell'archivio manca la tabella CODIF_PIANI." },
        { "Tabella non trovata: MIL_RISC", "Nell'archivio manca la tabella MIL_RISC." },
        { "no such column: HPIANO", "Nell'archivio manca il campo HPIANO." },
        { "table CODIF_PIANI has no column named HPIANO",
            "Nella tabella CODIF_PIANI dell'archivio manca il campo HPIANO." },
        { "attempt to write a readonly database",
            "L'archivio è di sola lettura: le modifiche non possono essere salvate." },
        { "database or disk is full",
            "Il disco è pieno: le modifiche non possono essere salvate. Liberare spazio sul disco e "
            "riprovare." },
        { "file is not a database", "Il file non è un archivio di Zav: non è un database." },
        { "database is locked", "L'archivio è in uso da un'altra operazione: riprovare fra poco." },
        { "database disk image is malformed", "L'archivio è danneggiato." },
        { "unable to open database file",
            "Impossibile aprire l'archivio: il file o la sua cartella non sono accessibili." },
        { "near \"X\": syntax error", "Errore dell'archivio." },
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.text);
        EXPECT_EQ(databaseFailureText(QString::fromUtf8(c.text)),
            QString::fromUtf8(c.said) + u'\n' + QString::fromUtf8(c.text));
    }
    EXPECT_EQ(databaseFailureText(QString()), QStringLiteral("Errore dell'archivio."));
}

// Failures the database really gives: a missing table, a write refused as read-only, a full disk
// (a database allowed no more pages stands for it), a file that is not a database.
TEST(DatabaseFailure, RealFailuresOfTheDatabaseAreSaidInItalian)
{
    QTemporaryDir dir;
    const QString path = dir.filePath(QStringLiteral("PROVA.CDB"));
    Database db = Database::create(path);
    db.exec(QStringLiteral("CREATE TABLE T (A TEXT)"));

    const auto firstLine = [](const std::function<void()> &failing) {
        try {
            failing();
        } catch (const DbError &error) {
            return databaseFailureText(error).section(u'\n', 0, 0);
        }
        return QStringLiteral("nessun errore");
    };
    EXPECT_EQ(firstLine([&] { db.table(QStringLiteral("CODIF_PIANI")); }),
        QStringLiteral("Nell'archivio manca la tabella CODIF_PIANI."));
    EXPECT_EQ(firstLine([&] { db.query(QStringLiteral("SELECT HPIANO FROM T")); }),
        QStringLiteral("Nell'archivio manca il campo HPIANO."));

    db.exec(QStringLiteral("PRAGMA query_only = ON"));
    EXPECT_EQ(firstLine([&] {
        db.insert(QStringLiteral("T"), { { QStringLiteral("A"), QStringLiteral("x") } });
    }),
        QStringLiteral("L'archivio è di sola lettura: le modifiche non possono essere salvate."));
    db.exec(QStringLiteral("PRAGMA query_only = OFF"));

    db.query(QStringLiteral("PRAGMA max_page_count = 3"));
    EXPECT_EQ(firstLine([&] {
        for (int i = 0; i < 1000; ++i)
            db.insert(QStringLiteral("T"), { { QStringLiteral("A"), QString(500, u'x') } });
    }),
        QStringLiteral(
            "Il disco è pieno: le modifiche non possono essere salvate. Liberare spazio sul disco e "
            "riprovare."));
    db.close();

    const QString text = dir.filePath(QStringLiteral("TESTO.CDB"));
    QFile file(text);
    ASSERT_TRUE(file.open(QIODevice::WriteOnly));
    file.write(QByteArray(200, 'x'));
    file.close();
    EXPECT_EQ(firstLine([&] { Database::open(text); }),
        QStringLiteral("Il file non è un archivio di Zav: non è un database."));
    EXPECT_EQ(firstLine([&] { Database::open(dir.filePath(QStringLiteral("MANCA.CDB"))); }),
        QStringLiteral("L'archivio non è stato trovato."));
}

// A report of a window that cannot go on shows the Italian text with the critical icon.
TEST(DatabaseFailure, ReportShowsTheItalianText)
{
    zav::platform::ScriptedDialogs dialogs;
    zav::engine::reportDatabaseFailure(QStringLiteral("no such table: ESPRESSIONI"));
    ASSERT_EQ(dialogs.shown().size(), 1);
    EXPECT_EQ(dialogs.shown().at(0).text,
        QStringLiteral("Nell'archivio manca la tabella ESPRESSIONI.\nno such table: ESPRESSIONI"));
    EXPECT_EQ(dialogs.shown().at(0).title, QStringLiteral("!!! Zav - Attenzione - !!!"));
    EXPECT_EQ(dialogs.shown().at(0).icon, zav::platform::MsgIcon::Critical);
}
