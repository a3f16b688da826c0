// Renders the unit workspace with a unit open into docs/workspace.png (in the folder named by
// ZAV_SCREENSHOT_DIR), for the documentation.

#include "support/screenshots.h"
#include "workspace/thousandthsviews.h"
#include "workspacefixture.h"

#include <QDir>
#include <QLabel>
#include <QMdiSubWindow>
#include <QTabWidget>

#include <gtest/gtest.h>

using zav::test::Fields;
using zav::workspace::frm_ins_coeff;
using zav::workspace::WorkspaceCommands;

namespace {

class Screenshot : public zav::test::WorkspaceTest
{
};

TEST_F(Screenshot, WorkspaceWithAUnitOpen)
{
    const QString folder = qEnvironmentVariable("ZAV_SCREENSHOT_DIR");
    if (folder.isEmpty())
        GTEST_SKIP() << "set ZAV_SCREENSHOT_DIR to write the picture";

    const zav::platform::vb::DecimalSeparatorScope separator(u',');
    const QString owner = QStringLiteral("D'Amico Giovanni");
    project.header(true, false, false);
    project.unit(owner, 1, QStringLiteral("A"), QStringLiteral("2"), 5, 2.7);
    const struct
    {
        const char *description;
        const char *expression;
        const char *window;
    } rooms[] = {
        { "Soggiorno", "4.20*5.15", "1.20*1.40" },
        { "Cucina", "3.10*3.60", "1.20*1.40" },
        { "Camera matrimoniale", "4.00*3.80+0.9*1.2", "1.20*1.40" },
        { "Camera", "3.20*3.50", "0.90*1.40" },
        { "Bagno", "2.10*2.40", "0.60*0.80" },
        { "Ripostiglio", "1.20*1.50", "C" },
        { "Disimpegno", "1.10*4.30", "" },
        { "Balcone", "1.20*4.50", "" },
    };
    for (const auto &room : rooms)
        project.room(owner, 1, QStringLiteral("A"), 5,
            { { QStringLiteral("DESCRIZIONE"), QString::fromUtf8(room.description) },
                { QStringLiteral("ESPRESSIONE"), QString::fromLatin1(room.expression) },
                { QStringLiteral("SUP_FINESTRA"), QString::fromLatin1(room.window) },
                { QStringLiteral("OPT_RISC"), QStringLiteral("S") } });

    main->resize(1320, 680);
    WorkspaceCommands::ins_coeff();
    frm_ins_coeff *form = loadedWorkspace();
    ASSERT_NE(form, nullptr);
    form->TOT_MQ_VOL();
    QCoreApplication::processEvents();

    const QImage picture = main->area()->subWindowList().at(0)->grab().toImage();
    ASSERT_TRUE(QDir().mkpath(folder));
    ASSERT_TRUE(zav::test::pictureWritten(picture, folder, QStringLiteral("workspace.png")));
}

TEST_F(Screenshot, StairView)
{
    const QString folder = qEnvironmentVariable("ZAV_SCREENSHOT_DIR");
    if (folder.isEmpty())
        GTEST_SKIP() << "set ZAV_SCREENSHOT_DIR to write the picture";

    const zav::platform::vb::DecimalSeparatorScope separator(u',');
    project.header(true, false, false, 1);
    zav::platform::Database db = zav::platform::Database::open(project.path());
    db.insert(QStringLiteral("COMPOS_PAL"),
        { { QStringLiteral("NUM_PAL"), 1 }, { QStringLiteral("NUM_SCALE"), 2 },
            { QStringLiteral("ASCENSORE"), true } });
    const char *owners[] = { "Rossi Mario", "Bianchi Anna", "D'Amico Giovanni", "Esposito Luca",
        "Ferrari Giulia", "Romano Paolo", "Colombo Sara", "Ricci Marco" };
    for (int i = 0; i < 8; ++i) {
        const int floor = 1 + i / 2;
        db.insert(QStringLiteral("CODIF_PIANI"),
            { { QStringLiteral("NUM_PAL"), 1 },
                { QStringLiteral("SCALA"), i < 6 ? QStringLiteral("A") : QStringLiteral("B") },
                { QStringLiteral("SIGLA"), QString::number(floor) },
                { QStringLiteral("PROPRIETARIO"), QString::fromUtf8(owners[i]) },
                { QStringLiteral("HPIANO"), 3.0 }, { QStringLiteral("HTERRA"), 3.0 * floor },
                { QStringLiteral("HASCENSORE"), 3.0 * (floor - 1) },
                { QStringLiteral("TOT_SUP"), 80 + 7 * i }, { QStringLiteral("TOT_VOL"), 240 + 21 * i },
                { QStringLiteral("INTERNO"), i + 1 }, { QStringLiteral("RIGA"), floor } });
    }
    db.close();
    zav::engine::VAR_GBL.calcolo_millesimi();
    boxes.clear();

    main->resize(1320, 680);
    WorkspaceCommands::ins_coeff();
    frm_ins_coeff *form = loadedWorkspace();
    ASSERT_NE(form, nullptr);
    form->TabStrip1->setCurrentIndex(5);
    QCoreApplication::processEvents();

    const QImage picture = main->area()->subWindowList().at(0)->grab().toImage();
    ASSERT_TRUE(QDir().mkpath(folder));
    ASSERT_TRUE(zav::test::pictureWritten(picture, folder, QStringLiteral("thousandths-stair.png")));
}

} // namespace

