#pragma once

#include "platform/cadautomation.h"

#include <QString>
#include <QWidget>

#include <functional>
#include <memory>

namespace zav::shell {

/**
 * @brief The main window's link to the CAD program: the automation object and the CAD window
 * flag, both living as long as the main window.
 *
 * "On" creates a fresh automation object and identifies the program to it; the first "on" after
 * the start or after an "off" also prepares and shows the CAD window and hands it the window of
 * the workspace's hidden text box, into which the CAD program then types. Every step is skipped
 * without a message when it fails (CAD program not installed, no workspace yet).
 */
class CadLink
{
public:
    /** @brief The automation class of the CAD program. */
    static inline const QString className = QStringLiteral("lumera.ComLumera");
    /** @brief The code by which the program identifies itself to the CAD program. */
    static constexpr qint32 identificationCode = 730519;

    /** @brief Gives the workspace's hidden text box, or nullptr while there is no workspace. */
    using TextBoxSource = std::function<QWidget *()>;

    explicit CadLink(TextBoxSource textBox = {});
    ~CadLink();
    CadLink(const CadLink &) = delete;
    CadLink &operator=(const CadLink &) = delete;

    void setTextBoxSource(TextBoxSource textBox) { m_textBox = std::move(textBox); }

    /** @brief CAD on (`cadon`, `tCad`). */
    void cadOn();
    /** @brief CAD off (`cadoff`): the flag goes false and the object is released. */
    void cadOff();

    /** @brief The CAD window flag: the CAD window has been started and given the text box. */
    bool windowStarted() const { return m_windowStarted; }
    /** @brief The automation object held, or nullptr. */
    platform::CadAutomation *object() const { return m_object.get(); }

private:
    platform::CadAutomation &requireObject() const;
    void setObject(std::unique_ptr<platform::CadAutomation> object);

    TextBoxSource m_textBox;
    std::unique_ptr<platform::CadAutomation> m_object;
    bool m_windowStarted = false;
};

} // namespace zav::shell
