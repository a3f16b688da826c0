#include "shell/browser/frmbrowser.h"

#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QUrl>
#include <QWebEngineView>

#include <gtest/gtest.h>

using zav::shell::frmBrowser;

namespace {

class BrowserTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(dir.isValid());
        first = page(QStringLiteral("uno.html"), QStringLiteral("Pagina uno"));
        second = page(QStringLiteral("due.html"), QStringLiteral("Pagina due"));
    }

    QString page(const QString &name, const QString &title)
    {
        QFile file(dir.filePath(name));
        if (!file.open(QIODevice::WriteOnly))
            return {};
        file.write(QStringLiteral("<html><head><title>%1</title></head><body><p>%1</p></body></html>")
                       .arg(title)
                       .toUtf8());
        return QUrl::fromLocalFile(file.fileName()).toString();
    }

    // Runs an action and waits for the page it starts to finish loading.
    static bool loads(frmBrowser &browser, const std::function<void()> &action)
    {
        QSignalSpy finished(browser.brwWebBrowser, &QWebEngineView::loadFinished);
        action();
        return finished.wait(20000) && finished.first().first().toBool();
    }

    static QStringList history(const frmBrowser &browser)
    {
        QStringList entries;
        for (int i = 0; i < browser.cboAddress->count(); ++i)
            entries.append(browser.cboAddress->itemText(i));
        return entries;
    }

    static void typeAddress(frmBrowser &browser, const QString &address)
    {
        browser.cboAddress->lineEdit()->clear();
        QTest::keyClicks(browser.cboAddress->lineEdit(), address);
        QTest::keyClick(browser.cboAddress->lineEdit(), Qt::Key_Return);
    }

    QTemporaryDir dir;
    QString first;
    QString second;
};

} // namespace

TEST_F(BrowserTest, HistoryKeepsEachAddressOnceLatestFirst)
{
    frmBrowser browser;
    browser.StartingAddress = first;
    ASSERT_TRUE(loads(browser, [&] { browser.show(); }));
    EXPECT_EQ(history(browser), QStringList { first });
    // The timer lets go once the page is in and leaves its name as the caption.
    EXPECT_TRUE(QTest::qWaitFor([&] { return !browser.timTimer->isActive(); }, 5000));
    EXPECT_EQ(browser.windowTitle(), QStringLiteral("Pagina uno"));

    ASSERT_TRUE(loads(browser, [&] { typeAddress(browser, second); }));
    EXPECT_EQ(history(browser), (QStringList { second, first }));
    EXPECT_EQ(browser.cboAddress->currentText(), second);

    // Going back to a page already visited moves it to the top.
    ASSERT_TRUE(loads(browser, [&] { browser.tbToolBar_ButtonClick(QStringLiteral("Back")); }));
    EXPECT_EQ(history(browser), (QStringList { first, second }));
    ASSERT_TRUE(loads(browser, [&] { browser.tbToolBar_ButtonClick(QStringLiteral("Forward")); }));
    EXPECT_EQ(history(browser), (QStringList { second, first }));

    // Chosen from the list: the address is opened again, still once in the list.
    ASSERT_TRUE(loads(browser, [&] {
        browser.cboAddress->setCurrentIndex(1);
        browser.cboAddress_Click();
    }));
    EXPECT_EQ(history(browser), (QStringList { first, second }));
    EXPECT_TRUE(QTest::qWaitFor([&] { return !browser.timTimer->isActive(); }, 5000));
    EXPECT_EQ(browser.windowTitle(), QStringLiteral("Pagina uno"));
}

TEST_F(BrowserTest, EmptyStartingAddressWaitsForAnAddressAndEnter)
{
    frmBrowser browser;
    QSignalSpy started(browser.brwWebBrowser, &QWebEngineView::loadStarted);
    browser.show();
    QTest::qWait(100);
    EXPECT_EQ(started.count(), 0);
    EXPECT_EQ(browser.cboAddress->count(), 0);
    EXPECT_FALSE(browser.timTimer->isActive());
    EXPECT_EQ(browser.windowTitle(), QStringLiteral("Brem Browser"));

    // Typing alone navigates nowhere; Enter does.
    QTest::keyClicks(browser.cboAddress->lineEdit(), second);
    QTest::qWait(50);
    EXPECT_EQ(started.count(), 0);
    ASSERT_TRUE(loads(browser, [&] { QTest::keyClick(browser.cboAddress->lineEdit(), Qt::Key_Return); }));
    EXPECT_EQ(history(browser), QStringList { second });
}

TEST_F(BrowserTest, StopLeavesTheShownPagesNameAsCaption)
{
    frmBrowser browser;
    browser.StartingAddress = first;
    ASSERT_TRUE(loads(browser, [&] { browser.show(); }));
    browser.tbToolBar_ButtonClick(QStringLiteral("Stop"));
    EXPECT_FALSE(browser.timTimer->isActive());
    EXPECT_EQ(browser.windowTitle(), QStringLiteral("Pagina uno"));
}

TEST_F(BrowserTest, ToolbarButtonsCarryTheirKeysAndTooltipsInOrder)
{
    frmBrowser browser;
    QStringList keys;
    QStringList tooltips;
    for (QAction *action : browser.tbToolBar->actions()) {
        keys.append(action->data().toString());
        tooltips.append(action->toolTip());
    }
    EXPECT_EQ(keys,
        (QStringList { QStringLiteral("Back"), QStringLiteral("Forward"), QStringLiteral("Stop"),
            QStringLiteral("Refresh"), QStringLiteral("Home"), QStringLiteral("Search") }));
    EXPECT_EQ(tooltips,
        (QStringList { QStringLiteral("Indietro"), QStringLiteral("Avanti"), QStringLiteral("Interrompi"),
            QStringLiteral("Aggiorna"), QStringLiteral("Home"), QStringLiteral("Cerca") }));
    EXPECT_EQ(browser.timTimer->interval(), 5);
}
