#pragma once

#include "shell/project/passwordsettings.h"

#include <QDialog>

class QCheckBox;
class QLabel;
class QLineEdit;

namespace zav::controls {
class XPButton;
}

namespace zav::shell {

/**
 * @brief "Password Utente": after the old password is typed, changes the stored start-up password
 * and switches it on or off. The only writer of the settings database.
 */
class frm_password : public QDialog
{
    Q_OBJECT

public:
    explicit frm_password(QWidget *parent = nullptr);

    /** @brief Reads the settings database. */
    void Form_Load();
    /** @brief A key in the old-password box; Enter checks it against the stored password. */
    void Text11_KeyPress(int KeyAscii);
    /** @brief Mirrors the new password into Text13. */
    void Text12_Change();
    /** @brief A key in the new-password box; Enter stores the new password. */
    void Text12_KeyPress(int KeyAscii);
    /** @brief "OK": closes the form. */
    void Command1_Click();

    QLabel *Label60 = nullptr;
    QLineEdit *Text11 = nullptr;
    QLabel *Label61 = nullptr;
    QLineEdit *Text12 = nullptr;
    QLineEdit *Text13 = nullptr;
    QCheckBox *Check8 = nullptr;
    controls::XPButton *Command1 = nullptr;

    void done(int result) override;

private:
    /** @brief Reads the record again; false (after reporting) when the database cannot be read. */
    bool readSettings();
    /** @brief Writes the flag when it was changed since the form was loaded. */
    void Form_Unload();
    static void reportFailure(const QString &what);

    PasswordSettings m_settings;
    bool m_loadedAttiva = false;
    bool m_unloaded = false;
};

} // namespace zav::shell
