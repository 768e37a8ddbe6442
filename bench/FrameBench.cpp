// The whole frame of the real game in a hidden 1024 x 768 window, with 0, 20
// and 100 live enemies, against its floor: the same meshes drawn with the
// same programs and shadow passes, without game logic, animation or overlay.
// Prints per case (median milliseconds over the measured frames):
//   frame enemies=N ms=X GLM=.. PHD=.. IM=.. AI=.. SMP=.. RP=.. TM=..
//   floor enemies=N ms=X frame/floor=R
// then the lighter frame render.auto chooses without a GPU (the scene at a
// share of the window, smaller shadow maps), in the same run:
//   frame preset=low enemies=N ms=X
// and, for the first case, the start-up time (configuration, window, scene)
// to the end of the first frame. Then the same cases with Mesa's no-op driver
// (GALLIUM_NOOP=1: every call accepted, nothing drawn), the CPU side alone as
// on an infinitely fast GPU, with 0, 100 and 1,000 enemies by default:
//   noop enemies=N ms=X frame/floor=R
// Usage: frame_bench [N ...] [--noop N ...]
// The game clock advances by 1/60 s per frame, so the game plays the same
// however slow the drawing is. Each case runs in its own process: object ids
// are process-wide and the main character must be object 0.
#include <GL/glew.h>
#include <GLFW/glfw3.h>
#if __has_include(<valgrind/callgrind.h>)
#include <valgrind/callgrind.h>
#else
#define CALLGRIND_START_INSTRUMENTATION
#define CALLGRIND_STOP_INSTRUMENTATION
#endif
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <iostream>
#include <map>
#include <sstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "MapWorld.h"
#include "app/Clock.h"
#include "app/GraphicManager.h"
#include "config/Config.h"
#include "game/GameLogicManager.h"
#include "game/InputManager.h"
#include "render/RenderQuality.h"
#include "render/ShaderManager.h"

