#include "workspace/mainwindowlink.h"

#include "platform/ui/commandbar.h"
#include "platform/ui/formregistry.h"

#include <QMdiArea>
#include <QMdiSubWindow>
#include <QPointer>

namespace zav::workspace {

namespace {

QPointer<platform::CommandBar> &handedOver()
{
    static QPointer<platform::CommandBar> bar;
    return bar;
}

} // namespace

QWidget *MainWindowLink::mainWindow()
{
    return platform::FormRegistry::loaded(QStringLiteral("frm_init"));
}

platform::CommandBar *MainWindowLink::commandBar()
{
    if (handedOver())
        return handedOver();
    QWidget *window = mainWindow();
    return window ? window->findChild<platform::CommandBar *>(QStringLiteral("Bar_main1")) : nullptr;
}

void MainWindowLink::setCommandBar(platform::CommandBar *bar)
{
    handedOver() = bar;
}

void MainWindowLink::setToolEnabled(const QString &key, bool enabled)
{
    if (platform::CommandBar *bar = commandBar())
        bar->setToolEnabled(key, enabled);
}

void MainWindowLink::setThousandthsBandVisible(bool visible)
{
    if (platform::CommandBar *bar = commandBar())
        bar->setBandVisible(ThousandthsBand, visible);
}

void MainWindowLink::showMaximizedChild(QWidget *form)
{
    if (!form)
        return;
    QWidget *window = mainWindow();
    QMdiArea *area = window ? window->findChild<QMdiArea *>() : nullptr;
    if (!area) {
        form->show();
        form->raise();
        form->activateWindow();
        return;
    }
    QMdiSubWindow *child = nullptr;
    for (QMdiSubWindow *existing : area->subWindowList()) {
        if (existing->widget() == form)
            child = existing;
    }
    if (!child) {
        // The size the form gave itself, which the window takes again when it is restored.
        const QSize formSize = form->size();
        child = area->addSubWindow(form);
        // The child's frame goes with the form when the form is unloaded.
        QObject::connect(form, &QObject::destroyed, child, &QObject::deleteLater);
        form->show();
        child->show();
        child->resize((formSize + child->size() - form->size()).boundedTo(area->viewport()->size()));
        child->showMaximized();
    } else {
        form->show();
        child->show();
    }
    area->setActiveSubWindow(child);
}

} // namespace zav::workspace
