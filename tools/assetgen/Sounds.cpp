// Game sounds made from noise, oscillators and envelopes: nothing recorded.
#include "Sounds.h"

#include <algorithm>
#include <cmath>
#include <cstdint>
#include <fstream>
#include <functional>
#include <stdexcept>
#include <utility>
#include <vector>

namespace assetgen {
namespace {

constexpr float kPi = 3.14159265f;
constexpr float kRate = static_cast<float>(kSoundRate);

// Deterministic white noise in [-1, 1].
class Noise {
public:
    explicit Noise(std::uint32_t seed) : state(seed) {}
    float next() {
        state = state * 1664525u + 1013904223u;
        return static_cast<float>(state >> 8) / 8388608.0f - 1.0f;
    }

private:
    std::uint32_t state;
};

// One-pole low-pass: a higher cut keeps more of the hiss.
class LowPass {
public:
    explicit LowPass(float cutHz) { setCut(cutHz); }
    void setCut(float cutHz) { a = 1.0f - std::exp(-2.0f * kPi * cutHz / kRate); }
    float operator()(float x) { return y += a * (x - y); }

private:
    float a = 0.0f;
    float y = 0.0f;
};

std::vector<float> render(float seconds, const std::function<float(float t, int i)>& sample) {
    std::vector<float> out(static_cast<std::size_t>(seconds * kRate));
    for (std::size_t i = 0; i < out.size(); ++i) out[i] = sample(static_cast<float>(i) / kRate, static_cast<int>(i));
    return out;
}

// Scales the peak to `peak` and fades the first and last milliseconds so no sound clicks.
std::vector<float> finish(std::vector<float> s, float peak, float fadeSeconds = 0.003f) {
    float most = 0.0f;
    for (float v : s) most = std::max(most, std::abs(v));
    if (most > 0.0f) for (float& v : s) v *= peak / most;
    const std::size_t fade = std::min(s.size() / 2, static_cast<std::size_t>(fadeSeconds * kRate));
    for (std::size_t i = 0; i < fade; ++i) {
        const float g = static_cast<float>(i) / static_cast<float>(fade);
        s[i] *= g;
        s[s.size() - 1 - i] *= g;
    }
    return s;
}

// A loop whose end runs into its start: the last `overlap` seconds are faded
// into the beginning, so looping it has no seam.
std::vector<float> seamless(std::vector<float> s, float overlap) {
    const std::size_t n = std::min(s.size() / 2, static_cast<std::size_t>(overlap * kRate));
    std::vector<float> out(s.begin(), s.end() - static_cast<std::ptrdiff_t>(n));
    for (std::size_t i = 0; i < n; ++i) {
        const float g = static_cast<float>(i) / static_cast<float>(n);
        // Equal power: uncorrelated noise keeps its loudness through the fade.
        out[i] = out[i] * std::sqrt(g) + s[s.size() - n + i] * std::sqrt(1.0f - g);
    }
    return out;
}

float decay(float t, float rate) { return std::exp(-t * rate); }

std::vector<float> shot() {
    Noise noise(11);
    LowPass body(2500.0f);
    float phase = 0.0f;
    return finish(render(0.35f, [&](float t, int) {
        const float crack = noise.next() * decay(t, 38.0f);
        phase += 2.0f * kPi * (140.0f - 90.0f * std::min(t * 8.0f, 1.0f)) / kRate;
        const float thump = std::sin(phase) * decay(t, 14.0f);
        return 0.6f * body(crack) + 0.35f * crack * decay(t, 120.0f) + 0.7f * thump;
    }), 0.95f);
}

// A sharp metallic tick starting at t0.
float click(float t0, float t, Noise& noise, float pitch) {
    const float u = t - t0;
    if (u < 0.0f) return 0.0f;
    return (std::sin(2.0f * kPi * pitch * u) * 0.6f + noise.next() * 0.4f) * decay(u, 260.0f);
}

std::vector<float> empty() {
    Noise noise(12);
    return finish(render(0.08f, [&](float t, int) { return click(0.0f, t, noise, 3200.0f); }), 0.6f);
}

std::vector<float> reload() {
    Noise noise(13);
    LowPass slide(1800.0f);
    return finish(render(0.9f, [&](float t, int) {
        float v = click(0.02f, t, noise, 1800.0f) + 0.8f * click(0.62f, t, noise, 2400.0f);
        if (t > 0.15f && t < 0.5f) {
            slide.setCut(600.0f + 3000.0f * (t - 0.15f));
            v += 0.5f * slide(noise.next()) * std::sin(kPi * (t - 0.15f) / 0.35f);
        }
        v += 0.9f * click(0.78f, t, noise, 900.0f);
        return v;
    }), 0.8f);
}

std::vector<float> hit() {
    Noise noise(14);
    LowPass muffle(900.0f);
    return finish(render(0.16f, [&](float t, int) {
        return muffle(noise.next()) * decay(t, 30.0f) + 0.6f * std::sin(2.0f * kPi * 160.0f * t) * decay(t, 25.0f);
    }), 0.85f);
}

std::vector<float> hurt() {
    Noise noise(15);
    LowPass breath(1200.0f);
    float phase = 0.0f;
    return finish(render(0.4f, [&](float t, int) {
        phase += 2.0f * kPi * (210.0f - 90.0f * t / 0.4f) / kRate;
        const float voice = std::sin(phase) + 0.4f * std::sin(2.0f * phase) + 0.2f * std::sin(3.0f * phase);
        const float envelope = std::min(t / 0.02f, 1.0f) * decay(t, 7.0f);
        return (0.8f * voice + 0.4f * breath(noise.next())) * envelope;
    }), 0.9f);
}

std::vector<float> jetpack() {
    Noise noise(16);
    LowPass roar(420.0f);
    LowPass hiss(3000.0f);
    std::vector<float> s = render(1.6f, [&](float t, int) {
        const float flutter = 1.0f + 0.15f * std::sin(2.0f * kPi * 9.0f * t);
        return (1.6f * roar(noise.next()) + 0.25f * hiss(noise.next())) * flutter;
    });
    return finish(seamless(std::move(s), 0.3f), 0.7f, 0.0f);
}

std::vector<float> thud(std::uint32_t seed, float seconds, float pitch, float noiseCut, float peak) {
    Noise noise(seed);
    LowPass soft(noiseCut);
    float phase = 0.0f;
    return finish(render(seconds, [&](float t, int) {
        phase += 2.0f * kPi * pitch * (1.0f - 0.5f * std::min(t / seconds, 1.0f)) / kRate;
        return 0.8f * std::sin(phase) * decay(t, 18.0f) + 0.9f * soft(noise.next()) * decay(t, 40.0f);
    }), peak);
}

std::vector<float> call() {
    float phase = 0.0f;
    return finish(render(0.9f, [&](float t, int) {
        const float pitch = 260.0f + 220.0f * std::sin(kPi * t / 0.9f) + 12.0f * std::sin(2.0f * kPi * 6.0f * t);
        phase += 2.0f * kPi * pitch / kRate;
        const float voice = std::sin(phase) + 0.5f * std::sin(2.0f * phase + 0.3f) + 0.25f * std::sin(3.0f * phase);
        return voice * std::sin(kPi * t / 0.9f);
    }), 0.8f, 0.01f);
}

// A night that does not repeat within half a minute: a 36 s loop of wind in
// slow irregular gusts, three crickets that each chirp at their own pitch and
// pace in bouts of their own lengths, and now and then an owl's two hoots.
std::vector<float> ambience() {
    constexpr float kSeconds = 37.0f;  // 36 s once its last second is faded into its start
    Noise noise(17);
    Noise schedule(23);  // draws the bouts and hoots, apart from the hiss
    const auto uniform = [&](float low, float high) { return low + (high - low) * (schedule.next() * 0.5f + 0.5f); };

    struct Cricket {
        float pitch, perSecond, level;
        float phase = 0.0f;
        std::vector<std::pair<float, float>> bouts = {};  // when it chirps
    };
    std::vector<Cricket> crickets = {{4300.0f, 2.7f, 0.10f}, {4650.0f, 3.3f, 0.08f}, {5150.0f, 3.9f, 0.05f}};
    for (Cricket& c : crickets) {
        for (float t = uniform(0.0f, 3.0f); t < kSeconds; ) {
            const float length = uniform(2.0f, 7.0f);
            c.bouts.emplace_back(t, std::min(t + length, kSeconds));
            t += length + uniform(1.0f, 5.0f);
        }
    }
    std::vector<float> hoots = {uniform(4.0f, 14.0f), uniform(20.0f, 31.0f)};

    LowPass wind(250.0f);
    LowPass gustNoise(0.15f);  // a slow random swell, not a repeating wave
    float owlPhase = 0.0f;
    std::vector<float> s = render(kSeconds, [&](float t, int) {
        const float gust = 0.55f + 0.45f * std::clamp(8.0f * gustNoise(noise.next()) + 0.5f, 0.0f, 1.0f) *
                                       (0.7f + 0.3f * std::sin(2.0f * kPi * t / 13.0f));
        float v = 2.5f * wind(noise.next()) * gust;
        for (Cricket& c : crickets) {
            c.phase += 2.0f * kPi * c.pitch / kRate;
            bool chirping = false;
            for (const auto& [from, to] : c.bouts) chirping = chirping || (t >= from && t < to);
            if (!chirping) continue;
            const float within = std::fmod(t, 1.0f / c.perSecond);
            if (within < 0.06f) {
                v += c.level * std::sin(c.phase) * std::sin(kPi * within / 0.06f) *
                     (0.5f + 0.5f * std::sin(2.0f * kPi * 45.0f * within));
            }
        }
        for (float start : hoots) {
            for (float delay : {0.0f, 0.9f}) {
                const float u = t - start - delay;
                if (u < 0.0f || u > 0.55f) continue;
                owlPhase += 2.0f * kPi * (420.0f - 50.0f * u / 0.55f) / kRate;
                v += 0.09f * std::sin(owlPhase) * std::sin(kPi * u / 0.55f);
            }
        }
        return v;
    });
    return finish(seamless(std::move(s), 1.0f), 0.5f, 0.0f);
}

std::vector<float> gameover() {
    // A falling minor arpeggio, each note ringing on.
    const float notes[] = {440.0f, 349.23f, 293.66f, 220.0f};
    return finish(render(2.6f, [&](float t, int) {
        float v = 0.0f;
        for (int n = 0; n < 4; ++n) {
            const float u = t - 0.35f * static_cast<float>(n);
            if (u < 0.0f) continue;
            const float f = notes[n];
            v += (std::sin(2.0f * kPi * f * u) + 0.3f * std::sin(4.0f * kPi * f * u)) * decay(u, 1.6f) *
                 std::min(u / 0.01f, 1.0f);
        }
        return v;
    }), 0.85f, 0.02f);
}

std::vector<float> death(std::uint32_t seed, float seconds, float from, float to, float rough) {
    Noise noise(seed);
    LowPass grit(1500.0f);
    float phase = 0.0f;
    return finish(render(seconds, [&](float t, int) {
        const float u = t / seconds;
        phase += 2.0f * kPi * (from + (to - from) * u) / kRate;
        // A sawtooth voice with noise in it, fading as it falls.
        const float saw = 2.0f * (phase / (2.0f * kPi) - std::floor(phase / (2.0f * kPi) + 0.5f));
        return (saw * (1.0f - rough) + rough * grit(noise.next()) * 3.0f) * (1.0f - u) * std::min(t / 0.02f, 1.0f);
    }), 0.85f);
}

}  // namespace

void writeWav(const std::filesystem::path& path, const std::vector<float>& samples, int rate) {
    std::filesystem::create_directories(path.parent_path());
    std::ofstream out(path, std::ios::binary);
    if (!out) throw std::runtime_error("cannot write " + path.string());
    auto u32 = [&](std::uint32_t v) { for (int i = 0; i < 4; ++i) out.put(static_cast<char>((v >> (8 * i)) & 0xFF)); };
    auto u16 = [&](std::uint16_t v) { out.put(static_cast<char>(v & 0xFF)); out.put(static_cast<char>(v >> 8)); };
    const std::uint32_t bytes = static_cast<std::uint32_t>(samples.size() * 2);
    out.write("RIFF", 4);
    u32(36 + bytes);
    out.write("WAVEfmt ", 8);
    u32(16);
    u16(1);  // PCM
    u16(1);  // mono
    u32(static_cast<std::uint32_t>(rate));
    u32(static_cast<std::uint32_t>(rate * 2));
    u16(2);
    u16(16);
    out.write("data", 4);
    u32(bytes);
    for (float v : samples) {
        const float clamped = std::clamp(v, -1.0f, 1.0f);
        u16(static_cast<std::uint16_t>(static_cast<std::int16_t>(std::lround(clamped * 32767.0f))));
    }
    if (!out) throw std::runtime_error("cannot write " + path.string());
}

void writeSounds(const std::filesystem::path& folder) {
    writeWav(folder / "shot.wav", shot());
    writeWav(folder / "empty.wav", empty());
    writeWav(folder / "reload.wav", reload());
    writeWav(folder / "hit.wav", hit());
    writeWav(folder / "hurt.wav", hurt());
    writeWav(folder / "jetpack.wav", jetpack());
    writeWav(folder / "landing.wav", thud(18, 0.3f, 90.0f, 500.0f, 0.85f));
    writeWav(folder / "footstep.wav", thud(19, 0.12f, 120.0f, 1400.0f, 0.9f));
    writeWav(folder / "call.wav", call());
    writeWav(folder / "ambience.wav", ambience());
    writeWav(folder / "gameover.wav", gameover());
    writeWav(folder / "death_brute.wav", death(20, 0.9f, 150.0f, 45.0f, 0.35f));
    writeWav(folder / "death_crawler.wav", death(21, 0.55f, 1100.0f, 320.0f, 0.2f));
}

}  // namespace assetgen
