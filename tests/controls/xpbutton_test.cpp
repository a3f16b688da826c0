#include "controls/xpbutton.h"

#include <QApplication>
#include <QBuffer>
#include <QDataStream>
#include <QSignalSpy>
#include <QTest>
#include <QWindow>

#include <gtest/gtest.h>

#include <functional>
#include <memory>

using namespace zav::controls;

namespace {

ColorValue at(const QImage &image, int x, int y)
{
    return colorValue(QColor(image.pixel(x, y)));
}

// Row 1 of type 3: light blue when normal, black when pressed, pale when disabled.
constexpr ColorValue Type3NormalRow1 = 0xFFE7CE;
constexpr ColorValue Type3PressedRow1 = 0x000000;
constexpr ColorValue Type3DisabledRow1 = 0xFFEAD0;

/** A shown, active window holding buttons of type 3, 60 x 24, in a row. */
class Host
{
public:
    explicit Host(int count = 1)
    {
        window.resize(260, 60);
        for (int i = 0; i < count; ++i) {
            auto *button = new XPButton(&window);
            button->setButtonType(3);
            button->setGeometry(10 + 70 * i, 10, 60, 24);
            buttons.append(button);
        }
        window.show();
        window.activateWindow();
        ready = QTest::qWaitForWindowActive(&window);
    }

    XPButton *button(int i = 0) const { return buttons.at(i); }
    ColorValue row1(int i = 0) const { return at(button(i)->faceImage(), 10, 1); }

    QWidget window;
    QList<XPButton *> buttons;
    bool ready = false;
};

/** Records the button's events, in order, as text. */
class EventLog
{
public:
    explicit EventLog(XPButton *button)
    {
        QObject::connect(button, &XPButton::Click, &context, [this] { entries << QStringLiteral("Click"); });
        QObject::connect(button, &XPButton::MouseDown, &context, [this](int b, int s, float x, float y) {
            entries << QStringLiteral("MouseDown(%1,%2,%3,%4)").arg(b).arg(s).arg(x).arg(y);
        });
        QObject::connect(button, &XPButton::MouseUp, &context, [this](int b, int s, float x, float y) {
            entries << QStringLiteral("MouseUp(%1,%2,%3,%4)").arg(b).arg(s).arg(x).arg(y);
        });
        QObject::connect(button, &XPButton::KeyDown, &context,
            [this](int k, int s) { entries << QStringLiteral("KeyDown(%1,%2)").arg(k).arg(s); });
        QObject::connect(button, &XPButton::KeyPress, &context,
            [this](int k) { entries << QStringLiteral("KeyPress(%1)").arg(k); });
        QObject::connect(button, &XPButton::KeyUp, &context,
            [this](int k, int s) { entries << QStringLiteral("KeyUp(%1,%2)").arg(k).arg(s); });
    }

    int count(const QString &prefix) const
    {
        int n = 0;
        for (const QString &e : entries)
            n += e.startsWith(prefix) ? 1 : 0;
        return n;
    }

