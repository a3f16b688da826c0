#include "platform/ui/formregistry.h"

#include <QApplication>
#include <QCoreApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QGuiApplication>
#include <QPointer>
#include <QScreen>
#include <QTest>
#include <QTimer>
#include <QWindow>

#include <gtest/gtest.h>

#include <functional>

namespace zav::platform {
namespace {

TEST(FormRegistryTest, AFormIsCreatedOnFirstUseAndAFreshOneAfterItCloses)
{
    int created = 0;
    FormRegistry::setFactory(QStringLiteral("prova"), [&created] {
        ++created;
        return new QDialog;
    });
    EXPECT_EQ(FormRegistry::loaded(QStringLiteral("prova")), nullptr);
    QWidget *first = FormRegistry::form(QStringLiteral("prova"));
    EXPECT_EQ(FormRegistry::form(QStringLiteral("prova")), first);
    EXPECT_EQ(created, 1);
    EXPECT_EQ(first->objectName(), QStringLiteral("prova"));

    // The real modal loop returns once the form closes; the closed form counts as unloaded at once.
    QPointer<QWidget> guard(first);
    QTimer::singleShot(0, first, [first] { first->close(); });
    FormRegistry::showModal(QStringLiteral("prova"));
    EXPECT_FALSE(FormRegistry::isLoaded(QStringLiteral("prova")));
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_TRUE(guard.isNull());

    QWidget *second = FormRegistry::form(QStringLiteral("prova"));
    EXPECT_NE(second, nullptr);
    EXPECT_EQ(created, 2);
    FormRegistry::unload(QStringLiteral("prova"));
    FormRegistry::unload(QStringLiteral("prova")); // not loaded: nothing
    EXPECT_FALSE(FormRegistry::isLoaded(QStringLiteral("prova")));
    EXPECT_EQ(FormRegistry::form(QStringLiteral("sconosciuta")), nullptr);
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

// Whatever takes the form away while it is modal, showModal() returns and the form counts as
// unloaded: the program's own close, a hide, and the form deleted from outside its handlers.
TEST(FormRegistryTest, ModalShowReturnsHoweverTheFormGoesAway)
{
    const struct
    {
        const char *name;
        std::function<void(QWidget *)> takeAway;
    } cases[] = {
        { "closed", [](QWidget *form) { form->close(); } },
        { "hidden", [](QWidget *form) { form->hide(); } },
        { "deleted", [](QWidget *form) { delete form; } },
        { "deleted later", [](QWidget *form) { form->deleteLater(); } },
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        FormRegistry::setFactory(QStringLiteral("modale"), [] { return new QWidget(nullptr, Qt::Window); });
        QWidget *form = FormRegistry::form(QStringLiteral("modale"));
        QPointer<QWidget> guard(form);
        bool wasModal = false;
        QTimer::singleShot(50, form, [&wasModal, form, &c] {
            wasModal = form->isVisible() && QApplication::activeModalWidget() == form;
            c.takeAway(form);
        });
        QElapsedTimer clock;
        clock.start();
        FormRegistry::showModal(QStringLiteral("modale"));
        EXPECT_LT(clock.elapsed(), 5000);
        EXPECT_TRUE(wasModal);
        if (guard) {
            EXPECT_FALSE(guard->isVisible());
        }
        EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
        if (std::string(c.name) != "hidden") {
            EXPECT_FALSE(FormRegistry::isLoaded(QStringLiteral("modale")));
        }
        delete guard.data();
    }
}

// A form minimised by the user is still up: the modal loop goes on until the form closes.
TEST(FormRegistryTest, MinimisedModalFormStaysModal)
{
    FormRegistry::setFactory(QStringLiteral("modale"), [] { return new QWidget(nullptr, Qt::Window); });
    QWidget *form = FormRegistry::form(QStringLiteral("modale"));
    bool upAfterMinimising = false;
    QTimer::singleShot(50, form, [form] { form->showMinimized(); });
    QTimer::singleShot(600, form, [form, &upAfterMinimising] {
        upAfterMinimising = QApplication::activeModalWidget() == form;
        form->close();
    });
    FormRegistry::showModal(QStringLiteral("modale"));
    EXPECT_TRUE(upAfterMinimising);
    EXPECT_FALSE(FormRegistry::isLoaded(QStringLiteral("modale")));
}

class PlacementTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        FormRegistry::setFactory(QStringLiteral("principale"), [] { return new QWidget; });
        FormRegistry::setMainWindow(QStringLiteral("principale"));
        main = FormRegistry::form(QStringLiteral("principale"));
        area = QGuiApplication::primaryScreen()->availableGeometry();
    }
    void TearDown() override
    {
        FormRegistry::setMainWindow(QString());
        FormRegistry::unload(QStringLiteral("principale"));
        FormRegistry::unload(QStringLiteral("finestra"));
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    }

