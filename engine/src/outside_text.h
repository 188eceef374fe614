// Helpers for reading text that comes from outside the engine (scripts, descriptors, environment hooks):
// words, whole-word numbers, and echoing the text back safely.
#pragma once

#include <algorithm>
#include <charconv>
#include <cmath>
#include <cstddef>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

namespace zorbel {

// Reads a whole file that must be a regular one of at most maxBytes (a larger one is refused before it is
// read). On failure returns false with the reason in why.
bool ReadTextFile(const std::string& path, size_t maxBytes, std::string* text, std::string* why);

// The words of a line, split at every whitespace character of the C locale (space, \t, \n, \v, \f, \r).
std::vector<std::string_view> Words(std::string_view line);

// A line of outside text that has words on it: its number counted from 1 over every line, the line with its
// comment (from '#' on) cut off, and its words.
struct WordedLine {
    size_t number = 0;
    std::string_view line;
    std::vector<std::string_view> words;
};

// Calls visit(const WordedLine&) for each line of text that has words, in order, while it returns true.
template <typename Visit> void ForEachWordedLine(std::string_view text, Visit visit) {
    WordedLine l;
    for (size_t at = 0; at < text.size();) {
        ++l.number;
        const size_t newline = std::min(text.find('\n', at), text.size());
        l.line = text.substr(at, newline - at);
        at = newline + 1;
        l.line = l.line.substr(0, l.line.find('#'));
        l.words = Words(l.line);
        if (!l.words.empty() && !visit(static_cast<const WordedLine&>(l))) return;
    }
}

// The whole word as a number: no sign where the type has none, no leading or trailing characters, within the
// type's range, and finite.
template <typename T> bool ParseNumber(std::string_view word, T* value) {
    const auto [end, error] = std::from_chars(word.data(), word.data() + word.size(), *value);
    if (error != std::errc() || end != word.data() + word.size()) return false;
    if constexpr (std::is_floating_point_v<T>) return std::isfinite(*value);
    return true;
}

// The text as printable ASCII: bytes outside 0x20..0x7E become \xNN, and past maxChars the rest becomes
// "...", so a binary file cannot garble or flood the terminal it is reported on.
std::string Printable(std::string_view text, size_t maxChars = 60);

} // namespace zorbel
