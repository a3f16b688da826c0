// The copy of the listed units' rooms from the project into a terrace table.

#include "engine/archive.h"
#include "terraces/frm_copia_dati.h"
#include "terraces/roomcopy.h"
#include "terracesfixture.h"

#include <QFile>
#include <QPushButton>

using zav::platform::Database;
using zav::platform::FormRegistry;
using zav::platform::ModalDriverScope;
using zav::platform::MsgIcon;
using zav::terraces::frm_copia_dati;
using zav::terraces::frm_terrazze;
using zav::terraces::RoomCopy;

namespace {

class RoomCopyTest : public zav::test::TerracesTest
{
protected:
    /** "Copia dati Condomini" of the terrace form, with the current table of this code, then "Copia". */
    void copyThroughTheForm(const QString &code, const QString &description)
    {
        form = openForm();
        form->selectTable(code, description);
        const ModalDriverScope driver([](QWidget *shown) {
            auto *dialog = qobject_cast<frm_copia_dati *>(shown);
            ASSERT_NE(dialog, nullptr);
            dialog->Command1[0]->click();
        });
        form->Command1[1]->click();
    }

    frm_terrazze *form = nullptr;
};

TEST_F(RoomCopyTest, EveryRoomFieldLandsInItsPlace)
{
    listed("Rossi", 1, "A", "2", 5, "T1", "Terrazzi");
    projectRoom("Rossi", "1", "A", 5, "Terrazzo",
        { { "ESPRESSIONE", "3*4" }, { "MQ", "12" }, { "COEF1", "1,1" }, { "COEF2", "1,2" },
            { "COEF3", "1,3" }, { "COEF4", "1,4" }, { "COEF5", "1,5" }, { "COEF6", "1,6" },
            { "COEF7", "1,7" }, { "COEF8", "1,8" }, { "TOT_COEF", "9,9" }, { "H_PIANO", "" },
            { "TOT_VOL", "30,3" }, { "OPT_RISC", "S" }, { "ESPRES_RAD", "2*2" }, { "TOT_ESPRES_RAD", "4" },
            { "SUP_FINESTRA", "1*1" }, { "MQ_FINESTRA", "1" }, { "PIANO", "2" } });
    const RoomCopy::Outcome outcome = RoomCopy::run(project, terraces, QStringLiteral("T1"));
    EXPECT_EQ(outcome.units, 1);
    EXPECT_EQ(outcome.rooms, 1);

    Database db = Database::open(terraces);
    const auto rs = db.table(QStringLiteral("SUP_COEFF_VOL"));
    ASSERT_EQ(rs.recordCount(), 1);
    const QVariantList expected { "T1", "Rossi", qlonglong(1), "A", qlonglong(5), "Terrazzo", "3*4", "12",
        "1,1", "1,2", "1,3", "1,4", "1,5", "1,6", "1,7", "1,8", "9,9", "", "30,3", "2" };
    ASSERT_EQ(rs.fieldCount(), 20);
    for (int field = 0; field < 20; ++field)
        EXPECT_EQ(rs.value(0, field), expected.at(field)) << rs.fieldName(field).toStdString();
}

TEST_F(RoomCopyTest, RoomsAreFoundAsTheUnitsRoomsQueryFindsThem)
{
    // Owners, buildings and stairs as texts without regard to the case of A to Z; unit numbers as numbers.
    const QString amico = QStringLiteral("D'Amico \"Nino\"");
    listed(amico, 1, "A", "2", 5, "T1", "Terrazzi");
    listed("ROSSI", 2, "b", "1", 3, "T1", "Terrazzi");
    listed("Città", 1, "A", "1", 7, "T1", "Terrazzi");
    listed("Gone", 1, "A", "1", 9, "T1", "Terrazzi"); // since removed from the project
    listed("Verdi", 1, "A", "1", 4, "T2", "Altri");
    projectRoom(amico, "1", "A", 5, "amico 1");
    projectRoom("Rossi", "2", "B", 3, "rossi 1");
    projectRoom(amico, "1", "A", 5, "amico 2");
    projectRoom("rossi", "02", "B", 3, "building 02 is not 2");
    projectRoom("Rossi", "2", "B", 4, "other unit number");
    projectRoom("CITTÀ", "1", "A", 7, "accents keep their case");
    projectRoom("Città", "1", "A", 7, "città 1");
    projectRoom("Verdi", "1", "A", 4, "listed in another table");

    RoomCopy::run(project, terraces, QStringLiteral("T1"));
    // The listed order, and within a unit the project's order.
    EXPECT_EQ(column(terraces, QStringLiteral("SUP_COEFF_VOL"), QStringLiteral("DESCRIZ_VANO")),
        (QStringList { "amico 1", "amico 2", "rossi 1", "città 1" }));
    EXPECT_EQ(
        column(terraces, QStringLiteral("SUP_COEFF_VOL"), QStringLiteral("CODICE")), QStringList(4, "T1"));

    // The same rooms as the per-unit query of the project's rooms finds for each listed unit.
    Database db = Database::open(project);
    int expected = 0;
    for (const auto &[owner, building, stair, interno] : { std::tuple { amico, 1, "A", 5 },
             { "ROSSI", 2, "b", 3 }, { "Città", 1, "A", 7 }, { "Gone", 1, "A", 9 } })
        expected
            += db.select(zav::engine::archive::roomsQuery(owner, building, stair, interno)).recordCount();
    EXPECT_EQ(rows(terraces, QStringLiteral("SUP_COEFF_VOL")), expected);
}

TEST_F(RoomCopyTest, AUnitsRoomsKeepTheProjectsOrderHoweverTheirKeysAreStored)
{
    // The same unit, its building once stored as bytes and once as text: the rooms still come in the
    // order the project stores them.
    listed("Rossi", 1, "A", "2", 5, "T1", "Terrazzi");
    insert(project, QStringLiteral("ESPRESSIONI"),
        { { "NOME_CONDOMINO", "Rossi" }, { "PALAZ", QByteArray("1") }, { "SCALA", "A" }, { "INTERNO", 5 },
            { "DESCRIZIONE", "first" } });
    projectRoom("ROSSI", "1", "a", 5, "second");
    insert(project, QStringLiteral("ESPRESSIONI"),
        { { "NOME_CONDOMINO", "rossi" }, { "PALAZ", QByteArray("1") }, { "SCALA", "A" }, { "INTERNO", 5 },
            { "DESCRIZIONE", "third" } });
    projectRoom("Rossi", "1", "A", 5, "fourth");
    EXPECT_EQ(RoomCopy::run(project, terraces, QStringLiteral("T1")).rooms, 4);
    EXPECT_EQ(column(terraces, QStringLiteral("SUP_COEFF_VOL"), QStringLiteral("DESCRIZ_VANO")),
        (QStringList { "first", "second", "third", "fourth" }));
}

// However many rooms are copied, on either side of the number the copy gathers at a time, each comes
// once, in the listed order, and within a unit in the project's order; rooms of a unit stored apart
// and rooms stored one after another are found alike.
TEST_F(RoomCopyTest, AnyNumberOfRoomsComesWholeAndInOrder)
{
    for (const int each : { 127, 128, 129, 300 }) {
        SCOPED_TRACE(testing::Message() << each << " rooms a unit");
        TearDown();
        SetUp();
        listed("Verdi", 1, "A", "1", 2, "T1", "Terrazzi");
        listed("Rossi", 1, "A", "1", 1, "T1", "Terrazzi");
        QStringList verdi;
        QStringList rossi;
        {
            Database db = Database::open(project);
            auto transaction = db.transaction();
            // The two units' rooms alternate for the first half, then Rossi's come together, then Verdi's.
            const auto room = [&db](const char *owner, int interno, const QString &description) {
                db.insert(QStringLiteral("ESPRESSIONI"),
                    { { "NOME_CONDOMINO", owner }, { "PALAZ", "1" }, { "SCALA", "A" }, { "INTERNO", interno },
                        { "DESCRIZIONE", description } });
            };
            for (int i = 0; i < each / 2; ++i) {
                rossi << QStringLiteral("r%1").arg(i);
                room("Rossi", 1, rossi.last());
                verdi << QStringLiteral("v%1").arg(i);
                room("Verdi", 2, verdi.last());
            }
            for (int i = each / 2; i < each; ++i) {
                rossi << QStringLiteral("r%1").arg(i);
                room("Rossi", 1, rossi.last());
            }
            for (int i = each / 2; i < each; ++i) {
                verdi << QStringLiteral("v%1").arg(i);
                room("Verdi", 2, verdi.last());
            }
            transaction.commit();
        }
        EXPECT_EQ(RoomCopy::run(project, terraces, QStringLiteral("T1")).rooms, 2 * each);
        EXPECT_EQ(
            column(terraces, QStringLiteral("SUP_COEFF_VOL"), QStringLiteral("DESCRIZ_VANO")), verdi + rossi);
    }
}

TEST_F(RoomCopyTest, CopyingAgainAppendsAgainAndEachTableGetsItsOwnCopy)
{
    listed("Rossi", 1, "A", "2", 5, "T1", "Terrazzi");
    listed("Rossi", 1, "A", "2", 5, "T2", "Altri");
    listed("Rossi", 1, "A", "2", 5, "T2", "Altri");
    projectRoom("Rossi", "1", "A", 5, "Terrazzo");
    projectRoom("Rossi", "1", "A", 5, "Balcone");
    RoomCopy::run(project, terraces, QStringLiteral("T1"));
    RoomCopy::run(project, terraces, QStringLiteral("T1"));
    EXPECT_EQ(column(terraces, QStringLiteral("SUP_COEFF_VOL"), QStringLiteral("DESCRIZ_VANO")),
        (QStringList { "Terrazzo", "Balcone", "Terrazzo", "Balcone" }));
    // A unit listed twice is copied twice.
    EXPECT_EQ(RoomCopy::run(project, terraces, QStringLiteral("T2")).rooms, 4);
    EXPECT_EQ(column(terraces, QStringLiteral("SUP_COEFF_VOL"), QStringLiteral("CODICE")),
        (QStringList { "T1", "T1", "T1", "T1", "T2", "T2", "T2", "T2" }));
}

TEST_F(RoomCopyTest, CopiaSaysDoneEvenForAnEmptyListAndShowsTheTablesUnits)
{
    buildings(1, { 1 });
    listed("Rossi", 1, "A", "2", 5, "T1", "Terrazzi");
    listed("Verdi", 1, "A", "2", 6, "T2", "Altri");
    projectRoom("Rossi", "1", "A", 5, "Terrazzo");
    const struct
    {
        const char *code;
        int rooms;
        QStringList list;
    } cases[] = { { "T9", 0, {} }, { "T1", 1, { "Rossi" } } };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.code);
        boxes.clear();
        copyThroughTheForm(QString::fromLatin1(c.code), QStringLiteral("Terrazzi"));
        EXPECT_EQ(rows(terraces, QStringLiteral("SUP_COEFF_VOL")), c.rooms);
        ASSERT_EQ(boxes.shown().size(), 1);
        EXPECT_EQ(boxes.shown().first().text, QStringLiteral("Copia effettuata"));
        EXPECT_EQ(boxes.shown().first().title, QStringLiteral("!!! Copia Dati Condomini !!!"));
        EXPECT_EQ(boxes.shown().first().icon, MsgIcon::Information);
        EXPECT_EQ(column(*form->Data5, QStringLiteral("PROPRIETARIO")), c.list);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_FALSE(FormRegistry::isLoaded(zav::terraces::RoomCopyFormName));
    }
}

