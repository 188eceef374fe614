// The game's sound objects: the report texts, load flags and play arguments the game hands to libsquall.
#include "SquallSound.h"

#include "platform.h"
#include "squall.h"

#include <algorithm>

namespace {

std::string LowerCase(std::string text) {
    for (char& c : text)
        if (c >= 'A' && c <= 'Z') c = static_cast<char>(c - 'A' + 'a');
    return text;
}

// The library's music flag: 0 for the start-up music, 1 for everything else.
int LoadFlag(uint8_t kind) {
    return kind == 2 ? 0 : 1;
}

} // namespace

TSound* TSound::Create(TSoundSystem* system) {
    if (system == nullptr) return nullptr;
    system->Sounds.push_back(std::unique_ptr<TSound>(new TSound(system)));
    return system->Sounds.back().get();
}

TSound::~TSound() {
    if (Loaded) Unload();
}

void TSound::Load(const std::string& file, uint8_t kind, int32_t tag) {
    if (Loaded) Unload();
    if (!platform::FileExists(file)) {
        System->Log("Sound not loaded: File \"" + file + "\" doesnt exists");
        return;
    }
    Kind = kind;
    FileName = LowerCase(file);
    Tag = tag;
    SampleID = SQUALL_Sample_LoadFile(file.c_str(), LoadFlag(kind), nullptr);
    if (SampleID < 1) {
        System->Log("Sound not loaded: " + file + ". ErrorCode: " + std::to_string(SampleID));
        return;
    }
    System->Log("Sound loaded: " + file);
    Loaded = true;
}

void TSound::Play(bool loop) {
    PlayAt({0, 0, 0}, {0, 0, 0}, loop);
}

int32_t TSound::PlayAt(const std::array<float, 3>& position, const std::array<float, 3>& velocity,
                       bool loop) {
    Position = position;
    Velocity = velocity;
    Loop = loop;
    if (Kind == 0) {
        Channel = SQUALL_Sample_Play3DEx(SampleID, loop, 0, 1, Position.data(), Velocity.data(), 50, Volume,
                                         Frequency, static_cast<float>(MinDistance),
                                         static_cast<float>(MaxDistance));
    } else {
        Channel = SQUALL_Sample_PlayEx(SampleID, loop, 0, 1, 128, Volume, Frequency, 50);
    }
    return Channel;
}

void TSound::SetFrequency(int32_t hz) {
    Frequency = hz;
}

void TSound::Stop() {
    SQUALL_Sample_Stop(SampleID);
    Channel = 0;
}

void TSound::Unload() {
    SQUALL_Sample_Unload(SampleID);
    Loaded = false;
    System->Log("Sound unloaded: " + FileName);
}

TSoundSystem* TSoundSystem::Create(LogHandler onLog) {
    std::unique_ptr<TSoundSystem> system(new TSoundSystem(std::move(onLog)));
    system->SetListenerFactors(0.003f, 0.032f, 1.0f);
    if (const int error = SQUALL_Init(nullptr); error < 0) {
        system->Log("TSoundSystem: Unable init sound system. ErrorCode: " + std::to_string(error));
        return nullptr;
    }
    return system.release();
}

TSoundSystem* TSoundSystem::CreateSilent(LogHandler onLog) {
    return new TSoundSystem(std::move(onLog));
}

TSoundSystem::~TSoundSystem() {
    // Last first, while the system can still take the sounds' unload reports.
    while (!Sounds.empty())
        Sounds.pop_back();
    SQUALL_Free();
}

TSound* TSoundSystem::LoadSound(const std::string& file, uint8_t kind, int32_t tag) {
    TSound* sound = TSound::Create(this);
    sound->Load(file, kind, tag);
    return sound;
}

void TSoundSystem::FreeSound(TSound* sound) {
    std::erase_if(Sounds, [sound](const std::unique_ptr<TSound>& s) { return s.get() == sound; });
}

int32_t TSoundSystem::Count() const {
    return static_cast<int32_t>(Sounds.size());
}

TSound* TSoundSystem::SoundAt(int32_t index) const {
    if (index < 0 || index >= Count()) return nullptr;
    return Sounds[static_cast<size_t>(index)].get();
}

void TSoundSystem::SetListenerFactors(float rolloff, float distance, float doppler) {
    RolloffFactor = rolloff;
    DistanceFactor = distance;
    DopplerFactor = doppler;
    if (const int error = SQUALL_Listener_SetRolloffFactor(rolloff); error < 0) {
        Log("TSoundSystem: Unable to set RolloffFactor. ErrorCode: " + std::to_string(error));
        SQUALL_Listener_GetRolloffFactor(&RolloffFactor);
    }
    if (const int error = SQUALL_Listener_SetDistanceFactor(distance); error < 0) {
        Log("TSoundSystem: Unable to set DistanceFactor. ErrorCode: " + std::to_string(error));
        SQUALL_Listener_GetDistanceFactor(&DistanceFactor);
    }
    if (const int error = SQUALL_Listener_SetDopplerFactor(doppler); error < 0) {
        Log("TSoundSystem: Unable to set DopplerFactor. ErrorCode: " + std::to_string(error));
        SQUALL_Listener_GetDopplerFactor(&DopplerFactor);
    }
}

void TSoundSystem::Log(const std::string& text) const {
    if (OnLog) OnLog(text);
}
