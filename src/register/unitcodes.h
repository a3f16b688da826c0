#pragma once

#include <QString>
#include <QStringList>

namespace zav::register_ {

/** @brief The kinds of unit the register offers, in their order. */
QStringList unitKinds();
/** @brief The floor codes the register offers, in their order (53 codes). */
QStringList floorCodes();

} // namespace zav::register_
