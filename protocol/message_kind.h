#pragma once

#include <optional>
#include <string_view>

namespace vinylo::protocol {

// What a client sends to the server. The code is the decimal text after "|||".
enum class ClientKind {
    ChatText,           // "1"
    SongRequest,        // "10"
    PictureFile,        // "47"
    RepeatSongRequest,  // "49"
    CutSongRequest,     // "76"
    PictureShare,       // "77"
};

// What the server sends to a client.
enum class ServerKind {
    NameAssigned,  // "1"
    UserPresent,   // "2"
    ChatLine,      // "3"
    Announcement,  // "4"
    UserGone,      // "5"
    NameChanged,   // "6"
    YourAddress,   // "7"
    Muted,         // "8"
    Unmuted,       // "9"
    PictureLine,   // "77"
    CoverPicture,  // "87"
    QueueLow,      // "88"
    NowPlaying,    // "89"
    SongCut,       // "91"
};

std::string_view CodeOf(ClientKind kind);
std::string_view CodeOf(ServerKind kind);
std::string_view NameOf(ClientKind kind);
std::string_view NameOf(ServerKind kind);

// Codes compare as exact text: "8" is Muted, "08" and "8 " are nothing.
std::optional<ClientKind> ClientKindFromCode(std::string_view code);
std::optional<ServerKind> ServerKindFromCode(std::string_view code);

}  // namespace vinylo::protocol
