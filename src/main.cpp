#include "engine/var_gbl.h"
#include "platform/dialogs.h"
#include "platform/vb.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#ifdef ZAV_HAVE_SHELL
#include "shell/frm_init.h"
#include "shell/startup.h"
#ifdef ZAV_HAVE_BROWSER
#include "shell/browser/frmbrowser.h"
#endif
#else
#include <QMainWindow>
#endif

int main(int argc, char *argv[])
{
    QApplication app(argc, argv);
    QApplication::setApplicationName(QStringLiteral("Zav"));
    QApplication::setApplicationVersion(QStringLiteral(ZAV_VERSION_TEXT));

    // Standard buttons in Italian ("Sì", "No", "Annulla").
    QTranslator qtTranslator;
    if (qtTranslator.load(QLocale(QLocale::Italian, QLocale::Italy), QStringLiteral("qtbase"),
            QStringLiteral("_"), QLibraryInfo::path(QLibraryInfo::TranslationsPath)))
        QApplication::installTranslator(&qtTranslator);

#ifdef ZAV_HAVE_SHELL
#ifdef ZAV_HAVE_BROWSER
    zav::shell::frm_init::setBrowserFactory(
        [](const QString &address) -> QWidget * { return zav::shell::frmBrowser::create(address); });
#endif
    return zav::shell::runProgram(app);
#else
    QMainWindow window;
    window.setWindowTitle(QStringLiteral("Zav"));
    window.resize(1024, 700);
    window.show();
    return app.exec();
#endif
}
