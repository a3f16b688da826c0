#pragma once

#include "engine/var_gbl.h"
#include "platform/db.h"
#include "platform/ui/formregistry.h"
#include "platform/programend.h"
#include "support/scripteddialogs.h"
#include "shell/startup.h"
#include "support/fixtures.h"

#include <QCoreApplication>
#include <QEvent>
#include <QVariant>

#include <gtest/gtest.h>

#include <memory>

namespace zav::test {

/**
 * @brief A program folder of its own, scripted boxes, a recorded end of the program and the
 * shell's forms registered; every form still loaded is closed and deleted after the test.
 */
class ShellFormsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        engine::VAR_GBL.reset();
        shell::registerForms();
    }

    void TearDown() override
    {
        for (const char *name : { "frm_password", "frm_init", "INIZIO" })
            platform::FormRegistry::unload(QString::fromLatin1(name));
        processDeletes();
        engine::VAR_GBL.reset();
    }

    static void processDeletes() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

    /** @brief Writes the start-up password (field 0) and the flag of the settings record. */
    void setSettings(const QVariant &password, const QVariant &attiva)
    {
        platform::Database db = platform::Database::open(folder.file(QStringLiteral("vga.drv")));
        const platform::Recordset rs = db.table(QStringLiteral("GEPA"));
        ASSERT_EQ(rs.recordCount(), 1);
        db.update(QStringLiteral("GEPA"), rs.rowidAt(0),
            { { rs.fieldName(0), password }, { QStringLiteral("ATTIVA"), attiva } });
    }

    /** @brief Field 0 and ATTIVA of the settings record as stored. */
    std::pair<QVariant, QVariant> storedSettings()
    {
        platform::Database db = platform::Database::open(folder.file(QStringLiteral("vga.drv")));
        const platform::Recordset rs = db.table(QStringLiteral("GEPA"));
        if (rs.isEmpty())
            return {};
        return { rs.value(0, 0), rs.value(0, rs.fieldIndex(QStringLiteral("ATTIVA"))) };
    }

    TempProgramFolder folder;
    platform::ScriptedDialogs boxes;
    int programEnds = 0;
    platform::EndProgramHookScope endHook { [this] { ++programEnds; } };
};

} // namespace zav::test
