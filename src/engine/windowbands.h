#pragma once

#include <QList>
#include <QString>
#include <QVariant>

#include <optional>

namespace zav::engine {

/**
 * @brief The window bands of the light coefficient: a room's window entry picks one of eight bands
 * of the window table `TAB_WINDOW`, and the band's row gives the coefficient.
 *
 * The entries "C" and "0" pick band "7", "A" and "00" band "8". Any other entry is the window area,
 * and the ratio r of window area to floor area picks bands "1" to "6":
 *
 * | band | r |
 * |---|---|
 * | "1" | 0.1666 <= r < 10 |
 * | "2" | 0.14285 <= r < 0.1666 |
 * | "3" | 0.125 <= r < 0.14285 |
 * | "4" | 0.111 <= r < 0.125 |
 * | "5" | 0.1 <= r < 0.111 |
 * | "6" | 0.01 <= r < 0.1 |
 *
 * The limits are these decimal numbers as written (0.1666 is not one sixth), and r is compared with
 * them exactly in decimal: each area is taken at its 15-significant-digit decimal form (the form in
 * which the archive writes numbers), so a window of 1,666 m² on 10 m² is exactly 0.1666 and band
 * "1", with no binary drift below the limit.
 *
 * It lives with the archive format, below the workspace, whose room grid picks the light
 * coefficient at Enter on a window entry, and the window table form that edits the bands.
 */
class WindowBands
{
public:
    /** @brief One row of the window table as stored. */
    struct Row
    {
        QVariant description;
        QVariant coefficient;
        QVariant band;
    };

    /** @brief The band a window code picks ("C" or "0": "7"; "A" or "00": "8"), compared exactly;
     * no value for any other entry, which is a window area to evaluate. */
    static std::optional<QString> bandOfCode(const QString &entry);
    /** @brief The band of the ratio of window area to floor area; no value when the ratio lies
     * outside every band (at or above 10, below 0.01), or the floor area is 0 or not finite. */
    static std::optional<QString> bandOfRatio(double windowArea, double floorArea);

    /** @brief Reads the window table of an archive, rows in stored order (platform::DbError when
     * the archive or the table cannot be read). */
    static WindowBands read(const QString &archive);
    /** @brief A window table held in memory (tests, callers that read it themselves). */
    explicit WindowBands(QList<Row> rows = {});

    const QList<Row> &rows() const { return m_rows; }
    /** @brief The coefficient of a band: `COEFF` of the first row, in stored order, whose code
     * equals the band (compared exactly), unchanged; no value when no row has that code. */
    std::optional<QVariant> coefficient(const QString &band) const;

private:
    QList<Row> m_rows;
};

} // namespace zav::engine