namespace {

using Clock = std::chrono::steady_clock;

constexpr int kWidth = 1024;
constexpr int kHeight = 768;
constexpr int kWarmUpFrames = 10;
constexpr int kMeasuredFrames = 30;
// FRAME_BENCH_FRAMES="W,M" plays W warm-up and M measured frames instead:
// few frames are enough for a count of instructions under callgrind, where
// the measured frames (and their floors) are the only ones instrumented.
int framesFromEnvironment(bool measured) {
  const char* text = std::getenv("FRAME_BENCH_FRAMES");
  int warmUp = kWarmUpFrames, counted = kMeasuredFrames;
  if (text != nullptr && std::sscanf(text, "%d,%d", &warmUp, &counted) != 2) {
    warmUp = kWarmUpFrames;
    counted = kMeasuredFrames;
  }
  return std::max(measured ? counted : warmUp, measured ? 1 : 0);
}
constexpr int kMostSpawnFrames = 20000;
constexpr double kFrameSeconds = 1.0 / 60.0;
const char* const kStages[] = {"GLM", "PHD", "IM", "AI", "SMP", "RP", "TM"};

double gameTime = 0.0;
double benchClock() { return gameTime; }

double millisecondsSince(Clock::time_point start) {
  return std::chrono::duration<double, std::milli>(Clock::now() - start).count();
}

double median(std::vector<double> values) {
  if (values.empty()) return 0.0;
  std::sort(values.begin(), values.end());
  const std::size_t middle = values.size() / 2;
  return values.size() % 2 == 1 ? values[middle] : (values[middle - 1] + values[middle]) / 2.0;
}

std::string readFile(const std::string& path) {
  std::ifstream file(path);
  if (!file) throw std::runtime_error("cannot read " + path);
  std::stringstream text;
  text << file.rdbuf();
  return text.str();
}

// The game's configuration with some keys replaced (the store refuses a key twice).
void loadConfigWith(const std::map<std::string, std::string>& replaced) {
  std::istringstream lines(readFile(kConfigPath));
  std::string text;
  for (std::string line; std::getline(lines, line);) {
    const std::size_t start = line.find_first_not_of(" \t");
    const std::size_t end = line.find_first_of(" \t=", start);
    if (start != std::string::npos && end != std::string::npos && replaced.count(line.substr(start, end - start))) {
      continue;
    }
    text += line + "\n";
  }
  // "-" drops the key.
  for (const auto& [key, value] : replaced) {
    if (value != "-") text += key + " = " + value + "\n";
  }
  Config& config = Config::instance();
  config.clear();
  config.loadFromString(text);
}

// The case's settings: at most `enemies` alive, one spawn attempt per frame,
// start boxes spread over the three levels (one per enemy while the map has
// room), and a main character that
// survives every contact (contacts still cost their game logic).
std::map<std::string, std::string> caseSettings(int enemies, bool low) {
  loadConfigWith({});
  const Config& config = Config::instance();
  const Vec3 size(config.getFloat("gamelogicmanager.startpoints.size.x"),
                  config.getFloat("gamelogicmanager.startpoints.size.y"),
                  config.getFloat("gamelogicmanager.startpoints.size.z"));
  std::map<std::string, std::string> settings = {
      {"gamelogicmanager.enemy.limit", std::to_string(enemies)},
      {"gamelogicmanager.enemy.interval", "0.001"},
      {"maincharacter.property.health", "1000000000"},
      // The game's own frame and start, whatever the machine: no card, no
      // frame chosen by itself, the rules' start delay, any free box.
      {"help.show", "0"},
      {"render.auto", "0"},
      {"gamelogicmanager.enemy.firstdelay", "-"},
      {"gamelogicmanager.spawn.unseen", "0"},
  };
  if (low) {
    const RenderQuality lighter = RenderQuality::low();
    settings["render.scale"] = std::to_string(lighter.scale);
    settings["render.samples"] = std::to_string(lighter.samples);
    settings["render.shadow.size"] = std::to_string(lighter.shadowSize);
  }
  if (enemies > 0) {
    const MapWorld map;
    const std::vector<Vec3> boxes = map.freeSpots(Vec3(0.0f), size, size.x + 1.0f, static_cast<std::size_t>(enemies));
    // A crowd larger than the map's free spots fills in as the first ones leave their boxes.
    if (boxes.empty()) throw std::runtime_error("no free start box on the map");
    settings["gamelogicmanager.startpoints"] = std::to_string(boxes.size());
    for (std::size_t i = 0; i < boxes.size(); ++i) {
      const std::string prefix = "gamelogicmanager.startpoint" + std::to_string(i + 1) + ".min.";
      settings[prefix + "x"] = std::to_string(boxes[i].x);
      settings[prefix + "y"] = std::to_string(boxes[i].y);
      settings[prefix + "z"] = std::to_string(boxes[i].z);
    }
  }
  return settings;
}

GLFWwindow* openHiddenWindow() {
  const Config& config = Config::instance();
  if (!glfwInit()) throw std::runtime_error("GLFW: Could not initialize GLFW.");
  glfwWindowHint(GLFW_VISIBLE, GLFW_FALSE);
  glfwWindowHint(GLFW_RESIZABLE, GLFW_FALSE);
  glfwWindowHint(GLFW_CONTEXT_VERSION_MAJOR, config.getInt("glfw.version.major"));
  glfwWindowHint(GLFW_CONTEXT_VERSION_MINOR, config.getInt("glfw.version.minor"));
  glfwWindowHint(GLFW_OPENGL_PROFILE, GLFW_OPENGL_CORE_PROFILE);
  glfwWindowHint(GLFW_SAMPLES, config.getInt("glfw.samples"));
  GLFWwindow* window = glfwCreateWindow(kWidth, kHeight, "frame_bench", nullptr, nullptr);
  if (window == nullptr) throw std::runtime_error("GLFW: Could not create window.");
  glfwMakeContextCurrent(window);
  glfwSwapInterval(0);
  glViewport(0, 0, kWidth, kHeight);
  glewExperimental = config.getInt("glew.experimental") == 1 ? GL_TRUE : GL_FALSE;
  if (glewInit() != GLEW_OK) throw std::runtime_error("GLEW: Could not initialize GLEW.");
  ShaderManager::requireShaderExtensions();
  glClearColor(config.getFloat("opengl.clearcolor.r"), config.getFloat("opengl.clearcolor.g"),
               config.getFloat("opengl.clearcolor.b"), config.getFloat("opengl.clearcolor.a"));
  glClearDepth(config.getFloat("opengl.cleardepth"));
  return window;
}

// One case, in this process. The game's own messages (hits) are silenced.
int runCase(int enemies, bool reportStartup, bool noop, bool low) {
  if (noop) setenv("GALLIUM_NOOP", "1", 1);  // read when the driver loads, inside this process
  gameclock::setSource(benchClock);
  const std::map<std::string, std::string> settings = caseSettings(enemies, low);
  // Start-up as the game has it: configuration, window, managers, scene, first frame.
  const Clock::time_point startupBegin = Clock::now();
  loadConfigWith(settings);
  GLFWwindow* window = openHiddenWindow();

  std::ostringstream silenced;
  std::streambuf* const console = std::cout.rdbuf(silenced.rdbuf());

  InputManager input;
  GraphicManager graphics(&input);
  graphics.initialise(kWidth, kHeight);
  std::map<std::string, double> laps;
  graphics.setStageSink([&laps](const char* stage, double microseconds) { laps[stage] = microseconds; });

  auto present = [window] {
    glfwSwapBuffers(window);
    glFinish();  // the frame's drawing is finished inside the frame it belongs to
    glfwPollEvents();
  };
  auto playFrame = [&](double seconds) {
    gameTime += seconds;
    const Clock::time_point start = Clock::now();
    graphics.frame();
    present();
    return millisecondsSince(start);
  };

  playFrame(kFrameSeconds);
  const double startup = millisecondsSince(startupBegin);
  // Past the start delay, then one spawn per frame until the limit is reached.
  playFrame(5.0);
  int spawnFrames = 0;
  while (static_cast<int>(graphics.gameLogic().liveEnemies().size()) < enemies) {
    if (++spawnFrames > kMostSpawnFrames) {
      std::cout.rdbuf(console);
      std::cerr << "frame_bench: only " << graphics.gameLogic().liveEnemies().size() << " of " << enemies
                << " enemies spawned\n";
      return 1;
    }
    playFrame(kFrameSeconds);
  }

  auto drawFloor = [&] {
    const Clock::time_point start = Clock::now();
    graphics.renderShadowMaps();
    graphics.render(false);
    present();
    return millisecondsSince(start);
  };
  // Frames and floors alternate, so that both see the same load of the machine.
  for (int i = 0; i < framesFromEnvironment(false); ++i) {
    playFrame(kFrameSeconds);
    drawFloor();
  }
  std::vector<double> frameMs;
  std::vector<double> floorMs;
  std::map<std::string, std::vector<double>> stageMs;
  CALLGRIND_START_INSTRUMENTATION;
  for (int i = 0; i < framesFromEnvironment(true); ++i) {
    laps.clear();
    frameMs.push_back(playFrame(kFrameSeconds));
    for (const char* stage : kStages) stageMs[stage].push_back(laps[stage] / 1000.0);
    floorMs.push_back(drawFloor());
  }
  CALLGRIND_STOP_INSTRUMENTATION;
  const std::size_t live = graphics.gameLogic().liveEnemies().size();

  std::cout.rdbuf(console);
  const double frame = median(frameMs);
  const double floor = median(floorMs);
  if (noop) {
    std::printf("noop enemies=%zu ms=%.3f frame/floor=%.2f\n", live, frame, frame / floor);
  } else if (low) {
    std::printf("frame preset=low enemies=%zu ms=%.2f\n", live, frame);
  } else {
    if (reportStartup) std::printf("startup ms=%.1f\n", startup);
    std::printf("frame enemies=%zu ms=%.2f", live, frame);
    for (const char* stage : kStages) std::printf(" %s=%.3f", stage, median(stageMs[stage]));
    std::printf("\nfloor enemies=%zu ms=%.2f frame/floor=%.2f\n", live, floor, frame / floor);
  }
  std::fflush(stdout);
  glfwDestroyWindow(window);
  glfwTerminate();
  return 0;
}

}  // namespace

