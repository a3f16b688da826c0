// The progress window during a long run: on screen from the first unit and drawn again while the
// engine works without returning to the event loop. What the window system shows is read back from
// the screen (the offscreen platform's copy of each window) and compared with the window as it
// stands.

#include "engine/ui/attesa.h"
#include "engine/ui/attesaprogress.h"
#include "engine/var_gbl.h"
#include "platform/db.h"
#include "platform/progress.h"
#include "platform/vb.h"
#include "support/fixtures.h"
#include "support/scripteddialogs.h"

#include <QElapsedTimer>
#include <QEvent>
#include <QGuiApplication>
#include <QImage>
#include <QLabel>
#include <QPixmap>
#include <QProgressBar>
#include <QScreen>
#include <QThread>

#include <gtest/gtest.h>

#include <functional>
#include <string>

using zav::engine::VAR_GBL;
using zav::engine::ui::ATTESA;
using zav::engine::ui::AttesaProgress;
using zav::platform::Database;
using zav::platform::MsgResult;
using zav::platform::Progress;

namespace {

/** The progress window's reports passed on to the real window, with a look at each of them. */
class WatchedProgress : public Progress
{
public:
    explicit WatchedProgress(AttesaProgress &real)
        : m_real(real)
    {
    }

    std::function<void(int value)> beforeValue;
    std::function<void(const QString &done)> beforeDone;
    std::function<void(const QString &done)> afterDone;

    void setBusy(bool busy) override { m_real.setBusy(busy); }
    void show() override { m_real.show(); }
    void close() override { m_real.close(); }
    void refresh() override { m_real.refresh(); }
    void setTask(const QString &text) override { m_real.setTask(text); }
    void setCountersVisible(bool visible) override { m_real.setCountersVisible(visible); }
    void setDone(const QString &text) override
    {
        if (beforeDone)
            beforeDone(text);
        m_real.setDone(text);
        if (afterDone)
            afterDone(text);
    }
    QString done() const override { return m_real.done(); }
    void setTotal(const QString &text) override { m_real.setTotal(text); }
    void setMaximum(int maximum) override { m_real.setMaximum(maximum); }
    int maximum() const override { return m_real.maximum(); }
    void setValue(int value) override
    {
        if (beforeValue)
            beforeValue(value);
        m_real.setValue(value);
    }
    int value() const override { return m_real.value(); }

private:
    AttesaProgress &m_real;
};

/** Notes when the counter is drawn. */
class PaintClock : public QObject
{
public:
    QList<qint64> paints;
    QElapsedTimer clock;

protected:
    bool eventFilter(QObject *watched, QEvent *event) override
    {
        if (event->type() == QEvent::Paint)
            paints << clock.elapsed();
        return QObject::eventFilter(watched, event);
    }
};

// A project of `units` units of one room each, open as the current project.
class Project
{
public:
    explicit Project(int units)
        : m_path(m_folder.copyOf(QStringLiteral("ARCH_MIL.CLO"), QStringLiteral("LUNGO.CDB")))
    {
        Database db = Database::open(m_path);
        zav::platform::Transaction transaction = db.transaction();
        db.insert(QStringLiteral("ANA_CONDO"), { { QStringLiteral("NOME"), QStringLiteral("Lungo") } });
        for (int i = 1; i <= units; ++i) {
            db.insert(QStringLiteral("CODIF_PIANI"),
                { { QStringLiteral("NUM_PAL"), 1 }, { QStringLiteral("SCALA"), QStringLiteral("A") },
                    { QStringLiteral("PROPRIETARIO"), QStringLiteral("Rossi") },
                    { QStringLiteral("HPIANO"), 3.0 }, { QStringLiteral("INTERNO"), i } });
            db.insert(QStringLiteral("ESPRESSIONI"),
                { { QStringLiteral("NOME_CONDOMINO"), QStringLiteral("Rossi") },
                    { QStringLiteral("PALAZ"), QStringLiteral("1") },
                    { QStringLiteral("SCALA"), QStringLiteral("A") }, { QStringLiteral("INTERNO"), i },
                    { QStringLiteral("ESPRESSIONE"), QStringLiteral("2*3") } });
        }
        transaction.commit();
        VAR_GBL.reset();
        VAR_GBL.progetto_corrente = m_path;
    }
    ~Project() { VAR_GBL.reset(); }

private:
    zav::test::TempProgramFolder m_folder;
    QString m_path;
};

// What the screen shows of the window, and the window drawn as it stands now.
QImage onScreen(QWidget *window)
{
    return QGuiApplication::primaryScreen()
        ->grabWindow(window->winId())
        .toImage()
        .convertToFormat(QImage::Format_RGB32);
}

QImage asItStands(QWidget *window)
{
    return window->grab().toImage().convertToFormat(QImage::Format_RGB32);
}

QImage part(const QImage &image, const QWidget *child)
{
    return image.copy(QRect(child->mapTo(child->window(), QPoint()), child->size()));
}

class AttesaTest : public ::testing::Test
{
protected:
    void SetUp() override { zav::platform::setProgress(&watched); }
    void TearDown() override { zav::platform::setProgress(nullptr); }

    void run()
    {
        dialogs.answer(MsgResult::Yes); // "Continuare ?"
        dialogs.answer(MsgResult::Ok); // "Ricalcolo Globale Terminato"
        dialogs.answer(MsgResult::No); // no thousandths calculation
        VAR_GBL.ricalcolo_globale();
    }

    const zav::platform::vb::DecimalSeparatorScope separator { u',' };
    AttesaProgress attesa;
    WatchedProgress watched { attesa };
    zav::platform::ScriptedDialogs dialogs;
};

} // namespace

