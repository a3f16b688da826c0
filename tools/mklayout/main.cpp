// Build-time helper: writes the unit workspace's factory grid layouts ("Layout_default") through
// the grid itself, so the file is in the grid's own layout format.

#include "workspace/unitviews.h"

#include <QApplication>
#include <QFile>

#include <cstdio>

int main(int argc, char *argv[])
{
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication app(argc, argv);
    if (argc != 2) {
        std::fprintf(stderr, "usage: zav_mklayout <layout file>\n");
        return 2;
    }
    const QString file = QString::fromLocal8Bit(argv[1]);
    QFile::remove(file);
    if (!zav::workspace::UnitViews::writeDefaultLayouts(file)) {
        std::fprintf(stderr, "zav_mklayout: cannot write %s\n", argv[1]);
        return 1;
    }
    return 0;
}
