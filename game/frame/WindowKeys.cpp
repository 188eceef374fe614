// F12, Alt+Enter and the window's focus, answered once a frame.
#include "WindowKeys.h"

#include "Battle.h"
#include "GameTick.h"
#include "Keys.h"
#include "SquallSound.h"
#include "ZORBEL.h"
#include "assets.h"
#include "language.h"
#include "platform.h"
#include "settings.h"

#include <cstdio>
#include <string>

namespace {

// The note after F12 shows for about a second and fades for four more.
constexpr uint16_t kNoteTicks = 320;

// Set when the focus went during play, until play is left.
bool LeavingPlay = false;

bool InPlay() {
    return ScreenState == Screen::Play || ScreenState == Screen::UpgradePanel;
}

void KeepScreenshot() {
    std::string why = "no home folder to keep it in";
    const std::string pictures = platform::PicturesDir();
    const std::string file =
        pictures.empty() ? std::string() : platform::NewTimedFile(pictures + "/Drelmont", ".png", &why);
    if (file.empty()) std::fprintf(stderr, "Unable to save the screenshot: %s\n", why.c_str());
    // The engine says on stderr why a write failed.
    const bool saved = !file.empty() && ZB_SaveScreenshot(file.c_str()) != 0;
    ShowMessage(false, Text(saved ? TextKey::ScreenshotSaved : TextKey::ScreenshotFailed), kNoteTicks);
}

// The battle falls silent at once; the music goes on as the main menu has it.
void StopEffects() {
    for (int32_t i = 0; i < SoundSystem->Count(); ++i)
        if (TSound* sound = SoundSystem->SoundAt(i); sound != SndMusic) sound->Stop();
}

// Escape on the upgrade panel only closes it, so play is left one frame later, as a second Escape would:
// "continue" keeps the game paused while the panel is still fully shown.
void LeavePlayWithoutFocus() {
    if (ZB_FocusLost() && InPlay()) {
        LeavingPlay = true;
        StopEffects();
    }
    if (LeavingPlay && InPlay()) HandleEscape();
    LeavingPlay = LeavingPlay && InPlay();
}

} // namespace

void FollowWindow() {
    if (Key_Press(kKeyF12)) KeepScreenshot();
    if (const int32_t switched = ZB_FullScreenChange(); switched != 0) FullScreen = switched == 1;
    LeavePlayWithoutFocus();
}
