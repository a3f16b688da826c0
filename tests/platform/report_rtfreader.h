#pragma once

#include <QByteArray>
#include <QList>
#include <QString>
#include <QStringList>

#include <cctype>

namespace zav::test {

/**
 * @brief What a test reads back from an RTF document: whether its groups balance, the paragraphs
 * outside tables, the table rows with their cells' text, and the control words met. A page header
 * is read where it stands, as the first page shows it, and kept also on its own in `headers`.
 * Footers, font and colour tables and "\*" destinations are skipped. "\'hh" is read in the
 * document's code page, Windows-1252 ("\'80" is the euro sign), "\uN" as its character (its one
 * fallback character skipped).
 */
struct RtfDocument
{
    bool balanced = true;
    QStringList paragraphs;
    QList<QStringList> rows;
    /** What one page header holds. */
    struct Header
    {
        QStringList paragraphs;
        QList<QStringList> rows;
    };
    /** Each page header, in the order met (one for each section that sets its own). */
    QList<Header> headers;
    QStringList controlWords;
    /** Bytes beyond 7-bit ASCII in the file (an RTF file must have none). */
    int rawNonAscii = 0;

    static RtfDocument read(const QByteArray &rtf)
    {
        RtfDocument doc;
        struct Group
        {
            bool skip = false;
            bool first = true;
            qsizetype header = -1; ///< the page header the group is part of, if any
        };
        QList<Group> stack { Group {} };
        QString text;
        QStringList cells;
        int fallback = 0;
        const auto skipping = [&] { return stack.last().skip; };
        const auto addChar = [&](QChar c) {
            if (skipping())
                return;
            if (fallback > 0) {
                --fallback;
                return;
            }
            text.append(c);
        };

        qsizetype i = 0;
        while (i < rtf.size()) {
            const char c = rtf.at(i);
            if (uchar(c) > 0x7F)
                ++doc.rawNonAscii;
            if (c == '{') {
                stack.append({ stack.last().skip, true, stack.last().header });
                ++i;
                continue;
            }
            if (c == '}') {
                if (stack.size() <= 1)
                    doc.balanced = false;
                else
                    stack.removeLast();
                ++i;
                continue;
            }
            if (c == '\r' || c == '\n') {
                ++i;
                continue;
            }
            if (c != '\\') {
                stack.last().first = false;
                addChar(QChar::fromLatin1(c));
                ++i;
                continue;
            }
            // A control symbol or word.
            ++i;
            if (i >= rtf.size())
                break;
            const char s = rtf.at(i);
            if (s == '\\' || s == '{' || s == '}') {
                addChar(QChar::fromLatin1(s));
                ++i;
                continue;
            }
            if (s == '\'') {
                const int value = rtf.mid(i + 1, 2).toInt(nullptr, 16);
                // Windows-1252 differs from Latin-1 in 0x80 to 0x9F (0 where the code page has no character).
                static const char16_t high[32] = { 0x20AC, 0, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0, 0x017D, 0, 0, 0x2018, 0x2019, 0x201C, 0x201D,
                    0x2022, 0x2013, 0x2014, 0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0, 0x017E, 0x0178 };
                addChar(QChar(value >= 0x80 && value < 0xA0 && high[value - 0x80] ? high[value - 0x80]
                                                                                  : char16_t(value)));
                i += 3;
                continue;
            }
            if (s == '*') {
                stack.last().skip = true;
                ++i;
                continue;
            }
            if (!std::isalpha(uchar(s))) {
                ++i;
                continue;
            }
            qsizetype start = i;
            while (i < rtf.size() && std::isalpha(uchar(rtf.at(i))))
                ++i;
            const QByteArray word = rtf.mid(start, i - start);
            start = i;
            if (i < rtf.size() && (rtf.at(i) == '-' || std::isdigit(uchar(rtf.at(i))))) {
                ++i;
                while (i < rtf.size() && std::isdigit(uchar(rtf.at(i))))
                    ++i;
            }
            const QByteArray parameter = rtf.mid(start, i - start);
            if (i < rtf.size() && rtf.at(i) == ' ')
                ++i;
            doc.controlWords.append(QString::fromLatin1(word));

            Group &group = stack.last();
            if (group.first && (word == "fonttbl" || word == "colortbl" || word == "footer"))
                group.skip = true;
            if (group.first && word == "header" && !group.skip) {
                group.header = doc.headers.size();
                doc.headers.append(Header {});
            }
            const qsizetype header = group.header;
            group.first = false;
            if (word == "u") {
                int code = parameter.toInt();
                if (code < 0)
                    code += 65536;
                addChar(QChar(code));
                if (!skipping())
                    fallback = 1;
            } else if (word == "line") {
                addChar(u'\n');
            } else if (word == "tab") {
                addChar(u'\t');
            } else if (word == "cell" && !skipping()) {
                cells.append(text);
                text.clear();
            } else if (word == "row" && !skipping()) {
                if (header >= 0)
                    doc.headers[header].rows.append(cells);
                doc.rows.append(cells);
                cells.clear();
                text.clear();
            } else if (word == "par" && !skipping()) {
                if (!text.isEmpty()) {
                    if (header >= 0)
                        doc.headers[header].paragraphs.append(text);
                    doc.paragraphs.append(text);
                }
                text.clear();
            }
        }
        if (stack.size() != 1)
            doc.balanced = false;
        return doc;
    }
};

} // namespace zav::test
