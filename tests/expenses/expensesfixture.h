#pragma once

#include "engine/var_gbl.h"
#include "expenses/expensearchive.h"
#include "expenses/expensesforms.h"
#include "expenses/summarytable.h"
#include "platform/db.h"
#include "platform/ui/formregistry.h"
#include "platform/vb.h"
#include "support/fixtures.h"
#include "support/scripteddialogs.h"

#include <QCoreApplication>
#include <QEvent>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace zav::test {

/**
 * @brief The project CONDO1, open in a program folder of its own, with scripted boxes, the comma
 * and the euro.
 *
 * Building 1 has stairs A and B and is heated, building 2 has stair A; no porter's lodge. Units,
 * stored out of order: Neri (2 A, floor "1", unit 4), Verdi (1 B, "2", 3), Rossi (1 A, "T", 1),
 * Bianchi (1 A, "1", 2). Thousandths: general 250, 250, 300, 200 (Rossi, Bianchi, Verdi, Neri);
 * building 300, 300, 400, 1000; stair 450, 550, 1000, 1000; lift 0, 1000, 1000, 1000; heating
 * 300, 300, 400 (building 1 only).
 */
class ExpensesTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        engine::VAR_GBL.reset();
        expenses::registerForms();
        m_symbol = platform::vb::currencySymbol();
        platform::vb::setCurrencySymbol(QStringLiteral("€"));
        project = folder.copyOf(QStringLiteral("ARCH_MIL.CLO"), QStringLiteral("ARCHIVI/CONDO1.cdb"));
        engine::VAR_GBL.progetto_corrente = project;
        engine::VAR_GBL.nome_progetto = QStringLiteral("CONDO1");
    }

    void TearDown() override
    {
        platform::FormRegistry::unload(expenses::ExpenseFormName);
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        platform::vb::setCurrencySymbol(m_symbol);
        engine::VAR_GBL.reset();
    }

    static void insert(
        platform::Database &d, const char *table, const QStringList &fields, const QList<QVariantList> &rows)
    {
        for (const QVariantList &row : rows) {
            QList<std::pair<QString, QVariant>> values;
            for (qsizetype i = 0; i < fields.size(); ++i)
                values.append({ fields.at(i), row.at(i) });
            d.insert(QString::fromLatin1(table), values);
        }
    }

    /** The project's header (building count) and composition (number, stairs). */
    void buildings(
        const QVariant &count, const QList<QVariantList> &composition, const QString &path = QString())
    {
        platform::Database d = platform::Database::open(path.isEmpty() ? project : path);
        insert(d, "ANA_CONDO", { "NOME", "NUM_PAL" }, { { "Condominio", count } });
        insert(d, "COMPOS_PAL", { "NUM_PAL", "NUM_SCALE" }, composition);
    }

    /** The whole CONDO1 project. */
    void fillProject(const QString &path = QString())
    {
        const QString file = path.isEmpty() ? project : path;
        buildings(2, { { 1, 2 }, { 2, 1 } }, file);
        platform::Database d = platform::Database::open(file);
        platform::Transaction transaction = d.transaction();
        insert(d, "CODIF_PIANI", { "NUM_PAL", "SCALA", "SIGLA", "PROPRIETARIO", "INTERNO", "DESCRIZIONE" },
            {
                { 2, "A", "1", "Neri", 4, "Negozio" },
                { 1, "B", "2", "Verdi", 3, "Box" },
                { 1, "A", "T", "Rossi", 1, "Appartamento" },
                { 1, "A", "1", "Bianchi", 2, "Appartamento" },
            });
        const QStringList fields = { "CONDOMINO", "PALAZ", "SCALA", "INTERNO", "MILLESIMI" };
        insert(d, "MILLESIMI", fields,
            { { "Rossi", "1", "A", 1, 250.0 }, { "Bianchi", "1", "A", 2, 250.0 },
                { "Verdi", "1", "B", 3, 300.0 }, { "Neri", "2", "A", 4, 200.0 } });
        insert(d, "TEMPORANEO", fields,
            { { "Rossi", "1", "A", 1, 300.0 }, { "Bianchi", "1", "A", 2, 300.0 },
                { "Verdi", "1", "B", 3, 400.0 }, { "Neri", "2", "A", 4, 1000.0 } });
        insert(d, "TEMPORANEO2", { "CONDOMINO", "PALAZ", "SCALA", "INTERNO", "MEDIA", "MEDIA_ASC" },
            { { "Rossi", "1", "A", 1, 450.0, 0.0 }, { "Bianchi", "1", "A", 2, 550.0, 1000.0 },
                { "Verdi", "1", "B", 3, 1000.0, 1000.0 }, { "Neri", "2", "A", 4, 1000.0, 1000.0 } });
        insert(d, "MIL_RISC", fields,
            { { "Rossi", "1", "A", 1, 300.0 }, { "Bianchi", "1", "A", 2, 300.0 },
                { "Verdi", "1", "B", 3, 400.0 } });
        transaction.commit();
    }

    /** An expense archive made and filled from the project, as "Crea Tabella" makes it. */
    QString makeArchive(const QString &name = QStringLiteral("CONDO1"))
    {
        const QString path = expenses::ExpenseArchive::pathFor(name);
        expenses::ExpenseArchive::copyTemplate(path);
        platform::Database archive = platform::Database::open(path);
        platform::Database units = platform::Database::open(project);
        expenses::ExpenseArchive::fill(archive, units);
        return path;
    }

    /**
     * A project of the same name, CONDO1, in another folder, filled as this one, whose four units
     * it has put into the summary table under its name, so that those rows are its. Returns its
     * archive.
     */
    QString namesakeWithSummaryRows(const QTemporaryDir &elsewhere)
    {
        const QString other = elsewhere.filePath(QStringLiteral("CONDO1.cdb"));
        EXPECT_TRUE(QFile::copy(folder.file(QStringLiteral("ARCH_MIL.CLO")), other));
        fillProject(other);
        platform::Database summary = platform::Database::open(folder.file(QStringLiteral("RIP_SPESE.MDB")));
        platform::Database source = platform::Database::open(other);
        EXPECT_EQ(expenses::SummaryTable::create(summary, source, QStringLiteral("CONDO1"), other), 4);
        return other;
    }

    /** A column of a table in stored order. */
    static QVariantList column(const QString &path, const QString &table, const QString &field)
    {
        platform::Database d = platform::Database::open(path);
        const platform::Recordset rs = d.table(table);
        QVariantList values;
        for (int row = 0; row < rs.recordCount(); ++row)
            values << rs.value(row, rs.fieldIndex(field));
        return values;
    }

    /** Rows of the stair or lift table as "building stair". */
    static QStringList stairRows(const QString &path, const QString &table)
    {
        const QVariantList b = column(path, table, QStringLiteral("PALAZZINA"));
        const QVariantList s = column(path, table, QStringLiteral("SCALA"));
        QStringList rows;
        for (qsizetype i = 0; i < b.size(); ++i)
            rows << b.at(i).toString() + u' ' + s.at(i).toString();
        return rows;
    }

    TempProgramFolder folder;
    platform::ScriptedDialogs boxes;
    platform::vb::DecimalSeparatorScope comma { u',' };
    QString project;

private:
    QString m_symbol;
};

} // namespace zav::test
