#pragma once

#include <optional>
#include <string>
#include <string_view>

// The messages the server sends, built as the server sends them and read as a
// client takes them. Every text is GBK bytes.
namespace vinylo::protocol {

struct ChatLineFields {
    std::string avatarUrl;
    std::string nickname;
    std::string address;  // "<" ... ">" on the wire; clients do not use it
    std::string text;
};

struct PictureLineFields {
    std::string pictureUrl;
    std::string avatarUrl;
    std::string nickname;
};

struct NameChangeFields {
    std::string oldEntry;
    std::string newEntry;
};

// "<" + user name + ">" + address, the record of one connection.
std::string MakeUserEntry(std::string_view userName, std::string_view address);

// "用户" + n
std::string AssignedUserName(int number);

// "当前歌曲来自 " + requester + " 点播的《" + title + "》"
std::string NowPlayingLine(std::string_view requester, std::string_view title);

std::string BuildNameAssigned(int number);
std::string BuildUserPresent(std::string_view userEntry);
std::string BuildChatLine(const ChatLineFields& fields);
std::string BuildAnnouncement(std::string_view text);
std::string BuildUserGone(std::string_view userEntry);
std::string BuildNameChanged(std::string_view oldEntry, std::string_view newEntry);
std::string BuildYourAddress(std::string_view address);
std::string BuildMuted();
std::string BuildUnmuted();
std::string BuildPictureLine(const PictureLineFields& fields);
std::string BuildCoverPicture(std::string_view coverUrl);
std::string BuildQueueLow();
std::string BuildNowPlaying(std::string_view requester, std::string_view title);
std::string BuildSongCut(std::string_view nickname);

// Readers of the payloads a client takes apart; nullopt when a separator the
// reader needs is missing. UserPresent, UserGone, Announcement, YourAddress,
// CoverPicture, QueueLow, NowPlaying and SongCut are taken whole;
// NameAssigned, Muted and Unmuted carry nothing the client reads.
std::optional<ChatLineFields> ParseChatLine(std::string_view payload);
std::optional<PictureLineFields> ParsePictureLine(std::string_view payload);
std::optional<NameChangeFields> ParseNameChanged(std::string_view payload);

}  // namespace vinylo::protocol
