#pragma once

#include <QString>

namespace zav::platform {

/**
 * @brief The progress window and the busy pointer, as long operations of the engine drive them.
 *
 * The engine shows no widget: it reports here. The program installs the progress window of the
 * engine's widgets target; tests install a recording one. Without an installed one, reports go
 * nowhere.
 *
 * The window has a fixed first line, a task line, a counter line ("Elaborata U.I. n°:", the count
 * done, "su " and the total) and a bar. It is created on first use by show() and unloaded by close().
 */
class Progress
{
public:
    virtual ~Progress() = default;

    /** @brief The main window's pointer: hourglass while busy, normal otherwise. */
    virtual void setBusy(bool busy) = 0;

    /** @brief Creates the window when needed and shows it modeless. */
    virtual void show() = 0;
    /** @brief Unloads the window. */
    virtual void close() = 0;
    /**
     * @brief Draws the whole window at once. The engine processes no events while it works: the
     * window draws itself again while reports come, at least every 100 ms.
     */
    virtual void refresh() = 0;

    /** @brief The task line, repainted at once. */
    virtual void setTask(const QString &text) = 0;
    /** @brief Shows or hides the counter line. */
    virtual void setCountersVisible(bool visible) = 0;
    /** @brief The count done, as text (on screen within 100 ms). */
    virtual void setDone(const QString &text) = 0;
    virtual QString done() const = 0;
    /** @brief The total of the counter line ("su " and the number). */
    virtual void setTotal(const QString &text) = 0;

    /** @brief The bar's maximum; a maximum below 1 is refused and the previous one stays. */
    virtual void setMaximum(int maximum) = 0;
    virtual int maximum() const = 0;
    virtual void setValue(int value) = 0;
    virtual int value() const = 0;
};

/** @brief Progress that shows nothing but keeps what it is told, so that callers read back sane values. */
class SilentProgress : public Progress
{
public:
    void setBusy(bool) override { }
    void show() override { }
    void close() override { }
    void refresh() override { }
    void setTask(const QString &) override { }
    void setCountersVisible(bool) override { }
    void setDone(const QString &text) override { m_done = text; }
    QString done() const override { return m_done; }
    void setTotal(const QString &) override { }
    void setMaximum(int maximum) override
    {
        if (maximum >= 1)
            m_maximum = maximum;
    }
    int maximum() const override { return m_maximum; }
    void setValue(int value) override { m_value = value; }
    int value() const override { return m_value; }

private:
    QString m_done;
    int m_maximum = 100;
    int m_value = 0;
};

namespace detail {
inline Progress *&installedProgress()
{
    static Progress *installed = nullptr;
    return installed;
}
} // namespace detail

/** @brief The installed Progress (a silent one unless the program or a test installed another). */
inline Progress &progress()
{
    static SilentProgress silent;
    Progress *installed = detail::installedProgress();
    return installed ? *installed : silent;
}

/** @brief Installs a Progress; nullptr restores the silent one. The caller keeps ownership. */
inline void setProgress(Progress *progress)
{
    detail::installedProgress() = progress;
}

} // namespace zav::platform
