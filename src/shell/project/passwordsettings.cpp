#include "shell/project/passwordsettings.h"

#include "platform/db.h"
#include "platform/programfolder.h"

namespace zav::shell {

namespace {

const QString settingsFile = QStringLiteral("vga.drv");
const QString settingsTable = QStringLiteral("GEPA");
const QString attivaField = QStringLiteral("ATTIVA");

platform::Database openSettings()
{
    return platform::Database::open(platform::ProgramFolder::file(settingsFile));
}

// Writes one field of the first record, adding the record when the table is empty.
void writeFirstRecord(const QString &field, const QVariant &value)
{
    platform::Database db = openSettings();
    const platform::Recordset rs = db.table(settingsTable);
    if (rs.isEmpty())
        db.insert(settingsTable, { { field, value } });
    else
        db.update(settingsTable, rs.rowidAt(0), { { field, value } });
}

} // namespace

PasswordSettings PasswordSettings::read()
{
    PasswordSettings settings;
    platform::Database db = openSettings();
    const platform::Recordset rs = db.table(settingsTable);
    if (rs.isEmpty())
        return settings;
    settings.m_password = rs.value(0, 0);
    settings.m_attiva = rs.value(0, rs.fieldIndex(attivaField));
    return settings;
}

bool PasswordSettings::isActive() const
{
    return !m_attiva.isNull() && m_attiva.toBool();
}

void PasswordSettings::writePassword(const QString &password)
{
    // The password field is known only by its position.
    platform::Database db = openSettings();
    const QString field = db.fields(settingsTable).value(0);
    db.close();
    writeFirstRecord(field, password);
}

void PasswordSettings::writeAttiva(bool attiva)
{
    writeFirstRecord(attivaField, attiva);
}

} // namespace zav::shell
