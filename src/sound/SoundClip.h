#pragma once
// One sound read from a file (WAV, FLAC, Ogg Vorbis and whatever else
// libsndfile reads), mixed down to mono 16-bit samples for 3D placement.
#include <cstdint>
#include <string>
#include <vector>

struct SoundClip {
  int rate = 0;
  std::vector<std::int16_t> samples;

  // Throws std::runtime_error naming the file when it is missing, not a
  // sound, empty, or longer than ten minutes.
  static SoundClip load(const std::string& path);
};
