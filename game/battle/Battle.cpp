// The battlefield state, the names of the screens, and the centred message's clock.
#include "Battle.h"

BattleState Battle;

const char* ScreenName(Screen screen) {
    switch (screen) {
    case Screen::MainMenu:
        return "1";
    case Screen::Missions:
        return "3";
    case Screen::Options:
        return "OPTIONS";
    case Screen::Credits:
        return "CREATED";
    case Screen::Play:
        return "0";
    case Screen::UpgradePanel:
        return "NAV1";
    case Screen::GameOver:
        return "GAME_OVER";
    case Screen::Complete:
        break;
    }
    return "COMPLETE";
}

bool OnBattlefieldScreen(Screen screen) {
    return screen == Screen::Play || screen == Screen::UpgradePanel || screen == Screen::GameOver ||
           screen == Screen::Complete;
}

void ShowMessage(bool wins, const std::string& text, uint16_t duration) {
    MessageTime = duration;
    MessageText = text;
    MessageWins = wins;
}

// A message counts down on every screen, so a notice given in a menu fades there too.
void StepMessage() {
    if (MessageTime > 0) {
        --MessageTime;
        if (MessageTime == 1 && MessageWins) LevelWon = true;
    }
}
