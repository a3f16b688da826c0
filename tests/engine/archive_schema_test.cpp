// The databases the program ships: the project archive template "ARCH_MIL.CLO", the settings
// database "vga.drv" and the user database "UTENTE.MDB", as the build lays them out.

#include "support/fixtures.h"

#include <QFile>
#include <QLocale>
#include <QSet>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlField>
#include <QSqlQuery>
#include <QSqlRecord>
#include <QStringList>
#include <QTemporaryDir>
#include <QUuid>

#include <gtest/gtest.h>

#include <vector>

namespace {

enum class Kind { Text, Memo, Integer, Double, Number, Boolean };

struct Field
{
    const char *name;
    Kind kind;
};

struct Table
{
    const char *name;
    std::vector<Field> fields;
};

constexpr Kind T = Kind::Text;
constexpr Kind M = Kind::Memo;
constexpr Kind I = Kind::Integer;
constexpr Kind D = Kind::Double;
constexpr Kind N = Kind::Number;
constexpr Kind B = Kind::Boolean;

std::vector<Field> coefficientLayout()
{
    return { { "DESCRIZIONE", T }, { "TAB_A", T }, { "TAB_B", T }, { "TAB_C", T }, { "TAB_D", T },
        { "TAB_E", T }, { "TAB_F", T }, { "TAB_G", T }, { "TAB_UTIL", T } };
}

std::vector<Field> generalLayout()
{
    return { { "CONDOMINO", T }, { "PALAZ", T }, { "SCALA", T }, { "MQ", D }, { "MILLESIMI", D },
        { "PIANO", T }, { "NOME_CONDO", T }, { "INPUT", D }, { "INTERNO", I }, { "RIGA", D } };
}

// Every table of a project archive with its fields in their positions. The fields that nothing
// addresses carry this program's own names (the RISERVA fields, the ID fields, TEMP_VARIE's).
std::vector<Table> archiveTables()
{
    return {
        { "ANA_CONDO",
            { { "NOME", T }, { "INDIRIZZO", T }, { "CITTA", T }, { "RISERVA1", T }, { "RISERVA2", T },
                { "NUM_PAL", I }, { "CHECK_SUP", B }, { "CHECK_VOL", B }, { "CHK_TOTMQ", B },
                { "CHK_EXPRESS", B }, { "RISC_VOL", B }, { "RISC_RAD", B }, { "PORTIERATO", B },
                { "RISERVA3", T }, { "RISERVA4", T }, { "NOTE", M }, { "RISC_50", B } } },
        { "COMPOS_PAL",
            { { "ID", I }, { "RISERVA", T }, { "NUM_PAL", I }, { "NUM_SCALE", N }, { "DESCRIZIONE", T },
                { "RISCALDAMENTO", B }, { "ASCENSORE", B } } },
        { "CODIF_PIANI",
            { { "ID", I }, { "NUM_PAL", I }, { "SCALA", T }, { "COD_CONDOM", T }, { "RIGA", N },
                { "DESCRIZIONE", T }, { "SIGLA", T }, { "PROPRIETARIO", T }, { "HTERRA", D }, { "HPIANO", D },
                { "HASCENSORE", D }, { "TOT_SUP", D }, { "TOT_VOL", D }, { "TOT_VOL_RISC", D },
                { "TOT_RAD_RISC", D }, { "INTERNO", I } } },
        { "ESPRESSIONI",
            { { "NOME_CONDOMINO", T }, { "DESCRIZIONE", T }, { "ESPRESSIONE", T }, { "MQ", T },
                { "PALAZ", T }, { "COEF1", T }, { "COEF2", T }, { "COEF3", T }, { "COEF4", T },
                { "COEF5", T }, { "COEF6", T }, { "COEF7", T }, { "COEF8", T }, { "TOT_COEF", T },
                { "SCALA", T }, { "H_PIANO", T }, { "TOT_VOL", T }, { "OPT_RISC", T }, { "ESPRES_RAD", T },
                { "TOT_ESPRES_RAD", T }, { "SUP_FINESTRA", T }, { "MQ_FINESTRA", T }, { "INTERNO", I },
                { "PIANO", T } } },
        { "MILLESIMI", generalLayout() },
        { "MIL_PORTIERATO", generalLayout() },
        { "TEMPORANEO",
            { { "CONDOMINO", T }, { "PALAZ", T }, { "SCALA", T }, { "MQ", D }, { "MILLESIMI", D },
                { "PIANO", T }, { "INTERNO", I }, { "RIGA", D } } },
        { "TEMPORANEO2",
            { { "CONDOMINO", T }, { "PALAZ", T }, { "SCALA", T }, { "MQ", D }, { "MILLESIMI", D },
                { "MIL_B", D }, { "PIANO", T }, { "MEDIA", D }, { "ASCENSORE", D }, { "MEDIA_ASC", D },
                { "INTERNO", I }, { "RIGA", D } } },
        { "MIL_RISC",
            { { "CONDOMINO", T }, { "PALAZ", T }, { "SCALA", T }, { "PIANO", T }, { "VOLUME", D },
                { "MILLESIMI", D }, { "INTERNO", I }, { "RIGA", D } } },
        { "NEW_TAB", { { "NOME_TABELLA", T } } },
        { "TEMP_VARIE",
            { { "CONDOMINO", T }, { "PALAZ", T }, { "SCALA", T }, { "MQ", D }, { "MILLESIMI", D },
                { "PIANO", T }, { "NOME_CONDO", T }, { "INPUT", D }, { "INTERNO", I }, { "PESO", D },
                { "RIGA", D } } },
        { "TAB_COEF", coefficientLayout() },
        { "TAB_COEF2", coefficientLayout() },
        { "TAB_COEF3", coefficientLayout() },
        { "TAB_COEF4", coefficientLayout() },
        { "TAB_COEF5", coefficientLayout() },
        { "TAB_COEF6", coefficientLayout() },
        { "TAB_COEF7", coefficientLayout() },
        { "TAB_COEF8", coefficientLayout() },
        { "TAB_WINDOW", { { "DESCR", T }, { "COEFF", T }, { "CAMPO", T } } },
    };
}

// One connection to a database file, removed with the object.
class Connection
{
public:
    explicit Connection(const QString &path, bool readOnly = true)
        : m_name(QUuid::createUuid().toString())
    {
        QSqlDatabase db = QSqlDatabase::addDatabase(QStringLiteral("QSQLITE"), m_name);
        db.setDatabaseName(path);
        if (readOnly)
            db.setConnectOptions(QStringLiteral("QSQLITE_OPEN_READONLY"));
        m_open = QFile::exists(path) && db.open();
    }
    ~Connection()
    {
        {
            QSqlDatabase db = QSqlDatabase::database(m_name, false);
            db.close();
        }
        QSqlDatabase::removeDatabase(m_name);
    }
    Connection(const Connection &) = delete;
    Connection &operator=(const Connection &) = delete;

