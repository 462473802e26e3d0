#pragma once

#include <optional>
#include <string>
#include <string_view>

#include "protocol/message_kind.h"

// The messages a client sends, built as the client sends them and read as the
// server takes them. ChatText and PictureShare are read by their relay
// (relay.h). Every text is GBK bytes.
namespace vinylo::protocol {

struct ChatTextFields {
    std::string avatarUrl;
    std::string nickname;
    std::string serverAddress;  // the address the sender connects to, without port
    std::string text;
};

struct SongRequestFields {
    std::string coverUrl;
    std::string nickname;
    std::string playUrl;
    std::string title;
    std::string singer;
};

struct PictureFileFields {
    std::string nickname;
    std::string content;
};

struct PictureShareFields {
    std::string pictureUrl;
    std::string avatarUrl;
    std::string nickname;
};

std::string BuildChatText(const ChatTextFields& fields);
std::string BuildSongRequest(const SongRequestFields& fields);
std::string BuildRepeatSongRequest(const SongRequestFields& fields);
std::string BuildPictureFile(const PictureFileFields& fields);
std::string BuildCutSongRequest(std::string_view nickname);
std::string BuildPictureShare(const PictureShareFields& fields);

// A SongRequest or RepeatSongRequest payload, taken apart from the end at
// "gqmc", "bfdz", "xm" and "gqfm" (RepeatSongRequest: "gq:mf"). A value that
// is empty reads as empty text; a separator word that is missing makes the
// payload malformed (nullopt). `kind` must be one of the two song requests.
std::optional<SongRequestFields> ParseSongRequest(std::string_view payload, ClientKind kind);

// A PictureFile payload: nickname, then the file content.
std::optional<PictureFileFields> ParsePictureFile(std::string_view payload);

// A CutSongRequest payload is the requester's nickname, whole.
std::string ParseCutSongRequest(std::string_view payload);

}  // namespace vinylo::protocol
