#include "model/byte_text.h"

#include <cstdint>

namespace zentrope {
namespace {

// The length of the valid UTF-8 sequence at pos (RFC 3629: no overlong forms, no
// surrogates, nothing beyond U+10FFFF), or 0.
size_t SequenceLength(std::string_view bytes, size_t pos) {
    const auto at = [&](size_t i) { return static_cast<uint8_t>(bytes[pos + i]); };
    const uint8_t lead = at(0);
    if (lead < 0x80)
        return 1;
    size_t length = 0;
    uint8_t low = 0x80; // the allowed range of the second byte
    uint8_t high = 0xBF;
    if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        low = lead == 0xE0 ? 0xA0 : 0x80;
        high = lead == 0xED ? 0x9F : 0xBF;
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        low = lead == 0xF0 ? 0x90 : 0x80;
        high = lead == 0xF4 ? 0x8F : 0xBF;
    } else {
        return 0;
    }
    if (pos + length > bytes.size() || at(1) < low || at(1) > high)
        return 0;
    for (size_t i = 2; i < length; ++i)
        if (at(i) < 0x80 || at(i) > 0xBF)
            return 0;
    return length;
}

} // namespace

bool IsValidUtf8(std::string_view bytes) {
    for (size_t pos = 0; pos < bytes.size();) {
        const size_t length = SequenceLength(bytes, pos);
        if (length == 0)
            return false;
        pos += length;
    }
    return true;
}

std::string DisplayUtf8(std::string_view bytes) {
    std::string shown;
    shown.reserve(bytes.size() + bytes.size() / 2);
    for (size_t pos = 0; pos < bytes.size();) {
        const size_t length = SequenceLength(bytes, pos);
        if (length > 0) {
            shown.append(bytes.substr(pos, length));
            pos += length;
            continue;
        }
        const auto code = static_cast<uint8_t>(bytes[pos++]);
        shown += static_cast<char>(0xC0 | (code >> 6));
        shown += static_cast<char>(0x80 | (code & 0x3F));
    }
    return shown;
}

} // namespace zentrope
