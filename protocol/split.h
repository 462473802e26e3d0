#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace vinylo::protocol {

// The text split both programs use for a message and for every payload.
// It walks GBK text one character at a time (a byte of 0x80 or above starts a
// two-byte character, and the separator never matches at its second byte).
// An empty text gives no pieces; an empty separator gives the whole text.
// Empty pieces are kept, except an empty last one.
std::vector<std::string> Split(std::string_view text, std::string_view separator);

// The same walk, but every piece is kept, the empty last one included: a text
// with k separators always gives k + 1 pieces. Parsers use it to tell a value
// that is empty from a separator that is missing.
std::vector<std::string> SplitFields(std::string_view text, std::string_view separator);

// Piece n counted from 1, as the message layouts count them; empty text when
// there is no such piece.
std::string_view PieceAt(const std::vector<std::string>& pieces, size_t n);

}  // namespace vinylo::protocol
