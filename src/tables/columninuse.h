#pragma once

#include <QString>
#include <QVariant>

namespace zav::tables {

/**
 * @brief The column in use of a coefficient table: each row's `TAB_UTIL` holds the caption of the
 * value column that the user marked, the same in every row, and the grid's caption shows it.
 */
namespace ColumnInUse {

/** @brief The grid caption for a row's `TAB_UTIL`: "Tabella utilizzata: " and the value, or
 * "Tabella utilizzata: Nessuna" when it is empty. */
QString caption(const QVariant &tabUtil);

/**
 * @brief Marks a column in use: writes its caption into `TAB_UTIL` of every row of a coefficient
 * table, all rows in one transaction. The table must be one of the program's eight coefficient
 * tables (std::invalid_argument otherwise); database failures throw platform::DbError.
 */
void mark(const QString &archive, const QString &table, const QString &columnCaption);

} // namespace ColumnInUse

} // namespace zav::tables
