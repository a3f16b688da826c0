#pragma once

#include <QString>

namespace zav::register_ {

/** @brief The unit register's name in the form registry. */
inline const QString UnitRegisterFormName = QStringLiteral("frm_cod_piani");

/** @brief Registers the unit register form under its name and the clipboard items of the pop-up menu. */
void registerUnitRegisterForms();

/**
 * @brief The project's buildings or units changed: every open form that lists them shows what now
 * exists (the register its buildings, stairs and units; the workspace its building list, and it
 * gives up a unit that no longer exists, with a message).
 */
void buildingsOrUnitsChanged();

/** @brief The project's units changed (the register shows them already): the workspace follows. */
void unitsChanged();

} // namespace zav::register_
