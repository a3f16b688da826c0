#pragma once

#include "tables/usertablecopy.h"

#include <QWidget>

#include <array>

class QComboBox;
class QLabel;
class QProgressBar;
class QPushButton;
class QRadioButton;

namespace zav::tables {

/**
 * @brief "Copia Millesimi": appends the general thousandths, one building's or one stair's to the
 * user table selected in the workspace (`tabella_selezionata`). The building and stair lists come
 * from the project; the form stays open after a copy, so that several copies can follow.
 */
class frm_copia_mil : public QWidget
{
    Q_OBJECT

public:
    /** @brief The form's name in the form registry. */
    static constexpr const char *FormName = "frm_copia_mil";

    explicit frm_copia_mil(QWidget *parent = nullptr);
    ~frm_copia_mil() override;

    /** @brief Lists the project's buildings, the first one shown with its stairs. */
    void Form_Load();
    /** @brief Fills the stair list of the building chosen. */
    void Combo1_Click();
    /** @brief 0 "Copia": the copy of the option set; 1 "Esci". */
    void Command1_Click(int Index);

    void copia_millesimi_globali();
    void copia_millesimi_pal();
    void copia_millesimi_scala_tab();

    QRadioButton *Option1 = nullptr;
    QRadioButton *Option2 = nullptr;
    QRadioButton *Option3 = nullptr;
    QLabel *Label6 = nullptr;
    QComboBox *Combo1 = nullptr;
    QLabel *Label7 = nullptr;
    QComboBox *Combo2 = nullptr;
    std::array<QPushButton *, 2> Command1 {};
    QProgressBar *ProgressBar1 = nullptr;

private:
    void copy(UserTableCopy::Source source);
    /** @brief Lists the stairs of the building shown; @p tellWhy says why there are none. */
    void fillStairs(bool tellWhy);
};

} // namespace zav::tables
