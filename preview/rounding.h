// SPDX-License-Identifier: GPL-2.0-or-later

#pragma once

#include <cmath>

/// Rounds to the nearest integer, ties to even, as every page-geometry figure is rounded.
inline int roundEven(double value)
{
    return int(std::nearbyint(value));
}
