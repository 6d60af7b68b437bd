#pragma once

#include <array>
#include <string_view>

namespace tavolen {

// The object names of the six result displays, in the window's reading order:
// the order in which their texts are copied and spoken.
inline constexpr std::array<std::string_view, 6> kResultados{"lblDbv", "lblDbp",  "txtFv",
                                                             "txtFp",  "lblDbfv", "lblDbfp"};

}  // namespace tavolen
