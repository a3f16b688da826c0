#pragma once

#include "platform/db.h"

#include <QString>
#include <QVariant>
#include <QVector>

#include <array>
#include <optional>
#include <variant>

namespace zav::engine {

/**
 * @brief The program's shared state: every value that forms and engine hand over to each other,
 * plus the engine's own public operations.
 *
 * One object, `VAR_GBL`, reached from everywhere. The program has one thread and handles one user
 * event at a time, so each variable holds what its last writer stored.
 */
class VarGbl
{
public:
    // --- Project and unit ---------------------------------------------------------------------
    /** Full path of the open project archive; no value = no project open. */
    std::optional<QString> progetto_corrente;
    /** The project's base name (archive file name up to its first "."). */
    QString nome_progetto;
    /** Full path of the open project's terrace archive; empty = none. */
    QString archivio_terrazze;
    /**
     * Full path of the open project's own calculation report, there or not (the name it is made
     * under); empty when the project was made current without its files being looked at.
     */
    QString calculationReport;
    /** The rooms of the unit being edited (or the terrace form's unit); no value = none. */
    std::optional<platform::TableQuery> sql_unita_corrente;
    /** Name of the user thousandths table loaded in the workspace; empty = none. */
    QString tabella_selezionata;
    /** The room height in force, for rooms whose own height is empty. */
    double altezza_piano = 0.0;
    /**
     * True when the decimal separator is the point: read from the number rules' separator (which
     * is the system's, read once at start), so that the two never disagree.
     */
    bool punto_decimale() const;
    /** Whether the CAD link is on (the automation object itself lives with the CAD link). */
    bool oggetto_cad = false;
    /** Whether the unit list serves the terraces form instead of the workspace. */
    bool elenco_per_terrazze = false;

    // --- Hand-over slots of the main window's pop-up commands ---------------------------------
    bool appunti_pieni = false;
    qint32 appunti_ultima_riga = 0;
    QVariant somma_mil_generali;
    QVariant somma_mil_palazzina;
    QVariant somma_mil_scala;
    QVariant somma_mil_ascensore;
    QVariant somma_mil_riscaldamento;
    double somma_mil_portierato = 0.0;
    QString descrizioni_accorpate;

    // --- Engine state -------------------------------------------------------------------------
    /** Operator tokens, positions 1 to 10 (0 unused). */
    std::array<QString, 11> operatori;
    /** Class of each operator token: "", "UNARIO/BINARIO" or "BINARIO"; positions 1 to 10. */
    std::array<QString, 11> classi_operatori;
    /** Precedence matrix, rows and columns 1 to 10 (0 unused). */
    std::array<std::array<int, 11>, 11> tabella_precedenze {};
    /**
     * An element of the evaluator's stacks: empty, the count (element 0), an operand, a unary flag
     * or an operator token.
     */
    using ElementoPila = std::variant<std::monostate, int, double, bool, QString>;
    /** The evaluator's three stacks; element 0 holds the count. */
    QVector<ElementoPila> pila_operatori;
    QVector<ElementoPila> pila_unari;
    QVector<ElementoPila> pila_operandi;
    bool attesa_operando = false;
    /** Per-floor working sums of the stair and lift calculation. */
    QVariant somma_piano;
    QVariant somma_piano_speciale;

    // --- Public operations --------------------------------------------------------------------
    /** @brief Fills the evaluator's operator table. */
    void init_operatori();
    /** @brief Fills the evaluator's precedence matrix. */
    void init_precedenze();
    /**
     * @brief Value of a surface expression; no value when it cannot be evaluated.
     *
     * A type mismatch, a syntax error or an arithmetic error has then been shown once in a message
     * box; an expression that fills the stacks (operators only, or one character that is no
     * number: "x", "+", "((") is told with a message that names it. The empty text is a failure of its own,
     * with no message: a caller that must leave its field untouched for an empty expression tests for it
     * before calling. 1/0 gives an infinite value, not a failure; a sum, product or quotient of finite
     * numbers beyond the range of doubles is an overflow. Numbers take the point as their decimal
     * mark whatever the system's separator; a number written with a comma ("1,5", "1,000.5") or with
     * more than one point is a type mismatch, never read in part. Parentheses with nothing in them
     * are a syntax error.
     */
    std::optional<double> valuta_espressione(const QString &espressione);

    // --- The evaluator's machinery (each throws EvaluationError) ------------------------------
    /** @brief Pushes an operand and marks that an operator is expected next. */
    void push_operando(double valore);
    /**
     * @brief Offers an operator token: reduces what the precedence matrix allows, then stacks it
     * unless it closed a matched pair. `attesa` is the expecting flag, changed in place.
     */
    void push_operatore(const QString &operatore, bool &attesa);
    /** @brief Offers an operator token with no expecting flag (it counts as false). */
    void push_operatore(const QString &operatore);
    /** @brief Applies an operator, a sign (left = 0) or a function (its operand on the right). */
    double applica_operatore(double sinistro, double destro, const QString &operatore) const;
    /** @brief Position of a token in the operator table; 0 when absent (exact comparison). */
    int indice_operatore(const QString &operatore) const;
    /** @brief Matrix value for the token on top and the token arriving. */
    int precedenza(const QString &sopra, const QString &arrivo) const;
    /** @brief Pushes on one of the three stacks (element 0 is the count). */
    void pila_push(QVector<ElementoPila> &pila, const ElementoPila &valore) const;
    /** @brief Pops from one of the three stacks; the empty text when it is empty. */
    ElementoPila pila_pop(QVector<ElementoPila> &pila) const;
    /** @brief Loads one row of the precedence matrix from its comma-separated text. */
    void carica_riga_precedenze(int riga, const QString &testo);

    /** @brief After a confirmation recomputes every unit's rooms and totals. */
    void ricalcolo_globale();
    /** @brief Recomputes all thousandths result tables of the open project. */
    void calcolo_millesimi();

    /** @brief Back to the state of a program just started (tests). */
    void reset();
};

/** @brief The one shared state of the program. */
extern VarGbl VAR_GBL;

} // namespace zav::engine
