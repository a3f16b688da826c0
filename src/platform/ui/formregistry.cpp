#include "platform/ui/formregistry.h"

#include <QEvent>
#include <QEventLoop>
#include <QHash>
#include <QPointer>

namespace zav::platform {

namespace {

struct Registry
{
    QHash<QString, FormRegistry::Factory> factories;
    QHash<QString, QPointer<QWidget>> forms;
    FormRegistry::ModalDriver driver;
};

Registry &registry()
{
    static Registry instance;
    return instance;
}

// A closed form loses Qt::WA_DeleteOnClose when Qt schedules its deletion: from then on it
// counts as unloaded, even before the deletion has happened.
bool isLive(const QPointer<QWidget> &form)
{
    return form && form->testAttribute(Qt::WA_DeleteOnClose);
}

/** Ends a local event loop when the watched form hides or goes. */
class CloseWatcher : public QObject
{
public:
    CloseWatcher(QWidget *form, QEventLoop *loop)
        : QObject(form)
        , m_loop(loop)
    {
        form->installEventFilter(this);
    }

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Hide)
            m_loop->quit();
        return QObject::eventFilter(watched, event);
    }

private:
    QEventLoop *m_loop;
};

} // namespace

void FormRegistry::setFactory(const QString &name, Factory factory)
{
    registry().factories.insert(name, std::move(factory));
}

bool FormRegistry::hasFactory(const QString &name)
{
    return registry().factories.contains(name);
}

QWidget *FormRegistry::form(const QString &name)
{
    Registry &r = registry();
    if (QWidget *existing = loaded(name))
        return existing;
    const auto factory = r.factories.constFind(name);
    if (factory == r.factories.constEnd() || !*factory)
        return nullptr;
    QWidget *created = (*factory)();
    if (!created)
        return nullptr;
    if (created->objectName().isEmpty())
        created->setObjectName(name);
    created->setAttribute(Qt::WA_DeleteOnClose);
    r.forms.insert(name, created);
    return created;
}

QWidget *FormRegistry::loaded(const QString &name)
{
    Registry &r = registry();
    const auto it = r.forms.constFind(name);
    if (it == r.forms.constEnd())
        return nullptr;
    if (!isLive(*it)) {
        r.forms.remove(name);
        return nullptr;
    }
    return it->data();
}

void FormRegistry::unload(const QString &name)
{
    if (QWidget *form = loaded(name))
        form->close();
}

void FormRegistry::showModal(QWidget *form)
{
    if (!form)
        return;
    QPointer<QWidget> guard(form);
    form->setWindowModality(Qt::ApplicationModal);
    if (registry().driver) {
        form->show();
        registry().driver(form);
        return;
    }
    // A local loop instead of QDialog::exec(), so that plain widgets and dialogs are shown the
    // same way and a dialog keeps its deletion on close while it is up.
    QEventLoop loop;
    auto *watcher = new CloseWatcher(form, &loop);
    QObject::connect(form, &QObject::destroyed, &loop, &QEventLoop::quit);
    form->show();
    if (guard && guard->isVisible())
        loop.exec(QEventLoop::DialogExec);
    if (guard)
        delete watcher;
}

void FormRegistry::showModal(const QString &name)
{
    showModal(form(name));
}

QWidget *FormRegistry::showModeless(const QString &name)
{
    QWidget *shown = form(name);
    if (shown) {
        shown->show();
        shown->raise();
        shown->activateWindow();
    }
    return shown;
}

void FormRegistry::setModalDriver(ModalDriver driver)
{
    registry().driver = std::move(driver);
}

ModalDriverScope::ModalDriverScope(FormRegistry::ModalDriver driver)
{
    FormRegistry::setModalDriver(std::move(driver));
}

ModalDriverScope::~ModalDriverScope()
{
    FormRegistry::setModalDriver({});
}

} // namespace zav::platform
