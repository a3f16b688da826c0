#pragma once

// Header only: it needs the engine's shared state, which the support library does not link;
// only tests of the subsystems above the engine include it.

#include "engine/var_gbl.h"
#include "support/fixtures.h"

#include <QString>

namespace zav::test {

/**
 * @brief A project open in a program folder of its own: the project template "ARCH_MIL.CLO" copied
 * from the program folder into a temporary one as a project archive, which `progetto_corrente`
 * then names. The shared program state is reset before and after.
 */
class OpenProject
{
public:
    explicit OpenProject(const QString &fileName = QStringLiteral("PROVA.CDB"))
    {
        engine::VAR_GBL.reset();
        m_path = m_folder.copyOf(QStringLiteral("ARCH_MIL.CLO"), fileName);
        engine::VAR_GBL.progetto_corrente = m_path;
    }
    ~OpenProject() { engine::VAR_GBL.reset(); }
    OpenProject(const OpenProject &) = delete;
    OpenProject &operator=(const OpenProject &) = delete;

    /** @brief The temporary program folder. */
    const TempProgramFolder &folder() const { return m_folder; }
    /** @brief The project archive's path. */
    const QString &path() const { return m_path; }

private:
    TempProgramFolder m_folder;
    QString m_path;
};

} // namespace zav::test
