// The form buttons' click guard driven by mouse and key events: a double click clicks once, a
// click while the command of another runs clicks nothing, separate clicks each click.

#include "platform/ui/formbutton.h"

#include <QPushButton>
#include <QTest>
#include <QWidget>

#include <gtest/gtest.h>

#include <functional>

namespace {

using zav::platform::formButton;

struct GuardedButton
{
    GuardedButton()
    {
        button = formButton(QStringLiteral("Command1"), QStringLiteral("Aggiungi"), &form);
        QObject::connect(button, &QPushButton::clicked, button, [this] {
            ++runs;
            if (during)
                during();
        });
        form.show();
    }

    QWidget form;
    QPushButton *button = nullptr;
    int runs = 0;
    std::function<void()> during;
};

TEST(FormButton, OneUserActionRunsOneCommand)
{
    const struct
    {
        const char *what;
        std::function<void(QPushButton *)> act;
        int runs;
    } cases[] = {
        { "one click", [](QPushButton *b) { QTest::mouseClick(b, Qt::LeftButton); }, 1 },
        { "two separate clicks",
            [](QPushButton *b) {
                QTest::mouseClick(b, Qt::LeftButton);
                QTest::mouseClick(b, Qt::LeftButton);
            },
            2 },
        { "a double click",
            [](QPushButton *b) {
                QTest::mouseClick(b, Qt::LeftButton);
                QTest::mouseDClick(b, Qt::LeftButton);
                QTest::mouseRelease(b, Qt::LeftButton);
            },
            1 },
        { "a double click, then a click",
            [](QPushButton *b) {
                QTest::mouseClick(b, Qt::LeftButton);
                QTest::mouseDClick(b, Qt::LeftButton);
                QTest::mouseRelease(b, Qt::LeftButton);
                QTest::mouseClick(b, Qt::LeftButton);
            },
            2 },
        { "the space bar", [](QPushButton *b) { QTest::keyClick(b, Qt::Key_Space); }, 1 },
    };
    for (const auto &c : cases) {
        GuardedButton guarded;
        c.act(guarded.button);
        EXPECT_EQ(guarded.runs, c.runs) << c.what;
        EXPECT_FALSE(guarded.button->isDown()) << c.what;
    }
}

// The command lets events through (a progress, a message box's loop) and the user clicks again,
// by mouse and by key: nothing more runs; once it has ended the button clicks again.
TEST(FormButton, NoClickWhileItsCommandRuns)
{
    GuardedButton guarded;
    bool again = true;
    guarded.during = [&guarded, &again] {
        if (!again)
            return;
        again = false;
        QTest::mouseClick(guarded.button, Qt::LeftButton);
        QTest::keyClick(guarded.button, Qt::Key_Space);
    };
    QTest::mouseClick(guarded.button, Qt::LeftButton);
    EXPECT_EQ(guarded.runs, 1);
    QTest::mouseClick(guarded.button, Qt::LeftButton);
    EXPECT_EQ(guarded.runs, 2);
}

} // namespace
