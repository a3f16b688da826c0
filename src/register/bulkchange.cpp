#include "register/bulkchange.h"

#include "engine/archive.h"
#include "platform/db.h"
#include "platform/vb.h"

#include <cmath>

namespace zav::register_ {

using platform::Database;

namespace {

// Empty text goes in as Null, as a cleared cell of the register does.
QVariant textOrNull(const QString &value)
{
    return value.isEmpty() ? QVariant() : QVariant(value);
}

} // namespace

BulkChange::BulkChange(const BulkValues &values)
    : m_values(values)
{
    if (values.groundHeight)
        m_ground = values.groundHeight->start + values.groundHeight->step;
    if (values.liftHeight)
        m_lift = values.liftHeight->start + values.liftHeight->step;
    m_interno = values.firstInterno;
}

BulkChange::Fields BulkChange::nextRow()
{
    Fields fields;
    if (m_values.owner)
        fields.append({ QStringLiteral("PROPRIETARIO"), textOrNull(*m_values.owner) });
    if (m_values.floorCode) {
        fields.append({ QStringLiteral("SIGLA"), textOrNull(*m_values.floorCode) });
        if (const std::optional<int> position = engine::archive::floorPosition(*m_values.floorCode))
            fields.append({ QStringLiteral("RIGA"), *position });
    }
    if (m_interno)
        fields.append({ QStringLiteral("INTERNO"), qlonglong((*m_interno)++) });
    if (m_ground) {
        fields.append({ QStringLiteral("HTERRA"), *m_ground });
        *m_ground += m_values.groundHeight->step;
    }
    if (m_values.floorHeight)
        fields.append({ QStringLiteral("HPIANO"), *m_values.floorHeight });
    if (m_lift) {
        fields.append({ QStringLiteral("HASCENSORE"), *m_lift });
        *m_lift += m_values.liftHeight->step;
    }
    if (m_values.description)
        fields.append({ QStringLiteral("DESCRIZIONE"), textOrNull(*m_values.description) });
    return fields;
}

void BulkChange::modify(Database &db, const QList<qint64> &rows, const BulkValues &values)
{
    BulkChange change(values);
    for (qint64 row : rows) {
        const Fields fields = change.nextRow();
        if (!fields.isEmpty())
            db.update(engine::archive::CODIF_PIANI, row, fields);
    }
}

QList<qint64> BulkChange::duplicate(
    Database &db, qint64 building, const QString &stair, qint64 count, const BulkValues &values)
{
    BulkChange change(values);
    QList<qint64> added;
    for (qint64 i = 0; i < count; ++i) {
        Fields fields
            = { { QStringLiteral("NUM_PAL"), qlonglong(building) }, { QStringLiteral("SCALA"), stair } };
        fields += change.nextRow();
        added.append(db.insert(engine::archive::CODIF_PIANI, fields));
    }
    return added;
}

std::optional<double> BulkChange::boxNumber(const QString &typed)
{
    const std::optional<double> number = platform::vb::CDbl(typed);
    if (!number || !std::isfinite(*number))
        return std::nullopt;
    return number;
}

std::optional<qint64> BulkChange::duplicateCount(const QString &typed)
{
    const QString text = typed.trimmed();
    if (text.isEmpty())
        return std::nullopt;
    qint64 count = 0;
    for (const QChar c : text) {
        if (c < u'0' || c > u'9')
            return std::nullopt;
        count = count * 10 + (c.unicode() - u'0');
        if (count > MostDuplicates)
            return std::nullopt;
    }
    if (count < 1)
        return std::nullopt;
    return count;
}

std::optional<qint64> BulkChange::firstUnitNumber(double typed)
{
    if (!std::isfinite(typed) || std::fabs(typed) > 1e15)
        return std::nullopt;
    return qint64(platform::vb::Round(typed + 1.0));
}

} // namespace zav::register_
