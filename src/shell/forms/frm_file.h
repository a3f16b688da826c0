#pragma once

#include "platform/ui/filelists.h"

#include <QDialog>
#include <QList>
#include <QString>

#include <functional>

class QLabel;
class QLineEdit;
class QPushButton;

namespace zav::controls {
class XPButton;
}

namespace zav::shell {

/**
 * @brief "Progetti esistenti", the project archive dialog: choose a project archive in a folder,
 * and create, open, delete, duplicate, upgrade and back up projects.
 *
 * The seven buttons of `Command1` (objectNames "Command1_0" to "Command1_6": Apri, Nuovo,
 * Elimina, Esci, Backup, Conv. Dati, Duplica) share Command1_Click(); "Crea" is `Command2`,
 * "Aggiorna" `Command3`. Opening and creating a project set the shared program state; what
 * belongs to other forms (the main window's status bar, the project header form, the decimal
 * conversion form) is reached through the hooks.
 */
class frm_file : public QDialog
{
    Q_OBJECT

public:
    /** @brief What the dialog asks of the rest of the program. Empty hooks do nothing. */
    struct Hooks
    {
        /** Writes the project field (panel 2) of the main window's status bar. */
        std::function<void(const QString &)> showProjectInStatusBar;
        /** Shows the project header form, modeless, after a project was created. */
        std::function<void()> showProjectHeader;
        /** Shows the decimal separator conversion form, modal. */
        std::function<void()> showDecimalConversion;
    };

    /** @brief Heights of the dialog, short and tall (4620 and 6375 twips). */
    static constexpr int ShortHeight = 308;
    static constexpr int TallHeight = 425;

    explicit frm_file(QWidget *parent = nullptr);

    void setHooks(Hooks hooks) { m_hooks = std::move(hooks); }

    /** @brief Shows the dialog modeless and brings it to the front (open, delete). */
    void showModeless();
    /** @brief Shows the dialog with the new-project fields visible and the focus in the name box. */
    void showNewProject();

    /** @brief Every activation: remembered folder (or the default one), "*.cdb", the project last
     * opened selected when it lies there, not silent. */
    void Form_Activate();
    void Drive1_Change();
    void Dir1_Change();
    /** @brief Apri, Nuovo, Elimina, Esci, Backup, Conv. Dati, Duplica by index 0 to 6. */
    void Command1_Click(int Index);
    /** @brief "Crea". */
    void Command2_Click();
    /** @brief "Aggiorna": upgrades the chosen archive; says so unless silent. */
    void Command3_Click();
    /** @brief The mouse over a button of the array: tall over "Conv. Dati", short otherwise. */
    void Command1_MouseMove(int Index);
    void Command3_MouseMove();

    /** @brief True only while Apri runs the upgrade, which is then silent. */
    bool aggiornamento_silenzioso = false;

    platform::DriveListBox *Drive1 = nullptr;
    platform::FolderListBox *Dir1 = nullptr;
    platform::FileListBox *File1 = nullptr;
    QLabel *Label1 = nullptr;
    QLineEdit *Text1 = nullptr;
    controls::XPButton *Command2 = nullptr;
    QList<QPushButton *> Command1;
    QPushButton *Command3 = nullptr;
    QLabel *Label3 = nullptr;
    QLabel *Label2 = nullptr;

protected:
    bool event(QEvent *event) override;
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    /** @brief The chosen archive's full path: the file list's folder and its selected entry. */
    QString chosenArchive() const;
    void showNewProjectFields(bool shown);
    /** @brief Selects the project last opened, when the file list shows its folder. */
    void selectLastProject();
    /** @brief Keeps the project just opened or created as the last one. */
    static void rememberOpenProject();

    Hooks m_hooks;
    bool m_leftForBox = false;
};

} // namespace zav::shell
