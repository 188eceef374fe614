// Fuzz target: any bytes as the settings file (8-bit or UTF-16, any line ends): the game's keys are looked
// up, read as integers and written back; writing what is there changes no byte, and what is written is what
// is found again.
#include "check.h"
#include "ini.h"

#include <cstdint>
#include <string>

namespace {

const std::vector<platform::IniKey> kKeys = {
    {"00^123$", "12 10 70 "}, {"00^123$", "64 26 12 "}, {"eax$%d3", "uscQD "},  {"prA(*@)", "BH5sj "},
    {"00^123$", "/*-+() "},   {"00^123$", "!)^^:; "},   {"00^123$", "Vft4DS "}, {"OPTIONS", "SMOOTH "}};

bool Blank(char c) {
    return c == ' ' || c == '\t' || c == '\r' || c == '\n' || c == '\v' || c == '\f';
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const std::string_view text(reinterpret_cast<const char*>(data), size);
    const auto found = platform::IniFind(text, kKeys);
    fuzz::Require(found.size() == kKeys.size(), "one answer per key asked");
    std::vector<platform::IniEntry> entries, same;
    for (size_t i = 0; i < found.size(); ++i) {
        if (found[i]) {
            fuzz::Require(found[i]->empty() || (!Blank(found[i]->front()) && !Blank(found[i]->back())),
                          "a value comes without the blanks around it");
            if (const auto number = platform::IniParseInteger(*found[i]))
                fuzz::Require(platform::IniParseInteger(std::to_string(*number)) == number,
                              "an integer read back from its own digits is the same");
            same.push_back({kKeys[i].section, kKeys[i].key, *found[i]});
        }
        entries.push_back({kKeys[i].section, kKeys[i].key, std::to_string(static_cast<int>(i) * 37 - 100)});
    }
    fuzz::Require(platform::IniSet(text, same) == text, "setting the values a text holds changes no byte");
    const std::string written = platform::IniSet(text, entries);
    const auto again = platform::IniFind(written, kKeys);
    for (size_t i = 0; i < entries.size(); ++i)
        fuzz::Require(again[i] == entries[i].value, "every value written is found again");
    return 0;
}
