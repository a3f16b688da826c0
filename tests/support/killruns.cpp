#include "support/killruns.h"

#include "platform/db.h"

#include <QByteArray>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QProcessEnvironment>
#include <QThread>

#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <random>

namespace zav::test {
namespace {

constexpr char kStarts[] = "inizio\n";

// Starts the child on the archive and waits until its command begins.
bool startChild(QProcess &child, const QString &childTest, const char *pathVariable, const QString &path)
{
    QProcessEnvironment environment = QProcessEnvironment::systemEnvironment();
    environment.insert(QString::fromLatin1(pathVariable), path);
    environment.insert(QStringLiteral("QT_QPA_PLATFORM"), QStringLiteral("offscreen"));
    child.setProcessEnvironment(environment);
    child.start(QCoreApplication::applicationFilePath(), { QStringLiteral("--gtest_filter=") + childTest });
    QByteArray output;
    while (!output.contains(kStarts)) {
        if (!child.waitForReadyRead(30000))
            return false;
        output += child.readAllStandardOutput();
    }
    return true;
}

bool freshCopy(const QString &fixture, const QString &path)
{
    QFile::remove(path);
    QFile::remove(path + QStringLiteral("-journal"));
    return QFile::copy(fixture, path);
}

void run(KillTally &tally, const QString &childTest, const char *pathVariable, const QString &fixture,
    const QString &path, const std::function<Left(const QString &)> &left, int kills)
{
    // One run to its end: how long the command takes, and the archive it leaves.
    ASSERT_TRUE(freshCopy(fixture, path));
    QProcess whole;
    ASSERT_TRUE(startChild(whole, childTest, pathVariable, path));
    QElapsedTimer timer;
    timer.start();
    ASSERT_TRUE(whole.waitForFinished(120000));
    const qint64 duration = std::max<qint64>(timer.elapsed(), 1);
    ASSERT_EQ(whole.exitCode(), 0) << whole.readAllStandardOutput().toStdString();
    ASSERT_EQ(left(path), Left::Done) << "the command run to its end did not do its work";

    std::random_device seed;
    const unsigned runSeed = seed();
    std::mt19937 random(runSeed);
    for (int kill = 0; kill < kills; ++kill) {
        SCOPED_TRACE(testing::Message() << "kill " << kill << ", seed " << runSeed);
        ASSERT_TRUE(freshCopy(fixture, path));
        QProcess child;
        ASSERT_TRUE(startChild(child, childTest, pathVariable, path));
        QThread::msleep(std::uniform_int_distribution<qint64>(0, duration * 6 / 5)(random));
        child.kill();
        ASSERT_TRUE(child.waitForFinished(30000));
        EXPECT_EQ(platform::Database::open(path)
                      .query(QStringLiteral("PRAGMA integrity_check"))
                      .value(0, 0)
                      .toString(),
            QStringLiteral("ok"));
        switch (left(path)) {
        case Left::AsItWas:
            ++tally.asItWas;
            break;
        case Left::Done:
            ++tally.done;
            break;
        case Left::Neither:
            ADD_FAILURE() << "the archive is neither as it was nor wholly done";
            break;
        }
    }
}

} // namespace

KillTally killAtRandomPoints(const QString &childTest, const char *pathVariable, const QString &fixture,
    const QString &path, const std::function<Left(const QString &)> &left, int kills)
{
    KillTally tally;
    run(tally, childTest, pathVariable, fixture, path, left, kills);
    std::printf("%d kills: %d left the archive as it was, %d after the whole command\n", kills, tally.asItWas,
        tally.done);
    return tally;
}

void sayCommandStarts()
{
    std::fputs(kStarts, stdout);
    std::fflush(stdout);
}

} // namespace zav::test
