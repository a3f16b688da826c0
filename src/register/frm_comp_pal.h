#pragma once

#include "platform/ui/recordform.h"

#include <functional>
#include <optional>

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace zav::register_ {

/** @brief The name the form registry knows the buildings form by. */
inline constexpr QLatin1String BuildingsFormName("frm_comp_pal");

/**
 * @brief "Composizione palazzine": the buildings of the open project, one at a time in number
 * order, with the number of buildings and the project's heating criterion.
 *
 * The building shown is stored when another one is shown, on "Registra" and when the form closes.
 * The heating criterion is stored only by "Registra"; its three boxes exclude each other and can
 * be changed only while the building shown is heated. "Crea", "Aggiungi" and "Elimina" change the
 * set of buildings, each in one transaction.
 */
class frm_comp_pal : public platform::RecordForm
{
    Q_OBJECT

public:
    explicit frm_comp_pal(QWidget *parent = nullptr);

    /** @brief Sounds the warning of the stepping buttons at either end (tests replace it). */
    static void setBeeper(std::function<void()> sound);

    void Form_Load();
    /** @brief "Riscaldamento" changed: the criterion boxes follow it. */
    void Check1_Click();
    void Check2_Click();
    void Check3_Click();
    void Check5_Click();
    /** @brief "Pal. Precedente". */
    void Command1_Click();
    /** @brief "Pal. Successiva". */
    void Command2_Click();
    /** @brief 0 "Registra", 1 "Esci", 2 "Cod. Piani". */
    void Command3_Click(int index);
    /** @brief 0 "Crea", 1 "Aggiungi", 2 "Elimina". */
    void Command4_Click(int index);

    platform::DataSource *Data1 = nullptr;
    QLabel *Label1 = nullptr;
    QLabel *Label7 = nullptr;
    QPushButton *Command1 = nullptr;
    QLabel *Label2 = nullptr;
    QPushButton *Command2 = nullptr;
    QLabel *Label3 = nullptr;
    QLabel *Label4 = nullptr;
    QLabel *Label5 = nullptr;
    QLineEdit *Text2 = nullptr;
    QLabel *Label6 = nullptr;
    QLineEdit *Text3 = nullptr;
    QGroupBox *Frame1 = nullptr;
    QCheckBox *Check1 = nullptr;
    QCheckBox *Check2 = nullptr;
    QCheckBox *Check3 = nullptr;
    QCheckBox *Check5 = nullptr;
    QCheckBox *Check4 = nullptr;
    QPushButton *Command4[3] = {};
    QPushButton *Command3[3] = {};

private:
    void crea_palazzine();
    void aggiungi_palazzine();
    void elimina_palazzina();
    /** @brief The buildings again from the archive, the lowest number shown. */
    void showBuildings();
    void showCount(int count);
    /** @brief A whole number asked with this prompt and title; none when cancelled or refused. */
    std::optional<int> askNumber(const QString &prompt, const QString &title);
    void readCriterion();
    void halfFieldMissing();
    QString archive() const;
};

} // namespace zav::register_
