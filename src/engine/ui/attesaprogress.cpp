#include "engine/ui/attesaprogress.h"

#include "engine/ui/attesa.h"
#include "platform/ui/formregistry.h"

#include <QApplication>
#include <QLabel>
#include <QProgressBar>

namespace zav::engine::ui {

namespace {

const QString kNome = QStringLiteral("ATTESA");

} // namespace

AttesaProgress::AttesaProgress()
{
    if (!platform::FormRegistry::hasFactory(kNome))
        platform::FormRegistry::setFactory(kNome, [] { return new ATTESA(QApplication::activeWindow()); });
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
    form()->show();
}

void AttesaProgress::close()
{
    platform::FormRegistry::unload(kNome);
}

void AttesaProgress::refresh()
{
    form()->repaint();
}

void AttesaProgress::setTask(const QString &text)
{
    ATTESA *w = form();
    w->Label2->setText(text);
    w->Label2->repaint();
}

void AttesaProgress::setCountersVisible(bool visible)
{
    ATTESA *w = form();
    w->Label3->setVisible(visible);
    w->Label4->setVisible(visible);
    w->Label5->setVisible(visible);
}

void AttesaProgress::setDone(const QString &text)
{
    ATTESA *w = form();
    w->Label5->setText(text);
    w->Label5->repaint();
}

QString AttesaProgress::done() const
{
    const ATTESA *w = window();
    return w ? w->Label5->text() : QString();
}

void AttesaProgress::setTotal(const QString &text)
{
    form()->Label4->setText(text);
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
    // A value outside the bar's range is refused and the bar keeps its value.
    form()->ProgressBar1->setValue(value);
}

int AttesaProgress::value() const
{
    const ATTESA *w = window();
    return w ? w->ProgressBar1->value() : 0;
}

} // namespace zav::engine::ui
