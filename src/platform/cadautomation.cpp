#include "platform/cadautomation.h"

namespace zav::platform {

AutomationError::AutomationError(const QString &message)
    : std::runtime_error(message.toStdString())
{
}

namespace {

CadFactory &installedFactory()
{
    static CadFactory factory;
    return factory;
}

} // namespace

std::unique_ptr<CadAutomation> createCadAutomation(const QString &className)
{
    if (const CadFactory &factory = installedFactory()) {
        if (auto object = factory(className))
            return object;
    }
    throw AutomationError(QStringLiteral("Nessun programma registrato per la classe %1").arg(className));
}

void setCadFactory(CadFactory factory)
{
    installedFactory() = std::move(factory);
}

} // namespace zav::platform
