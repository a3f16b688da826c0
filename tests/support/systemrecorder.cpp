#include "support/systemrecorder.h"

#include <QCoreApplication>
#include <QTimer>

namespace zav::platform {

SystemRecorder::SystemRecorder()
{
    setSystem(this);
}

SystemRecorder::~SystemRecorder()
{
    setSystem(nullptr);
}

void SystemRecorder::clear()
{
    m_started.clear();
    m_lookedUp.clear();
    m_addresses.clear();
}

QString SystemRecorder::findProgram(const QString &program)
{
    if (!m_installed.contains(program))
        return {};
    return program.startsWith(u'/') ? program : QStringLiteral("/usr/bin/") + program;
}

bool SystemRecorder::startProgram(const QString &program, const QStringList &arguments)
{
    if (!m_startSucceeds)
        return false;
    m_started.append({ program, arguments, QString() });
    return true;
}

DocumentLookup SystemRecorder::lookUpDocument(const QString &document)
{
    m_lookedUp.append(document);
    return m_lookups.value(document, DocumentLookup::Found);
}

bool SystemRecorder::openDocument(const QString &document, OpenFailed failed)
{
    if (!m_openSucceeds)
        return false;
    m_started.append({ QString(), {}, document });
    if (m_openFailsLater && failed)
        QTimer::singleShot(0, QCoreApplication::instance(), std::move(failed));
    return true;
}

bool SystemRecorder::openAddress(const QString &address)
{
    if (!m_openSucceeds)
        return false;
    m_addresses.append(address);
    return true;
}

} // namespace zav::platform
