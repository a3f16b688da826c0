#include "shell/browser/frmbrowser.h"
#include "shell/forms/frm_init.h"
#include "shell/startup.h"
#include "startprobe.h"

#include <QApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

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

    // The browser lives in its own library; the main window's `Web` command opens it through this.
    zav::shell::frm_init::setBrowserFactory(
        [](const QString &address) -> QWidget * { return zav::shell::frmBrowser::create(address); });
    zav::installStartProbe(app);
    return zav::shell::runProgram(app);
}
