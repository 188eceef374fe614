// The five music loops: instruments, a bar-and-step sequencer over a circular buffer, and the pieces.
#include "audio_music.h"

#include <algorithm>
#include <cmath>
#include <utility>

namespace artgen::audio {

namespace {

// ---- the loop buffer -------------------------------------------------------------------------------

// A piece in whole bars of sixteen steps. Everything written past the end wraps round to the start, so
// the last bar's ringing notes land under the first bar exactly as they would when the loop repeats.
class Loop {
  public:
    static constexpr std::size_t kLeadIn = 1323; // 30 ms

    Loop(float bpm, int bars) : step_(Samples(60.0f / bpm / 4.0f)), bars_(bars) {
        const std::size_t n = step_ * 16 * static_cast<std::size_t>(bars);
        left_.assign(n, 0.0f);
        right_.assign(n, 0.0f);
        sendLeft_.assign(n, 0.0f);
        sendRight_.assign(n, 0.0f);
    }

    std::size_t Step() const { return step_; }
    float StepSeconds() const { return static_cast<float>(step_) / kRate; }
    int Bars() const { return bars_; }
    // Every event sits kLeadIn after its grid point, so the file begins just before the first downbeat:
    // the seam falls in the quiet tail of the last bar instead of on top of a drum hit.
    std::size_t At(int bar, float step) const {
        return kLeadIn + static_cast<std::size_t>((bar * 16.0 + step) * static_cast<double>(step_) + 0.5);
    }

    // pan -1 left .. +1 right (equal power); send is the share fed to the reverb.
    void Add(std::size_t start, const Mono& note, float gain, float pan, float send) {
        const float angle = (pan + 1.0f) * kPi / 4.0f;
        const float gl = gain * std::cos(angle) * 1.4142f, gr = gain * std::sin(angle) * 1.4142f;
        const std::size_t n = left_.size();
        for (std::size_t i = 0, k = start % n; i < note.size(); ++i, k = k + 1 == n ? 0 : k + 1) {
            left_[k] += note[i] * gl;
            right_[k] += note[i] * gr;
            sendLeft_[k] += note[i] * gl * send;
            sendRight_[k] += note[i] * gr * send;
        }
    }

    // Reverb, centring and level, all run round the loop twice so the state entering the start is
    // the state the end leaves behind.
    Stereo Master(float roomSize, float roomLevel, float peakDb) {
        Reverb verbL(roomSize, 0.84f, 0.4f), verbR(roomSize * 1.07f, 0.84f, 0.4f);
        const std::size_t n = left_.size();
        Stereo out{left_, right_};
        for (int pass = 0; pass < 2; ++pass)
            for (std::size_t i = 0; i < n; ++i) {
                const float wl = verbL.Process(sendLeft_[i]), wr = verbR.Process(sendRight_[i]);
                if (pass == 1) {
                    out.left[i] += roomLevel * wl;
                    out.right[i] += roomLevel * wr;
                }
            }
        for (Mono* ch : {&out.left, &out.right}) {
            OnePole dc;
            dc.SetCutoff(15.0f);
            Mono centred(n);
            for (int pass = 0; pass < 2; ++pass)
                for (std::size_t i = 0; i < n; ++i)
                    centred[i] = dc.HighPass((*ch)[i]);
            *ch = std::move(centred);
        }
        // A gentle saturating limiter rounds off drum peaks before the level is set.
        float peak = std::max(Peak(out.left), Peak(out.right));
        for (Mono* ch : {&out.left, &out.right})
            for (float& v : *ch)
                v = Drive(v / peak, 1.3f);
        peak = std::max(Peak(out.left), Peak(out.right));
        const float gain = std::pow(10.0f, peakDb / 20.0f) / peak;
        for (Mono* ch : {&out.left, &out.right})
            for (float& v : *ch)
                v *= gain;
        return out;
    }

