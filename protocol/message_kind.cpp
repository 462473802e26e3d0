#include "protocol/message_kind.h"

#include <array>

namespace vinylo::protocol {
namespace {

template <typename Kind>
struct KindInfo {
    Kind kind;
    std::string_view code;
    std::string_view name;
};

constexpr std::array<KindInfo<ClientKind>, 6> kClientKinds{{
    {ClientKind::ChatText, "1", "ChatText"},
    {ClientKind::SongRequest, "10", "SongRequest"},
    {ClientKind::PictureFile, "47", "PictureFile"},
    {ClientKind::RepeatSongRequest, "49", "RepeatSongRequest"},
    {ClientKind::CutSongRequest, "76", "CutSongRequest"},
    {ClientKind::PictureShare, "77", "PictureShare"},
}};

constexpr std::array<KindInfo<ServerKind>, 14> kServerKinds{{
    {ServerKind::NameAssigned, "1", "NameAssigned"},
    {ServerKind::UserPresent, "2", "UserPresent"},
    {ServerKind::ChatLine, "3", "ChatLine"},
    {ServerKind::Announcement, "4", "Announcement"},
    {ServerKind::UserGone, "5", "UserGone"},
    {ServerKind::NameChanged, "6", "NameChanged"},
    {ServerKind::YourAddress, "7", "YourAddress"},
    {ServerKind::Muted, "8", "Muted"},
    {ServerKind::Unmuted, "9", "Unmuted"},
    {ServerKind::PictureLine, "77", "PictureLine"},
    {ServerKind::CoverPicture, "87", "CoverPicture"},
    {ServerKind::QueueLow, "88", "QueueLow"},
    {ServerKind::NowPlaying, "89", "NowPlaying"},
    {ServerKind::SongCut, "91", "SongCut"},
}};

// The tables are indexed by the enum: keep their rows in enum order.
template <typename Table>
constexpr bool InEnumOrder(const Table& table) {
    for (size_t i = 0; i < table.size(); ++i) {
        if (static_cast<size_t>(table[i].kind) != i) {
            return false;
        }
    }
    return true;
}
static_assert(InEnumOrder(kClientKinds));
static_assert(InEnumOrder(kServerKinds));

template <typename Table, typename Kind>
const auto& InfoOf(const Table& table, Kind kind) {
    return table[static_cast<size_t>(kind)];
}

template <typename Table>
auto FromCode(const Table& table, std::string_view code)
    -> std::optional<decltype(table[0].kind)> {
    for (const auto& info : table) {
        if (info.code == code) {
            return info.kind;
        }
    }
    return std::nullopt;
}

}  // namespace

std::string_view CodeOf(ClientKind kind) { return InfoOf(kClientKinds, kind).code; }
std::string_view CodeOf(ServerKind kind) { return InfoOf(kServerKinds, kind).code; }
std::string_view NameOf(ClientKind kind) { return InfoOf(kClientKinds, kind).name; }
std::string_view NameOf(ServerKind kind) { return InfoOf(kServerKinds, kind).name; }

std::optional<ClientKind> ClientKindFromCode(std::string_view code) {
    return FromCode(kClientKinds, code);
}
std::optional<ServerKind> ServerKindFromCode(std::string_view code) {
    return FromCode(kServerKinds, code);
}

}  // namespace vinylo::protocol
