// The folded form in which place names are compared: a typed name and a name in the data are both
// folded the same way, so that blanks, character widths and the spellings of ケ do not matter.
// Blanks (ASCII, ideographic and no-break spaces) and control characters are dropped, full-width
// digits and Latin letters become half-width, and 「ヶ」「が」 become 「ケ」.
#pragma once

#include <string>
#include <string_view>

namespace vantora {

/// The folded form of a name (see the top of this file). Bytes that are not valid UTF-8 are kept
/// as they are.
std::string fold_place_text(std::string_view text);

/// Appends text folded (as fold_place_text) to out.
void append_folded_place_text(std::string& out, std::string_view text);

} // namespace vantora
