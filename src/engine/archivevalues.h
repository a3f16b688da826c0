#pragma once

#include <QString>
#include <QVariant>

#include <optional>

namespace zav::engine {

/** @brief A number that may be empty: the calculation's empty value propagates through arithmetic. */
using Num = std::optional<double>;

/**
 * @brief Small value rules of the project archive, shared by the recalculation and the thousandths
 * calculation: reading archive values as numbers, texts and flags, comparing texts as the archive
 * does, the special floor codes and the order of floor codes.
 */
class ArchiveValues
{
public:
    /** @brief Number of special floor codes ("T", "1S" to "10S", "R"). */
    static constexpr int specialCount = 12;

    /** @brief Null, or a text that is empty. */
    static bool isEmpty(const QVariant &value);
    /** @brief A value as a number: empty for Null, the empty text and text that is not a number. */
    static Num number(const QVariant &value);
    /** @brief A value that is a whole number (building numbers), empty otherwise. */
    static std::optional<qint64> wholeNumber(const QVariant &value);
    /** @brief A yes/no value compared with true; Null counts as false. */
    static bool isTrue(const QVariant &value);
    /** @brief A value joined into a message: Null gives the empty text, numbers their plain text. */
    static QString text(const QVariant &value);
    /** @brief Number or Null, as a field value. */
    static QVariant field(Num value);

    /** @brief Exact text comparison of a field with a text; Null never equals anything. */
    static bool equals(const QVariant &value, const QString &text);

    /**
     * @brief The number that a value formatted with a pattern stands for (the value rounded as
     * the pattern rounds it); empty for an empty value. Also reads patterns that write no integer
     * digit (",5").
     */
    static Num formatted(Num value, const QString &pattern);

    /**
     * @brief Index of a special floor code in the order "T", "1S" ... "9S", "10S", "R"; -1 when the
     * text is not one (the comparison is exact: "t" is not "T").
     */
    static int specialIndex(const QVariant &floorCode);
    /**
     * @brief The floor slot a floor code serves: k when the code is the plain text of a whole number
     * k from 1 to 30 (no blanks, sign or leading zeros), 0 otherwise.
     */
    static int floorSlot(const QVariant &floorCode);

    /**
     * @brief Order of floor codes when a query sorts by them: empty values first, then texts
     * without regard to case, digits before letters ("10S" before "1S", "R" before "T").
     */
    static bool floorCodeLess(const QVariant &a, const QVariant &b);
    /** @brief Whether two stair texts are equal without regard to case, as the archive compares them. */
    static bool sameStairIgnoringCase(const QVariant &a, const QString &letter);
    /**
     * @brief Whether two texts are equal as the archive's text fields compare them: ASCII letters
     * without regard to case, every other character exactly.
     */
    static bool sameTextIgnoringCase(QStringView a, QStringView b);
};

} // namespace zav::engine
