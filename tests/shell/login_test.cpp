#include "shellformsfixture.h"

#include "controls/xpbutton.h"
#include "shell/forms/frm_init.h"
#include "shell/forms/frm_password.h"
#include "shell/forms/inizio.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace zav::test {
namespace {

using platform::FormRegistry;
using platform::MsgButtons;
using platform::MsgIcon;

class LoginTest : public ShellFormsTest
{
protected:
    shell::INIZIO *startProgram()
    {
        auto *form = FormRegistry::form<shell::INIZIO>(QStringLiteral("INIZIO"));
        form->show();
        return form;
    }

    static void typeAndEnter(QLineEdit *box, const QString &text)
    {
        box->clear();
        QTest::keyClicks(box, text);
        QTest::keyClick(box, Qt::Key_Return);
    }

    static bool mainWindowOpen() { return FormRegistry::isLoaded(QStringLiteral("frm_init")); }

    void expectRefusalMessage(int index)
    {
        ASSERT_GT(boxes.shown().size(), index);
        const auto &shown = boxes.shown().at(index);
        EXPECT_EQ(shown.text, QStringLiteral("Utente non autorizzato"));
        EXPECT_EQ(shown.title, QStringLiteral("!!! Attenzione !!!"));
        EXPECT_EQ(shown.icon, MsgIcon::Exclamation);
        EXPECT_EQ(shown.buttons, MsgButtons::Ok);
    }
};

TEST_F(LoginTest, PasswordOffOrEmptyFlagOpensTheMainWindowAtOnce)
{
    for (const QVariant &flag : { QVariant(false), QVariant() }) {
        SCOPED_TRACE(flag.isNull() ? "ATTIVA empty" : "ATTIVA false");
        programEnds = 0;
        setSettings(QStringLiteral("segreto"), flag);
        shell::INIZIO *login = startProgram();
        QTest::mouseClick(login->Command1, Qt::LeftButton);

        EXPECT_TRUE(mainWindowOpen());
        EXPECT_FALSE(login->Text16->isVisible());
        // The main window's load closes the login form.
        EXPECT_FALSE(FormRegistry::isLoaded(QStringLiteral("INIZIO")));
        EXPECT_TRUE(boxes.shown().isEmpty());
        EXPECT_EQ(programEnds, 0);
        TearDown();
        shell::registerForms();
    }
}

TEST_F(LoginTest, PasswordOnAvvioOnlyRevealsTheBox)
{
    setSettings(QStringLiteral("segreto"), true);
    shell::INIZIO *login = startProgram();
    EXPECT_FALSE(login->Text16->isVisible());
    EXPECT_FALSE(login->Label63->isVisible());

    for (int press = 0; press < 2; ++press) {
        QTest::mouseClick(login->Command1, Qt::LeftButton);
        EXPECT_TRUE(login->Text16->isVisible());
        EXPECT_TRUE(login->Label63->isVisible());
        EXPECT_TRUE(login->Label4->isVisible());
        EXPECT_FALSE(mainWindowOpen());
    }
    EXPECT_TRUE(boxes.shown().isEmpty());
}

// Enter presses "Avvio" as the default button of a dialog: with the password off it opens the main
// window, with it on it reveals the box, and Enter in the box then answers the password alone.
TEST_F(LoginTest, EnterPressesAvvio)
{
    setSettings(QStringLiteral("segreto"), false);
    shell::INIZIO *login = startProgram();
    QTest::keyClick(login, Qt::Key_Return);
    EXPECT_TRUE(mainWindowOpen());
    TearDown();
    shell::registerForms();

    setSettings(QStringLiteral("segreto"), true);
    login = startProgram();
    QTest::keyClick(login, Qt::Key_Return);
    EXPECT_TRUE(login->Text16->isVisible());
    EXPECT_FALSE(mainWindowOpen());
    typeAndEnter(login->Text16, QStringLiteral("segreto"));
    EXPECT_TRUE(mainWindowOpen());
    EXPECT_TRUE(boxes.shown().isEmpty());
}

TEST_F(LoginTest, EnterAcceptsTheStoredPasswordOrTheMasterCode)
{
    struct Case
    {
        const char *name;
        QVariant stored;
        QString typed;
        bool accepted;
    };
    const QList<Case> cases = {
        { "stored password", QStringLiteral("segreto"), QStringLiteral("segreto"), true },
        { "master code", QStringLiteral("segreto"), QStringLiteral("8261"), true },
        { "master code over a Null password", QVariant(), QStringLiteral("8261"), true },
        { "empty text stored, empty box", QStringLiteral(""), QString(), true },
        { "Null stored, empty box", QVariant(), QString(), false },
        { "other case", QStringLiteral("Segreto"), QStringLiteral("segreto"), false },
        { "upper case", QStringLiteral("segreto"), QStringLiteral("SEGRETO"), false },
        { "master code with a blank", QStringLiteral("segreto"), QStringLiteral("8261 "), false },
        { "wrong password", QStringLiteral("segreto"), QStringLiteral("segret"), false },
    };
    for (const Case &c : cases) {
        SCOPED_TRACE(c.name);
        programEnds = 0;
        setSettings(c.stored, true);
        shell::INIZIO *login = startProgram();
        QTest::mouseClick(login->Command1, Qt::LeftButton);
        typeAndEnter(login->Text16, c.typed);

        EXPECT_EQ(mainWindowOpen(), c.accepted);
        if (c.accepted) {
            EXPECT_TRUE(boxes.shown().isEmpty());
            EXPECT_EQ(login->Text16->text(), c.typed); // the box keeps its text
        } else {
            EXPECT_EQ(boxes.shown().size(), 1);
            expectRefusalMessage(0);
            EXPECT_EQ(login->Text16->text(), QString());
            EXPECT_EQ(login->refusals(), 1);
        }
        EXPECT_EQ(programEnds, 0);
        boxes.clear();
        TearDown();
        shell::registerForms();
    }
}

TEST_F(LoginTest, ThirdRefusalEndsTheProgramWithoutAMessage)
{
    setSettings(QStringLiteral("segreto"), true);
    shell::INIZIO *login = startProgram();
    QTest::mouseClick(login->Command1, Qt::LeftButton);

    typeAndEnter(login->Text16, QStringLiteral("uno"));
    typeAndEnter(login->Text16, QStringLiteral("due"));
    EXPECT_EQ(boxes.shown().size(), 2);
    expectRefusalMessage(0);
    expectRefusalMessage(1);
    EXPECT_EQ(programEnds, 0);

    typeAndEnter(login->Text16, QStringLiteral("tre"));
    EXPECT_EQ(programEnds, 1);
    EXPECT_EQ(boxes.shown().size(), 2);
    EXPECT_FALSE(mainWindowOpen());
}

TEST_F(LoginTest, RightEntryAfterTwoRefusalsStillOpens)
{
    setSettings(QStringLiteral("segreto"), true);
    shell::INIZIO *login = startProgram();
    QTest::mouseClick(login->Command1, Qt::LeftButton);
    typeAndEnter(login->Text16, QStringLiteral("uno"));
    typeAndEnter(login->Text16, QStringLiteral("due"));
    typeAndEnter(login->Text16, QStringLiteral("segreto"));
    EXPECT_TRUE(mainWindowOpen());
    EXPECT_EQ(programEnds, 0);
}

TEST_F(LoginTest, ClosingTheLoginFormEndsTheProgramButOpeningTheMainWindowDoesNot)
{
    setSettings(QStringLiteral("segreto"), false);
    startProgram()->close();
    EXPECT_EQ(programEnds, 1);

    QTest::mouseClick(startProgram()->Command1, Qt::LeftButton);
    EXPECT_TRUE(mainWindowOpen());
    EXPECT_EQ(programEnds, 1);
}

// --- Changing the password ------------------------------------------------------------------

class PasswordFormTest : public ShellFormsTest
{
protected:
    shell::frm_password *openForm()
    {
        auto *form = FormRegistry::form<shell::frm_password>(QStringLiteral("frm_password"));
        form->show();
        return form;
    }

