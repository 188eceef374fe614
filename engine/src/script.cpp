// Reading the input script: "FRAME mouse X Y", "FRAME down|up key VK", "FRAME down|up mouse B",
// "FRAME screenshot FILE.png", "FRAME quit"; '#' starts a comment.
#include "script.h"

#include <algorithm>
#include <cstdlib>
#include <fstream>
#include <sstream>

namespace zorbel::script {
namespace {

bool ParseUnsigned(const std::string& word, uint64_t max, uint64_t* value) {
    if (word.empty() || word.find_first_not_of("0123456789") != std::string::npos || word.size() > 18)
        return false;
    *value = std::strtoull(word.c_str(), nullptr, 10);
    return *value <= max;
}

bool ParseFloat(const std::string& word, float* value) {
    char* end = nullptr;
    *value = std::strtof(word.c_str(), &end);
    return !word.empty() && end == word.c_str() + word.size();
}

// Parses one non-empty line; returns an empty string or the reason it is wrong.
std::string ParseLine(const std::string& line, Event& event) {
    std::istringstream in(line);
    std::vector<std::string> w;
    for (std::string word; in >> word;)
        w.push_back(word);
    if (!ParseUnsigned(w[0], UINT64_MAX / 2, &event.frame)) return "the line must start with a frame number";
    if (w.size() < 2) return "an event must follow the frame number";
    const std::string& verb = w[1];
    auto expect = [&](size_t count) { return w.size() == count; };
    if (verb == "mouse") {
        if (!expect(4) || !ParseFloat(w[2], &event.x) || !ParseFloat(w[3], &event.y))
            return "expected: FRAME mouse X Y";
        event.kind = Event::Kind::Mouse;
    } else if (verb == "down" || verb == "up") {
        uint64_t code = 0;
        if (!expect(4) || (w[2] != "key" && w[2] != "mouse"))
            return "expected: FRAME " + verb + " key VK or mouse B";
        const bool key = w[2] == "key";
        if (!ParseUnsigned(w[3], key ? 255 : 2, &code))
            return key ? "a key code is 0..255" : "a mouse button is 0 (secondary), 1 (primary) or 2";
        event.code = static_cast<int>(code);
        event.kind = key ? (verb == "down" ? Event::Kind::KeyDown : Event::Kind::KeyUp)
                         : (verb == "down" ? Event::Kind::ButtonDown : Event::Kind::ButtonUp);
    } else if (verb == "screenshot") {
        if (!expect(3)) return "expected: FRAME screenshot FILE.png";
        event.file = w[2];
        event.kind = Event::Kind::Screenshot;
    } else if (verb == "quit") {
        if (!expect(2)) return "expected: FRAME quit";
        event.kind = Event::Kind::Quit;
    } else {
        return "unknown event \"" + verb + "\"";
    }
    return {};
}

} // namespace

bool Load(const std::string& path, std::vector<Event>& events, std::string& error) {
    std::ifstream in(path);
    if (!in) {
        error = path + ": cannot open the input script";
        return false;
    }
    events.clear();
    std::string line;
    for (int number = 1; std::getline(in, line); ++number) {
        if (const size_t hash = line.find('#'); hash != std::string::npos) line.erase(hash);
        if (line.find_first_not_of(" \t\r") == std::string::npos) continue;
        Event event;
        if (const std::string why = ParseLine(line, event); !why.empty()) {
            error = path + ":" + std::to_string(number) + ": " + why;
            return false;
        }
        events.push_back(event);
    }
    std::stable_sort(events.begin(), events.end(),
                     [](const Event& a, const Event& b) { return a.frame < b.frame; });
    return true;
}

} // namespace zorbel::script
