#include "platform/steps.h"

#include <QStringList>
#include <QtGlobal>

#include <gtest/gtest.h>

#include <stdexcept>

namespace {

QStringList *g_warnings = nullptr;

void recordWarning(QtMsgType type, const QMessageLogContext &, const QString &message)
{
    if (g_warnings && type == QtWarningMsg)
        *g_warnings << message;
}

/** Collects the warnings logged during its lifetime. */
class WarningLog
{
public:
    WarningLog()
        : m_previous(qInstallMessageHandler(recordWarning))
    {
        g_warnings = &m_warnings;
    }
    ~WarningLog()
    {
        qInstallMessageHandler(m_previous);
        g_warnings = nullptr;
    }
    const QStringList &warnings() const { return m_warnings; }

private:
    QStringList m_warnings;
    QtMessageHandler m_previous;
};

// A failing step is skipped, reported as false and logged with its text; a step that works is not.
TEST(Steps, FailingStepIsSkippedAndLogged)
{
    WarningLog log;
    bool ran = false;
    EXPECT_TRUE(zav::platform::tryStep([&] { ran = true; }));
    EXPECT_TRUE(ran);
    EXPECT_TRUE(log.warnings().isEmpty());

    EXPECT_FALSE(zav::platform::tryStep([] { throw std::runtime_error("disk full"); }));
    EXPECT_FALSE(zav::platform::tryStep([] { throw 42; }));
    ASSERT_EQ(log.warnings().size(), 2);
    EXPECT_TRUE(log.warnings().at(0).contains(QStringLiteral("disk full")))
        << log.warnings().at(0).toStdString();
    EXPECT_FALSE(log.warnings().at(1).isEmpty());
}

} // namespace