TEST_F(RoomCopyTest, AFailedCopyAppendsNothingAndSaysSo)
{
    buildings(1, { 1 });
    listed("Rossi", 1, "A", "2", 5, "T1", "Terrazzi");
    for (const char *room : { "Terrazzo", "Guasto", "Balcone" })
        projectRoom("Rossi", "1", "A", 5, QString::fromLatin1(room));
    const struct
    {
        const char *name;
        std::function<void(const QString &project, const QString &terraces)> spoil;
    } cases[] = {
        { "a room that cannot be appended",
            [](const QString &, const QString &path) {
                Database db = Database::open(path);
                db.exec(QStringLiteral(
                    "CREATE TRIGGER guasto BEFORE INSERT ON SUP_COEFF_VOL "
                    "WHEN NEW.DESCRIZ_VANO = 'Guasto' BEGIN SELECT RAISE(ABORT, 'guasto'); END"));
            } },
        { "a project archive that cannot be opened",
            [](const QString &path, const QString &) { QFile::remove(path); } },
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        boxes.clear();
        c.spoil(project, terraces);
        copyThroughTheForm(QStringLiteral("T1"), QStringLiteral("Terrazzi"));
        EXPECT_EQ(rows(terraces, QStringLiteral("SUP_COEFF_VOL")), 0);
        ASSERT_EQ(boxes.shown().size(), 1);
        EXPECT_NE(boxes.shown().first().text, QStringLiteral("Copia effettuata"));
        EXPECT_TRUE(boxes.shown().first().text.startsWith(QStringLiteral("La copia non è stata fatta")));
        EXPECT_EQ(boxes.shown().first().icon, MsgIcon::Critical);
    }
}

} // namespace
