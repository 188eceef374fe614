// libsquall: samples decoded once into OpenAL buffers and played on a fixed pool of OpenAL sources.
#include "decode.h"

#include "platform.h"

// Only the C interface leaves the library; everything else is compiled with hidden visibility.
#pragma GCC visibility push(default)
#include "squall.h"
#include "squall_debug.h"
#pragma GCC visibility pop

#include <AL/al.h>
#include <AL/alc.h>

#include <algorithm>
#include <array>
#include <atomic>
#include <chrono>
#include <climits>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <dlfcn.h>
#include <future>
#include <limits>
#include <memory>
#include <numbers>
#include <optional>
#include <string>
#include <thread>
#include <unordered_map>
#include <vector>

namespace {

constexpr int kPoolSize = 32;
constexpr float kSpeedOfSoundInMetres = 343.3f;

using Clock = std::chrono::steady_clock;

struct Sample {
    ALuint buffer = 0;
    int rate = 0;
    double seconds = 0; // its length at its own rate
};

// What the library last set on a source. A play sets a dozen properties, each call taking OpenAL's locks, and
// most are already what the source holds: only those that differ are set.
struct SourceSettings {
    std::optional<ALint> buffer, looping, relative;
    std::optional<float> gain, pitch, rolloff, reference, farthest;
    std::optional<std::array<float, 3>> position, velocity;
};

void Set(ALuint source, ALenum what, ALint value, std::optional<ALint>& kept) {
    if (kept == value) return;
    alSourcei(source, what, value);
    kept = value;
}

void Set(ALuint source, ALenum what, float value, std::optional<float>& kept) {
    if (kept == value) return;
    alSourcef(source, what, value);
    kept = value;
}

void Set(ALuint source, ALenum what, const std::array<float, 3>& value,
         std::optional<std::array<float, 3>>& kept) {
    if (kept == value) return;
    alSourcefv(source, what, value.data());
    kept = value;
}

// One pooled source. A voice is busy while its source plays, and also while a play prepared with start 0
// holds it; a finished voice is free again without anyone telling the library.
struct Voice {
    ALuint source = 0;
    int channel = 0; // handle of the play on this source; 0 when it has none
    int sample = 0;
    bool looping = false;
    bool positioned = false;
    bool held = false;
    int priority = 0;
    uint64_t order = 0; // when the play started, to find the oldest
    // Before this the source cannot have played its sound through, so asking OpenAL whether it still plays
    // would only cost a call; a full pool is asked about every voice at every play.
    Clock::time_point surelyPlaying{};
    SourceSettings set{};
};

// Files decoded ahead of their loading (SQUALL_Sample_DecodeAhead), by their real paths. Only the thread that
// loads asks and takes; the decoding threads only fulfil their promises.
class AheadDecoder {
  public:
    AheadDecoder() = default;
    AheadDecoder(const AheadDecoder&) = delete;
    AheadDecoder& operator=(const AheadDecoder&) = delete;
    ~AheadDecoder() { Join(); }

    void Ask(const std::vector<std::string>& paths) {
        Join();
        auto batch = std::make_shared<Batch>();
        for (const std::string& path : paths) {
            File& file = files_[path];
            if (file.wanted++ > 0) continue;
            batch->jobs.push_back(Job{path, {}});
            file.pending = batch->jobs.back().done.get_future();
        }
        if (batch->jobs.empty()) return;
        const size_t threads = std::min(static_cast<size_t>(platform::UsableCores()), batch->jobs.size());
        for (size_t t = 0; t < threads; ++t)
            threads_.emplace_back([batch] {
                for (size_t i = batch->next++; i < batch->jobs.size(); i = batch->next++) {
                    Decoded decoded;
                    decoded.error = squall::DecodeOgg(batch->jobs[i].path, decoded.pcm);
                    batch->jobs[i].done.set_value(std::move(decoded));
                }
            });
    }

