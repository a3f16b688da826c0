#pragma once

#include "platform/ui/filelists.h"

#include <QString>
#include <QWidget>

class QLabel;
class QListWidget;
class QProgressBar;
class QPushButton;
class QRadioButton;

namespace zav::shell {

/**
 * @brief "Conversione Dati - Separatore decimale -": rewrites the numbers held as text of an archive
 * chosen from the file list from comma to point or back (see DecimalConversion).
 *
 * The chosen file's name is taken with "Seleziona"; "Converti" looks for that name in the folder
 * the lists show at that moment (`Dir1->Path()`).
 */
class frm_virgola : public QWidget
{
    Q_OBJECT

public:
    explicit frm_virgola(QWidget *parent = nullptr);

    /** @brief Sets the lists on the program folder. */
    void Form_Load();
    /** @brief A drive chosen: the folder list goes to it. */
    void Drive1_Change();
    /** @brief A folder chosen: the file list shows it. */
    void Dir1_Change();
    /** @brief "Seleziona": the selected file's name goes into Label1. */
    void Command2_Click();
    /** @brief "Converti". */
    void Command1_Click();
    /** @brief "Esci". */
    void Command3_Click();
    /** @brief The conversion of the archive named in Label1, in the folder shown. */
    void converti_archivio();

    platform::DriveListBox *Drive1 = nullptr;
    platform::FolderListBox *Dir1 = nullptr;
    platform::FileListBox *File1 = nullptr;
    QPushButton *Command2 = nullptr;
    QLabel *Label2 = nullptr;
    QLabel *Label1 = nullptr;
    QLabel *Label3 = nullptr;
    QRadioButton *Option1 = nullptr;
    QRadioButton *Option2 = nullptr;
    QListWidget *List1 = nullptr;
    QProgressBar *ProgressBar1 = nullptr;
    QPushButton *Command1 = nullptr;
    QPushButton *Command3 = nullptr;
};

} // namespace zav::shell
