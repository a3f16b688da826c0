#include "controls/propertybag.h"

namespace zav::controls {

QVariant PropertyBag::readProperty(const QString &key, const QVariant &defaultValue) const
{
    for (const auto &entry : m_entries) {
        if (entry.first == key)
            return entry.second;
    }
    return defaultValue;
}

void PropertyBag::writeProperty(const QString &key, const QVariant &value)
{
    for (auto &entry : m_entries) {
        if (entry.first == key) {
            entry.second = value;
            return;
        }
    }
    m_entries.append({ key, value });
}

bool PropertyBag::contains(const QString &key) const
{
    for (const auto &entry : m_entries) {
        if (entry.first == key)
            return true;
    }
    return false;
}

QStringList PropertyBag::keys() const
{
    QStringList result;
    result.reserve(m_entries.size());
    for (const auto &entry : m_entries)
        result.append(entry.first);
    return result;
}

QVariantMap PropertyBag::toVariantMap() const
{
    QVariantMap map;
    for (const auto &entry : m_entries)
        map.insert(entry.first, entry.second);
    return map;
}

PropertyBag PropertyBag::fromVariantMap(const QVariantMap &map)
{
    PropertyBag bag;
    for (auto it = map.cbegin(); it != map.cend(); ++it)
        bag.writeProperty(it.key(), it.value());
    return bag;
}

} // namespace zav::controls
