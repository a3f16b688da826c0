#include "engine/ui/attesaprogress.h"

#include "engine/ui/attesa.h"

#include <QApplication>
#include <QLabel>
#include <QProgressBar>

namespace zav::engine::ui {

AttesaProgress::~AttesaProgress()
{
    setBusy(false);
    delete m_form;
}

ATTESA *AttesaProgress::form()
{
    if (!m_form)
        m_form = new ATTESA(QApplication::activeWindow());
    return m_form;
}

void AttesaProgress::setBusy(bool busy)
{
    // The pointer is a state, not a count: asking twice for the hourglass needs one "normal" to end it.
    if (busy == m_busy)
        return;
    m_busy = busy;
    if (busy)
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
    delete m_form;
}

void AttesaProgress::refresh()
{
    form()->repaint();
}

void AttesaProgress::setTask(const QString &text)
{
    form()->Label2->setText(text);
    m_form->Label2->repaint();
}

void AttesaProgress::setCountersVisible(bool visible)
{
    form()->Label3->setVisible(visible);
    m_form->Label4->setVisible(visible);
    m_form->Label5->setVisible(visible);
}

void AttesaProgress::setDone(const QString &text)
{
    form()->Label5->setText(text);
    m_form->Label5->repaint();
}

QString AttesaProgress::done() const
{
    return m_form ? m_form->Label5->text() : QString();
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
    return m_form ? m_form->ProgressBar1->maximum() : 100;
}

void AttesaProgress::setValue(int value)
{
    // A value outside the bar's range is refused and the bar keeps its value.
    form()->ProgressBar1->setValue(value);
}

int AttesaProgress::value() const
{
    return m_form ? m_form->ProgressBar1->value() : 0;
}

} // namespace zav::engine::ui