    QObject context;
    QStringList entries;
};

void moveWithLeftHeld(XPButton *button, QPoint to)
{
    QMouseEvent move(QEvent::MouseMove, QPointF(to), button->mapToGlobal(QPointF(to)), Qt::NoButton,
        Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(button, &move);
}

} // namespace

TEST(XPButton, LeftPressShowsPressedFaceAndReleaseInsideClicksOnce)
{
    Host host;
    ASSERT_TRUE(host.ready);
    XPButton *button = host.button();
    EventLog log(button);

    EXPECT_EQ(host.row1(), Type3NormalRow1);
    QTest::mousePress(button, Qt::LeftButton, Qt::NoModifier, QPoint(30, 12));
    EXPECT_EQ(host.row1(), Type3PressedRow1);
    QTest::mouseRelease(button, Qt::LeftButton, Qt::NoModifier, QPoint(30, 12));
    EXPECT_EQ(host.row1(), Type3NormalRow1);
    EXPECT_EQ(log.entries, QStringList({ "MouseDown(1,0,30,12)", "MouseUp(1,0,30,12)", "Click" }));

    QTest::mouseClick(button, Qt::LeftButton, Qt::ShiftModifier, QPoint(5, 5));
    EXPECT_EQ(log.count("Click"), 2);
    EXPECT_EQ(log.entries.at(3), "MouseDown(1,1,5,5)");
}

TEST(XPButton, DraggingOutAndBackTogglesTheFaceAndAReleaseOutsideDoesNotClick)
{
    Host host;
    ASSERT_TRUE(host.ready);
    XPButton *button = host.button();
    QSignalSpy clicks(button, &XPButton::Click);

    QTest::mousePress(button, Qt::LeftButton, Qt::NoModifier, QPoint(30, 12));
    moveWithLeftHeld(button, QPoint(61, 12));
    EXPECT_EQ(host.row1(), Type3NormalRow1);
    moveWithLeftHeld(button, QPoint(60, 24)); // the edges W and H count as inside
    EXPECT_EQ(host.row1(), Type3PressedRow1);
    moveWithLeftHeld(button, QPoint(30, -1));
    EXPECT_EQ(host.row1(), Type3NormalRow1);
    QTest::mouseRelease(button, Qt::LeftButton, Qt::NoModifier, QPoint(30, -1));
    EXPECT_EQ(clicks.count(), 0);
    EXPECT_EQ(host.row1(), Type3NormalRow1);

    // A move with no button held changes nothing while the face is normal.
    QMouseEvent hover(QEvent::MouseMove, QPointF(30, 12), button->mapToGlobal(QPointF(30, 12)), Qt::NoButton,
        Qt::NoButton, Qt::NoModifier);
    QApplication::sendEvent(button, &hover);
    EXPECT_EQ(host.row1(), Type3NormalRow1);
}

TEST(XPButton, RightAndMiddleButtonsNeverClick)
{
    Host host;
    ASSERT_TRUE(host.ready);
    XPButton *button = host.button();
    button->setCaption(QStringLiteral("&Apri"));
    EventLog log(button);

    // The right button leaves the face normal; the middle one presses it.
    QTest::mousePress(button, Qt::RightButton, Qt::NoModifier, QPoint(20, 10));
    EXPECT_EQ(host.row1(), Type3NormalRow1);
    QTest::mouseRelease(button, Qt::RightButton, Qt::NoModifier, QPoint(20, 10));
    QTest::mousePress(button, Qt::MiddleButton, Qt::NoModifier, QPoint(20, 10));
    EXPECT_EQ(host.row1(), Type3PressedRow1);
    QTest::mouseRelease(button, Qt::MiddleButton, Qt::NoModifier, QPoint(20, 10));
    EXPECT_EQ(host.row1(), Type3NormalRow1);
    EXPECT_EQ(log.entries,
        QStringList(
            { "MouseDown(2,0,20,10)", "MouseUp(2,0,20,10)", "MouseDown(4,0,20,10)", "MouseUp(4,0,20,10)" }));

    // After a right or middle press the access key clicks nothing until the next left press.
    QTest::mouseClick(button, Qt::RightButton, Qt::NoModifier, QPoint(20, 10));
    QTest::keyClick(&host.window, Qt::Key_A, Qt::AltModifier);
    EXPECT_EQ(log.count("Click"), 0);
    QTest::mouseClick(button, Qt::LeftButton, Qt::NoModifier, QPoint(20, 10));
    EXPECT_EQ(log.count("Click"), 1);
    QTest::keyClick(&host.window, Qt::Key_A, Qt::AltModifier);
    EXPECT_EQ(log.count("Click"), 2);
}

// A double click goes through the window system: the widget gets press, release, the
// double-click notice in place of the second press, and release.
TEST(XPButton, DoubleClickRaisesOneClick)
{
    Host host;
    ASSERT_TRUE(host.ready);
    XPButton *button = host.button();
    EventLog log(button);
    QList<ColorValue> faceAtMouseDown;
    QObject::connect(button, &XPButton::MouseDown, &log.context,
        [&host, &faceAtMouseDown](int, int, float, float) { faceAtMouseDown << host.row1(); });

    // The button sits at (10, 10) of the window: (30, 20) is its (20, 10).
    QWindow *window = host.window.windowHandle();
    QTest::mouseDClick(window, Qt::LeftButton, Qt::NoModifier, QPoint(30, 20));
    EXPECT_EQ(log.entries,
        QStringList({ "MouseDown(1,0,20,10)", "MouseUp(1,0,20,10)", "Click", "MouseDown(1,1,1,1)",
            "MouseUp(1,0,20,10)" }));
    EXPECT_EQ(faceAtMouseDown, QList<ColorValue>({ Type3PressedRow1, Type3PressedRow1 }));
    EXPECT_EQ(host.row1(), Type3NormalRow1);

    // The next single click clicks again.
    QTest::mouseClick(window, Qt::LeftButton, Qt::NoModifier, QPoint(30, 20));
    EXPECT_EQ(log.count("Click"), 2);

    // After a right press the double click neither presses the face nor reports a press.
    log.entries.clear();
    faceAtMouseDown.clear();
    QTest::mouseDClick(window, Qt::RightButton, Qt::NoModifier, QPoint(30, 20));
    EXPECT_EQ(
        log.entries, QStringList({ "MouseDown(2,0,20,10)", "MouseUp(2,0,20,10)", "MouseUp(2,0,20,10)" }));
    EXPECT_EQ(faceAtMouseDown, QList<ColorValue>({ Type3NormalRow1 }));
}

TEST(XPButton, SpacePressesAndClicksInOrder)
{
    Host host;
    ASSERT_TRUE(host.ready);
    XPButton *button = host.button();
    button->setFocus();
    EventLog log(button);

    QTest::keyPress(button, Qt::Key_Space);
    EXPECT_EQ(host.row1(), Type3PressedRow1);
    QTest::keyRelease(button, Qt::Key_Space);
    EXPECT_EQ(host.row1(), Type3NormalRow1);
    EXPECT_EQ(log.entries,
        QStringList({ "MouseDown(1,1,1,1)", "KeyDown(32,0)", "KeyPress(32)", "MouseUp(1,1,1,1)", "Click",
            "KeyUp(32,0)" }));

    // Space clicks even after a right press: it sets the last button to the left one.
    log.entries.clear();
    QTest::mouseClick(button, Qt::RightButton, Qt::NoModifier, QPoint(20, 10));
    QTest::keyClick(button, Qt::Key_Space, Qt::ShiftModifier);
    EXPECT_EQ(log.count("Click"), 1);
    EXPECT_TRUE(log.entries.contains("KeyDown(32,1)"));

    // Other keys are reported and click nothing.
    log.entries.clear();
    QTest::keyClick(button, Qt::Key_B);
    EXPECT_EQ(log.entries, QStringList({ "KeyDown(66,0)", "KeyPress(98)", "KeyUp(66,0)" }));
}

// Enter clicks the focused button at once, as in every dialog; with a modifier it goes on to the host.
TEST(XPButton, EnterClicksTheFocusedButton)
{
    Host host;
    ASSERT_TRUE(host.ready);
    XPButton *button = host.button();
    button->setFocus();
    EventLog log(button);
    QTest::keyPress(button, Qt::Key_Return);
    EXPECT_EQ(log.entries, QStringList({ "KeyDown(13,0)", "KeyPress(13)", "Click" }));
    QTest::keyRelease(button, Qt::Key_Return);
    EXPECT_EQ(log.count("Click"), 1);
    QTest::keyClick(button, Qt::Key_Enter, Qt::KeypadModifier);
    EXPECT_EQ(log.count("Click"), 2);
    QTest::keyClick(button, Qt::Key_Return, Qt::ControlModifier);
    EXPECT_EQ(log.count("Click"), 2);
    // After a right press Enter still clicks.
    QTest::mouseClick(button, Qt::RightButton, Qt::NoModifier, QPoint(20, 10));
    QTest::keyClick(button, Qt::Key_Return);
    EXPECT_EQ(log.count("Click"), 3);
}

TEST(XPButton, AccessKeyClicks)
{
    Host host(2);
    ASSERT_TRUE(host.ready);
    host.button(0)->setCaption(QStringLiteral("&Relazione"));
    host.button(1)->setCaption(QStringLiteral("Save && &Exit"));
    QSignalSpy first(host.button(0), &XPButton::Click);
    QSignalSpy second(host.button(1), &XPButton::Click);

    QTest::keyClick(&host.window, Qt::Key_R, Qt::AltModifier);
    EXPECT_EQ(first.count(), 1);
    EXPECT_EQ(second.count(), 0);
    QTest::keyClick(&host.window, Qt::Key_E, Qt::AltModifier);
    EXPECT_EQ(second.count(), 1);
    QTest::keyClick(&host.window, Qt::Key_S, Qt::AltModifier);
    EXPECT_EQ(second.count(), 1);

    // A new caption takes its own key and drops the old one.
    host.button(0)->setCaption(QStringLiteral("&Crea"));
    QTest::keyClick(&host.window, Qt::Key_R, Qt::AltModifier);
    EXPECT_EQ(first.count(), 1);
    QTest::keyClick(&host.window, Qt::Key_C, Qt::AltModifier);
    EXPECT_EQ(first.count(), 2);
}

TEST(XPButton, AccessKeyRule)
{
    const struct
    {
        const char *caption;
        const char *key;
    } cases[] = {
        { "&Apri", "a" },
        { "A&&B", "" },
        { "&&&X", "x" },
        { "Save && &Exit", "e" },
        { "X&", "" },
        { "&", "" },
        { "", "" },
        { "A && B && &C", "" },
        { "Cr&ea", "e" },
        { "&&x&", "" },
        { "OK", "" },
        { "&Ò", "ò" },
        { "&1", "1" },
    };
    for (const auto &c : cases)
        EXPECT_EQ(XPButton::accessKeyOf(QString::fromUtf8(c.caption)), QString::fromUtf8(c.key)) << c.caption;

    XPButton button;
    button.setCaption(QStringLiteral("&Apri"));
    EXPECT_EQ(button.accessKey(), "a");
}

TEST(XPButton, ArrowKeysMoveTheFocusAndAreStillReported)
{
    Host host(3);
    ASSERT_TRUE(host.ready);
    host.button(1)->setFocus();
    ASSERT_TRUE(host.button(1)->hasFocus());
    QList<int> codes;
    for (XPButton *b : host.buttons)
        QObject::connect(b, &XPButton::KeyDown, &host.window, [&codes](int code, int) { codes << code; });

    const struct
    {
        Qt::Key key;
        int focusAfter;
    } steps[] = { { Qt::Key_Right, 2 }, { Qt::Key_Left, 1 }, { Qt::Key_Up, 0 }, { Qt::Key_Down, 1 },
        { Qt::Key_Down, 2 } };
    for (const auto &step : steps) {
        QTest::keyClick(QApplication::focusWidget(), step.key);
        EXPECT_TRUE(host.button(step.focusAfter)->hasFocus()) << step.key;
    }
    EXPECT_EQ(codes, QList<int>({ 39, 37, 38, 40, 40 }));
}

TEST(XPButton, FocusShowsTheFocusLinesOfTypeThree)
{
    Host host(2);
    ASSERT_TRUE(host.ready);
    XPButton *button = host.button(0);
    host.button(1)->setFocus();
    const ColorValue unfocused = at(button->faceImage(), 2, 10);
    button->setFocus();
    EXPECT_EQ(at(button->faceImage(), 2, 10), 0xFFFFFFu);
    button->setShowFocusRect(false);
    EXPECT_EQ(at(button->faceImage(), 2, 10), unfocused);
    button->setShowFocusRect(true);
    host.button(1)->setFocus();
    EXPECT_EQ(at(button->faceImage(), 2, 10), unfocused);
}

TEST(XPButton, DisabledButtonFiresNothing)
{
    Host host;
    ASSERT_TRUE(host.ready);
    XPButton *button = host.button();
    button->setCaption(QStringLiteral("&Apri"));
    QSignalSpy changes(button, &XPButton::propertyChanged);
    button->setEnabled(false);
    EXPECT_EQ(changes.count(), 1);
    EXPECT_EQ(changes.at(0).at(0).toString(), "ENAB");
    EXPECT_EQ(host.row1(), Type3DisabledRow1);

    EventLog log(button);
    QTest::mouseClick(button, Qt::LeftButton, Qt::NoModifier, QPoint(20, 10));
    QTest::keyClick(button, Qt::Key_Space);
    QTest::keyClick(&host.window, Qt::Key_A, Qt::AltModifier);
    EXPECT_EQ(log.count("Click"), 0);
    EXPECT_EQ(host.row1(), Type3DisabledRow1);

    button->setEnabled(true);
    EXPECT_EQ(host.row1(), Type3NormalRow1);
    QTest::keyClick(&host.window, Qt::Key_A, Qt::AltModifier);
    EXPECT_EQ(log.count("Click"), 1);

    // A disabled parent keeps the button's own setting, and its access key does nothing.
    host.window.setEnabled(false);
    EXPECT_EQ(host.row1(), Type3NormalRow1);
    QTest::keyClick(&host.window, Qt::Key_A, Qt::AltModifier);
    EXPECT_EQ(log.count("Click"), 1);
    host.window.setEnabled(true);
    PropertyBag bag;
    button->writeProperties(bag);
    EXPECT_TRUE(bag.readProperty("ENAB").toBool());
}

TEST(XPButton, NewButtonShowsTypeTwoInTheSystemColoursAtItsFirstResize)
{
    QWidget window;
    QPalette palette = window.palette();
    palette.setColor(QPalette::Button, QColor(10, 11, 12));
    palette.setColor(QPalette::Dark, QColor(20, 21, 22));
    palette.setColor(QPalette::Midlight, QColor(30, 31, 32));
    palette.setColor(QPalette::Light, QColor(40, 41, 42));
    palette.setColor(QPalette::Shadow, QColor(50, 51, 52));
    window.setPalette(palette);
    auto *button = new XPButton(&window);
    button->setGeometry(0, 0, 40, 20);
    EXPECT_EQ(button->buttonType(), 2);
    EXPECT_EQ(button->colorScheme(), 1);
    EXPECT_EQ(button->caption(), QString());
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));

    const QImage &face = button->faceImage();
    ASSERT_EQ(face.size(), QSize(40, 20));
    EXPECT_EQ(at(face, 0, 0), rgbValue(40, 41, 42)); // highlight
    EXPECT_EQ(at(face, 1, 1), rgbValue(30, 31, 32)); // light
    EXPECT_EQ(at(face, 38, 5), rgbValue(20, 21, 22)); // shadow
    EXPECT_EQ(at(face, 39, 19), rgbValue(50, 51, 52)); // dark shadow
    EXPECT_EQ(at(face, 20, 10), rgbValue(10, 11, 12)); // face
    EXPECT_EQ(button->mask(), QRegion(0, 0, 40, 20));
}

