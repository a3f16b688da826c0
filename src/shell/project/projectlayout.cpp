#include "shell/project/projectlayout.h"

namespace zav::shell::projectlayout {

namespace {

// The template's schema script, built into the program.
const char *const SchemaScript =
#include "archiveschema.inc"
    ;

} // namespace

const QList<engine::archivelayout::Table> &format()
{
    static const QList<engine::archivelayout::Table> tables
        = engine::archivelayout::tablesOfScript(QString::fromUtf8(SchemaScript));
    return tables;
}

const QStringList &indexes()
{
    static const QStringList statements
        = engine::archivelayout::indexesOfScript(QString::fromUtf8(SchemaScript));
    return statements;
}

} // namespace zav::shell::projectlayout
