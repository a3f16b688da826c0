// Reports of more than one table: the further tables of a definition, their selection, their place
// on the pages and in the RTF export, and the orientation a definition fixes.

#include "platform/db.h"
#include "platform/report/reportcontent.h"
#include "platform/report/reportdefinition.h"
#include "platform/report/reportengine.h"
#include "platform/report/reportpainter.h"
#include "platform/report_rtfreader.h"
#include "platform/vb.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

using namespace zav::platform;
using zav::test::RtfDocument;

namespace {

/** Units with their shares, and the amounts they share, in one database. */
class ReportSectionsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        database = dir.filePath(QStringLiteral("data.db"));
        Database db = Database::create(database);
        db.createTable(QStringLiteral("UNITS"),
            { { QStringLiteral("OWNER") }, { QStringLiteral("BLD") },
                { QStringLiteral("SHARE"), FieldType::Double } });
        db.createTable(QStringLiteral("AMOUNTS"),
            { { QStringLiteral("BLD") }, { QStringLiteral("AMOUNT"), FieldType::Double } });
        const QList<std::pair<QString, QVariantList>> rows = {
            { QStringLiteral("UNITS"), { QStringLiteral("Rossi"), QStringLiteral("1"), 10.5 } },
            { QStringLiteral("UNITS"), { QStringLiteral("Bianchi"), QStringLiteral("2"), 20.25 } },
            { QStringLiteral("AMOUNTS"), { QStringLiteral("2"), 300.0 } },
            { QStringLiteral("AMOUNTS"), { QStringLiteral("1"), 100.0 } },
            { QStringLiteral("AMOUNTS"), { QStringLiteral("3"), QVariant() } },
        };
        for (const auto &[table, values] : rows) {
            const Recordset shape = db.table(table);
            QList<std::pair<QString, QVariant>> fields;
            for (int i = 0; i < values.size(); ++i)
                fields.append({ shape.fieldName(i), values.at(i) });
            db.insert(table, fields);
        }
        report.ReportFileName = dir.filePath(QStringLiteral("TWO.GST"));
        report.DataFiles.at(0) = database;
        report.DataFiles.at(3) = database;
        write(definition);
    }

    void write(const QByteArray &json)
    {
        QFile file(report.ReportFileName);
        ASSERT_TRUE(file.open(QIODevice::WriteOnly | QIODevice::Truncate));
        file.write(json);
    }

    static inline const QByteArray definition = R"({
        "title": "Ripartizione",
        "orientation": "landscape",
        "fontSize": 7,
        "detail": { "slot": 0, "table": "UNITS" },
        "columns": [
            { "field": "OWNER", "heading": "Condomino", "width": 30 },
            { "field": "BLD", "heading": "Pal.", "width": 10 },
            { "field": "SHARE", "heading": "Quota", "width": 20, "format": "#,##0.00", "total": true }
        ],
        "sections": [
            { "title": "Importi per palazzina", "detail": { "slot": 3, "table": "AMOUNTS", "sort": ["BLD DESC"] },
              "columns": [
                { "field": "BLD", "heading": "Palazzina", "width": 10 },
                { "field": "AMOUNT", "heading": "Importo", "width": 10, "format": "#,##0.00", "total": true }
              ],
              "totalLabel": "Totale importi" }
        ]
    })";

    QTemporaryDir dir;
    QString database;
    ReportProperties report;
    vb::DecimalSeparatorScope comma { u',' };
};

} // namespace

