#pragma once

#include <QString>
#include <QWidget>

#include <array>

class QLabel;
class QLineEdit;
class QPushButton;

namespace zav::platform {
class DataGrid;
class DataSource;
} // namespace zav::platform

namespace zav::expenses {

/**
 * @brief "Percentuale d'incidenza": the cost estimate of "new.mdb". The user types the units and
 * their five bases into the grid and the five amounts into the boxes; "CALC. PERC." works out
 * every unit's percentages, "Ripartizione" splits the amounts by them, "CTRL" adds up the covered
 * surface's costs, "ELIMINA TUTTO" empties the units. The form reads nothing of the open project.
 */
class frm_new_mod : public QWidget
{
    Q_OBJECT

public:
    explicit frm_new_mod(QWidget *parent = nullptr);
    ~frm_new_mod() override;

    // --- Event handlers -----------------------------------------------------------------------
    /** @brief Binds the two tables; an empty `TOTALI` gets its row of zeros. */
    void Form_Load();
    /** @brief The five boxes shown in currency format. */
    void Form_Activate();
    /** @brief A box left: shown in currency format and stored. */
    void Text_LostFocus(int index);
    /** @brief "ELIMINA TUTTO": deletes every unit, asking nothing. */
    void Command1_Click();
    /** @brief "CALC. PERC.": column totals, percentages and percentage totals. */
    void Command2_Click();
    /** @brief "Ripartizione": the five amounts split by the percentages. */
    void Command3_Click();
    /** @brief "CTRL": the total of the covered surface's costs, in a message. */
    void Command4_Click();

    // --- Controls -----------------------------------------------------------------------------
    platform::DataSource *Data1 = nullptr; ///< `preventivo`
    platform::DataSource *Data2 = nullptr; ///< `TOTALI`
    platform::DataGrid *TDBGrid1 = nullptr;
    std::array<QLineEdit *, 5> Text {}; ///< `Text1` to `Text5`, the amounts
    std::array<QLabel *, 10> Label {}; ///< `Label1` to `Label10`, the totals
    QPushButton *Command2 = nullptr;
    QPushButton *Command1 = nullptr;
    QPushButton *Command3 = nullptr;
    QPushButton *Command4 = nullptr;

protected:
    bool event(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;
    void closeEvent(QCloseEvent *event) override;

private:
    void buildLayout();
    /** Reads the units again; false (said) when the database cannot be read. */
    void reloadUnits();
    bool m_loaded = false;
};

} // namespace zav::expenses
