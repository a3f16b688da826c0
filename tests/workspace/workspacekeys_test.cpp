// The workspace's keys pressed while a room's cell is being typed or only selected, on each unit
// view, answered through real message boxes (their own event loops, their focus) clicked as the
// user clicks them: the typed text is stored before the command, nothing is written into a room's
// hidden key, and the grid keeps the room and takes the next keys.

#include "platform/ui/commandbar.h"
#include "platform/ui/datagrid.h"
#include "platform/ui/datasource.h"
#include "platform/ui/qtdialogs.h"
#include "workspacefixture.h"

#include <QAbstractButton>
#include <QApplication>
#include <QFile>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QTimer>

#include <gtest/gtest.h>

#include <deque>
#include <ostream>
#include <vector>

using zav::platform::Database;
using zav::platform::FormRegistry;
using zav::workspace::frm_ins_coeff;
using zav::workspace::WorkspaceCommands;

namespace {

const QString kOwner = QStringLiteral("Neri");
const QString kOther = QStringLiteral("Gialli");
const QString kQuestion = QStringLiteral("Questa operazione potrebbe richiedere alcuni minuti. Continuare ?");

/**
 * The program's real message boxes, answered by clicking their buttons once they are shown: a
 * question takes the next answer (No when none is left), any other box its first button.
 */
class BoxClicker : public QObject
{
public:
    BoxClicker()
    {
        connect(&m_timer, &QTimer::timeout, this, &BoxClicker::look);
        m_timer.start(5);
    }

    void answer(const std::vector<QMessageBox::StandardButton> &answers)
    {
        m_answers.insert(m_answers.end(), answers.begin(), answers.end());
    }

    QStringList texts;

private:
    void look()
    {
        auto *box = qobject_cast<QMessageBox *>(QApplication::activeModalWidget());
        if (!box || !box->isVisible())
            return;
        texts << box->text();
        QAbstractButton *button = box->buttons().value(0);
        if (box->button(QMessageBox::Yes)) {
            const QMessageBox::StandardButton answer
                = m_answers.empty() ? QMessageBox::No : m_answers.front();
            if (!m_answers.empty())
                m_answers.pop_front();
            button = box->button(answer);
        }
        if (button)
            button->click();
    }

    QTimer m_timer;
    std::deque<QMessageBox::StandardButton> m_answers;
};

/** One unit of two rooms (Soggiorno, then Cucina) and another unit of one, every unit with its
 * floor height; the workspace open on the first, its window active and the grid in focus. */
class WorkspaceKeysTest : public zav::test::WorkspaceTest
{
protected:
    void SetUp() override
    {
        WorkspaceTest::SetUp();
        zav::platform::setDialogs(&real);
        FormRegistry::setFactory(QStringLiteral("frm_elenco"), [] {
            auto *list = new QWidget;
            (new QPushButton(QStringLiteral("Copia"), list))->setObjectName(QStringLiteral("Command1"));
            return list;
        });
        project.header(true, false, false, 2);
        project.unit(kOwner, 1, QStringLiteral("A"), QStringLiteral("1"), 5, 3.0);
        project.unit(kOther, 2, QStringLiteral("B"), QStringLiteral("2"), 7, 2.7);
        project.room(kOwner, 1, QStringLiteral("A"), 5,
            { { QStringLiteral("DESCRIZIONE"), QStringLiteral("Soggiorno") },
                { QStringLiteral("ESPRESSIONE"), QStringLiteral("4*5") },
                { QStringLiteral("OPT_RISC"), QStringLiteral("S") } });
        cucina = project.room(kOwner, 1, QStringLiteral("A"), 5,
            { { QStringLiteral("DESCRIZIONE"), QStringLiteral("Cucina") },
                { QStringLiteral("ESPRESSIONE"), QStringLiteral("3*3") } });
        project.room(kOther, 2, QStringLiteral("B"), 7,
            { { QStringLiteral("DESCRIZIONE"), QStringLiteral("Sala") },
                { QStringLiteral("ESPRESSIONE"), QStringLiteral("5*4") } });
        keysBefore = keys();

        WorkspaceCommands::ins_coeff();
        form = loadedWorkspace();
        ASSERT_NE(form, nullptr);
        main->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(main));
        form->TDBGrid1->setFocus();
    }

    void TearDown() override
    {
        FormRegistry::unload(QStringLiteral("frm_elenco"));
        FormRegistry::setFactory(QStringLiteral("frm_elenco"), {});
        zav::platform::setDialogs(&boxes);
        WorkspaceTest::TearDown();
    }

