#include "support/screenshots.h"

#include <QDir>

namespace zav::test {

::testing::AssertionResult pictureWritten(const QImage &picture, const QString &folder, const QString &name)
{
    if (picture.isNull())
        return ::testing::AssertionFailure() << "no picture to write for " << name.toStdString();
    if (!QDir().mkpath(folder))
        return ::testing::AssertionFailure() << "cannot make the folder " << folder.toStdString();
    const QString path = QDir(folder).filePath(name);
    if (!picture.save(path, "PNG"))
        return ::testing::AssertionFailure() << "cannot write " << path.toStdString();
    const QImage written(path);
    if (written.isNull())
        return ::testing::AssertionFailure() << path.toStdString() << " is no picture";
    if (written.size() != picture.size())
        return ::testing::AssertionFailure()
            << path.toStdString() << " is " << written.width() << "x" << written.height() << ", not "
            << picture.width() << "x" << picture.height();
    const QRgb first = written.pixel(0, 0);
    for (int y = 0; y < written.height(); ++y) {
        for (int x = 0; x < written.width(); ++x) {
            if (written.pixel(x, y) != first)
                return ::testing::AssertionSuccess();
        }
    }
    return ::testing::AssertionFailure() << path.toStdString() << " is of one colour";
}

::testing::AssertionResult pictureWritten(const QPixmap &picture, const QString &folder, const QString &name)
{
    return pictureWritten(picture.toImage(), folder, name);
}

} // namespace zav::test
