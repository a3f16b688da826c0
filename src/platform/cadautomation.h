#pragma once

#include <QString>
#include <QtGlobal>

#include <functional>
#include <memory>
#include <stdexcept>

namespace zav::platform {

/**
 * @brief The automation interface of the CAD program that measures rooms and types them into the
 * unit workspace. The method names are the CAD program's own; no call returns anything the
 * program reads. A failing call throws AutomationError.
 */
class CadAutomation
{
public:
    virtual ~CadAutomation() = default;

    /** @brief Identifies the calling program by its agreed code. */
    virtual void identificazione(qint32 code) = 0;
    /** @brief Prepares the CAD window. */
    virtual void init_Cadform(bool flag, qint16 value) = 0;
    /** @brief Shows the CAD window. */
    virtual void mostra() = 0;
    /** @brief The window that receives the CAD program's keystrokes. */
    virtual void SET_HANDLE(qint32 handle) = 0;
    /** @brief Brings the CAD window to the front. */
    virtual void Finestra_in_Primopiano() = 0;
};

/** @brief A CAD object that cannot be created, or a call on it that failed. */
class AutomationError : public std::runtime_error
{
public:
    explicit AutomationError(const QString &message);
};

/** @brief Makes the automation object of a class name; throws AutomationError when it cannot. */
using CadFactory = std::function<std::unique_ptr<CadAutomation>(const QString &className)>;

/**
 * @brief Creates the CAD program's automation object registered under a class name.
 *
 * No CAD program registers itself on Linux, so by default every creation fails with
 * AutomationError, as on a machine where the CAD program is not installed. Tests install a
 * recording factory.
 */
std::unique_ptr<CadAutomation> createCadAutomation(const QString &className);

/** @brief Installs the factory used by createCadAutomation; an empty one restores the default. */
void setCadFactory(CadFactory factory);

} // namespace zav::platform
