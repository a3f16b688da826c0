#pragma once

#include "platform/progress.h"

#include <QElapsedTimer>

#include <functional>

namespace zav::engine::ui {

class ATTESA;

/**
 * @brief The engine's progress reports shown in the window ATTESA and in the busy pointer.
 *
 * The program installs one with platform::setProgress(). The window is the form "ATTESA" of the
 * form registry: created on first use (the first report that touches it), shown modeless by show()
 * and unloaded by close().
 *
 * The engine works without returning to the event loop, so the window keeps itself on screen: show()
 * waits until the window system has put the window on screen and drawn it, and while a run goes on
 * the window is drawn again, with the window system's pending paint requests of every window, at
 * least every RepaintIntervalMs as long as reports keep coming. Neither the user's input nor
 * requests to close a window are handled meanwhile.
 */
class AttesaProgress : public platform::Progress
{
public:
    /** @brief How the busy pointer is shown: true for the hourglass, false for the normal pointer. */
    using PointerHandler = std::function<void(bool busy)>;

    /** @brief Longest time between two drawings of the window while reports come. */
    static constexpr int RepaintIntervalMs = 100;

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
    /** @brief Draws the window now, with the pending paint work of the window system. */
    void paintNow();
    /** @brief Draws the window when the last drawing is older than half the interval. */
    void paintIfDue();

    PointerHandler m_pointer;
    bool m_busy = false;
    QElapsedTimer m_sincePaint;
};

} // namespace zav::engine::ui
