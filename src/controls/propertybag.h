#pragma once

#include <QList>
#include <QPair>
#include <QString>
#include <QStringList>
#include <QVariant>
#include <QVariantMap>

namespace zav::controls {

/**
 * @brief The saved properties of a control, under short keys, as its host form keeps them.
 *
 * A control writes every key it owns and reads each one back with a default for when the key is
 * missing. The bag remembers the order keys were first written, and converts to and from a
 * QVariantMap so that a form can persist it however it stores its own settings.
 */
class PropertyBag
{
public:
    /** @brief The value stored under a key, or the default when the key is missing. */
    QVariant readProperty(const QString &key, const QVariant &defaultValue = QVariant()) const;
    /** @brief Stores a value under a key, replacing any value it held (the key keeps its place). */
    void writeProperty(const QString &key, const QVariant &value);

    bool contains(const QString &key) const;
    /** @brief The keys in the order they were first written. */
    QStringList keys() const;
    bool isEmpty() const { return m_entries.isEmpty(); }

    QVariantMap toVariantMap() const;
    static PropertyBag fromVariantMap(const QVariantMap &map);

private:
    QList<QPair<QString, QVariant>> m_entries;
};

} // namespace zav::controls
