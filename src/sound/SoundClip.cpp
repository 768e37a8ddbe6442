#include "sound/SoundClip.h"

#include <sndfile.h>

#include <stdexcept>

namespace {

// Enough for any game sound and ambience loop; a larger file is a mistake
// that would otherwise take its whole length in memory.
constexpr sf_count_t kMostSeconds = 600;

std::runtime_error fileError(const std::string& path, const std::string& what) {
  return std::runtime_error("SOUND: The sound file '" + path + "' " + what);
}

}  // namespace

SoundClip SoundClip::load(const std::string& path) {
  SF_INFO info{};
  SNDFILE* file = sf_open(path.c_str(), SFM_READ, &info);
  if (file == nullptr) throw fileError(path, std::string("could not be read: ") + sf_strerror(nullptr));
  const int channels = info.channels;
  if (info.frames <= 0 || channels <= 0 || info.samplerate <= 0) {
    sf_close(file);
    throw fileError(path, "holds no sound.");
  }
  if (info.frames > kMostSeconds * info.samplerate) {
    sf_close(file);
    throw fileError(path, "is longer than " + std::to_string(kMostSeconds) + " seconds.");
  }
  std::vector<float> interleaved(static_cast<std::size_t>(info.frames) * static_cast<std::size_t>(channels));
  const sf_count_t read = sf_readf_float(file, interleaved.data(), info.frames);
  sf_close(file);
  if (read <= 0) throw fileError(path, "holds no sound.");

  SoundClip clip;
  clip.rate = info.samplerate;
  clip.samples.resize(static_cast<std::size_t>(read));
  for (std::size_t frame = 0; frame < clip.samples.size(); ++frame) {
    float sum = 0.0f;
    for (int c = 0; c < channels; ++c) sum += interleaved[frame * static_cast<std::size_t>(channels) + static_cast<std::size_t>(c)];
    float mono = sum / static_cast<float>(channels);
    mono = mono > 1.0f ? 1.0f : (mono < -1.0f ? -1.0f : mono);
    clip.samples[frame] = static_cast<std::int16_t>(mono * 32767.0f);
  }
  return clip;
}
