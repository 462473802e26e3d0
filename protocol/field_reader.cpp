#include "protocol/field_reader.h"

#include "protocol/split.h"

namespace vinylo::protocol {

std::optional<std::pair<std::string, std::string>> SplitAtMarker(std::string_view text,
                                                                 std::string_view separator) {
    auto pieces = SplitFields(text, separator);
    if (pieces.size() < 2) {
        return std::nullopt;
    }
    return std::pair{std::move(pieces[0]), std::move(pieces[1])};
}

}  // namespace vinylo::protocol
