#pragma once

#include <QString>
#include <QVariant>

#include <optional>

namespace zav::tables {

/**
 * @brief Values typed into the number columns of the coefficient and window tables.
 *
 * The archive keeps these numbers as text written with the decimal separator in force. What the
 * user types is read as a number and stored as that number's text, so every value of a column reads
 * back the same way in the rooms' calculations: "0,95", " 0.95 " and "0,950" all store "0,95" under
 * the comma. Either separator is taken as the decimal mark (as in the room grid's coefficient
 * cells); grouping marks, letters and expressions are not numbers.
 */
namespace TypedNumber {

/**
 * @brief The value to store for a typed text: Null for an empty or blank text, the number's text
 * for a number; no value when the text is not a number.
 */
std::optional<QVariant> read(const QString &typed);

/** @brief Tells that a typed text is not a number and was not stored. */
void refuse(const QString &typed);

} // namespace TypedNumber

} // namespace zav::tables
