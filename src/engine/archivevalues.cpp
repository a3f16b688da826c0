#include "engine/archivevalues.h"

#include "platform/vb.h"

#include <array>
#include <cmath>

namespace zav::engine {

namespace vb = platform::vb;

namespace {

const std::array<QString, ArchiveValues::specialCount> specialCodes
    = { QStringLiteral("T"), QStringLiteral("1S"), QStringLiteral("2S"), QStringLiteral("3S"),
          QStringLiteral("4S"), QStringLiteral("5S"), QStringLiteral("6S"), QStringLiteral("7S"),
          QStringLiteral("8S"), QStringLiteral("9S"), QStringLiteral("10S"), QStringLiteral("R") };

bool isText(const QVariant &value)
{
    return value.typeId() == QMetaType::QString;
}

// Folds ASCII upper case to lower case, as the archive's case-blind text order does.
QChar foldCase(QChar c)
{
    return (c >= u'A' && c <= u'Z') ? QChar(c.unicode() + 32) : c;
}

} // namespace

bool ArchiveValues::isEmpty(const QVariant &value)
{
    return value.isNull() || (isText(value) && value.toString().isEmpty());
}

Num ArchiveValues::number(const QVariant &value)
{
    if (value.isNull())
        return std::nullopt;
    if (isText(value))
        return vb::CDbl(value.toString());
    bool ok = false;
    const double result = value.toDouble(&ok);
    if (!ok)
        return std::nullopt;
    return result;
}

std::optional<qint64> ArchiveValues::wholeNumber(const QVariant &value)
{
    const Num n = number(value);
    if (!n || !std::isfinite(*n) || std::floor(*n) != *n || std::fabs(*n) > 9e15)
        return std::nullopt;
    return qint64(*n);
}

bool ArchiveValues::isTrue(const QVariant &value)
{
    if (value.isNull())
        return false;
    if (value.typeId() == QMetaType::Bool)
        return value.toBool();
    if (isText(value)) {
        const QString t = value.toString().trimmed();
        if (t.compare(QStringLiteral("true"), Qt::CaseInsensitive) == 0)
            return true;
        if (t.compare(QStringLiteral("false"), Qt::CaseInsensitive) == 0)
            return false;
    }
    const Num n = number(value);
    return n && *n != 0.0;
}

QString ArchiveValues::text(const QVariant &value)
{
    if (value.isNull())
        return QString();
    if (value.typeId() == QMetaType::Double || value.typeId() == QMetaType::Float)
        return vb::CStr(value.toDouble());
    return value.toString();
}

QVariant ArchiveValues::field(Num value)
{
    return value ? QVariant(*value) : QVariant();
}

bool ArchiveValues::equals(const QVariant &value, const QString &text)
{
    return !value.isNull() && value.toString() == text;
}

Num ArchiveValues::formatted(Num value, const QString &pattern)
{
    if (!value || !std::isfinite(*value))
        return std::nullopt;
    QString written = vb::Format(*value, pattern);
    // A pattern without an integer digit writes ",5" or "-,5"; give the reading its zero back.
    const QChar separator = vb::decimalSeparator();
    if (written.startsWith(separator))
        written.prepend(u'0');
    else if (written.startsWith(QString(u'-') + separator))
        written.insert(1, u'0');
    return vb::CDbl(written);
}

int ArchiveValues::specialIndex(const QVariant &floorCode)
{
    if (floorCode.isNull())
        return -1;
    const QString code = floorCode.toString();
    for (int i = 0; i < specialCount; ++i) {
        if (specialCodes[i] == code)
            return i;
    }
    return -1;
}

int ArchiveValues::floorSlot(const QVariant &floorCode)
{
    if (floorCode.isNull())
        return 0;
    const QString code = floorCode.toString();
    if (code.isEmpty() || code.size() > 2 || code.at(0) == u'0')
        return 0;
    int k = 0;
    for (QChar c : code) {
        if (c < u'0' || c > u'9')
            return 0;
        k = k * 10 + (c.unicode() - u'0');
    }
    return k <= 30 ? k : 0;
}

bool ArchiveValues::floorCodeLess(const QVariant &a, const QVariant &b)
{
    if (a.isNull() || b.isNull())
        return a.isNull() && !b.isNull();
    const QString x = a.toString();
    const QString y = b.toString();
    const qsizetype n = std::min(x.size(), y.size());
    for (qsizetype i = 0; i < n; ++i) {
        const QChar cx = foldCase(x.at(i));
        const QChar cy = foldCase(y.at(i));
        if (cx != cy)
            return cx < cy;
    }
    return x.size() < y.size();
}

bool ArchiveValues::sameStairIgnoringCase(const QVariant &a, const QString &letter)
{
    return !a.isNull() && sameTextIgnoringCase(a.toString(), letter);
}

bool ArchiveValues::sameTextIgnoringCase(QStringView a, QStringView b)
{
    if (a.size() != b.size())
        return false;
    for (qsizetype i = 0; i < a.size(); ++i) {
        if (foldCase(a[i]) != foldCase(b[i]))
            return false;
    }
    return true;
}

} // namespace zav::engine