    /** Every room's key (owner, building, stair, unit number), by rowid. */
    QStringList keys() const
    {
        QStringList rows;
        const zav::platform::Recordset rs
            = Database::open(project.path())
                  .query(QStringLiteral("SELECT rowid, NOME_CONDOMINO, PALAZ, SCALA, INTERNO "
                                        "FROM ESPRESSIONI ORDER BY rowid"));
        for (int row = 0; row < rs.recordCount(); ++row) {
            QStringList fields;
            for (int field = 0; field < 5; ++field)
                fields << rs.value(row, field).toString();
            rows << fields.join(u'|');
        }
        return rows;
    }
    QString description() const
    {
        return project.value(QStringLiteral("ESPRESSIONI"), cucina, QStringLiteral("DESCRIZIONE")).toString();
    }

    /** Keys as the user presses them: to whatever has the focus. The window under a box that
     * closed is active again, as the window manager makes it (the offscreen platform does not). */
    template<typename Key> void press(Key key)
    {
        if (!QApplication::activeWindow()) {
            main->activateWindow();
            if (!QTest::qWaitForWindowActive(main))
                ADD_FAILURE() << "the main window is not active again";
        }
        QWidget *focus = QApplication::focusWidget();
        if (!focus) {
            ADD_FAILURE() << "no widget has the focus";
            return;
        }
        QTest::keyClick(focus, key);
    }
    static void settle()
    {
        for (int i = 0; i < 3; ++i)
            QCoreApplication::processEvents();
    }

    /** The visible editor of the cell being typed, if any. */
    QLineEdit *editor() const
    {
        for (QLineEdit *edit : form->TDBGrid1->viewport()->findChildren<QLineEdit *>()) {
            if (edit->isVisible())
                return edit;
        }
        return nullptr;
    }

    /** Clicks the second room's description on a tab and, when asked to, types "x" into it. */
    void startOn(int tab, bool typing)
    {
        form->TabStrip1->setCurrentIndex(tab - 1);
        form->TDBGrid1->setFocus();
        const int row = form->Data1->rowOf(cucina);
        ASSERT_GE(row, 0);
        form->TDBGrid1->setCurrentIndex(form->TDBGrid1->model()->index(row, 1));
        if (typing) {
            press('x');
            ASSERT_NE(editor(), nullptr);
            ASSERT_EQ(editor()->text(), QStringLiteral("x"));
        }
    }

    zav::platform::QtDialogs real;
    BoxClicker clicker;
    frm_ins_coeff *form = nullptr;
    qint64 cucina = 0;
    QStringList keysBefore;
};

struct KeyCase
{
    Qt::Key key;
    int tab;
    bool typing;
    std::vector<QMessageBox::StandardButton> answers;
};

void PrintTo(const KeyCase &c, std::ostream *out)
{
    *out << "key " << c.key << " on tab " << c.tab << (c.typing ? " while typing" : " on a selected cell");
}

std::string caseName(const ::testing::TestParamInfo<KeyCase> &info)
{
    const KeyCase &c = info.param;
    std::string name = c.key == Qt::Key_Escape ? "Esc" : "F" + std::to_string(c.key - Qt::Key_F1 + 1);
    name += "_tab" + std::to_string(c.tab) + (c.typing ? "_typing" : "_selected");
    for (QMessageBox::StandardButton answer : c.answers)
        name += answer == QMessageBox::Yes ? "_Si" : "_No";
    return name + "_" + std::to_string(info.index);
}

std::vector<KeyCase> keyCases()
{
    std::vector<KeyCase> cases;
    for (int tab = 1; tab <= 3; ++tab) {
        for (bool typing : { true, false }) {
            for (Qt::Key key :
                { Qt::Key_F3, Qt::Key_F4, Qt::Key_F8, Qt::Key_F9, Qt::Key_F10, Qt::Key_Escape })
                cases.push_back({ key, tab, typing, {} });
            cases.push_back({ Qt::Key_F12, tab, typing, { QMessageBox::No } });
            cases.push_back({ Qt::Key_F12, tab, typing, { QMessageBox::Yes, QMessageBox::No } });
            cases.push_back({ Qt::Key_F12, tab, typing, { QMessageBox::Yes, QMessageBox::Yes } });
        }
    }
    return cases;
}

class KeyTable : public WorkspaceKeysTest, public ::testing::WithParamInterface<KeyCase>
{
};

