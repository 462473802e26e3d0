#include "protocol/gbk.h"

#include <iconv.h>

#include <cerrno>
#include <stdexcept>

namespace vinylo::protocol {
namespace {

// One converter per direction and thread: iconv_open is far slower than a
// conversion of a chat line.
class Converter {
public:
    Converter(const char* to, const char* from, std::string_view replacement)
        : handle_(iconv_open(to, from)), replacement_(replacement) {
        if (handle_ == reinterpret_cast<iconv_t>(-1)) {
            throw std::runtime_error("iconv cannot convert between GB18030 and UTF-8");
        }
    }
    ~Converter() { iconv_close(handle_); }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    std::string Convert(std::string_view in) {
        std::string out;
        out.reserve(in.size() * 3 / 2 + 4);
        iconv(handle_, nullptr, nullptr, nullptr, nullptr);
        char* src = const_cast<char*>(in.data());
        size_t srcLeft = in.size();
        char buffer[1024];
        while (srcLeft > 0) {
            char* dst = buffer;
            size_t dstLeft = sizeof buffer;
            const size_t rc = iconv(handle_, &src, &srcLeft, &dst, &dstLeft);
            out.append(buffer, static_cast<size_t>(dst - buffer));
            if (rc != static_cast<size_t>(-1)) {
                continue;
            }
            if (errno == E2BIG) {
                continue;
            }
            // EILSEQ or EINVAL (a character cut at the end): replace one byte
            // and go on with the next.
            out.append(replacement_);
            ++src;
            --srcLeft;
            iconv(handle_, nullptr, nullptr, nullptr, nullptr);
        }
        return out;
    }

private:
    iconv_t handle_;
    std::string_view replacement_;
};

}  // namespace

std::string Utf8ToGbk(std::string_view utf8) {
    thread_local Converter converter("GB18030", "UTF-8", "?");
    return converter.Convert(utf8);
}

std::string GbkToUtf8(std::string_view gbk) {
    thread_local Converter converter("UTF-8", "GB18030", "\xEF\xBF\xBD");
    return converter.Convert(gbk);
}

std::string_view TextUpToZero(std::string_view bytes) {
    const auto zero = bytes.find('\0');
    return zero == std::string_view::npos ? bytes : bytes.substr(0, zero);
}

}  // namespace vinylo::protocol
