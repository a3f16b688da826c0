#include "platform/ui/qtdialogs.h"

#include <QApplication>
#include <QFontMetrics>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>

#include <gtest/gtest.h>

namespace zav::platform {
namespace {

// The width of a real message box as it is shown, the box then answered with its first button.
int shownWidth(const QString &text, const QString &title)
{
    int width = -1;
    QTimer::singleShot(0, [&width] {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box)
            return;
        width = box->width();
        box->buttons().first()->click();
    });
    QtDialogs real;
    real.msgBox(text, MsgButtons::Ok, MsgIcon::Critical, title);
    return width;
}

// A title bar shows the title in bold beside the window's icon and its three buttons; a box narrower
// than that gets its title cut by the window manager ("!!! Atte... one !!!").
TEST(QtDialogs, AMessageBoxIsAtLeastAsWideAsItsTitleNeeds)
{
    QFont bold = QApplication::font();
    bold.setBold(true);
    const QFontMetrics metrics(bold);
    const struct
    {
        QString text;
        QString title;
    } cases[] = {
        { QStringLiteral("Ok."), QStringLiteral("!!! Zav - Attenzione - !!!") },
        { QStringLiteral("File già esistente."), QStringLiteral("!!! Attenzione !!!") },
        { QStringLiteral("Archivio Aggiornato"), QStringLiteral("Update Archivio") },
        { QStringLiteral("Sì"), QStringLiteral("Scelta cartella nuovo progetto") },
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.title.toStdString());
        const int width = shownWidth(c.text, c.title);
        ASSERT_GT(width, 0);
        EXPECT_GE(width, metrics.horizontalAdvance(c.title) + 4 * 24);
    }
}

// A long message keeps the width its text needs: the title only ever widens a box.
TEST(QtDialogs, ALongMessageKeepsItsOwnWidth)
{
    const QString text = QStringLiteral("Il file selezionato non è un archivio di progetto leggibile:");
    EXPECT_GE(
        shownWidth(text, QStringLiteral("Zav")), QFontMetrics(QApplication::font()).horizontalAdvance(text));
}

} // namespace
} // namespace zav::platform
