#include "shellformsfixture.h"

#include "platform/programfolder.h"
#include "platform/ui/commandbar.h"
#include "shell/browser/browserloader.h"
#include "shell/browser/browsermodule.h"
#include "shell/commands/utilitycommands.h"
#include "shell/forms/frm_init.h"
#include "support/systemrecorder.h"

#include <QAction>
#include <QComboBox>
#include <QFile>
#include <QLineEdit>
#include <QMdiArea>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>
#include <QTimer>
#include <QToolBar>
#include <QUrl>

#include <gtest/gtest.h>

#include <elf.h>

#include <cstring>
#include <functional>
#include <memory>

namespace zav::test {
namespace {

using shell::BrowserLoader;

QString builtModule()
{
    return builtProgramFolder() + u'/' + BrowserLoader::moduleFileName();
}

// The libraries an ELF file names as needed: the DT_NEEDED entries of its dynamic section, which
// is what the dynamic linker maps with it. Empty when the file is not a readable 64-bit ELF file.
QStringList neededLibraries(const QString &path)
{
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    const qint64 size = file.size();
    const uchar *data = file.map(0, size);
    if (!data || size < qint64(sizeof(Elf64_Ehdr)))
        return {};
    const auto read = [&](qint64 offset, auto &into) {
        if (offset < 0 || offset + qint64(sizeof(into)) > size)
            return false;
        std::memcpy(&into, data + offset, sizeof(into));
        return true;
    };
    Elf64_Ehdr header;
    read(0, header);
    if (std::memcmp(header.e_ident, ELFMAG, SELFMAG) != 0 || header.e_ident[EI_CLASS] != ELFCLASS64)
        return {};
    const auto section = [&](int index, Elf64_Shdr &into) {
        return index < header.e_shnum
            && read(qint64(header.e_shoff) + qint64(index) * header.e_shentsize, into);
    };
    QStringList needed;
    for (int i = 0; i < header.e_shnum; ++i) {
        Elf64_Shdr dynamic;
        Elf64_Shdr strings;
        if (!section(i, dynamic) || dynamic.sh_type != SHT_DYNAMIC || !section(int(dynamic.sh_link), strings))
            continue;
        for (quint64 at = 0; at + sizeof(Elf64_Dyn) <= dynamic.sh_size; at += sizeof(Elf64_Dyn)) {
            Elf64_Dyn entry;
            if (!read(qint64(dynamic.sh_offset + at), entry) || entry.d_tag == DT_NULL)
                break;
            const qint64 name = qint64(strings.sh_offset + entry.d_un.d_val);
            if (entry.d_tag == DT_NEEDED && name < size)
                needed.append(QString::fromLatin1(reinterpret_cast<const char *>(data + name)));
        }
    }
    return needed;
}

// The libraries of @p libraries whose names start with @p prefix.
QStringList librariesNamed(const QStringList &libraries, const QString &prefix)
{
    QStringList found;
    for (const QString &library : libraries) {
        if (library.startsWith(prefix))
            found.append(library);
    }
    return found;
}

} // namespace

// What the program opens on first use is not linked to it: the web engine (through the browser
// module) and libzip (for backups).
TEST(ProgramLinks, NeitherTheWebEngineNorLibzip)
{
    const QStringList program = neededLibraries(builtProgramFolder() + QStringLiteral("/Zav"));
    ASSERT_TRUE(program.contains(QStringLiteral("libQt6Widgets.so.6")))
        << "cannot read the libraries of the built program (is the target Zav built?): "
        << program.join(u' ').toStdString();
    EXPECT_EQ(librariesNamed(program, QStringLiteral("libQt6WebEngine")), QStringList());
    EXPECT_EQ(librariesNamed(program, QStringLiteral("libzip")), QStringList());

    if (!QFile::exists(builtModule()))
        GTEST_SKIP() << "built without Qt WebEngine: no browser module";
    EXPECT_TRUE(librariesNamed(neededLibraries(builtModule()), QStringLiteral("libQt6WebEngine"))
                    .contains(QStringLiteral("libQt6WebEngineWidgets.so.6")));
}

// Without a module that loads, `Web` sends the web site to the desktop's browser, each time,
// and opens no window of its own.
class BrowserFallbackTest : public ShellFormsTest
{
protected:
    void TearDown() override
    {
        shell::frm_init::setBrowserFactory({});
        ShellFormsTest::TearDown();
    }

