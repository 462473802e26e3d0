// Split and SplitFields on any bytes: never read past the text, and the pieces
// joined with the separator give the text back.
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "protocol/split.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    if (size == 0) return 0;
    // The first byte picks the separator length (0 to 3), then separator, then text.
    const size_t sepLength = std::min<size_t>(data[0] % 4, size - 1);
    const std::string_view separator(reinterpret_cast<const char*>(data + 1), sepLength);
    const std::string_view text(reinterpret_cast<const char*>(data + 1 + sepLength),
                                size - 1 - sepLength);

    const auto fields = vinylo::protocol::SplitFields(text, separator);
    std::string joined;
    for (size_t i = 0; i < fields.size(); ++i) {
        if (i > 0) joined.append(separator);
        joined.append(fields[i]);
    }
    if (!separator.empty() && joined != text) std::abort();

    const auto pieces = vinylo::protocol::Split(text, separator);
    if (text.empty() != pieces.empty()) std::abort();
    if (!separator.empty() && !text.empty()) {
        // Split is SplitFields without an empty last piece.
        const bool dropped = fields.back().empty();
        if (pieces.size() + (dropped ? 1 : 0) != fields.size()) std::abort();
    }
    return 0;
}
