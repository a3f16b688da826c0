#pragma once

#include "platform/progress.h"

#include <QPointer>

namespace zav::engine::ui {

class ATTESA;

/**
 * @brief The engine's progress reports shown in the window ATTESA and in the busy pointer.
 *
 * The program installs one with platform::setProgress(). The window is created on first use (the
 * first report that touches it), shown modeless by show() and unloaded by close().
 */
class AttesaProgress : public platform::Progress
{
public:
    AttesaProgress() = default;
    ~AttesaProgress() override;
    AttesaProgress(const AttesaProgress &) = delete;
    AttesaProgress &operator=(const AttesaProgress &) = delete;

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
    ATTESA *window() const { return m_form; }

private:
    ATTESA *form();

    QPointer<ATTESA> m_form;
    bool m_busy = false;
};

} // namespace zav::engine::ui
