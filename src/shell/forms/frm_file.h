#pragma once

#include <QDialog>
#include <QList>
#include <QListWidget>
#include <QString>

#include <functional>

class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;

namespace zav::controls {
class XPButton;
}

namespace zav::shell {

/**
 * @brief A folder list: the folders from the root down to the current one, then its subfolders.
 * Activating an entry (double click, Enter) makes it the current folder.
 */
class FolderListBox : public QListWidget
{
    Q_OBJECT

public:
    explicit FolderListBox(QWidget *parent = nullptr);

    QString Path() const { return m_path; }
    /** @brief Makes a folder current and lists it; a folder that cannot be read is ignored. */
    void setPath(const QString &folder);

signals:
    /** @brief The current folder changed. */
    void Change();

private:
    void fill();
    QString m_path;
};

/**
 * @brief A file list of one folder, filtered by a pattern matched without regard to case and
 * sorted by name. Its selected entry is `ListIndex` (-1 for none).
 */
class FileListBox : public QListWidget
{
    Q_OBJECT

public:
    explicit FileListBox(QWidget *parent = nullptr);

    QString Path() const { return m_path; }
    /** @brief Sets the folder and re-reads it. */
    void setPath(const QString &folder);
    QString Pattern() const { return m_pattern; }
    /** @brief Sets the pattern ("*.cdb"; several separated by ";") and re-reads the folder. */
    void setPattern(const QString &pattern);
    /** @brief Re-reads the folder; no entry is selected afterwards. */
    void Refresh();
    int ListCount() const { return count(); }
    /** @brief The selected entry, -1 when none (an entry that only has the focus is not selected). */
    int ListIndex() const;
    /** @brief Selects an entry (-1: none). */
    void setListIndex(int index);
    /** @brief The selected entry's file name; empty when none. */
    QString FileName() const;

private:
    QString m_path;
    QString m_pattern = QStringLiteral("*.*");
};

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

    /** @brief Every activation: remembered folder (or the default one), "*.cdb", not silent. */
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

    QComboBox *Drive1 = nullptr;
    FolderListBox *Dir1 = nullptr;
    FileListBox *File1 = nullptr;
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

    Hooks m_hooks;
    bool m_leftForBox = false;
};

} // namespace zav::shell
