#pragma once

#include "platform/report/reportcontent.h"
#include "platform/report/reportcontrol.h"

#include <functional>
#include <memory>

class QPrinter;

namespace zav::platform {

/**
 * @brief The report engine: runs a report control's report to its destination.
 *
 * It loads the definition named by `ReportFileName`, reads each of its tables from the database of
 * its slot, keeps the rows the selection formula selects in the order of the sort fields, and
 * then opens a modeless preview window titled with the control's preview title, prints on the
 * program's printer, or writes the export file. Every failure comes back as a ReportResult with
 * its reason; nothing is shown by the engine itself but the preview.
 */
class ReportEngine : public ReportRunner
{
public:
    ReportEngine();
    ~ReportEngine() override;
    ReportEngine(const ReportEngine &) = delete;
    ReportEngine &operator=(const ReportEngine &) = delete;

    ReportResult run(const ReportProperties &report) override;
    /** Within a batch each definition is loaded once and each archive opened once, and the exports
     * are written without a sync of their own: the batch's end syncs them all at once. */
    void startBatch() override;
    /** The exports of the batch synced to the disk, or what failed. */
    ReportResult finishBatch() override;

    /** @brief The definition and the rows of a report; ReportError when they cannot be read. */
    static ReportContent prepare(const ReportProperties &report);

    /** @brief Sets up each printer a run prints on or previews with: the program's printer
     * settings, then the set-up installed here, if any (tests send the output to a PDF file). */
    using PrinterSetup = std::function<void(QPrinter &)>;
    static void setPrinterSetup(PrinterSetup setup);
    /** @brief The set-up in force. */
    static void setUpPrinter(QPrinter &printer);
    /** @brief The set-up in force, then the orientation the report fixes, if it fixes one. */
    static void setUpPrinter(QPrinter &printer, const ReportContent &content);

private:
    struct Batch;
    std::unique_ptr<Batch> m_batch;
};

} // namespace zav::platform
