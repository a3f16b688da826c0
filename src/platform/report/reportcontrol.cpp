#include "platform/report/reportcontrol.h"

#include "platform/report/reportengine.h"

#include <utility>

namespace zav::platform {

namespace {

ReportRunner *g_runner = nullptr;

} // namespace

bool isRtfFileType(int type)
{
    return type == RtfFileType || type == RtfFileTypeTerraces;
}

ReportRunner &reportRunner()
{
    static ReportEngine engine;
    return g_runner ? *g_runner : engine;
}

void setReportRunner(ReportRunner *runner)
{
    g_runner = runner;
}

ReportRunnerScope::ReportRunnerScope(ReportRunner *runner)
    : m_previous(g_runner)
{
    g_runner = runner;
}

ReportRunnerScope::~ReportRunnerScope()
{
    g_runner = m_previous;
}

ReportBatch::ReportBatch()
    : m_runner(&reportRunner())
{
    m_runner->startBatch();
}

ReportBatch::~ReportBatch()
{
    finish();
}

ReportResult ReportBatch::finish()
{
    ReportRunner *runner = std::exchange(m_runner, nullptr);
    return runner ? runner->finishBatch() : ReportResult::success();
}

void ReportControl::clearDataFiles()
{
    for (QString &slot : DataFiles)
        slot.clear();
}

ReportResult ReportControl::setAction(int action)
{
    if (action != 1)
        return ReportResult::success();
    return reportRunner().run(*this);
}

} // namespace zav::platform
