#pragma once

#include <string_view>

namespace tavolen {

// The shape check that a field text passes before it is read as a number. It
// looks at "," and "-" only: the empty text passes, and so does a text with the
// grouping "." or any other character (reading the number decides about those).
enum class ReglaForma {
    // At most one ",", and not the text ",".
    //   "2,5" ",5" "5," "" "1.234,000" pass;  "1,2,3" "," fail
    Simple,
    // At most one "-", only in front; at most one ","; not "-", "-," nor ",".
    //   "-3" "-,5" "3" "" pass;  "3-" "--3" "-" "-," "," "1,2,3" fail
    ConSigno,
};

bool FormaAceptada(std::string_view texto, ReglaForma regla);

}  // namespace tavolen
