#pragma once

#include "platform/report/reportcontrol.h"

#include <QList>
#include <QString>

#include <optional>

namespace zav::printing {

/**
 * @brief "Stampa" of the coefficient table form and of the window table form: the table the form
 * shows, from the archive it shows (template or project), through the form's own report control.
 *
 * Each table has its report definition in "STAMPE", which reads its table from one fixed database
 * slot. Neither print chooses a destination, a selection or an export: the report goes wherever
 * the control's destination sends it (the preview window unless something set another).
 */
class TablePrints
{
public:
    /** @brief The report of one coefficient table, found by the title its form shows. */
    struct CoefficientReport
    {
        QString title; ///< "Tabella Piano" ...
        QString table; ///< "TAB_COEF" ...
        QString fileName; ///< "COEFF.GST" ...
        int slot = -1; ///< the database slot the definition reads the table from
    };
    /** @brief The eight coefficient reports, in the order of their tables. */
    static const QList<CoefficientReport> &coefficientReports();
    /** @brief The report of a title, compared exactly; none for any other title. */
    static std::optional<CoefficientReport> coefficientReport(const QString &title);

    /** @brief The window table's definition and slot. */
    static inline const QString WindowFileName = QStringLiteral("finestre.GST");
    static constexpr int WindowSlot = 18;

    /** @brief The coefficient form's report control. */
    static platform::ReportControl &coefficientControl();
    /** @brief The window form's report control. */
    static platform::ReportControl &windowControl();

    /**
     * @brief The coefficient form's print: the slots cleared, the table's slot set to the archive,
     * the definition run. A failed run is told ("!!! Attenzione !!!"). False when the title names
     * no table or the run failed.
     */
    static bool coefficientTable(const QString &title, const QString &archive);
    /**
     * @brief The window form's print: slot 18 set to the archive and the definition run; its
     * slots are never cleared. A failure shows nothing (it is only logged).
     */
    static void windowTable(const QString &archive);
};

} // namespace zav::printing