// The key, then "z" and Enter as the user types them: the text typed before the key is stored
// (Esc stores it too, then closes), the command runs, the room stays current on a cell that shows,
// and "z" goes into that cell, never into a room's key.
TEST_P(KeyTable, TheKeyStoresWhatIsTypedAndTheNextKeysReachTheRoom)
{
    const KeyCase &c = GetParam();
    clicker.answer(c.answers);
    startOn(c.tab, c.typing);
    press(c.key);
    settle();

    if (c.key == Qt::Key_Escape) {
        EXPECT_EQ(loadedWorkspace(), nullptr);
        EXPECT_EQ(description(), c.typing ? QStringLiteral("x") : QStringLiteral("Cucina"));
        EXPECT_EQ(keys(), keysBefore);
        return;
    }
    ASSERT_EQ(loadedWorkspace(), form);
    EXPECT_EQ(editor(), nullptr);
    EXPECT_EQ(description(), c.typing ? QStringLiteral("x") : QStringLiteral("Cucina"));
    // The command ran.
    if (c.key == Qt::Key_F12) {
        EXPECT_EQ(clicker.texts.value(0), kQuestion);
    } else if (c.key == Qt::Key_F4) {
        EXPECT_TRUE(clicker.texts.contains(QStringLiteral("Calcolo Millesimi effettuato")));
    } else if (c.key == Qt::Key_F8 || c.key == Qt::Key_F10) {
        EXPECT_TRUE(QFile::exists(frm_ins_coeff::userLayoutFile()));
    }

    // The same room, on a cell that shows and can be typed into.
    const QModelIndex current = form->TDBGrid1->currentIndex();
    ASSERT_TRUE(current.isValid());
    EXPECT_EQ(form->Data1->rowid(current.row()), cucina);
    EXPECT_FALSE(form->TDBGrid1->isColumnHidden(current.column()));
    EXPECT_EQ(current.column(), 1);

    // The unit list opened by F3 keeps the focus: the user comes back to the grid.
    if (c.key == Qt::Key_F3) {
        EXPECT_TRUE(FormRegistry::loaded(QStringLiteral("frm_elenco"))->isVisible());
        main->activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(main));
        form->TDBGrid1->setFocus();
    }
    press('z');
    press(Qt::Key_Return);
    settle();
    EXPECT_EQ(description(), QStringLiteral("z"));
    EXPECT_EQ(keys(), keysBefore);
    EXPECT_EQ(form->Data1->recordCount(), 2);
}

INSTANTIATE_TEST_SUITE_P(Keys, KeyTable, ::testing::ValuesIn(keyCases()), caseName);

// F12 pressed again and again from the grid, answered No each time: every press asks.
// F1 in the workspace runs the main window's "Help", which opens the manual or says where it is.
TEST_F(WorkspaceKeysTest, F1RunsTheMainWindowsHelp)
{
    main->bar->addTool(QStringLiteral("MnuBand1"), QStringLiteral("tHelp"), QStringLiteral("&Help"));
    QStringList clicked;
    QObject::connect(main->bar, &zav::platform::CommandBar::toolClick, main,
        [&clicked](const QString &key) { clicked << key; });
    startOn(1, false);
    press(Qt::Key_F1);
    settle();
    EXPECT_EQ(clicked, QStringList { QStringLiteral("tHelp") });
}

TEST_F(WorkspaceKeysTest, F12AsksAtEveryPressAfterItsOwnQuestion)
{
    startOn(1, true);
    for (int round = 0; round < 4; ++round) {
        press(Qt::Key_F12);
        settle();
    }
    EXPECT_EQ(clicker.texts, QStringList(4, kQuestion));
    EXPECT_EQ(description(), QStringLiteral("x"));
    EXPECT_EQ(keys(), keysBefore);
}

// A tab clicked with the mouse: the first F12 that follows acts.
TEST_F(WorkspaceKeysTest, F12ActsOnTheFirstPressAfterATabClick)
{
    QTabBar *tabs = form->TabStrip1->tabBar();
    for (int tab : { 1, 2, 0 }) {
        SCOPED_TRACE(tab);
        clicker.texts.clear();
        QTest::mouseClick(tabs, Qt::LeftButton, {}, tabs->tabRect(tab).center());
        ASSERT_EQ(form->TabStrip1->currentIndex(), tab);
        press(Qt::Key_F12);
        settle();
        EXPECT_EQ(clicker.texts, QStringList { kQuestion });
    }
}

} // namespace