    // The decoded file at `path` and its error, waiting for it if need be; false when it was not asked for
    // (or has been taken as often as it was asked for).
    bool Take(const std::string& path, int* error, squall::Pcm* pcm) {
        const auto found = files_.find(path);
        if (found == files_.end()) return false;
        File& file = found->second;
        if (!file.done) file.done = file.pending.get();
        *error = file.done->error;
        if (--file.wanted > 0) {
            *pcm = file.done->pcm;
        } else {
            *pcm = std::move(file.done->pcm);
            files_.erase(found);
        }
        return true;
    }

  private:
    struct Decoded {
        int error = 0;
        squall::Pcm pcm;
    };
    struct Job {
        std::string path;
        std::promise<Decoded> done;
    };
    // One call's files, shared out among its threads in the order asked.
    struct Batch {
        std::vector<Job> jobs;
        std::atomic<size_t> next{0};
    };
    struct File {
        std::future<Decoded> pending;
        std::optional<Decoded> done;
        int wanted = 0;
    };

    void Join() {
        for (std::thread& t : threads_)
            t.join();
        threads_.clear();
    }

    std::unordered_map<std::string, File> files_;
    std::vector<std::thread> threads_;
};

struct Mixer {
    ALCdevice* device = nullptr;
    ALCcontext* context = nullptr;
    ALCboolean (*setThreadContext)(ALCcontext*) = nullptr; // ALC_EXT_thread_local_context, where there is one
    std::vector<Voice> voices;
    std::unordered_map<int, Sample> samples;
    float rolloff = 1.0f;
    float distance = 1.0f;
    float doppler = 1.0f;
    uint64_t plays = 0;
    Clock::duration mixedAhead{}; // the most the device may have mixed ahead of what it has played
    AheadDecoder ahead;           // last, so its threads end before the rest goes
};

std::unique_ptr<Mixer> gMixer;

// The context this thread has made its own, if any.
thread_local ALCcontext* tOwnContext = nullptr;

// OpenAL takes the lock on its list of contexts in every call from a thread without a context of its own, and
// a play makes a dozen calls and more, many times a tick, from the game's thread: every thread that calls the
// library takes the context as its own first (it is the same context as the process's).
Mixer* Ready() {
    Mixer* m = gMixer.get();
    if (m && m->setThreadContext && tOwnContext != m->context && m->setThreadContext(m->context) == ALC_TRUE)
        tOwnContext = m->context;
    return m;
}

// The game never frees the library; closing the device at unload keeps OpenAL from complaining at exit.
struct FreeAtExit {
    ~FreeAtExit() { SQUALL_Free(); }
} gFreeAtExit;

// Handles count up for the life of the process, across SQUALL_Free and SQUALL_Init, so an old handle never
// names a newer sample or channel.
int gNextSample = 1;
int gNextChannel = 1;

int TakeHandle(int& next) {
    const int handle = next;
    next = next == INT_MAX ? 1 : next + 1;
    return handle;
}

bool IsBusy(const Voice& v, Clock::time_point now) {
    if (v.held || now < v.surelyPlaying) return true;
    ALint state = AL_STOPPED;
    alGetSourcei(v.source, AL_SOURCE_STATE, &state);
    return state == AL_PLAYING;
}

void Silence(Voice& v) {
    alSourceStop(v.source);
    v.held = false;
    v.channel = 0;
    v.surelyPlaying = Clock::time_point{};
}

// A free voice if there is one; otherwise the play that matters least: lowest priority, then oldest, never a
// looping one and never one above the new play's priority.
Voice* AcquireVoice(Mixer& m, int priority) {
    Voice* victim = nullptr;
    const Clock::time_point now = Clock::now();
    for (Voice& v : m.voices) {
        if (!IsBusy(v, now)) return &v;
        if (v.looping || v.priority > priority) continue;
        if (victim == nullptr || v.priority < victim->priority ||
            (v.priority == victim->priority && v.order < victim->order))
            victim = &v;
    }
    if (victim != nullptr) Silence(*victim);
    return victim;
}

Voice* FindChannel(Mixer& m, int channel) {
    if (channel < 1) return nullptr;
    for (Voice& v : m.voices)
        if (v.channel == channel) return &v;
    return nullptr;
}

// Everything a play sets that does not depend on flat or positioned placement.
struct PlayRequest {
    int sample;
    int loop;
    int start;
    int volume;
    int frequency;
    int priority;
};

// How long a play started at `started` is sure to go on: a loop until it is stopped; a flat play for its
// length at its pitch, less what the device may mix ahead (OpenAL Soft only ever clamps a pitch down); a
// positioned one not at all, as the Doppler effect may raise its pitch.
Clock::time_point SurelyPlayingUntil(const Mixer& m, const Sample& sample, bool loop, bool positioned,
                                     float pitch, Clock::time_point started) {
    if (loop) return Clock::time_point::max();
    if (positioned || !(pitch > 0.0f)) return Clock::time_point{};
    const auto lasts = std::chrono::duration_cast<Clock::duration>(
        std::chrono::duration<double>(sample.seconds / static_cast<double>(pitch)));
    return lasts > m.mixedAhead ? started + (lasts - m.mixedAhead) : Clock::time_point{};
}

template <typename Place> int StartPlay(const PlayRequest& r, bool positioned, Place place) {
    if (!Ready()) return SQUALL_ERROR_NOT_INITIALISED;
    Mixer& m = *gMixer;
    const auto found = m.samples.find(r.sample);
    if (found == m.samples.end()) return SQUALL_ERROR_BAD_HANDLE;
    if (r.frequency < 0) return SQUALL_ERROR_BAD_VALUE;
    Voice* voice = AcquireVoice(m, r.priority);
    if (voice == nullptr) return SQUALL_ERROR_NO_CHANNEL;

    const Sample& sample = found->second;
    const ALuint src = voice->source;
    const int volume = r.volume < 0 ? 0 : (r.volume > 100 ? 100 : r.volume);
    const float pitch =
        r.frequency == 0 ? 1.0f : static_cast<float>(r.frequency) / static_cast<float>(sample.rate);
    SourceSettings& set = voice->set;
    alGetError();
    alSourceStop(src);
    Set(src, AL_BUFFER, static_cast<ALint>(sample.buffer), set.buffer);
    voice->sample = r.sample; // from here the source holds the buffer, even if a later setting fails
    Set(src, AL_GAIN, static_cast<float>(volume) / 100.0f, set.gain);
    Set(src, AL_PITCH, pitch, set.pitch);
    Set(src, AL_LOOPING, r.loop != 0 ? AL_TRUE : AL_FALSE, set.looping);
    place(src, set);
    const Clock::time_point started = Clock::now();
    if (r.start != 0) alSourcePlay(src);
    if (alGetError() != AL_NO_ERROR) {
        set = SourceSettings{}; // which setting OpenAL refused is not known: all are set again next time
        Silence(*voice);
        return SQUALL_ERROR_BAD_VALUE;
    }

    voice->channel = TakeHandle(gNextChannel);
    voice->looping = r.loop != 0;
    voice->positioned = positioned;
    voice->held = r.start == 0;
    voice->priority = r.priority;
    voice->order = ++m.plays;
    voice->surelyPlaying = r.start == 0
                               ? Clock::time_point{}
                               : SurelyPlayingUntil(m, sample, r.loop != 0, positioned, pitch, started);
    return voice->channel;
}

void IgnoreAlsaError(const char*, int, const char*, int, const char*, ...) {}

// On a machine without sound OpenAL Soft and ALSA each print several lines while looking for a device; the
// caller learns of the failure from SQUALL_Init and says so in its own words. A log level the user set wins.
void QuietBackends() {
    setenv("ALSOFT_LOGLEVEL", "0", 0);
    // OpenAL Soft loads ALSA itself when it tries it; loading it first gives both the same library, whose
    // error handler then stays quiet. A machine without ALSA has nothing to quiet.
    static void* const alsa = dlopen("libasound.so.2", RTLD_LAZY | RTLD_LOCAL);
    if (alsa == nullptr) return;
    using Handler = void (*)(const char*, int, const char*, int, const char*, ...);
    if (auto setHandler = reinterpret_cast<int (*)(Handler)>(dlsym(alsa, "snd_lib_error_set_handler")))
        setHandler(&IgnoreAlsaError);
}

template <typename Get> int GetFactor(float* out, Get get) {
    if (!gMixer) return SQUALL_ERROR_NOT_INITIALISED;
    if (out == nullptr) return SQUALL_ERROR_BAD_VALUE;
    *out = get(*gMixer);
    return 0;
}

} // namespace

