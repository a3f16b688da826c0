#include "platform/ui/qtdialogs.h"

#include "platform/ui/formregistry.h"

#include <QApplication>
#include <QFileDialog>
#include <QFontMetrics>
#include <QGridLayout>
#include <QInputDialog>
#include <QLabel>
#include <QMessageBox>
#include <QSpacerItem>
#include <QStyle>

namespace zav::platform {

namespace {

// Room a window manager's title bar takes besides the title: the window's icon, its buttons and
// the spacing around them.
constexpr int TitleBarDecorations = 160;

QMessageBox::StandardButtons standardButtons(MsgButtons buttons)
{
    switch (buttons) {
    case MsgButtons::Ok:
        return QMessageBox::Ok;
    case MsgButtons::OkCancel:
        return QMessageBox::Ok | QMessageBox::Cancel;
    case MsgButtons::AbortRetryIgnore:
        return QMessageBox::Abort | QMessageBox::Retry | QMessageBox::Ignore;
    case MsgButtons::YesNoCancel:
        return QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel;
    case MsgButtons::YesNo:
        return QMessageBox::Yes | QMessageBox::No;
    case MsgButtons::RetryCancel:
        return QMessageBox::Retry | QMessageBox::Cancel;
    }
    return QMessageBox::Ok;
}

QMessageBox::Icon standardIcon(MsgIcon icon)
{
    switch (icon) {
    case MsgIcon::None:
        return QMessageBox::NoIcon;
    case MsgIcon::Critical:
        return QMessageBox::Critical;
    case MsgIcon::Question:
        return QMessageBox::Question;
    case MsgIcon::Exclamation:
        return QMessageBox::Warning;
    case MsgIcon::Information:
        return QMessageBox::Information;
    }
    return QMessageBox::NoIcon;
}

// The button Enter presses, as the runtime numbers them: the first or the second of the box's own.
QMessageBox::StandardButton defaultOf(MsgButtons buttons, MsgDefault defaultButton)
{
    const bool second = defaultButton == MsgDefault::Second;
    switch (buttons) {
    case MsgButtons::Ok:
        return QMessageBox::Ok;
    case MsgButtons::OkCancel:
        return second ? QMessageBox::Cancel : QMessageBox::Ok;
    case MsgButtons::AbortRetryIgnore:
        return second ? QMessageBox::Retry : QMessageBox::Abort;
    case MsgButtons::YesNoCancel:
    case MsgButtons::YesNo:
        return second ? QMessageBox::No : QMessageBox::Yes;
    case MsgButtons::RetryCancel:
        return second ? QMessageBox::Cancel : QMessageBox::Retry;
    }
    return QMessageBox::NoButton;
}

MsgResult resultOf(int button)
{
    switch (button) {
    case QMessageBox::Ok:
        return MsgResult::Ok;
    case QMessageBox::Abort:
        return MsgResult::Abort;
    case QMessageBox::Retry:
        return MsgResult::Retry;
    case QMessageBox::Ignore:
        return MsgResult::Ignore;
    case QMessageBox::Yes:
        return MsgResult::Yes;
    case QMessageBox::No:
        return MsgResult::No;
    default:
        return MsgResult::Cancel;
    }
}

QWidget *dialogParent()
{
    return QApplication::activeWindow();
}

} // namespace

void installQtDialogs()
{
    static QtDialogs real;
    setDefaultDialogs(&real);
}

int titleBarWidth(const QString &title)
{
    // Title bars usually draw their text in bold.
    QFont font = QApplication::font();
    font.setBold(true);
    return QFontMetrics(font).horizontalAdvance(title) + TitleBarDecorations;
}

void widenForTitle(QMessageBox &box)
{
    // The box sizes itself from its layout when shown: a blank row as wide as the title bar needs
    // keeps the title from being cut.
    auto *grid = qobject_cast<QGridLayout *>(box.layout());
    if (!grid)
        return;
    const QMargins margins = grid->contentsMargins();
    const int width = titleBarWidth(box.windowTitle()) - margins.left() - margins.right();
    grid->addItem(new QSpacerItem(width, 0, QSizePolicy::Minimum, QSizePolicy::Minimum), grid->rowCount(), 0,
        1, grid->columnCount());
}

MsgResult QtDialogs::msgBox(
    const QString &text, MsgButtons buttons, MsgIcon icon, const QString &title, MsgDefault defaultButton)
{
    QMessageBox box(standardIcon(icon), title.isEmpty() ? programTitle() : title, text,
        standardButtons(buttons), dialogParent());
    box.setDefaultButton(defaultOf(buttons, defaultButton));
    widenForTitle(box);
    closeWhenTakenAway(&box);
    const MsgResult result = resultOf(box.exec());
    // Let the windows under the answered box repaint before the caller goes on, perhaps with a
    // long operation that processes no events.
    box.hide();
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
    return result;
}

std::optional<QString> QtDialogs::inputBox(
    const QString &prompt, const QString &title, const QString &defaultText)
{
    QInputDialog box(dialogParent());
    box.setWindowTitle(title.isEmpty() ? programTitle() : title);
    box.setLabelText(prompt);
    box.setTextValue(defaultText);
    // Wide enough for the whole title, which the title bar would otherwise cut. The dialog takes
    // its least size from its layout, so the width goes to the prompt it lays out.
    if (auto *label = box.findChild<QLabel *>()) {
        const int margins = box.style()->pixelMetric(QStyle::PM_LayoutLeftMargin)
            + box.style()->pixelMetric(QStyle::PM_LayoutRightMargin);
        label->setMinimumWidth(titleBarWidth(box.windowTitle()) - margins);
    }
    closeWhenTakenAway(&box);
    if (box.exec() != QDialog::Accepted)
        return std::nullopt;
    return box.textValue();
}

QString QtDialogs::openFileName(const QString &title, const QString &folder, const QString &filter)
{
    return QFileDialog::getOpenFileName(dialogParent(), title, folder, filter);
}

QString QtDialogs::saveFileName(const QString &title, const QString &folder, const QString &filter)
{
    return QFileDialog::getSaveFileName(dialogParent(), title, folder, filter);
}

QString QtDialogs::existingFolder(const QString &title, const QString &folder)
{
    return QFileDialog::getExistingDirectory(dialogParent(), title, folder);
}

} // namespace zav::platform
