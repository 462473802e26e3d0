#pragma once

#include <array>
#include <string>
#include <string_view>

// The picker's 25 emoticons: their images live on an outside emoticon host;
// the position of an entry is both its item and its icon in the picker.
namespace vinylo::client {

// Where the emoticon images are fetched from by every client that shows one.
inline constexpr std::string_view kEmoticonHost = "https://face.t.sinajs.cn";

struct EmoticonEntry {
    std::string_view dir;
    std::string_view name;
    std::string_view variant;
};

inline constexpr int kEmoticonCount = 25;

const std::array<EmoticonEntry, kEmoticonCount>& EmoticonTable();

// The image address of entry `index` on `host` (no trailing slash); empty
// when `index` is outside the table.
std::string EmoticonAddress(int index, std::string_view host = kEmoticonHost);

}  // namespace vinylo::client
