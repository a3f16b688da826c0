#include "tables/typednumber.h"

#include "platform/vb.h"
#include "tables/tablearchive.h"

#include <cmath>

namespace zav::tables {

namespace {

/** A plain decimal number: an optional sign, digits and at most one decimal mark. */
bool isPlainNumber(const QString &text, QChar separator)
{
    int i = 0;
    if (i < text.size() && (text.at(i) == u'+' || text.at(i) == u'-'))
        ++i;
    int digits = 0;
    bool mark = false;
    for (; i < text.size(); ++i) {
        const QChar c = text.at(i);
        if (c >= u'0' && c <= u'9')
            ++digits;
        else if (c == separator && !mark)
            mark = true;
        else
            return false;
    }
    return digits > 0;
}

} // namespace

std::optional<QVariant> TypedNumber::read(const QString &typed)
{
    QString text = typed.trimmed();
    if (text.isEmpty())
        return QVariant();
    const QChar separator = platform::vb::decimalSeparator();
    const QChar other = separator == u',' ? u'.' : u',';
    text.replace(other, separator);
    if (!isPlainNumber(text, separator))
        return std::nullopt;
    const std::optional<double> number = platform::vb::CDbl(text);
    if (!number || !std::isfinite(*number))
        return std::nullopt;
    return platform::vb::CStr(*number);
}

void TypedNumber::refuse(const QString &typed)
{
    TableArchive::report(QStringLiteral("\"%1\" non è un numero: il valore non è stato registrato.\n"
                                        "Scrivere il coefficiente come numero, per esempio %2.")
                             .arg(typed.trimmed(), platform::vb::CStr(0.95)));
}

} // namespace zav::tables