TEST(XPButton, WindowShapeFollowsTheTypeOnlyAtTheNextResize)
{
    QWidget window;
    auto *button = new XPButton(&window);
    button->setGeometry(0, 0, 40, 20);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    ASSERT_EQ(button->mask(), QRegion(0, 0, 40, 20));

    button->setButtonType(3);
    EXPECT_EQ(at(button->faceImage(), 2, 0), 0x733C00u); // type 3 drawn at once
    EXPECT_EQ(button->mask(), QRegion(0, 0, 40, 20)); // in the old, uncut shape
    button->resize(50, 24);
    EXPECT_FALSE(button->mask().contains(QPoint(0, 0)));
    EXPECT_FALSE(button->mask().contains(QPoint(48, 23)));
    EXPECT_TRUE(button->mask().contains(QPoint(2, 0)));
    EXPECT_EQ(button->faceImage().size(), QSize(50, 24));
}

TEST(XPButton, EveryPropertyChangeNotifiesItsKey)
{
    XPButton button;
    button.resize(60, 24);
    const struct
    {
        const char *key;
        std::function<void()> change;
    } cases[] = {
        { "BTYPE", [&] { button.setButtonType(5); } },
        { "TX", [&] { button.setCaption(QStringLiteral("OK")); } },
        { "ENAB", [&] { button.setEnabled(false); } },
        { "FONT", [&] { button.setFont(QFont(QStringLiteral("Arial"), 12)); } },
        { "COLTYPE", [&] { button.setColorScheme(3); } },
        { "FOCUSR", [&] { button.setShowFocusRect(false); } },
        { "BCOL", [&] { button.setBackColor(0x123456); } },
        { "FCOL", [&] { button.setForeColor(0x654321); } },
    };
    for (const auto &c : cases) {
        QSignalSpy spy(&button, &XPButton::propertyChanged);
        c.change();
        ASSERT_EQ(spy.count(), 1) << c.key;
        EXPECT_EQ(spy.at(0).at(0).toString(), QString::fromLatin1(c.key));
    }
}

