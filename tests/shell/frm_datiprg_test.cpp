#include "shell/forms/frm_datiprg.h"

#include "engine/var_gbl.h"
#include "platform/db.h"
#include "platform/ui/formregistry.h"
#include "support/child.h"
#include "support/openproject.h"
#include "support/scripteddialogs.h"

#include <QCheckBox>
#include <QLineEdit>
#include <QPushButton>

#include <gtest/gtest.h>

namespace zav::test {
namespace {

using engine::VAR_GBL;
using platform::Database;
using platform::FormRegistry;

class DatiPrgTest : public ::testing::Test
{
protected:
    void TearDown() override { FormRegistry::setFactory(QStringLiteral("frm_comp_pal"), {}); }

    void storeHeader()
    {
        Database db = Database::open(project.path());
        db.insert(QStringLiteral("ANA_CONDO"),
            { { QStringLiteral("NOME"), QStringLiteral("Condominio Aurora") },
                { QStringLiteral("INDIRIZZO"), QStringLiteral("Via Roma 1") },
                { QStringLiteral("CITTA"), QStringLiteral("Forlì") },
                { QStringLiteral("PORTIERATO"), false } });
    }

    /** The header records as stored: name, address, town, porter's lodge. */
    QList<QStringList> stored()
    {
        Database db = Database::open(project.path());
        const platform::Recordset rs = db.table(QStringLiteral("ANA_CONDO"));
        QList<QStringList> rows;
        for (int row = 0; row < rs.recordCount(); ++row) {
            QStringList values;
            for (const char *field : { "NOME", "INDIRIZZO", "CITTA" })
                values << rs.value(row, rs.fieldIndex(QString::fromLatin1(field))).toString();
            values << (rs.value(row, rs.fieldIndex(QStringLiteral("PORTIERATO"))).toBool() ? "Sì" : "No");
            rows << values;
        }
        return rows;
    }

    static QPushButton *button(QWidget &form, const char *name)
    {
        return child<QPushButton>(form, QString::fromLatin1(name));
    }
    static QLineEdit *text(QWidget &form, const char *name)
    {
        return child<QLineEdit>(form, QString::fromLatin1(name));
    }

    OpenProject project;
    platform::ScriptedDialogs boxes;
};

TEST_F(DatiPrgTest, ANewProjectStartsANewRecordThatRegistraCreates)
{
    shell::frm_datiprg form;
    form.show();
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Dati Progetto"));
    EXPECT_TRUE(button(form, "Command1_0")->isEnabled());
    EXPECT_FALSE(button(form, "Command1_2")->isEnabled());
    EXPECT_TRUE(text(form, "Text1")->text().isEmpty());

    text(form, "Text1")->setText(QStringLiteral("Condominio Aurora"));
    text(form, "Text2")->setText(QStringLiteral("Via Roma 1"));
    text(form, "Text3")->setText(QStringLiteral("Forlì"));
    child<QCheckBox>(form, QStringLiteral("Check1"))->setChecked(true);
    button(form, "Command1_0")->click();

    EXPECT_EQ(stored(), (QList<QStringList> { { "Condominio Aurora", "Via Roma 1", "Forlì", "Sì" } }));
    EXPECT_FALSE(button(form, "Command1_0")->isEnabled());
    EXPECT_TRUE(button(form, "Command1_2")->isEnabled());
    EXPECT_EQ(text(form, "Text1")->text(), QStringLiteral("Condominio Aurora"));

    // "Modifica" then "Registra" writes the single record again, never a second one.
    button(form, "Command1_2")->click();
    EXPECT_TRUE(button(form, "Command1_0")->isEnabled());
    EXPECT_TRUE(button(form, "Command1_2")->isEnabled());
    text(form, "Text2")->setText(QStringLiteral("Via Emilia 7"));
    button(form, "Command1_0")->click();
    EXPECT_EQ(stored(), (QList<QStringList> { { "Condominio Aurora", "Via Emilia 7", "Forlì", "Sì" } }));
    EXPECT_TRUE(boxes.shown().isEmpty());
}

TEST_F(DatiPrgTest, EsciDropsWhatWasTypedAndTheFrameStoresIt)
{
    storeHeader();
    {
        shell::frm_datiprg form;
        form.show();
        EXPECT_FALSE(button(form, "Command1_0")->isEnabled());
        EXPECT_TRUE(button(form, "Command1_2")->isEnabled());
        EXPECT_EQ(text(form, "Text3")->text(), QStringLiteral("Forlì"));
        text(form, "Text1")->setText(QStringLiteral("Altro nome"));
        button(form, "Command1_1")->click();
        EXPECT_FALSE(form.isVisible());
        EXPECT_EQ(stored(), (QList<QStringList> { { "Condominio Aurora", "Via Roma 1", "Forlì", "No" } }));
    }
    {
        // Leaving through the window's frame (or being closed by the program) stores it.
        shell::frm_datiprg form;
        form.show();
        text(form, "Text1")->setText(QStringLiteral("Altro nome"));
        child<QCheckBox>(form, QStringLiteral("Check1"))->setChecked(true);
        form.close();
        EXPECT_EQ(stored(), (QList<QStringList> { { "Altro nome", "Via Roma 1", "Forlì", "Sì" } }));
    }
}

TEST_F(DatiPrgTest, EsciOnANewProjectCreatesNoRecord)
{
    shell::frm_datiprg form;
    form.show();
    text(form, "Text1")->setText(QStringLiteral("Condominio Aurora"));
    button(form, "Command1_1")->click();
    EXPECT_TRUE(stored().isEmpty());
}

TEST_F(DatiPrgTest, CompPalNeedsAStoredHeaderThenShowsTheBuildingsAndCloses)
{
    int buildingsShown = 0;
    FormRegistry::setFactory(QStringLiteral("frm_comp_pal"), [&] {
        ++buildingsShown;
        return new QWidget;
    });
    platform::ModalDriverScope driver([](QWidget *form) { form->close(); });

    shell::frm_datiprg form;
    form.show();
    text(form, "Text1")->setText(QStringLiteral("Condominio Aurora"));
    button(form, "Command2")->click();
    ASSERT_EQ(boxes.shown().size(), 1);
    EXPECT_EQ(boxes.shown().at(0).text, QStringLiteral("Dati Progetto non inseriti. Impossibile continuare"));
    EXPECT_EQ(boxes.shown().at(0).title, QStringLiteral("!!! Zav - Informazioni - !!!"));
    EXPECT_EQ(boxes.shown().at(0).icon, platform::MsgIcon::Information);
    EXPECT_TRUE(form.isVisible());
    EXPECT_EQ(buildingsShown, 0);
    EXPECT_EQ(text(form, "Text1")->text(), QStringLiteral("Condominio Aurora"));

    button(form, "Command1_0")->click();
    button(form, "Command2")->click();
    EXPECT_EQ(buildingsShown, 1);
    EXPECT_FALSE(form.isVisible());
    EXPECT_EQ(boxes.shown().size(), 1);

    // Without a project the button refuses.
    VAR_GBL.progetto_corrente.reset();
    form.Command2_Click();
    EXPECT_EQ(boxes.messages().last(), QStringLiteral("Nessun progetto selezionato"));
    EXPECT_EQ(buildingsShown, 1);
}

} // namespace
} // namespace zav::test
