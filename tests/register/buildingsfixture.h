#pragma once

#include "engine/var_gbl.h"
#include "platform/db.h"
#include "platform/ui/formregistry.h"
#include "register/frm_comp_pal.h"
#include "support/openproject.h"
#include "support/scripteddialogs.h"

#include <QList>

#include <gtest/gtest.h>

namespace zav::test {

/**
 * @brief A project with its header record (and, as asked, buildings, units and rooms), the boxes
 * scripted, and the stepping buttons' beeps counted.
 */
class BuildingsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        register_::frm_comp_pal::setBeeper([this] { ++beeps; });
    }
    void TearDown() override { register_::frm_comp_pal::setBeeper({}); }

    platform::Database db() { return platform::Database::open(project.path()); }

    /** @brief The header record, with this number of buildings (none: empty). */
    void header(std::optional<int> count = std::nullopt)
    {
        platform::Database d = db();
        d.insert(QStringLiteral("ANA_CONDO"),
            { { QStringLiteral("NOME"), QStringLiteral("Condominio Aurora") },
                { QStringLiteral("NUM_PAL"), count ? QVariant(*count) : QVariant() } });
    }

    /** @brief Buildings of these numbers, and the header counting them. */
    void buildings(const QList<int> &numbers, std::optional<int> count = std::nullopt)
    {
        header(count ? count : std::optional<int>(int(numbers.size())));
        platform::Database d = db();
        for (int number : numbers)
            d.insert(QStringLiteral("COMPOS_PAL"),
                { { QStringLiteral("NUM_PAL"), number },
                    { QStringLiteral("DESCRIZIONE"), QStringLiteral("Palazzina %1").arg(number) } });
    }

    void unit(int building, const QString &owner)
    {
        db().insert(QStringLiteral("CODIF_PIANI"),
            { { QStringLiteral("NUM_PAL"), building }, { QStringLiteral("SCALA"), QStringLiteral("A") },
                { QStringLiteral("PROPRIETARIO"), owner }, { QStringLiteral("INTERNO"), 1 } });
    }

    void room(const QString &building, const QString &owner)
    {
        db().insert(QStringLiteral("ESPRESSIONI"),
            { { QStringLiteral("NOME_CONDOMINO"), owner }, { QStringLiteral("PALAZ"), building },
                { QStringLiteral("SCALA"), QStringLiteral("A") }, { QStringLiteral("INTERNO"), 1 } });
    }

    QList<int> storedBuildings()
    {
        const platform::Recordset rows
            = db().query(QStringLiteral("SELECT NUM_PAL FROM COMPOS_PAL ORDER BY NUM_PAL"));
        QList<int> numbers;
        for (int row = 0; row < rows.recordCount(); ++row)
            numbers << rows.value(row, 0).toInt();
        return numbers;
    }

    QVariant storedCount() { return db().query(QStringLiteral("SELECT NUM_PAL FROM ANA_CONDO")).value(0, 0); }

    QStringList column(const QString &sql)
    {
        const platform::Recordset rows = db().query(sql);
        QStringList values;
        for (int row = 0; row < rows.recordCount(); ++row)
            values << rows.value(row, 0).toString();
        return values;
    }

    OpenProject project;
    platform::ScriptedDialogs boxes;
    int beeps = 0;
};

} // namespace zav::test
