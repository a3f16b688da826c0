#pragma once

#include <QString>

#include <optional>

namespace zav::tables {

/**
 * @brief The total typed into the boxes that ask for one ("Arrotonda" of a user table, the
 * thousandths from the weights): a number in the system's number format, greater than zero and
 * not above MostTotal.
 *
 * Cancel, an empty answer and one of blanks only are no answer and end the command quietly. Any
 * other text that is not such a number is refused with a message that says what was typed and how
 * to write a total; the command then changes nothing.
 */
class TypedTotal
{
public:
    /** @brief The largest total accepted: far beyond any table, well within exact thousandths. */
    static constexpr double MostTotal = 1e9;

    /** @brief The reading of an answer: a total, a refusal, or neither (no answer). */
    struct Reading
    {
        std::optional<double> total;
        QString refusal; ///< the message for a text that is no total; empty otherwise
    };

    /** @brief Reads the answer of an input box (none for Cancel). */
    static Reading read(const std::optional<QString> &answer);
};

} // namespace zav::tables
