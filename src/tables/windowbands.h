#pragma once

// The window bands belong to the archive format, where the workspace's room grid reaches them too;
// the table tools keep their name for them.
#include "engine/windowbands.h"

namespace zav::tables {
using engine::WindowBands;
} // namespace zav::tables