// At the first unit the window is on the screen, drawn with its lines and its counter; after a unit
// that took long, the screen shows the window as it stands, counter and bar included.
TEST_F(AttesaTest, TheScreenShowsTheWindowFromTheFirstUnitAndKeepsUpWithTheRun)
{
    const Project project(30);
    bool checkedFirst = false;
    bool checkedSlow = false;
    watched.afterDone = [&](const QString &done) {
        ATTESA *w = attesa.window();
        ASSERT_NE(w, nullptr);
        if (done == QStringLiteral("1")) {
            checkedFirst = true;
            EXPECT_TRUE(w->isVisible());
            const QImage screen = onScreen(w);
            ASSERT_FALSE(screen.isNull());
            const QImage now = asItStands(w);
            EXPECT_EQ(part(screen, w->Label1), part(now, w->Label1));
            EXPECT_EQ(part(screen, w->Label2), part(now, w->Label2));
            EXPECT_EQ(part(screen, w->Label3), part(now, w->Label3));
            EXPECT_EQ(part(screen, w->Label4), part(now, w->Label4));
            // Not a blank window: the first line has its text.
            const QImage line = part(screen, w->Label1);
            bool varied = false;
            for (int x = 0; x < line.width() && !varied; ++x)
                for (int y = 0; y < line.height() && !varied; ++y)
                    varied = line.pixel(x, y) != line.pixel(0, 0);
            EXPECT_TRUE(varied);
        } else if (done == QStringLiteral("20")) {
            checkedSlow = true;
            EXPECT_EQ(w->Label5->text(), QStringLiteral("20"));
            EXPECT_EQ(onScreen(w), asItStands(w));
        }
    };
    // The twentieth unit takes long.
    watched.beforeDone = [&](const QString &done) {
        if (done == QStringLiteral("20"))
            QThread::msleep(100 + 20);
    };
    run();
    EXPECT_TRUE(checkedFirst);
    EXPECT_TRUE(checkedSlow);
    EXPECT_EQ(attesa.window(), nullptr);
}

// Units of 20 ms each: the counter is drawn again at least every 100 ms from start to end.
TEST_F(AttesaTest, TheCounterIsDrawnAtLeastEveryHundredMilliseconds)
{
    const Project project(25);
    PaintClock clock;
    bool watching = false;
    watched.beforeValue = [&](int) {
        if (!watching) {
            if (ATTESA *w = attesa.window()) {
                w->Label5->installEventFilter(&clock);
                clock.clock.start();
                watching = true;
            }
        }
        QThread::msleep(20);
    };
    qint64 end = 0;
    watched.afterDone = [&](const QString &done) {
        if (done == QStringLiteral("25"))
            end = clock.clock.elapsed();
    };
    run();
    ASSERT_TRUE(watching);
    ASSERT_GE(clock.paints.size(), 2);
    // The window repaints every 100 ms; a loaded machine may delay a repaint by a scheduler slice,
    // so a gap is allowed up to 250 ms. A window that is not repainted while the 500 ms run lasts
    // still fails.
    constexpr qint64 allowedGap = 250;
    qint64 previous = 0;
    for (const qint64 paint : clock.paints) {
        EXPECT_LE(paint - previous, allowedGap) << "painted at " << paint;
        previous = paint;
    }
    EXPECT_LE(end - previous, allowedGap);
}

// The bar moves on unit by unit, never backwards and never past its maximum; it stands full once the
// last unit is done and when "Ricalcolo Globale Terminato" shows, for one unit as for many (a bar
// that wrapped at its maximum went back to 1 and showed 2 of 10 at the end).
TEST(AttesaEnd, TheBarIsFullWhenTheRunIsOver)
{
    const zav::platform::vb::DecimalSeparatorScope separator { u',' };
    for (const int units : { 1, 2, 10, 37 }) {
        SCOPED_TRACE(std::to_string(units) + " units");
        const Project project(units);
        AttesaProgress attesa;
        WatchedProgress watched(attesa);
        zav::platform::setProgress(&watched);
        int steps = 0;
        watched.beforeValue = [&](int value) {
            ++steps;
            EXPECT_GE(value, attesa.value()) << "step " << steps << " goes back";
            EXPECT_LE(value, attesa.maximum()) << "step " << steps << " goes past the maximum";
        };
        bool lastUnitDone = false;
        watched.afterDone = [&](const QString &done) {
            if (done != QString::number(units))
                return;
            lastUnitDone = true;
            EXPECT_EQ(attesa.value(), attesa.maximum()) << "after the last unit";
        };
        zav::platform::ScriptedDialogs dialogs;
        QString shown;
        bool checked = false;
        dialogs.onMessage = [&](const QString &message) {
            if (message != QStringLiteral("Ricalcolo Globale Terminato"))
                return;
            ATTESA *w = attesa.window();
            ASSERT_NE(w, nullptr);
            checked = true;
            EXPECT_EQ(w->ProgressBar1->value(), w->ProgressBar1->maximum()) << units << " units";
            EXPECT_EQ(w->ProgressBar1->maximum(), units);
            shown = w->ProgressBar1->text();
            EXPECT_EQ(w->Label5->text(), QString::number(units));
        };
        dialogs.answer(MsgResult::Yes);
        dialogs.answer(MsgResult::Ok);
        dialogs.answer(MsgResult::No);
        VAR_GBL.ricalcolo_globale();
        zav::platform::setProgress(nullptr);
        EXPECT_TRUE(checked) << units << " units";
        EXPECT_TRUE(lastUnitDone);
        EXPECT_GT(steps, units);
        EXPECT_EQ(shown, QStringLiteral("100%")) << units << " units";
    }
}
