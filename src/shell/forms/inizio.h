#pragma once

#include "shell/project/passwordsettings.h"

#include <QWidget>

class QLabel;
class QLineEdit;
class QPushButton;

namespace zav::shell {

/**
 * @brief The login form shown at start: "Avvio" opens the main window, directly when the start-up
 * password is off, else after the stored password or the master code is typed. The third refusal
 * ends the program.
 */
class INIZIO : public QWidget
{
    Q_OBJECT

public:
    explicit INIZIO(QWidget *parent = nullptr);

    /** @brief Reads the settings database; the form works on its first record from then on. */
    void Form_Load();
    /** @brief "Avvio": opens the main window, or reveals the password box when it is asked. */
    void Command1_Click();
    /** @brief A key typed in the password box; only Enter (13) acts. */
    void Text16_KeyPress(int KeyAscii);

    /** @brief Closes the form on behalf of the main window's load, without ending the program. */
    void closeForMainWindow();

    /** @brief Refusals so far. */
    qint32 refusals() const { return m_refusals; }

    QPushButton *Command1 = nullptr;
    QLabel *Label63 = nullptr;
    QLabel *Label4 = nullptr;
    QLineEdit *Text16 = nullptr;

protected:
    void closeEvent(QCloseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void paintEvent(QPaintEvent *event) override;

private:
    void openMainWindow();

    PasswordSettings m_settings;
    qint32 m_refusals = 0;
    bool m_closingForMainWindow = false;
};

} // namespace zav::shell
