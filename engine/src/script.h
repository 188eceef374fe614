// The headless input script: events by frame number, read from the file named by ZORBEL_INPUT.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace zorbel::script {

struct Event {
    enum class Kind { Mouse, KeyDown, KeyUp, ButtonDown, ButtonUp, Screenshot, Quit };
    uint64_t frame = 0;
    Kind kind = Kind::Quit;
    float x = 0.0f, y = 0.0f; // Mouse, logical pixels
    int code = 0;             // virtual key or mouse button
    std::string file;         // Screenshot
};

// Parses a whole script, events in frame order. On the first bad line returns false with
// "<file>:<line>: <why>" in error.
bool Load(const std::string& path, std::vector<Event>& events, std::string& error);

} // namespace zorbel::script
