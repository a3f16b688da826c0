#include "shell/forms/frm_opt.h"

#include "platform/db.h"
#include "support/child.h"
#include "support/openproject.h"
#include "support/scripteddialogs.h"

#include <QCheckBox>
#include <QPushButton>

#include <gtest/gtest.h>

namespace zav::test {
namespace {

using platform::Database;

class OptTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        Database db = Database::open(project.path());
        db.insert(QStringLiteral("ANA_CONDO"),
            { { QStringLiteral("NOME"), QStringLiteral("Condominio Aurora") },
                { QStringLiteral("CHECK_SUP"), true }, { QStringLiteral("CHECK_VOL"), false },
                { QStringLiteral("CHK_TOTMQ"), false }, { QStringLiteral("CHK_EXPRESS"), true } });
    }

    /** CHECK_SUP, CHECK_VOL, CHK_TOTMQ, CHK_EXPRESS as stored. */
    QList<bool> stored()
    {
        Database db = Database::open(project.path());
        const platform::Recordset rs = db.table(QStringLiteral("ANA_CONDO"));
        QList<bool> values;
        for (const char *field : { "CHECK_SUP", "CHECK_VOL", "CHK_TOTMQ", "CHK_EXPRESS" })
            values << rs.value(0, rs.fieldIndex(QString::fromLatin1(field))).toBool();
        return values;
    }

    static QCheckBox *box(QWidget &form, const char *name)
    {
        return child<QCheckBox>(form, QString::fromLatin1(name));
    }

    OpenProject project;
    platform::ScriptedDialogs boxes;
};

TEST_F(OptTest, TheBoxesOfAPairExcludeEachOtherAndRegistraStoresThem)
{
    shell::frm_opt form;
    form.show();
    EXPECT_EQ(form.windowTitle(), QStringLiteral("Opzioni"));
    EXPECT_TRUE(box(form, "Check1")->isChecked());
    EXPECT_FALSE(box(form, "Check2")->isChecked());
    EXPECT_TRUE(box(form, "Check4")->isChecked());

    box(form, "Check2")->click(); // "Volume"
    EXPECT_FALSE(box(form, "Check1")->isChecked());
    EXPECT_TRUE(box(form, "Check2")->isChecked());
    box(form, "Check3")->click(); // "Mq."
    EXPECT_FALSE(box(form, "Check4")->isChecked());
    // Clearing a box leaves its partner clear too.
    box(form, "Check3")->click();
    EXPECT_FALSE(box(form, "Check3")->isChecked());
    EXPECT_FALSE(box(form, "Check4")->isChecked());

    auto *registra = child<QPushButton>(form, QStringLiteral("Command1"));
    EXPECT_EQ(registra->toolTip(), QStringLiteral("Registra ed esce"));
    registra->click();
    EXPECT_EQ(stored(), (QList<bool> { false, true, false, false }));
    EXPECT_FALSE(form.isVisible());
    EXPECT_TRUE(boxes.shown().isEmpty());
}

TEST_F(OptTest, ClosingThroughTheFrameStoresWhatWasTicked)
{
    shell::frm_opt form;
    form.show();
    box(form, "Check3")->click();
    form.close();
    EXPECT_EQ(stored(), (QList<bool> { true, false, true, false }));
}

// The calculation takes the weighted surface only when CHECK_SUP is stored true, the volume
// otherwise: the base pair shows that base, a new project's empty fields included.
TEST_F(OptTest, TheBaseInForceIsTicked)
{
    const struct
    {
        const char *name;
        QVariant sup;
        QVariant vol;
        bool surfaceTicked;
    } cases[] = {
        { "a new project: both empty", QVariant(), QVariant(), false },
        { "both stored clear", false, false, false },
        { "volume", false, true, false },
        { "surface", true, false, true },
        { "both stored ticked: the surface counts", true, true, true },
        { "volume ticked, surface empty", QVariant(), true, false },
    };
    for (const auto &c : cases) {
        SCOPED_TRACE(c.name);
        {
            Database db = Database::open(project.path());
            const platform::Recordset rs = db.table(QStringLiteral("ANA_CONDO"));
            db.update(QStringLiteral("ANA_CONDO"), rs.rowidAt(0),
                { { QStringLiteral("CHECK_SUP"), c.sup }, { QStringLiteral("CHECK_VOL"), c.vol } });
        }
        shell::frm_opt form;
        form.show();
        EXPECT_EQ(box(form, "Check1")->isChecked(), c.surfaceTicked);
        EXPECT_EQ(box(form, "Check2")->isChecked(), !c.surfaceTicked);
        // "Registra" stores the base shown.
        child<QPushButton>(form, QStringLiteral("Command1"))->click();
        EXPECT_EQ(stored().mid(0, 2), (QList<bool> { c.surfaceTicked, !c.surfaceTicked }));
    }
    EXPECT_TRUE(boxes.shown().isEmpty());
}

} // namespace
} // namespace zav::test
