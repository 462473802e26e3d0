#pragma once

#include <QMetaEnum>
#include <ostream>

#include "platform/player.h"

// Readable player states and end reasons in GoogleTest messages.
namespace vinylo::platform {

inline void PrintTo(Player::State state, std::ostream* os) {
    *os << QMetaEnum::fromType<Player::State>().valueToKey(static_cast<int>(state));
}

inline void PrintTo(Player::EndReason reason, std::ostream* os) {
    *os << QMetaEnum::fromType<Player::EndReason>().valueToKey(static_cast<int>(reason));
}

}  // namespace vinylo::platform
