#pragma once

#include "platform/db.h"

#include <QStringList>

namespace zav::expenses {

/**
 * @brief Fails, without reading a row, as reading the rows a TableQuery names and then looking up
 * these fields would (see selectFields()).
 */
void checkFields(platform::Database &db, const platform::TableQuery &query, const QStringList &fields);

/**
 * @brief The rows a TableQuery names, reading only the fields given: the rowid at position 0, then
 * those fields in the order given, so that a large table is not read whole for a few of its fields.
 *
 * It fails as reading the whole rows and then looking up the fields (and those of `required`, which
 * are not read) would: a table or condition field that is missing first, then the first field
 * missing, said by its name (DbError ItemNotFound "Campo non trovato: NAME").
 */
platform::Recordset selectFields(platform::Database &db, const platform::TableQuery &query,
    const QStringList &fields, const QStringList &required = {});

} // namespace zav::expenses
