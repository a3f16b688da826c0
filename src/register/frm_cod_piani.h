#pragma once

#include <QWidget>

#include <array>

class QComboBox;
class QLabel;
class QPushButton;

namespace zav::platform {
class DataGrid;
class DataSource;
} // namespace zav::platform

namespace zav::register_ {

class BulkPanel;
class IdentityPanel;

/**
 * @brief The unit register "Codifica piani": the units of one building and stair in a grid, with
 * the commands that hand a unit to the workspace, sort the grid, delete a unit with its rooms and
 * recompute the floor positions, and the two panels that change a unit's identity (`Frame1`) and
 * change or duplicate units in bulk (`Frame2`).
 *
 * Controls keep their designer names as members and object names, so other forms and tests find them.
 */
class frm_cod_piani : public QWidget
{
    Q_OBJECT

public:
    explicit frm_cod_piani(QWidget *parent = nullptr);
    ~frm_cod_piani() override;

    void Form_Load();
    void Combo1_Click();
    void Combo2_Click();
    /** @brief Runs the command of button Index (0 to 4); any other index does nothing. */
    void Command1_Click(int Index);
    /** @brief "Modifica dati": opens the panel that changes the current unit's identity. */
    void Command2_Click();
    /** @brief "Modif./Duplica": opens the panel that changes or duplicates units in bulk. */
    void Command5_Click();
    /**
     * @brief The buildings changed: the building lists show those that exist; a building and stair
     * still listed stay chosen, with their units read again; otherwise nothing is chosen and no
     * unit is shown.
     */
    void buildingsChanged();

    /**
     * @brief True from a new row started with a building and a stair until the user leaves that row:
     * its owner, kind, floor code and unit number stay editable while it is being typed.
     */
    bool nuova_riga() const { return m_nuovaRiga; }

    QLabel *Label1 = nullptr;
    QLabel *Label2 = nullptr;
    QComboBox *Combo1 = nullptr;
    QComboBox *Combo2 = nullptr;
    QComboBox *Combo3 = nullptr;
    QComboBox *Combo4 = nullptr;
    platform::DataGrid *TDBGrid1 = nullptr;
    platform::DataSource *Data1 = nullptr;
    platform::DataSource *Data2 = nullptr;
    std::array<QPushButton *, 5> Command1 {};
    QPushButton *Command2 = nullptr;
    QPushButton *Command5 = nullptr;
    IdentityPanel *Frame1 = nullptr;
    BulkPanel *Frame2 = nullptr;

private:
    void buildControls();
    void TDBGrid1_RowColChange();
    void insCoeff();
    void ordina();
    void eliminaRiga();
    void genPosizioni();
    void bindUnits(bool byPosition);
    /** Esc on the row being added: the row is given up, as if never typed. */
    void discardNewRow();

    bool m_nuovaRiga = false;
    /** The rowid of the row being added once it is stored, -1 before. */
    qint64 m_rigaAggiunta = -1;
};

} // namespace zav::register_