TEST(XPButton, BackAndForeColoursShowOnlyInSchemeTwo)
{
    QWidget window;
    auto *button = new XPButton(&window);
    button->setGeometry(0, 0, 40, 20);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    for (qint32 scheme : { 1, 3 }) {
        button->setColorScheme(scheme);
        const QImage before = button->faceImage();
        button->setBackColor(rgbValue(1, 2, 3));
        button->setForeColor(rgbValue(4, 5, 6));
        EXPECT_EQ(button->faceImage(), before) << scheme;
        PropertyBag bag;
        button->writeProperties(bag);
        EXPECT_EQ(bag.readProperty("BCOL").toUInt(), rgbValue(1, 2, 3));
        EXPECT_EQ(bag.readProperty("FCOL").toUInt(), rgbValue(4, 5, 6));
    }
    button->setColorScheme(2);
    EXPECT_EQ(at(button->faceImage(), 20, 10), rgbValue(1, 2, 3));
}

TEST(XPButton, SavedPropertiesRoundTripInTheirOrder)
{
    XPButton saved;
    saved.setButtonType(5);
    saved.setCaption(QStringLiteral("Circolare 26/03/66 &è"));
    saved.setEnabled(false);
    QFont font(QStringLiteral("Arial"));
    font.setPointSizeF(8.25);
    font.setBold(true);
    saved.setFont(font);
    saved.setColorScheme(2);
    saved.setShowFocusRect(false);
    saved.setBackColor(0xC8D0D4);
    saved.setForeColor(0x8000000F);

    PropertyBag bag;
    saved.writeProperties(bag);
    EXPECT_EQ(
        bag.keys(), QStringList({ "BTYPE", "TX", "ENAB", "FONT", "COLTYPE", "FOCUSR", "BCOL", "FCOL" }));
    // Each key in its stored type; the colours are signed 32-bit numbers, so the system-colour
    // code 0x8000000F is kept as 0x8000000F - 2^32.
    const struct
    {
        const char *key;
        QMetaType::Type type;
    } types[] = { { "BTYPE", QMetaType::Int }, { "TX", QMetaType::QString }, { "ENAB", QMetaType::Bool },
        { "FONT", QMetaType::QFont }, { "COLTYPE", QMetaType::Int }, { "FOCUSR", QMetaType::Bool },
        { "BCOL", QMetaType::Int }, { "FCOL", QMetaType::Int } };
    for (const auto &t : types)
        EXPECT_EQ(bag.readProperty(t.key).typeId(), int(t.type)) << t.key;
    EXPECT_EQ(bag.readProperty("BCOL").toInt(), 0xC8D0D4);
    EXPECT_EQ(bag.readProperty("FCOL").toInt(), -2147483633);

    // Through a stream, as a form would keep them.
    QByteArray bytes;
    {
        QDataStream out(&bytes, QIODevice::WriteOnly);
        out << bag.toVariantMap();
    }
    QVariantMap map;
    QDataStream in(bytes);
    in >> map;

    XPButton restored;
    QSignalSpy changes(&restored, &XPButton::propertyChanged);
    restored.readProperties(PropertyBag::fromVariantMap(map));
    EXPECT_EQ(changes.count(), 0);
    EXPECT_EQ(restored.buttonType(), 5);
    EXPECT_EQ(restored.caption(), QStringLiteral("Circolare 26/03/66 &è"));
    EXPECT_EQ(restored.accessKey(), QStringLiteral("è"));
    EXPECT_FALSE(restored.isEnabled());
    EXPECT_EQ(restored.font().family(), QStringLiteral("Arial"));
    EXPECT_DOUBLE_EQ(restored.font().pointSizeF(), 8.25);
    EXPECT_TRUE(restored.font().bold());
    EXPECT_EQ(restored.colorScheme(), 2);
    EXPECT_FALSE(restored.showFocusRect());
    EXPECT_EQ(restored.backColor(), 0xC8D0D4u);
    EXPECT_EQ(restored.foreColor(), 0x8000000Fu);

    // Reading enables again when the saved value says so.
    PropertyBag enabled;
    enabled.writeProperty("ENAB", true);
    restored.readProperties(enabled);
    EXPECT_TRUE(restored.isEnabled());
}

