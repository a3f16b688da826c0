#include "platform/ui/valuelistbox.h"

#include <QApplication>
#include <QTest>

#include <gtest/gtest.h>

namespace zav::platform {
namespace {

// The floor codes in the order the lists show them.
QStringList floorCodes()
{
    QStringList codes;
    for (int basement = 10; basement >= 1; --basement)
        codes << QStringLiteral("%1S").arg(basement);
    codes << QStringLiteral("R") << QStringLiteral("T");
    for (int floor = 1; floor <= 12; ++floor)
        codes << QString::number(floor);
    return codes;
}

// Typing picks the code typed whole before one that only starts with it; keys typed in quick
// succession make one text, a pause starts a new one.
TEST(ValueListBox, TypingPicksTheCodeTypedWholeBeforeOneThatStartsWithIt)
{
    const struct
    {
        const char *typed;
        const char *picked;
    } cases[] = {
        { "1", "1" }, { "1s", "1S" }, { "10", "10" }, { "10s", "10S" }, { "t", "T" }, { "3s", "3S" },
        { "11", "11" }, { "x", "R" }, // starts no code: the choice stays
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.typed);
        ValueListBox box;
        box.addItems(floorCodes());
        box.setCurrentIndex(box.findText(QStringLiteral("R")));
        QTest::keyClicks(&box, QString::fromLatin1(c.typed));
        EXPECT_EQ(box.currentText(), QString::fromLatin1(c.picked));
    }
}

TEST(ValueListBox, APauseStartsANewText)
{
    ValueListBox box;
    box.addItems(floorCodes());
    QTest::keyClick(&box, Qt::Key_1);
    EXPECT_EQ(box.currentText(), QStringLiteral("1"));
    QTest::qWait(QApplication::keyboardInputInterval() + 50);
    QTest::keyClick(&box, Qt::Key_T);
    EXPECT_EQ(box.currentText(), QStringLiteral("T"));
}

} // namespace
} // namespace zav::platform
