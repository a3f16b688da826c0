#pragma once

#include "engine/archivelayout.h"

#include <QList>

/** @brief The project archive's format, as the template's schema script makes it. */
namespace zav::shell::projectlayout {

/** @brief The tables of the project archive format, in the schema script's order. */
const QList<engine::archivelayout::Table> &format();

/** @brief The indexes of the project archive format: "CREATE INDEX IF NOT EXISTS" statements. */
const QStringList &indexes();

} // namespace zav::shell::projectlayout
