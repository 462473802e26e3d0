#pragma once

#include <chrono>
#include <string>

namespace vinylo::testing {

// The bytes of a WAV file (16-bit mono PCM) holding a sine tone: a real,
// short song for the media engine to play.
std::string SineWav(std::chrono::milliseconds length, int frequencyHz = 440,
                    int sampleRate = 22050);

}  // namespace vinylo::testing
