#pragma once

#include "register/bulkchange.h"

#include <QGroupBox>

#include <array>
#include <optional>

class QCheckBox;
class QComboBox;
class QLineEdit;
class QPushButton;

namespace zav::register_ {

class frm_cod_piani;

/**
 * @brief The unit register's panel "Modifica/Duplica" (`Frame2`): writes the ticked values into the
 * rows selected in the register's grid ("Modifica"), or adds new units to the register's building
 * and stair that carry them ("Duplica"), with stepped heights and consecutive unit numbers
 * (BulkChange). Only the register rows change.
 *
 * The check boxes, the two step boxes and the count keep what they hold from one opening to the
 * next; the other boxes are filled from the register's current row at each opening.
 */
class BulkPanel : public QGroupBox
{
    Q_OBJECT

public:
    explicit BulkPanel(frm_cod_piani *form);

    /** @brief Asks, then shows the panel filled from the register's current row. */
    void open();
    /** @brief "Sel. Tutti": ticks every check box. */
    void Command6_Click();
    /** @brief "Modifica": the ticked values into the selected rows, in the order they were selected. */
    void Command7_Click();
    /** @brief "Esci": hides the panel; nothing is written. */
    void Command8_Click();
    /** @brief "Duplica": adds the new units. */
    void Command9_Click();
    /** @brief The count changed: with a count "Duplica" serves, without one "Modifica". */
    void Text8_Change();

    QCheckBox *Check1 = nullptr;
    QCheckBox *Check2 = nullptr;
    QCheckBox *Check3 = nullptr;
    QCheckBox *Check4 = nullptr;
    QCheckBox *Check5 = nullptr;
    QCheckBox *Check6 = nullptr;
    QCheckBox *Check7 = nullptr;
    QLineEdit *Text1 = nullptr;
    QComboBox *Combo6 = nullptr;
    QLineEdit *Text4 = nullptr;
    QLineEdit *Text5 = nullptr;
    QLineEdit *Text9 = nullptr;
    QLineEdit *Text6 = nullptr;
    QLineEdit *Text7 = nullptr;
    QLineEdit *Text10 = nullptr;
    QLineEdit *Text11 = nullptr;
    QLineEdit *Text8 = nullptr;
    QPushButton *Command6 = nullptr;
    QPushButton *Command7 = nullptr;
    QPushButton *Command8 = nullptr;
    QPushButton *Command9 = nullptr;

private:
    /** @brief Whether any of the first six boxes is ticked ("Descr.:" alone does not count). */
    bool anyTicked() const;
    /** @brief Writes "0" into the empty number boxes. */
    void zeroEmptyBoxes();
    /** @brief The ticked values read from the boxes; a message and no value when one is not valid. */
    std::optional<BulkValues> values(bool duplicate);
    /** @brief Reads the register's rows again, keeping the current one. */
    void showRows();

    frm_cod_piani *m_form;
};

} // namespace zav::register_
