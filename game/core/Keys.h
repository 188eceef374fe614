// The keys and mouse buttons the game reads: Windows virtual-key codes and the engine's button numbers.
#pragma once

#include <cstdint>

constexpr int32_t kKeyEnter = 13, kKeyEscape = 27;
constexpr int32_t kKeyA = 65, kKeyD = 68, kKeyM = 77, kKeyQ = 81, kKeyR = 82, kKeyS = 83, kKeyW = 87;
constexpr int32_t kKeyF12 = 123;

constexpr int32_t kPrimary = 1, kSecondary = 0; // mouse buttons