int SQUALL_Init(void*) {
    if (gMixer) return 0;
    QuietBackends();
    auto m = std::make_unique<Mixer>();
    m->device = alcOpenDevice(nullptr);
    if (m->device == nullptr) return SQUALL_ERROR_NO_DEVICE;
    m->context = alcCreateContext(m->device, nullptr);
    if (m->context == nullptr || alcMakeContextCurrent(m->context) != ALC_TRUE) {
        if (m->context != nullptr) alcDestroyContext(m->context);
        alcCloseDevice(m->device);
        return SQUALL_ERROR_NO_DEVICE;
    }
    tOwnContext = nullptr; // making a context current takes this thread's own one back
    alGetError();
    for (int i = 0; i < kPoolSize; ++i) {
        ALuint source = 0;
        alGenSources(1, &source);
        if (alGetError() != AL_NO_ERROR) break; // a device with fewer sources still plays, just less at once
        m->voices.push_back(Voice{.source = source});
    }
    if (m->voices.empty()) {
        alcMakeContextCurrent(nullptr);
        alcDestroyContext(m->context);
        alcCloseDevice(m->device);
        return SQUALL_ERROR_NO_DEVICE;
    }
    alDopplerFactor(m->doppler);
    alSpeedOfSound(kSpeedOfSoundInMetres / m->distance);
    // OpenAL Soft mixes up to a few device updates ahead (three of 1024 frames unless configured otherwise).
    ALCint refresh = 0;
    alcGetIntegerv(m->device, ALC_REFRESH, 1, &refresh);
    m->mixedAhead = std::max<Clock::duration>(std::chrono::milliseconds(150),
                                              refresh > 0 ? std::chrono::duration_cast<Clock::duration>(
                                                                std::chrono::duration<double>(4.0 / refresh))
                                                          : Clock::duration::max());
    if (alcIsExtensionPresent(m->device, "ALC_EXT_thread_local_context") == ALC_TRUE)
        m->setThreadContext = reinterpret_cast<ALCboolean (*)(ALCcontext*)>(
            alcGetProcAddress(m->device, "alcSetThreadContext"));
    gMixer = std::move(m);
    return 0;
}