TEST(XPButton, MissingOrUnreadableKeysTakeTheirDefaults)
{
    QWidget window;
    QPalette palette = window.palette();
    palette.setColor(QPalette::Button, QColor(212, 208, 200));
    palette.setColor(QPalette::ButtonText, QColor(1, 2, 3));
    window.setPalette(palette);
    auto *button = new XPButton(&window);
    button->setButtonType(7);
    button->setCaption(QStringLiteral("x"));
    button->setColorScheme(3);
    button->setShowFocusRect(false);
    button->setBackColor(0);
    button->setForeColor(0xFFFFFF);
    button->setEnabled(false);
    const QFont current(QStringLiteral("Courier"), 13);
    button->setFont(current);

    PropertyBag bag;
    bag.writeProperty("BTYPE", QStringLiteral("abc"));
    bag.writeProperty("OTHER", 4);
    button->readProperties(bag);
    EXPECT_EQ(button->buttonType(), 2);
    EXPECT_EQ(button->caption(), QString());
    EXPECT_TRUE(button->isEnabled());
    EXPECT_EQ(button->font(), current);
    EXPECT_EQ(button->colorScheme(), 1);
    EXPECT_TRUE(button->showFocusRect());
    EXPECT_EQ(button->backColor(), rgbValue(212, 208, 200));
    EXPECT_EQ(button->foreColor(), rgbValue(1, 2, 3));
}
