#include "platform/ui/recordform.h"

#include "platform/ui/datasource.h"

#include <QCloseEvent>

namespace zav::platform {

RecordForm::RecordForm(const QString &objectName, const QString &title, FormBinding binding, QWidget *parent)
    : BoundForm(objectName, title, std::move(binding), Qt::Dialog, parent)
{
}

RecordForm::~RecordForm() = default;

void RecordForm::discardAndClose()
{
    dataSource()->updateControls();
    close();
}

void RecordForm::closeEvent(QCloseEvent *event)
{
    attempt([this] { dataSource()->storePending(); });
    event->accept();
}

} // namespace zav::platform
