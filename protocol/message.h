#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace vinylo::protocol {

// One message as the receiver takes it: the first two pieces of the block
// split at "|||". Further pieces are ignored.
struct Message {
    std::string payload;
    std::string code;
};

// payload + "|||" + code
std::string Frame(std::string_view payload, std::string_view code);

// Reads one received block (up to its first zero byte). A block without a
// code piece (no "|||", or nothing after it) is malformed: nullopt.
std::optional<Message> ParseMessage(std::string_view block);

}  // namespace vinylo::protocol
