// The engine's environment hooks (ZORBEL_*): a value that is set is checked, and a bad one stops the program
// with a message and status 2, as a bad input script does.
#pragma once

#include <cstdint>
#include <string>

namespace zorbel::hooks {

// Reports the message and ends the program with status 2.
[[noreturn]] void Refuse(const std::string& message);

// The value of the variable; empty when it is unset or set to nothing.
std::string Text(const char* name);

// A whole decimal number from min to max; fallback when the variable is unset or empty.
uint64_t WholeNumber(const char* name, uint64_t min, uint64_t max, uint64_t fallback);

// A finite number above zero; fallback when the variable is unset or empty.
double PositiveNumber(const char* name, double fallback);

} // namespace zorbel::hooks
