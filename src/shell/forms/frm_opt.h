#pragma once

#include "platform/ui/recordform.h"

class QCheckBox;
class QGroupBox;
class QLabel;
class QPushButton;

namespace zav::shell {

/**
 * @brief "Opzioni": the base of the thousandths (weighted surface or volume) and where the CAD
 * program's result goes (the surface or the expression), bound to the open project's `ANA_CONDO`.
 * The boxes of each pair exclude each other; both may be clear. The base pair shows the base the
 * calculation takes, the volume when "Superficie" is not stored ticked. What is ticked is stored by
 * "Registra" and when the form closes.
 */
class frm_opt : public platform::RecordForm
{
    Q_OBJECT

public:
    explicit frm_opt(QWidget *parent = nullptr);

    /** @brief Binds the open project's options and ticks the base of the thousandths in force. */
    void Form_Load();

    /** @brief "Superficie": ticked, clears "Volume". */
    void Check1_Click();
    /** @brief "Volume": ticked, clears "Superficie". */
    void Check2_Click();
    /** @brief "Mq.": ticked, clears "Espressione". */
    void Check3_Click();
    /** @brief "Espressione": ticked, clears "Mq.". */
    void Check4_Click();
    /** @brief "Registra": writes the four boxes and closes. */
    void Command1_Click();

    platform::DataSource *Data1 = nullptr;
    QLabel *Label1 = nullptr;
    QLabel *Label2 = nullptr;
    QGroupBox *Frame1 = nullptr;
    QCheckBox *Check1 = nullptr;
    QCheckBox *Check2 = nullptr;
    QGroupBox *Frame2 = nullptr;
    QCheckBox *Check3 = nullptr;
    QCheckBox *Check4 = nullptr;
    QPushButton *Command1 = nullptr;
};

} // namespace zav::shell
