#pragma once

#include "controls/colorvalue.h"
#include "controls/propertybag.h"
#include "controls/xpbuttonface.h"

#include <QImage>
#include <QString>
#include <QWidget>

namespace zav::controls {

/**
 * @brief The program's own push button: it paints its whole face itself in one of seven looks
 * (`ButtonType` 1 to 7) and three colour schemes (`ColorScheme` 1 to 3), and cuts its window to
 * the shape of the look.
 *
 * The face is normal or pressed as the mouse and the keyboard drive it: a left or middle press
 * and Space show it pressed; the release shows it normal; a left press and release inside the
 * button, Space, Enter while the button has the focus, and the access key (the character after a
 * single "&" of the caption, with Alt) raise `Click`. The arrow keys move the focus like Tab (Right, Down)
 * and Shift+Tab (Left, Up).
 *
 * `Enabled` and `Font` are the widget's own: setEnabled() and setFont() redraw and notify like the
 * other properties. Every property change is announced by propertyChanged() with the key it is
 * saved under, so that a host can count its form as modified. writeProperties() and
 * readProperties() save and restore the eight properties in a PropertyBag.
 *
 * Colours are values 0x00BBGGRR; `BackColor` and `ForeColor` are used by colour scheme 2 only.
 * Scheme 1 takes the system colours from the widget's palette.
 */
class XPButton : public QWidget
{
    Q_OBJECT

public:
    explicit XPButton(QWidget *parent = nullptr);
    ~XPButton() override;

    ColorValue backColor() const { return m_BackColor; }
    void setBackColor(ColorValue color);
    ColorValue foreColor() const { return m_ForeColor; }
    void setForeColor(ColorValue color);
    /** @brief The look, 1 to 7; any other value draws a plain face. The shape follows at the next resize. */
    qint32 buttonType() const { return m_ButtonType; }
    void setButtonType(qint32 type);
    QString caption() const { return m_Caption; }
    void setCaption(const QString &caption);
    /** @brief 1 system colours, 2 from `BackColor` and `ForeColor`, 3 fixed greys; others as 1. */
    qint32 colorScheme() const { return m_ColorScheme; }
    void setColorScheme(qint32 scheme);
    bool showFocusRect() const { return m_ShowFocusRect; }
    void setShowFocusRect(bool show);

    /**
     * @brief Whether the host shows this button as its default button; type 2 then draws a heavier
     * frame and its focus mark. False unless the host sets it.
     */
    bool defaultIndication() const { return m_defaultIndication; }
    void setDefaultIndication(bool shown);

    /** @brief The access key found in the caption, in lower case, or empty. */
    QString accessKey() const { return m_accessKey; }
    /**
     * @brief The access key of a caption: the character after the first single "&", or when the
     * caption starts its ampersands with a literal "&&", the character after the next "&"; in
     * lower case; empty when there is none.
     */
    static QString accessKeyOf(const QString &caption);

    /** @brief Saves the eight properties under their keys, in their order. */
    void writeProperties(PropertyBag &bag) const;
    /** @brief Restores the eight properties, each with its default when its key is missing, and redraws. */
    void readProperties(const PropertyBag &bag);

    /** @brief The face image the window is painted from (W x H pixels). */
    const QImage &faceImage() const { return m_face; }

    QSize sizeHint() const override;

signals:
    /** @brief A press and release inside the button, Space, or the access key. */
    void Click();
    /** @brief A mouse press: Button 1 left, 2 right, 4 middle; Shift 1 Shift, 2 Ctrl, 4 Alt; X and Y in
     * pixels. */
    void MouseDown(int Button, int Shift, float X, float Y);
    void MouseUp(int Button, int Shift, float X, float Y);
    /** @brief A character typed on the button. */
    void KeyPress(int KeyAscii);
    /** @brief A key pressed on the button, by key code (Space 32, arrows 37 to 40, letters their capital's
     * code). */
    void KeyDown(int KeyCode, int Shift);
    void KeyUp(int KeyCode, int Shift);
    /** @brief A saved property changed: "BTYPE", "TX", "ENAB", "FONT", "COLTYPE", "FOCUSR", "BCOL" or "FCOL".
     */
    void propertyChanged(const QString &key);

protected:
    bool event(QEvent *event) override;
    void paintEvent(QPaintEvent *event) override;
    void resizeEvent(QResizeEvent *event) override;
    void mousePressEvent(QMouseEvent *event) override;
    void mouseMoveEvent(QMouseEvent *event) override;
    void mouseReleaseEvent(QMouseEvent *event) override;
    void mouseDoubleClickEvent(QMouseEvent *event) override;
    void keyPressEvent(QKeyEvent *event) override;
    void keyReleaseEvent(QKeyEvent *event) override;
    void focusInEvent(QFocusEvent *event) override;
    void focusOutEvent(QFocusEvent *event) override;
    void changeEvent(QEvent *event) override;

private:
    void DrawButton(quint8 stateCode, bool force);
    void SetColors();
    void SetAccessKeys();
    void pressFace(int button, int shift, float x, float y);
    void releaseFace(int button, int shift, float x, float y);
    void clickFace();
    void notify(const QString &key);

    qint32 m_ButtonType = 2;
    qint32 m_ColorScheme = 1;
    int m_H = 0;
    int m_W = 0;
    ColorValue m_BackColor = 0;
    ColorValue m_ForeColor = 0;
    QString m_Caption;
    quint8 m_lastMouseButton = 1;
    bool m_Enabled = true;
    bool m_hasFocus = false;
    bool m_ShowFocusRect = true;
    ButtonColors m_colors;
    quint8 m_lastStateCode = 0;
    QString m_lastCaption;

    bool m_defaultIndication = false;
    bool m_readingProperties = false;
    bool m_releaseEndsDoubleClick = false;
    /** Whether the host's command of a click is running. */
    bool m_clicking = false;
    QString m_accessKey;
    int m_shortcutId = 0;
    QImage m_face;
};

} // namespace zav::controls
