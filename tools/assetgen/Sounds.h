#pragma once
#include <filesystem>
#include <vector>

namespace assetgen {

// Sample rate of every generated sound.
inline constexpr int kSoundRate = 44100;

// Writes mono samples in [-1, 1] as a 16-bit PCM WAV file.
void writeWav(const std::filesystem::path& path, const std::vector<float>& samples, int rate = kSoundRate);

// Every sound the game plays, synthesised from fixed seeds: shot, empty,
// reload, hit, hurt, jetpack (loop), landing, footstep, call, ambience (loop),
// gameover, death_brute and death_crawler, as WAV files in the folder.
void writeSounds(const std::filesystem::path& folder);

}  // namespace assetgen
