#include "files/TextCodec.h"

#include "model/Errors.h"

#include <cerrno>
#include <iconv.h>

namespace kolvane {

namespace {

// One conversion with glibc iconv; the descriptor lives for this call only,
// so the functions are safe to use from anywhere.
std::string Convert(std::string_view in, const char* to, const char* from, const char* what) {
    iconv_t cd = iconv_open(to, from);
    if (cd == reinterpret_cast<iconv_t>(-1))
        throw Error(std::string("无法进行字符转换 ") + from + " -> " + to);
    std::string out;
    out.resize(in.size() * 2 + 16);
    char* src = const_cast<char*>(in.data());
    std::size_t srcLeft = in.size();
    std::size_t done = 0;
    while (true) {
        char* dst = out.data() + done;
        std::size_t dstLeft = out.size() - done;
        std::size_t r = iconv(cd, srcLeft ? &src : nullptr, &srcLeft, &dst, &dstLeft);
        done = out.size() - dstLeft;
        if (r != static_cast<std::size_t>(-1)) {
            if (srcLeft == 0) break;
            continue;
        }
        if (errno == E2BIG) {
            out.resize(out.size() * 2);
            continue;
        }
        iconv_close(cd);
        // EILSEQ or EINVAL: an invalid or a truncated sequence.
        throw Error(std::string(what) + "（第" + std::to_string(in.size() - srcLeft + 1) +
                    "个字节）");
    }
    iconv_close(cd);
    out.resize(done);
    return out;
}

bool IsAscii(std::string_view s) {
    for (unsigned char c : s)
        if (c >= 0x80) return false;
    return true;
}

} // namespace

bool IsValidUtf8(std::string_view bytes) {
    const auto* s = reinterpret_cast<const unsigned char*>(bytes.data());
    const std::size_t n = bytes.size();
    for (std::size_t i = 0; i < n;) {
        const unsigned char c = s[i];
        if (c < 0x80) {
            ++i;
            continue;
        }
        std::size_t len;
        unsigned char lo = 0x80, hi = 0xBF; // the allowed range of the second byte
        if (c >= 0xC2 && c <= 0xDF) {
            len = 2;
        } else if (c >= 0xE0 && c <= 0xEF) {
            len = 3;
            if (c == 0xE0) lo = 0xA0; // no overlong forms
            if (c == 0xED) hi = 0x9F; // no surrogates
        } else if (c >= 0xF0 && c <= 0xF4) {
            len = 4;
            if (c == 0xF0) lo = 0x90;
            if (c == 0xF4) hi = 0x8F; // nothing beyond U+10FFFF
        } else {
            return false;
        }
        if (i + len > n || s[i + 1] < lo || s[i + 1] > hi) return false;
        for (std::size_t k = 2; k < len; ++k)
            if (s[i + k] < 0x80 || s[i + k] > 0xBF) return false;
        i += len;
    }
    return true;
}

std::string Gb18030ToUtf8(std::string_view bytes) {
    if (IsAscii(bytes)) return std::string(bytes);
    return Convert(bytes, "UTF-8", "GB18030", "不是有效的GB18030文本");
}

std::string Utf8ToGb18030(std::string_view text) {
    if (IsAscii(text)) return std::string(text);
    return Convert(text, "GB18030", "UTF-8", "不是有效的UTF-8文本");
}

} // namespace kolvane
