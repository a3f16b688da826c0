#pragma once

#include "platform/cadautomation.h"

#include <QList>
#include <QSet>
#include <QString>
#include <QVariantList>

namespace zav::platform {

/**
 * @brief A CAD factory for tests: every object it makes records its calls, and the recorder knows
 * which objects are still alive.
 *
 * While it lives it is the installed factory; creation can be made to fail (the CAD program not
 * installed), and so can chosen methods.
 */
class CadAutomationRecorder
{
public:
    /** @brief One call on a CAD object: the object's serial number (1 for the first made). */
    struct Call
    {
        int object = 0;
        QString method;
        QVariantList arguments;

        bool operator==(const Call &other) const = default;
    };

    CadAutomationRecorder();
    ~CadAutomationRecorder();
    CadAutomationRecorder(const CadAutomationRecorder &) = delete;
    CadAutomationRecorder &operator=(const CadAutomationRecorder &) = delete;

    /** @brief Whether creation succeeds (true at first). */
    void setInstalled(bool installed) { m_installed = installed; }
    /** @brief Makes a method throw AutomationError on every object. */
    void failMethod(const QString &method) { m_failing.insert(method); }

    /** @brief Class names asked for, in order, successful or not. */
    const QStringList &creations() const { return m_creations; }
    /** @brief Number of objects made. */
    int objectsMade() const { return m_made; }
    /** @brief Serial numbers of the objects not yet released. */
    QList<int> alive() const;
    const QList<Call> &calls() const { return m_calls; }
    /** @brief The calls made on one object. */
    QList<Call> callsOn(int object) const;
    void clearCalls() { m_calls.clear(); }

private:
    class RecordingObject;
    std::unique_ptr<CadAutomation> make(const QString &className);
    void record(int object, const QString &method, const QVariantList &arguments);

    bool m_installed = true;
    QSet<QString> m_failing;
    QStringList m_creations;
    int m_made = 0;
    QSet<int> m_alive;
    QList<Call> m_calls;
};

} // namespace zav::platform
