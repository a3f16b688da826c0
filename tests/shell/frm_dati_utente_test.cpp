#include "platform/db.h"
#include "shell/forms/frm_dati_utente.h"
#include "support/fixtures.h"
#include "support/scripteddialogs.h"

#include <QFile>
#include <QLineEdit>
#include <QStyle>
#include <QTest>

#include <gtest/gtest.h>

using zav::platform::Database;
using zav::platform::MsgButtons;
using zav::platform::MsgIcon;
using zav::platform::MsgResult;
using zav::platform::ScriptedDialogs;
using zav::shell::frm_dati_utente;

namespace {

class UserDataTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        Database db = Database::open(folder.file(QStringLiteral("UTENTE.MDB")));
        db.clear(QStringLiteral("DATI"));
    }

    // The rows of DATI as text, Null shown as "<null>".
    QList<QStringList> rows()
    {
        Database db = Database::open(folder.file(QStringLiteral("UTENTE.MDB")));
        const zav::platform::Recordset rs = db.table(QStringLiteral("DATI"));
        QList<QStringList> result;
        for (int r = 0; r < rs.recordCount(); ++r) {
            QStringList row;
            for (int f = 0; f < rs.fieldCount(); ++f) {
                const QVariant value = rs.value(r, f);
                row.append(value.isNull() ? QStringLiteral("<null>") : value.toString());
            }
            result.append(row);
        }
        return result;
    }

    zav::test::TempProgramFolder folder;
    ScriptedDialogs dialogs;
};

} // namespace

TEST_F(UserDataTest, FirstUseOnAnEmptyTableStoresWhatWasTypedAsTheOneRecord)
{
    {
        frm_dati_utente form;
        EXPECT_EQ(form.windowTitle(), QStringLiteral("Dati Utente"));
        for (QLineEdit *box : form.findChildren<QLineEdit *>())
            EXPECT_TRUE(box->text().isEmpty());
        form.show();
        QTest::keyClicks(form.Text1, QStringLiteral("Studio Rossi & C."));
        form.Text4->setText(QStringLiteral("Forlì"));
        QTest::keyClicks(form.Text5, QStringLiteral("studio@rossi.it"));
        form.Command1_Click();
        EXPECT_FALSE(form.isVisible());
    }
    const QString null = QStringLiteral("<null>");
    EXPECT_EQ(rows(),
        (QList<QStringList> { { QStringLiteral("Studio Rossi & C."), null, null, QStringLiteral("Forlì"),
            QStringLiteral("studio@rossi.it"), null } }));

    // The next time the record is shown, and an edit closed by the window frame is stored on it.
    frm_dati_utente again;
    EXPECT_EQ(again.Text1->text(), QStringLiteral("Studio Rossi & C."));
    EXPECT_EQ(again.Text4->text(), QStringLiteral("Forlì"));
    again.show();
    again.Text6->setText(QStringLiteral("0543 123456"));
    again.close();
    ASSERT_EQ(rows().size(), 1);
    EXPECT_EQ(rows().first().value(5), QStringLiteral("0543 123456"));
    EXPECT_TRUE(dialogs.shown().isEmpty());
}

TEST_F(UserDataTest, ClosingWithoutTypingStoresNoRecord)
{
    frm_dati_utente form;
    form.show();
    form.Command1_Click();
    EXPECT_TRUE(rows().isEmpty());
}

TEST_F(UserDataTest, DeleteAnsweredNoChangesNothing)
{
    {
        Database db = Database::open(folder.file(QStringLiteral("UTENTE.MDB")));
        db.insert(QStringLiteral("DATI"), { { QStringLiteral("RAG_SOC"), QStringLiteral("Bianchi") } });
    }
    frm_dati_utente form;
    form.show();
    dialogs.answer(MsgResult::No);
    form.elimina_Click();
    ASSERT_EQ(dialogs.shown().size(), 1);
    const ScriptedDialogs::Shown &box = dialogs.shown().first();
    EXPECT_EQ(box.text, QStringLiteral("Sei sicuro di voler eliminare i dati utente?"));
    EXPECT_EQ(box.title, QStringLiteral("Elimina i dati utente"));
    EXPECT_EQ(box.icon, MsgIcon::Critical);
    EXPECT_EQ(box.buttons, MsgButtons::YesNo);
    EXPECT_EQ(form.Text1->text(), QStringLiteral("Bianchi"));
    EXPECT_EQ(rows().size(), 1);
}