int main(int argc, char** argv) {
  // FRAME_BENCH_RUNTIME names another runtime folder (its config.txt, shaders
  // and assets), so that variants can be timed side by side with one binary.
  const char* other = std::getenv("FRAME_BENCH_RUNTIME");
  const std::string runtime = other != nullptr ? other : RUNTIME_DIR;
  if (chdir((runtime + "/bin").c_str()) != 0) {
    std::cerr << "frame_bench: cannot enter " << runtime << "/bin\n";
    return 1;
  }
  struct Case {
    int enemies;
    bool noop;
    bool low;
  };
  std::vector<Case> cases;
  bool noop = false;
  for (int i = 1; i < argc; ++i) {
    const std::string word = argv[i];
    if (word == "--noop") {
      noop = true;
      continue;
    }
    try {
      cases.push_back({std::stoi(word), noop, false});
    } catch (const std::exception&) {
      std::cerr << "frame_bench: not an enemy count: " << word << "\n";
      return 2;
    }
  }
  if (argc == 1) {
    cases = {{0, false, false}, {20, false, false}, {100, false, false},
             {0, true, false},  {100, true, false},  {1000, true, false}};
  }
  // Every drawn case once more with the lighter frame, after the game's own.
  const std::size_t drawnCases = cases.size();
  for (std::size_t i = 0; i < drawnCases; ++i) {
    if (!cases[i].noop) cases.push_back({cases[i].enemies, false, true});
  }

  int status = 0;
  for (std::size_t i = 0; i < cases.size(); ++i) {
    std::fflush(stdout);
    const pid_t child = fork();
    if (child < 0) {
      std::perror("frame_bench: fork");
      return 1;
    }
    if (child == 0) {
      try {
        std::exit(runCase(cases[i].enemies, i == 0 && !cases[i].noop, cases[i].noop, cases[i].low));
      } catch (const std::exception& error) {
        std::cerr << "frame_bench: " << error.what() << "\n";
        std::exit(1);
      }
    }
    int childStatus = 0;
    waitpid(child, &childStatus, 0);
    if (!WIFEXITED(childStatus) || WEXITSTATUS(childStatus) != 0) status = 1;
  }
  return status;
}
