#include "shell/commands/cadlink.h"

#include "engine/var_gbl.h"
#include "platform/steps.h"

namespace zav::shell {

using platform::AutomationError;
using platform::tryStep;

CadLink::CadLink(TextBoxSource textBox)
    : m_textBox(std::move(textBox))
{
}

CadLink::~CadLink()
{
    setObject(nullptr);
}

void CadLink::setObject(std::unique_ptr<platform::CadAutomation> object)
{
    m_object = std::move(object);
    engine::VAR_GBL.oggetto_cad = m_object != nullptr;
}

platform::CadAutomation &CadLink::requireObject() const
{
    if (!m_object)
        throw AutomationError(QStringLiteral("Nessun oggetto CAD"));
    return *m_object;
}

void CadLink::cadOn()
{
    // A creation that fails leaves the object held before in place, as an assignment that
    // never happened would.
    tryStep([this] { setObject(platform::createCadAutomation(className)); });
    tryStep([this] { requireObject().identificazione(identificationCode); });
    if (m_windowStarted)
        return;
    // The flag is set before the calls: an "on" whose calls failed still counts as started
    // until the next "off".
    m_windowStarted = true;
    tryStep([this] { requireObject().init_Cadform(true, 0); });
    tryStep([this] { requireObject().mostra(); });
    tryStep([this] {
        QWidget *textBox = m_textBox ? m_textBox() : nullptr;
        if (!textBox)
            throw AutomationError(QStringLiteral("Nessuna casella per i tasti del CAD"));
        requireObject().SET_HANDLE(qint32(textBox->winId()));
    });
}

void CadLink::cadOff()
{
    m_windowStarted = false;
    setObject(nullptr);
}

} // namespace zav::shell
