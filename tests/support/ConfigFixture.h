#pragma once
// Gives each test a fresh configuration store filled from a text.
#include <gtest/gtest.h>

#include <string>

#include "config/Config.h"

class ConfigFixture : public ::testing::Test {
 protected:
  void TearDown() override { Config::instance().clear(); }
  static Config& load(const std::string& text) {
    Config& config = Config::instance();
    config.clear();
    config.loadFromString(text);
    return config;
  }
};

// Runs a statement and returns the message of the exception of type E it throws
// ("" when it throws nothing).
template <typename E, typename F>
std::string messageOf(F&& statement) {
  try {
    statement();
  } catch (const E& error) {
    return error.what();
  }
  return "";
}
