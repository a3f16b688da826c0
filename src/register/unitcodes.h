#pragma once

#include <QString>
#include <QStringList>

namespace zav::register_ {

/** @brief The longest owner's name a unit holds. */
inline constexpr int OwnerLength = 255;
/** @brief The longest kind of unit ("Descrizione Immobile") a unit holds. */
inline constexpr int KindLength = 70;

/** @brief The kinds of unit the register offers, in their order. */
QStringList unitKinds();
/** @brief The floor codes the register offers, in their order (53 codes). */
QStringList floorCodes();
/** @brief The floor codes the register's panels offer: the register's codes without "S1" (52 codes). */
QStringList panelFloorCodes();

} // namespace zav::register_
