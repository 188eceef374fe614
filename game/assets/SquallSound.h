// The game's sound objects over libsquall: one sound system that owns every loaded sound.
#pragma once

#include <array>
#include <cstdint>
#include <functional>
#include <memory>
#include <string>
#include <vector>

class TSoundSystem;

// One loaded sample, played flat (kinds 1 and 2) or positioned (kind 0).
class TSound {
  public:
    // Nil without a system; otherwise the new sound joins the system's list, which owns it.
    static TSound* Create(TSoundSystem* system);
    ~TSound();
    TSound(const TSound&) = delete;
    TSound& operator=(const TSound&) = delete;

    // Kind 2 is the music loaded at start: the library gets its music flag (0) instead of 1.
    void Load(const std::string& file, uint8_t kind, int32_t tag);
    void Play(bool loop);
    int32_t PlayAt(const std::array<float, 3>& position, const std::array<float, 3>& velocity, bool loop);
    // Takes effect on the next play.
    void SetFrequency(int32_t hz);
    void Stop();
    void Unload();

    int32_t SampleID = 0;
    TSoundSystem* System;
    int32_t Channel = 0;
    std::array<float, 3> Velocity{};
    uint8_t Kind = 0;
    int32_t Frequency = 0;
    std::array<float, 3> Position{};
    bool Loop = false;
    int32_t MaxDistance = 4000;
    int32_t MinDistance = 400;
    int32_t Volume = 80;
    std::string FileName;
    int32_t Tag = 0;
    bool Loaded = false;

  private:
    explicit TSound(TSoundSystem* system) : System(system) {}
};

// Starts the sound library and keeps every sound made for it, in creation order.
class TSoundSystem {
  public:
    using LogHandler = std::function<void(const std::string&)>;

    // Nil when the library cannot start (the failure is reported to onLog first). The caller owns the system;
    // deleting it frees every sound and stops the library.
    static TSoundSystem* Create(LogHandler onLog = nullptr);
    // A system for a machine whose sound library could not start: sounds are still made and kept, their
    // loads fail and report, and their plays do nothing. The game runs silent on it without special cases.
    static TSoundSystem* CreateSilent(LogHandler onLog = nullptr);
    ~TSoundSystem();
    TSoundSystem(const TSoundSystem&) = delete;
    TSoundSystem& operator=(const TSoundSystem&) = delete;

    TSound* LoadSound(const std::string& file, uint8_t kind, int32_t tag);
    // Unloads the sound and drops it from the list; the pointer is dead afterwards.
    void FreeSound(TSound* sound);
    int32_t Count() const;
    // Nil outside 0 .. Count - 1.
    TSound* SoundAt(int32_t index) const;
    void SetListenerFactors(float rolloff, float distance, float doppler);
    void Log(const std::string& text) const;

    std::vector<std::unique_ptr<TSound>> Sounds;
    LogHandler OnLog;
    float RolloffFactor = 0.003f;
    float DistanceFactor = 0.032f;
    float DopplerFactor = 1.0f;

  private:
    explicit TSoundSystem(LogHandler onLog) : OnLog(std::move(onLog)) {}
};
