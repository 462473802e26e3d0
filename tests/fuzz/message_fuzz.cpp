// Every reader of a received block, on any bytes: no crash, no read past the
// end, and every relay is readable by the client's reader when it succeeds.
#include <cstdint>
#include <cstdlib>
#include <string_view>

#include "protocol/client_messages.h"
#include "protocol/gbk.h"
#include "protocol/message.h"
#include "protocol/relay.h"
#include "protocol/server_messages.h"

using namespace vinylo::protocol;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view block(reinterpret_cast<const char*>(data), size);
    GbkToUtf8(block);
    Utf8ToGbk(block);

    const auto message = ParseMessage(block);
    const std::string_view payload = message ? std::string_view(message->payload) : block;

    ParseSongRequest(payload, ClientKind::SongRequest);
    ParseSongRequest(payload, ClientKind::RepeatSongRequest);
    ParsePictureFile(payload);
    ParseCutSongRequest(payload);
    ParseChatLine(payload);
    ParsePictureLine(payload);
    ParseNameChanged(payload);

    if (const auto relay = RelayChatText(payload)) {
        // A relayed line is framed and sent; the frame must read back.
        const auto line = ParseMessage(Frame(relay->chatLinePayload, "3"));
        if (line) ParseChatLine(line->payload);
    }
    if (const auto picture = RelayPictureShare(payload)) {
        ParsePictureLine(*picture);
    }
    return 0;
}