    bool isOpen() const { return m_open; }
    QSqlDatabase db() const { return QSqlDatabase::database(m_name, false); }

    QStringList tables() const { return db().tables(); }

    QStringList fieldNames(const QString &table) const
    {
        QStringList names;
        QSqlQuery query(db());
        query.exec(QStringLiteral("PRAGMA table_info(\"%1\")").arg(table));
        while (query.next())
            names << query.value(1).toString();
        return names;
    }

    // Every row of a table in stored order.
    std::vector<std::vector<QVariant>> rows(const QString &table) const
    {
        std::vector<std::vector<QVariant>> result;
        QSqlQuery query(db());
        if (!query.exec(QStringLiteral("SELECT * FROM \"%1\" ORDER BY rowid").arg(table)))
            return result;
        while (query.next()) {
            std::vector<QVariant> row;
            for (int i = 0; i < query.record().count(); ++i)
                row.push_back(query.value(i));
            result.push_back(row);
        }
        return result;
    }

private:
    QString m_name;
    bool m_open = false;
};

QString programFile(const QString &name)
{
    return zav::test::builtProgramFolder() + u'/' + name;
}

// A writable copy of a shipped database, for the tests that probe by writing.
class ScratchCopy
{
public:
    explicit ScratchCopy(const QString &name)
    {
        m_path = m_dir.filePath(name);
        QFile::copy(programFile(name), m_path);
        QFile(m_path).setPermissions(QFile::ReadOwner | QFile::WriteOwner);
    }
    const QString &path() const { return m_path; }

private:
    QTemporaryDir m_dir;
    QString m_path;
};

const QString Template = QStringLiteral("ARCH_MIL.CLO");

bool isCoefficientTable(const QString &table)
{
    return table.startsWith(u"TAB_COEF") || table == u"TAB_WINDOW";
}

// A number held as text, read the Italian way (the templates ship with the comma).
double italianNumber(const QVariant &value, bool *ok)
{
    return QLocale(QLocale::Italian, QLocale::Italy).toDouble(value.toString(), ok);
}

TEST(ArchiveTemplate, HoldsEveryTableWithItsFieldsInOrder)
{
    Connection archive(programFile(Template));
    ASSERT_TRUE(archive.isOpen());

    QSet<QString> expectedTables;
    for (const Table &table : archiveTables()) {
        const QString name = QString::fromLatin1(table.name);
        expectedTables << name;
        QStringList expectedFields;
        for (const Field &field : table.fields)
            expectedFields << QString::fromLatin1(field.name);
        EXPECT_EQ(archive.fieldNames(name), expectedFields) << table.name;
    }
    const QStringList actual = archive.tables();
    EXPECT_EQ(QSet<QString>(actual.begin(), actual.end()), expectedTables);
}

// The kind of each field as stored: a probe text written into the field alone comes back as a
// number in number fields and untouched in text fields. Qt reports the declared kind the same way
// to the grids and check boxes bound to the field.
TEST(ArchiveTemplate, FieldsHaveTheirKinds)
{
    ScratchCopy copy(Template);
    Connection archive(copy.path(), false);
    ASSERT_TRUE(archive.isOpen());

    for (const Table &table : archiveTables()) {
        const QString tableName = QString::fromLatin1(table.name);
        const QSqlRecord record = archive.db().record(tableName);
        for (const Field &field : table.fields) {
            const QString fieldName = QString::fromLatin1(field.name);
            SCOPED_TRACE((tableName + u'.' + fieldName).toStdString());
            const bool text = field.kind == Kind::Text || field.kind == Kind::Memo;
            const QString probe = text ? QStringLiteral("007") : QStringLiteral("7");

            QSqlQuery insert(archive.db());
            ASSERT_TRUE(insert.prepare(
                QStringLiteral("INSERT INTO \"%1\" (\"%2\") VALUES (?)").arg(tableName, fieldName)));
            insert.addBindValue(probe);
            ASSERT_TRUE(insert.exec()) << insert.lastError().text().toStdString();
            QSqlQuery read(archive.db());
            ASSERT_TRUE(read.exec(QStringLiteral("SELECT typeof(\"%2\"), \"%2\" FROM \"%1\" WHERE rowid = %3")
                                      .arg(tableName, fieldName, insert.lastInsertId().toString())));
            ASSERT_TRUE(read.next());
            const QString storedAs = read.value(0).toString();

            const int qtType = record.field(fieldName).metaType().id();
            switch (field.kind) {
            case Kind::Text:
            case Kind::Memo:
                EXPECT_EQ(storedAs, u"text");
                EXPECT_EQ(read.value(1).toString(), u"007");
                EXPECT_EQ(qtType, QMetaType::QString);
                break;
            case Kind::Integer:
                EXPECT_EQ(storedAs, u"integer");
                EXPECT_EQ(qtType, QMetaType::Int);
                break;
            case Kind::Double:
                EXPECT_EQ(storedAs, u"real");
                EXPECT_EQ(qtType, QMetaType::Double);
                break;
            case Kind::Number:
                EXPECT_NE(storedAs, u"text");
                break;
            case Kind::Boolean:
                EXPECT_EQ(storedAs, u"integer");
                EXPECT_EQ(qtType, QMetaType::Bool);
                break;
            }
        }
    }
}

// The calculation adds the stair and lift shares and reads the unit totals as numbers: checked by
// position, as the engine reaches them.
TEST(ArchiveTemplate, EngineNumberPositionsAreFloatingPoint)
{
    Connection archive(programFile(Template));
    ASSERT_TRUE(archive.isOpen());
    const struct
    {
        const char *table;
        std::vector<int> positions;
    } cases[] = {
        { "TEMPORANEO2", { 3, 4, 5, 7, 8, 9, 11 } },
        { "CODIF_PIANI", { 8, 9, 10, 11, 12, 13, 14 } },
    };
    for (const auto &c : cases) {
        const QSqlRecord record = archive.db().record(QString::fromLatin1(c.table));
        for (int position : c.positions)
            EXPECT_EQ(record.field(position).metaType().id(), QMetaType::Double)
                << c.table << " position " << position;
    }
}

// Text compares without regard to case inside SQL, in every text field of every table.
TEST(ArchiveTemplate, TextFieldsCompareWithoutCase)
{
    ScratchCopy copy(Template);
    Connection archive(copy.path(), false);
    ASSERT_TRUE(archive.isOpen());

    for (const Table &table : archiveTables()) {
        const QString tableName = QString::fromLatin1(table.name);
        for (const Field &field : table.fields) {
            if (field.kind != Kind::Text && field.kind != Kind::Memo)
                continue;
            const QString fieldName = QString::fromLatin1(field.name);
            QSqlQuery query(archive.db());
            ASSERT_TRUE(query.exec(QStringLiteral("INSERT INTO \"%1\" (\"%2\") VALUES ('Rossi Mario')")
                                       .arg(tableName, fieldName)));
            ASSERT_TRUE(query.exec(QStringLiteral("SELECT count(*) FROM \"%1\" WHERE \"%2\" = 'ROSSI mario'")
                                       .arg(tableName, fieldName)));
            ASSERT_TRUE(query.next());
            EXPECT_EQ(query.value(0).toInt(), 1) << table.name << "." << field.name;
        }
    }
}

TEST(ArchiveTemplate, OnlyTheCoefficientTablesHoldRows)
{
    Connection archive(programFile(Template));
    ASSERT_TRUE(archive.isOpen());
    for (const Table &table : archiveTables()) {
        const QString name = QString::fromLatin1(table.name);
        if (isCoefficientTable(name))
            EXPECT_FALSE(archive.rows(name).empty()) << table.name;
        else
            EXPECT_TRUE(archive.rows(name).empty()) << table.name;
    }
}

TEST(ArchiveTemplate, WindowTableHasEightBandsWithFallingCoefficients)
{
    Connection archive(programFile(Template));
    ASSERT_TRUE(archive.isOpen());
    const auto rows = archive.rows(QStringLiteral("TAB_WINDOW"));
    ASSERT_EQ(rows.size(), 8u);

    // Bands 1 to 6 by the window ratio fall from 1 to 0.8; the two window codes give 0.7 and 0.6.
    const double expected[] = { 1.00, 0.96, 0.92, 0.88, 0.84, 0.80, 0.70, 0.60 };
    for (int band = 1; band <= 8; ++band) {
        const auto &row = rows[band - 1];
        SCOPED_TRACE(band);
        EXPECT_EQ(row[2].toString(), QString::number(band));
        EXPECT_FALSE(row[0].toString().trimmed().isEmpty());
        EXPECT_TRUE(row[1].toString().contains(u',')) << "written in the Italian form";
        bool ok = false;
        EXPECT_DOUBLE_EQ(italianNumber(row[1], &ok), expected[band - 1]);
        EXPECT_TRUE(ok);
    }
}

TEST(ArchiveTemplate, DestinationTableHoldsThePublishedCoefficients)
{
    Connection archive(programFile(Template));
    ASSERT_TRUE(archive.isOpen());
    const auto rows = archive.rows(QStringLiteral("TAB_COEF7"));
    const struct
    {
        const char *word; // a word the description must hold
        double coefficient;
    } expected[] = {
        { "camere", 1.00 },
        { "servizi", 0.90 },
        { "corridoi", 0.80 },
        { "logge", 0.50 },
        { "cantine", 0.45 },
        { "coperti", 0.30 },
        { "scoperti", 0.25 },
        { "terrazz", 0.22 },
        { "giardin", 0.15 },
    };
    ASSERT_EQ(rows.size(), std::size(expected));
    for (size_t i = 0; i < rows.size(); ++i) {
        SCOPED_TRACE(expected[i].word);
        EXPECT_TRUE(
            rows[i][0].toString().contains(QString::fromLatin1(expected[i].word), Qt::CaseInsensitive))
            << rows[i][0].toString().toStdString();
        bool ok = false;
        EXPECT_DOUBLE_EQ(italianNumber(rows[i][1], &ok), expected[i].coefficient);
        EXPECT_TRUE(ok);
    }
}

TEST(ArchiveTemplate, FloorTableHasOneRowPerFloorCode)
{
    Connection archive(programFile(Template));
    ASSERT_TRUE(archive.isOpen());
    QStringList codes;
    for (int level = 10; level >= 1; --level)
        codes << QString::number(level) + u'S';
    codes << QStringLiteral("T") << QStringLiteral("R");
    for (int floor = 1; floor <= 40; ++floor)
        codes << QString::number(floor);
    codes << QStringLiteral("S1");
    ASSERT_EQ(codes.size(), 53);

    QStringList descriptions;
    for (const auto &row : archive.rows(QStringLiteral("TAB_COEF"))) {
        descriptions << row[0].toString();
        EXPECT_EQ(row[1].toString(), u"1,00") << row[0].toString().toStdString();
    }
    EXPECT_EQ(descriptions, codes);
}

// What every coefficient table shares: the column A filled with numbers in the Italian form,
// the other columns and the column in use empty, and descriptions that the decimal separator
// conversion (which rewrites them with the numbers) leaves unchanged.
TEST(ArchiveTemplate, CoefficientTablesFillColumnAOnly)
{
    Connection archive(programFile(Template));
    ASSERT_TRUE(archive.isOpen());
    for (int k = 1; k <= 8; ++k) {
        const QString table = k == 1 ? QStringLiteral("TAB_COEF") : QStringLiteral("TAB_COEF%1").arg(k);
        SCOPED_TRACE(table.toStdString());
        const auto rows = archive.rows(table);
        EXPECT_GE(rows.size(), 3u);
        QSet<QString> seen;
        for (const auto &row : rows) {
            const QString description = row[0].toString();
            EXPECT_FALSE(description.trimmed().isEmpty());
            EXPECT_FALSE(description.contains(u',') || description.contains(u'.'))
                << description.toStdString();
            EXPECT_FALSE(seen.contains(description)) << "repeated " << description.toStdString();
            seen << description;

            bool ok = false;
            const double value = italianNumber(row[1], &ok);
            EXPECT_TRUE(ok && value > 0.0 && value <= 1.0) << row[1].toString().toStdString();
            EXPECT_TRUE(row[1].toString().contains(u','));
            if (k != 7) { // the destination table carries the published coefficients
                EXPECT_EQ(row[1].toString(), u"1,00");
            }
            for (int column = 2; column <= 8; ++column)
                EXPECT_TRUE(row[column].isNull()) << description.toStdString() << " column " << column;
        }
    }
}

TEST(SettingsDatabase, HoldsOneRecordWithoutPassword)
{
    Connection settings(programFile(QStringLiteral("vga.drv")));
    ASSERT_TRUE(settings.isOpen());
    EXPECT_EQ(settings.fieldNames(QStringLiteral("GEPA")).size(), 2);
    EXPECT_EQ(settings.fieldNames(QStringLiteral("GEPA")).value(1), u"ATTIVA");
    const auto rows = settings.rows(QStringLiteral("gepa"));
    ASSERT_EQ(rows.size(), 1u);
    // Empty text, not Null: an empty box then matches the stored password.
    EXPECT_FALSE(rows[0][0].isNull());
    EXPECT_EQ(rows[0][0].toString(), u"");
    EXPECT_FALSE(rows[0][1].isNull());
    EXPECT_FALSE(rows[0][1].toBool());
}

TEST(UserDatabase, HasTheSixFirmFieldsAndNoRecord)
{
    Connection user(programFile(QStringLiteral("UTENTE.MDB")));
    ASSERT_TRUE(user.isOpen());
    const QStringList expected = { QStringLiteral("RAG_SOC"), QStringLiteral("INDIRIZZO"),
        QStringLiteral("CAP"), QStringLiteral("CITTA"), QStringLiteral("MAIL"), QStringLiteral("TELEFONO") };
    EXPECT_EQ(user.fieldNames(QStringLiteral("DATI")), expected);
    const QSqlRecord record = user.db().record(QStringLiteral("DATI"));
    for (const QString &field : expected)
        EXPECT_EQ(record.field(field).metaType().id(), QMetaType::QString) << field.toStdString();
    EXPECT_TRUE(user.rows(QStringLiteral("DATI")).empty());
}

} // namespace
