#pragma once
// GL tests of the whole game on the shipped configuration and content. They
// run with build/game/bin as the working directory, as the game does, and on
// a fake clock the test advances.
#include <unistd.h>

#include <fstream>
#include <map>
#include <string>

#include "config/Config.h"
#include "support/FakeClock.h"
#include "support/GlContext.h"

class ShippedGameTest : public GlTest {
 protected:
  void SetUp() override {
    if (!startWith("")) return;
    ASSERT_NE(getcwd(previousDirectory, sizeof previousDirectory), nullptr);
    ASSERT_EQ(chdir(RUNTIME_DIR "/bin"), 0);
    reloadWith({});
  }
  // The shipped configuration with some keys given other values ("-": the
  // key taken out). The additions that change what a frame shows or when
  // play starts are off unless a test turns them on: these tests check the
  // game's own frame.
  static void reloadWith(std::map<std::string, std::string> overrides) {
    overrides.insert({{"help.show", "0"}, {"render.auto", "0"}});
    std::ifstream file("../config.txt");
    std::string line, text;
    while (std::getline(file, line)) {
      const std::string key = line.substr(0, line.find_first_of(" =\t"));
      if (overrides.count(key) == 0) text += line + "\n";
    }
    for (const auto& [key, value] : overrides) {
      if (value != "-") text += key + " = " + value + "\n";
    }
    Config::instance().clear();
    Config::instance().loadFromString(text);
  }
  void cleanUp() override {
    if (previousDirectory[0] != '\0') ASSERT_EQ(chdir(previousDirectory), 0);
  }

  FakeClock clock;
  char previousDirectory[4096] = {};
};
