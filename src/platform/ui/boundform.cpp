#include "platform/ui/boundform.h"

#include "platform/dialogs.h"
#include "platform/ui/datasource.h"

#include <QKeyEvent>

namespace zav::platform {

BoundForm::BoundForm(const QString &objectName, const QString &title, FormBinding binding,
    Qt::WindowFlags flags, QWidget *parent)
    : QWidget(parent, flags)
    , m_binding(std::move(binding))
    , m_data(new DataSource(this))
{
    setObjectName(objectName);
    setWindowTitle(title);
    m_data->setObjectName(m_binding.dataName);
}

BoundForm::~BoundForm() = default;

bool BoundForm::load()
{
    m_data->setDatabaseName(m_binding.database ? m_binding.database() : QString());
    return showRows(m_binding.recordSource);
}

bool BoundForm::showRows(const TableQuery &query)
{
    m_data->setRecordSource(query);
    return attempt([this] { m_data->refresh(); });
}

bool BoundForm::showRows()
{
    return showRows(m_binding.recordSource);
}

bool BoundForm::attempt(const std::function<void()> &step) const
{
    try {
        step();
        return true;
    } catch (const DbError &error) {
        reportFailure(failureText(error));
        return false;
    }
}

void BoundForm::reportFailure(const QString &text) const
{
    if (m_binding.reportFailure)
        m_binding.reportFailure(text);
    else
        dialogs().msgBox(text, MsgButtons::Ok, MsgIcon::Critical, programTitle());
}

void BoundForm::keyPressEvent(QKeyEvent *event)
{
    // Controls that use Esc themselves (a cell being edited, an open list) take it before it gets here.
    if (event->key() == Qt::Key_Escape && event->modifiers() == Qt::NoModifier && isWindow()) {
        close();
        return;
    }
    QWidget::keyPressEvent(event);
}

} // namespace zav::platform