    platform::SystemRecorder system;
};

TEST_F(BrowserFallbackTest, WebOpensTheDesktopsBrowserWhenTheModuleIsMissingOrCannotLoad)
{
    const QString module = folder.file(BrowserLoader::moduleFileName());
    const struct
    {
        const char *name;
        std::function<void()> prepare;
    } cases[] = {
        { "missing", [&] { QFile::remove(module); } },
        { "damaged",
            [&] {
                QFile file(module);
                ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
                file.write("\177ELF not a module");
            } },
        // The module as found where Qt WebEngine is not installed: one of its libraries is missing.
        { "web engine not installed",
            [&] {
                QFile built(builtModule());
                if (!built.open(QIODevice::ReadOnly))
                    return; // built without Qt WebEngine: the damaged module stays
                QByteArray bytes = built.readAll();
                bytes.replace("libQt6WebEngineWidgets.so.6", "libQt6WebEngineMissing.so.6");
                QFile file(module);
                ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
                file.write(bytes);
            } },
    };
    shell::installBrowser();
    auto *window = platform::FormRegistry::form<shell::frm_init>(QStringLiteral("frm_init"));
    window->show();
    auto *area = window->findChild<QMdiArea *>(QStringLiteral("mdiArea"));
    ASSERT_NE(area, nullptr);
    for (const auto &item : cases) {
        SCOPED_TRACE(item.name);
        system.clear();
        item.prepare();
        window->Bar_main1()->clickTool(QStringLiteral("Web"));
        window->Bar_main1()->clickTool(QStringLiteral("Web"));
        EXPECT_EQ(system.addressesOpened(), QStringList({ shell::webAddress(), shell::webAddress() }));
        EXPECT_TRUE(area->subWindowList().isEmpty());
        EXPECT_TRUE(boxes.shown().isEmpty());
    }
}

TEST_F(BrowserFallbackTest, AFailingDesktopBrowserIsSkippedSilently)
{
    QFile::remove(folder.file(BrowserLoader::moduleFileName()));
    system.setOpenSucceeds(false);
    EXPECT_EQ(BrowserLoader::open(QStringLiteral("https://example.org/")), nullptr);
    EXPECT_TRUE(system.addressesOpened().isEmpty());
    EXPECT_TRUE(boxes.shown().isEmpty());
}

namespace {

// Windows of the module built into the program folder, as the `Web` command makes them; tests
// skip where the program was built without Qt WebEngine.
class BrowserTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        if (!QFile::exists(builtModule()))
            GTEST_SKIP() << "built without Qt WebEngine: no browser module";
        ASSERT_TRUE(dir.isValid());
        platform::ProgramFolder::setPath(builtProgramFolder());
        first = page(QStringLiteral("uno.html"), QStringLiteral("Pagina uno"));
        second = page(QStringLiteral("due.html"), QStringLiteral("Pagina due"));
    }

    void TearDown() override { platform::ProgramFolder::setPath(QString()); }

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

    // A window of the module that opens @p address when shown.
    static std::unique_ptr<QWidget> browser(const QString &address = QString(),
        const QString &home = QString(), const QString &search = QString())
    {
        shell::BrowserModule *module = BrowserLoader::module();
        if (!module)
            return nullptr;
        return std::unique_ptr<QWidget>(module->createBrowser(address, home, search));
    }

    template<typename T> static T *control(const QWidget &browser, const char *name)
    {
        return browser.findChild<T *>(QString::fromLatin1(name));
    }
    static QComboBox *addressBox(const QWidget &browser) { return control<QComboBox>(browser, "cboAddress"); }
    static QTimer *timer(const QWidget &browser) { return control<QTimer>(browser, "timTimer"); }

    // Runs an action and waits for the page it starts to finish loading.
    static bool loads(QWidget &browser, const std::function<void()> &action)
    {
        QSignalSpy finished(control<QWidget>(browser, "brwWebBrowser"), SIGNAL(loadFinished(bool)));
        action();
        return finished.wait(20000) && finished.first().first().toBool();
    }

    static void clickButton(QWidget &browser, const char *key)
    {
        QAction *button = control<QAction>(browser, key);
        ASSERT_NE(button, nullptr) << key;
        button->trigger();
    }

    static QStringList history(const QWidget &browser)
    {
        QStringList entries;
        for (int i = 0; i < addressBox(browser)->count(); ++i)
            entries.append(addressBox(browser)->itemText(i));
        return entries;
    }

    static void typeAddress(QWidget &browser, const QString &address)
    {
        addressBox(browser)->lineEdit()->clear();
        QTest::keyClicks(addressBox(browser)->lineEdit(), address);
        QTest::keyClick(addressBox(browser)->lineEdit(), Qt::Key_Return);
    }

    QTemporaryDir dir;
    QString first;
    QString second;
};

} // namespace

TEST_F(BrowserTest, TheModuleMakesTheBrowserWindowWithoutShowingIt)
{
    platform::SystemRecorder system;
    const std::unique_ptr<QWidget> window(BrowserLoader::open(first));
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->objectName(), QStringLiteral("frmBrowser"));
    EXPECT_FALSE(window->isVisible());
    EXPECT_TRUE(window->testAttribute(Qt::WA_DeleteOnClose));
    EXPECT_TRUE(system.addressesOpened().isEmpty());
}

