// The campaign bot: the screens a player goes through, the attempts at each level and their report.
#include "Bot.h"

#include "ZORBEL.h"
#include "level.h"
#include "platform.h"
#include "uMenu.h"

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <limits>

namespace bot {
namespace {

constexpr int kLastLevel = kCampaignLevels;
// A player takes a moment to see a new screen, and rests the pointer on a button before pressing it.
constexpr double kSettleMs = 500, kRestMs = 200, kClickAgainMs = 700;
// The "You WIN!!!" message is left on the screen this long before the bot goes.
constexpr double kVictoryLapMs = 3000;
int WholeSetting(const char* name, int fallback, int least, int most) {
    const char* text = std::getenv(name);
    if (!text) return fallback;
    char* end = nullptr;
    errno = 0;
    const long value = std::strtol(text, &end, 10);
    if (end == text || *end != '\0' || errno != 0 || value < least || value > most) {
        std::fprintf(stderr, "drelmont: %s=%s is not a whole number from %d to %d\n", name, text, least,
                     most);
        std::exit(2);
    }
    return static_cast<int>(value);
}

float CentreX(const ZB_Rect& r) {
    return r.X + r.W / 2.0f;
}
float CentreY(const ZB_Rect& r) {
    return r.Y + r.H / 2.0f;
}

} // namespace

Settings ReadSettings() {
    Settings s;
    if (const char* report = std::getenv("DRELMONT_BOT_REPORT")) s.report = report;
    s.levels = WholeSetting("DRELMONT_BOT_LEVELS", 0, 0, kLastLevel);
    s.attempts = WholeSetting("DRELMONT_BOT_ATTEMPTS", s.attempts, 1, 1000000);
    s.tourFrames = WholeSetting("DRELMONT_BOT_TOUR", 0, 0, 100000000);
    return s;
}

Controller::Controller(const Settings& s) : settings(s) {
    if (!settings.report.empty()) report.Open(settings.report);
}

int Controller::Status() const {
    return stoppedShort || report.Failed() ? 1 : 0;
}

bool Controller::Settled() const {
    return now - screenSince >= kSettleMs && now - clickedAt >= kClickAgainMs;
}

void Controller::ClickAt(Wish& wish, float x, float y, int32_t button) {
    wish.x = x;
    wish.y = y;
    if (x != restX || y != restY) {
        restX = x;
        restY = y;
        restingSince = now;
        return;
    }
    if (now - restingSince < kRestMs || !Settled()) return;
    wish.clicks.insert(button);
    clickedAt = now;
}

void Controller::Finish(const std::string& why) {
    if (done) return;
    done = true;
    doneAt = now;
    platform::Trace("bot done " + why);
}

void Controller::BeginAttempt() {
    running = true;
    awaiting = 0;
    attempt = Attempt{};
    attempt.level = view.level;
    attempt.attempt = ++attemptsAt[view.level];
    attempt.lowestHealth = view.health;
    attemptTicks = 0;
}

void Controller::EndAttempt(bool won) {
    if (!running) return;
    running = false;
    attempt.won = won;
    attempt.ticks = std::llround(attemptTicks);
    attempt.kills = view.kills;
    attempt.score = int64_t{view.score} * 100; // the top bar shows the score in hundreds, with "00" after it
    attempt.points = view.pointsAwarded;
    attempt.lowestHealth = std::min(attempt.lowestHealth, view.dead ? 0.0f : view.health);
    report.Add(attempt);
    platform::Trace("bot " + ReportRow(attempt));
}

void Controller::Frame() {
    now = U_GetTime();
    view = ReadScreen();
    if (view.screen != screen) {
        screen = view.screen;
        screenSince = now;
    }
    // The game ticks since the last frame belong to the attempt if play was running through them.
    if (running && wasPlaying && view.tickInterval > 0) attemptTicks += (now - lastTime) / view.tickInterval;
    lastTime = now;
    wasPlaying = false;

    Wish wish;
    wish.x = hands.CursorX();
    wish.y = hands.CursorY();
    switch (view.screen) {
    case Screen::MainMenu:
        MainMenu(wish);
        break;
    case Screen::Missions:
        MissionList(wish);
        break;
    case Screen::Play:
        Play(wish);
        break;
    case Screen::Complete:
        Complete(wish);
        break;
    case Screen::GameOver:
        GameOver(wish);
        break;
    case Screen::UpgradePanel:
        UpgradePanel(wish);
        break;
    case Screen::Options:
    case Screen::Credits:
        // Back out with Escape.
        if (Settled()) {
            wish.taps.insert(kKeyEscape);
            clickedAt = now;
        }
        break;
    }
    hands.Post(wish);
}

void Controller::MainMenu(Wish& wish) {
    // The menu fades in first.
    if (!view.menuReady) return;
    const ZB_Rect& line = done ? MainMenuLines[6] : MainMenuLines[0]; // exit, or new game
    ClickAt(wish, CentreX(line), CentreY(line));
}

void Controller::MissionList(Wish& wish) {
    if (done) {
        if (Settled()) {
            wish.taps.insert(kKeyEscape);
            clickedAt = now;
        }
        return;
    }
    const int level =
        settings.tourFrames > 0 ? tourLevel : std::min(static_cast<int>(view.levelsOpen) + 1, kLastLevel);
    // Its button would do nothing however often it was clicked.
    if (level > view.levelsOpen + 1) {
        std::fprintf(stderr,
                     "drelmont: the bot's tour stops at level %d, which the saved progress has not opened\n",
                     level);
        stoppedShort = true;
        Finish("closed level " + std::to_string(level));
        return;
    }
    const ZB_Rect button = LevelButton(level);
    ClickAt(wish, CentreX(button) + kPointerTip, CentreY(button) + kPointerTip);
    if (!wish.clicks.empty()) awaiting = level;
}

void Controller::Play(Wish& wish) {
    // An attempt begins with the level the bot's own click started.
    if (awaiting != 0 && view.level == awaiting && !running) BeginAttempt();
    if (running) attempt.lowestHealth = std::min(attempt.lowestHealth, view.health);

    if (view.won && view.level == kLastLevel && running) {
        // The last level leaves no end screen: "You WIN!!!" stays over the field.
        EndAttempt(true);
        ++levelsWon;
        Finish("campaign");
    }
    if (done) {
        if (now - doneAt >= kVictoryLapMs && Settled()) {
            wish.taps.insert(kKeyEscape);
            clickedAt = now;
        }
        return;
    }
    if (view.targetMode) {
        PlaceSoldier(wish);
        return;
    }
    if (!running) return;
    if (settings.tourFrames > 0 && ++tourFrames >= settings.tourFrames) {
        EndAttempt(false);
        tourFrames = 0;
        if (++tourLevel > kLastLevel) Finish("tour");
        wish.taps.insert(kKeyEscape);
        clickedAt = now;
        return;
    }
    wasPlaying = !view.paused;
    Fight(wish);
    // Points to spend: the secondary button opens the upgrade panel, which stops the game meanwhile.
    if (view.upgradePoints > 0 && !view.dead && now - clickedAt >= kClickAgainMs &&
        ChooseUpgrade(ReadField())) {
        wish.clicks.insert(kSecondary);
        clickedAt = now;
    }
}

void Controller::UpgradePanel(Wish& wish) {
    const std::optional<Upgrade> upgrade = ChooseUpgrade(ReadField());
    if (!upgrade) {
        // Nothing more worth a point: the secondary button closes the panel again.
        ClickAt(wish, wish.x, wish.y, kSecondary);
        return;
    }
    const ZB_Rect r = UpgradeLine(static_cast<int>(*upgrade));
    ClickAt(wish, CentreX(r) + kPointerTip, CentreY(r) + kPointerTip);
}

void Controller::Fight(Wish& wish) {
    const Field field = ReadField();
    const Orders orders = fighter.Decide(field);
    wish.x = orders.cursor.x;
    wish.y = orders.cursor.y;
    if (orders.fire) wish.buttons.insert(kPrimary);
    if (orders.walkY < 0) wish.keys.insert(kKeyW);
    if (orders.walkY > 0) wish.keys.insert(kKeyS);
    if (orders.walkX < 0) wish.keys.insert(kKeyA);
    if (orders.walkX > 0) wish.keys.insert(kKeyD);
    if (orders.layMine) wish.keys.insert(kKeyM);
    if (orders.reload) wish.taps.insert(kKeyR);
}

void Controller::PlaceSoldier(Wish& wish) {
    // The next click puts the soldier where the pointer is: the spot on the screen farthest from every
    // monster, away from the edges of the ground.
    const Field field = ReadField();
    float bestX = 400, bestY = 300, bestRoom = -1;
    for (float sy = 60; sy <= 560; sy += 20) {
        for (float sx = 40; sx <= 760; sx += 20) {
            const float cx = sx + field.camX + 30, cy = sy + field.camY + 30;
            if (cx < kFieldLeft + 60 || cx > kFieldRight - 60 || cy < kFieldTop + 60 ||
                cy > kFieldBottom - 60)
                continue;
            float room = std::numeric_limits<float>::max();
            for (const Foe& foe : field.foes)
                room = std::min(room, std::hypot(foe.x - cx, foe.y - cy));
            if (room > bestRoom) {
                bestRoom = room;
                bestX = sx;
                bestY = sy;
            }
        }
    }
    wish.x = bestX;
    wish.y = bestY;
    if (hands.CursorX() == bestX && hands.CursorY() == bestY && now - clickedAt >= kClickAgainMs) {
        wish.clicks.insert(kPrimary);
        clickedAt = now;
    }
}

void Controller::Complete(Wish& wish) {
    if (running) {
        EndAttempt(true);
        ++levelsWon;
        if (settings.levels > 0 && levelsWon >= settings.levels) Finish("levels");
    }
    if (done) {
        ClickAt(wish, CentreX(kCompleteMainMenuButton), CentreY(kCompleteMainMenuButton));
        return;
    }
    ClickAt(wish, CentreX(kNextLevelButton), CentreY(kNextLevelButton));
    if (!wish.clicks.empty()) {
        awaiting = view.level + 1;
        if (settings.tourFrames > 0) {
            tourLevel = view.level + 1;
            tourFrames = 0;
        }
    }
}

void Controller::GameOver(Wish& wish) {
    if (running) {
        EndAttempt(false);
        if (attemptsAt[view.level] >= settings.attempts && settings.tourFrames == 0)
            Finish("gave up at level " + std::to_string(view.level));
    }
    if (done) {
        if (Settled()) {
            wish.taps.insert(kKeyEscape);
            clickedAt = now;
        }
        return;
    }
    ClickAt(wish, CentreX(kPlayAgainButton) + kGameOverPoint, CentreY(kPlayAgainButton) + kGameOverPoint);
    if (!wish.clicks.empty()) awaiting = view.level;
}

namespace {

std::unique_ptr<Controller> gController;

void RunController() {
    gController->Frame();
}

} // namespace

int StatusAtExit() {
    return gController ? gController->Status() : 0;
}

ZB_Procedure InputProcedure() {
    const char* on = std::getenv("DRELMONT_BOT");
    if (!on || std::string(on) != "1") return nullptr;
    gController = std::make_unique<Controller>(ReadSettings());
    return RunController;
}

} // namespace bot
