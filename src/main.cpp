#include "shell/browser/browserloader.h"
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

    // The browser window is a module of the program folder, loaded by the first `Web` command.
    zav::shell::installBrowser();
    zav::installStartProbe(app);
    return zav::shell::runProgram(app);
}