void SQUALL_Free(void) {
    if (!Ready()) return;
    Mixer& m = *gMixer;
    for (Voice& v : m.voices) {
        alSourceStop(v.source);
        alDeleteSources(1, &v.source);
    }
    for (auto& [handle, sample] : m.samples)
        alDeleteBuffers(1, &sample.buffer);
    // Other threads that took the context keep it alive, unused: their next call takes the next one.
    if (tOwnContext == m.context) {
        m.setThreadContext(nullptr);
        tOwnContext = nullptr;
    }
    alcMakeContextCurrent(nullptr);
    alcDestroyContext(m.context);
    alcCloseDevice(m.device);
    gMixer.reset();
}

int SQUALL_Stop(void) {
    if (!Ready()) return SQUALL_ERROR_NOT_INITIALISED;
    for (Voice& v : gMixer->voices)
        Silence(v);
    return 0;
}

int SQUALL_Listener_SetRolloffFactor(float factor) {
    if (!Ready()) return SQUALL_ERROR_NOT_INITIALISED;
    if (!std::isfinite(factor) || factor < 0.0f) return SQUALL_ERROR_BAD_VALUE;
    gMixer->rolloff = factor;
    // OpenAL keeps rolloff per source; positioned plays already running follow the listener too.
    for (Voice& v : gMixer->voices)
        if (v.positioned && v.channel != 0) Set(v.source, AL_ROLLOFF_FACTOR, factor, v.set.rolloff);
    return 0;
}

