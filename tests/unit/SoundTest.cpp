// Which sound plays when, and on which source, without an audio device.
#include <gtest/gtest.h>

#include <set>
#include <string>
#include <vector>

#include "sound/SoundDirector.h"
#include "sound/SourcePool.h"

namespace {

std::vector<std::string> names(const std::vector<SoundCue>& cues) {
  std::vector<std::string> out;
  for (const SoundCue& c : cues) out.push_back(c.sound);
  return out;
}

}  // namespace

TEST(SourcePool, FreeSlotsFirstThenTheOldestSoundGivesWay) {
  SourcePool pool(3);
  std::set<std::size_t> playing;
  const auto busy = [&](std::size_t i) { return playing.count(i) != 0; };
  for (std::size_t expected = 0; expected < 3; ++expected) {
    const auto slot = pool.acquire(busy);
    ASSERT_EQ(slot, expected);
    playing.insert(*slot);
  }
  // All busy: slot 0 started first and is taken; then 1, then 2.
  EXPECT_EQ(pool.acquire(busy), 0u);
  EXPECT_EQ(pool.acquire(busy), 1u);
  // A finished sound frees its slot before any playing one is cut.
  playing.erase(2);
  EXPECT_EQ(pool.acquire(busy), 2u);
  playing.insert(2);
  EXPECT_EQ(pool.acquire(busy), 0u);  // 0 was taken before 1 and 2 last time round
  EXPECT_FALSE(SourcePool(0).acquire(busy).has_value());
}

TEST(SoundDirector, EventsPlayTheirSoundsWhereTheyHappen) {
  const SoundDirector director(0.4f);
  const struct {
    GameEventKind kind;
    const char* type;
    std::vector<std::string> sounds;
  } cases[] = {
      {GameEventKind::Shot, "", {"shot"}},
      {GameEventKind::EmptyTrigger, "", {"empty"}},
      {GameEventKind::ReloadStarted, "", {"reload"}},
      {GameEventKind::EnemyHit, "enemy.brute", {"hit"}},
      {GameEventKind::EnemyKilled, "enemy.crawler", {"hit", "enemy.crawler.death"}},
      {GameEventKind::EnemyKilled, "", {"hit", "enemy.death"}},
      {GameEventKind::EnemySpawned, "enemy.brute", {"call"}},
      {GameEventKind::CharacterHurt, "", {"hurt"}},
      {GameEventKind::JetpackStarted, "", {}},
  };
  const Vec3 where(1.0f, 2.0f, 3.0f);
  for (const auto& c : cases) {
    SCOPED_TRACE(static_cast<int>(c.kind));
    std::vector<SoundCue> cues;
    director.onEvent({c.kind, 5, 10, where, c.type}, cues);
    EXPECT_EQ(names(cues), c.sounds);
    for (const SoundCue& cue : cues) EXPECT_EQ(cue.position, where);
  }
}

TEST(SoundDirector, FootstepsWhileWalkingAndALandingAfterAFall) {
  SoundDirector director(0.4f);
  std::vector<SoundCue> cues;
  Vec3 at(0.0f);
  // Frames of 0.1 s: each moves the character by `step`.
  const auto frames = [&](int count, Vec3 step, bool flying) {
    cues.clear();
    for (int i = 0; i < count; ++i) {
      at += step;
      director.onFrame(at, flying, 0.1f, cues);
    }
    return names(cues);
  };
  frames(1, Vec3(0.0f), false);  // the first frame only learns where it is
  EXPECT_TRUE(frames(10, Vec3(0.0f), false).empty());                      // standing
  EXPECT_EQ(frames(9, Vec3(0.5f, 0.0f, 0.0f), false).size(), 3u);        // at once, then every 0.4 s
  EXPECT_EQ(frames(8, Vec3(0.0f, 0.2f, 0.5f), false).size(), 2u);        // up a staircase
  EXPECT_EQ(frames(8, Vec3(0.4f, -0.2f, 0.0f), false).size(), 2u);       // down one: still walking
  EXPECT_TRUE(frames(10, Vec3(0.5f, 1.0f, 0.0f), true).empty());          // flying
  EXPECT_TRUE(frames(5, Vec3(0.0f, -1.0f, 0.0f), false).empty());        // falling
  EXPECT_EQ(frames(1, Vec3(0.0f), false), (std::vector<std::string>{"landing"}));
  frames(1, Vec3(0.0f, -1.0f, 0.0f), false);  // a drop of one frame is a step down, not a fall
  EXPECT_TRUE(frames(1, Vec3(0.0f), false).empty());
}
