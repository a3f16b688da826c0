// zav_mktemplate OUTPUT SCRIPT
// Creates OUTPUT afresh as a SQLite database and runs the statements of SCRIPT in one transaction.
// Statements end with ';'; text between single quotes and "--" comments are honoured.

#include <QCoreApplication>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>
#include <QTextStream>

#include <cstdio>

namespace {

QStringList splitStatements(const QString &script)
{
    QStringList statements;
    QString current;
    bool inQuote = false;
    for (qsizetype i = 0; i < script.size(); ++i) {
        const QChar c = script.at(i);
        if (!inQuote && c == u'-' && i + 1 < script.size() && script.at(i + 1) == u'-') {
            while (i < script.size() && script.at(i) != u'\n')
                ++i;
            current += u'\n';
            continue;
        }
        if (c == u'\'')
            inQuote = !inQuote;
        if (!inQuote && c == u';') {
            if (!current.trimmed().isEmpty())
                statements << current.trimmed();
            current.clear();
            continue;
        }
        current += c;
    }
    if (!current.trimmed().isEmpty())
        statements << current.trimmed();
    return statements;
}

int fail(const QString &message)
{
    std::fprintf(stderr, "zav_mktemplate: %s\n", qPrintable(message));
    return 1;
}

} // namespace

int main(int argc, char *argv[])
{
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() != 3)
        return fail(QStringLiteral("usage: zav_mktemplate OUTPUT SCRIPT"));

    QFile scriptFile(args.at(2));
    if (!scriptFile.open(QIODevice::ReadOnly | QIODevice::Text))
        return fail(QStringLiteral("cannot read %1").arg(args.at(2)));
    const QString script = QString::fromUtf8(scriptFile.readAll());

    const QString output = args.at(1);
    QFile::remove(output);
    const QString temporary = output + QStringLiteral(".tmp");
    QFile::remove(temporary);

    int status = 0;
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), QStringLiteral("mktemplate"));
        db.setDatabaseName(temporary);
        if (!db.open())
            return fail(db.lastError().text());
        db.transaction();
        QSqlQuery query(db);
        for (const QString &statement : splitStatements(script)) {
            if (!query.exec(statement)) {
                status = fail(QStringLiteral("%1\n  in: %2").arg(query.lastError().text(), statement));
                break;
            }
        }
        query.finish();
        if (status == 0 && !db.commit())
            status = fail(db.lastError().text());
        db.close();
    }
    QSqlDatabase::removeDatabase(QStringLiteral("mktemplate"));
    if (status != 0) {
        QFile::remove(temporary);
        return status;
    }
    if (!QFile::rename(temporary, output))
        return fail(QStringLiteral("cannot write %1").arg(output));
    return 0;
}
