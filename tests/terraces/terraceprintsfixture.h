#pragma once

#include "platform/report/reportpreview.h"
#include "terraces/terraceprints.h"
#include "terracesfixture.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QPushButton>
#include <QRadioButton>

namespace zav::test {

/**
 * @brief The project CONDOMINIO with two terrace tables, "TER1" ("Lastrico solare") and "TER2",
 * and the terrace form with its print frame open on TER1.
 *
 * TER1 lists seven units, in this stored order:
 *
 *   0  Rossi Mario            1  A        floor "2"   unit 5
 *   1  D'Amico "Nino"         1  A        floor "T"   unit 3
 *   2  Rossi Mario            2  A        floor "1S"  unit 5   (the same owner and unit number)
 *   3  Bianchi Anna Maria     1  B        floor "S1"  unit 7
 *   4  Bianchi Anna Luisa     1  B        floor "S1"  unit 7   (first nine characters alike)
 *   5  SNC A/B                2  Nessuna  floor "3"   unit 2
 *   6  X:Y                    1  C        floor "1"   unit 9
 *
 * Rooms are added by the tests that read them.
 */
class TerracePrintsTest : public TerracesTest
{
protected:
    struct Listed
    {
        const char *owner;
        int building;
        const char *stair;
        const char *floor;
        int interno;
    };

    static constexpr Listed units[] = {
        { "Rossi Mario", 1, "A", "2", 5 },
        { "D'Amico \"Nino\"", 1, "A", "T", 3 },
        { "Rossi Mario", 2, "A", "1S", 5 },
        { "Bianchi Anna Maria", 1, "B", "S1", 7 },
        { "Bianchi Anna Luisa", 1, "B", "S1", 7 },
        { "SNC A/B", 2, "Nessuna", "3", 2 },
        { "X:Y", 1, "C", "1", 9 },
    };

    void SetUp() override
    {
        TerracesTest::SetUp();
        engine::VAR_GBL.nome_progetto = QStringLiteral("CONDOMINIO");
        buildings(2, { 1, 2 });
        table(QStringLiteral("TER1"), QStringLiteral("Lastrico solare"));
        table(QStringLiteral("TER2"), QStringLiteral("Terrazzi scala B"));
        for (const Listed &u : units)
            listed(QString::fromUtf8(u.owner), u.building, QString::fromLatin1(u.stair),
                QString::fromLatin1(u.floor), u.interno, QStringLiteral("TER1"),
                QStringLiteral("Lastrico solare"));
    }

    void TearDown() override
    {
        for (platform::ReportPreview *preview : platform::ReportPreview::openPreviews())
            preview->close();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        TerracesTest::TearDown();
    }

    /** The terrace form with the table of this code current and its print frame open. */
    terraces::frm_terrazze *openFrame(const QString &code = QStringLiteral("TER1"),
        const QString &description = QStringLiteral("Lastrico solare"))
    {
        terraces::frm_terrazze *form = openForm();
        form->selectTable(code, description);
        form->Command1[5]->click();
        return form;
    }

public:
    enum class Destination { None, Video, Printer, File };

protected:
    /** Chooses a destination and the ticks, then clicks "Stampa". */
    static void print(
        terraces::frm_terrazze *form, Destination destination, bool thousandths, bool rooms, bool all)
    {
        if (destination != Destination::None) {
            QRadioButton *option = destination == Destination::Video ? form->Option1
                : destination == Destination::Printer                ? form->Option2
                                                                     : form->Option3;
            option->setChecked(true);
        } else {
            // No option at all: the radio buttons are made exclusive again afterwards.
            for (QRadioButton *option : { form->Option1, form->Option2, form->Option3 }) {
                option->setAutoExclusive(false);
                option->setChecked(false);
                option->setAutoExclusive(true);
            }
        }
        form->Check1->setChecked(thousandths);
        form->Check8->setChecked(rooms);
        form->Check2->setChecked(all);
        form->Command2->click();
    }

    QString exportPath(const QString &name) const { return folder.file(QStringLiteral("ARCHIVI/") + name); }
    QString definition(const QString &name) const { return folder.file(QStringLiteral("STAMPE/") + name); }
};

} // namespace zav::test
