#include "protocol/relay.h"

#include "protocol/field_reader.h"
#include "protocol/wire_texts.h"

namespace vinylo::protocol {

std::optional<ChatRelay> RelayChatText(std::string_view payload) {
    const auto a = SplitAtMarker(payload, wire::kRelayTextMarker);
    if (!a) return std::nullopt;
    const auto b = SplitAtMarker(a->first, wire::kRelayAddressMarker);
    if (!b) return std::nullopt;
    const auto c = SplitAtMarker(b->first, wire::kRelayAvatarMarker);
    if (!c) return std::nullopt;
    ChatRelay relay;
    relay.chatLinePayload = c->first + c->second + b->second + a->second;
    relay.nickname = c->second;
    relay.logHeader = c->second + b->second;
    relay.logBody = a->second;
    return relay;
}

std::optional<std::string> RelayPictureShare(std::string_view payload) {
    const auto a = SplitAtMarker(payload, wire::kRelayAvatarMarker);
    if (!a) return std::nullopt;
    const auto b = SplitAtMarker(a->first, wire::kRelayPictureMarker);
    if (!b) return std::nullopt;
    return b->first + b->second + a->second;
}

}  // namespace vinylo::protocol
