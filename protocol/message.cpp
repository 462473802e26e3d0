#include "protocol/message.h"

#include "protocol/gbk.h"
#include "protocol/split.h"
#include "protocol/wire_texts.h"

namespace vinylo::protocol {

std::string Frame(std::string_view payload, std::string_view code) {
    std::string message;
    message.reserve(payload.size() + wire::kCodeSeparator.size() + code.size());
    message.append(payload).append(wire::kCodeSeparator).append(code);
    return message;
}

std::optional<Message> ParseMessage(std::string_view block) {
    auto pieces = Split(TextUpToZero(block), wire::kCodeSeparator);
    if (pieces.size() < 2) {
        return std::nullopt;
    }
    return Message{std::move(pieces[0]), std::move(pieces[1])};
}

}  // namespace vinylo::protocol
