#pragma once

#include <QString>

#include <functional>

namespace zav::test {

/** What a killed command left in its archive. */
enum class Left { AsItWas, Done, Neither };

/** How many kills left the archive as it was, and how many after the command's whole work. */
struct KillTally
{
    int asItWas = 0;
    int done = 0;
};

/**
 * @brief Kills a command at random points and checks that each kill left its archive whole.
 *
 * The command is the test `childTest` of this test program, run as a child process: it reads the
 * archive's path from the environment variable `pathVariable` and prints "inizio" as its command
 * starts. It runs once to its end on a copy of `fixture` at `path`, which `left` must then find
 * Done; then `kills` times on a fresh copy, killed at a random point from its start to a little
 * past its end. After each kill the archive must pass SQLite's integrity check and `left` must find
 * it AsItWas or Done. Failures are reported to the running test, with the random seed.
 */
KillTally killAtRandomPoints(const QString &childTest, const char *pathVariable, const QString &fixture,
    const QString &path, const std::function<Left(const QString &)> &left, int kills = 30);

/** Says the child's command is starting: the kill runs time their kills from here. */
void sayCommandStarts();

} // namespace zav::test
