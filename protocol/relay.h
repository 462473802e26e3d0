#pragma once

#include <optional>
#include <string>
#include <string_view>

// The server's rewriting of the chat messages it relays. The server relies
// only on the markers: it cuts "tx%tx", "bq" and "cjbjk" out of a ChatText
// and "biaoqing" and "tx%tx" out of a PictureShare. A value that carries a
// marker shifts the pieces exactly as older servers did, so every client sees
// the same text from every server.
namespace vinylo::protocol {

struct ChatRelay {
    std::string chatLinePayload;  // C1 + C2 + B2 + A2
    std::string nickname;         // C2: the sender's user name from now on
    std::string logHeader;        // C2 + B2: nickname and the bracketed address
    std::string logBody;          // A2: the chat text
};

// A = Split(payload, "cjbjk"); B = Split(A1, "bq"); C = Split(B1, "tx%tx").
// Empty values read as empty text; nullopt when a marker is missing.
std::optional<ChatRelay> RelayChatText(std::string_view payload);

// A = Split(payload, "tx%tx"); B = Split(A1, "biaoqing"); the PictureLine
// payload B1 + B2 + A2. nullopt when a marker is missing.
std::optional<std::string> RelayPictureShare(std::string_view payload);

}  // namespace vinylo::protocol