    static void typeAndEnter(QLineEdit *box, const QString &text)
    {
        box->clear();
        QTest::keyClicks(box, text);
        QTest::keyClick(box, Qt::Key_Return);
    }

    static bool unlocked(shell::frm_password *form)
    {
        return form->Text12->isEnabled() && form->Text13->isEnabled() && form->Check8->isEnabled();
    }
};

TEST_F(PasswordFormTest, WrongOldPasswordOrMasterCodeIsRefusedAnyNumberOfTimes)
{
    setSettings(QStringLiteral("segreto"), true);
    shell::frm_password *form = openForm();
    EXPECT_FALSE(unlocked(form));
    const QStringList tries
        = { QStringLiteral("8261"), QStringLiteral("SEGRETO"), QStringLiteral("x"), QStringLiteral("") };
    for (const QString &typed : tries) {
        typeAndEnter(form->Text11, typed);
        EXPECT_EQ(form->Text11->text(), QString());
        EXPECT_FALSE(unlocked(form));
    }
    ASSERT_EQ(boxes.shown().size(), tries.size());
    for (const auto &shown : boxes.shown()) {
        EXPECT_EQ(shown.text, QStringLiteral("Utente non autorizzato"));
        EXPECT_EQ(shown.title, QStringLiteral("!!! Attenzione !!!"));
        EXPECT_EQ(shown.icon, MsgIcon::Exclamation);
    }
    EXPECT_EQ(programEnds, 0);
    EXPECT_EQ(storedSettings().first.toString(), QStringLiteral("segreto"));
}

TEST_F(PasswordFormTest, NewPasswordIsMirroredAndStoredOnEnter)
{
    setSettings(QStringLiteral("segreto"), true);
    shell::frm_password *form = openForm();
    typeAndEnter(form->Text11, QStringLiteral("segreto"));
    ASSERT_TRUE(unlocked(form));

    QTest::keyClicks(form->Text12, QStringLiteral("Nuova1"));
    EXPECT_EQ(form->Text13->text(), QStringLiteral("Nuova1"));
    EXPECT_EQ(storedSettings().first.toString(), QStringLiteral("segreto")); // not before Enter
    QTest::keyClick(form->Text12, Qt::Key_Return);
    EXPECT_EQ(storedSettings().first.toString(), QStringLiteral("Nuova1"));
    EXPECT_TRUE(form->isVisible()); // the form stays open
    EXPECT_TRUE(boxes.shown().isEmpty());
}

TEST_F(PasswordFormTest, EnterInAnEmptyNewPasswordBoxKeepsTheOldOne)
{
    setSettings(QStringLiteral("segreto"), true);
    shell::frm_password *form = openForm();
    typeAndEnter(form->Text11, QStringLiteral("segreto"));
    QTest::keyClick(form->Text12, Qt::Key_Return);
    EXPECT_EQ(form->Text12->text(), QStringLiteral("segreto"));
    EXPECT_EQ(form->Text13->text(), QStringLiteral("segreto"));
    EXPECT_EQ(storedSettings().first.toString(), QStringLiteral("segreto"));
}

TEST_F(PasswordFormTest, EmptyEntryAfterAChangeKeepsThePasswordJustStored)
{
    setSettings(QStringLiteral("segreto"), true);
    shell::frm_password *form = openForm();
    typeAndEnter(form->Text11, QStringLiteral("segreto"));
    typeAndEnter(form->Text12, QStringLiteral("nuova"));
    ASSERT_EQ(storedSettings().first.toString(), QStringLiteral("nuova"));

    // The record now holds "nuova": an empty entry puts that back, not the password typed at first.
    typeAndEnter(form->Text12, QString());
    EXPECT_EQ(form->Text12->text(), QStringLiteral("nuova"));
    EXPECT_EQ(form->Text13->text(), QStringLiteral("nuova"));
    EXPECT_EQ(storedSettings().first.toString(), QStringLiteral("nuova"));
}

TEST_F(PasswordFormTest, NoStoredPasswordAcceptsTheEmptyOldPassword)
{
    setSettings(QVariant(), false);
    shell::frm_password *form = openForm();
    typeAndEnter(form->Text11, QString());
    ASSERT_TRUE(unlocked(form));
    EXPECT_TRUE(boxes.shown().isEmpty());

    typeAndEnter(form->Text12, QStringLiteral("prima"));
    EXPECT_EQ(storedSettings().first, QVariant(QStringLiteral("prima")));
}

TEST_F(PasswordFormTest, FlagIsWrittenWhenTheFormClosesAndRulesTheNextStart)
{
    setSettings(QStringLiteral("segreto"), true);
    shell::frm_password *form = openForm();
    EXPECT_TRUE(form->Check8->isChecked());
    typeAndEnter(form->Text11, QStringLiteral("segreto"));
    form->Check8->click();
    EXPECT_TRUE(storedSettings().second.toBool()); // written at closing, not before
    QTest::mouseClick(form->Command1, Qt::LeftButton);
    EXPECT_FALSE(FormRegistry::isLoaded(QStringLiteral("frm_password")));
    EXPECT_FALSE(storedSettings().second.toBool());

    auto *login = FormRegistry::form<shell::INIZIO>(QStringLiteral("INIZIO"));
    login->show();
    QTest::mouseClick(login->Command1, Qt::LeftButton);
    EXPECT_TRUE(FormRegistry::isLoaded(QStringLiteral("frm_init")));
}

TEST_F(PasswordFormTest, SwitchingThePasswordOnTakesEffectAtTheNextStart)
{
    setSettings(QStringLiteral("segreto"), false);
    shell::frm_password *form = openForm();
    typeAndEnter(form->Text11, QStringLiteral("segreto"));
    form->Check8->click();
    typeAndEnter(form->Text12, QStringLiteral("altra"));
    form->close();
    EXPECT_EQ(storedSettings().first.toString(), QStringLiteral("altra"));
    EXPECT_TRUE(storedSettings().second.toBool());

    auto *login = FormRegistry::form<shell::INIZIO>(QStringLiteral("INIZIO"));
    login->show();
    QTest::mouseClick(login->Command1, Qt::LeftButton);
    EXPECT_FALSE(FormRegistry::isLoaded(QStringLiteral("frm_init")));
    typeAndEnter(login->Text16, QStringLiteral("altra"));
    EXPECT_TRUE(FormRegistry::isLoaded(QStringLiteral("frm_init")));
}

TEST_F(PasswordFormTest, TheCommandShowsTheFormModal)
{
    setSettings(QStringLiteral("segreto"), true);
    auto *window = FormRegistry::form<shell::frm_init>(QStringLiteral("frm_init"));
    QWidget *driven = nullptr;
    bool modal = false;
    platform::ModalDriverScope driver([&](QWidget *form) {
        driven = form;
        modal = form->isModal();
        auto *password = qobject_cast<shell::frm_password *>(form);
        ASSERT_NE(password, nullptr);
        typeAndEnter(password->Text11, QStringLiteral("segreto"));
        typeAndEnter(password->Text12, QStringLiteral("dal menu"));
        password->Command1_Click();
    });
    window->Bar_main1_ToolClick(QStringLiteral("password"));
    EXPECT_NE(driven, nullptr);
    EXPECT_TRUE(modal);
    EXPECT_EQ(storedSettings().first.toString(), QStringLiteral("dal menu"));
    EXPECT_FALSE(FormRegistry::isLoaded(QStringLiteral("frm_password")));
}

} // namespace
} // namespace zav::test
