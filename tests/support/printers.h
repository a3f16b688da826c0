#pragma once

// Readable failure messages for Qt values in every test program (included into each test source by
// the build, so every translation unit sees the same printers).

#include <QString>
#include <QVariant>

#include <ostream>

inline void PrintTo(const QString &text, std::ostream *os)
{
    *os << '"' << text.toStdString() << '"';
}

inline void PrintTo(const QVariant &value, std::ostream *os)
{
    if (value.isNull() && !value.isValid())
        *os << "Null";
    else
        *os << value.typeName() << '(' << value.toString().toStdString() << ')';
}
