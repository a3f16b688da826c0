#include "support/cadautomationrecorder.h"

#include <algorithm>

namespace zav::platform {

class CadAutomationRecorder::RecordingObject : public CadAutomation
{
public:
    RecordingObject(CadAutomationRecorder *recorder, int serial)
        : m_recorder(recorder)
        , m_serial(serial)
    {
    }
    ~RecordingObject() override { m_recorder->m_alive.remove(m_serial); }

    void identificazione(qint32 code) override
    {
        m_recorder->record(m_serial, QStringLiteral("identificazione"), { code });
    }
    void init_Cadform(bool flag, qint16 value) override
    {
        m_recorder->record(m_serial, QStringLiteral("init_Cadform"), { flag, int(value) });
    }
    void mostra() override { m_recorder->record(m_serial, QStringLiteral("mostra"), {}); }
    void SET_HANDLE(qint32 handle) override
    {
        m_recorder->record(m_serial, QStringLiteral("SET_HANDLE"), { handle });
    }
    void Finestra_in_Primopiano() override
    {
        m_recorder->record(m_serial, QStringLiteral("Finestra_in_Primopiano"), {});
    }

private:
    CadAutomationRecorder *m_recorder;
    int m_serial;
};

CadAutomationRecorder::CadAutomationRecorder()
{
    setCadFactory([this](const QString &className) { return make(className); });
}

CadAutomationRecorder::~CadAutomationRecorder()
{
    setCadFactory({});
}

std::unique_ptr<CadAutomation> CadAutomationRecorder::make(const QString &className)
{
    m_creations.append(className);
    if (!m_installed)
        throw AutomationError(QStringLiteral("Classe %1 non registrata").arg(className));
    const int serial = ++m_made;
    m_alive.insert(serial);
    return std::make_unique<RecordingObject>(this, serial);
}

void CadAutomationRecorder::record(int object, const QString &method, const QVariantList &arguments)
{
    // A failing call is still recorded: the caller did make it.
    m_calls.append({ object, method, arguments });
    if (m_failing.contains(method))
        throw AutomationError(QStringLiteral("%1 non riuscito").arg(method));
}

QList<int> CadAutomationRecorder::alive() const
{
    QList<int> serials(m_alive.begin(), m_alive.end());
    std::sort(serials.begin(), serials.end());
    return serials;
}

QList<CadAutomationRecorder::Call> CadAutomationRecorder::callsOn(int object) const
{
    QList<Call> result;
    for (const Call &call : m_calls) {
        if (call.object == object)
            result.append(call);
    }
    return result;
}

} // namespace zav::platform
