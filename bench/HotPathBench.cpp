// Window-free benchmarks of the game's per-frame hot paths on the shipped
// configuration and content: the octree, the move with collision, the enemy
// behaviour, the animator and the configuration load. Runs with build/game/bin
// as its working directory, as the game does.
#include <benchmark/benchmark.h>
#include <unistd.h>

#include <glm/gtc/matrix_transform.hpp>

#include <deque>
#include <iostream>
#include <map>
#include <string>
#include <vector>

#include "MapWorld.h"
#include "app/Clock.h"
#include "config/Config.h"
#include "game/EnemyAI.h"
#include "game/PositionManager.h"
#include "scene/Animator.h"
#include "scene/Octree.h"
#include "scene/Parser.h"

namespace {

// The game clock the timed code reads: advanced by hand, one frame at a time.
double benchTime = 0.0;
double benchClock() { return benchTime; }
constexpr double kFrameSeconds = 1.0 / 60.0;

void loadGameConfig() {
  Config& config = Config::instance();
  config.clear();
  config.setPath(kConfigPath);
  config.load();
}

const char* const kEnemyTypes[] = {"enemy.brute", "enemy.crawler"};

// ---- Octree ---------------------------------------------------------------

// Character-sized boxes standing on free spots of the real map.
struct OctreeLoad {
  explicit OctreeLoad(std::size_t count) {
    MapWorld map;
    const std::vector<Vec3> spots = map.freeSpots("maincharacter", count);
    for (std::size_t i = 0; i < spots.size(); ++i) {
      BoundingBox& box = boxes.emplace_back("walker" + std::to_string(i));
      box.compute(Vec3(-0.4f, 0.0f, -0.4f), Vec3(0.4f, 1.9f, 0.4f), 0.0f);
      matrices.push_back(glm::translate(Mat4(1.0f), spots[i]));
      box.setModelMatrix(matrices.back());
    }
  }
  std::deque<BoundingBox> boxes;
  std::vector<Mat4> matrices;
};

void checkCount(benchmark::State& state, std::size_t available) {
  if (available < static_cast<std::size_t>(state.range(0))) {
    state.SkipWithError("the map has fewer free spots than objects asked for");
  }
}

void BM_OctreeInsert(benchmark::State& state) {
  OctreeLoad load(static_cast<std::size_t>(state.range(0)));
  checkCount(state, load.boxes.size());
  for (auto _ : state) {
    Octree tree;
    for (std::size_t i = 0; i < load.boxes.size(); ++i) tree.add(static_cast<ObjectId>(i), &load.boxes[i]);
    benchmark::DoNotOptimize(tree.getRoot());
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}

// Every object moves by one frame's walk, alternately there and back.
void BM_OctreeUpdate(benchmark::State& state) {
  OctreeLoad load(static_cast<std::size_t>(state.range(0)));
  checkCount(state, load.boxes.size());
  Octree tree;
  for (std::size_t i = 0; i < load.boxes.size(); ++i) tree.add(static_cast<ObjectId>(i), &load.boxes[i]);
  const Mat4 step = glm::translate(Mat4(1.0f), Vec3(0.08f, 0.0f, 0.05f));
  bool there = false;
  for (auto _ : state) {
    there = !there;
    for (std::size_t i = 0; i < load.boxes.size(); ++i) {
      tree.update(static_cast<ObjectId>(i), there ? step * load.matrices[i] : load.matrices[i]);
    }
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}

// Every object's collision test against the tree, then one line of fire.
void BM_OctreeQuery(benchmark::State& state) {
  OctreeLoad load(static_cast<std::size_t>(state.range(0)));
  checkCount(state, load.boxes.size());
  Octree tree;
  for (std::size_t i = 0; i < load.boxes.size(); ++i) tree.add(static_cast<ObjectId>(i), &load.boxes[i]);
  const Vec3 fire = glm::normalize(Vec3(1.0f, 0.0f, 1.0f));
  for (auto _ : state) {
    for (std::size_t i = 0; i < load.boxes.size(); ++i) {
      benchmark::DoNotOptimize(tree.collideTree(static_cast<ObjectId>(i), load.matrices[i]));
    }
    benchmark::DoNotOptimize(tree.pick(0, fire));
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
}

// ---- Position manager -----------------------------------------------------

// The main character walks one frame's step and back on the real map among
// range(0) standing enemies: two moves with collision per iteration.
void BM_PositionMoveTo(benchmark::State& state) {
  MapWorld map;
  const std::vector<Vec3> spots = map.freeSpots("enemy.brute", static_cast<std::size_t>(state.range(0)) + 8);
  std::size_t placed = 0;
  const Vec3 start = map.positions().position(MapWorld::kMainCharacterId);
  for (const Vec3& spot : spots) {
    if (placed == static_cast<std::size_t>(state.range(0))) break;
    if (glm::length(spot - start) < 3.0f) continue;  // keep the walker's own path clear
    map.addWalker(kEnemyTypes[placed % 2], spot);
    ++placed;
  }
  checkCount(state, placed);
  PositionManager& positions = map.positions();
  const Vec3 step(5.0f * static_cast<float>(kFrameSeconds), 0.0f, 0.0f);
  if (!positions.moveTo(MapWorld::kMainCharacterId, start).moved) state.SkipWithError("the walker is blocked");
  for (auto _ : state) {
    benchmark::DoNotOptimize(positions.moveTo(MapWorld::kMainCharacterId, start + step));
    benchmark::DoNotOptimize(positions.moveTo(MapWorld::kMainCharacterId, start));
  }
  state.SetItemsProcessed(state.iterations() * 2);
}

// A walker climbs the lower staircase by one step and comes back down: the
// ramp lift on every move.
void BM_PositionMoveOnStairs(benchmark::State& state) {
  MapWorld map;
  const ObjectId walker = map.addWalker("enemy.brute", Vec3(21.0f, 2.6f, -13.0f));
  PositionManager& positions = map.positions();
  if (!positions.moveTo(walker, Vec3(21.0f, 2.6f, -13.0f)).moved) state.SkipWithError("the walker is blocked");
  const Vec3 start = positions.position(walker);  // lifted onto the ramp
  const Vec3 step(0.0f, 0.0f, -5.0f * static_cast<float>(kFrameSeconds));
  for (auto _ : state) {
    benchmark::DoNotOptimize(positions.moveTo(walker, positions.position(walker) + step));
    benchmark::DoNotOptimize(positions.moveTo(walker, positions.position(walker) - step));
    positions.place(walker, start);
  }
  state.SetItemsProcessed(state.iterations() * 2);
}

// ---- Enemy behaviour ------------------------------------------------------

// range(0) enemies of both types spread over the three levels of the real
// map; each iteration is one frame's update from that same layout, so that
// the enemies never bunch up around the character however long it runs.
void BM_EnemyAIUpdate(benchmark::State& state) {
  gameclock::setSource(benchClock);
  MapWorld map;
  const std::size_t count = static_cast<std::size_t>(state.range(0));
  const std::vector<Vec3> spots = map.freeSpots("enemy.brute", count);
  checkCount(state, spots.size());
  EnemyAI ai(&map.positions(), &map.properties(), [](ObjectId) {});
  ai.mainCharacterId = MapWorld::kMainCharacterId;
  std::vector<ObjectId> ids;
  for (std::size_t i = 0; i < spots.size(); ++i) {
    ids.push_back(map.addWalker(kEnemyTypes[i % 2], spots[i]));
    ai.addEnemy(ids.back());
  }
  PositionManager& positions = map.positions();
  auto restore = [&] {
    for (std::size_t i = 0; i < ids.size(); ++i) {
      positions.place(ids[i], spots[i]);
      positions.setFacing(ids[i], 0.0f);
    }
  };
  benchTime += kFrameSeconds;
  ai.update();  // the timer's first delta
  for (auto _ : state) {
    state.PauseTiming();
    restore();
    benchTime += kFrameSeconds;
    state.ResumeTiming();
    ai.update();
  }
  state.SetItemsProcessed(state.iterations() * state.range(0));
  gameclock::setSource(nullptr);
}

// ---- Animator -------------------------------------------------------------

// The skeleton of a configured model as the model import builds it.
Skeleton skeletonOf(const std::string& name) {
  return Parser::importSkeleton(Config::instance().getString(name + ".path"));
}

struct Character {
  Character() : skeleton(skeletonOf("maincharacter")) {
    const Config& config = Config::instance();
    for (int i = 0; i < 5; ++i) {
      const std::string name = config.getString("maincharacter.animation" + std::to_string(i));
      animations.push_back(Parser::importAnimation(config.getString(name + ".path")));
    }
  }
  Skeleton skeleton;
  std::vector<Animation> animations;
};

// One pose of the real character from its walk, by the node-name search.
void BM_AnimatorEvaluate(benchmark::State& state) {
  Character character;
  const std::map<std::string, bool> directions;
  Animator animator(directions);
  const Animation& walk = character.animations.at(1);
  float ticks = 0.0f;
  for (auto _ : state) {
    ticks = ticks + 0.4f < walk.duration ? ticks + 0.4f : 0.0f;
    animator.evaluate(walk, ticks, character.skeleton);
    benchmark::DoNotOptimize(character.skeleton.bones.data());
  }
  state.counters["bones"] = static_cast<double>(character.skeleton.bones.size());
}

// The per-frame pose of the main character as the scene draws it: walking
// forward (one animation) or diagonally (two mixed), a frame apart.
void BM_AnimatorAnimateMainCharacter(benchmark::State& state) {
  gameclock::setSource(benchClock);
  Character character;
  std::map<std::string, bool> directions = {{"FORWARD", true}, {"BACKWARD", false}, {"RIGHT", false},
                                            {"LEFT", false}};
  if (state.range(0) == 1) directions["RIGHT"] = true;
  Animator animator(directions);
  AnimationState animation;
  animator.animate(MapWorld::kMainCharacterId, animation, character.skeleton, character.animations);
  benchTime += 1.0;  // past the first cross-fade
  for (auto _ : state) {
    benchTime += kFrameSeconds;
    animator.animate(MapWorld::kMainCharacterId, animation, character.skeleton, character.animations);
    benchmark::DoNotOptimize(character.skeleton.bones.data());
  }
  state.SetLabel(state.range(0) == 1 ? "diagonal" : "forward");
  gameclock::setSource(nullptr);
}

// ---- Configuration --------------------------------------------------------

void BM_ConfigLoad(benchmark::State& state) {
  for (auto _ : state) loadGameConfig();
}

BENCHMARK(BM_OctreeInsert)->Arg(10)->Arg(100)->Arg(1000);
BENCHMARK(BM_OctreeUpdate)->Arg(10)->Arg(100)->Arg(1000);
BENCHMARK(BM_OctreeQuery)->Arg(10)->Arg(100)->Arg(1000);
BENCHMARK(BM_PositionMoveTo)->Arg(0)->Arg(100)->Arg(1000);
BENCHMARK(BM_PositionMoveOnStairs);
BENCHMARK(BM_EnemyAIUpdate)->Arg(10)->Arg(100)->Arg(1000);
BENCHMARK(BM_AnimatorEvaluate);
BENCHMARK(BM_AnimatorAnimateMainCharacter)->Arg(0)->Arg(1);
BENCHMARK(BM_ConfigLoad);

}  // namespace

int main(int argc, char** argv) {
  if (chdir(RUNTIME_DIR "/bin") != 0) {
    std::cerr << "cannot enter " << RUNTIME_DIR "/bin\n";
    return 1;
  }
  loadGameConfig();
  benchmark::Initialize(&argc, argv);
  if (benchmark::ReportUnrecognizedArguments(argc, argv)) return 1;
  benchmark::RunSpecifiedBenchmarks();
  benchmark::Shutdown();
  return 0;
}
