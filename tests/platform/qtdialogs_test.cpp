#include "platform/ui/qtdialogs.h"

#include <QApplication>
#include <QFontMetrics>
#include <QInputDialog>
#include <QMessageBox>
#include <QPushButton>
#include <QTest>
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

// An input box too is as wide as its title needs; what is typed comes back, Esc gives nothing.
TEST(QtDialogs, AnInputBoxIsAtLeastAsWideAsItsTitleNeeds)
{
    QFont bold = QApplication::font();
    bold.setBold(true);
    const QString title = QStringLiteral("Zav - Inserimento Nuova Tabella Millesimi Utente");
    for (const bool accept : { true, false }) {
        SCOPED_TRACE(accept);
        int width = -1;
        QTimer::singleShot(0, [&] {
            auto *box = qobject_cast<QInputDialog *>(QApplication::activeModalWidget());
            if (!box)
                return;
            width = box->width();
            box->setTextValue(QStringLiteral("SCALA B"));
            QTest::keyClick(box, accept ? Qt::Key_Return : Qt::Key_Escape);
        });
        QtDialogs real;
        const std::optional<QString> typed = real.inputBox(QStringLiteral("Nome:"), title, QString());
        ASSERT_GT(width, 0);
        EXPECT_GE(width, QFontMetrics(bold).horizontalAdvance(title) + 4 * 24);
        EXPECT_EQ(typed, accept ? std::optional<QString>(QStringLiteral("SCALA B")) : std::nullopt);
    }
}

// A long message keeps the width its text needs: the title only ever widens a box.
TEST(QtDialogs, ALongMessageKeepsItsOwnWidth)
{
    const QString text = QStringLiteral("Il file selezionato non è un archivio di progetto leggibile:");
    EXPECT_GE(
        shownWidth(text, QStringLiteral("Zav")), QFontMetrics(QApplication::font()).horizontalAdvance(text));
}

// Enter presses the box's default button: the first unless the question asks for the second, as every
// question that deletes something does, so that a hurried Enter keeps the data.
TEST(QtDialogs, EnterPressesTheDefaultButtonTheQuestionAsksFor)
{
    const struct
    {
        MsgButtons buttons;
        MsgDefault defaultButton;
        MsgResult expected;
    } cases[] = {
        { MsgButtons::YesNo, MsgDefault::First, MsgResult::Yes },
        { MsgButtons::YesNo, MsgDefault::Second, MsgResult::No },
        { MsgButtons::YesNoCancel, MsgDefault::Second, MsgResult::No },
        { MsgButtons::OkCancel, MsgDefault::First, MsgResult::Ok },
        { MsgButtons::OkCancel, MsgDefault::Second, MsgResult::Cancel },
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(int(c.expected));
        QTimer::singleShot(0, [] {
            if (auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget()))
                QTest::keyClick(box, Qt::Key_Return);
        });
        QtDialogs real;
        EXPECT_EQ(real.msgBox(QStringLiteral("Vuoi eliminare la riga ?"), c.buttons, MsgIcon::Critical,
                      QStringLiteral("Zav"), c.defaultButton),
            c.expected);
    }
}

} // namespace
} // namespace zav::platform
