#include "controls/xpbutton.h"
#include "support/screenshots.h"

#include <QDir>
#include <QPainter>
#include <QTest>

#include <gtest/gtest.h>

using namespace zav::controls;

// Renders the seven looks side by side (normal, pressed, focused, disabled; in the three colour
// schemes) into a PNG in the folder named by ZAV_SCREENSHOT_DIR, for the documentation.
TEST(Screenshot, SevenLooks)
{
    const QString folder = qEnvironmentVariable("ZAV_SCREENSHOT_DIR");
    if (folder.isEmpty())
        GTEST_SKIP() << "set ZAV_SCREENSHOT_DIR to write the picture";

    const int cellW = 160, cellH = 34, buttonW = 150, buttonH = 25;
    const QStringList rows = { "normale", "premuto", "con il fuoco", "disattivato", "schema 2", "schema 3" };
    QImage sheet(90 + 7 * cellW, 24 + rows.size() * cellH, QImage::Format_RGB32);
    sheet.fill(QColor(236, 233, 216));
    QPainter painter(&sheet);
    painter.setPen(Qt::black);
    for (int type = 1; type <= 7; ++type)
        painter.drawText(QRect(90 + (type - 1) * cellW, 0, cellW, 24), Qt::AlignCenter,
            QStringLiteral("tipo %1").arg(type));

    QFont font(QStringLiteral("Arial"));
    font.setPointSizeF(8.25);
    font.setBold(true);

    QWidget window;
    window.resize(200, 80);
    QWidget other(&window);
    other.setFocusPolicy(Qt::StrongFocus);
    window.show();
    window.activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));

    for (int row = 0; row < rows.size(); ++row) {
        painter.drawText(QRect(4, 24 + row * cellH, 86, cellH), Qt::AlignVCenter, rows.at(row));
        for (int type = 1; type <= 7; ++type) {
            auto *button = new XPButton(&window);
            button->setFont(font);
            button->setButtonType(type);
            button->setCaption(QStringLiteral("Relazione di &Calcolo"));
            button->setBackColor(0xC8D0D4);
            button->setGeometry(0, 0, buttonW, buttonH);
            button->show();
            if (row == 4) {
                button->setColorScheme(2);
                button->setBackColor(rgbValue(120, 170, 220));
                button->setForeColor(rgbValue(0, 0, 80));
            } else if (row == 5) {
                button->setColorScheme(3);
            }
            if (row == 1)
                QTest::mousePress(button, Qt::LeftButton, Qt::NoModifier, QPoint(10, 10));
            if (row == 2)
                button->setFocus();
            if (row == 3)
                button->setEnabled(false);
            // The window shape shows as the sheet's own colour at the cut corners.
            const QImage face = button->faceImage();
            const QRegion shape = button->mask();
            const QPoint origin(
                90 + (type - 1) * cellW + (cellW - buttonW) / 2, 24 + row * cellH + (cellH - buttonH) / 2);
            for (int y = 0; y < face.height(); ++y)
                for (int x = 0; x < face.width(); ++x)
                    if (shape.isEmpty() || shape.contains(QPoint(x, y)))
                        sheet.setPixel(origin + QPoint(x, y), face.pixel(x, y));
            if (row == 1)
                QTest::mouseRelease(button, Qt::LeftButton, Qt::NoModifier, QPoint(10, 10));
            other.setFocus();
            delete button;
        }
    }
    painter.end();
    ASSERT_TRUE(QDir().mkpath(folder));
    ASSERT_TRUE(zav::test::pictureWritten(sheet, folder, QStringLiteral("controls-buttons.png")));
}
