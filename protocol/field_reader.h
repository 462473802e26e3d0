#pragma once

#include <optional>
#include <string>
#include <string_view>
#include <utility>

namespace vinylo::protocol {

// Pieces 1 and 2 of a Split at a separator word, as every reader of a payload
// takes them. The second piece is the text up to the next occurrence (later
// pieces are ignored, as receivers have always done) and is empty text when
// the separator ends the text. When the separator does not occur at all the
// value is missing: nullopt, so the caller can drop the message instead of
// reading past its end.
std::optional<std::pair<std::string, std::string>> SplitAtMarker(std::string_view text,
                                                                 std::string_view separator);

}  // namespace vinylo::protocol