TEST_F(BrowserTest, HistoryKeepsEachAddressOnceLatestFirst)
{
    const std::unique_ptr<QWidget> window = browser(first);
    ASSERT_NE(window, nullptr);
    QWidget &browser = *window;
    ASSERT_TRUE(loads(browser, [&] { browser.show(); }));
    EXPECT_EQ(history(browser), QStringList { first });
    // The timer lets go once the page is in and leaves its name as the caption.
    EXPECT_TRUE(QTest::qWaitFor([&] { return !timer(browser)->isActive(); }, 5000));
    EXPECT_EQ(browser.windowTitle(), QStringLiteral("Pagina uno"));

    ASSERT_TRUE(loads(browser, [&] { typeAddress(browser, second); }));
    EXPECT_EQ(history(browser), (QStringList { second, first }));
    EXPECT_EQ(addressBox(browser)->currentText(), second);

    // Going back to a page already visited moves it to the top.
    ASSERT_TRUE(loads(browser, [&] { clickButton(browser, "Back"); }));
    EXPECT_EQ(history(browser), (QStringList { first, second }));
    ASSERT_TRUE(loads(browser, [&] { clickButton(browser, "Forward"); }));
    EXPECT_EQ(history(browser), (QStringList { second, first }));

    // Chosen from the list: the address is opened again, still once in the list.
    ASSERT_TRUE(loads(browser, [&] {
        addressBox(browser)->setCurrentIndex(1);
        emit addressBox(browser)->activated(1);
    }));
    EXPECT_EQ(history(browser), (QStringList { first, second }));
    EXPECT_TRUE(QTest::qWaitFor([&] { return !timer(browser)->isActive(); }, 5000));
    EXPECT_EQ(browser.windowTitle(), QStringLiteral("Pagina uno"));
}

TEST_F(BrowserTest, EmptyStartingAddressWaitsForAnAddressAndEnter)
{
    const std::unique_ptr<QWidget> window = browser();
    ASSERT_NE(window, nullptr);
    QWidget &browser = *window;
    QSignalSpy started(control<QWidget>(browser, "brwWebBrowser"), SIGNAL(loadStarted()));
    browser.show();
    EXPECT_EQ(addressBox(browser)->count(), 0);
    EXPECT_FALSE(timer(browser)->isActive());
    EXPECT_EQ(browser.windowTitle(), QStringLiteral("Brem Browser"));

    // Typing alone navigates nowhere; Enter does. The engine starts a load some time after it is
    // asked for: a load asked for on showing or on typing is awaited (a second at most), and
    // Enter's own is then the one load started.
    QTest::keyClicks(addressBox(browser)->lineEdit(), second);
    EXPECT_FALSE(started.wait(1000)) << "a load started before Enter";
    ASSERT_TRUE(loads(browser, [&] { QTest::keyClick(addressBox(browser)->lineEdit(), Qt::Key_Return); }));
    EXPECT_EQ(started.count(), 1);
    EXPECT_EQ(history(browser), QStringList { second });
}

TEST_F(BrowserTest, HomeAndSearchOpenTheAddressesTheProgramGave)
{
    const std::unique_ptr<QWidget> window = browser(QString(), first, second);
    ASSERT_NE(window, nullptr);
    QWidget &browser = *window;
    browser.show();
    ASSERT_TRUE(loads(browser, [&] { clickButton(browser, "Home"); }));
    EXPECT_EQ(history(browser), QStringList { first });
    ASSERT_TRUE(loads(browser, [&] { clickButton(browser, "Search"); }));
    EXPECT_EQ(history(browser), (QStringList { second, first }));
}

TEST_F(BrowserTest, StopLeavesTheShownPagesNameAsCaption)
{
    const std::unique_ptr<QWidget> window = browser(first);
    ASSERT_NE(window, nullptr);
    QWidget &browser = *window;
    ASSERT_TRUE(loads(browser, [&] { browser.show(); }));
    clickButton(browser, "Stop");
    EXPECT_FALSE(timer(browser)->isActive());
    EXPECT_EQ(browser.windowTitle(), QStringLiteral("Pagina uno"));
}

TEST_F(BrowserTest, ToolbarButtonsCarryTheirKeysAndTooltipsInOrder)
{
    const std::unique_ptr<QWidget> window = browser();
    ASSERT_NE(window, nullptr);
    QStringList keys;
    QStringList tooltips;
    for (QAction *action : control<QToolBar>(*window, "tbToolBar")->actions()) {
        keys.append(action->data().toString());
        tooltips.append(action->toolTip());
    }
    EXPECT_EQ(keys,
        (QStringList { QStringLiteral("Back"), QStringLiteral("Forward"), QStringLiteral("Stop"),
            QStringLiteral("Refresh"), QStringLiteral("Home"), QStringLiteral("Search") }));
    EXPECT_EQ(tooltips,
        (QStringList { QStringLiteral("Indietro"), QStringLiteral("Avanti"), QStringLiteral("Interrompi"),
            QStringLiteral("Aggiorna"), QStringLiteral("Home"), QStringLiteral("Cerca") }));
    EXPECT_EQ(timer(*window)->interval(), 5);
}

} // namespace zav::test
