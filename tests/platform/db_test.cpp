#include "platform/db.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <cmath>
#include <functional>
#include <limits>

using namespace zav::platform;

namespace {

// The code of the DbError a call throws, 0 when it throws none.
int errorCode(const std::function<void()> &call)
{
    try {
        call();
    } catch (const DbError &error) {
        return error.code();
    }
    return 0;
}

QStringList column(const Recordset &rs, const QString &field)
{
    QStringList values;
    const int position = rs.fieldIndex(field);
    for (int row = 0; row < rs.recordCount(); ++row)
        values << rs.value(row, position).toString();
    return values;
}

QString s(const char *text)
{
    return QString::fromUtf8(text);
}

class DbTest : public ::testing::Test
{
protected:
    QString file(const QString &name) const { return m_dir.filePath(name); }

    // A project archive holding the rooms table with the fields the unit key is made of.
    Database roomsArchive()
    {
        Database db = Database::create(file(QStringLiteral("PROVA.CDB")));
        db.createTable(QStringLiteral("ESPRESSIONI"),
            { { QStringLiteral("NOME_CONDOMINO"), FieldType::Text, 150 },
                { QStringLiteral("DESCRIZIONE"), FieldType::Text, 50 },
                { QStringLiteral("PALAZ"), FieldType::Text, 3 },
                { QStringLiteral("SCALA"), FieldType::Text, 10 },
                { QStringLiteral("INTERNO"), FieldType::Integer, 0 } });
        return db;
    }

