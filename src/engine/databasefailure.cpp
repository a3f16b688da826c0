#include "engine/databasefailure.h"
#include "engine/messagetitles.h"

#include "platform/db.h"
#include "platform/dialogs.h"

#include <QRegularExpression>

namespace zav::engine {

namespace {

// What a database text says, by the fixed wording of SQLite's messages and of the archive layer's
// own. The first pattern that matches gives the sentence; %1 and %2 take its captured names.
struct Reading
{
    QRegularExpression pattern;
    QString sentence;
};

const QList<Reading> &readings()
{
    static const QList<Reading> list {
        { QRegularExpression(QStringLiteral("table (\\S+) has no column named (\\S+)")),
            QStringLiteral("Nella tabella %1 dell'archivio manca il campo %2.") },
        { QRegularExpression(QStringLiteral("(?:no such table|tabella non trovata): *(\\S+)")),
            QStringLiteral("Nell'archivio manca la tabella %1.") },
        { QRegularExpression(QStringLiteral("(?:no such column|campo non trovato): *(\\S+)")),
            QStringLiteral("Nell'archivio manca il campo %1.") },
        { QRegularExpression(QStringLiteral("readonly|read-only|sola lettura")),
            QStringLiteral("L'archivio è di sola lettura: le modifiche non possono essere salvate.") },
        { QRegularExpression(QStringLiteral("database (?:table )?is locked")),
            QStringLiteral("L'archivio è in uso da un'altra operazione: riprovare fra poco.") },
        { QRegularExpression(QStringLiteral("disk is full|disk full|no space left")),
            platform::diskFullText() },
        { QRegularExpression(QStringLiteral("not a database")),
            QStringLiteral("Il file non è un archivio di Zav: non è un database.") },
        { QRegularExpression(QStringLiteral("malformed|corrupt")),
            QStringLiteral("L'archivio è danneggiato.") },
        { QRegularExpression(QStringLiteral("database non trovato")),
            QStringLiteral("L'archivio non è stato trovato.") },
        { QRegularExpression(QStringLiteral("unable to open database file|cannot open")),
            QStringLiteral(
                "Impossibile aprire l'archivio: il file o la sua cartella non sono accessibili.") },
        { QRegularExpression(QStringLiteral("disk i/o error")),
            QStringLiteral("Errore di lettura o scrittura sul disco.") },
    };
    return list;
}

} // namespace

QString databaseFailureText(const QString &databaseText)
{
    const QString raw = databaseText.trimmed();
    QString sentence = QStringLiteral("Errore dell'archivio.");
    for (const Reading &reading : readings()) {
        QRegularExpression pattern = reading.pattern;
        pattern.setPatternOptions(QRegularExpression::CaseInsensitiveOption);
        const QRegularExpressionMatch match = pattern.match(raw);
        if (!match.hasMatch())
            continue;
        sentence = reading.sentence;
        for (int i = 1; i <= match.lastCapturedIndex(); ++i)
            sentence = sentence.arg(match.captured(i));
        break;
    }
    return raw.isEmpty() ? sentence : sentence + u'\n' + raw;
}

QString databaseFailureText(const platform::DbError &error)
{
    if (error.code() == platform::DbErrorCode::DatabaseNotFound)
        return QStringLiteral("L'archivio non è stato trovato.\n") + error.message();
    return databaseFailureText(error.message());
}

QString databaseFailureText(const platform::DbError &error, const QString &unchanged)
{
    if (error.code() == platform::DbErrorCode::DiskFull)
        return platform::diskFullText(unchanged);
    return databaseFailureText(error);
}

void reportDatabaseFailure(const QString &databaseText)
{
    platform::dialogs().msgBox(databaseFailureText(databaseText), platform::MsgButtons::Ok,
        platform::MsgIcon::Critical, engine::MessageTitle::ZavWarning);
}

void reportDatabaseError(const platform::DbError &error)
{
    platform::dialogs().msgBox(databaseFailureText(error), platform::MsgButtons::Ok,
        platform::MsgIcon::Critical, engine::MessageTitle::ZavWarning);
}

} // namespace zav::engine