namespace {

TEST_F(Screenshot, UnitList)
{
    const QString folder = qEnvironmentVariable("ZAV_SCREENSHOT_DIR");
    if (folder.isEmpty())
        GTEST_SKIP() << "set ZAV_SCREENSHOT_DIR to write the picture";

    project.header(true, false, false, 2);
    for (int building : { 1, 2 })
        zav::platform::Database::open(project.path())
            .insert(QStringLiteral("COMPOS_PAL"), { { QStringLiteral("NUM_PAL"), building } });
    const struct
    {
        const char *owner;
        const char *stair;
        const char *floor;
        int interno;
    } units[] = {
        { "Bianchi Maria", "A", "T", 1 },
        { "D'Amico Giovanni", "A", "1", 2 },
        { "Esposito Luca", "A", "1", 3 },
        { "Ferrari Anna", "A", "2", 4 },
        { "Romano Paolo", "B", "T", 5 },
        { "Colombo Sara", "B", "1", 6 },
    };
    for (const auto &unit : units)
        project.unit(QString::fromUtf8(unit.owner), 1, QString::fromLatin1(unit.stair),
            QString::fromLatin1(unit.floor), unit.interno, 2.7);

    WorkspaceCommands::ins_coeff();
    QWidget *list = zav::platform::FormRegistry::showModeless(QStringLiteral("frm_elenco"));
    ASSERT_NE(list, nullptr);
    QCoreApplication::processEvents();
    const QImage picture = list->grab().toImage();
    ASSERT_TRUE(QDir().mkpath(folder));
    ASSERT_TRUE(zav::test::pictureWritten(picture, folder, QStringLiteral("elenco.png")));
    zav::platform::FormRegistry::unload(QStringLiteral("frm_elenco"));
    processDeletes();
}

} // namespace

namespace {

// The three views of a unit's rooms: docs/unit-surfaces.png, unit-coefficients.png, unit-volumes.png.
TEST_F(Screenshot, UnitViews)
{
    const QString folder = qEnvironmentVariable("ZAV_SCREENSHOT_DIR");
    if (folder.isEmpty())
        GTEST_SKIP() << "set ZAV_SCREENSHOT_DIR to write the pictures";

    const zav::platform::vb::DecimalSeparatorScope separator(u',');
    const QString owner = QStringLiteral("D'Amico Giovanni");
    // Heating by half heated volume and half radiant surface: the volumes view shows the radiant columns.
    project.header(false, false, true);
    project.unit(owner, 1, QStringLiteral("A"), QStringLiteral("2"), 5, 2.7);
    const struct
    {
        const char *description;
        const char *expression;
        const char *window;
        const char *coefficients[3]; // floor, orientation, exposure
        const char *heated;
        const char *radiant;
        const char *height;
    } rooms[] = {
        { "Soggiorno", "4.20*5.15", "1.20*1.40", { "1,00", "1,05", "1,00" }, "S", "4.20*2", "" },
        { "Cucina", "3.10*3.60", "1.20*1.40", { "1,00", "1,00", "0,95" }, "S", "3.10", "" },
        { "Camera matrimoniale", "4.00*3.80+0.9*1.2", "1.20*1.40", { "1,00", "1,05", "1,00" }, "S",
            "4.00*1.5", "" },
        { "Camera", "3.20*3.50", "0.90*1.40", { "1,00", "0,95", "1,00" }, "S", "3.20", "" },
        { "Bagno", "2.10*2.40", "0.60*0.80", { "1,00", "1,00", "1,00" }, "S", "2.10", "" },
        { "Ripostiglio", "1.20*1.50", "C", { "0,80", "1,00", "1,00" }, "", "", "2,40" },
        { "Disimpegno", "1.10*4.30", "", { "1,00", "1,00", "1,00" }, "S", "", "" },
        { "Balcone", "1.20*4.50", "", { "0,25", "", "" }, "", "", "" },
    };
    for (const auto &room : rooms) {
        Fields fields { { QStringLiteral("DESCRIZIONE"), QString::fromUtf8(room.description) },
            { QStringLiteral("ESPRESSIONE"), QString::fromLatin1(room.expression) },
            { QStringLiteral("SUP_FINESTRA"), QString::fromLatin1(room.window) },
            { QStringLiteral("OPT_RISC"), QString::fromLatin1(room.heated) },
            { QStringLiteral("ESPRES_RAD"), QString::fromLatin1(room.radiant) },
            { QStringLiteral("TOT_ESPRES_RAD"), *room.radiant ? QStringLiteral("0") : QString() },
            { QStringLiteral("H_PIANO"), QString::fromLatin1(room.height) } };
        for (int k = 0; k < 3; ++k)
            fields.append({ QStringLiteral("COEF%1").arg(k + 1), QString::fromLatin1(room.coefficients[k]) });
        project.room(owner, 1, QStringLiteral("A"), 5, fields);
    }

    main->resize(1320, 680);
    WorkspaceCommands::ins_coeff();
    frm_ins_coeff *form = loadedWorkspace();
    ASSERT_NE(form, nullptr);
    ASSERT_TRUE(QDir().mkpath(folder));
    const struct
    {
        int tab;
        const char *file;
    } views[] = { { 2, "unit-coefficients.png" }, { 3, "unit-volumes.png" }, { 1, "unit-surfaces.png" } };
    for (const auto &view : views) {
        form->TabStrip1->setCurrentIndex(view.tab - 1);
        QCoreApplication::processEvents();
        const QImage picture = main->area()->subWindowList().at(0)->grab().toImage();
        ASSERT_TRUE(zav::test::pictureWritten(picture, folder, QString::fromLatin1(view.file)));
    }
    EXPECT_TRUE(boxes.shown().isEmpty());
}

} // namespace
