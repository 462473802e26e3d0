#include "tests/support/sine_wav.h"

#include <cmath>
#include <cstdint>
#include <numbers>

namespace vinylo::testing {
namespace {

void PutLe(std::string& out, uint32_t value, int bytes) {
    for (int i = 0; i < bytes; ++i)
        out.push_back(static_cast<char>((value >> (8 * i)) & 0xff));
}

}  // namespace

std::string SineWav(std::chrono::milliseconds length, int frequencyHz, int sampleRate) {
    const auto samples = static_cast<uint32_t>(int64_t{sampleRate} * length.count() / 1000);
    const uint32_t dataBytes = samples * 2;
    std::string out;
    out.reserve(44 + dataBytes);
    out += "RIFF";
    PutLe(out, 36 + dataBytes, 4);
    out += "WAVEfmt ";
    PutLe(out, 16, 4);  // format chunk size
    PutLe(out, 1, 2);   // PCM
    PutLe(out, 1, 2);   // mono
    PutLe(out, static_cast<uint32_t>(sampleRate), 4);
    PutLe(out, static_cast<uint32_t>(sampleRate) * 2, 4);  // bytes per second
    PutLe(out, 2, 2);                                      // block align
    PutLe(out, 16, 2);                                     // bits per sample
    out += "data";
    PutLe(out, dataBytes, 4);
    for (uint32_t i = 0; i < samples; ++i) {
        const double t = static_cast<double>(i) / sampleRate;
        const auto value = static_cast<int16_t>(
            std::lround(8000.0 * std::sin(2.0 * std::numbers::pi * frequencyHz * t)));
        PutLe(out, static_cast<uint16_t>(value), 2);
    }
    return out;
}

HttpResponse ServeSong(const HttpRequest& request, const std::map<std::string, std::string>& songs) {
    HttpResponse response;
    if (const auto song = songs.find(request.target); song != songs.end()) {
        response.headers = {{"Content-Type", "audio/wav"}};
        response.body = song->second;
    } else {
        response.status = 404;
        response.reason = "Not Found";
        response.body = "no such song";
    }
    return response;
}

}  // namespace vinylo::testing
