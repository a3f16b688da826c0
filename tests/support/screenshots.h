#pragma once

#include <QImage>
#include <QPixmap>
#include <QString>

#include <gtest/gtest.h>

namespace zav::test {

/**
 * @brief Writes a picture for the documentation as the PNG `name` in `folder` (made when missing),
 * then reads it back: a success only when the file holds the picture whole, of its size, and the
 * picture shows something (more than one colour).
 */
::testing::AssertionResult pictureWritten(const QImage &picture, const QString &folder, const QString &name);
::testing::AssertionResult pictureWritten(const QPixmap &picture, const QString &folder, const QString &name);

} // namespace zav::test