    QTemporaryDir m_dir;
};

TEST_F(DbTest, OpeningNeverCreatesAFile)
{
    const QString missing = file(QStringLiteral("NUOVO.CDB"));
    EXPECT_EQ(errorCode([&] { Database::open(missing); }), DbErrorCode::DatabaseNotFound);
    EXPECT_FALSE(QFile::exists(missing));

    const QString inMissingFolder = file(QStringLiteral("manca/NUOVO.CDB"));
    EXPECT_EQ(errorCode([&] { Database::open(inMissingFolder); }), DbErrorCode::DatabaseNotFound);
    EXPECT_FALSE(QDir(file(QStringLiteral("manca"))).exists());

    EXPECT_EQ(errorCode([] { Database::open(QString()); }), DbErrorCode::DatabaseNotFound);
    EXPECT_EQ(QDir(m_dir.path()).entryList(QDir::NoDotAndDotDot | QDir::AllEntries), QStringList());

    // A file that is not a database fails when opened, not at its first use.
    const QString text = file(QStringLiteral("TESTO.CDB"));
    {
        QFile out(text);
        ASSERT_TRUE(out.open(QIODevice::WriteOnly));
        out.write("Questo non e' un archivio, ma un testo abbastanza lungo da avere un'intestazione.\n");
    }
    EXPECT_EQ(errorCode([&] { Database::open(text); }), DbErrorCode::Failed);

    // Creating over an existing file is refused and leaves the file alone.
    EXPECT_NE(errorCode([&] { Database::create(text); }), 0);
    QFile in(text);
    ASSERT_TRUE(in.open(QIODevice::ReadOnly));
    EXPECT_TRUE(in.readAll().startsWith("Questo non"));
}

TEST_F(DbTest, PathsWithUrlCharactersOpenTheRightFile)
{
    // '#', '%', '?' and blanks would break a file URL written without escaping.
    const QString path = file(s("Rossi #1 100% ? d'Urso.cdb"));
    {
        Database db = Database::create(path);
        db.createTable(QStringLiteral("NEW_TAB"), { { QStringLiteral("NOME_TABELLA"), FieldType::Text, 0 } });
        db.insert(QStringLiteral("NEW_TAB"), { { QStringLiteral("NOME_TABELLA"), QStringLiteral("SCALE") } });
    }
    EXPECT_EQ(QDir(m_dir.path()).entryList(QDir::Files), QStringList({ s("Rossi #1 100% ? d'Urso.cdb") }));
    Database db = Database::open(path);
    EXPECT_EQ(db.path(), path);
    EXPECT_EQ(column(db.table(QStringLiteral("NEW_TAB")), QStringLiteral("NOME_TABELLA")),
        QStringList({ QStringLiteral("SCALE") }));
}

TEST_F(DbTest, FieldKindsKeepTheirValues)
{
    Database db = Database::create(file(QStringLiteral("KIND.CDB")));
    db.createTable(QStringLiteral("T"),
        { { QStringLiteral("SIGLA"), FieldType::Text, 3 }, { QStringLiteral("MQ"), FieldType::Text, 0 },
            { QStringLiteral("NOTE"), FieldType::Memo, 0 },
            { QStringLiteral("INTERNO"), FieldType::Integer, 0 },
            { QStringLiteral("HPIANO"), FieldType::Double, 0 },
            { QStringLiteral("ASCENSORE"), FieldType::Boolean, 0 } });
    // Text that looks like a number stays the very text written (no numeric conversion).
    db.insert(QStringLiteral("T"),
        { { QStringLiteral("SIGLA"), QStringLiteral("007") }, { QStringLiteral("MQ"), QStringLiteral("1e3") },
            { QStringLiteral("NOTE"), s("Città, scala \"B\" — 2° piano") },
            { QStringLiteral("INTERNO"), QStringLiteral("3") }, { QStringLiteral("HPIANO"), 0.1 },
            { QStringLiteral("ASCENSORE"), true } });
    db.insert(QStringLiteral("T"),
        { { QStringLiteral("MQ"), QStringLiteral("12,50") }, { QStringLiteral("ASCENSORE"), false } });
    db.insert(QStringLiteral("T"), { { QStringLiteral("SIGLA"), QStringLiteral("T") } });
    // A yes/no field written as any non-zero number reads true.
    db.exec(QStringLiteral("INSERT INTO T (ASCENSORE) VALUES (-1)"));

    Recordset rs = db.table(QStringLiteral("T"));
    ASSERT_EQ(rs.recordCount(), 4);
    EXPECT_EQ(rs.value(0, 0), QVariant(QStringLiteral("007")));
    EXPECT_EQ(rs.value(0, 1), QVariant(QStringLiteral("1e3")));
    EXPECT_EQ(rs.value(0, 2).toString(), s("Città, scala \"B\" — 2° piano"));
    EXPECT_EQ(rs.value(0, 3).typeId(), QMetaType::LongLong);
    EXPECT_EQ(rs.value(0, 3).toLongLong(), 3);
    EXPECT_EQ(rs.value(0, 4).typeId(), QMetaType::Double);
    EXPECT_EQ(rs.value(0, 4).toDouble(), 0.1);
    EXPECT_EQ(rs.value(1, 1), QVariant(QStringLiteral("12,50")));

    const int yesNo = 5;
    EXPECT_EQ(rs.value(0, yesNo), QVariant(true));
    EXPECT_EQ(rs.value(1, yesNo), QVariant(false));
    EXPECT_EQ(rs.value(2, yesNo), QVariant(false)); // not written: a new yes/no field starts false
    EXPECT_EQ(rs.value(3, yesNo), QVariant(true));

    // A number that is not finite is never stored.
    for (const double bad :
        { std::numeric_limits<double>::quiet_NaN(), std::numeric_limits<double>::infinity() }) {
        EXPECT_EQ(errorCode([&] {
            db.insert(QStringLiteral("T"), { { QStringLiteral("HPIANO"), bad } });
        }),
            DbErrorCode::Failed);
    }
    EXPECT_EQ(db.table(QStringLiteral("T")).recordCount(), 4);
}

TEST_F(DbTest, AppendedFieldsGoAfterTheOthers)
{
    Database db = Database::create(file(QStringLiteral("OLD.CDB")));
    db.createTable(QStringLiteral("ANA_CONDO"),
        { { QStringLiteral("NOME"), FieldType::Text, 50 },
            { QStringLiteral("CHECK_SUP"), FieldType::Boolean, 0 },
            { QStringLiteral("CITTA"), FieldType::Text, 50 } });
    db.insert(QStringLiteral("ANA_CONDO"),
        { { QStringLiteral("NOME"), QStringLiteral("Le Querce") },
            { QStringLiteral("CITTA"), QStringLiteral("Bari") } });

    db.appendField(QStringLiteral("ANA_CONDO"), { QStringLiteral("NOTE"), FieldType::Memo, 0 });
    db.appendField(QStringLiteral("ANA_CONDO"), { QStringLiteral("RISC_50"), FieldType::Boolean, 0 });
    const QStringList expected { QStringLiteral("NOME"), QStringLiteral("CHECK_SUP"), QStringLiteral("CITTA"),
        QStringLiteral("NOTE"), QStringLiteral("RISC_50") };
    EXPECT_EQ(db.fields(QStringLiteral("ANA_CONDO")), expected);

    // The existing row keeps its values by position and gets an empty note and a false flag.
    Recordset rs = db.table(QStringLiteral("ANA_CONDO"));
    EXPECT_EQ(rs.fieldNames(), expected);
    ASSERT_EQ(rs.recordCount(), 1);
    EXPECT_EQ(rs.value(0, 2), QVariant(QStringLiteral("Bari")));
    EXPECT_FALSE(rs.value(0, 3).isValid());
    EXPECT_EQ(rs.value(0, 4), QVariant(false));

    // A second upgrade finds the fields present, whatever the case of the name, and changes nothing.
    EXPECT_EQ(errorCode([&] {
        db.appendField(QStringLiteral("ANA_CONDO"), { QStringLiteral("risc_50"), FieldType::Boolean, 0 });
    }),
        DbErrorCode::FieldExists);
    EXPECT_EQ(errorCode([&] {
        db.appendField(QStringLiteral("ANA_CONDO"), { QStringLiteral("NOTE"), FieldType::Text, 10 });
    }),
        DbErrorCode::FieldExists);
    EXPECT_EQ(db.fields(QStringLiteral("ANA_CONDO")), expected);
    EXPECT_EQ(errorCode([&] {
        db.appendField(QStringLiteral("TEMP_VARIE"), { QStringLiteral("RIGA"), FieldType::Double, 0 });
    }),
        DbErrorCode::ItemNotFound);
}

TEST_F(DbTest, OwnerNamesWithQuotesAreBoundNotPasted)
{
    Database db = roomsArchive();
    const QString owner = s("D'Amico \"Nino\"");
    const auto room = [&](const QString &name, const char *description, int unit) {
        return db.insert(QStringLiteral("ESPRESSIONI"),
            { { QStringLiteral("NOME_CONDOMINO"), name }, { QStringLiteral("DESCRIZIONE"), s(description) },
                { QStringLiteral("PALAZ"), QStringLiteral("1") },
                { QStringLiteral("SCALA"), QStringLiteral("A") }, { QStringLiteral("INTERNO"), unit } });
    };
    const qint64 kitchen = room(owner, "Cucina", 3);
    room(QStringLiteral("D'Amico"), "Bagno", 3);
    room(owner, "Sala", 4);

    const TableQuery unit { QStringLiteral("ESPRESSIONI"),
        { { QStringLiteral("NOME_CONDOMINO"), owner }, { QStringLiteral("PALAZ"), QStringLiteral("1") },
            { QStringLiteral("SCALA"), QStringLiteral("A") }, { QStringLiteral("INTERNO"), 3 } },
        {} };
    Recordset rs = db.select(unit);
    ASSERT_EQ(rs.recordCount(), 1);
    EXPECT_EQ(rs.tableName(), QStringLiteral("ESPRESSIONI"));
    EXPECT_EQ(rs.rowidAt(0), kitchen);
    EXPECT_EQ(rs.value(0, 0).toString(), owner);
    EXPECT_EQ(rs.value(0, 1).toString(), QStringLiteral("Cucina"));

    const QString renamed = s("O'Neil \"Bob\"); DROP TABLE ESPRESSIONI; --");
    db.update(QStringLiteral("ESPRESSIONI"), kitchen, { { QStringLiteral("NOME_CONDOMINO"), renamed } });
    EXPECT_TRUE(db.hasTable(QStringLiteral("ESPRESSIONI")));
    EXPECT_TRUE(db.select(unit).isEmpty());
    EXPECT_EQ(column(db.table(QStringLiteral("ESPRESSIONI")), QStringLiteral("NOME_CONDOMINO")),
        QStringList({ renamed, QStringLiteral("D'Amico"), owner }));

    TableQuery renamedUnit = unit;
    renamedUnit.where[0].value = renamed;
    EXPECT_EQ(column(db.select(renamedUnit), QStringLiteral("DESCRIZIONE")),
        QStringList({ QStringLiteral("Cucina") }));
}

TEST_F(DbTest, RowsComeInStoredOrderUnlessAnOrderIsNamed)
{
    Database db = Database::create(file(QStringLiteral("ORDER.CDB")));
    db.createTable(QStringLiteral("CODIF_PIANI"),
        { { QStringLiteral("PROPRIETARIO"), FieldType::Text, 0 },
            { QStringLiteral("SIGLA"), FieldType::Text, 3 },
            { QStringLiteral("NUM_PAL"), FieldType::Integer, 0 } });
    // Stored order differs from the order of every field.
    const struct
    {
        const char *owner;
        const char *floor;
        int building;
    } units[] = { { "Zeta", "T", 2 }, { "alfa", "10S", 1 }, { "Beta", "1S", 2 }, { "Mario", "2", 1 } };
    for (const auto &u : units) {
        db.insert(QStringLiteral("CODIF_PIANI"),
            { { QStringLiteral("PROPRIETARIO"), s(u.owner) }, { QStringLiteral("SIGLA"), s(u.floor) },
                { QStringLiteral("NUM_PAL"), u.building } });
    }
    const QString table = QStringLiteral("CODIF_PIANI");
    const QString owner = QStringLiteral("PROPRIETARIO");
    const QStringList stored { QStringLiteral("Zeta"), QStringLiteral("alfa"), QStringLiteral("Beta"),
        QStringLiteral("Mario") };
    EXPECT_EQ(column(db.table(table), owner), stored);
    EXPECT_EQ(column(db.select({ table, {}, {} }), owner), stored);

    const struct
    {
        QStringList orderBy;
        QStringList owners;
    } cases[] = {
        // Text orders without regard to case: "alfa" before "Beta".
        { { owner },
            { QStringLiteral("alfa"), QStringLiteral("Beta"), QStringLiteral("Mario"),
                QStringLiteral("Zeta") } },
        // Floor codes as text, descending: "T", "2", "1S", "10S".
        { { QStringLiteral("SIGLA DESC") },
            { QStringLiteral("Zeta"), QStringLiteral("Mario"), QStringLiteral("Beta"),
                QStringLiteral("alfa") } },
        // Rows equal on the field named keep their stored order.
        { { QStringLiteral("NUM_PAL") },
            { QStringLiteral("alfa"), QStringLiteral("Mario"), QStringLiteral("Zeta"),
                QStringLiteral("Beta") } },
        { { QStringLiteral("NUM_PAL desc"), QStringLiteral("SIGLA") },
            { QStringLiteral("Beta"), QStringLiteral("Zeta"), QStringLiteral("alfa"),
                QStringLiteral("Mario") } },
    };
    for (const auto &c : cases)
        EXPECT_EQ(column(db.select({ table, {}, c.orderBy }), owner), c.owners)
            << c.orderBy.join(u',').toStdString();

    // A row added after a deletion comes last.
    const Recordset before = db.table(table);
    db.remove(table, before.rowidAt(2));
    db.insert(table, { { owner, QStringLiteral("Anna") } });
    EXPECT_EQ(column(db.table(table), owner),
        QStringList({ QStringLiteral("Zeta"), QStringLiteral("alfa"), QStringLiteral("Mario"),
            QStringLiteral("Anna") }));
}

TEST_F(DbTest, TransactionsRollBackUnlessCommitted)
{
    Database db = roomsArchive();
    Database other = Database::open(file(QStringLiteral("PROVA.CDB")));
    const QString rooms = QStringLiteral("ESPRESSIONI");
    const auto addRoom = [&](const char *description) {
        db.insert(rooms, { { QStringLiteral("DESCRIZIONE"), s(description) } });
    };

    {
        Transaction left = db.transaction();
        addRoom("Cucina");
        addRoom("Bagno");
        EXPECT_TRUE(left.active());
    }
    EXPECT_TRUE(db.table(rooms).isEmpty());

    {
        Transaction kept = db.transaction();
        addRoom("Sala");
        kept.commit();
        EXPECT_FALSE(kept.active());
    }
    EXPECT_EQ(
        column(other.table(rooms), QStringLiteral("DESCRIZIONE")), QStringList({ QStringLiteral("Sala") }));

    {
        Transaction undone = db.transaction();
        addRoom("Ripostiglio");
        undone.rollback();
        addRoom("Balcone"); // back to one commit per statement
    }
    EXPECT_EQ(column(other.table(rooms), QStringLiteral("DESCRIZIONE")),
        QStringList({ QStringLiteral("Sala"), QStringLiteral("Balcone") }));
}

TEST_F(DbTest, AFailedCommitThrowsAndRollsBack)
{
    // A deferred constraint is checked only at commit, so the commit itself fails.
    Database db = Database::create(file(QStringLiteral("FK.CDB")));
    db.exec(QStringLiteral("PRAGMA foreign_keys = ON"));
    db.exec(QStringLiteral("CREATE TABLE PAL (NUM INTEGER PRIMARY KEY)"));
    db.exec(QStringLiteral(
        "CREATE TABLE UNITA (NUM_PAL INTEGER REFERENCES PAL(NUM) DEFERRABLE INITIALLY DEFERRED)"));
    {
        Transaction t = db.transaction();
        db.insert(QStringLiteral("UNITA"), { { QStringLiteral("NUM_PAL"), 7 } });
        EXPECT_EQ(errorCode([&] { t.commit(); }), DbErrorCode::Failed);
        EXPECT_TRUE(t.active());
    }
    EXPECT_TRUE(db.table(QStringLiteral("UNITA")).isEmpty());
    db.insert(QStringLiteral("PAL"), { { QStringLiteral("NUM"), 7 } }); // the connection is usable again
}

TEST_F(DbTest, NullStaysApartFromEmptyText)
{
    Database db = Database::create(file(QStringLiteral("NULL.CDB")));
    db.createTable(QStringLiteral("T"),
        { { QStringLiteral("NOME"), FieldType::Text, 0 }, { QStringLiteral("N"), FieldType::Integer, 0 } });
    const QString t = QStringLiteral("T");
    const QString name = QStringLiteral("NOME");
    const qint64 nullRow = db.insert(t, { { name, QVariant() }, { QStringLiteral("N"), 1 } });
    const qint64 emptyRow
        = db.insert(t, { { name, QString(QLatin1StringView("")) }, { QStringLiteral("N"), 2 } });
    // A default-constructed QString is text too: empty, not Null.
    const qint64 defaultRow = db.insert(t, { { name, QString() }, { QStringLiteral("N"), 3 } });
    const qint64 unnamedRow = db.insert(t, { { QStringLiteral("N"), 4 } });

    Recordset rs = db.table(t);
    ASSERT_EQ(rs.recordCount(), 4);
    EXPECT_FALSE(rs.value(0, 0).isValid());
    EXPECT_TRUE(rs.value(1, 0).isValid());
    EXPECT_EQ(rs.value(1, 0).typeId(), QMetaType::QString);
    EXPECT_TRUE(rs.value(1, 0).toString().isEmpty());
    EXPECT_EQ(rs.value(2, 0).typeId(), QMetaType::QString);
    EXPECT_FALSE(rs.value(3, 0).isValid());

    const auto rowidsWhere = [&](const QVariant &value) {
        const Recordset found = db.select({ t, { { name, value } }, {} });
        QList<qint64> rowids;
        for (int row = 0; row < found.recordCount(); ++row)
            rowids << found.rowidAt(row);
        return rowids;
    };
    EXPECT_EQ(rowidsWhere(QVariant()), QList<qint64>({ nullRow, unnamedRow }));
    EXPECT_EQ(rowidsWhere(QString(QLatin1StringView(""))), QList<qint64>({ emptyRow, defaultRow }));

    db.update(t, emptyRow, { { name, QVariant() } });
    EXPECT_EQ(rowidsWhere(QVariant()), QList<qint64>({ nullRow, emptyRow, unnamedRow }));
}

TEST_F(DbTest, NamesAndTextCompareWithoutRegardToCase)
{
    Database db = roomsArchive();
    db.insert(QStringLiteral("ESPRESSIONI"),
        { { QStringLiteral("NOME_CONDOMINO"), QStringLiteral("ROSSI Mario") },
            { QStringLiteral("SCALA"), QStringLiteral("A") } });

    EXPECT_TRUE(db.hasTable(QStringLiteral("espressioni")));
    EXPECT_FALSE(db.hasTable(QStringLiteral("ESPRESSION")));
    EXPECT_EQ(db.fields(QStringLiteral("Espressioni")).first(), QStringLiteral("NOME_CONDOMINO"));
    EXPECT_EQ(errorCode([&] { db.createTable(QStringLiteral("espressioni"), { { QStringLiteral("X") } }); }),
        DbErrorCode::TableExists);

    Recordset rs = db.select({ QStringLiteral("ESPRESSIONI"),
        { { QStringLiteral("nome_condomino"), QStringLiteral("rossi mario") },
            { QStringLiteral("Scala"), QStringLiteral("a") } },
        {} });
    ASSERT_EQ(rs.recordCount(), 1);
    EXPECT_EQ(rs.fieldIndex(QStringLiteral("scala")), 3);
    EXPECT_TRUE(rs.hasField(QStringLiteral("Nome_Condomino")));
    EXPECT_FALSE(rs.hasField(QStringLiteral("NOME")));
    EXPECT_EQ(rs.value(QStringLiteral("nome_condomino")), QVariant(QStringLiteral("ROSSI Mario")));
}

TEST_F(DbTest, MissingTablesAndFieldsAreItemNotFound)
{
    Database db = roomsArchive();
    db.insert(QStringLiteral("ESPRESSIONI"), { { QStringLiteral("SCALA"), QStringLiteral("A") } });
    const QString rooms = QStringLiteral("ESPRESSIONI");
    const QString missing = QStringLiteral("MANCA");
    const Recordset rs = db.table(rooms);

    const struct
    {
        const char *what;
        std::function<void()> call;
    } cases[] = {
        { "table", [&] { db.table(missing); } },
        { "fields", [&] { db.fields(missing); } },
        { "drop", [&] { db.dropTable(missing); } },
        { "clear", [&] { db.clear(missing); } },
        { "insert into table",
            [&] {
                db.insert(missing, { { QStringLiteral("SCALA"), 1 } });
            } },
        { "insert field",
            [&] {
                db.insert(rooms, { { missing, 1 } });
            } },
        { "update field",
            [&] {
                db.update(rooms, rs.rowidAt(0), { { missing, 1 } });
            } },
        { "condition field",
            [&] {
                db.select({ rooms, { { missing, 1 } }, {} });
            } },
        { "order field",
            [&] {
                db.select({ rooms, {}, { missing + QStringLiteral(" DESC") } });
            } },
        { "free SQL", [&] { db.query(QStringLiteral("SELECT [MANCA] FROM ESPRESSIONI")); } },
        { "recordset field name", [&] { rs.value(missing); } },
        { "recordset field position", [&] { rs.value(5); } },
    };
    for (const auto &c : cases)
        EXPECT_EQ(errorCode(c.call), DbErrorCode::ItemNotFound) << c.what;
}

TEST_F(DbTest, NamesOtherThanLettersDigitsBlanksUnderscoresAreRefused)
{
    Database db = roomsArchive();
    const QString rooms = QStringLiteral("ESPRESSIONI");
    for (const char *bad :
        { "", "  ", "A;B", "X]", "T\"", "a-b", "ESPRESSIONI; DROP TABLE ESPRESSIONI", "[SCALA]" }) {
        const QString name = s(bad);
        EXPECT_EQ(errorCode([&] { db.table(name); }), DbErrorCode::InvalidName) << bad;
        EXPECT_EQ(
            errorCode([&] { db.createTable(name, { { QStringLiteral("X") } }); }), DbErrorCode::InvalidName)
            << bad;
        EXPECT_EQ(errorCode([&] {
            db.select({ rooms, { { name, 1 } }, {} });
        }),
            DbErrorCode::InvalidName)
            << bad;
        EXPECT_EQ(errorCode([&] {
            db.appendField(rooms, { name, FieldType::Text, 0 });
        }),
            DbErrorCode::InvalidName)
            << bad;
    }
    EXPECT_TRUE(db.hasTable(rooms));

    // A user table may be named with blanks, accents and digits.
    const QString userTable = s("SCALA B 2 PIÙ_ASCENSORE");
    db.createTable(userTable,
        { { QStringLiteral("CONDOMINO"), FieldType::Text, 150 }, { s("QUOTÀ 1"), FieldType::Double, 0 } });
    db.insert(userTable, { { s("QUOTÀ 1"), 12.5 } });
    EXPECT_EQ(db.tables(), QStringList({ rooms, userTable }));
    EXPECT_EQ(db.select({ userTable, { { s("QUOTÀ 1"), 12.5 } }, {} }).recordCount(), 1);
}

TEST_F(DbTest, ARecordsetHoldsNoLock)
{
    const QString path = file(QStringLiteral("PROVA.CDB"));
    Database first = roomsArchive();
    for (int unit = 1; unit <= 300; ++unit)
        first.insert(QStringLiteral("ESPRESSIONI"), { { QStringLiteral("INTERNO"), unit } });

    // Rows read through every kind of read stay alive while another connection writes.
    const Recordset whole = first.table(QStringLiteral("ESPRESSIONI"));
    const Recordset some
        = first.select({ QStringLiteral("ESPRESSIONI"), { { QStringLiteral("INTERNO"), 7 } }, {} });
    const Recordset free
        = first.query(QStringLiteral("SELECT INTERNO FROM ESPRESSIONI WHERE INTERNO > ?"), { 290 });
    Statement statement = first.prepare(QStringLiteral("SELECT INTERNO FROM ESPRESSIONI WHERE INTERNO < ?"));
    const Recordset prepared = statement.read({ 3 });

    Database second = Database::open(path);
    second.insert(QStringLiteral("ESPRESSIONI"), { { QStringLiteral("INTERNO"), 301 } });
    second.createTable(QStringLiteral("NEW_TAB"), { { QStringLiteral("NOME_TABELLA") } });

    EXPECT_EQ(whole.recordCount(), 300);
    EXPECT_EQ(some.recordCount(), 1);
    EXPECT_EQ(free.recordCount(), 10);
    EXPECT_EQ(prepared.recordCount(), 2);
    EXPECT_EQ(first.table(QStringLiteral("ESPRESSIONI")).recordCount(), 301);
    EXPECT_EQ(statement.read({ 3 }).recordCount(), 2);
    first.insert(QStringLiteral("NEW_TAB"), { { QStringLiteral("NOME_TABELLA"), QStringLiteral("SCALE") } });
}

TEST_F(DbTest, RowsAreEditedAndDeletedByRowid)
{
    Database db = roomsArchive();
    const QString rooms = QStringLiteral("ESPRESSIONI");
    const QString description = QStringLiteral("DESCRIZIONE");
    const qint64 first = db.insert(rooms, { { description, QStringLiteral("Cucina") } });
    const qint64 second = db.insert(rooms, { { description, QStringLiteral("Bagno") } });
    const qint64 third = db.insert(rooms, {});
    EXPECT_LT(first, second);
    EXPECT_LT(second, third);

    db.update(rooms, third, { { description, QStringLiteral("Sala") }, { QStringLiteral("INTERNO"), 5 } });
    db.remove(rooms, first);
    Recordset rs = db.table(rooms);
    ASSERT_EQ(rs.recordCount(), 2);
    EXPECT_EQ(rs.rowidAt(0), second);
    EXPECT_EQ(rs.rowidAt(1), third);
    EXPECT_EQ(rs.value(1, 1), QVariant(QStringLiteral("Sala")));
    EXPECT_EQ(rs.value(1, 4).toInt(), 5);

    // A row that is gone is reported, not silently skipped.
    EXPECT_EQ(errorCode([&] {
        db.update(rooms, first, { { description, QStringLiteral("X") } });
    }),
        DbErrorCode::NoCurrentRecord);
    EXPECT_EQ(errorCode([&] { db.remove(rooms, first); }), DbErrorCode::NoCurrentRecord);

    db.clear(rooms);
    EXPECT_TRUE(db.table(rooms).isEmpty());
    db.dropTable(rooms);
    EXPECT_FALSE(db.hasTable(rooms));
    EXPECT_EQ(db.tables(), QStringList());
}

TEST_F(DbTest, TheCursorWalksTheRows)
{
    Database db = roomsArchive();
    for (const char *room : { "Cucina", "Bagno", "Sala" })
        db.insert(QStringLiteral("ESPRESSIONI"), { { QStringLiteral("DESCRIZIONE"), s(room) } });

    Recordset rs = db.table(QStringLiteral("ESPRESSIONI"));
    QStringList seen;
    for (rs.moveFirst(); !rs.eof(); rs.moveNext())
        seen << rs.value(QStringLiteral("DESCRIZIONE")).toString();
    EXPECT_EQ(
        seen, QStringList({ QStringLiteral("Cucina"), QStringLiteral("Bagno"), QStringLiteral("Sala") }));
    EXPECT_EQ(errorCode([&] { rs.value(0); }), DbErrorCode::NoCurrentRecord);

    rs.moveLast();
    rs.movePrevious();
    EXPECT_EQ(rs.value(1), QVariant(QStringLiteral("Bagno")));
    EXPECT_EQ(rs.rowid(), rs.rowidAt(1));
    rs.movePrevious();
    rs.movePrevious();
    EXPECT_TRUE(rs.bof());
    EXPECT_EQ(errorCode([&] { rs.rowid(); }), DbErrorCode::NoCurrentRecord);

    const Recordset none = db.select(
        { QStringLiteral("ESPRESSIONI"), { { QStringLiteral("SCALA"), QStringLiteral("Z") } }, {} });
    EXPECT_TRUE(none.eof());
    EXPECT_TRUE(none.bof());
    EXPECT_EQ(none.fieldCount(), 5); // the fields are known even without rows
}

TEST_F(DbTest, APreparedStatementRunsOnceForEveryRow)
{
    Database db = roomsArchive();
    Statement insert
        = db.prepare(QStringLiteral("INSERT INTO ESPRESSIONI (NOME_CONDOMINO, INTERNO) VALUES (?, ?)"));
    for (int unit = 1; unit <= 3; ++unit) {
        EXPECT_EQ(insert.exec({ QStringLiteral("Bianchi"), unit }), 1);
        EXPECT_EQ(insert.lastInsertId(), unit); // the first rowids of a new table are 1, 2, 3
    }
    EXPECT_EQ(errorCode([&] { insert.exec({ QStringLiteral("Bianchi") }); }), DbErrorCode::Failed);

    Statement update = db.prepare(QStringLiteral("UPDATE ESPRESSIONI SET SCALA = ? WHERE INTERNO >= ?"));
    EXPECT_EQ(update.exec({ QStringLiteral("B"), 2 }), 2);

    const Recordset rs
        = db.query(QStringLiteral("SELECT INTERNO AS N, SCALA FROM ESPRESSIONI ORDER BY INTERNO DESC"));
    EXPECT_EQ(rs.fieldNames(), QStringList({ QStringLiteral("N"), QStringLiteral("SCALA") }));
    EXPECT_EQ(column(rs, QStringLiteral("n")),
        QStringList({ QStringLiteral("3"), QStringLiteral("2"), QStringLiteral("1") }));
    EXPECT_EQ(column(rs, QStringLiteral("SCALA")),
        QStringList({ QStringLiteral("B"), QStringLiteral("B"), QString() }));
    EXPECT_EQ(rs.rowidAt(0), -1); // free SQL carries no rowid
}

TEST_F(DbTest, BoundValuesKeepTheirKind)
{
    // A field declared without a type keeps whatever kind is stored in it, so what is read back shows
    // how each value was bound.
    Database db = Database::create(file(QStringLiteral("KINDS.CDB")));
    db.exec(QStringLiteral("CREATE TABLE T (V)"));
    Statement insert = db.prepare(QStringLiteral("INSERT INTO T (V) VALUES (?)"));
    const qlonglong beyond32Bits = qlonglong(1) << 40;
    const QString accented = s("Perché città 🏠");
    const struct
    {
        const char *what;
        QVariant bound;
        const char *storedAs;
        QVariant read;
    } cases[] = {
        { "64-bit whole number", beyond32Bits, "integer", QVariant(qlonglong(1099511627776)) },
        { "unsigned", QVariant(uint(4000000000u)), "integer", QVariant(qlonglong(4000000000)) },
        { "negative", QVariant(-3), "integer", QVariant(qlonglong(-3)) },
        { "true", QVariant(true), "integer", QVariant(qlonglong(1)) },
        { "false", QVariant(false), "integer", QVariant(qlonglong(0)) },
        { "double", QVariant(2.5), "real", QVariant(2.5) },
        { "text of digits", QStringLiteral("007"), "text", QVariant(QStringLiteral("007")) },
        { "default-constructed text", QString(), "text", QVariant(QString(QLatin1StringView(""))) },
        { "accents and a character beyond 16 bits", accented, "text", QVariant(accented) },
        { "Null", QVariant(), "null", QVariant() },
        { "Null of type text", QVariant(QMetaType::fromType<QString>()), "null", QVariant() },
        { "bytes with a zero inside", QByteArray("a\0b", 3), "blob", QVariant(QByteArray("a\0b", 3)) },
    };
    for (const auto &c : cases)
        insert.exec({ c.bound });

    const Recordset rs = db.query(QStringLiteral("SELECT typeof(V), V FROM T ORDER BY rowid"));
    ASSERT_EQ(rs.recordCount(), int(std::size(cases)));
    for (int row = 0; row < rs.recordCount(); ++row) {
        const auto &c = cases[row];
        EXPECT_EQ(rs.value(row, 0).toString(), QString::fromLatin1(c.storedAs)) << c.what;
        const QVariant read = rs.value(row, 1);
        EXPECT_EQ(read.typeId(), c.read.typeId()) << c.what;
        EXPECT_EQ(read, c.read) << c.what;
    }

    // Text written with accents is found again by a bound condition.
    EXPECT_EQ(db.query(QStringLiteral("SELECT rowid FROM T WHERE V = ?"), { accented }).recordCount(), 1);
}

// The bulk ways in and out: values bound one at a time keep their kind as exec() would give it, and
// rows handed over one at a time show each field's storage class and content in place.
TEST_F(DbTest, ValuesBoundOneAtATimeAndRowsReadInPlace)
{
    Database db = Database::create(file(QStringLiteral("BULK.CDB")));
    db.exec(QStringLiteral("CREATE TABLE T (V)"));
    Statement insert = db.prepare(QStringLiteral("INSERT INTO T (V) VALUES (?)"));
    const QString accented = s("Perché città 🏠");
    const QByteArray accentedUtf8 = accented.toUtf8();
    const QByteArray blob("a\0b", 3);
    const std::function<void()> binds[] = {
        [&] { insert.bindNull(1); },
        [&] { insert.bindInteger(1, qint64(1) << 40); },
        [&] { insert.bindReal(1, 2.5); },
        [&] { insert.bindText(1, accented); },
        [&] { insert.bindText(1, QString()); },
        [&] { insert.bindUtf8(1, accentedUtf8); },
        [&] {
            insert.bind(1, FieldView { StorageClass::Blob, 0, 0.0, QByteArrayView(blob) });
        },
        [&] {
            insert.bind(1, FieldView { StorageClass::Text, 0, 0.0, QByteArrayView("12,5") });
        },
        [&] {
            insert.bind(1, FieldView { StorageClass::Integer, 1, 0.0, {} });
        },
    };
    for (const auto &bind : binds) {
        bind();
        EXPECT_EQ(insert.run(), 1);
    }

    const struct
    {
        StorageClass storage;
        QVariant value;
    } expected[] = {
        { StorageClass::Null, QVariant() },
        { StorageClass::Integer, QVariant(qlonglong(1) << 40) },
        { StorageClass::Real, QVariant(2.5) },
        { StorageClass::Text, QVariant(accented) },
        { StorageClass::Text, QVariant(QString(QLatin1StringView(""))) },
        { StorageClass::Text, QVariant(accented) },
        { StorageClass::Blob, QVariant(blob) },
        { StorageClass::Text, QVariant(QStringLiteral("12,5")) },
        { StorageClass::Integer, QVariant(qlonglong(1)) },
    };
    Statement read = db.prepare(QStringLiteral("SELECT rowid, V FROM T ORDER BY rowid"));
    int row = 0;
    read.forEach({}, [&](const RowView &view) {
        ASSERT_LT(row, int(std::size(expected)));
        EXPECT_EQ(view.fieldCount(), 2);
        EXPECT_EQ(view.field(0).integer, row + 1);
        const FieldView field = view.field(1);
        EXPECT_EQ(field.storage, expected[row].storage) << row;
        EXPECT_EQ(field.toVariant(), expected[row].value) << row;
        EXPECT_EQ(errorCode([&] { view.field(2); }), DbErrorCode::ItemNotFound);
        ++row;
    });
    EXPECT_EQ(row, int(std::size(expected)));
    EXPECT_EQ(read.read({}).recordCount(), row); // the statement was released for its next run
}

// A run needs a value for every placeholder, and forgets them: no run reuses values of an earlier one.
TEST_F(DbTest, ValuesBoundOneAtATimeServeOneRun)
{
    Database db = roomsArchive();
    Statement insert = db.prepare(QStringLiteral("INSERT INTO ESPRESSIONI (SCALA, INTERNO) VALUES (?, ?)"));
    insert.bindText(1, u"A");
    EXPECT_EQ(errorCode([&] { insert.run(); }), DbErrorCode::Failed);
    // The failed run forgot the stair too.
    insert.bindInteger(2, 1);
    EXPECT_EQ(errorCode([&] { insert.run(); }), DbErrorCode::Failed);
    insert.bindText(1, u"B");
    insert.bindInteger(2, 2);
    EXPECT_EQ(insert.run(), 1);
    insert.bindInteger(2, 3);
    EXPECT_EQ(errorCode([&] { insert.run(); }), DbErrorCode::Failed);
    // Binding one placeholder twice is one value; a placeholder the statement lacks is refused, and
    // so is a number that is not finite.
    insert.bindText(1, u"C");
    insert.bindText(1, u"D");
    insert.bindInteger(2, 4);
    EXPECT_EQ(insert.run(), 1);
    EXPECT_EQ(errorCode([&] { insert.bindNull(3); }), DbErrorCode::Failed);
    EXPECT_EQ(
        errorCode([&] { insert.bindReal(2, std::numeric_limits<double>::infinity()); }), DbErrorCode::Failed);
    // exec() starts afresh whatever was bound before it.
    insert.bindText(1, u"E");
    EXPECT_EQ(insert.exec({ QStringLiteral("F"), 5 }), 1);
    insert.bindInteger(2, 6);
    EXPECT_EQ(errorCode([&] { insert.run(); }), DbErrorCode::Failed);

    EXPECT_EQ(column(db.query(QStringLiteral("SELECT SCALA FROM ESPRESSIONI ORDER BY rowid")),
                  QStringLiteral("SCALA")),
        QStringList({ QStringLiteral("B"), QStringLiteral("D"), QStringLiteral("F") }));
    db.close();
    EXPECT_EQ(errorCode([&] { insert.bindNull(1); }), DbErrorCode::Failed);
    EXPECT_EQ(errorCode([&] { insert.run(); }), DbErrorCode::Failed);
}

TEST_F(DbTest, PageCacheLimitIsSetForTheConnection)
{
    Database db = roomsArchive();
    db.setPageCacheLimit(65536);
    EXPECT_EQ(db.query(QStringLiteral("PRAGMA cache_size")).value(0, 0), QVariant(qlonglong(-65536)));
    // Another connection keeps the default.
    Database other = Database::open(file(QStringLiteral("PROVA.CDB")));
    EXPECT_NE(other.query(QStringLiteral("PRAGMA cache_size")).value(0, 0), QVariant(qlonglong(-65536)));
}

TEST_F(DbTest, RepeatedTextsReadBackAsWritten)
{
    // Neighbouring rows repeat values, differ in one character or in length, or hold Null, numbers or
    // empty text between equal texts; each field must read back as written.
    Database db = Database::create(file(QStringLiteral("REPEAT.CDB")));
    db.exec(QStringLiteral("CREATE TABLE T (A, B TEXT)"));
    const QVariantList first { QStringLiteral("A"), QStringLiteral("A"), QStringLiteral("AB"),
        QStringLiteral("A"), QVariant(), QStringLiteral("A"), 7, QStringLiteral("7"), QStringLiteral(""),
        QStringLiteral(""), s("Città"), s("Citta"), s("Città") };
    const QVariantList second { QStringLiteral("A"), QStringLiteral("B"), QStringLiteral("A"),
        QStringLiteral("A"), QStringLiteral("A"), QVariant(), QStringLiteral("A"), QStringLiteral("7"),
        QStringLiteral("7"), QStringLiteral("A"), QStringLiteral("A"), QStringLiteral("A"), s("Città") };
    Statement insert = db.prepare(QStringLiteral("INSERT INTO T (A, B) VALUES (?, ?)"));
    for (qsizetype row = 0; row < first.size(); ++row)
        insert.exec({ first.at(row), second.at(row) });

    Statement read = db.prepare(QStringLiteral("SELECT A, B FROM T ORDER BY rowid"));
    for (const Recordset &rs : { db.table(QStringLiteral("T")), read.read({}), read.read({}) }) {
        ASSERT_EQ(rs.recordCount(), first.size());
        for (int row = 0; row < rs.recordCount(); ++row) {
            EXPECT_EQ(rs.value(row, 0).typeId(),
                first.at(row).typeId() == QMetaType::Int ? QMetaType::LongLong : first.at(row).typeId())
                << row;
            EXPECT_EQ(rs.value(row, 0), first.at(row)) << row;
            EXPECT_EQ(rs.value(row, 1), second.at(row)) << row;
        }
    }
}

TEST_F(DbTest, YesNoFieldsReadAsBoolThroughEveryRead)
{
    Database db = Database::create(file(QStringLiteral("BOOL.CDB")));
    db.createTable(QStringLiteral("COMPOS_PAL"),
        { { QStringLiteral("NUM_PAL"), FieldType::Integer, 0 },
            { QStringLiteral("ASCENSORE"), FieldType::Boolean, 0 } });
    db.insert(QStringLiteral("COMPOS_PAL"),
        { { QStringLiteral("NUM_PAL"), 1 }, { QStringLiteral("ASCENSORE"), true } });
    db.insert(QStringLiteral("COMPOS_PAL"), { { QStringLiteral("NUM_PAL"), 2 } });

    // The field itself reads as yes/no; a sum over it is a number.
    const QString sql
        = QStringLiteral("SELECT ASCENSORE, ASCENSORE + 0 AS N FROM COMPOS_PAL ORDER BY NUM_PAL");
    Statement statement = db.prepare(sql);
    for (const Recordset &rs : { db.query(sql), statement.read({}) }) {
        ASSERT_EQ(rs.recordCount(), 2);
        EXPECT_EQ(rs.value(0, 0), QVariant(true));
        EXPECT_EQ(rs.value(1, 0), QVariant(false));
        EXPECT_EQ(rs.value(0, 1), QVariant(qlonglong(1)));
        EXPECT_EQ(rs.value(1, 1), QVariant(qlonglong(0)));
    }
}

TEST_F(DbTest, APreparedReadFollowsTheTableWhenAFieldIsAppended)
{
    Database db = roomsArchive();
    db.insert(QStringLiteral("ESPRESSIONI"), { { QStringLiteral("SCALA"), QStringLiteral("A") } });
    Statement all = db.prepare(QStringLiteral("SELECT * FROM ESPRESSIONI"));
    EXPECT_EQ(all.read({}).fieldCount(), 5);

    db.appendField(QStringLiteral("ESPRESSIONI"), { QStringLiteral("OPT_RISC"), FieldType::Boolean, 0 });
    const Recordset rs = all.read({});
    ASSERT_EQ(rs.fieldCount(), 6);
    EXPECT_EQ(rs.fieldName(5), QStringLiteral("OPT_RISC"));
    EXPECT_EQ(rs.value(0, 3), QVariant(QStringLiteral("A")));
    EXPECT_EQ(rs.value(QStringLiteral("opt_risc")), QVariant(false));
}

TEST_F(DbTest, ValueCountsAreCheckedOnEveryRun)
{
    Database db = roomsArchive();
    const QString rooms = QStringLiteral("ESPRESSIONI");
    Statement insert = db.prepare(QStringLiteral("INSERT INTO ESPRESSIONI (SCALA, INTERNO) VALUES (?, ?)"));
    Statement read = db.prepare(QStringLiteral("SELECT * FROM ESPRESSIONI WHERE INTERNO = ?"));
    const struct
    {
        const char *what;
        std::function<void()> call;
    } cases[] = {
        { "first run, too few", [&] { insert.exec({ QStringLiteral("A") }); } },
        { "first run, too many",
            [&] {
                insert.exec({ QStringLiteral("A"), 1, 2 });
            } },
        { "prepared read, none", [&] { read.read({}); } },
        { "free SQL, too many",
            [&] {
                db.exec(
                    QStringLiteral("INSERT INTO ESPRESSIONI (SCALA) VALUES (?)"), { QStringLiteral("A"), 1 });
            } },
        { "free SELECT, too few",
            [&] { db.query(QStringLiteral("SELECT * FROM ESPRESSIONI WHERE INTERNO = ?")); } },
    };
    for (const auto &c : cases)
        EXPECT_EQ(errorCode(c.call), DbErrorCode::Failed) << c.what;
    EXPECT_TRUE(db.table(rooms).isEmpty());

    // A refused run leaves the statement usable.
    EXPECT_EQ(insert.exec({ QStringLiteral("B"), 4 }), 1);
    EXPECT_EQ(column(read.read({ 4 }), QStringLiteral("SCALA")), QStringList({ QStringLiteral("B") }));
}

TEST_F(DbTest, OneStatementOfSqlAtATime)
{
    Database db = roomsArchive();
    const QString twoStatements
        = QStringLiteral("INSERT INTO ESPRESSIONI (SCALA) VALUES ('A'); DROP TABLE ESPRESSIONI");
    EXPECT_EQ(errorCode([&] { db.exec(twoStatements); }), DbErrorCode::Failed);
    EXPECT_EQ(errorCode([&] { db.prepare(twoStatements); }), DbErrorCode::Failed);
    EXPECT_EQ(errorCode([&] { db.query(QStringLiteral("SELECT 1; SELECT 2")); }), DbErrorCode::Failed);
    EXPECT_EQ(errorCode([&] { db.exec(QStringLiteral("  ")); }), DbErrorCode::Failed);
    EXPECT_TRUE(db.hasTable(QStringLiteral("ESPRESSIONI")));
    EXPECT_TRUE(db.table(QStringLiteral("ESPRESSIONI")).isEmpty());

    // A closing semicolon and blanks after it are one statement still.
    EXPECT_EQ(
        db.exec(QStringLiteral("INSERT INTO ESPRESSIONI (SCALA) VALUES (?);  \n"), { QStringLiteral("B") }),
        1);
}

TEST_F(DbTest, WritesTheDatabaseRefusesArePermissionDenied)
{
    Database db = roomsArchive();
    const qint64 row
        = db.insert(QStringLiteral("ESPRESSIONI"), { { QStringLiteral("SCALA"), QStringLiteral("A") } });
    Statement insert = db.prepare(QStringLiteral("INSERT INTO ESPRESSIONI (SCALA) VALUES (?)"));
    db.exec(QStringLiteral("PRAGMA query_only = ON"));

    EXPECT_EQ(errorCode([&] { insert.exec({ QStringLiteral("B") }); }), DbErrorCode::PermissionDenied);
    EXPECT_EQ(errorCode([&] {
        db.update(QStringLiteral("ESPRESSIONI"), row, { { QStringLiteral("SCALA"), QStringLiteral("C") } });
    }),
        DbErrorCode::PermissionDenied);
    EXPECT_EQ(column(db.table(QStringLiteral("ESPRESSIONI")), QStringLiteral("SCALA")),
        QStringList({ QStringLiteral("A") }));
}

TEST_F(DbTest, APreparedStatementEndsWithItsConnection)
{
    Database db = roomsArchive();
    Statement insert = db.prepare(QStringLiteral("INSERT INTO ESPRESSIONI (INTERNO) VALUES (?)"));
    Statement read = db.prepare(QStringLiteral("SELECT INTERNO FROM ESPRESSIONI"));

    // Moving the database keeps its statements working.
    Database moved = std::move(db);
    EXPECT_EQ(insert.exec({ 1 }), 1);
    EXPECT_EQ(insert.lastInsertId(), 1);
    EXPECT_EQ(read.read({}).recordCount(), 1);

    // Closing it ends them: a later run fails instead of touching a connection that is gone.
    moved.close();
    EXPECT_EQ(errorCode([&] { insert.exec({ 2 }); }), DbErrorCode::Failed);
    EXPECT_EQ(errorCode([&] { read.read({}); }), DbErrorCode::Failed);
    EXPECT_EQ(insert.lastInsertId(), 0);

    Database again = Database::open(file(QStringLiteral("PROVA.CDB")));
    EXPECT_EQ(column(again.table(QStringLiteral("ESPRESSIONI")), QStringLiteral("INTERNO")),
        QStringList({ QStringLiteral("1") }));
}

} // namespace

// A window shows a database failure in the program's wording once one is installed, and the
// database's own text before that or after it is removed.
TEST(DbFailureText, InstalledWordingReplacesTheDatabasesText)
{
    const DbError error(1, QStringLiteral("no such table: ESPRESSIONI"));
    EXPECT_EQ(failureText(error), QStringLiteral("no such table: ESPRESSIONI"));
    setFailureWording([](const DbError &e) { return QStringLiteral("Manca una tabella.\n") + e.message(); });
    EXPECT_EQ(failureText(error), QStringLiteral("Manca una tabella.\nno such table: ESPRESSIONI"));
    setFailureWording({});
    EXPECT_EQ(failureText(error), QStringLiteral("no such table: ESPRESSIONI"));
}
