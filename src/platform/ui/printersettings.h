#pragma once

#include <QPageLayout>
#include <QPageSize>
#include <QString>

class QPrinter;

namespace zav::platform {

/**
 * @brief The program's printer: which printer, orientation, paper size, print quality and copies.
 *
 * The page set-up fills it; every print run applies it to the QPrinter it prints on. Margins are
 * not part of it: each report lays out its own.
 */
struct PrinterSettings
{
    QString printerName; ///< empty = the system's default printer
    QPageLayout::Orientation orientation = QPageLayout::Portrait;
    QPageSize pageSize = QPageSize(QPageSize::A4);
    int resolution = 0; ///< print quality in dots per inch; 0 = the printer's own
    int copies = 1;

    bool operator==(const PrinterSettings &other) const = default;

    /** @brief Sets a printer to these settings. */
    void applyTo(QPrinter &printer) const;
    /** @brief The settings a printer holds. */
    static PrinterSettings fromPrinter(const QPrinter &printer);

    /** @brief The program's printer settings, one for the whole program. */
    static PrinterSettings &program();
};

} // namespace zav::platform
