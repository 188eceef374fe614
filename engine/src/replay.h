// Recording and replaying a run: the engine time of every frame and the input events the frame applied.
#pragma once

#include "recording.h"

#include <cstdint>
#include <span>

namespace zorbel::replay {

using recording::InputEvent;

// Reads ZORBEL_RECORD and ZORBEL_REPLAY when the engine clock starts. A recording that cannot be read, or a
// file to record into that cannot be written or is not a regular file (or a new one), stops the program with
// status 2 after saying why.
void Start();
bool Replaying();
bool Recording();
// The engine time the replayed run started at, and how many frames it has.
double StartTime();
uint64_t FrameCount();

// Recording: the clock's start time, then each frame's time as the frame begins, then every input event in
// the order the frame applies it; Finish writes the end marker. A write that fails is reported once, with its
// reason, and the recording stops there; Finish then returns false.
void RecordStart(double time);
void BeginFrame(double time);
void Note(const InputEvent& event);
bool Finish();

// Replaying: the time of frame n (from 1), and its events in their order.
double FrameTime(uint64_t frame);
std::span<const InputEvent> FrameEvents(uint64_t frame);

// Closes any recording without an end marker and forgets the replay (the engine's end of run).
void Reset();

} // namespace zorbel::replay
