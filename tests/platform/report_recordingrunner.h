#pragma once

#include "platform/report/reportcontrol.h"

#include <QList>
#include <QString>

#include <deque>

namespace zav::test {

/**
 * @brief A report runner that runs nothing: it keeps the control's properties at every run and
 * answers each run from a queue of results (success once the queue is empty). Installed for its
 * lifetime.
 */
class RecordingReportRunner : public platform::ReportRunner
{
public:
    RecordingReportRunner()
        : m_scope(this)
    {
    }

    platform::ReportResult run(const platform::ReportProperties &report) override
    {
        runs.append(report);
        if (results.empty())
            return platform::ReportResult::success();
        const platform::ReportResult result = results.front();
        results.pop_front();
        return result;
    }

    /** @brief Makes the next run fail with this reason. */
    void failNext(const QString &reason) { results.push_back(platform::ReportResult::failure(reason)); }

    QList<platform::ReportProperties> runs;
    std::deque<platform::ReportResult> results;

private:
    platform::ReportRunnerScope m_scope;
};

} // namespace zav::test
