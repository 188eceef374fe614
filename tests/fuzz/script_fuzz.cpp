// Fuzz target: any bytes as an input script.
#include "check.h"
#include "script.h"

#include <cmath>
#include <cstdint>
#include <iterator>

using zorbel::script::Event;

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    std::vector<Event> events;
    std::string error;
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    if (!zorbel::script::Parse("fuzz.txt", text, events, error)) {
        fuzz::Require(error.starts_with("fuzz.txt:"), "a refusal names the script and the line");
        fuzz::Require(fuzz::IsPrintable(error), "a refusal echoes the script printably");
        fuzz::Require(events.empty(), "a refused script gives no events");
        return 0;
    }
    for (size_t i = 0; i < events.size(); ++i) {
        const Event& e = events[i];
        fuzz::Require(i == 0 || events[i - 1].frame <= e.frame, "events come in frame order");
        switch (e.kind) {
        case Event::Kind::Mouse:
            fuzz::Require(std::isfinite(e.x) && std::isfinite(e.y), "the cursor is a finite point");
            break;
        case Event::Kind::KeyDown:
        case Event::Kind::KeyUp:
            fuzz::Require(e.code >= 0 && e.code <= 255, "a key code is 0..255");
            break;
        case Event::Kind::ButtonDown:
        case Event::Kind::ButtonUp:
            fuzz::Require(e.code >= 0 && e.code <= 2, "a mouse button is 0..2");
            break;
        case Event::Kind::Screenshot:
            fuzz::Require(!e.file.empty() && e.file.find('\0') == std::string::npos,
                          "a screenshot names a file");
            break;
        case Event::Kind::PadButtonDown:
        case Event::Kind::PadButtonUp:
            fuzz::Require(e.code >= 0 &&
                              e.code < static_cast<int>(std::size(zorbel::script::kPadButtonNames)),
                          "a pad button has a name");
            break;
        case Event::Kind::PadAxis:
            fuzz::Require(
                e.code >= 0 && e.code < static_cast<int>(std::size(zorbel::script::kPadAxisNames)) &&
                    e.value >= (e.code >= zorbel::script::kFirstPadTrigger ? 0 : -32768) && e.value <= 32767,
                "a pad axis has a name and a value in its range");
            break;
        case Event::Kind::Quit:
        case Event::Kind::FocusLost:
        case Event::Kind::PadConnect:
        case Event::Kind::PadDisconnect:
            break;
        }
    }
    return 0;
}
