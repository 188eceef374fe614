// Sound synthesis building blocks shared by the effects and the music: noise, oscillators, envelopes,
// filters, shaping and a small reverb. Everything is deterministic: no clocks, no library randomness.
#pragma once

#include <cstddef>
#include <cstdint>
#include <vector>

namespace artgen::audio {

constexpr int kRate = 44100;
constexpr float kPi = 3.14159265358979f;

using Mono = std::vector<float>;

inline std::size_t Samples(double seconds) {
    return static_cast<std::size_t>(seconds * kRate + 0.5);
}

// xorshift32: our own generator so the sounds never depend on a standard library's distributions.
class Noise {
  public:
    explicit Noise(uint32_t seed) : state_(seed ? seed : 0x9E3779B9u) {}
    uint32_t Next() {
        state_ ^= state_ << 13;
        state_ ^= state_ >> 17;
        state_ ^= state_ << 5;
        return state_;
    }
    float Uniform() { return static_cast<float>(Next() >> 8) * (1.0f / 16777216.0f); } // [0, 1)
    float White() { return Uniform() * 2.0f - 1.0f; }
    float Range(float lo, float hi) { return lo + (hi - lo) * Uniform(); }

  private:
    uint32_t state_;
};

// Leaky integrated white noise: the rumble under explosions and drones.
class BrownNoise {
  public:
    explicit BrownNoise(uint32_t seed) : white_(seed) {}
    float Next() {
        level_ = level_ * 0.996f + white_.White() * 0.06f;
        return level_;
    }

  private:
    Noise white_;
    float level_ = 0.0f;
};

// Phase accumulator with band-limited saw and square (polyBLEP), so sweeps do not alias into whistles.
class Oscillator {
  public:
    explicit Oscillator(float phase = 0.0f) : phase_(phase) {}
    float Sine(float hz);
    float Saw(float hz);
    float Square(float hz, float width = 0.5f);
    float Triangle(float hz);

  private:
    float Advance(float hz);
    float phase_;
};

// Linear attack, exponential-ish decay to the sustain level, linear release after the gate closes.
float Adsr(float t, float attack, float decay, float sustain, float release, float gate);
// 1 at t = 0 falling by e every tau seconds.
float Decay(float t, float tau);

class OnePole {
  public:
    void SetCutoff(float hz);
    float LowPass(float x) {
        z_ += a_ * (x - z_);
        return z_;
    }
    float HighPass(float x) { return x - LowPass(x); }

  private:
    float a_ = 1.0f;
    float z_ = 0.0f;
};

// Direct-form biquad (RBJ cookbook coefficients) for fixed tone shaping.
class Biquad {
  public:
    void LowPass(float hz, float q);
    void HighPass(float hz, float q);
    void BandPass(float hz, float q);
    void Peak(float hz, float q, float gainDb);
    float Process(float x);

  private:
    float b0_ = 1, b1_ = 0, b2_ = 0, a1_ = 0, a2_ = 0;
    float x1_ = 0, x2_ = 0, y1_ = 0, y2_ = 0;
};

// State-variable filter (trapezoidal form) whose cutoff may move every sample without blowing up.
class Svf {
  public:
    struct Out {
        float low, band, high;
    };
    Out Process(float x, float hz, float q);

  private:
    float ic1_ = 0.0f, ic2_ = 0.0f;
};

float Drive(float x, float amount); // soft saturation, unity gain for small signals
float MidiHz(float note);
// Exponential glide from `from` toward `to` with time constant tau: how struck things drop in pitch.
float Glide(float t, float from, float to, float tau);

// Schroeder reverb: four allpasses into eight damped combs, sized in milliseconds so rooms scale with `size`.
class Reverb {
  public:
    Reverb(float size, float feedback, float damping);
    float Process(float x);

  private:
    struct Line {
        std::vector<float> buf;
        std::size_t pos = 0;
        float store = 0.0f;
    };
    Line combs_[8];
    Line allpasses_[4];
    float feedback_, damping_;
};

// Adds `src` into `dst` at `offset`, growing `dst` as needed.
void MixInto(Mono& dst, const Mono& src, std::size_t offset, float gain);
// Scales so the largest magnitude equals `peakDb` dBFS.
void NormalizePeak(Mono& s, float peakDb);
// A few milliseconds of fade at both ends so no sound starts or stops with a click.
void Declick(Mono& s, float fadeInMs, float fadeOutMs);
// Raised-cosine fade over the last `seconds`.
void TaperEnd(Mono& s, float seconds);
float Peak(const Mono& s);

// Calls f(t) for every sample of a voice `seconds` long; f keeps its own oscillators and filters. The last
// stretch is tapered, so a voice still ringing when its time is up fades instead of clicking.
template <class F> Mono Render(float seconds, F&& f) {
    Mono s(Samples(seconds));
    for (std::size_t i = 0; i < s.size(); ++i)
        s[i] = f(static_cast<float>(i) / kRate);
    TaperEnd(s, seconds * 0.15f < 0.06f ? seconds * 0.15f : 0.06f);
    return s;
}

} // namespace artgen::audio
