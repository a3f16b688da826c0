#include "tables/frm_infissi.h"

#include "tables/windowbands.h"
#include "tablesfixture.h"

#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTest>

namespace zav::test {
namespace {

using platform::FormRegistry;
using tables::frm_infissi;

const QString Window = QStringLiteral("TAB_WINDOW");

class WindowFormTest : public TablesTest
{
protected:
    frm_infissi *open()
    {
        auto *form = qobject_cast<frm_infissi *>(tables::infissi());
        if (form)
            form->show();
        return form;
    }

    void type(frm_infissi *form, int row, int column, const QString &text)
    {
        const QModelIndex index = form->TDBGrid15->model()->index(row, column);
        form->TDBGrid15->setCurrentIndex(index);
        form->TDBGrid15->edit(index);
        QLineEdit *editor = nullptr;
        for (QLineEdit *line : form->TDBGrid15->viewport()->findChildren<QLineEdit *>()) {
            if (line->isVisible())
                editor = line;
        }
        ASSERT_NE(editor, nullptr);
        editor->clear();
        QTest::keyClicks(editor, text);
        QTest::keyClick(editor, Qt::Key_Return);
        QCoreApplication::processEvents();
    }
};

TEST_F(WindowFormTest, ItOpensOnTheTemplateAndProgettoNeedsAProject)
{
    frm_infissi *form = open();
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(form->windowTitle(), QStringLiteral("Infissi"));
    EXPECT_EQ(form->Data1->databaseName(), templ);
    EXPECT_EQ(form->Data1->recordSource().table, Window);
    // The caption says whose table is shown: the model of new projects.
    const QString onTemplate = QStringLiteral("Tabella Luminosità Finestre - Modello dei nuovi progetti");
    EXPECT_EQ(form->TDBGrid15->caption(), onTemplate);
    EXPECT_EQ(form->captionBar()->text(), onTemplate);
    QAbstractItemModel *model = form->TDBGrid15->model();
    ASSERT_EQ(model->columnCount(), 3);
    EXPECT_EQ(model->headerData(0, Qt::Horizontal).toString(), QStringLiteral("Descrizione Valori \"K\""));
    EXPECT_EQ(model->headerData(1, Qt::Horizontal).toString(), QStringLiteral("Coeff."));
    EXPECT_EQ(model->headerData(2, Qt::Horizontal).toString().trimmed(), QString());
    ASSERT_EQ(model->rowCount(), 8);
    // The coefficient in the general number format: "1,00" shows as 1, "0,96" as it is.
    EXPECT_EQ(cell(form->TDBGrid15, 0, 1), QStringLiteral("1"));
    EXPECT_EQ(cell(form->TDBGrid15, 1, 1), QStringLiteral("0,96"));
    EXPECT_EQ(cell(form->TDBGrid15, 6, 2), QStringLiteral("7"));

    form->Command3_Click();
    ASSERT_EQ(boxes.shown().size(), 1);
    EXPECT_EQ(boxes.shown().at(0).text, QStringLiteral("Nessun progetto selezionato"));
    EXPECT_EQ(boxes.shown().at(0).title, QStringLiteral("!!! Zav - Attenzione - !!!"));
    EXPECT_EQ(boxes.shown().at(0).icon, platform::MsgIcon::Information);
    EXPECT_EQ(form->Data1->databaseName(), templ);
    EXPECT_EQ(form->TDBGrid15->caption(), onTemplate);

    // A second command only brings the open form forward.
    EXPECT_EQ(tables::infissi(), form);
}

TEST_F(WindowFormTest, AnEditedBandOfTheProjectGivesTheRoomItsNewCoefficient)
{
    openProject();
    frm_infissi *form = open();
    ASSERT_NE(form, nullptr);
    form->Command3_Click();
    EXPECT_EQ(form->Data1->databaseName(), project);
    EXPECT_EQ(form->captionBar()->text(),
        QStringLiteral("Tabella Luminosità Finestre - Progetto ")
            + QFileInfo(project).fileName().section(u'.', 0, 0));

    // Band 3 (the third row) gets 0.9, typed with the point under the comma.
    type(form, 2, 1, QStringLiteral("0.9"));
    EXPECT_EQ(stored(project, Window, 2, 1), QVariant(QStringLiteral("0,9")));
    type(form, 2, 1, QStringLiteral("nove"));
    EXPECT_EQ(boxes.messages().size(), 1);
    EXPECT_EQ(stored(project, Window, 2, 1), QVariant(QStringLiteral("0,9")));

    // A room of 12 m² with a window of 1.2 x 1.4 lies in band 3, which now gives 0.9; the template
    // keeps 0,92 for new projects.
    const std::optional<QString> band = tables::WindowBands::bandOfRatio(1.2 * 1.4, 12);
    ASSERT_EQ(band, QStringLiteral("3"));
    EXPECT_EQ(tables::WindowBands::read(project).coefficient(*band), QVariant(QStringLiteral("0,9")));
    EXPECT_EQ(tables::WindowBands::read(templ).coefficient(*band), QVariant(QStringLiteral("0,92")));

    form->Command2_Click();
    EXPECT_EQ(form->Data1->databaseName(), templ);
    EXPECT_EQ(form->TDBGrid15->caption(),
        QStringLiteral("Tabella Luminosità Finestre - Modello dei nuovi progetti"));
    EXPECT_EQ(cell(form->TDBGrid15, 2, 1), QStringLiteral("0,92"));
}

TEST_F(WindowFormTest, ReopenedAfterProgettoItShowsTheTemplateAgain)
{
    openProject();
    frm_infissi *form = open();
    ASSERT_NE(form, nullptr);
    form->Command3_Click();
    form->Command1->click();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(FormRegistry::isLoaded(QStringLiteral("frm_infissi")));
    form = open();
    ASSERT_NE(form, nullptr);
    EXPECT_EQ(form->Data1->databaseName(), templ);
}

TEST_F(WindowFormTest, AMissingTemplateIsToldAndNoFormOpens)
{
    ASSERT_TRUE(QFile::remove(templ));
    EXPECT_EQ(tables::infissi(), nullptr);
    ASSERT_EQ(boxes.messages().size(), 1);
    EXPECT_TRUE(boxes.messages().at(0).startsWith(u"Impossibile trovare l'archivio modello"));
    EXPECT_FALSE(FormRegistry::isLoaded(QStringLiteral("frm_infissi")));
}

TEST_F(WindowFormTest, StampaHandsTheArchiveShownToThePrinting)
{
    QStringList printed;
    tables::setPrintHandlers({ {}, [&](const QString &archive) { printed << archive; } });
    openProject();
    frm_infissi *form = open();
    ASSERT_NE(form, nullptr);
    form->Command4->click();
    form->Command3_Click();
    form->Command4->click();
    EXPECT_EQ(printed, (QStringList { templ, project }));
}

} // namespace
} // namespace zav::test
