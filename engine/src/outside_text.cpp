// Words and safe echoes of outside text.
#include "outside_text.h"

#include "platform.h"

namespace zorbel {
namespace {

bool IsBlank(char c) {
    return c == ' ' || c == '\t' || c == '\n' || c == '\v' || c == '\f' || c == '\r';
}

} // namespace

bool ReadTextFile(const std::string& path, size_t maxBytes, std::string* text, std::string* why) {
    if (const auto stamp = platform::StampOf(path); stamp && static_cast<uint64_t>(stamp->size) > maxBytes) {
        *why = "larger than " + std::to_string(maxBytes) + " bytes";
        return false;
    }
    return platform::ReadRegularFile(path, text, why) == platform::FileRead::kRead;
}

std::vector<std::string_view> Words(std::string_view line) {
    std::vector<std::string_view> words;
    for (size_t at = 0; at < line.size();) {
        while (at < line.size() && IsBlank(line[at]))
            ++at;
        size_t end = at;
        while (end < line.size() && !IsBlank(line[end]))
            ++end;
        if (end > at) words.push_back(line.substr(at, end - at));
        at = end;
    }
    return words;
}

std::string Printable(std::string_view text, size_t maxChars) {
    static const char kHex[] = "0123456789ABCDEF";
    std::string out;
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        const size_t width = byte >= 0x20 && byte < 0x7F ? 1 : 4;
        if (out.size() + width > maxChars) return out + "...";
        if (width == 1) {
            out += c;
        } else {
            out += "\\x";
            out += kHex[byte >> 4];
            out += kHex[byte & 0xF];
        }
    }
    return out;
}

} // namespace zorbel
