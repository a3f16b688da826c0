// zav_mkmanual [--title TITLE] OUTPUT.pdf CHAPTER.md...
// Writes the user's manual (or another document of the program folder) as a PDF: the Markdown chapters in the order given, each starting on a
// new page, laid out by Qt's text document and written by Qt's PDF writer.

#include <QFile>
#include <QFileInfo>
#include <QGuiApplication>
#include <QImage>
#include <QList>
#include <QPageLayout>
#include <QPageSize>
#include <QPdfWriter>
#include <QStringList>
#include <QTextBlock>
#include <QTextBlockFormat>
#include <QTextCursor>
#include <QTextDocument>
#include <QTextFragment>
#include <QTextFrame>
#include <QTextImageFormat>
#include <QTextTable>
#include <QUrl>

#include <cstdio>

namespace {

int fail(const QString &message)
{
    std::fprintf(stderr, "zav_mkmanual: %s\n", qPrintable(message));
    return 1;
}

} // namespace

int main(int argc, char *argv[])
{
    // Fonts need a GUI application; no display is needed to lay out a document.
    if (qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    QGuiApplication app(argc, argv);
    QStringList args = app.arguments();
    QString title = QStringLiteral("Manuale di Zav");
    if (args.size() > 2 && args.at(1) == QStringLiteral("--title")) {
        title = args.at(2);
        args.remove(1, 2);
    }
    if (args.size() < 3)
        return fail(QStringLiteral("usage: zav_mkmanual [--title TITLE] OUTPUT.pdf CHAPTER.md..."));

    QString markdown;
    for (const QString &chapter : args.mid(2)) {
        QFile file(chapter);
        if (!file.open(QIODevice::ReadOnly | QIODevice::Text))
            return fail(QStringLiteral("cannot read %1").arg(chapter));
        markdown += QString::fromUtf8(file.readAll()) + QStringLiteral("\n\n");
    }

    QTextDocument document;
    // Pictures are named relative to the chapters' folder.
    document.setBaseUrl(QUrl::fromLocalFile(QFileInfo(args.at(2)).absolutePath() + u'/'));
    QFont font(QStringLiteral("DejaVu Sans"));
    font.setPointSizeF(10.5);
    document.setDefaultFont(font);
    document.setMarkdown(markdown, QTextDocument::MarkdownDialectGitHub);

    // Pictures are loaded now (printing lays out a copy of the document, which would not find
    // them) and narrowed to the text's width.
    const QPageLayout page(
        QPageSize(QPageSize::A4), QPageLayout::Portrait, QMarginsF(20, 20, 20, 20), QPageLayout::Millimeter);
    const qreal textWidth = page.paintRect(QPageLayout::Point).width();
    struct Narrowed
    {
        int position;
        int length;
        QTextImageFormat format;
    };
    QList<Narrowed> narrowed;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextFragment fragment = it.fragment();
            QTextImageFormat format = fragment.charFormat().toImageFormat();
            if (!format.isValid())
                continue;
            const QUrl name(format.name());
            const QImage picture(document.baseUrl().resolved(name).toLocalFile());
            if (picture.isNull())
                return fail(QStringLiteral("cannot read the picture %1").arg(name.toString()));
            document.addResource(QTextDocument::ImageResource, name, picture);
            if (picture.width() > textWidth) {
                format.setWidth(textWidth);
                format.setHeight(textWidth * picture.height() / picture.width());
                narrowed.append({ fragment.position(), fragment.length(), format });
            }
        }
    }
    for (const Narrowed &picture : narrowed) {
        QTextCursor cursor(&document);
        cursor.setPosition(picture.position);
        cursor.setPosition(picture.position + picture.length, QTextCursor::KeepAnchor);
        cursor.setCharFormat(picture.format);
    }

    // Each chapter (a first-level heading) after the first starts a page.
    bool first = true;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        if (block.blockFormat().headingLevel() != 1)
            continue;
        if (!first) {
            QTextCursor cursor(block);
            QTextBlockFormat format = block.blockFormat();
            format.setPageBreakPolicy(QTextFormat::PageBreak_AlwaysBefore);
            cursor.setBlockFormat(format);
        }
        first = false;
    }

    // Tables with thin single rules and a little room in their cells.
    for (QTextFrame *frame : document.rootFrame()->childFrames()) {
        if (auto *table = qobject_cast<QTextTable *>(frame)) {
            QTextTableFormat format = table->format();
            format.setBorderCollapse(true);
            format.setBorder(0.5);
            format.setCellPadding(3);
            format.setCellSpacing(0);
            format.setWidth(QTextLength(QTextLength::PercentageLength, 100));
            table->setFormat(format);
        }
    }

    const QString output = args.at(1);
    const QString temporary = output + QStringLiteral(".tmp");
    {
        QPdfWriter writer(temporary);
        writer.setTitle(title);
        writer.setCreator(QStringLiteral("Zav"));
        writer.setPageLayout(page);
        document.print(&writer);
    }
    QFile::remove(output);
    if (!QFile::rename(temporary, output))
        return fail(QStringLiteral("cannot write %1").arg(output));
    return 0;
}
