// The headless input script: events by frame number, read from the file named by ZORBEL_INPUT.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
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

// A script is read whole before the window opens; anything larger is refused.
constexpr size_t kMaxScriptBytes = 64u << 20;

// Parses the text of a whole script, events in frame order. On the first bad line returns false with
// "<name>:<line>: <why>" in error.
bool Parse(const std::string& name, std::string_view text, std::vector<Event>& events, std::string& error);

// Reads and parses the script file; a file that cannot be read (missing, a folder, a device, a FIFO, too
// large) gives "<path>: <why>".
bool Load(const std::string& path, std::vector<Event>& events, std::string& error);

} // namespace zorbel::script
