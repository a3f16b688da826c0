#include "terraces/roomcopy.h"

#include "platform/db.h"
#include "platform/vb.h"
#include "terraces/terracearchive.h"

#include <QHash>
#include <QVector>

#include <vector>

namespace zav::terraces {

using platform::Database;

namespace {

/** A unit's key as the rooms query compares it. */
struct Key
{
    QString owner;
    QString building;
    QString stair;
    double interno = 0.0;

    bool operator==(const Key &other) const = default;
};

size_t qHash(const Key &key, size_t seed = 0)
{
    return qHashMulti(seed, key.owner, key.building, key.stair, key.interno);
}

// The rooms' fields, in the order the terrace rows take them after the code (fields 1 to 19).
const char *const RoomFields = "NOME_CONDOMINO, PALAZ, SCALA, INTERNO, DESCRIZIONE, ESPRESSIONE, MQ, "
                               "COEF1, COEF2, COEF3, COEF4, COEF5, COEF6, COEF7, COEF8, "
                               "TOT_COEF, H_PIANO, TOT_VOL, PIANO";
constexpr int RoomFieldCount = 19;

QString textOf(const QVariant &value)
{
    if (value.isNull())
        return QString();
    if (platform::vb::isNumberValue(value))
        return platform::vb::CStr(value.toDouble());
    return value.toString();
}

// The unit number as a number; none for an empty one or one that is not a number.
std::optional<double> numberOf(const QVariant &value)
{
    const QVariant key = terracearchive::numberKey(value);
    if (key.typeId() == QMetaType::QString)
        return std::nullopt;
    return key.toDouble();
}

} // namespace

QString RoomCopy::comparable(const QString &text)
{
    QString folded = text;
    for (QChar &c : folded) {
        if (c >= u'A' && c <= u'Z')
            c = QChar(c.unicode() + (u'a' - u'A'));
    }
    return folded;
}

RoomCopy::Outcome RoomCopy::run(
    const QString &projectArchive, const QString &terraceArchive, const QString &code)
{
    Outcome outcome;
    Database project = Database::open(projectArchive);
    Database terraces = Database::open(terraceArchive);

    // The listed units, each with its place in the list; a unit listed twice is copied twice.
    const platform::Recordset listed = terraces.select(terracearchive::listOfCode(code));
    const int owner = listed.fieldIndex(QStringLiteral("PROPRIETARIO"));
    const int building = listed.fieldIndex(QStringLiteral("NUM_PAL"));
    const int stair = listed.fieldIndex(QStringLiteral("SCALA"));
    const int interno = listed.fieldIndex(QStringLiteral("INTERNO"));
    std::vector<std::optional<Key>> units;
    QHash<Key, int> wanted; // key -> index of its rooms
    for (int row = 0; row < listed.recordCount(); ++row) {
        const std::optional<double> number = numberOf(listed.value(row, interno));
        if (!number) {
            units.emplace_back();
            continue;
        }
        const Key key { comparable(textOf(listed.value(row, owner))),
            comparable(textOf(listed.value(row, building))), comparable(textOf(listed.value(row, stair))),
            *number };
        if (!wanted.contains(key))
            wanted.insert(key, int(wanted.size()));
        units.emplace_back(key);
    }
    outcome.units = listed.recordCount();

    // The project's rooms, read once and grouped by unit; rooms of units not listed are passed by.
    std::vector<QVector<QVector<QVariant>>> rooms(wanted.size());
    if (!wanted.isEmpty()) {
        platform::Statement read = project.prepare(
            QStringLiteral("SELECT %1 FROM ESPRESSIONI ORDER BY rowid").arg(QLatin1String(RoomFields)));
        read.forEach({}, [&](const platform::RowView &row) {
            const platform::FieldView number = row.field(3);
            if (number.isNull())
                return;
            const std::optional<double> value = numberOf(number.toVariant());
            if (!value)
                return;
            const Key key { comparable(textOf(row.field(0).toVariant())),
                comparable(textOf(row.field(1).toVariant())), comparable(textOf(row.field(2).toVariant())),
                *value };
            const auto found = wanted.constFind(key);
            if (found == wanted.constEnd())
                return;
            QVector<QVariant> values(RoomFieldCount);
            for (int i = 0; i < RoomFieldCount; ++i)
                values[i] = row.field(i).toVariant();
            rooms[std::size_t(*found)].append(values);
        });
    }

    platform::Transaction transaction = terraces.transaction();
    platform::Statement append = terraces.prepare(QStringLiteral(
        "INSERT INTO SUP_COEFF_VOL (CODICE, NOME_CONDOMINO, PALAZ, SCALA, INTERNO, DESCRIZ_VANO, "
        "ESPRESSIONE, MQ, "
        "COEFF_PIANO, COEFF_ORIENT, COEFF_ESPOS, COEFF_LUMIN, COEFF_UTILIZ, COEFF_GLOB, COEFF_LIB1, "
        "COEFF_LIB2, "
        "SUP_CONVENZIONALE, H_PIANO, VOLUME, PIANO) VALUES (?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?,?)"));
    for (const std::optional<Key> &unit : units) {
        if (!unit)
            continue;
        for (const QVector<QVariant> &room : rooms[std::size_t(wanted.value(*unit))]) {
            QVariantList values;
            values.reserve(RoomFieldCount + 1);
            values << code;
            for (const QVariant &value : room)
                values << value;
            append.exec(values);
            ++outcome.rooms;
        }
    }
    transaction.commit();
    return outcome;
}

} // namespace zav::terraces
