#pragma once

#include "engine/var_gbl.h"
#include "platform/db.h"
#include "platform/ui/datasource.h"
#include "platform/ui/formregistry.h"
#include "platform/vb.h"
#include "support/child.h"
#include "support/fixtures.h"
#include "support/scripteddialogs.h"
#include "terraces/frm_terrazze.h"
#include "terraces/terracesforms.h"

#include <QCoreApplication>
#include <QEvent>

#include <gtest/gtest.h>

namespace zav::test {

/**
 * @brief A project PROVA open in a program folder of its own, with its terrace archive PROVA.TER
 * made from the template, scripted boxes and the comma as decimal separator. Rows are put into
 * either archive with the helpers; the terrace form is created with openForm().
 */
class TerracesTest : public ::testing::Test
{
protected:
    using Row = QList<std::pair<QString, QVariant>>;

    void SetUp() override
    {
        engine::VAR_GBL.reset();
        terraces::registerForms();
        project = folder.copyOf(QStringLiteral("ARCH_MIL.CLO"), QStringLiteral("ARCHIVI/PROVA.CDB"));
        terraces = folder.copyOf(QStringLiteral("TERRAZZE.CLO"), QStringLiteral("ARCHIVI/PROVA.TER"));
        engine::VAR_GBL.progetto_corrente = project;
        engine::VAR_GBL.nome_progetto = QStringLiteral("PROVA");
        engine::VAR_GBL.archivio_terrazze = terraces;
    }

    void TearDown() override
    {
        for (const QString &name :
            { terraces::RoomCopyFormName, terraces::TerraceTablesName, terraces::TerraceFormName })
            platform::FormRegistry::unload(name);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        engine::VAR_GBL.reset();
    }

    static void insert(const QString &path, const QString &table, const Row &values)
    {
        platform::Database db = platform::Database::open(path);
        db.insert(table, values);
    }

    /** The project's header with its count of buildings and the buildings of these numbers. */
    void buildings(const QVariant &count, const QList<int> &numbers)
    {
        insert(project, QStringLiteral("ANA_CONDO"), { { "NOME", "Condominio" }, { "NUM_PAL", count } });
        for (int number : numbers)
            insert(project, QStringLiteral("COMPOS_PAL"), { { "NUM_PAL", number }, { "NUM_SCALE", 1 } });
    }

    /** A unit of the project. */
    void unit(const QString &owner, int building, const QString &stair, const QVariant &floorCode,
        const QVariant &interno)
    {
        insert(project, QStringLiteral("CODIF_PIANI"),
            { { "PROPRIETARIO", owner }, { "NUM_PAL", building }, { "SCALA", stair }, { "SIGLA", floorCode },
                { "INTERNO", interno }, { "DESCRIZIONE", "Appartamento" } });
    }

    /** A room of a unit of the project (its building held as text, as the project holds it). */
    void projectRoom(const QString &owner, const QString &building, const QString &stair,
        const QVariant &interno, const QString &description, const Row &more = {})
    {
        Row values { { "NOME_CONDOMINO", owner }, { "PALAZ", building }, { "SCALA", stair },
            { "INTERNO", interno }, { "DESCRIZIONE", description } };
        values.append(more);
        insert(project, QStringLiteral("ESPRESSIONI"), values);
    }

    /** A terrace table. */
    void table(const QString &code, const QString &description)
    {
        insert(terraces, QStringLiteral("CODICE"), { { "CODICE", code }, { "DESCRIZIONE", description } });
    }

    /** A unit listed for a terrace table. */
    void listed(const QString &owner, int building, const QString &stair, const QString &floorCode,
        const QVariant &interno, const QString &code, const QString &description)
    {
        insert(terraces, QStringLiteral("ELENCO"),
            { { "PROPRIETARIO", owner }, { "NUM_PAL", building }, { "SCALA", stair }, { "SIGLA", floorCode },
                { "INTERNO", interno }, { "COD_TERRAZZE", code }, { "DESCRIZIONE_TER", description } });
    }

    /** A room of a unit in a terrace table, with its surface, weighted surface and volume as text. */
    void terraceRoom(const QString &code, const QString &owner, int building, const QString &stair,
        const QVariant &interno, const QString &description, const QVariant &mq = {},
        const QVariant &sup = {}, const QVariant &volume = {})
    {
        insert(terraces, QStringLiteral("SUP_COEFF_VOL"),
            { { "CODICE", code }, { "NOME_CONDOMINO", owner }, { "PALAZ", building }, { "SCALA", stair },
                { "INTERNO", interno }, { "DESCRIZ_VANO", description }, { "MQ", mq },
                { "SUP_CONVENZIONALE", sup }, { "VOLUME", volume } });
    }

    /** One field of every row of a table of an archive, in stored order, as text. */
    static QStringList column(const QString &path, const QString &table, const QString &field)
    {
        platform::Database db = platform::Database::open(path);
        const platform::Recordset rs = db.table(table);
        QStringList values;
        for (int row = 0; row < rs.recordCount(); ++row)
            values << rs.value(row, rs.fieldIndex(field)).toString();
        return values;
    }

    /** One field of every row of a data source, in its order, as text. */
    static QStringList column(const platform::DataSource &source, const QString &field)
    {
        QStringList values;
        for (int row = 0; row < source.recordCount(); ++row)
            values << source.value(row, field).toString();
        return values;
    }

    static int rows(const QString &path, const QString &table)
    {
        platform::Database db = platform::Database::open(path);
        return db.table(table).recordCount();
    }

    /** The terrace form, created and loaded. */
    terraces::frm_terrazze *openForm()
    {
        return platform::FormRegistry::form<terraces::frm_terrazze>(terraces::TerraceFormName);
    }

    TempProgramFolder folder;
    platform::ScriptedDialogs boxes;
    platform::vb::DecimalSeparatorScope comma { u',' };
    QString project;
    QString terraces;
};

} // namespace zav::test
