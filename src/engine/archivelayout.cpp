#include "engine/archivelayout.h"

#include "platform/db.h"

namespace zav::engine::archivelayout {

namespace {

// The script's text without its "--" comments (schema scripts hold no "--" inside quoted texts).
QString withoutComments(const QString &script)
{
    QStringList lines;
    for (QString line : script.split(u'\n')) {
        const qsizetype comment = line.indexOf(QStringLiteral("--"));
        if (comment >= 0)
            line.truncate(comment);
        lines << line;
    }
    return lines.join(u'\n');
}

// Splits a field list at the commas outside parentheses ("VARCHAR(3)" keeps its own).
QStringList splitFields(const QString &list)
{
    QStringList parts;
    QString current;
    int depth = 0;
    for (const QChar c : list) {
        if (c == u'(')
            ++depth;
        else if (c == u')')
            --depth;
        if (c == u',' && depth == 0) {
            parts << current.trimmed();
            current.clear();
        } else {
            current += c;
        }
    }
    if (!current.trimmed().isEmpty())
        parts << current.trimmed();
    return parts;
}

} // namespace

QList<Table> tablesOfScript(const QString &script)
{
    QList<Table> tables;
    const QStringList statements = withoutComments(script).split(u';');
    for (const QString &text : statements) {
        const QString statement = text.simplified();
        if (!statement.startsWith(QStringLiteral("CREATE TABLE "), Qt::CaseInsensitive))
            continue;
        const qsizetype open = statement.indexOf(u'(');
        const qsizetype close = statement.lastIndexOf(u')');
        if (open < 0 || close < open)
            continue;
        Table table;
        table.name = statement.mid(13, open - 13).trimmed();
        for (const QString &field : splitFields(statement.mid(open + 1, close - open - 1)))
            table.fields << field.section(u' ', 0, 0);
        tables << table;
    }
    return tables;
}

QStringList indexesOfScript(const QString &script)
{
    QStringList indexes;
    for (const QString &text : withoutComments(script).split(u';')) {
        const QString statement = text.simplified();
        if (statement.startsWith(QStringLiteral("CREATE INDEX "), Qt::CaseInsensitive))
            indexes << statement;
    }
    return indexes;
}

QList<Problem> check(platform::Database &db, const QList<Table> &format)
{
    QList<Problem> problems;
    for (const Table &table : format) {
        if (!db.hasTable(table.name)) {
            problems.append({ Problem::Kind::MissingTable, table.name, QString(), -1 });
            continue;
        }
        const QStringList fields = db.fields(table.name);
        for (int i = 0; i < table.fields.size(); ++i) {
            const QString &field = table.fields.at(i);
            if (i < fields.size() && fields.at(i).compare(field, Qt::CaseInsensitive) == 0)
                continue;
            const Problem::Kind kind = fields.contains(field, Qt::CaseInsensitive)
                ? Problem::Kind::MisplacedField
                : Problem::Kind::MissingField;
            problems.append({ kind, table.name, field, i });
        }
    }
    return problems;
}

bool hasAnyFormatTable(platform::Database &db, const QList<Table> &format)
{
    for (const Table &table : format) {
        if (db.hasTable(table.name))
            return true;
    }
    return false;
}

QStringList describe(const QList<Problem> &problems, int limit)
{
    QStringList lines;
    for (const Problem &problem : problems) {
        if (lines.size() == limit) {
            lines << QStringLiteral("... e altre %1 differenze").arg(problems.size() - limit);
            break;
        }
        switch (problem.kind) {
        case Problem::Kind::MissingTable:
            lines << QStringLiteral("manca la tabella %1").arg(problem.table);
            break;
        case Problem::Kind::MissingField:
            lines << QStringLiteral("nella tabella %1 manca il campo %2").arg(problem.table, problem.field);
            break;
        case Problem::Kind::MisplacedField:
            lines << QStringLiteral(
                "nella tabella %1 il campo %2 non è al suo posto (dovrebbe essere il %3°)")
                         .arg(problem.table, problem.field)
                         .arg(problem.position + 1);
            break;
        }
    }
    return lines;
}

} // namespace zav::engine::archivelayout
