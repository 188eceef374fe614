// Replacing the music piece that plays.
#include "music.h"

#include "SquallSound.h"
#include "assets.h"
#include "settings.h"

#include <algorithm>
#include <cctype>
#include <string>

namespace {

std::string LowerCase(std::string text) {
    std::transform(text.begin(), text.end(), text.begin(),
                   [](unsigned char c) { return static_cast<char>(std::tolower(c)); });
    return text;
}

} // namespace

void PlayMusic(uint8_t choice) {
    static const char* const kPieces[] = {
        "SOUNDS\\MUSIC_MAIN_FIGHT.OGG", "SOUNDS\\MUSIC_FIGHT_SILENCE.OGG", "SOUNDS\\MUSIC_FIGHT.OGG",
        "SOUNDS\\MUSIC_DEATH.OGG",      "SOUNDS\\MUSIC_MAIN_MENU.OGG",
    };
    if (choice < 1 || choice > 5) return;
    const char* piece = kPieces[choice - 1];
    if (SndMusic) {
        SndMusic->Stop();
        // The piece already loaded starts again from its beginning: decoding the same file anew would only
        // hold up the start of the game and of every retried level.
        if (SndMusic->Loaded && SndMusic->FileName == LowerCase(piece)) {
            SndMusic->Volume = MusicVolume;
            SndMusic->Play(true);
            return;
        }
        SoundSystem->FreeSound(SndMusic);
    }
    SndMusic = SoundSystem->LoadSound(piece, 1, 1);
    SndMusic->Volume = MusicVolume;
    SndMusic->Play(true);
}
