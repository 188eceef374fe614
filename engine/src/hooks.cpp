// Checking the engine's environment hooks: a typo must not silently mean something else (no frame limit,
// an empty script), so every value is taken whole or refused.
#include "hooks.h"

#include "engine.h"
#include "outside_text.h"

#include <cstdlib>

namespace zorbel::hooks {
namespace {

[[noreturn]] void RefuseValue(const char* name, const std::string& value, const std::string& expected) {
    Refuse(std::string(name) + "=" + Printable(value) + ": expected " + expected);
}

} // namespace

void Refuse(const std::string& message) {
    Report("%s", message.c_str());
    std::exit(2);
}

std::string Text(const char* name) {
    const char* value = std::getenv(name);
    return value ? value : "";
}

uint64_t WholeNumber(const char* name, uint64_t min, uint64_t max, uint64_t fallback) {
    const std::string text = Text(name);
    if (text.empty()) return fallback;
    uint64_t value = 0;
    if (!ParseNumber(std::string_view(text), &value) || value < min || value > max)
        RefuseValue(name, text, "a whole number from " + std::to_string(min) + " to " + std::to_string(max));
    return value;
}

double PositiveNumber(const char* name, double fallback) {
    const std::string text = Text(name);
    if (text.empty()) return fallback;
    double value = 0.0;
    if (!ParseNumber(std::string_view(text), &value) || value <= 0.0)
        RefuseValue(name, text, "a number above 0");
    return value;
}

} // namespace zorbel::hooks