    void showMain(const QRect &geometry)
    {
        main->setGeometry(geometry);
        main->show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(main));
    }

    QWidget *showWindow(const QSize &size)
    {
        FormRegistry::setFactory(QStringLiteral("finestra"), [size] {
            auto *w = new QWidget(nullptr, Qt::Window);
            w->resize(size);
            return w;
        });
        return FormRegistry::showModeless(QStringLiteral("finestra"));
    }

    QWidget *main = nullptr;
    QRect area;
};

// A window opens centred on the main window, owned by it and in front of it (a dialog-like window
// that the window system keeps above its owner).
TEST_F(PlacementTest, AWindowOpensCentredOnTheMainWindowAndInFrontOfIt)
{
    const QRect mainGeometry(area.left() + 100, area.top() + 50, 600, 400);
    showMain(mainGeometry);
    QWidget *window = showWindow(QSize(300, 200));
    ASSERT_NE(window, nullptr);
    EXPECT_EQ(window->geometry(), QRect(area.left() + 100 + 150, area.top() + 50 + 100, 300, 200));
    EXPECT_EQ(window->parentWidget(), main);
    EXPECT_TRUE(window->isWindow());
    EXPECT_EQ(window->windowType(), Qt::Dialog);
    EXPECT_TRUE(window->windowFlags().testFlag(Qt::WindowMaximizeButtonHint));
    ASSERT_NE(window->windowHandle(), nullptr);
    EXPECT_EQ(window->windowHandle()->transientParent(), main->windowHandle());

    // Shown again while up, it stays where the user left it.
    window->move(area.topLeft() + QPoint(10, 10));
    FormRegistry::showModeless(QStringLiteral("finestra"));
    EXPECT_EQ(window->pos(), area.topLeft() + QPoint(10, 10));
}

// Centred on a main window at the screen's edge, a window would hang off the screen: it is moved
// wholly onto it, and one larger than the screen is cut down to it.
TEST_F(PlacementTest, AWindowOpensWhollyOnScreen)
{
    showMain(QRect(area.right() - 150, area.bottom() - 100, 300, 200));
    QWidget *window = showWindow(QSize(400, 300));
    EXPECT_TRUE(area.contains(window->frameGeometry())) << window->frameGeometry().x();
    EXPECT_EQ(window->frameGeometry().bottomRight(), area.bottomRight());
    FormRegistry::unload(QStringLiteral("finestra"));

    window = showWindow(area.size() + QSize(200, 100));
    EXPECT_TRUE(area.contains(window->frameGeometry()));
}

// Without a main window a window opens centred on the screen (give or take its frame, not known
// before it is shown).
TEST_F(PlacementTest, WithoutAMainWindowAWindowIsCentredOnTheScreen)
{
    FormRegistry::setMainWindow(QString());
    QWidget *window = showWindow(QSize(200, 100));
    EXPECT_LE((window->frameGeometry().center() - area.center()).manhattanLength(), 10);
    EXPECT_EQ(window->parentWidget(), nullptr);
}

} // namespace
} // namespace zav::platform