TEST_F(ReportSectionsTest, AFurtherTableFollowsInItsOwnOrderWithItsOwnTotal)
{
    const ReportContent content = ReportEngine::prepare(report);
    EXPECT_EQ(content.orientation, QPageLayout::Landscape);
    EXPECT_EQ(content.fontSize, 7.0);
    EXPECT_EQ(content.rows, (QList<QStringList> { { "Rossi", "1", "10,50" }, { "Bianchi", "2", "20,25" } }));
    EXPECT_EQ(content.totals, (QStringList { "Totale", "", "30,75" }));
    ASSERT_EQ(content.sections.size(), 1);
    const ReportSectionContent &section = content.sections.first();
    EXPECT_EQ(section.title, QStringLiteral("Importi per palazzina"));
    // By building, descending; an empty amount prints empty and adds nothing.
    EXPECT_EQ(section.rows, (QList<QStringList> { { "3", "" }, { "2", "300,00" }, { "1", "100,00" } }));
    EXPECT_EQ(section.totals, (QStringList { "Totale importi", "400,00" }));
}

TEST_F(ReportSectionsTest, TheFormulaSelectsInEveryTableItNamesAndTheSortFieldsOrderTheMainOne)
{
    report.SelectionFormula = QStringLiteral("{AMOUNTS.BLD}='1' and {UNITS.BLD}='2'");
    report.SortFields.at(0) = QStringLiteral("-{UNITS.OWNER}");
    ReportContent content = ReportEngine::prepare(report);
    EXPECT_EQ(content.rows, (QList<QStringList> { { "Bianchi", "2", "20,25" } }));
    EXPECT_EQ(content.sections.first().rows, (QList<QStringList> { { "1", "100,00" } }));

    // A table no part of the report reads is refused, as for a report of one table.
    report.SelectionFormula = QStringLiteral("{OTHER.BLD}='1'");
    EXPECT_THROW(ReportEngine::prepare(report), ReportError);
}

TEST_F(ReportSectionsTest, ADefinitionOutOfShapeSaysWhere)
{
    const struct
    {
        const char *json;
        const char *said;
    } cases[] = {
        { R"({ "detail": { "slot": 0, "table": "UNITS" }, "columns": [ { "field": "OWNER" } ],
               "orientation": "sideways" })",
            "\"orientation\" deve essere portrait o landscape" },
        { R"({ "detail": { "slot": 0, "table": "UNITS" }, "columns": [ { "field": "OWNER" } ],
               "sections": [ { "title": "X", "columns": [ { "field": "BLD" } ] } ] })",
            "manca \"detail\" nella sezione 1" },
        { R"({ "detail": { "slot": 0, "table": "UNITS" }, "columns": [ { "field": "OWNER" } ],
               "sections": [ { "detail": { "slot": 0, "table": "AMOUNTS" }, "columns": [ { "width": 3 } ] } ] })",
            "manca \"field\" in colonna 1 della sezione 1" },
        { R"({ "detail": { "slot": 0, "table": "UNITS" }, "columns": [ { "field": "OWNER" } ], "fontSize": 40 })",
            "\"fontSize\" deve essere un numero da 5 a 14" },
        { R"({ "detail": { "slot": 0, "table": "UNITS" }, "columns": [ { "field": "OWNER" } ], "sections": 3 })",
            "\"sections\" deve essere un elenco" },
    };
    for (const auto &c : cases) {
        try {
            ReportDefinition::fromJson(c.json);
            ADD_FAILURE() << "accepted: " << c.json;
        } catch (const ReportError &error) {
            EXPECT_TRUE(error.message().contains(QString::fromUtf8(c.said))) << error.message().toStdString();
        }
    }
    // A section's field the table lacks stops the run.
    write(QByteArray(definition).replace("\"AMOUNT\", \"heading\"", "\"NOPE\", \"heading\""));
    EXPECT_THROW(ReportEngine::prepare(report), ReportError);
}

