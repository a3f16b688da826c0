#pragma once

#include <QMap>
#include <QString>

#include <array>

namespace zav::platform {

/** @brief Values of a report control's `Destination`. */
namespace ReportDestination {
inline constexpr int Window = 0; ///< a preview window
inline constexpr int Printer = 1; ///< the program's printer
inline constexpr int File = 2; ///< an export file named by `PrintFileName`
} // namespace ReportDestination

/** @brief Export types (`PrintFileType`) that write an RTF file: the print form's and the terraces'. */
inline constexpr int RtfFileType = 17;
inline constexpr int RtfFileTypeTerraces = 15;
/** @brief Whether an export type writes RTF. */
bool isRtfFileType(int type);

/**
 * @brief What a report control holds between runs: the report definition to run, the database of
 * each table slot, the record selection, the sort, and where the output goes.
 */
struct ReportProperties
{
    static constexpr int SlotCount = 25;
    static constexpr int SortFieldCount = 3;

    /** Full path of the report definition. */
    QString ReportFileName;
    /** Slots 0 to 24: the full path of the database each table of the report is read from, or empty. */
    std::array<QString, SlotCount> DataFiles;
    /** Record selection formula (see SelectionFormula); empty selects every row. */
    QString SelectionFormula;
    /**
     * The selection compares texts with regard to case ("condo1" selects no "CONDO1"); otherwise
     * a text matches as the field compares it, without regard to case in text fields.
     */
    bool caseSensitiveSelection = false;
    /** Sort fields as "+{TABLE.FIELD}" or "-{TABLE.FIELD}"; empty ones are ignored. */
    std::array<QString, SortFieldCount> SortFields;
    /** ReportDestination::Window, Printer or File. */
    int Destination = ReportDestination::Window;
    /** Export type used with the file destination. */
    int PrintFileType = RtfFileType;
    /** Full path of the export file. */
    QString PrintFileName;
    /**
     * The project archive the export belongs to: the file records it, and a file of that name that
     * another project's export wrote is never replaced (the export is named apart instead).
     */
    QString ExportOwner;

    /** Values the form hands the report for the "{@NAME}" placeholders of its heading lines. */
    QMap<QString, QString> parameters;

    /** Title of the preview windows of this control: a setting of the form, not of a run. */
    QString previewTitle;

    bool operator==(const ReportProperties &other) const = default;
};

/** @brief The outcome of a run: success, or the reason of the failure in words for the user. */
struct ReportResult
{
    bool ok = true;
    QString message;
    /** An export written: the file written, which is not `PrintFileName` when that one was another
     * project's; then `exportOtherOwner` is that project's archive. */
    QString exportFile;
    QString exportOtherOwner;

    static ReportResult success() { return {}; }
    static ReportResult failure(const QString &message)
    {
        ReportResult result;
        result.ok = false;
        result.message = message;
        return result;
    }
};

/**
 * @brief What runs a report when a control's `Action` is set: the report engine in the program,
 * a recorder in tests.
 */
class ReportRunner
{
public:
    virtual ~ReportRunner() = default;
    /** @brief Runs the report the properties describe to their destination. */
    virtual ReportResult run(const ReportProperties &report) = 0;

    /**
     * @brief The runs up to finishBatch belong together: they may share the definitions and the
     * archives they read, and their exports may reach the disk only when the batch finishes.
     */
    virtual void startBatch() { }
    /** @brief Ends the runs started by startBatch: what they wrote is on the disk, or the failure. */
    virtual ReportResult finishBatch() { return ReportResult::success(); }
};

/** @brief The installed runner (the report engine unless a test installed another). */
ReportRunner &reportRunner();
/** @brief Installs a runner; nullptr restores the report engine. The caller keeps ownership. */
void setReportRunner(ReportRunner *runner);

/** @brief RAII: a runner installed for the lifetime of the scope (tests). */
class ReportRunnerScope
{
public:
    explicit ReportRunnerScope(ReportRunner *runner);
    ~ReportRunnerScope();
    ReportRunnerScope(const ReportRunnerScope &) = delete;
    ReportRunnerScope &operator=(const ReportRunnerScope &) = delete;

private:
    ReportRunner *m_previous;
};

/**
 * @brief RAII: the runs of the installed runner made in the lifetime of the scope form a batch
 * (see ReportRunner::startBatch); finish() ends it and tells whether its exports reached the disk.
 */
class ReportBatch
{
public:
    ReportBatch();
    ~ReportBatch();
    ReportBatch(const ReportBatch &) = delete;
    ReportBatch &operator=(const ReportBatch &) = delete;

    /** @brief Ends the batch (once; later calls succeed and do nothing). */
    ReportResult finish();

private:
    ReportRunner *m_runner;
};

/**
 * @brief A form's report control: its properties stay as set from one run to the next, and
 * setting `Action` to 1 runs the report they describe through the installed runner.
 */
class ReportControl : public ReportProperties
{
public:
    /** @brief Empties every database slot, 0 to 24 in that order, and nothing else. */
    void clearDataFiles();
    /** @brief `Action` := action: 1 runs the report now; any other value does nothing. */
    ReportResult setAction(int action);
};

} // namespace zav::platform
