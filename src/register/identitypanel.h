#pragma once

#include <QGroupBox>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace zav::register_ {

class frm_cod_piani;

/**
 * @brief The unit register's panel "Modifica dati condomino" (`Frame1`): gives the unit of the
 * register's current row a new owner, description, building, stair, floor code and unit number,
 * together with its rooms and its rows in the user thousandths tables (IdentityChange).
 *
 * Hidden until the register's "Modifica dati" opens it over the grid; its "Esci" hides it again.
 * A raised border round the whole panel keeps its caption apart from the rows it covers.
 */
class IdentityPanel : public QGroupBox
{
    Q_OBJECT

public:
    explicit IdentityPanel(frm_cod_piani *form);

    /** @brief Fills the panel from the register's selectors and current row and shows it. */
    void open();
    /** @brief "Modifica": asks, checks and applies the change. */
    void Command3_Click();
    /** @brief "Esci": hides the panel; nothing is written. */
    void Command4_Click();

    QLabel *Label5 = nullptr;
    QLineEdit *Text3 = nullptr;
    QLineEdit *Text12 = nullptr;
    QComboBox *Combo3 = nullptr;
    QComboBox *Combo4 = nullptr;
    QComboBox *Combo5 = nullptr;
    QLineEdit *Text2 = nullptr;
    QPushButton *Command3 = nullptr;
    QPushButton *Command4 = nullptr;

protected:
    /** @brief The group box with a raised border round the whole panel, caption included. */
    void paintEvent(QPaintEvent *event) override;

private:
    /** @brief Lists "Nessuna" and the stairs of the building chosen in the building box. */
    void fillStairs();

    frm_cod_piani *m_form;
};

} // namespace zav::register_
