// Renders the terrace form into the folder named by ZAV_SCREENSHOT_DIR, for the manual: a unit shown
// with the table's unit list (docs/terraces-form.png), the coefficients view
// (docs/terraces-coefficients.png) and the thousandths view (docs/terraces-thousandths.png).

#include "terraces/tab_terr.h"
#include "terracesfixture.h"

#include <QDir>
#include <QGroupBox>
#include <QImage>
#include <QPushButton>
#include <QTabBar>

namespace {

class Screenshot : public zav::test::TerracesTest
{
protected:
    /** The table TER1 current, D'Amico shown and the unit list open. */
    zav::terraces::frm_terrazze *prepare();

    /** Saves the form's picture; at the given size, or at the size it opens with when none is given. */
    static void save(QWidget *form, const QString &folder, const char *name, QSize size = QSize(1180, 600))
    {
        if (size.isValid())
            form->resize(size);
        form->show();
        QCoreApplication::processEvents();
        const QImage picture = form->grab().toImage();
        ASSERT_TRUE(QDir().mkpath(folder));
        ASSERT_TRUE(picture.save(QDir(folder).filePath(QString::fromLatin1(name))));
    }
};

zav::terraces::frm_terrazze *Screenshot::prepare()
{
    buildings(2, { 1, 2 });
    table("TER1", "Lastrico solare scala A");
    const struct
    {
        const char *owner;
        int building;
        const char *stair;
        const char *floor;
        int interno;
    } units[] = {
        { "D'Amico Giovanni", 1, "A", "5", 9 },
        { "Rossi Mario", 1, "A", "1", 1 },
        { "Bianchi Anna", 1, "A", "2", 3 },
        { "Esposito Luca", 1, "A", "3", 5 },
        { "Ferrari Giulia", 1, "A", "4", 7 },
    };
    for (const auto &u : units) {
        unit(QString::fromUtf8(u.owner), u.building, QString::fromLatin1(u.stair),
            QString::fromLatin1(u.floor), u.interno);
        listed(QString::fromUtf8(u.owner), u.building, QString::fromLatin1(u.stair),
            QString::fromLatin1(u.floor), u.interno, QStringLiteral("TER1"),
            QStringLiteral("Lastrico solare scala A"));
    }
    const QString owner = QStringLiteral("D'Amico Giovanni");
    const char *rooms[][5] = {
        { "Terrazzo coperto", "4.6*4", "18,4", "16,56", "49,68" },
        { "Terrazzo scoperto", "6.55*5", "32,75", "8,1875", "0" },
        { "Lastrico", "3.5*3.6", "12,6", "3,15", "0" },
    };
    for (const auto &room : rooms)
        insert(terraces, QStringLiteral("SUP_COEFF_VOL"),
            { { "CODICE", "TER1" }, { "NOME_CONDOMINO", owner }, { "PALAZ", 1 }, { "SCALA", "A" },
                { "INTERNO", 9 }, { "DESCRIZ_VANO", QString::fromLatin1(room[0]) },
                { "ESPRESSIONE", QString::fromLatin1(room[1]) }, { "MQ", QString::fromLatin1(room[2]) },
                { "SUP_CONVENZIONALE", QString::fromLatin1(room[3]) },
                { "VOLUME", QString::fromLatin1(room[4]) }, { "PIANO", "5" } });

    zav::terraces::frm_terrazze *form = openForm();
    {
        const zav::platform::ModalDriverScope driver([](QWidget *shown) {
            auto *dialog = qobject_cast<zav::terraces::TAB_TERR *>(shown);
            dialog->Data1->setCurrentRow(0);
            dialog->Command2->click();
            dialog->Command1->click();
        });
        form->Command1[0]->click();
    }
    form->Command1_Click(2);
    form->Data5->setCurrentRow(0);
    form->Command4_Click();
    return form;
}

TEST_F(Screenshot, TerraceFormWithItsUnitList)
{
    const QString folder = qEnvironmentVariable("ZAV_SCREENSHOT_DIR");
    if (folder.isEmpty())
        GTEST_SKIP() << "set ZAV_SCREENSHOT_DIR to write the picture";
    save(prepare(), folder, "terraces-form.png", QSize());
}

TEST_F(Screenshot, CoefficientsAndThousandthsViews)
{
    const QString folder = qEnvironmentVariable("ZAV_SCREENSHOT_DIR");
    if (folder.isEmpty())
        GTEST_SKIP() << "set ZAV_SCREENSHOT_DIR to write the pictures";
    zav::engine::VAR_GBL.init_operatori();
    zav::engine::VAR_GBL.init_precedenze();
    zav::terraces::frm_terrazze *form = prepare();
    {
        zav::platform::Database db = zav::platform::Database::open(terraces);
        db.exec(QStringLiteral(
            "UPDATE SUP_COEFF_VOL SET COEFF_PIANO = '0,9', COEFF_ESPOS = '1,05', H_PIANO = '2,7'"));
        db.exec(
            QStringLiteral("UPDATE SUP_COEFF_VOL SET COEFF_UTILIZ = '0,25' WHERE DESCRIZ_VANO = 'Lastrico'"));
    }
    form->Frame3->hide();
    form->TabStrip1->setCurrentIndex(1);
    save(form, folder, "terraces-coefficients.png");

    // Every listed unit gets rooms of its own, then the table's thousandths.
    const QStringList owners { "Rossi Mario", "Bianchi Anna", "Esposito Luca", "Ferrari Giulia" };
    const int numbers[] = { 1, 3, 5, 7 };
    for (int i = 0; i < owners.size(); ++i)
        insert(terraces, QStringLiteral("SUP_COEFF_VOL"),
            { { "CODICE", "TER1" }, { "NOME_CONDOMINO", owners.at(i) }, { "PALAZ", 1 }, { "SCALA", "A" },
                { "INTERNO", numbers[i] }, { "DESCRIZ_VANO", "Balcone" },
                { "ESPRESSIONE", QStringLiteral("%1*2.5").arg(i + 3) }, { "H_PIANO", "2,7" } });
    form->RICALC_TOT_TER();
    form->Command1[4]->click();
    save(form, folder, "terraces-thousandths.png");
}

} // namespace
