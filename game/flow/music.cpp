// Replacing the music piece that plays.
#include "music.h"

#include "SquallSound.h"
#include "assets.h"
#include "settings.h"

void PlayMusic(uint8_t choice) {
    static const char* const kPieces[] = {
        "SOUNDS\\MUSIC_MAIN_FIGHT.OGG", "SOUNDS\\MUSIC_FIGHT_SILENCE.OGG", "SOUNDS\\MUSIC_FIGHT.OGG",
        "SOUNDS\\MUSIC_DEATH.OGG",      "SOUNDS\\MUSIC_MAIN_MENU.OGG",
    };
    if (choice < 1 || choice > 5) return;
    if (SndMusic) {
        SndMusic->Stop();
        SoundSystem->FreeSound(SndMusic);
    }
    SndMusic = SoundSystem->LoadSound(kPieces[choice - 1], 1, 1);
    SndMusic->Volume = MusicVolume;
    SndMusic->Play(true);
}
