// The desktop icon: the ringed ocean planet of the title pages on a starry
// rounded tile, painted once finely and stored at each icon size.
#pragma once

#include "common/image.h"

#include <string>

inline constexpr int iconSizes[] = {64, 128, 256};

// The icon at `size` pixels (one of iconSizes), with alpha: transparent
// outside the rounded tile.
Image paintIcon(int size);
