#pragma once

#include <QObject>
#include <QString>

#include <gtest/gtest.h>

namespace zav::test {

/**
 * @brief The child of a form (at any depth) with this designer name and type. A missing child
 * fails the test at once with its name, and gives nullptr.
 */
template<class T> T *child(const QObject &parent, const QString &name)
{
    T *found = parent.findChild<T *>(name);
    if (!found)
        ADD_FAILURE() << "no child " << name.toStdString() << " of the wanted type in "
                      << parent.objectName().toStdString();
    return found;
}

} // namespace zav::test
