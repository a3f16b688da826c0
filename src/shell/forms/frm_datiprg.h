#pragma once

#include "platform/ui/recordform.h"

#include <array>

class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace zav::shell {

/**
 * @brief "Dati Progetto": the condominium's name, address, town and porter's lodge, bound to the
 * single `ANA_CONDO` record of the open project.
 *
 * On an empty `ANA_CONDO` a new record is started, which "Registra" stores. What is typed is stored
 * when the record is stored or the form closes through its frame (or is closed by the program);
 * "Esci" drops it first. "Comp. Pal." leads on to the buildings form once the record exists.
 */
class frm_datiprg : public platform::RecordForm
{
    Q_OBJECT

public:
    explicit frm_datiprg(QWidget *parent = nullptr);

    /** @brief Binds the form to the open project's header; starts a new record when there is none. */
    void Form_Load();
    /** @brief 0 "Registra", 1 "Esci", 2 "Modifica". */
    void Command1_Click(int Index);
    /** @brief "Comp. Pal.". */
    void Command2_Click();

    platform::DataSource *Data1 = nullptr;
    QLabel *Label1 = nullptr;
    QLineEdit *Text1 = nullptr;
    QLabel *Label2 = nullptr;
    QLineEdit *Text2 = nullptr;
    QLabel *Label3 = nullptr;
    QLineEdit *Text3 = nullptr;
    QCheckBox *Check1 = nullptr;
    /** @brief "Registra", "Esci", "Modifica" (objectNames "Command1_0" to "Command1_2"). */
    std::array<QPushButton *, 3> Command1 {};
    QPushButton *Command2 = nullptr;
};

} // namespace zav::shell