TEST_F(UserDataTest, DeleteAnsweredYesLeavesANewEmptyRecordStoredOnlyIfTyped)
{
    {
        Database db = Database::open(folder.file(QStringLiteral("UTENTE.MDB")));
        db.insert(QStringLiteral("DATI"),
            { { QStringLiteral("RAG_SOC"), QStringLiteral("Bianchi") },
                { QStringLiteral("CAP"), QStringLiteral("47121") } });
    }
    {
        frm_dati_utente form;
        form.show();
        dialogs.answer(MsgResult::Yes);
        form.elimina_Click();
        EXPECT_TRUE(form.Text1->text().isEmpty());
        EXPECT_TRUE(form.Text3->text().isEmpty());
        EXPECT_TRUE(rows().isEmpty());
        form.Command1_Click();
        EXPECT_TRUE(rows().isEmpty());
    }
    frm_dati_utente form;
    form.show();
    dialogs.answer(MsgResult::Yes);
    form.elimina_Click(); // nothing stored yet: nothing to delete, no failure
    QTest::keyClicks(form.Text2, QStringLiteral("Via Roma 1"));
    form.Command1_Click();
    ASSERT_EQ(rows().size(), 1);
    EXPECT_EQ(rows().first().value(1), QStringLiteral("Via Roma 1"));
    EXPECT_EQ(dialogs.shown().size(), 2);
}

TEST(UserData, MissingDatabaseIsReportedAndClosingSaysNothingWasStored)
{
    zav::test::TempProgramFolder folder;
    QFile::remove(folder.file(QStringLiteral("UTENTE.MDB")));
    ScriptedDialogs dialogs;
    frm_dati_utente form;
    const QString reason = QStringLiteral("il file \"UTENTE.MDB\" manca nella cartella del programma.");
    ASSERT_EQ(dialogs.shown().size(), 1);
    EXPECT_EQ(dialogs.shown().first().text,
        QStringLiteral("I dati utente non possono essere letti né salvati: ") + reason);
    EXPECT_EQ(dialogs.shown().first().icon, MsgIcon::Critical);
    EXPECT_TRUE(form.Text1->isReadOnly());
    form.show();
    form.Command1_Click();
    ASSERT_EQ(dialogs.shown().size(), 2);
    EXPECT_EQ(dialogs.shown().at(1).text, QStringLiteral("Nessun dato utente è stato salvato: ") + reason);
    EXPECT_FALSE(QFile::exists(folder.file(QStringLiteral("UTENTE.MDB"))));
}

// Each box shows its field's usual content whole: a firm's name, an address, a postal code, a town,
// an e-mail address and a telephone number.
TEST_F(UserDataTest, BoxesShowTheirFieldsWhole)
{
    frm_dati_utente form;
    form.show();
    const struct
    {
        QLineEdit *box;
        QString typical;
    } cases[] = {
        { form.Text1, QStringLiteral("Studio Tecnico Associato Rossi & Bianchi S.r.l.") },
        { form.Text2, QStringLiteral("Viale Giuseppe Garibaldi 123/B, scala C") },
        { form.Text3, QStringLiteral("47121") },
        { form.Text4, QStringLiteral("Reggio nell'Emilia (RE)") },
        { form.Text5, QStringLiteral("amministrazione@studiorossi.it") },
        { form.Text6, QStringLiteral("+39 0543 123456 int. 2") },
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.box->objectName().toStdString());
        c.box->setText(c.typical);
        const int shown
            = c.box->contentsRect().width() - c.box->textMargins().left() - c.box->textMargins().right();
        EXPECT_GE(shown, c.box->fontMetrics().horizontalAdvance(c.typical));
    }
    // The postal code's box stays a short one.
    EXPECT_LT(form.Text3->width(), form.Text1->width() / 3);
}
