// Level set-up: the 30-level table and the common reset of a new game. The level's state is the battlefield's
// (Battle.level, Battle.h).
#pragma once

#include <cstdint>

// The campaign's levels, 1 to 30; winning the last wins the campaign.
constexpr int kCampaignLevels = 30;

// Sets up level n (1 .. 31) and starts it; any other n does nothing.
void SetupLevel(uint8_t n);
void RestartLevel(uint8_t n);
// The reset every new game goes through; expects Level to be set.
void StartLevel();