int SQUALL_Listener_GetRolloffFactor(float* factor) {
    return GetFactor(factor, [](const Mixer& m) { return m.rolloff; });
}

int SQUALL_Listener_SetDistanceFactor(float factor) {
    if (!Ready()) return SQUALL_ERROR_NOT_INITIALISED;
    if (!std::isfinite(factor) || factor <= 0.0f) return SQUALL_ERROR_BAD_VALUE;
    gMixer->distance = factor;
    // The factor is metres per unit of position; OpenAL wants the speed of sound in those units.
    alSpeedOfSound(kSpeedOfSoundInMetres / factor);
    return 0;
}

int SQUALL_Listener_GetDistanceFactor(float* factor) {
    return GetFactor(factor, [](const Mixer& m) { return m.distance; });
}

int SQUALL_Listener_SetDopplerFactor(float factor) {
    if (!Ready()) return SQUALL_ERROR_NOT_INITIALISED;
    if (!std::isfinite(factor) || factor < 0.0f) return SQUALL_ERROR_BAD_VALUE;
    gMixer->doppler = factor;
    alDopplerFactor(factor);
    return 0;
}

int SQUALL_Listener_GetDopplerFactor(float* factor) {
    return GetFactor(factor, [](const Mixer& m) { return m.doppler; });
}

int SQUALL_Sample_LoadFile(const char* file, int, void*) {
    if (!Ready()) return SQUALL_ERROR_NOT_INITIALISED;
    if (file == nullptr) return SQUALL_ERROR_BAD_VALUE;
    const std::string path = platform::ResolvePath(file);
    squall::Pcm pcm;
    int error = 0;
    if (!gMixer->ahead.Take(path, &error, &pcm)) error = squall::DecodeOgg(path, pcm);
    if (error != 0) return error;

    Sample sample;
    sample.rate = pcm.rate;
    if (pcm.rate > 0 && pcm.channels > 0)
        sample.seconds =
            static_cast<double>(pcm.samples.size() / static_cast<size_t>(pcm.channels)) / pcm.rate;
    alGetError();
    alGenBuffers(1, &sample.buffer);
    alBufferData(sample.buffer, pcm.channels == 1 ? AL_FORMAT_MONO16 : AL_FORMAT_STEREO16, pcm.samples.data(),
                 static_cast<ALsizei>(pcm.samples.size() * sizeof(int16_t)), pcm.rate);
    if (alGetError() != AL_NO_ERROR) {
        alDeleteBuffers(1, &sample.buffer);
        return SQUALL_ERROR_DECODE;
    }
    int handle = TakeHandle(gNextSample);
    while (gMixer->samples.contains(handle))
        handle = TakeHandle(gNextSample);
    gMixer->samples.emplace(handle, sample);
    return handle;
}

int SQUALL_Sample_DecodeAhead(const char* const* files, int count) {
    if (!gMixer) return SQUALL_ERROR_NOT_INITIALISED;
    if (count < 0 || (files == nullptr && count > 0)) return SQUALL_ERROR_BAD_VALUE;
    std::vector<std::string> paths;
    for (int i = 0; i < count; ++i)
        if (files[i] != nullptr) paths.push_back(platform::ResolvePath(files[i]));
    gMixer->ahead.Ask(paths);
    return 0;
}

