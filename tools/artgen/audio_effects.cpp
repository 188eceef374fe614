// The game's sound effects, each built from its own seed out of the synthesis blocks.
#include "audio_effects.h"

#include <algorithm>
#include <cmath>

namespace artgen::audio {

namespace {

constexpr float kPeakDb = -1.0f;

// Puts a sound in a small room: a short reverb mixed under the dry signal.
void Room(Mono& s, float size, float mix, float tailSeconds) {
    TaperEnd(s, 0.025f); // the dry sound must die away before the room's tail, not stop dead under it
    s.resize(s.size() + Samples(tailSeconds), 0.0f);
    Reverb reverb(size, 0.78f, 0.35f);
    for (float& v : s)
        v += mix * reverb.Process(v);
}

Mono Finish(Mono s, float fadeOutMs = 20.0f) {
    // Reverb and filters can leave a slow offset; a gentle high-pass keeps the waveform centred.
    OnePole dc;
    dc.SetCutoff(18.0f);
    for (float& v : s)
        v = dc.HighPass(v);
    Declick(s, 1.0f, fadeOutMs);
    // A few milliseconds of silence in front take the codec's pre-echo of a sharp attack, so the
    // decoded sound still starts from rest.
    s.insert(s.begin(), Samples(0.003f), 0.0f);
    NormalizePeak(s, kPeakDb);
    return s;
}

// ---- gunshots ------------------------------------------------------------------------------------

struct ShotVoice {
    uint32_t seed;
    float length;                                  // seconds before the room tail
    float crackHz, crackQ, crackTau;               // the sharp report: band-passed noise
    float bodyHz, bodyTau, bodyGain;               // the blast body: low-passed noise
    float thumpFrom, thumpTo, thumpTau, thumpGain; // the low punch: a falling sine
    float tailTau, tailGain;                       // rumble after the report
    float drive;
    int bursts;        // more than one overlapping burst widens the shotgun
    float burstSpread; // seconds between bursts
    float roomSize, roomMix;
};

Mono Shot(const ShotVoice& v) {
    Noise noise(v.seed);
    BrownNoise brown(v.seed * 7u + 1u);
    Biquad crack, body, tail;
    crack.BandPass(v.crackHz, v.crackQ);
    body.LowPass(v.bodyHz, 0.8f);
    tail.LowPass(900.0f, 0.7f);
    Oscillator thump;
    Mono s = Render(v.length, [&](float t) {
        const float n = noise.White();
        float burst = 0.0f;
        for (int b = 0; b < v.bursts; ++b) {
            const float u = t - b * v.burstSpread * (1.0f + 0.3f * b);
            burst +=
                u < 0.0f ? 0.0f : std::min(1.0f, u / 0.0004f) * Decay(u, v.crackTau) / (1.0f + 0.35f * b);
        }
        const float c = crack.Process(n) * burst * 4.5f;
        const float bd = body.Process(n) * Decay(t, v.bodyTau) * v.bodyGain * std::min(1.0f, t / 0.001f);
        const float th = thump.Sine(Glide(t, v.thumpFrom, v.thumpTo, v.thumpTau)) *
                         Decay(t, v.thumpTau * 2.5f) * v.thumpGain * std::min(1.0f, t / 0.0015f);
        const float tl =
            tail.Process(brown.Next()) * Decay(t, v.tailTau) * v.tailGain * std::min(1.0f, t / 0.01f);
        return Drive(c + bd + th + tl, v.drive);
    });
    Room(s, v.roomSize, v.roomMix, 0.15f);
    return Finish(std::move(s), 60.0f);
}

Mono Pistol() {
    return Shot({101, 0.35f, 2600, 1.2f, 0.012f, 1800, 0.03f, 0.9f, 170, 60, 0.025f, 1.1f, 0.12f, 1.2f, 2.0f,
                 1, 0, 1.0f, 0.18f});
}
Mono Rifle() {
    return Shot({202, 0.4f, 3200, 0.9f, 0.010f, 2500, 0.035f, 1.1f, 150, 48, 0.03f, 1.4f, 0.16f, 1.6f, 3.0f,
                 1, 0, 1.1f, 0.2f});
}
Mono Uzi() {
    return Shot({303, 0.22f, 3800, 1.4f, 0.007f, 3000, 0.018f, 0.8f, 230, 90, 0.015f, 0.8f, 0.06f, 0.8f, 2.5f,
                 1, 0, 0.8f, 0.15f});
}
Mono Shotgun() {
    return Shot({404, 0.8f, 1400, 0.7f, 0.02f, 1200, 0.07f, 1.3f, 120, 38, 0.045f, 1.8f, 0.3f, 2.2f, 3.5f, 3,
                 0.0035f, 1.4f, 0.28f});
}

Mono Bazooka() {
    Noise noise(505);
    Svf whoosh;
    Oscillator thump, rumble;
    Biquad thud;
    thud.LowPass(500.0f, 0.7f);
    Mono s = Render(1.4f, [&](float t) {
        const float n = noise.White();
        // The launch: a muffled thud and a low punch.
        const float launch = thud.Process(n) * Decay(t, 0.05f) * 1.5f +
                             thump.Sine(Glide(t, 110.0f, 40.0f, 0.04f)) * Decay(t, 0.12f) * 1.6f;
        // The rocket: hiss whose band climbs as it leaves, swelling then fading.
        const float cutoff = 350.0f + 3200.0f * (1.0f - std::exp(-t / 0.25f));
        const float swell = std::min(1.0f, t / 0.08f) * Decay(std::max(0.0f, t - 0.15f), 0.35f);
        const float hiss = whoosh.Process(n, cutoff, 1.6f).band * swell * 1.4f;
        const float motor = rumble.Saw(Glide(t, 70.0f, 55.0f, 0.3f)) * swell * 0.12f;
        return Drive(launch + hiss + motor, 2.0f);
    });
    Room(s, 1.3f, 0.2f, 0.2f);
    return Finish(std::move(s), 120.0f);
}

Mono Laser() {
    Oscillator saw, sine, wobble;
    OnePole tone;
    Mono s = Render(0.42f, [&](float t) {
        const float hz = Glide(t, 2600.0f, 260.0f, 0.09f);
        tone.SetCutoff(hz * 3.0f);
        const float vib = 1.0f + 0.02f * wobble.Sine(38.0f);
        const float v = tone.LowPass(saw.Saw(hz * vib)) * 0.5f + sine.Sine(hz * 2.0f * vib) * 0.6f;
        return v * std::min(1.0f, t / 0.002f) * Decay(t, 0.12f);
    });
    // A quick slap-back echo gives the beam its sci-fi ring.
    const std::size_t lag = Samples(0.045f);
    s.resize(s.size() + 2 * lag, 0.0f);
    for (std::size_t i = s.size(); i-- > lag;)
        s[i] += 0.35f * s[i - lag];
    return Finish(std::move(s), 40.0f);
}

Mono EnergyCannon() {
    Noise noise(606);
    Oscillator core, sub, buzz;
    Svf zap;
    Mono s = Render(1.3f, [&](float t) {
        const float n = noise.White();
        const float hz = Glide(t, 420.0f, 48.0f, 0.08f);
        const float body = core.Square(hz, 0.3f) * 0.6f + sub.Sine(hz * 0.5f) * 0.9f;
        const float crackle = zap.Process(n, Glide(t, 6000.0f, 500.0f, 0.1f), 3.0f).band * 1.2f;
        const float hum = buzz.Saw(Glide(t, 160.0f, 90.0f, 0.3f)) * 0.25f * Decay(t, 0.4f);
        return Drive((body * Decay(t, 0.18f) + crackle * Decay(t, 0.07f) + hum) * std::min(1.0f, t / 0.002f),
                     3.0f);
    });
    Room(s, 1.5f, 0.25f, 0.25f);
    return Finish(std::move(s), 150.0f);
}

Mono NanoPulse() {
    Oscillator carriers[3], mods[3], tick, punch;
    Noise noise(707);
    Biquad air;
    air.HighPass(5000.0f, 0.7f);
    Mono s = Render(0.38f, [&](float t) {
        // Three fast digital pulses, each a frequency-modulated blip a little lower than the last.
        float v = 0.0f;
        for (int k = 0; k < 3; ++k) {
            const float u = t - k * 0.045f;
            if (u < 0.0f) continue;
            const float env = std::min(1.0f, u / 0.001f) * Decay(u, 0.018f) * (1.0f - 0.25f * k);
            const float hz = Glide(u, 2400.0f - 300.0f * k, 1100.0f, 0.02f);
            v += env * carriers[k].Sine(hz + 900.0f * mods[k].Sine(310.0f));
        }
        const float fizz = air.Process(noise.White()) * Decay(t, 0.01f) * 0.6f;
        const float click = tick.Square(Glide(t, 900.0f, 200.0f, 0.03f)) * Decay(t, 0.012f) * 0.25f;
        // A soft low push under the blips so the shot has weight next to the guns.
        const float body =
            punch.Sine(Glide(t, 180.0f, 70.0f, 0.03f)) * Decay(t, 0.06f) * std::min(1.0f, t / 0.002f);
        return Drive(v + fizz + click + body * 0.9f, 1.8f);
    });
    Room(s, 0.7f, 0.25f, 0.15f);
    return Finish(std::move(s), 40.0f);
}

// ---- hits and deaths -----------------------------------------------------------------------------

// A bullet striking flesh: a dull falling thump under a squelch whose band closes like a wet slap,
// and on some hits the crackle of something breaking.
struct HitVoice {
    uint32_t seed;
    float pitch;     // the thump's resting pitch
    float wetness;   // how long and loud the squelch is
    float squelchHz; // where the squelch's band starts before it closes
    float crunch;    // 0 for none
    float length;
};

Mono Hit(const HitVoice& v) {
    Noise noise(v.seed);
    Oscillator thump;
    Svf squelch;
    OnePole soft;
    soft.SetCutoff(2500.0f);
    Biquad bone;
    bone.BandPass(3600.0f, 2.0f);
    Mono s = Render(v.length, [&](float t) {
        const float n = noise.White();
        const float body = thump.Sine(Glide(t, v.pitch * 1.8f, v.pitch * 0.7f, 0.02f)) * Decay(t, 0.045f);
        const float wet = squelch.Process(n, Glide(t, v.squelchHz, 350.0f, 0.03f), 4.0f).band *
                          Decay(t, 0.03f + 0.03f * v.wetness) * v.wetness * 1.8f;
        const float slap = soft.LowPass(n) * Decay(t, 0.006f) * 1.2f;
        // The crackle is a few sparse spikes in the first instants, rung through a hard resonance.
        const float spike = t < 0.035f && noise.Uniform() < 0.02f ? noise.White() * 8.0f : 0.0f;
        const float crack = bone.Process(spike) * v.crunch;
        return Drive((body + wet + slap + crack) * std::min(1.0f, t / 0.0008f), 1.5f);
    });
    return Finish(std::move(s), 30.0f);
}

Mono Hit1() {
    return Hit({1101, 120.0f, 1.0f, 2200.0f, 0.0f, 0.22f});
}
Mono Hit2() {
    return Hit({1202, 95.0f, 1.3f, 1500.0f, 0.3f, 0.26f});
}
Mono Hit3() {
    return Hit({1303, 140.0f, 0.6f, 3000.0f, 0.8f, 0.18f});
}
Mono Hit4() {
    return Hit({1404, 105.0f, 1.7f, 1200.0f, 0.0f, 0.3f});
}
Mono Hit5() {
    return Hit({1505, 160.0f, 0.8f, 2700.0f, 0.5f, 0.2f});
}
Mono Hit6() {
    return Hit({1606, 80.0f, 1.2f, 1800.0f, 0.2f, 0.28f});
}

// Vowel-like resonances for the creature voices.
struct Formants {
    float f1, f2, f3;
};

// An alien or spider death: a high rasping screech falling away over a hiss, with a throat rattle.
Mono ShriekDeath(uint32_t seed, float screechHz, float length, Formants vowel) {
    Noise noise(seed);
    Noise jitter(seed + 17u);
    Oscillator voice, rattle;
    Biquad f1, f2, f3, hissBand;
    f1.BandPass(vowel.f1, 5.0f);
    f2.BandPass(vowel.f2, 6.0f);
    f3.BandPass(vowel.f3, 7.0f);
    hissBand.HighPass(3500.0f, 0.7f);
    OnePole roughness;
    roughness.SetCutoff(40.0f);
    Mono s = Render(length, [&](float t) {
        const float u = t / length;
        const float wander = roughness.LowPass(jitter.White()) * 4.0f;
        // A shriek: the pitch leaps up in the first instants, then sags away as the creature dies.
        const float shriek = 0.8f + 0.4f * (1.0f - std::exp(-t / 0.05f));
        const float hz = screechHz * shriek * (1.0f - 0.55f * std::pow(u, 1.5f)) * (1.0f + 0.06f * wander);
        const float flutter = 0.6f + 0.4f * rattle.Sine(28.0f + 10.0f * u);
        const float src = voice.Saw(hz) * flutter + noise.White() * 0.25f;
        const float voiced = f1.Process(src) * 1.0f + f2.Process(src) * 1.2f + f3.Process(src) * 0.9f;
        const float env = std::min(1.0f, t / 0.015f) * std::pow(1.0f - u, 1.6f);
        const float hiss = hissBand.Process(noise.White()) * (0.35f * Decay(t, 0.12f) + 0.15f) * (1.0f - u);
        return Drive((voiced * 2.2f + hiss) * env, 2.5f);
    });
    Room(s, 1.0f, 0.18f, 0.2f);
    return Finish(std::move(s), 80.0f);
}

// The alien and spider deaths play the shrieks.
Mono Shriek1() {
    return ShriekDeath(2101, 820.0f, 0.6f, {900, 2300, 3400});
}
Mono Shriek2() {
    return ShriekDeath(2202, 640.0f, 0.75f, {750, 1900, 3000});
}
Mono Shriek3() {
    return ShriekDeath(2303, 1050.0f, 0.5f, {1100, 2600, 3800});
}

// A zombie death: a low groan sliding down, rough with an undertone, through a vowel that closes.
Mono GroanDeath(uint32_t seed, float groanHz, float length, Formants open, Formants closed) {
    Noise noise(seed);
    Noise jitter(seed + 31u);
    Oscillator voice, under;
    Biquad f1, f2, f3;
    Biquad breath;
    breath.BandPass(1200.0f, 0.8f);
    OnePole wobble;
    wobble.SetCutoff(12.0f);
    const std::size_t stride = 64; // the vowel moves slowly, so its filters are re-tuned every few samples
    std::size_t count = 0;
    Mono s = Render(length, [&](float t) {
        const float u = t / length;
        if (count++ % stride == 0) {
            f1.BandPass(open.f1 + (closed.f1 - open.f1) * u, 4.0f);
            f2.BandPass(open.f2 + (closed.f2 - open.f2) * u, 5.0f);
            f3.BandPass(open.f3 + (closed.f3 - open.f3) * u, 6.0f);
        }
        const float hz = groanHz * (1.0f + 0.25f * std::exp(-t / 0.08f) - 0.35f * u) *
                         (1.0f + 0.05f * wobble.LowPass(jitter.White()) * 6.0f);
        const float src = voice.Saw(hz) + under.Square(hz * 0.5f, 0.4f) * 0.35f + noise.White() * 0.08f;
        const float voiced = f1.Process(src) * 1.6f + f2.Process(src) * 0.9f + f3.Process(src) * 0.4f;
        const float env = std::min(1.0f, t / 0.04f) * (u < 0.6f ? 1.0f : std::pow((1.0f - u) / 0.4f, 1.5f));
        const float air = breath.Process(noise.White()) * 0.25f * env;
        return Drive((voiced * 2.0f + air) * env, 2.0f);
    });
    Room(s, 1.2f, 0.2f, 0.25f);
    return Finish(std::move(s), 100.0f);
}

// The zombie deaths play the groans.
Mono Groan1() {
    return GroanDeath(3101, 125.0f, 0.95f, {700, 1150, 2600}, {420, 800, 2400});
}
Mono Groan2() {
    return GroanDeath(3202, 105.0f, 1.15f, {650, 1050, 2500}, {380, 700, 2300});
}
Mono Groan3() {
    return GroanDeath(3303, 145.0f, 0.8f, {750, 1250, 2700}, {500, 900, 2400});
}
Mono Groan4() {
    return GroanDeath(3404, 92.0f, 1.25f, {620, 1000, 2450}, {360, 680, 2250});
}

// ---- blasts ----------------------------------------------------------------------------------------

// A blast: a bright crack, brown-noise body whose brightness falls away, and a sub drop underneath.
Mono Blast(uint32_t seed, float length, float bodyTau, float subFrom, float subTo, float brightness,
           float swell) {
    Noise noise(seed);
    BrownNoise brown(seed * 3u);
    BrownNoise rumble(seed * 5u);
    Svf body, low;
    Oscillator sub;
    Biquad crackBand;
    crackBand.BandPass(1800.0f, 0.6f);
    Mono s = Render(length, [&](float t) {
        const float attack = std::min(1.0f, t / swell);
        const float crack = crackBand.Process(noise.White()) * Decay(t, 0.015f) * 1.5f;
        const float cutoff = 150.0f + brightness * std::exp(-t / (bodyTau * 0.6f));
        const float b = body.Process(brown.Next() * 6.0f, cutoff, 0.9f).low * Decay(t, bodyTau) * attack;
        const float r =
            low.Process(rumble.Next() * 8.0f, 120.0f, 0.7f).low * Decay(t, bodyTau * 1.6f) * attack;
        const float sb = sub.Sine(Glide(t, subFrom, subTo, 0.25f)) * Decay(t, bodyTau * 0.8f) * attack * 0.9f;
        return Drive(crack + b * 1.5f + r * 1.2f + sb, 2.2f);
    });
    Room(s, 2.2f, 0.3f, 0.3f);
    return Finish(std::move(s), 300.0f);
}

Mono Explosion() {
    return Blast(4101, 2.0f, 0.45f, 75.0f, 32.0f, 3500.0f, 0.004f);
}
Mono Nuke() {
    Mono s = Blast(4202, 4.0f, 1.1f, 55.0f, 24.0f, 2200.0f, 0.06f);
    // Debris keeps crackling through the rumble.
    Noise pops(4203);
    Biquad band;
    band.BandPass(2500.0f, 1.5f);
    for (std::size_t i = Samples(0.2f); i + 400 < Samples(3.2f); i += 200 + pops.Next() % 1800) {
        const float gain = 0.15f * Decay(static_cast<float>(i) / kRate, 1.2f);
        for (std::size_t k = 0; k < 300; ++k)
            s[i + k] += band.Process(pops.White()) * gain * (1.0f - k / 300.0f);
    }
    return Finish(std::move(s), 500.0f);
}

// The sun strike: a searing beam descending from high, a fizzing burn, then the impact below.
Mono SunStrike() {
    Noise noise(4303);
    Oscillator a, b, c, shimmer;
    Biquad fizzBand;
    fizzBand.BandPass(4500.0f, 0.9f);
    Mono s = Render(1.4f, [&](float t) {
        const float hz = Glide(t, 3200.0f, 500.0f, 0.25f);
        const float trem = 0.7f + 0.3f * shimmer.Sine(22.0f);
        const float beam = (a.Sine(hz) + 0.6f * b.Sine(hz * 1.5f) + 0.4f * c.Saw(hz * 0.5f) * 0.5f) * trem *
                           std::min(1.0f, t / 0.02f) * Decay(t, 0.35f) * 0.5f;
        const float fizz = fizzBand.Process(noise.White()) * (0.2f + 0.8f * Decay(t, 0.4f)) * 0.8f;
        return beam + fizz * Decay(t, 0.5f);
    });
    const Mono impact = Blast(4304, 1.0f, 0.25f, 90.0f, 40.0f, 2500.0f, 0.003f);
    MixInto(s, impact, Samples(0.18f), 0.8f);
    return Finish(std::move(s), 200.0f);
}

// ---- special weapons never fired in play, kept short and in character --------------------------------

Mono FrostGun() {
    Noise noise(5101);
    Oscillator p1, p2, p3;
    Biquad icy;
    icy.HighPass(4000.0f, 0.7f);
    Mono s = Render(0.6f, [&](float t) {
        const float hiss = icy.Process(noise.White()) * Decay(t, 0.18f);
        const float glass =
            (p1.Sine(3100.0f) + p2.Sine(4730.0f) * 0.7f + p3.Sine(6240.0f) * 0.5f) * Decay(t, 0.12f);
        return (hiss + glass * 0.5f) * std::min(1.0f, t / 0.003f);
    });
    Room(s, 0.8f, 0.3f, 0.15f);
    return Finish(std::move(s), 60.0f);
}

Mono RadiationGun() {
    Noise noise(5202);
    Oscillator hum, warble;
    Biquad click;
    click.HighPass(2000.0f, 0.7f);
    Mono s = Render(0.6f, [&](float t) {
        const float rate = (90.0f + 250.0f * t) / kRate; // geiger ticks, crowding in
        const float tick = noise.Uniform() < rate ? 1.0f : 0.0f;
        const float buzz =
            hum.Square(95.0f * (1.0f + 0.03f * warble.Sine(7.0f)), 0.2f) * 0.35f * Decay(t, 0.25f);
        return click.Process(tick * 3.0f) + buzz * std::min(1.0f, t / 0.01f);
    });
    return Finish(std::move(s), 60.0f);
}

Mono Flamer() {
    Noise noise(5303);
    BrownNoise roar(5304);
    Svf band;
    Mono s = Render(0.8f, [&](float t) {
        const float body = band.Process(roar.Next() * 5.0f + noise.White() * 0.3f, 700.0f, 0.6f).band;
        const float crackle = noise.Uniform() < 0.004f ? noise.White() * 1.5f : 0.0f;
        const float env = std::min(1.0f, t / 0.06f) * Decay(std::max(0.0f, t - 0.3f), 0.2f);
        return Drive((body * 2.0f + crackle) * env, 1.5f);
    });
    return Finish(std::move(s), 100.0f);
}

Mono Freeze() {
    Noise noise(5404);
    Oscillator a, b;
    Biquad crunch;
    crunch.BandPass(3000.0f, 1.2f);
    Mono s = Render(0.7f, [&](float t) {
        const float ice = crunch.Process(noise.White()) * Decay(t, 0.05f) * 1.5f;
        const float chime =
            (a.Sine(2093.0f) + b.Sine(3136.0f) * 0.7f) * std::min(1.0f, t / 0.002f) * Decay(t, 0.22f);
        return ice + chime * 0.5f;
    });
    Room(s, 1.0f, 0.35f, 0.2f);
    return Finish(std::move(s), 80.0f);
}

// ---- mechanics, pickups, interface ---------------------------------------------------------------

// A metallic click: a noise tick into a ringing resonance.
void Click(Mono& s, float at, float ringHz, float gain, uint32_t seed) {
    Noise noise(seed);
    Biquad ring, tick;
    ring.BandPass(ringHz, 25.0f);
    tick.HighPass(1500.0f, 0.7f);
    const Mono click = Render(0.09f, [&](float t) {
        const float n = noise.White() * Decay(t, 0.0015f);
        return tick.Process(n) * 0.8f + ring.Process(n) * 5.0f * Decay(t, 0.03f);
    });
    MixInto(s, click, Samples(at), gain);
}

Mono Reload() {
    Mono s(Samples(0.8f), 0.0f);
    Click(s, 0.0f, 2200.0f, 0.7f, 6101);  // catch released
    Click(s, 0.06f, 1600.0f, 0.5f, 6102); // magazine drops free
    // The fresh magazine scrapes in before it seats.
    Noise scrape(6103);
    Biquad band;
    band.BandPass(2800.0f, 1.0f);
    const Mono slide = Render(
        0.12f, [&](float t) { return band.Process(scrape.White()) * std::sin(kPi * t / 0.12f) * 0.4f; });
    MixInto(s, slide, Samples(0.3f), 1.0f);
    Click(s, 0.43f, 1900.0f, 1.0f, 6104); // seated
    Click(s, 0.6f, 2600.0f, 0.8f, 6105);  // bolt back
    Click(s, 0.66f, 2100.0f, 1.0f, 6106); // bolt home
    Room(s, 0.6f, 0.15f, 0.05f);
    return Finish(std::move(s), 20.0f);
}

// A bell-like note: a few inharmonic partials, the higher ones dying first.
Mono Bell(float hz, float length, float brightness) {
    Oscillator p1, p2, p3, p4;
    return Render(length, [&](float t) {
        const float attack = std::min(1.0f, t / 0.002f);
        return attack *
               (p1.Sine(hz) * Decay(t, length * 0.45f) + p2.Sine(hz * 2.0f) * 0.5f * Decay(t, length * 0.3f) +
                p3.Sine(hz * 2.76f) * 0.35f * brightness * Decay(t, length * 0.15f) +
                p4.Sine(hz * 5.4f) * 0.2f * brightness * Decay(t, length * 0.06f));
    });
}

Mono Arpeggio(const std::vector<float>& notes, float step, float noteLength, float brightness,
              float roomMix) {
    Mono s;
    for (std::size_t k = 0; k < notes.size(); ++k)
        MixInto(s, Bell(MidiHz(notes[k]), noteLength, brightness), Samples(step * k), 1.0f - 0.08f * k);
    Room(s, 1.4f, roomMix, 0.3f);
    return s;
}

Mono NewLevel() {
    return Finish(Arpeggio({72, 76, 79, 84, 88}, 0.075f, 0.9f, 1.0f, 0.35f), 150.0f);
}

Mono FindBonus() {
    return Finish(Arpeggio({84, 88, 91, 96}, 0.045f, 0.4f, 1.2f, 0.25f), 80.0f);
}

Mono FindWeapon() {
    Mono s(Samples(0.6f), 0.0f);
    Click(s, 0.0f, 2400.0f, 0.8f, 7101); // the weapon's clatter as it is taken up
    Click(s, 0.05f, 1700.0f, 0.9f, 7102);
    MixInto(s, Arpeggio({67, 74, 79}, 0.06f, 0.35f, 0.8f, 0.2f), Samples(0.07f), 0.6f);
    return Finish(std::move(s), 80.0f);
}

Mono MenuTick() {
    Noise noise(8101);
    Oscillator blip, knock;
    Biquad tick;
    tick.HighPass(3000.0f, 0.7f);
    Mono s = Render(0.09f, [&](float t) {
        return tick.Process(noise.White()) * Decay(t, 0.0015f) +
               blip.Sine(1760.0f) * Decay(t, 0.012f) * 0.6f +
               knock.Sine(Glide(t, 700.0f, 350.0f, 0.01f)) * Decay(t, 0.015f) * 0.7f;
    });
    return Finish(std::move(s), 10.0f);
}

} // namespace

const std::vector<EffectRecipe>& EffectRecipes() {
    static const std::vector<EffectRecipe> recipes = {
        {"NEW_LEVEL.OGG", NewLevel},
        {"DIE_LIZARD_1.OGG", Groan1},
        {"DIE_LIZARD_2.OGG", Groan2},
        {"DIE_LIZARD_3.OGG", Groan3},
        {"DIE_LIZARD_4.OGG", Groan4},
        {"DIE_GUMANOID_1.OGG", Shriek1},
        {"DIE_GUMANOID_2.OGG", Shriek2},
        {"DIE_GUMANOID_3.OGG", Shriek3},
        {"MENU_STAND.OGG", MenuTick},
        {"EXPLOSION.OGG", Explosion},
        {"Z_DROB.OGG", Shotgun},
        {"POPAL1_Z.OGG", Hit1},
        {"POPAL2_Z.OGG", Hit2},
        {"POPAL3_Z.OGG", Hit3},
        {"POPAL4_Z.OGG", Hit4},
        {"POPAL5_Z.OGG", Hit5},
        {"POPAL6_Z.OGG", Hit6},
        {"RELOAD_Z.OGG", Reload},
        {"SOLN.OGG", SunStrike},
        {"NUKES.OGG", Nuke},
        {"Z_ZAMOROZKA.OGG", FrostGun},
        {"Z_RADIOAC.OGG", RadiationGun},
        {"Z_FLAMER.OGG", Flamer},
        {"FREEZE_Z.OGG", Freeze},
        {"Z_PUSTOLET.OGG", Pistol},
        {"Z_AUTOMAT.OGG", Rifle},
        {"Z_BAZUKA.OGG", Bazooka},
        {"Z_LASER.OGG", Laser},
        {"Z_OTRA.OGG", EnergyCannon},
        {"Z_NANO.OGG", NanoPulse},
        {"Z_UZI.OGG", Uzi},
        {"FIND_BONUS.OGG", FindBonus},
        {"FIND_BONUS_OR.OGG", FindWeapon},
    };
    return recipes;
}

} // namespace artgen::audio
