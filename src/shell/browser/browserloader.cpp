#include "shell/browser/browserloader.h"

#include "platform/programfolder.h"
#include "platform/system.h"
#include "shell/browser/browsermodule.h"
#include "shell/commands/utilitycommands.h"
#include "shell/forms/frm_init.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QJsonObject>
#include <QOpenGLContext>
#include <QPluginLoader>

#if QT_CONFIG(opengl)
QT_BEGIN_NAMESPACE
Q_GUI_EXPORT void qt_gl_set_global_share_context(QOpenGLContext *context);
QT_END_NAMESPACE
#endif

namespace zav::shell {

namespace {

#if QT_CONFIG(opengl)
QOpenGLContext *g_shareContext = nullptr;

void deleteShareContext()
{
    qt_gl_set_global_share_context(nullptr);
    delete g_shareContext;
    g_shareContext = nullptr;
}
#endif

// The web engine draws through OpenGL contexts shared with the application's global one. Linked
// into a program it makes that context itself as the application starts; loaded later, it finds
// the one made here, just before it loads (the program's windows use no OpenGL of their own, so
// no context exists yet that should have shared it). Without it the engine draws without the
// graphics card. The application attribute that asks for sharing is left alone: it may only be
// set before the application exists, and would make Qt create the context at every start.
void prepareSharedOpenGl()
{
#if QT_CONFIG(opengl)
    if (QOpenGLContext::globalShareContext())
        return;
    g_shareContext = new QOpenGLContext;
    g_shareContext->create();
    qt_gl_set_global_share_context(g_shareContext);
    qAddPostRoutine(deleteShareContext);
#endif
}

} // namespace

QString BrowserLoader::moduleFileName()
{
    return QStringLiteral(ZAV_BROWSER_MODULE_FILE);
}

BrowserModule *BrowserLoader::module()
{
    const QString file = platform::ProgramFolder::file(moduleFileName());
    if (!QFileInfo(file).isFile())
        return nullptr;
    // The module stays loaded for the rest of the program: the web engine cannot be unloaded.
    QPluginLoader loader(file);
    if (loader.metaData().value(QStringLiteral("IID")).toString() == QStringLiteral(ZavBrowserModule_iid))
        prepareSharedOpenGl();
    auto *module = qobject_cast<BrowserModule *>(loader.instance());
    if (!module)
        qWarning(
            "The browser module %s did not load: %s", qPrintable(file), qPrintable(loader.errorString()));
    return module;
}

QWidget *BrowserLoader::open(const QString &address)
{
    if (BrowserModule *browser = module())
        return browser->createBrowser(address, webAddress(), searchAddress());
    // Opening in the desktop's browser reports nothing when it fails, like a missing outside program.
    if (!platform::system().openAddress(address))
        qWarning("No browser opened %s", qPrintable(address));
    return nullptr;
}

void installBrowser()
{
    frm_init::setBrowserFactory(&BrowserLoader::open);
}

} // namespace zav::shell
