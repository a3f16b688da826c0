#include "engine/ui/attesaprogress.h"

#include "engine/ui/attesa.h"
#include "platform/ui/formregistry.h"

#include <QApplication>
#include <QEvent>
#include <QLabel>
#include <QProgressBar>
#include <QThread>
#include <QWindow>

namespace zav::engine::ui {

namespace {

const QString kNome = QStringLiteral("ATTESA");

// How long show() waits at most for the window system to put the window on screen.
constexpr int ExposeTimeoutMs = 2000;

/**
 * While the window's paint work is done in the middle of a run, requests of the window system to
 * close a window (the main window's close button) are refused: the run must not be cut short by a
 * handler running inside it. The user's input is not processed at all meanwhile.
 */
class CloseRequestBlocker : public QObject
{
public:
    CloseRequestBlocker() { qApp->installEventFilter(this); }
    ~CloseRequestBlocker() override { qApp->removeEventFilter(this); }
    CloseRequestBlocker(const CloseRequestBlocker &) = delete;
    CloseRequestBlocker &operator=(const CloseRequestBlocker &) = delete;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Close && event->spontaneous()) {
            event->ignore();
            return true;
        }
        return QObject::eventFilter(watched, event);
    }
};

// The window system's pending work: exposures, paint requests, geometry; not the user's input.
void processWindowSystemWork()
{
    const CloseRequestBlocker blocker;
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
}

} // namespace

AttesaProgress::AttesaProgress()
{
    if (!platform::FormRegistry::hasFactory(kNome))
        platform::FormRegistry::setFactory(kNome, [] { return new ATTESA; });
}

AttesaProgress::~AttesaProgress()
{
    setBusy(false);
}

void AttesaProgress::setPointerHandler(PointerHandler handler)
{
    m_pointer = std::move(handler);
}

ATTESA *AttesaProgress::window() const
{
    return platform::FormRegistry::loaded<ATTESA>(kNome);
}

ATTESA *AttesaProgress::form()
{
    return platform::FormRegistry::form<ATTESA>(kNome);
}

void AttesaProgress::setBusy(bool busy)
{
    // The pointer is a state, not a count: asking twice for the hourglass needs one "normal" to end it.
    if (busy == m_busy)
        return;
    m_busy = busy;
    if (m_pointer)
        m_pointer(busy);
    else if (busy)
        QApplication::setOverrideCursor(Qt::WaitCursor);
    else
        QApplication::restoreOverrideCursor();
}

void AttesaProgress::show()
{
    ATTESA *w = form();
    if (!w)
        return;
    platform::FormRegistry::showModeless(kNome);
    // A window is drawn on screen only once the window system has exposed it, which it says through
    // events: wait for them here, since the run that follows processes none of its own.
    QElapsedTimer waited;
    waited.start();
    for (;;) {
        processWindowSystemWork();
        const QWindow *handle = w->windowHandle();
        if (!handle || handle->isExposed() || waited.elapsed() >= ExposeTimeoutMs)
            break;
        QThread::msleep(5);
    }
    paintNow();
}

void AttesaProgress::close()
{
    platform::FormRegistry::unload(kNome);
}

void AttesaProgress::refresh()
{
    if (form())
        paintNow();
}

void AttesaProgress::paintNow()
{
    ATTESA *w = window();
    if (!w || !w->isVisible())
        return;
    processWindowSystemWork();
    if (w->isVisible())
        w->repaint();
    m_sincePaint.start();
}

void AttesaProgress::paintIfDue()
{
    if (!m_sincePaint.isValid() || m_sincePaint.elapsed() >= RepaintIntervalMs / 2)
        paintNow();
}

void AttesaProgress::setTask(const QString &text)
{
    form()->Label2->setText(text);
    paintNow();
}

void AttesaProgress::setCountersVisible(bool visible)
{
    ATTESA *w = form();
    w->Label3->setVisible(visible);
    w->Label4->setVisible(visible);
    w->Label5->setVisible(visible);
    paintIfDue();
}

void AttesaProgress::setDone(const QString &text)
{
    form()->Label5->setText(text);
    paintIfDue();
}

QString AttesaProgress::done() const
{
    const ATTESA *w = window();
    return w ? w->Label5->text() : QString();
}

void AttesaProgress::setTotal(const QString &text)
{
    form()->Label4->setText(text);
    paintIfDue();
}

void AttesaProgress::setMaximum(int maximum)
{
    // As the common progress bar does, a maximum that is not above the minimum is refused.
    if (maximum < 1)
        return;
    form()->ProgressBar1->setMaximum(maximum);
}

int AttesaProgress::maximum() const
{
    const ATTESA *w = window();
    return w ? w->ProgressBar1->maximum() : 100;
}

void AttesaProgress::setValue(int value)
{
    // A value outside the bar's range is refused and the bar keeps its value. The bar would draw
    // itself at once at every step it moves on screen, which costs a long run dearly: it is drawn
    // with the rest of the window instead, as often as the window is.
    QProgressBar *bar = form()->ProgressBar1;
    if (value != bar->value()) {
        bar->setUpdatesEnabled(false);
        bar->setValue(value);
        bar->setUpdatesEnabled(true);
    }
    paintIfDue();
}

int AttesaProgress::value() const
{
    const ATTESA *w = window();
    return w ? w->ProgressBar1->value() : 0;
}

} // namespace zav::engine::ui
