#pragma once

#include "engine/archivevalues.h"
#include "platform/vb.h"

#include <QByteArrayView>
#include <QString>
#include <QVariant>

#include <array>
#include <optional>

namespace zav::engine {

/**
 * @brief A text field of a room as the recalculation holds it: the value as stored, or the text it
 * wrote, with its reading as a number worked out at most once.
 *
 * A stored text may be held as a view of its UTF-8 bytes, so that rooms read in bulk are not
 * decoded field by field: what the view shows must then outlive the field.
 */
class RoomField
{
public:
    /** @brief How the value is held. */
    enum class Kind {
        Null,
        Utf8, ///< a stored text, viewed as UTF-8
        Text, ///< a text, stored or written
        Other ///< any other stored value (a number in a text field, say)
    };

    /** @brief Null. */
    RoomField() = default;
    /** @brief A value as the archive holds it. */
    explicit RoomField(const QVariant &stored);
    /** @brief A stored text, viewed in place: the bytes must outlive the field. */
    static RoomField storedText(QByteArrayView utf8);
    /** @brief A text the recalculation writes, with the number it reads back as. */
    static RoomField written(QString text, Num number);
    /** @brief A text the recalculation writes; it is read as a number only when asked. */
    static RoomField written(QString text);

    Kind kind() const { return m_kind; }
    /** @brief The stored text's bytes (Kind::Utf8). */
    QByteArrayView utf8() const { return m_utf8; }
    /** @brief The text (Kind::Text). */
    const QString &text() const { return m_text; }
    /** @brief The stored value (Kind::Other). */
    const QVariant &other() const { return m_stored; }
    /** @brief The value to store, whatever its kind. */
    QVariant value() const;
    /** @brief Null, or a text that is empty. */
    bool isEmpty() const;
    /** @brief The value read as a number with the number rules in force; empty when it is none. */
    Num number() const;

private:
    Kind m_kind = Kind::Null;
    QByteArrayView m_utf8;
    QVariant m_stored;
    QString m_text;
    mutable bool m_read = false;
    mutable Num m_number;
};

/**
 * @brief A room of `ESPRESSIONI` as the recalculation works on it: the three expressions, the
 * coefficients read as numbers, the heating mark and the six fields it rewrites.
 */
struct RecalculationRoom
{
    QString espressione; ///< surface expression (Null reads as the empty text)
    QString espresRad; ///< radiant surface expression
    QString supFinestra; ///< window: an expression, or a window code starting with "C" or "A"
    /** @brief COEF1 to COEF8 read as numbers, 1 for an empty one. */
    std::array<double, 8> coefficients { 1, 1, 1, 1, 1, 1, 1, 1 };
    /** @brief False when a coefficient is neither empty nor a number. */
    bool coefficientsReadable = true;
    bool heated = false; ///< `OPT_RISC` is "S" (upper case)

    RoomField mq, totCoef, hPiano, totVol, totEspresRad, mqFinestra;

    /** @brief Reads COEFk (k from 1 to 8) into the coefficients. */
    void readCoefficient(int k, const RoomField &value);
};

/**
 * @brief The arithmetic of the global recalculation apart from the archive and the messages: each
 * room's surfaces, weighted surface, height and volume from its expressions, coefficients and
 * height, and the four totals of its unit.
 *
 * The caller reads the rooms, hands them over unit by unit in the order it processes them, stores
 * the rooms and the unit values that come back, and says what is to be said. Expressions are
 * evaluated, and non-finite results reported, through the Host. The height in force runs on from
 * room to room and from unit to unit.
 */
class Recalculation
{
public:
    /** @brief What the calculation asks of its caller. */
    class Host
    {
    public:
        virtual ~Host() = default;
        /** @brief The value of an expression; empty when it cannot be evaluated (already said why). */
        virtual std::optional<double> evaluate(const QString &expression) = 0;
        /** @brief A value that is not a finite number was met; it is stored as the empty text. */
        virtual void nonFinite() = 0;
    };

    /** @brief The project's heating criteria (`ANA_CONDO`); each one adds on its own. */
    struct Heating
    {
        bool byVolume = false; ///< `RISC_VOL`
        bool byRadiant = false; ///< `RISC_RAD`
        bool byHalf = false; ///< `RISC_50`: both sums once more
    };

    /** @brief What a unit's `CODIF_PIANI` row receives: numbers, or Null for none. */
    struct UnitValues
    {
        QVariant totSup, totVol, totVolRisc, totRadRisc;
    };

    /**
     * @brief How a room's expressions are read: the global recalculation's way by default; the unit
     * workspace reads the rooms it shows its own way.
     */
    struct Reading
    {
        /**
         * An empty surface, window or radiant expression counts as "0" and is written so into the
         * room; an expression of blanks only then has no value. Otherwise an empty or blank
         * expression leaves its value as stored.
         */
        bool emptyAsZero = false;
        /** Whether the radiant surface is recomputed. */
        bool radiant = true;
        /**
         * An expression that cannot be evaluated leaves its value as stored (the evaluator has
         * said why), rather than emptying it: the unit workspace keeps what the user had.
         */
        bool keepRefused = false;
    };

    /** @brief What computeRoom() found for a room, as written, read as numbers; empty for none. */
    struct RoomNumbers
    {
        Num surface; ///< MQ
        Num weighted; ///< TOT_COEF
        Num volume; ///< TOT_VOL, when the room has a weighted surface (else its volume stays as stored)
    };

    Recalculation(Host &host, Heating heating, double heightInForce);

    /** @brief Sets the unit's four sums to 0. */
    void startUnit();
    /**
     * @brief Computes a room's surfaces, weighted surface, height and volume into its fields.
     * Each call is followed by addRoom() for the same room, unless the run stops.
     */
    void computeRoom(RecalculationRoom &room, const Reading &reading);
    /** @brief computeRoom() the global recalculation's way. */
    void computeRoom(RecalculationRoom &room);
    /** @brief What the last computeRoom() found. */
    const RoomNumbers &roomNumbers() const { return m_found; }
    /** @brief Adds the room just computed to its unit's sums. */
    void addRoom(const RecalculationRoom &room);
    /** @brief The unit's totals, as its row stores them. */
    UnitValues unitValues() const;

    /** @brief The room height in force: the last readable room height, 1 in place of 0. */
    double heightInForce() const { return m_height; }

private:
    void evaluateInto(QString &expression, RoomField &field, const Reading &reading);
    RoomField formatted(double value, const platform::vb::FormatPattern &pattern);

    Host &m_host;
    Heating m_heating;
    double m_height;
    const platform::vb::FormatPattern m_surfacePattern; ///< surfaces and volumes: "###0.0##"
    const platform::vb::FormatPattern m_weightedPattern; ///< weighted surfaces: "##0.0###"

    RoomNumbers m_found; ///< what computeRoom() found, for addRoom()

    // The unit's sums.
    double m_weightedSum = 0.0;
    double m_volumeSum = 0.0;
    double m_heatedVolumeSum = 0.0;
    float m_radiantSum = 0.0f; ///< single precision
};

} // namespace zav::engine
