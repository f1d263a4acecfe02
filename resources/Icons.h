#pragma once
#include <string_view>

// Icon images by resource id, as SVG documents (48 x 48 view box).

// The image with that id; empty when there is none.
std::string_view FindIconSvg(int nId);
