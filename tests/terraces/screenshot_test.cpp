// Renders the terrace form with a unit shown and the table's unit list into docs/terraces-form.png
// (in the folder named by ZAV_SCREENSHOT_DIR), for the manual.

#include "terraces/tab_terr.h"
#include "terracesfixture.h"

#include <QDir>
#include <QImage>
#include <QPushButton>

namespace {

class Screenshot : public zav::test::TerracesTest
{
};

TEST_F(Screenshot, TerraceFormWithItsUnitList)
{
    const QString folder = qEnvironmentVariable("ZAV_SCREENSHOT_DIR");
    if (folder.isEmpty())
        GTEST_SKIP() << "set ZAV_SCREENSHOT_DIR to write the picture";

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
    ASSERT_NE(form, nullptr);
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
    form->resize(1180, 600);
    form->show();
    QCoreApplication::processEvents();

    const QImage picture = form->grab().toImage();
    ASSERT_TRUE(QDir().mkpath(folder));
    ASSERT_TRUE(picture.save(QDir(folder).filePath(QStringLiteral("terraces-form.png"))));
}

} // namespace
