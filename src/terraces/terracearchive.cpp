#include "terraces/terracearchive.h"

#include "engine/archive.h"
#include "engine/databasefailure.h"
#include "platform/vb.h"

#include <QFileInfo>

#include <cmath>

namespace zav::terraces::terracearchive {

using platform::Condition;
using platform::TableQuery;

namespace {

QStringList fields(std::initializer_list<const char *> names)
{
    QStringList list;
    for (const char *name : names)
        list << QString::fromLatin1(name);
    return list;
}

} // namespace

const QList<Table> &format()
{
    static const QList<Table> tables {
        { CODICE, fields({ "CODICE", "DESCRIZIONE" }) },
        { ELENCO,
            fields({ "PROPRIETARIO", "NUM_PAL", "SCALA", "SIGLA", "INTERNO", "COD_TERRAZZE",
                "DESCRIZIONE_TER" }) },
        { SUP_COEFF_VOL,
            fields({ "CODICE", "NOME_CONDOMINO", "PALAZ", "SCALA", "INTERNO", "DESCRIZ_VANO", "ESPRESSIONE",
                "MQ", "COEFF_PIANO", "COEFF_ORIENT", "COEFF_ESPOS", "COEFF_LUMIN", "COEFF_UTILIZ",
                "COEFF_GLOB", "COEFF_LIB1", "COEFF_LIB2", "SUP_CONVENZIONALE", "H_PIANO", "VOLUME",
                "PIANO" }) },
        { MILLESIMI,
            fields({ "NOME_CONDOMINO", "PALAZ", "SCALA", "PIANO", "MQ", "MILLESIMI", "CODICE", "INTERNO",
                "DESCRIZIONE" }) },
    };
    return tables;
}

QStringList problems(const QString &path)
{
    const QFileInfo file(path);
    if (path.isEmpty() || !file.exists())
        return { QStringLiteral("il file non esiste") };
    if (!file.isFile())
        return { QStringLiteral("non è un file") };
    if (!file.isWritable())
        return { QStringLiteral("il file è di sola lettura") };
    if (!QFileInfo(file.absolutePath()).isWritable())
        return { QStringLiteral("la cartella \"%1\" è di sola lettura").arg(file.absolutePath()) };
    try {
        platform::Database db = platform::Database::open(path);
        return engine::archivelayout::describe(engine::archivelayout::check(db, format()));
    } catch (const platform::DbError &error) {
        return { engine::databaseFailureText(error).section(u'\n', 0, 0) };
    }
}

QVariant numberKey(const QVariant &value)
{
    if (value.isNull())
        return QString();
    double number = 0.0;
    if (platform::vb::isNumberValue(value)) {
        number = value.toDouble();
    } else {
        bool ok = false;
        number = value.toString().trimmed().toDouble(&ok);
        if (!ok)
            return QString();
    }
    if (!std::isfinite(number))
        return QString();
    if (number == std::floor(number) && std::fabs(number) < 1e15)
        return qlonglong(number);
    return number;
}

QVariant textKey(const QVariant &value)
{
    return value.isNull() ? QString() : value.toString();
}

TableQuery tableRow(const QString &code)
{
    return { CODICE, { { QStringLiteral("CODICE"), code } }, {} };
}

TableQuery listOfTable(const QString &code, const QString &description)
{
    return { ELENCO,
        { { QStringLiteral("COD_TERRAZZE"), code }, { QStringLiteral("DESCRIZIONE_TER"), description } },
        {} };
}

TableQuery listOfCode(const QString &code)
{
    return { ELENCO, { { QStringLiteral("COD_TERRAZZE"), code } }, {} };
}

TableQuery listOfBuilding(const QString &code, const QVariant &building)
{
    return { ELENCO,
        { { QStringLiteral("NUM_PAL"), numberKey(building) }, { QStringLiteral("COD_TERRAZZE"), code } },
        { QStringLiteral("NUM_PAL"), QStringLiteral("SCALA"), QStringLiteral("SIGLA"),
            QStringLiteral("INTERNO") } };
}

TableQuery roomsOfBuilding(const QVariant &building)
{
    return { SUP_COEFF_VOL, { { QStringLiteral("PALAZ"), numberKey(building) } }, {} };
}

TableQuery projectUnitsOfBuilding(const QVariant &building)
{
    return { engine::archive::CODIF_PIANI, { { QStringLiteral("NUM_PAL"), numberKey(building) } },
        { QStringLiteral("NUM_PAL"), QStringLiteral("SCALA"), QStringLiteral("SIGLA"),
            QStringLiteral("INTERNO") } };
}

QString roomsOfTableSource(platform::Database &db, const QString &code)
{
    const qint64 lastRowid
        = db.query(QStringLiteral("SELECT MAX(rowid) FROM SUP_COEFF_VOL")).value(0, 0).toLongLong();
    const qint64 many = lastRowid / 3 + 1;
    const bool throughIndex
        = db.query(QStringLiteral(
                       "SELECT COUNT(*) FROM (SELECT 1 FROM SUP_COEFF_VOL WHERE CODICE IS ? LIMIT ?)"),
                { code, many })
              .value(0, 0)
              .toLongLong()
        < many;
    return throughIndex
        ? QStringLiteral("SUP_COEFF_VOL WHERE rowid IN (SELECT rowid FROM SUP_COEFF_VOL WHERE CODICE IS ?)")
        : QStringLiteral("SUP_COEFF_VOL NOT INDEXED WHERE CODICE IS ?");
}

} // namespace zav::terraces::terracearchive
