// Reading the input script: "FRAME mouse X Y", "FRAME down|up key VK", "FRAME down|up mouse B",
// "FRAME screenshot FILE.png", "FRAME quit", "FRAME focus lost", and the virtual gamepad's "FRAME pad
// connect", "FRAME pad disconnect", "FRAME pad down|up BUTTON", "FRAME pad AXIS VALUE"; '#' starts a comment.
#include "script.h"

#include "outside_text.h"

#include <algorithm>
#include <iterator>

namespace zorbel::script {
namespace {

bool ParseUnsigned(std::string_view word, uint64_t max, uint64_t* value) {
    return ParseNumber(word, value) && *value <= max;
}

bool IsPrintable(std::string_view word) {
    return std::all_of(word.begin(), word.end(),
                       [](char c) { return static_cast<unsigned char>(c) >= 0x20; });
}

// The index of word in names, or -1.
template <size_t N> int IndexOf(const char* const (&names)[N], std::string_view word) {
    const auto found = std::find(std::begin(names), std::end(names), word);
    return found == std::end(names) ? -1 : static_cast<int>(found - std::begin(names));
}

std::string ParsePadLine(const std::vector<std::string_view>& w, Event& event) {
    constexpr const char* kForms =
        "expected: FRAME pad connect, FRAME pad disconnect, FRAME pad down|up BUTTON or FRAME pad AXIS VALUE";
    if (w.size() == 3 && (w[2] == "connect" || w[2] == "disconnect")) {
        event.kind = w[2] == "connect" ? Event::Kind::PadConnect : Event::Kind::PadDisconnect;
        return {};
    }
    if (w.size() == 4 && (w[2] == "down" || w[2] == "up")) {
        event.code = IndexOf(kPadButtonNames, w[3]);
        if (event.code < 0) return "unknown pad button \"" + Printable(w[3]) + "\"";
        event.kind = w[2] == "down" ? Event::Kind::PadButtonDown : Event::Kind::PadButtonUp;
        return {};
    }
    if (w.size() != 4) return kForms;
    event.code = IndexOf(kPadAxisNames, w[2]);
    if (event.code < 0) return kForms;
    const int low = event.code >= kFirstPadTrigger ? 0 : -32768;
    if (!ParseNumber(w[3], &event.value) || event.value < low || event.value > 32767)
        return event.code >= kFirstPadTrigger ? "a trigger goes from 0 to 32767"
                                              : "a stick axis goes from -32768 to 32767";
    event.kind = Event::Kind::PadAxis;
    return {};
}

// Parses the words of one non-blank line; returns an empty string or the reason it is wrong.
std::string ParseLine(const std::vector<std::string_view>& w, Event& event) {
    if (!ParseUnsigned(w[0], UINT64_MAX / 2, &event.frame)) return "the line must start with a frame number";
    if (w.size() < 2) return "an event must follow the frame number";
    const std::string_view verb = w[1];
    auto expect = [&](size_t count) { return w.size() == count; };
    if (verb == "mouse") {
        if (!expect(4) || !ParseNumber(w[2], &event.x) || !ParseNumber(w[3], &event.y))
            return "expected: FRAME mouse X Y";
        event.kind = Event::Kind::Mouse;
    } else if (verb == "down" || verb == "up") {
        uint64_t code = 0;
        const std::string name(verb);
        if (!expect(4) || (w[2] != "key" && w[2] != "mouse"))
            return "expected: FRAME " + name + " key VK or mouse B";
        const bool key = w[2] == "key";
        if (!ParseUnsigned(w[3], key ? 255 : 2, &code))
            return key ? "a key code is 0..255" : "a mouse button is 0 (secondary), 1 (primary) or 2";
        event.code = static_cast<int>(code);
        event.kind = key ? (verb == "down" ? Event::Kind::KeyDown : Event::Kind::KeyUp)
                         : (verb == "down" ? Event::Kind::ButtonDown : Event::Kind::ButtonUp);
    } else if (verb == "screenshot") {
        if (!expect(3)) return "expected: FRAME screenshot FILE.png";
        if (!IsPrintable(w[2])) return "a screenshot's file name has no control characters";
        event.file = std::string(w[2]);
        event.kind = Event::Kind::Screenshot;
    } else if (verb == "quit") {
        if (!expect(2)) return "expected: FRAME quit";
        event.kind = Event::Kind::Quit;
    } else if (verb == "focus") {
        if (!expect(3) || w[2] != "lost") return "expected: FRAME focus lost";
        event.kind = Event::Kind::FocusLost;
    } else if (verb == "pad") {
        return ParsePadLine(w, event);
    } else {
        return "unknown event \"" + Printable(verb) + "\"";
    }
    return {};
}

} // namespace

bool Parse(const std::string& name, std::string_view text, std::vector<Event>& events, std::string& error) {
    events.clear();
    bool failed = false;
    ForEachWordedLine(text, [&](const WordedLine& l) {
        Event event;
        if (const std::string why = ParseLine(l.words, event); !why.empty()) {
            error = name + ":" + std::to_string(l.number) + ": " + why;
            failed = true;
            return false;
        }
        events.push_back(event);
        return true;
    });
    if (failed) {
        events.clear();
        return false;
    }
    std::stable_sort(events.begin(), events.end(),
                     [](const Event& a, const Event& b) { return a.frame < b.frame; });
    return true;
}

bool Load(const std::string& path, std::vector<Event>& events, std::string& error) {
    std::string text, why;
    if (!ReadTextFile(path, kMaxScriptBytes, &text, &why)) {
        error = path + ": cannot read the input script: " + why;
        return false;
    }
    return Parse(path, text, events, error);
}

} // namespace zorbel::script
