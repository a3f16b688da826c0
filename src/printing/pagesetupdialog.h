#pragma once

#include "platform/ui/printersettings.h"

#include <QDialog>

class QComboBox;
class QDialogButtonBox;
class QRadioButton;
class QSpinBox;

namespace zav::printing {

/**
 * @brief "Imposta stampante": the page set-up of the program's printing. It shows a copy of the
 * program's printer settings and lets the user choose the printer among the installed ones, the
 * orientation, the paper size, the print quality and the number of copies; what it chose is read
 * back with chosen() once it was accepted.
 */
class PageSetupDialog : public QDialog
{
    Q_OBJECT

public:
    explicit PageSetupDialog(const platform::PrinterSettings &current, QWidget *parent = nullptr);

    /** @brief The settings as the dialog shows them: the current ones with the user's choices. */
    platform::PrinterSettings chosen() const;

    QComboBox *printerBox = nullptr;
    QRadioButton *portraitButton = nullptr;
    QRadioButton *landscapeButton = nullptr;
    QComboBox *paperBox = nullptr;
    QComboBox *qualityBox = nullptr;
    QSpinBox *copiesBox = nullptr;
    QDialogButtonBox *buttons = nullptr;

private:
    platform::PrinterSettings m_current;
};

} // namespace zav::printing
