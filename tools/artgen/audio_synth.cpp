// Sound synthesis building blocks: oscillators, envelopes, filters, saturation, reverb and level helpers.
#include "audio_synth.h"

#include <algorithm>
#include <cmath>

namespace artgen::audio {

namespace {

// Smooths the step of a saw or square at the wrap point; dt is the phase increment per sample.
float PolyBlep(float t, float dt) {
    if (dt <= 0.0f) return 0.0f;
    if (t < dt) {
        t /= dt;
        return t + t - t * t - 1.0f;
    }
    if (t > 1.0f - dt) {
        t = (t - 1.0f) / dt;
        return t * t + t + t + 1.0f;
    }
    return 0.0f;
}

} // namespace

float Oscillator::Advance(float hz) {
    const float now = phase_;
    phase_ += hz / kRate;
    phase_ -= std::floor(phase_);
    return now;
}

float Oscillator::Sine(float hz) {
    return std::sin(2.0f * kPi * Advance(hz));
}

float Oscillator::Saw(float hz) {
    const float dt = std::fabs(hz) / kRate;
    const float t = Advance(hz);
    return 2.0f * t - 1.0f - PolyBlep(t, dt);
}

float Oscillator::Square(float hz, float width) {
    const float dt = std::fabs(hz) / kRate;
    const float t = Advance(hz);
    float shifted = t + 1.0f - width;
    shifted -= std::floor(shifted);
    return (t < width ? 1.0f : -1.0f) + PolyBlep(t, dt) - PolyBlep(shifted, dt);
}

float Oscillator::Triangle(float hz) {
    const float t = Advance(hz);
    return 4.0f * std::fabs(t - 0.5f) - 1.0f;
}

float Adsr(float t, float attack, float decay, float sustain, float release, float gate) {
    auto held = [&](float u) {
        if (u < attack) return u / attack;
        return sustain + (1.0f - sustain) * std::exp(-(u - attack) / std::max(decay, 1e-4f));
    };
    if (t < 0.0f) return 0.0f;
    if (t < gate) return held(t);
    const float fall = 1.0f - (t - gate) / std::max(release, 1e-4f);
    return fall > 0.0f ? held(gate) * fall : 0.0f;
}

float Decay(float t, float tau) {
    return t < 0.0f ? 0.0f : std::exp(-t / tau);
}

void OnePole::SetCutoff(float hz) {
    a_ = 1.0f - std::exp(-2.0f * kPi * std::min(hz, 0.45f * kRate) / kRate);
}

void Biquad::LowPass(float hz, float q) {
    const float w = 2.0f * kPi * std::min(hz, 0.45f * kRate) / kRate, alpha = std::sin(w) / (2.0f * q);
    const float c = std::cos(w), a0 = 1.0f + alpha;
    b0_ = (1.0f - c) / 2.0f / a0;
    b1_ = (1.0f - c) / a0;
    b2_ = b0_;
    a1_ = -2.0f * c / a0;
    a2_ = (1.0f - alpha) / a0;
}

void Biquad::HighPass(float hz, float q) {
    const float w = 2.0f * kPi * std::min(hz, 0.45f * kRate) / kRate, alpha = std::sin(w) / (2.0f * q);
    const float c = std::cos(w), a0 = 1.0f + alpha;
    b0_ = (1.0f + c) / 2.0f / a0;
    b1_ = -(1.0f + c) / a0;
    b2_ = b0_;
    a1_ = -2.0f * c / a0;
    a2_ = (1.0f - alpha) / a0;
}

void Biquad::BandPass(float hz, float q) {
    const float w = 2.0f * kPi * std::min(hz, 0.45f * kRate) / kRate, alpha = std::sin(w) / (2.0f * q);
    const float c = std::cos(w), a0 = 1.0f + alpha;
    b0_ = alpha / a0;
    b1_ = 0.0f;
    b2_ = -alpha / a0;
    a1_ = -2.0f * c / a0;
    a2_ = (1.0f - alpha) / a0;
}

void Biquad::Peak(float hz, float q, float gainDb) {
    const float a = std::pow(10.0f, gainDb / 40.0f);
    const float w = 2.0f * kPi * std::min(hz, 0.45f * kRate) / kRate, alpha = std::sin(w) / (2.0f * q);
    const float c = std::cos(w), a0 = 1.0f + alpha / a;
    b0_ = (1.0f + alpha * a) / a0;
    b1_ = -2.0f * c / a0;
    b2_ = (1.0f - alpha * a) / a0;
    a1_ = b1_;
    a2_ = (1.0f - alpha / a) / a0;
}

float Biquad::Process(float x) {
    const float y = b0_ * x + b1_ * x1_ + b2_ * x2_ - a1_ * y1_ - a2_ * y2_;
    x2_ = x1_;
    x1_ = x;
    y2_ = y1_;
    y1_ = y;
    return y;
}

Svf::Out Svf::Process(float x, float hz, float q) {
    const float g = std::tan(kPi * std::clamp(hz, 10.0f, 0.45f * kRate) / kRate);
    const float k = 1.0f / std::max(q, 0.05f);
    const float a1 = 1.0f / (1.0f + g * (g + k)), a2 = g * a1, a3 = g * a2;
    const float v3 = x - ic2_;
    const float v1 = a1 * ic1_ + a2 * v3;
    const float v2 = ic2_ + a2 * ic1_ + a3 * v3;
    ic1_ = 2.0f * v1 - ic1_;
    ic2_ = 2.0f * v2 - ic2_;
    return {v2, v1, x - k * v1 - v2};
}

float Drive(float x, float amount) {
    return amount <= 0.0f ? x : std::tanh(x * amount) / amount;
}

float Glide(float t, float from, float to, float tau) {
    return to + (from - to) * std::exp(-t / tau);
}

float MidiHz(float note) {
    return 440.0f * std::pow(2.0f, (note - 69.0f) / 12.0f);
}

Reverb::Reverb(float size, float feedback, float damping) : feedback_(feedback), damping_(damping) {
    // Mutually prime delay lengths keep the echoes from lining up into a metallic ring.
    // Eight of them are dense enough that a short room does not flutter.
    static constexpr float kCombMs[8] = {25.3f, 26.9f, 28.9f, 30.8f, 32.2f, 33.8f, 35.3f, 36.7f};
    static constexpr float kAllpassMs[4] = {12.6f, 10.0f, 7.7f, 5.1f};
    for (int i = 0; i < 8; ++i)
        combs_[i].buf.assign(std::max<std::size_t>(1, Samples(kCombMs[i] * size / 1000.0f)), 0.0f);
    for (int i = 0; i < 4; ++i)
        allpasses_[i].buf.assign(Samples(kAllpassMs[i] / 1000.0f), 0.0f);
}

float Reverb::Process(float x) {
    // Diffusing before the combs smears a sharp attack, so its echoes blend instead of rattling.
    float y = x;
    for (Line& a : allpasses_) {
        const float delayed = a.buf[a.pos];
        const float in = y + delayed * 0.5f;
        a.buf[a.pos] = in;
        if (++a.pos == a.buf.size()) a.pos = 0;
        y = delayed - in * 0.5f;
    }
    float sum = 0.0f;
    for (Line& c : combs_) {
        const float out = c.buf[c.pos];
        c.store = out + damping_ * (c.store - out);
        c.buf[c.pos] = y + c.store * feedback_;
        if (++c.pos == c.buf.size()) c.pos = 0;
        sum += out;
    }
    return sum * 0.125f;
}

void MixInto(Mono& dst, const Mono& src, std::size_t offset, float gain) {
    if (dst.size() < offset + src.size()) dst.resize(offset + src.size(), 0.0f);
    for (std::size_t i = 0; i < src.size(); ++i)
        dst[offset + i] += src[i] * gain;
}

float Peak(const Mono& s) {
    float peak = 0.0f;
    for (float v : s)
        peak = std::max(peak, std::fabs(v));
    return peak;
}

void NormalizePeak(Mono& s, float peakDb) {
    const float peak = Peak(s);
    if (peak <= 0.0f) return;
    const float gain = std::pow(10.0f, peakDb / 20.0f) / peak;
    for (float& v : s)
        v *= gain;
}

void Declick(Mono& s, float fadeInMs, float fadeOutMs) {
    const std::size_t in = std::min(s.size(), Samples(fadeInMs / 1000.0f));
    const std::size_t out = std::min(s.size(), Samples(fadeOutMs / 1000.0f));
    for (std::size_t i = 0; i < in; ++i)
        s[i] *= static_cast<float>(i) / in;
    for (std::size_t i = 0; i < out; ++i)
        s[s.size() - 1 - i] *= static_cast<float>(i) / out;
}

void TaperEnd(Mono& s, float seconds) {
    const std::size_t n = std::min(s.size(), Samples(seconds));
    for (std::size_t i = 0; i < n; ++i)
        s[s.size() - n + i] *=
            0.5f + 0.5f * std::cos(kPi * static_cast<float>(i + 1) / static_cast<float>(n));
}

} // namespace artgen::audio
