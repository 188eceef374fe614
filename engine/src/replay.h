// Recording and replaying a run: the engine time of every frame and the input events the frame applied.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace zorbel::replay {

// One change of the input state, as the input layer applied it.
struct InputEvent {
    enum class Kind : uint8_t { Key = 1, Button = 2, Cursor = 3, ReleaseAll = 4 };
    Kind kind = Kind::ReleaseAll;
    uint8_t code = 0; // virtual key or button
    bool down = false;
    float x = 0.0f, y = 0.0f; // Cursor, logical pixels
};

struct Frame {
    double time = 0.0; // engine time of the frame, ms
    std::vector<InputEvent> events;
};

struct RecordedRun {
    double startTime = 0.0;    // engine time from the clock's start until frame 1
    std::vector<Frame> frames; // frame n is frames[n - 1]
};

constexpr uint16_t kFormatVersion = 1;

// Reads a whole recording from memory. On anything but a complete, intact recording of this format and this
// engine interface, returns false with the reason in error.
bool Parse(const uint8_t* data, size_t size, RecordedRun& run, std::string& error);

// Reads ZORBEL_RECORD and ZORBEL_REPLAY when the engine clock starts. A recording that cannot be read, or
// a file that cannot be written, stops the process with exit status 2 after saying why.
void Start();
bool Replaying();
bool Recording();
// The engine time the replayed run started at.
double StartTime();
// How many frames the replayed run has.
uint64_t FrameCount();

// Recording: the clock's start time, then each frame's time as the frame begins, then every input event in
// the order the frame applies it; Finish writes the end marker.
void RecordStart(double time);
void BeginFrame(double time);
void Note(const InputEvent& event);
void Finish();

// Replaying: the time of frame n (from 1), and its events in their order.
double FrameTime(uint64_t frame);
const std::vector<InputEvent>& FrameEvents(uint64_t frame);

// Closes any recording without an end marker and forgets the replay (the engine's end of run).
void Reset();

} // namespace zorbel::replay
