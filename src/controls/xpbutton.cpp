#include "controls/xpbutton.h"

#include <QPointer>

#include <QFontMetrics>
#include <QKeyEvent>
#include <QKeySequence>
#include <QMouseEvent>
#include <QPainter>
#include <QShortcutEvent>

namespace zav::controls {

namespace {

const QString KeyButtonType = QStringLiteral("BTYPE");
const QString KeyCaption = QStringLiteral("TX");
const QString KeyEnabled = QStringLiteral("ENAB");
const QString KeyFont = QStringLiteral("FONT");
const QString KeyColorScheme = QStringLiteral("COLTYPE");
const QString KeyShowFocusRect = QStringLiteral("FOCUSR");
const QString KeyBackColor = QStringLiteral("BCOL");
const QString KeyForeColor = QStringLiteral("FCOL");

constexpr quint8 StateNormal = 0;
constexpr quint8 StatePressed = 2;

constexpr int ButtonLeft = 1;
constexpr int ButtonRight = 2;
constexpr int ButtonMiddle = 4;

constexpr int KeySpace = 32;

int buttonCode(Qt::MouseButton button)
{
    switch (button) {
    case Qt::LeftButton:
        return ButtonLeft;
    case Qt::RightButton:
        return ButtonRight;
    case Qt::MiddleButton:
        return ButtonMiddle;
    default:
        return 0;
    }
}

int buttonsHeld(Qt::MouseButtons buttons)
{
    int held = 0;
    if (buttons & Qt::LeftButton)
        held |= ButtonLeft;
    if (buttons & Qt::RightButton)
        held |= ButtonRight;
    if (buttons & Qt::MiddleButton)
        held |= ButtonMiddle;
    return held;
}

int shiftCode(Qt::KeyboardModifiers modifiers)
{
    int shift = 0;
    if (modifiers & Qt::ShiftModifier)
        shift |= 1;
    if (modifiers & Qt::ControlModifier)
        shift |= 2;
    if (modifiers & Qt::AltModifier)
        shift |= 4;
    return shift;
}

// The key codes the button reports: letters and digits are their capital's character code, the
// other keys the codes of the classic desktop key table; keys without such a code report 0.
int keyCode(const QKeyEvent *event)
{
    const int key = event->key();
    const bool keypad = event->modifiers() & Qt::KeypadModifier;
    if (key >= Qt::Key_0 && key <= Qt::Key_9)
        return keypad ? 96 + (key - Qt::Key_0) : key;
    if (key >= Qt::Key_A && key <= Qt::Key_Z)
        return key;
    if (key >= Qt::Key_F1 && key <= Qt::Key_F24)
        return 112 + (key - Qt::Key_F1);
    switch (key) {
    case Qt::Key_Backspace:
        return 8;
    case Qt::Key_Tab:
    case Qt::Key_Backtab:
        return 9;
    case Qt::Key_Clear:
        return 12;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return 13;
    case Qt::Key_Shift:
        return 16;
    case Qt::Key_Control:
        return 17;
    case Qt::Key_Alt:
        return 18;
    case Qt::Key_Pause:
        return 19;
    case Qt::Key_CapsLock:
        return 20;
    case Qt::Key_Escape:
        return 27;
    case Qt::Key_Space:
        return KeySpace;
    case Qt::Key_PageUp:
        return 33;
    case Qt::Key_PageDown:
        return 34;
    case Qt::Key_End:
        return 35;
    case Qt::Key_Home:
        return 36;
    case Qt::Key_Left:
        return 37;
    case Qt::Key_Up:
        return 38;
    case Qt::Key_Right:
        return 39;
    case Qt::Key_Down:
        return 40;
    case Qt::Key_Print:
        return 44;
    case Qt::Key_Insert:
        return 45;
    case Qt::Key_Delete:
        return 46;
    case Qt::Key_Help:
        return 47;
    case Qt::Key_Asterisk:
        return keypad ? 106 : 0;
    case Qt::Key_Plus:
        return keypad ? 107 : 0;
    case Qt::Key_Minus:
        return keypad ? 109 : 0;
    case Qt::Key_Period:
        return keypad ? 110 : 0;
    case Qt::Key_Slash:
        return keypad ? 111 : 0;
    case Qt::Key_NumLock:
        return 144;
    case Qt::Key_ScrollLock:
        return 145;
    default:
        return 0;
    }
}

qint32 readInt(const PropertyBag &bag, const QString &key, qint32 defaultValue)
{
    const QVariant value = bag.readProperty(key);
    bool ok = false;
    const qlonglong number = value.toLongLong(&ok);
    return ok ? static_cast<qint32>(number) : defaultValue;
}

ColorValue readColor(const PropertyBag &bag, const QString &key, ColorValue defaultValue)
{
    const QVariant value = bag.readProperty(key);
    bool ok = false;
    const qlonglong number = value.toLongLong(&ok);
    return ok ? static_cast<ColorValue>(number) : defaultValue;
}

bool readBool(const PropertyBag &bag, const QString &key, bool defaultValue)
{
    const QVariant value = bag.readProperty(key);
    return value.isValid() && value.canConvert<bool>() ? value.toBool() : defaultValue;
}

QFont readFont(const PropertyBag &bag, const QString &key, const QFont &defaultValue)
{
    const QVariant value = bag.readProperty(key);
    if (value.typeId() == QMetaType::QFont)
        return value.value<QFont>();
    if (value.typeId() == QMetaType::QString) {
        QFont font;
        if (font.fromString(value.toString()))
            return font;
    }
    return defaultValue;
}

} // namespace

XPButton::XPButton(QWidget *parent)
    : QWidget(parent)
{
    setFocusPolicy(Qt::StrongFocus);
    setAttribute(Qt::WA_OpaquePaintEvent);

    // A new button: type 2 in the system colours, enabled, with its focus mark and no caption.
    // Nothing is drawn until the first resize gives it a size.
    m_BackColor = sysColor(COLOR_BTNFACE, palette());
    m_ForeColor = sysColor(COLOR_BTNTEXT, palette());
    SetColors();
}

XPButton::~XPButton() = default;

void XPButton::setBackColor(ColorValue color)
{
    m_BackColor = color;
    SetColors();
    DrawButton(m_lastStateCode, true);
    notify(KeyBackColor);
}

void XPButton::setForeColor(ColorValue color)
{
    m_ForeColor = color;
    SetColors();
    DrawButton(m_lastStateCode, true);
    notify(KeyForeColor);
}

void XPButton::setButtonType(qint32 type)
{
    m_ButtonType = type;
    DrawButton(StateNormal, true);
    notify(KeyButtonType);
}

void XPButton::setCaption(const QString &caption)
{
    m_Caption = caption;
    SetAccessKeys();
    DrawButton(StateNormal, true);
    updateGeometry();
    notify(KeyCaption);
}

void XPButton::setColorScheme(qint32 scheme)
{
    m_ColorScheme = scheme;
    SetColors();
    DrawButton(StateNormal, true);
    notify(KeyColorScheme);
}

void XPButton::setShowFocusRect(bool show)
{
    m_ShowFocusRect = show;
    DrawButton(m_lastStateCode, true);
    notify(KeyShowFocusRect);
}

void XPButton::setDefaultIndication(bool shown)
{
    m_defaultIndication = shown;
    DrawButton(m_lastStateCode, true);
}

QString XPButton::accessKeyOf(const QString &caption)
{
    const qsizetype length = caption.size();
    if (length < 2)
        return QString();
    qsizetype p = caption.indexOf(u'&');
    if (p < 0 || p == length - 1)
        return QString();
    if (caption.at(p + 1) != u'&')
        return caption.at(p + 1).toLower();
    // A literal "&&" first: only the next ampersand is looked at.
    p = caption.indexOf(u'&', p + 2);
    if (p < 0 || p == length - 1 || caption.at(p + 1) == u'&')
        return QString();
    return caption.at(p + 1).toLower();
}

void XPButton::writeProperties(PropertyBag &bag) const
{
    bag.writeProperty(KeyButtonType, m_ButtonType);
    bag.writeProperty(KeyCaption, m_Caption);
    bag.writeProperty(KeyEnabled, m_Enabled);
    bag.writeProperty(KeyFont, QVariant::fromValue(font()));
    bag.writeProperty(KeyColorScheme, m_ColorScheme);
    bag.writeProperty(KeyShowFocusRect, m_ShowFocusRect);
    // Colours are kept as signed 32-bit numbers, system-colour codes included.
    bag.writeProperty(KeyBackColor, static_cast<qint32>(m_BackColor));
    bag.writeProperty(KeyForeColor, static_cast<qint32>(m_ForeColor));
}

void XPButton::readProperties(const PropertyBag &bag)
{
    // A value that is stored but cannot be read as its type counts as missing.
    m_readingProperties = true;
    m_ButtonType = readInt(bag, KeyButtonType, 2);
    m_Caption = bag.readProperty(KeyCaption, QString()).toString();
    m_Enabled = readBool(bag, KeyEnabled, true);
    const QFont savedFont = readFont(bag, KeyFont, font());
    m_ColorScheme = readInt(bag, KeyColorScheme, 1);
    m_ShowFocusRect = readBool(bag, KeyShowFocusRect, true);
    m_BackColor = readColor(bag, KeyBackColor, sysColor(COLOR_BTNFACE, palette()));
    m_ForeColor = readColor(bag, KeyForeColor, sysColor(COLOR_BTNTEXT, palette()));

    setEnabled(m_Enabled);
    setFont(savedFont);
    SetColors();
    SetAccessKeys();
    m_readingProperties = false;
    DrawButton(StateNormal, true);
    updateGeometry();
}

QSize XPButton::sizeHint() const
{
    const QFontMetrics metrics(font());
    QString shown = m_Caption;
    shown.remove(u'&');
    return QSize(qMax(75, metrics.horizontalAdvance(shown) + 16), qMax(23, metrics.height() + 8));
}

void XPButton::DrawButton(quint8 stateCode, bool force)
{
    if (!force && m_Caption == m_lastCaption && stateCode == m_lastStateCode)
        return;
    if (m_H == 0)
        return;
    m_lastStateCode = stateCode;
    m_lastCaption = m_Caption;

    XPButtonFace face;
    face.buttonType = m_ButtonType;
    face.colors = m_colors;
    face.caption = m_Caption;
    face.font = font();
    face.enabled = m_Enabled;
    face.focusShown = m_hasFocus && m_ShowFocusRect;
    face.defaultIndication = m_defaultIndication;
    face.paint(m_face, stateCode);
    update();
}

void XPButton::SetColors()
{
    m_colors = controls::SetColors(m_ColorScheme, m_BackColor, m_ForeColor, palette());
}

void XPButton::SetAccessKeys()
{
    m_accessKey = accessKeyOf(m_Caption);
    if (m_shortcutId != 0) {
        releaseShortcut(m_shortcutId);
        m_shortcutId = 0;
    }
    if (!m_accessKey.isEmpty()) {
        const auto key = Qt::Key(m_accessKey.at(0).toUpper().unicode());
        m_shortcutId = grabShortcut(QKeySequence(QKeyCombination(Qt::AltModifier, key)));
    }
}

void XPButton::pressFace(int button, int shift, float x, float y)
{
    m_lastMouseButton = quint8(button);
    if (button != ButtonRight)
        DrawButton(StatePressed, false);
    emit MouseDown(button, shift, x, y);
}

void XPButton::releaseFace(int button, int shift, float x, float y)
{
    if (button != ButtonRight)
        DrawButton(StateNormal, false);
    emit MouseUp(button, shift, x, y);
}

void XPButton::clickFace()
{
    if (m_lastMouseButton != ButtonLeft || !m_Enabled)
        return;
    // While the host's command runs (a message box, a progress that lets events through) the
    // button clicks nothing more: one user action, one command.
    if (m_clicking)
        return;
    DrawButton(StateNormal, true);
    // The face shows released while the host's handler runs.
    repaint();
    const QPointer<XPButton> alive(this);
    m_clicking = true;
    emit Click();
    if (alive)
        m_clicking = false;
}

void XPButton::notify(const QString &key)
{
    if (!m_readingProperties)
        emit propertyChanged(key);
}

bool XPButton::event(QEvent *event)
{
    if (event->type() == QEvent::Shortcut) {
        auto *shortcut = static_cast<QShortcutEvent *>(event);
        if (shortcut->shortcutId() == m_shortcutId && m_shortcutId != 0) {
            // Like the mouse and the keys, the access key does nothing while the button cannot
            // take input (also when a parent is disabled).
            if (isEnabled())
                clickFace();
            return true;
        }
    }
    return QWidget::event(event);
}

void XPButton::paintEvent(QPaintEvent *)
{
    QPainter painter(this);
    painter.drawImage(0, 0, m_face);
}

void XPButton::resizeEvent(QResizeEvent *)
{
    m_H = height();
    m_W = width();
    m_face = m_W > 0 && m_H > 0 ? QImage(m_W, m_H, QImage::Format_RGB32) : QImage();
    setMask(MakeRegion(m_ButtonType, m_W, m_H));
    DrawButton(StateNormal, true);
}

void XPButton::mousePressEvent(QMouseEvent *event)
{
    const int button = buttonCode(event->button());
    if (button == 0) {
        event->ignore();
        return;
    }
    // A fresh press starts a new click, whatever became of an earlier double click's release.
    m_releaseEndsDoubleClick = false;
    const QPointF at = event->position();
    pressFace(button, shiftCode(event->modifiers()), float(at.x()), float(at.y()));
}

void XPButton::mouseMoveEvent(QMouseEvent *event)
{
    const int held = buttonsHeld(event->buttons());
    if (held != 0 && held != ButtonLeft)
        return;
    // The edges W and H themselves count as inside.
    const QPointF at = event->position();
    if (at.x() < 0 || at.y() < 0 || at.x() > m_W || at.y() > m_H)
        DrawButton(StateNormal, false);
    else if (held == ButtonLeft)
        DrawButton(StatePressed, false);
}

void XPButton::mouseReleaseEvent(QMouseEvent *event)
{
    const int button = buttonCode(event->button());
    if (button == 0) {
        event->ignore();
        return;
    }
    const QPointF at = event->position();
    releaseFace(button, shiftCode(event->modifiers()), float(at.x()), float(at.y()));
    // The release that ends a double click, and a release outside the button, click nothing.
    if (m_releaseEndsDoubleClick) {
        m_releaseEndsDoubleClick = false;
        return;
    }
    if (at.x() >= 0 && at.y() >= 0 && at.x() < m_W && at.y() < m_H)
        clickFace();
}

void XPButton::mouseDoubleClickEvent(QMouseEvent *)
{
    // A double click reaches the widget as press, release, this notice and release: the second
    // press comes only as this notice. After a left press it shows the pressed face and reports a
    // press as Space does; its release raises no second Click.
    m_releaseEndsDoubleClick = true;
    if (m_lastMouseButton == ButtonLeft)
        pressFace(ButtonLeft, 1, 1, 1);
}

void XPButton::keyPressEvent(QKeyEvent *event)
{
    const int code = keyCode(event);
    const int shift = shiftCode(event->modifiers());
    bool handled = true;
    bool enterClick = false;
    switch (event->key()) {
    case Qt::Key_Space:
        pressFace(ButtonLeft, 1, 1, 1);
        break;
    case Qt::Key_Return:
    case Qt::Key_Enter:
        // Enter presses the button that has the focus, as in every dialog; with Ctrl, Alt or
        // Shift it goes on to the host.
        if ((event->modifiers() & ~Qt::KeypadModifier) != Qt::NoModifier) {
            handled = false;
            break;
        }
        enterClick = !event->isAutoRepeat();
        break;
    case Qt::Key_Right:
    case Qt::Key_Down:
        focusNextPrevChild(true);
        break;
    case Qt::Key_Left:
    case Qt::Key_Up:
        focusNextPrevChild(false);
        break;
    default:
        handled = false;
        break;
    }
    emit KeyDown(code, shift);
    if (!event->text().isEmpty())
        emit KeyPress(event->text().at(0).unicode());
    if (enterClick) {
        m_lastMouseButton = ButtonLeft;
        clickFace();
    }
    // Keys the button does not use go on to the host (Escape of a dialog, for one).
    if (handled)
        event->accept();
    else
        QWidget::keyPressEvent(event);
}

void XPButton::keyReleaseEvent(QKeyEvent *event)
{
    // A held key repeats its press, not its release.
    if (event->isAutoRepeat()) {
        event->ignore();
        return;
    }
    if (event->key() == Qt::Key_Space) {
        releaseFace(ButtonLeft, 1, 1, 1);
        m_lastMouseButton = ButtonLeft;
        clickFace();
    }
    emit KeyUp(keyCode(event), shiftCode(event->modifiers()));
    if (event->key() != Qt::Key_Space)
        QWidget::keyReleaseEvent(event);
}

void XPButton::focusInEvent(QFocusEvent *event)
{
    m_hasFocus = true;
    DrawButton(m_lastStateCode, true);
    QWidget::focusInEvent(event);
}

void XPButton::focusOutEvent(QFocusEvent *event)
{
    m_hasFocus = false;
    DrawButton(m_lastStateCode, true);
    QWidget::focusOutEvent(event);
}

void XPButton::changeEvent(QEvent *event)
{
    switch (event->type()) {
    case QEvent::EnabledChange: {
        // Only the button's own setting is its `Enabled`; a disabled parent leaves it as it is.
        const bool enabled = !testAttribute(Qt::WA_ForceDisabled);
        if (enabled != m_Enabled) {
            m_Enabled = enabled;
            DrawButton(StateNormal, true);
            notify(KeyEnabled);
        }
        break;
    }
    case QEvent::FontChange:
        DrawButton(StateNormal, true);
        updateGeometry();
        notify(KeyFont);
        break;
    case QEvent::PaletteChange:
        // The system colours come from the palette: take them again when it changes.
        SetColors();
        DrawButton(m_lastStateCode, true);
        break;
    default:
        break;
    }
    QWidget::changeEvent(event);
}

} // namespace zav::controls
