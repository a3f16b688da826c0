#include "startprobe.h"

#include <QAbstractButton>
#include <QApplication>
#include <QEvent>
#include <QFile>
#include <QTimer>
#include <QWidget>

#include <sys/resource.h>

#include <cstdio>
#include <cstdlib>

namespace zav {

namespace {

// A "Name:   1234 kB" line of a /proc file, in kB; 0 when missing.
long procKilobytes(const char *file, const QByteArray &name)
{
    QFile proc(QString::fromLatin1(file));
    if (!proc.open(QIODevice::ReadOnly))
        return 0;
    for (const QByteArray &line : proc.readAll().split('\n')) {
        if (line.startsWith(name + ':'))
            return line.mid(name.size() + 1).trimmed().split(' ').value(0).toLong();
    }
    return 0;
}

// Processor time the process has used so far (user and system), in microseconds.
long long cpuMicroseconds()
{
    rusage usage {};
    ::getrusage(RUSAGE_SELF, &usage);
    return (usage.ru_utime.tv_sec + usage.ru_stime.tv_sec) * 1000000LL + usage.ru_utime.tv_usec
        + usage.ru_stime.tv_usec;
}

// Reports once, with the processor time used, and ends the process at once: nothing of the
// program's own ending is measured.
[[noreturn]] void report(const QByteArray &line)
{
    const QByteArray full = line + ' ' + QByteArray::number(cpuMicroseconds());
    std::fputs(full.constData(), stdout);
    std::fputc('\n', stdout);
    std::fflush(stdout);
    std::_Exit(0);
}

class StartProbe : public QObject
{
public:
    StartProbe(bool toMainWindow, QObject *parent)
        : QObject(parent)
        , m_toMainWindow(toMainWindow)
    {
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() != QEvent::Paint || !watched->isWidgetType())
            return false;
        const QString name = watched->objectName();
        // Queued, so that the paint in hand completes first.
        if (name == QStringLiteral("INIZIO") && !m_pressed) {
            m_pressed = true;
            auto *login = static_cast<QWidget *>(watched);
            QTimer::singleShot(0, this, [this, login] {
                if (!m_toMainWindow)
                    report("login");
                if (auto *avvio = login->findChild<QAbstractButton *>(QStringLiteral("Command1")))
                    avvio->click();
            });
        } else if (name == QStringLiteral("frm_init") && m_toMainWindow) {
            QTimer::singleShot(0, this, [] {
                report("main " + QByteArray::number(procKilobytes("/proc/self/status", "VmRSS")) + ' '
                    + QByteArray::number(procKilobytes("/proc/self/smaps_rollup", "Pss")));
            });
        }
        return false;
    }

private:
    bool m_toMainWindow;
    bool m_pressed = false;
};

} // namespace

void installStartProbe(QApplication &app)
{
    const QByteArray mode = qgetenv("ZAV_START_PROBE");
    if (mode != "login" && mode != "main")
        return;
    app.installEventFilter(new StartProbe(mode == "main", &app));
}

} // namespace zav
