#pragma once

#include <QString>
#include <QStringList>
#include <QVariant>

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

/**
 * @brief The stairs the register lists for a building with this number of stairs (`NUM_SCALE`):
 * "Nessuna", then the building's letters ("Nessuna" alone for 0 stairs). None when the number of
 * stairs is empty or not a number: the register then shows none of the building's units, so no
 * unit may be placed there.
 */
QStringList registerStairs(const QVariant &numScale);

} // namespace zav::register_