  private:
    std::size_t step_;
    int bars_;
    Mono left_, right_, sendLeft_, sendRight_;
};

// ---- instruments -------------------------------------------------------------------------------------

Mono Kick(float punch, float length, float click) {
    Oscillator body;
    Noise noise(11);
    OnePole beater;
    beater.SetCutoff(3000.0f);
    return Render(length, [&](float t) {
        const float hz = Glide(t, 160.0f * punch, 45.0f, 0.035f);
        const float v = body.Sine(hz) * Decay(t, length * 0.35f) +
                        beater.LowPass(noise.White()) * Decay(t, 0.004f) * click;
        return Drive(v * std::min(1.0f, t / 0.0005f), 1.5f);
    });
}

Mono Snare(uint32_t seed, float length) {
    Noise noise(seed);
    Oscillator tone;
    Biquad band, air;
    band.BandPass(2000.0f, 0.7f);
    air.HighPass(6000.0f, 0.7f);
    return Render(length, [&](float t) {
        const float n = noise.White();
        const float v = band.Process(n) * 1.4f * Decay(t, length * 0.3f) +
                        air.Process(n) * 0.5f * Decay(t, 0.05f) +
                        tone.Sine(Glide(t, 260.0f, 185.0f, 0.02f)) * Decay(t, 0.04f) * 0.7f;
        return v * std::min(1.0f, t / 0.0005f);
    });
}

Mono Hat(uint32_t seed, float length) {
    Noise noise(seed);
    Biquad high;
    high.HighPass(7500.0f, 0.8f);
    Oscillator m1, m2;
    return Render(length, [&](float t) {
        // Two detuned squares under the noise give the metal its sheen.
        const float metal = m1.Square(3240.0f) * 0.2f + m2.Square(4710.0f) * 0.2f;
        return high.Process(noise.White() + metal) * Decay(t, length * 0.25f) * std::min(1.0f, t / 0.0004f);
    });
}

// An industrial clang: inharmonic FM that sounds like struck sheet metal.
Mono Clang(float hz, float length) {
    Oscillator carrier, mod;
    return Render(length, [&](float t) {
        const float index = 4.0f * Decay(t, length * 0.3f);
        return carrier.Sine(hz + hz * 1.41f * index * mod.Sine(hz * 1.41f)) * Decay(t, length * 0.3f) *
               std::min(1.0f, t / 0.001f);
    });
}

Mono Bass(float note, float length, float cutoff, float resonance, float drive) {
    Oscillator saw, sub;
    Svf filter;
    const float hz = MidiHz(note);
    return Render(length + 0.05f, [&](float t) {
        const float env = Adsr(t, 0.004f, 0.12f, 0.7f, 0.05f, length);
        const float fc = cutoff * (0.5f + 2.5f * Decay(t, 0.06f));
        const float v = filter.Process(saw.Saw(hz) + sub.Square(hz * 0.5f) * 0.5f, fc, resonance).low;
        return Drive(v * env, drive);
    });
}

// A slow pad: three detuned saws per chord note through a low-pass that breathes.
Mono Pad(const std::vector<float>& chord, float length, float cutoff, float attack, float release) {
    static constexpr float kDetune[3] = {0.996f, 1.0f, 1.0045f};
    std::vector<Oscillator> oscs;
    std::vector<float> pitches;
    for (std::size_t i = 0; i < chord.size() * 3; ++i) {
        oscs.emplace_back(0.13f * i);
        pitches.push_back(MidiHz(chord[i / 3]) * kDetune[i % 3]);
    }
    Oscillator lfo;
    Svf filter;
    return Render(length + release, [&](float t) {
        float v = 0.0f;
        for (std::size_t i = 0; i < oscs.size(); ++i)
            v += oscs[i].Saw(pitches[i]);
        const float fc = cutoff * (1.0f + 0.35f * lfo.Sine(0.15f));
        const float env = Adsr(t, attack, 1.0f, 1.0f, release, length);
        return filter.Process(v / static_cast<float>(oscs.size()), fc, 0.8f).low * env;
    });
}

// The lead voice: a pulse with delayed vibrato, softened by a low-pass that follows the envelope.
Mono Lead(float note, float length, float brightness, float width) {
    Oscillator osc, osc2, vibrato;
    Svf filter;
    const float hz = MidiHz(note);
    return Render(length + 0.15f, [&](float t) {
        const float vib = 1.0f + 0.006f * std::min(1.0f, t / 0.3f) * vibrato.Sine(5.5f);
        const float env = Adsr(t, 0.01f, 0.2f, 0.6f, 0.15f, length);
        const float v = osc.Square(hz * vib, width) * 0.6f + osc2.Saw(hz * vib * 1.003f) * 0.4f;
        return filter.Process(v, 600.0f + brightness * env, 1.0f).low * env;
    });
}

// A soft mallet tone for sombre and ambient lines.
Mono Mallet(float note, float length) {
    Oscillator a, b, c;
    const float hz = MidiHz(note);
    return Render(length, [&](float t) {
        const float attack = std::min(1.0f, t / 0.006f);
        return attack * (a.Sine(hz) * Decay(t, length * 0.4f) +
                         b.Triangle(hz * 2.0f) * 0.25f * Decay(t, length * 0.2f) +
                         c.Sine(hz * 3.0f) * 0.12f * Decay(t, length * 0.08f));
    });
}

// A low drone whose filter wanders: slow enough that it is felt more than heard.
Mono Drone(float note, float length, float cutoff, float air, uint32_t seed) {
    Oscillator a, b, sub, lfo;
    Svf filter;
    BrownNoise wind(seed);
    const float hz = MidiHz(note);
    return Render(length, [&](float t) {
        const float fc = cutoff * (1.0f + 0.5f * lfo.Sine(1.0f / length * 2.0f));
        const float v = a.Saw(hz * 0.998f) + b.Saw(hz * 1.003f) + wind.Next() * air;
        const float env = std::min(1.0f, t / 1.5f) * std::min(1.0f, (length - t) / 1.5f);
        return (filter.Process(v * 0.5f, fc, 1.2f).low + sub.Sine(hz * 0.5f) * 0.5f) * env;
    });
}

Mono Tom(float hz, float length) {
    Oscillator body;
    Noise noise(77);
    OnePole soft;
    soft.SetCutoff(1200.0f);
    return Render(length, [&](float t) {
        return (body.Sine(Glide(t, hz * 1.6f, hz, 0.03f)) +
                soft.LowPass(noise.White()) * 0.3f * Decay(t, 0.02f)) *
               Decay(t, length * 0.3f) * std::min(1.0f, t / 0.001f);
    });
}

// ---- harmony helpers ---------------------------------------------------------------------------------

std::vector<float> Triad(float root, bool minor) {
    return {root, root + (minor ? 3.0f : 4.0f), root + 7.0f};
}

// ---- the pieces --------------------------------------------------------------------------------------

// Menu: dark pads in D minor over a slow heartbeat, a distant mallet motif drifting above.
Stereo MainMenu() {
    Loop loop(72.0f, 12);
    const float bar = loop.StepSeconds() * 16.0f;
    const std::pair<float, bool> chords[4] = {{50, true}, {46, false}, {43, true}, {45, false}}; // Dm Bb Gm A
    for (int c = 0; c < 4; ++c) {
        const auto [root, minor] = chords[c];
        const auto triad = Triad(root, minor);
        loop.Add(loop.At(c * 3, 0), Pad(triad, bar * 3.0f, 900.0f, 1.8f, 2.5f), 0.55f, -0.3f, 0.6f);
        loop.Add(loop.At(c * 3, 0),
                 Pad({triad[0] + 12.0f, triad[2] + 12.0f}, bar * 3.0f, 1500.0f, 2.5f, 2.5f), 0.2f, 0.4f,
                 0.8f);
        loop.Add(loop.At(c * 3, 0), Drone(root - 12.0f, bar * 3.0f + 1.5f, 260.0f, 0.6f, 300 + c), 0.45f,
                 0.0f, 0.2f);
    }
    const Mono beat = Kick(0.6f, 0.5f, 0.0f); // a heartbeat, felt rather than struck
    for (int b = 0; b < loop.Bars(); ++b) {
        loop.Add(loop.At(b, 0), beat, 0.85f, 0.0f, 0.3f);
        loop.Add(loop.At(b, 3), beat, 0.35f, 0.0f, 0.3f); // the heartbeat's second, softer stroke
        loop.Add(loop.At(b, 8), beat, 0.45f, 0.0f, 0.3f);
        loop.Add(loop.At(b, 11), beat, 0.25f, 0.0f, 0.3f);
    }
    // The motif answers itself: the same shape twice, the second time a step lower.
    const float motif[8][3] = {{2, 0, 74}, {2, 6, 77}, {3, 0, 76}, {3, 8, 72},
                               {8, 0, 74}, {8, 6, 76}, {9, 0, 73}, {9, 8, 69}};
    for (const auto& m : motif) {
        const Mono note = Mallet(m[2], 2.5f);
        loop.Add(loop.At(static_cast<int>(m[0]), m[1]), note, 0.35f, m[2] > 73 ? 0.5f : -0.5f, 1.0f);
    }
    return loop.Master(2.6f, 0.55f, -1.5f);
}

// Main fight: four-to-the-floor at 128 with an eighth-note bass, metal clangs and a minor lead hook.
Stereo MainFight() {
    Loop loop(128.0f, 16);
    const float step = loop.StepSeconds();
    const float roots[4] = {40, 36, 33, 35}; // Em C Am B
    const bool minor[4] = {true, false, true, false};
    const Mono kick = Kick(1.0f, 0.35f, 1.0f), snare = Snare(21, 0.25f), hat = Hat(22, 0.06f),
               open = Hat(23, 0.25f);
    const Mono clang = Clang(310.0f, 0.5f);
    for (int b = 0; b < loop.Bars(); ++b) {
        const int c = (b / 2) % 4;
        for (int beat = 0; beat < 4; ++beat)
            loop.Add(loop.At(b, beat * 4.0f), kick, 1.0f, 0.0f, 0.05f);
        loop.Add(loop.At(b, 4), snare, 0.7f, 0.1f, 0.3f);
        loop.Add(loop.At(b, 12), snare, 0.7f, 0.1f, 0.3f);
        for (int s = 0; s < 16; ++s) {
            if (s % 4 == 2)
                loop.Add(loop.At(b, static_cast<float>(s)), open, 0.3f, 0.35f, 0.1f);
            else
                loop.Add(loop.At(b, static_cast<float>(s)), hat, s % 2 ? 0.18f : 0.28f, 0.35f, 0.05f);
        }
        if (b % 2 == 1) loop.Add(loop.At(b, 14), clang, 0.25f, -0.5f, 0.6f);
        // Bass: root on the eighths, jumping the octave on the off-beats of the last beat.
        for (int e = 0; e < 8; ++e) {
            const float note = roots[c] + ((e == 7 || e == 3) ? 12.0f : 0.0f);
            loop.Add(loop.At(b, e * 2.0f), Bass(note, step * 1.6f, 700.0f, 1.6f, 2.5f), 0.55f, 0.0f, 0.0f);
        }
        if (b % 2 == 0)
            loop.Add(loop.At(b, 0),
                     Pad(Triad(roots[c] + 24.0f, minor[c]), step * 32.0f, 1400.0f, 0.05f, 0.4f), 0.25f,
                     -0.35f, 0.5f);
    }
    // The hook enters in the second half and is the same phrase each time round the progression.
    const float hook[][3] = {{0, 0, 64}, {0, 3, 67}, {0, 6, 71}, {0, 10, 69}, {1, 0, 67}, {1, 4, 66},
                             {2, 0, 64}, {2, 3, 67}, {2, 6, 72}, {2, 10, 71}, {3, 0, 69}, {3, 8, 71},
                             {4, 0, 69}, {4, 6, 67}, {5, 0, 64}, {6, 0, 69},  {6, 6, 71}, {7, 0, 71}};
    for (const auto& h : hook) {
        const float length = step * (h[1] >= 8 ? 6.0f : 3.0f);
        loop.Add(loop.At(8 + static_cast<int>(h[0]), h[1]), Lead(h[2], length, 2400.0f, 0.35f), 0.32f, 0.2f,
                 0.5f);
    }
    return loop.Master(1.6f, 0.3f, -1.5f);
}

// The lull in a fight: a low drone, a heartbeat of toms, ticks and a high tone that never resolves.
Stereo FightSilence() {
    Loop loop(88.0f, 12);
    const float bar = loop.StepSeconds() * 16.0f;
    loop.Add(loop.At(0, 0), Drone(28.0f, bar * 6.0f + 2.0f, 220.0f, 1.6f, 41), 0.8f, -0.2f, 0.3f);
    loop.Add(loop.At(6, 0), Drone(29.0f, bar * 6.0f + 2.0f, 220.0f, 1.6f, 42), 0.8f, 0.2f,
             0.3f); // the half-step rub
    loop.Add(loop.At(0, 0), Drone(35.0f, bar * 12.0f, 400.0f, 1.0f, 43), 0.35f, 0.0f, 0.4f);
    const Mono tom = Tom(70.0f, 0.6f), tick = Hat(44, 0.03f), rim = Snare(45, 0.08f);
    for (int b = 0; b < loop.Bars(); ++b) {
        loop.Add(loop.At(b, 0), tom, 0.8f, 0.0f, 0.4f);
        if (b % 2 == 1) loop.Add(loop.At(b, 10), tom, 0.5f, -0.3f, 0.5f);
        if (b % 4 == 3) loop.Add(loop.At(b, 14), tom, 0.45f, 0.3f, 0.5f);
        for (int s = 2; s < 16; s += 4)
            loop.Add(loop.At(b, static_cast<float>(s)), tick, 0.15f, 0.5f, 0.3f);
        if (b % 3 == 2) loop.Add(loop.At(b, 12), rim, 0.3f, -0.4f, 0.8f);
    }
    const float tones[4][3] = {{1, 0, 83}, {4, 8, 84}, {7, 0, 82}, {10, 4, 83}};
    for (const auto& tn : tones) {
        const Mono tone = Pad({tn[2]}, bar * 1.5f, 3000.0f, 1.0f, 1.5f);
        loop.Add(loop.At(static_cast<int>(tn[0]), tn[1]), tone, 0.2f, tn[0] < 5 ? 0.6f : -0.6f, 1.0f);
    }
    return loop.Master(2.4f, 0.5f, -1.5f);
}

// The fight at full tilt: 150 with driven sixteenth bass, double kicks, crashes and a power-chord riff.
Stereo Fight() {
    Loop loop(150.0f, 20);
    const float step = loop.StepSeconds();
    const float roots[4] = {38, 41, 36, 37}; // D F C C#: chromatic lift to the turnaround
    const Mono kick = Kick(1.15f, 0.28f, 1.0f), snare = Snare(51, 0.22f), hat = Hat(52, 0.05f),
               crash = Hat(53, 1.6f);
    const Mono clang = Clang(440.0f, 0.35f);
    for (int b = 0; b < loop.Bars(); ++b) {
        const int c = b % 4;
        const float kicks[] = {0, 3, 6, 8, 10, 14};
        for (float k : kicks)
            loop.Add(loop.At(b, k), kick, 1.0f, 0.0f, 0.05f);
        loop.Add(loop.At(b, 4), snare, 0.8f, -0.05f, 0.25f);
        loop.Add(loop.At(b, 12), snare, 0.8f, -0.05f, 0.25f);
        if (b % 4 == 3) loop.Add(loop.At(b, 15), snare, 0.5f, 0.2f, 0.3f);
        for (int s = 0; s < 16; s += 2)
            loop.Add(loop.At(b, static_cast<float>(s)), hat, 0.25f, 0.4f, 0.05f);
        if (b % 4 == 0) loop.Add(loop.At(b, 0), crash, 0.3f, -0.3f, 0.3f);
        loop.Add(loop.At(b, 7), clang, 0.15f, 0.5f, 0.5f);
        for (int s = 0; s < 16; ++s) {
            const float note = roots[c] + (s % 8 == 6 ? 12.0f : 0.0f);
            loop.Add(loop.At(b, static_cast<float>(s)), Bass(note, step * 0.8f, 500.0f, 1.2f, 4.0f), 0.45f,
                     0.0f, 0.0f);
        }
        // Power chords: root and fifth in distorted saws, hit on the bar's syncopation.
        const float hits[][2] = {{0, 5}, {6, 2}, {10, 5}};
        for (const auto& h : hits) {
            Mono chord = Lead(roots[c] + 12.0f, step * h[1], 3500.0f, 0.5f);
            MixInto(chord, Lead(roots[c] + 19.0f, step * h[1], 3500.0f, 0.5f), 0, 0.8f);
            for (float& v : chord)
                v = Drive(v, 4.0f);
            loop.Add(loop.At(b, h[0]), chord, 0.2f, c % 2 ? 0.5f : -0.5f, 0.2f);
        }
    }
    const float riff[][3] = {{0, 0, 74}, {0, 6, 72}, {0, 12, 74}, {1, 0, 77}, {1, 8, 76},
                             {2, 0, 72}, {2, 6, 74}, {2, 12, 72}, {3, 0, 73}, {3, 8, 76}};
    for (int round = 0; round < 2; ++round)
        for (const auto& r : riff) {
            const float length = step * (r[1] == 8 || r[1] == 0 ? 6.0f : 5.0f);
            loop.Add(loop.At(12 + round * 4 + static_cast<int>(r[0]), r[1]),
                     Lead(r[2], length, 3000.0f, 0.25f), 0.3f, 0.15f, 0.4f);
        }
    return loop.Master(1.4f, 0.25f, -1.5f);
}

// After death: a slow C minor lament, mallet melody over pads and a low, patient bass.
Stereo Death() {
    Loop loop(60.0f, 8);
    const float bar = loop.StepSeconds() * 16.0f;
    const std::pair<float, bool> chords[4] = {{48, true}, {44, false}, {41, true}, {43, false}}; // Cm Ab Fm G
    for (int b = 0; b < loop.Bars(); ++b) {
        const auto [root, minor] = chords[b % 4];
        loop.Add(loop.At(b, 0), Pad(Triad(root, minor), bar, 800.0f, 1.2f, 2.0f), 0.5f, -0.25f, 0.7f);
        loop.Add(loop.At(b, 0), Mallet(root - 12.0f, bar * 0.9f), 0.6f, 0.0f, 0.3f);
        loop.Add(loop.At(b, 8), Mallet(root - 5.0f, bar * 0.5f), 0.3f, 0.0f, 0.3f);
    }
    const float melody[][3] = {{0, 0, 72}, {0, 6, 75},  {0, 10, 74}, {1, 0, 72}, {1, 8, 68}, {2, 0, 68},
                               {2, 6, 72}, {2, 10, 70}, {3, 0, 71},  {4, 0, 72}, {4, 6, 75}, {4, 10, 79},
                               {5, 0, 77}, {5, 8, 75},  {6, 0, 74},  {6, 8, 72}, {7, 0, 71}, {7, 8, 67}};
    for (const auto& m : melody) {
        loop.Add(loop.At(static_cast<int>(m[0]), m[1]), Mallet(m[2], 2.2f), 0.45f, 0.25f, 0.9f);
        loop.Add(loop.At(static_cast<int>(m[0]), m[1]), Lead(m[2] - 12.0f, 0.8f, 500.0f, 0.5f), 0.08f, -0.3f,
                 0.9f);
    }
    return loop.Master(2.8f, 0.55f, -1.5f);
}

} // namespace

const std::vector<MusicRecipe>& MusicRecipes() {
    static const std::vector<MusicRecipe> recipes = {
        {"MUSIC_MAIN_MENU.OGG", MainMenu},
        {"MUSIC_MAIN_FIGHT.OGG", MainFight},
        {"MUSIC_FIGHT_SILENCE.OGG", FightSilence},
        {"MUSIC_FIGHT.OGG", Fight},
        {"MUSIC_DEATH.OGG", Death},
    };
    return recipes;
}

} // namespace artgen::audio
