#pragma once

#include <QString>

namespace zav::register_ {

/** @brief The unit register's name in the form registry. */
inline const QString UnitRegisterFormName = QStringLiteral("frm_cod_piani");

/** @brief Registers the unit register form under its name and the clipboard items of the pop-up menu. */
void registerUnitRegisterForms();

} // namespace zav::register_
