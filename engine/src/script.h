// The headless input script: events by frame number, read from the file named by ZORBEL_INPUT.
#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

namespace zorbel::script {

// The virtual gamepad's buttons and axes, numbered as SDL's game controller numbers them.
inline constexpr const char* kPadButtonNames[] = {"a",
                                                  "b",
                                                  "x",
                                                  "y",
                                                  "back",
                                                  "guide",
                                                  "start",
                                                  "leftstick",
                                                  "rightstick",
                                                  "leftshoulder",
                                                  "rightshoulder",
                                                  "dpup",
                                                  "dpdown",
                                                  "dpleft",
                                                  "dpright"};
inline constexpr const char* kPadAxisNames[] = {"leftx",  "lefty",       "rightx",
                                                "righty", "lefttrigger", "righttrigger"};
inline constexpr int kFirstPadTrigger = 4; // the triggers rest at 0 and go to 32767; the sticks go both ways

struct Event {
    enum class Kind {
        Mouse,
        KeyDown,
        KeyUp,
        ButtonDown,
        ButtonUp,
        Screenshot,
        Quit,
        FocusLost,
        PadConnect,
        PadDisconnect,
        PadButtonDown,
        PadButtonUp,
        PadAxis
    };
    uint64_t frame = 0;
    Kind kind = Kind::Quit;
    float x = 0.0f, y = 0.0f; // Mouse, logical pixels
    int code = 0;             // virtual key, mouse button, pad button or pad axis
    int value = 0;            // PadAxis: -32768 .. 32767 (a trigger 0 .. 32767)
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
