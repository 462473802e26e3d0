#pragma once

#include <QImage>

namespace vinylo::client {

// The 40 x 40 picture shown for a sender without an avatar: a grey square
// with a white outline of a head and shoulders. Made once, on first use.
const QImage& DefaultAvatar();

}  // namespace vinylo::client
