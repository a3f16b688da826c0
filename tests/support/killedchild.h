#pragma once

#include <QByteArray>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QProcess>
#include <QProcessEnvironment>
#include <QString>
#include <QThread>

#include <gtest/gtest.h>

#include <utility>

namespace zav::test {

/**
 * @brief Runs one test of this test program as a child process with this environment: the child
 * prints "pronto" when its work starts and "fatto" when it is done. Killed `killAfterMs` after
 * "pronto" (never when negative). Whether the child finished its work, and how long it ran after
 * "pronto", in milliseconds.
 */
inline std::pair<bool, qint64> runChildTest(
    const QString &testName, const QProcessEnvironment &environment, qint64 killAfterMs)
{
    QProcess child;
    child.setProcessEnvironment(environment);
    child.start(QCoreApplication::applicationFilePath(), { QStringLiteral("--gtest_filter=") + testName });
    EXPECT_TRUE(child.waitForStarted());
    QByteArray out;
    while (!out.contains("pronto") && child.waitForReadyRead(10000))
        out += child.readAllStandardOutput();
    QElapsedTimer timer;
    timer.start();
    if (killAfterMs >= 0) {
        QThread::msleep(quint64(killAfterMs));
        child.kill();
    }
    child.waitForFinished(30000);
    out += child.readAllStandardOutput();
    return { out.contains("fatto"), timer.elapsed() };
}

} // namespace zav::test
