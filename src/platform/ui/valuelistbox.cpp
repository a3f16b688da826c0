#include "platform/ui/valuelistbox.h"

#include <QApplication>
#include <QDateTime>
#include <QKeyEvent>
#include <QListView>

namespace zav::platform {

namespace {

/** The open list: its own typing finds entries by the same rule as the closed box. */
class ValueListView : public QListView
{
public:
    using QListView::QListView;

    void keyboardSearch(const QString &search) override
    {
        // The view gathers the keys typed in quick succession into one text, as it does for its own search.
        const qint64 now = QDateTime::currentMSecsSinceEpoch();
        if (now - m_lastKeyTime > QApplication::keyboardInputInterval())
            m_typed.clear();
        m_lastKeyTime = now;
        m_typed += search;
        if (!model())
            return;
        const int row = ValueListBox::match(*model(), modelColumn(), m_typed);
        if (row < 0)
            return;
        const QModelIndex index = model()->index(row, modelColumn(), rootIndex());
        setCurrentIndex(index);
        scrollTo(index);
    }

private:
    QString m_typed;
    qint64 m_lastKeyTime = 0;
};

} // namespace

ValueListBox::ValueListBox(QWidget *parent)
    : QComboBox(parent)
{
    setView(new ValueListView(this));
}

int ValueListBox::match(const QAbstractItemModel &items, int column, const QString &text)
{
    if (text.isEmpty())
        return -1;
    int startsWith = -1;
    for (int row = 0; row < items.rowCount(); ++row) {
        const QString entry = items.index(row, column).data(Qt::DisplayRole).toString();
        if (entry.compare(text, Qt::CaseInsensitive) == 0)
            return row;
        if (startsWith < 0 && entry.startsWith(text, Qt::CaseInsensitive))
            startsWith = row;
    }
    return startsWith;
}

void ValueListBox::keyPressEvent(QKeyEvent *event)
{
    const QString text = event->text();
    const bool typing = !isEditable() && !text.isEmpty() && text.at(0).isPrint()
        && !(event->modifiers() & (Qt::ControlModifier | Qt::AltModifier | Qt::MetaModifier));
    if (!typing) {
        QComboBox::keyPressEvent(event);
        return;
    }
    const qint64 now = QDateTime::currentMSecsSinceEpoch();
    if (now - m_lastKeyTime > QApplication::keyboardInputInterval())
        m_typed.clear();
    m_lastKeyTime = now;
    m_typed += text;
    const int row = model() ? match(*model(), modelColumn(), m_typed) : -1;
    if (row >= 0 && row != currentIndex()) {
        setCurrentIndex(row);
        emit activated(row);
    }
    event->accept();
}

} // namespace zav::platform
