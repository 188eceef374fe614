// The campaign bot: a player made of code. Once a frame, at the engine's input point, it looks at the screen
// and the battlefield and moves the cursor, holds keys and clicks buttons through the engine's input path, as
// a player's mouse and keyboard would. It reads the game and never writes it, so a game it plays is recorded
// and replayed like any other.
#pragma once

#include "Fighter.h"
#include "Hands.h"
#include "Report.h"
#include "zorbel_api.h"

#include <map>
#include <memory>
#include <optional>
#include <string>

namespace bot {

struct Settings {
    std::string report; // DRELMONT_BOT_REPORT: the balance report's file
    int levels = 0;     // DRELMONT_BOT_LEVELS: levels to win before leaving the game; 0 for the campaign
    int attempts = 10;  // DRELMONT_BOT_ATTEMPTS: lost attempts at one level before giving up
    int tourFrames = 0; // DRELMONT_BOT_TOUR: play every level from 1 on for this many frames each
};

// The bot's settings from the environment. A value that is not a whole number in range is reported on stderr
// and ends the program with status 2, as the engine's own hooks do.
Settings ReadSettings();

class Controller {
  public:
    explicit Controller(const Settings& settings);

    // Looks and acts for one frame.
    void Frame();
    // The bot has left, or is leaving, the game: the campaign is won, its levels are played, or it gave up.
    bool Done() const { return done; }
    // 1 when the tour stopped at a level that is not open, or the report could not be written; else 0.
    int Status() const;

  private:
    void MainMenu(Wish& wish);
    void MissionList(Wish& wish);
    void Play(Wish& wish);
    void Complete(Wish& wish);
    void GameOver(Wish& wish);
    void UpgradePanel(Wish& wish);
    void Fight(Wish& wish);
    void PlaceSoldier(Wish& wish);

    // Points at (x, y) and clicks the button once the pointer has rested there a moment, as a hand would.
    void ClickAt(Wish& wish, float x, float y, int32_t button = kPrimary);
    bool Settled() const;
    void BeginAttempt();
    void EndAttempt(bool won);
    void Finish(const std::string& why);

    Settings settings;
    Report report;
    Hands hands;
    Fighter fighter;

    double now = 0, lastTime = 0;
    ScreenView view; // the screens as this frame shows them
    std::optional<Screen> screen;
    double screenSince = 0, clickedAt = -1e9, restingSince = 0;
    float restX = -1, restY = -1;

    bool running = false; // an attempt is being played
    bool wasPlaying = false;
    int awaiting = 0; // the level a click has just started
    Attempt attempt;
    double attemptTicks = 0;
    std::map<int, int> attemptsAt;
    int levelsWon = 0;
    int tourLevel = 1;
    int tourFrames = 0;
    bool stoppedShort = false;
    bool done = false;
    double doneAt = 0;
};

// The procedure to register for the engine's input point: the bot when DRELMONT_BOT=1, else none.
ZB_Procedure InputProcedure();
// What the program's status should add once the game ends: the bot's Status, 0 without the bot.
int StatusAtExit();

} // namespace bot
