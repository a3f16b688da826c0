#pragma once

#include <QString>

#include <stdexcept>

namespace zav::engine {

/**
 * @brief A failure inside the evaluation of an expression, with the runtime's error number.
 *
 * The evaluator's own operations throw it; `valuta_espressione` catches it and shows the message
 * that goes with its kind (for OutOfRange, one that names the expression).
 */
class EvaluationError : public std::runtime_error
{
public:
    enum class Kind {
        Syntax, ///< raised by the evaluator itself (number 1, "Errore di sintassi")
        TypeMismatch, ///< an operand or flag missing where one is read (13)
        OutOfRange, ///< a push beyond the end of a stack, or an index outside the matrix (9)
        InvalidArgument, ///< an argument outside a function's domain (5)
        Overflow, ///< a power or exponential beyond the range of doubles (6)
    };

    explicit EvaluationError(Kind kind)
        : std::runtime_error("expression evaluation failed")
        , m_kind(kind)
    {
    }

    Kind kind() const { return m_kind; }

    /** @brief The runtime's error number. */
    int number() const
    {
        switch (m_kind) {
        case Kind::Syntax:
            return 1;
        case Kind::TypeMismatch:
            return 13;
        case Kind::OutOfRange:
            return 9;
        case Kind::InvalidArgument:
            return 5;
        case Kind::Overflow:
            return 6;
        }
        return 0;
    }

    /**
     * @brief The text a message box shows for this failure: the platform's standard description of
     * its number. Number 1 has none, so a syntax error shows the generic text for an error defined
     * by the application.
     */
    QString description() const
    {
        switch (m_kind) {
        case Kind::Syntax:
            return QStringLiteral("Errore definito dall'applicazione o dall'oggetto.");
        case Kind::TypeMismatch:
            return QStringLiteral("Tipo non corrispondente.");
        case Kind::OutOfRange:
            return QStringLiteral("Indice non compreso nell'intervallo.");
        case Kind::InvalidArgument:
            return QStringLiteral("Chiamata di routine o argomento non validi.");
        case Kind::Overflow:
            return QStringLiteral("Overflow.");
        }
        return QString();
    }

private:
    Kind m_kind;
};

} // namespace zav::engine
