#pragma once

#include <chrono>
#include <map>
#include <string>

#include "tests/support/loopback_http_server.h"

namespace vinylo::testing {

// The bytes of a WAV file (16-bit mono PCM) holding a sine tone: a real,
// short song for the media engine to play.
std::string SineWav(std::chrono::milliseconds length, int frequencyHz = 440,
                    int sampleRate = 22050);

// The answer of a small song server: the WAV stored under the request's path
// (as audio/wav), or 404 for any other path.
HttpResponse ServeSong(const HttpRequest& request, const std::map<std::string, std::string>& songs);

}  // namespace vinylo::testing
