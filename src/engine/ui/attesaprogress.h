#pragma once

#include "platform/progress.h"

#include <functional>

namespace zav::engine::ui {

class ATTESA;

/**
 * @brief The engine's progress reports shown in the window ATTESA and in the busy pointer.
 *
 * The program installs one with platform::setProgress(). The window is the form "ATTESA" of the
 * form registry: created on first use (the first report that touches it), shown modeless by show()
 * and unloaded by close().
 */
class AttesaProgress : public platform::Progress
{
public:
    /** @brief How the busy pointer is shown: true for the hourglass, false for the normal pointer. */
    using PointerHandler = std::function<void(bool busy)>;

    AttesaProgress();
    ~AttesaProgress() override;
    AttesaProgress(const AttesaProgress &) = delete;
    AttesaProgress &operator=(const AttesaProgress &) = delete;

    /**
     * @brief Shows the busy pointer through the main window; without a handler the pointer of the
     * whole application changes.
     */
    void setPointerHandler(PointerHandler handler);

    void setBusy(bool busy) override;
    void show() override;
    void close() override;
    void refresh() override;
    void setTask(const QString &text) override;
    void setCountersVisible(bool visible) override;
    void setDone(const QString &text) override;
    QString done() const override;
    void setTotal(const QString &text) override;
    void setMaximum(int maximum) override;
    int maximum() const override;
    void setValue(int value) override;
    int value() const override;

    /** @brief The window while it is loaded; nullptr otherwise. */
    ATTESA *window() const;

private:
    ATTESA *form();

    PointerHandler m_pointer;
    bool m_busy = false;
};

} // namespace zav::engine::ui
