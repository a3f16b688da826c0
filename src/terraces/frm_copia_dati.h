#pragma once

#include <QWidget>

#include <array>

class QLabel;
class QPushButton;

namespace zav::terraces {

/**
 * @brief "Copia dati condomini - Terrazze -": copies the rooms of every unit listed for the terrace
 * form's current table from the project into the terrace archive (RoomCopy), then the terrace form's
 * unit list shows that table's units.
 */
class frm_copia_dati : public QWidget
{
    Q_OBJECT

public:
    explicit frm_copia_dati(QWidget *parent = nullptr);
    ~frm_copia_dati() override;

    /** @brief 0 "Copia": copies, closes and says how it went; 1 "Esci": closes. */
    void Command1_Click(int Index);

    QLabel *Label1 = nullptr;
    std::array<QPushButton *, 2> Command1 {};

private:
    void copia();
};

} // namespace zav::terraces