int SQUALL_Sample_Unload(int sample) {
    if (!Ready()) return SQUALL_ERROR_NOT_INITIALISED;
    const auto found = gMixer->samples.find(sample);
    if (found == gMixer->samples.end()) return SQUALL_ERROR_BAD_HANDLE;
    // OpenAL refuses to delete a buffer that a source still holds.
    for (Voice& v : gMixer->voices) {
        if (v.sample != sample) continue;
        Silence(v);
        Set(v.source, AL_BUFFER, 0, v.set.buffer);
        v.sample = 0;
    }
    alDeleteBuffers(1, &found->second.buffer);
    gMixer->samples.erase(found);
    return 0;
}

int SQUALL_Sample_PlayEx(int sample, int loop, int, int start, int pan, int volume, int frequency,
                         int priority) {
    // Pan swings the source on a half circle in front of the listener: 0 hard left, 128 ahead, 255 right.
    const float side = static_cast<float>((pan < 0 ? 0 : (pan > 255 ? 255 : pan)) - 128) / 128.0f;
    const float angle = side * std::numbers::pi_v<float> / 2.0f;
    return StartPlay(
        {sample, loop, start, volume, frequency, priority}, false, [angle](ALuint src, SourceSettings& set) {
            Set(src, AL_SOURCE_RELATIVE, AL_TRUE, set.relative);
            Set(src, AL_POSITION, std::array{std::sin(angle), 0.0f, -std::cos(angle)}, set.position);
            Set(src, AL_VELOCITY, std::array{0.0f, 0.0f, 0.0f}, set.velocity);
            Set(src, AL_ROLLOFF_FACTOR, 0.0f, set.rolloff);
            Set(src, AL_REFERENCE_DISTANCE, 1.0f, set.reference);
            Set(src, AL_MAX_DISTANCE, std::numeric_limits<float>::max(), set.farthest);
        });
}

int SQUALL_Sample_Play3DEx(int sample, int loop, int, int start, const float* position, const float* velocity,
                           int priority, int volume, int frequency, float minDistance, float maxDistance) {
    if (gMixer && (position == nullptr || velocity == nullptr || !std::isfinite(minDistance) ||
                   !std::isfinite(maxDistance) || minDistance < 0.0f || maxDistance < 0.0f))
        return SQUALL_ERROR_BAD_VALUE;
    const float rolloff = gMixer ? gMixer->rolloff : 0.0f;
    return StartPlay(
        {sample, loop, start, volume, frequency, priority}, true, [&](ALuint src, SourceSettings& set) {
            Set(src, AL_SOURCE_RELATIVE, AL_FALSE, set.relative);
            Set(src, AL_POSITION, std::array{position[0], position[1], position[2]}, set.position);
            Set(src, AL_VELOCITY, std::array{velocity[0], velocity[1], velocity[2]}, set.velocity);
            Set(src, AL_ROLLOFF_FACTOR, rolloff, set.rolloff);
            Set(src, AL_REFERENCE_DISTANCE, minDistance, set.reference);
            Set(src, AL_MAX_DISTANCE, maxDistance, set.farthest);
        });
}

int SQUALL_Sample_Stop(int sample) {
    if (!Ready()) return SQUALL_ERROR_NOT_INITIALISED;
    if (!gMixer->samples.contains(sample)) return SQUALL_ERROR_BAD_HANDLE;
    for (Voice& v : gMixer->voices)
        if (v.sample == sample) Silence(v);
    return 0;
}

unsigned int SQUALL_Debug_SampleBuffer(int sample) {
    if (!gMixer) return 0;
    const auto found = gMixer->samples.find(sample);
    return found == gMixer->samples.end() ? 0 : found->second.buffer;
}

unsigned int SQUALL_Debug_ChannelSource(int channel) {
    if (!gMixer) return 0;
    const Voice* v = FindChannel(*gMixer, channel);
    return v == nullptr ? 0 : v->source;
}
