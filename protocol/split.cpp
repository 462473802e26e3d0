#include "protocol/split.h"

namespace vinylo::protocol {
namespace {

// Calls emit(piece) for each piece between separators and returns the rest
// after the last separator.
template <typename Emit>
std::string_view Walk(std::string_view text, std::string_view separator, Emit emit) {
    size_t cut = 0;
    size_t i = 0;
    while (i < text.size()) {
        if (text.compare(i, separator.size(), separator) == 0) {
            emit(text.substr(cut, i - cut));
            i += separator.size();
            cut = i;
        } else if (static_cast<unsigned char>(text[i]) >= 0x80) {
            i += 2;  // a two-byte GBK character: never match at its second byte
        } else {
            ++i;
        }
    }
    return cut < text.size() ? text.substr(cut) : std::string_view{};
}

}  // namespace

std::vector<std::string> Split(std::string_view text, std::string_view separator) {
    std::vector<std::string> pieces;
    if (text.empty()) {
        return pieces;
    }
    if (separator.empty()) {
        pieces.emplace_back(text);
        return pieces;
    }
    const auto rest = Walk(text, separator, [&](std::string_view p) { pieces.emplace_back(p); });
    if (!rest.empty()) {
        pieces.emplace_back(rest);
    }
    return pieces;
}

std::vector<std::string> SplitFields(std::string_view text, std::string_view separator) {
    std::vector<std::string> pieces;
    if (separator.empty()) {
        pieces.emplace_back(text);
        return pieces;
    }
    const auto rest = Walk(text, separator, [&](std::string_view p) { pieces.emplace_back(p); });
    pieces.emplace_back(rest);
    return pieces;
}

std::string_view PieceAt(const std::vector<std::string>& pieces, size_t n) {
    return n >= 1 && n <= pieces.size() ? std::string_view(pieces[n - 1]) : std::string_view{};
}

}  // namespace vinylo::protocol
