#pragma once

#include <QDialog>

class QLabel;
class QPushButton;

namespace zav::shell {

/**
 * @brief The about box: the program's picture, the support contacts and the program's version,
 * centred on the screen. Modeless; "Esci" closes it.
 */
class ABOUT : public QDialog
{
    Q_OBJECT

public:
    explicit ABOUT(QWidget *parent = nullptr);

    /** @brief "Versione " and the version's three numbers, each without leading zeros. */
    static QString versionText(int major, int minor, int revision);

    void Form_Load();
    void Command2_Click();

    QLabel *picture;
    QLabel *Label3; ///< "Assistenza Z.A.V.:"
    QLabel *Label6; ///< the support telephone and e-mail
    QLabel *lblversion;
    QPushButton *Command2;
};

} // namespace zav::shell
