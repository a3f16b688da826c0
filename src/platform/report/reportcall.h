#pragma once

#include "platform/report/reportcontrol.h"

#include <QList>
#include <QString>
#include <QStringList>

#include <utility>

namespace zav::platform {

/**
 * @brief The first `shown` lines of a list for a message and, when there are more, a last line that
 * counts the rest: "... e altri 3" (`others` is the word for the rest, "altri" or "altre" as the
 * lines' noun asks).
 */
QStringList messageLines(
    const QStringList &lines, int shown, const QString &others = QStringLiteral("altri"));

/**
 * @brief The exports of one print command, told together in one message when the command ends
 * rather than in a box for each file. A file named apart because the name asked for is another
 * project's export says so above the list.
 */
class ExportSummary
{
public:
    /**
     * @brief A file written, by its name in the export folder; `otherOwner` names the project
     * whose export holds the name `asked`, when the file was named apart for that (empty otherwise).
     */
    void add(
        const QString &writtenName, const QString &asked = QString(), const QString &otherOwner = QString());
    bool isEmpty() const { return m_files.isEmpty(); }
    /**
     * @brief The message: one file, "Il file è stato chiamato: NAME ed è stato inserito nella
     * directory FOLDER"; several, their count, the folder and their names, one a line (the first
     * ones, then how many more). The files named apart are told first. Empty when none was written.
     */
    QString text() const;
    /** @brief Shows the message ("Esportazione RTF", information icon) when a file was written. */
    void tell() const;

private:
    struct File
    {
        QString written;
        QString asked;
        QString otherOwner;
    };
    QList<File> m_files;
};

/**
 * @brief The fixed sequence by which a form hands a report to its report control: the destination
 * step, once per print command, and the report step, once per report.
 */
class ReportCall
{
public:
    /** @brief The export flag's value while the file destination is in force. */
    static inline const QString ExportOn = QStringLiteral("ON");
    static inline const QString ExportOff = QStringLiteral("OFF");

    /**
     * @brief The destination step: the three options are read in this order, the slots cleared
     * before each. "Video": window, flag "OFF". "Stampante": the message to switch the printer on,
     * then printer, flag "OFF". "File RTF": file with the form's export type, flag "ON". With no
     * option set the destination and the flag stay as they were.
     */
    static void destinationStep(
        ReportControl &control, bool video, bool printer, bool file, int exportType, QString &exportFlag);

    /** @brief What one report of a form sets on the control. */
    struct Report
    {
        QString fileName; ///< the definition's name in "STAMPE" ("MIL_GLOB.GST")
        QList<int> dataSlots; ///< slots set to the database, in this order
        QString database; ///< full path of the database put into the slots
        QString formula; ///< selection formula; empty selects every row
        QStringList sortFields; ///< "+{TABLE.FIELD}" each; none leaves the control's as they are
        QString exportName; ///< export file name, without folder (in "ARCHIVI")
        bool announce = false; ///< tell the user the export file's name once it is written
        /** Where a written export is listed, announced or not, to be told with the others at the
         * end of the command; without one an announced export is told in a box of its own. */
        ExportSummary *summary = nullptr;
    };

    /**
     * @brief The report step: when the flag is "ON" the export file (program folder, "ARCHIVI",
     * the report's export name) becomes `PrintFileName`; then the slots, the sort fields, the
     * formula and the definition's path are set and the report runs.
     *
     * A run that fails is reported ("!!! Attenzione !!!") and nothing is announced; an export that
     * succeeds joins the report's summary when it has one; otherwise it is announced afterwards when
     * the report asks for it, or when it was named apart because the file asked for is another
     * project's export. Returns whether the run succeeded.
     */
    static bool reportStep(ReportControl &control, const QString &exportFlag, const Report &report);

    /**
     * @brief What to tell of an export named apart because the file `asked` is another project's
     * export; empty text when the export has the name asked for.
     */
    static QString namedApartText(const QString &asked, const ReportResult &result);
    /** @brief The same, given the other project's archive; empty text when there is none. */
    static QString namedApartText(const QString &asked, const QString &otherOwner);

    /** @brief The folder of the export files: the program folder's "ARCHIVI". */
    static QString exportFolder();
    /** @brief The full path of a report definition of the program folder's "STAMPE". */
    static QString definitionPath(const QString &fileName);

    /**
     * @brief A text made safe for a file name: every character that a file name cannot hold on
     * Windows or Linux (separators, ":*?\"<>|", control characters) becomes "_".
     */
    static QString safeFileName(const QString &text);
    /**
     * @brief The prefix of a project's export files: the first three characters of its name as
     * the user sees them (a letter with its accents, a character outside the basic plane, never
     * half of one), made safe for a file name.
     */
    static QString exportPrefix(const QString &projectName);
};

} // namespace zav::platform