TEST_F(ReportSectionsTest, TheRtfHoldsBothTablesOnLandscapePages)
{
    report.Destination = ReportDestination::File;
    report.PrintFileType = RtfFileType;
    report.PrintFileName = dir.filePath(QStringLiteral("out.rtf"));
    ASSERT_TRUE(ReportEngine().run(report).ok);
    QFile file(report.PrintFileName);
    ASSERT_TRUE(file.open(QIODevice::ReadOnly));
    const RtfDocument doc = RtfDocument::read(file.readAll());
    EXPECT_TRUE(doc.balanced);
    EXPECT_TRUE(doc.controlWords.contains(QStringLiteral("landscape")));
    EXPECT_TRUE(doc.paragraphs.contains(QStringLiteral("Importi per palazzina")));
    EXPECT_EQ(doc.rows,
        (QList<QStringList> { { "Condomino", "Pal.", "Quota" }, { "Rossi", "1", "10,50" },
            { "Bianchi", "2", "20,25" }, { "Totale", "", "30,75" }, { "Palazzina", "Importo" }, { "3", "" },
            { "2", "300,00" }, { "1", "100,00" }, { "Totale importi", "400,00" } }));
}

TEST(ReportLayout, PiecesOfTablesFillThePagesInOrder)
{
    using Piece = ReportPainter::Piece;
    // A body of 100, rows and headings of 10, a section title of 5 and a gap of 2 between pieces.
    const ReportPainter::Heights heights { 100, 2, 5, 10, { 10, 10 }, {} };
    const auto content = [](int mainRows, bool mainTotal, int sectionRows, bool sectionTotal) {
        ReportContent c;
        c.columns = { ReportColumn {} };
        c.rows = QList<QStringList>(mainRows, QStringList { "x" });
        if (mainTotal)
            c.totals = { "t" };
        ReportSectionContent s;
        s.title = QStringLiteral("Sezione");
        s.columns = { ReportColumn {} };
        s.rows = QList<QStringList>(sectionRows, QStringList { "y" });
        if (sectionTotal)
            s.totals = { "t" };
        c.sections = { s };
        return c;
    };
    const auto same = [](const Piece &a, const Piece &b) {
        return a.table == b.table && a.firstRow == b.firstRow && a.endRow == b.endRow && a.total == b.total
            && a.title == b.title;
    };
    const struct
    {
        const char *what;
        ReportContent content;
        QList<QList<Piece>> pages;
    } cases[] = {
        // 10 + 3 rows + total leave 50; the section takes 2 + 5 + 10, its 2 rows and its total.
        { "both on one page", content(3, true, 2, true),
            { { { 0, 0, 3, true, false }, { 1, 0, 2, true, true } } } },
        // 10 + 8 rows leave 10: not enough for the section's opening and a row.
        { "the section on a page of its own", content(8, false, 3, true),
            { { { 0, 0, 8, false, false } }, { { 1, 0, 3, true, true } } } },
        // After 1 row, 80 are left: 17 for the opening, 6 rows; the rest under headings again.
        { "the section across two pages", content(1, false, 12, true),
            { { { 0, 0, 1, false, false }, { 1, 0, 6, false, true } }, { { 1, 6, 12, true, false } } } },
        // 9 rows fill the page: the total goes on the next under its headings, the empty section after it.
        { "a full page pushes the total over", content(9, true, 0, false),
            { { { 0, 0, 9, false, false } }, { { 0, 9, 9, true, false }, { 1, 0, 0, false, true } } } },
        { "empty tables print their headings and totals", content(0, false, 0, true),
            { { { 0, 0, 0, false, false }, { 1, 0, 0, true, true } } } },
    };
    for (const auto &c : cases) {
        const QList<ReportPainter::Page> pages = ReportPainter::layOut(c.content, heights);
        ASSERT_EQ(pages.size(), c.pages.size()) << c.what;
        for (qsizetype p = 0; p < pages.size(); ++p) {
            ASSERT_EQ(pages.at(p).size(), c.pages.at(p).size()) << c.what << " page " << p;
            for (qsizetype i = 0; i < pages.at(p).size(); ++i)
                EXPECT_TRUE(same(pages.at(p).at(i), c.pages.at(p).at(i)))
                    << c.what << " page " << p << " piece " << i;
        }
    }
}
