#include <cstdio>
#include <fstream>
#include <stdexcept>
#include <string>
#include <vector>

#include "support/ConfigFixture.h"

namespace {

struct LineCase {
  const char* name;
  const char* text;
};

// Every spelling of one entry that must store key "speed" with value "4.5".
const std::vector<LineCase> kSameEntry = {
    {"plain", "speed=4.5"},
    {"blanks around separator", "speed = 4.5"},
    {"indented by spaces", "    speed = 4.5"},
    {"indented by tabs", "\t\tspeed\t=\t4.5\t"},
    {"trailing comment", "speed = 4.5   # how fast"},
    {"crlf line end", "speed = 4.5\r\n"},
    {"second word before separator dropped", "speed extra = 4.5"},
    {"after comments and blanks", "# header\n\n   \n#\nspeed=4.5\n"},
};

struct ErrorCase {
  const char* name;
  const char* text;
  const char* message;
};

const std::vector<ErrorCase> kLoadErrors = {
    {"tab-only line", "a=1\n\t\n", "CONFIG: Couldn't find separator on line: 2."},
    {"no separator", "just words", "CONFIG: Couldn't find separator on line: 1."},
    {"line numbers count comments", "# one\n# two\nbroken\n", "CONFIG: Couldn't find separator on line: 3."},
    {"empty key", "=5", "CONFIG: Bad format for line: 1."},
    {"indented empty key", "  \t=5", "CONFIG: Bad format for line: 1."},
    {"nothing after separator", "a=1\nkey=", "CONFIG: Bad format for line: 2."},
    {"only spaces after separator", "key=   ", "CONFIG: Bad format for line: 1."},
    {"duplicate with equal values", "a=1\na=1", "CONFIG: Can only have unique key names."},
    {"duplicate after trimming", "a=1\n  a = 2", "CONFIG: Can only have unique key names."},
};

}  // namespace

using ConfigSyntax = ConfigFixture;

TEST_F(ConfigSyntax, EverySpellingOfAnEntryStoresTheSameKeyAndValue) {
  for (const LineCase& c : kSameEntry) {
    SCOPED_TRACE(c.name);
    Config& config = load(c.text);
    EXPECT_TRUE(config.hasKey("speed"));
    EXPECT_FLOAT_EQ(config.getFloat("speed"), 4.5f);
    EXPECT_EQ(config.getString("speed"), "4.5");
  }
}

TEST_F(ConfigSyntax, MalformedFilesFailWithTheirLineNumber) {
  for (const ErrorCase& c : kLoadErrors) {
    SCOPED_TRACE(c.name);
    Config::instance().clear();
    EXPECT_EQ(messageOf<std::invalid_argument>([&] { Config::instance().loadFromString(c.text); }), c.message);
  }
}

TEST_F(ConfigSyntax, ValuesKeepEverythingAfterTheFirstSeparator) {
  Config& config = load("formula = a=b=c\nname = two words\n");
  EXPECT_EQ(config.getString("formula"), "a=b=c");
  EXPECT_EQ(config.getString("name"), "two");
}

TEST_F(ConfigSyntax, KeysAreCaseSensitive) {
  Config& config = load("sceneObject.standard.scale = 1");
  EXPECT_TRUE(config.hasKey("sceneObject.standard.scale"));
  EXPECT_FALSE(config.hasKey("sceneobject.standard.scale"));
  EXPECT_EQ(messageOf<std::invalid_argument>([&] { config.getInt("sceneobject.standard.scale"); }),
            "CONFIG: No key named 'sceneobject.standard.scale' exists.");
}

TEST_F(ConfigSyntax, TabAfterSeparatorStoresAnEmptyValueThatCannotBeRead) {
  Config& config = load("key=\t");
  ASSERT_TRUE(config.hasKey("key"));
  EXPECT_EQ(messageOf<std::invalid_argument>([&] { config.getInt("key"); }), "CONFIG: Not a valid int received.");
  const std::string text = messageOf<std::invalid_argument>([&] { config.getString("key"); });
  EXPECT_EQ(text.rfind("CONFIG: Not a valid ", 0), 0u) << text;
  EXPECT_NE(text.find("basic_string"), std::string::npos) << text;
}

TEST_F(ConfigSyntax, LoadStopsAtTheFirstBadLine) {
  Config::instance().clear();
  EXPECT_THROW(Config::instance().loadFromString("a=1\nbad\nb=2\n"), std::invalid_argument);
  EXPECT_TRUE(Config::instance().hasKey("a"));
  EXPECT_FALSE(Config::instance().hasKey("b"));
}

namespace {

struct ReadCase {
  const char* value;
  const char* type;  // "int", "float", "bool"
  bool valid;
  double expected;
};

const std::vector<ReadCase> kReads = {
    {"42", "int", true, 42},          {"-7", "int", true, -7},           {"12abc", "int", true, 12},
    {"3.9", "int", true, 3},          {"abc", "int", false, 0},          {"99999999999", "int", false, 0},
    {"2147483647", "int", true, 2147483647},
    {"0.5", "float", true, 0.5},      {"1e3", "float", true, 1000},      {"2.5m", "float", true, 2.5},
    {"-.25", "float", true, -0.25},   {"x1", "float", false, 0},
    {"1", "bool", true, 1},           {"0", "bool", true, 0},            {"2", "bool", false, 0},
    {"true", "bool", false, 0},       {"false", "bool", false, 0},
};

}  // namespace

using ConfigGetters = ConfigFixture;

TEST_F(ConfigGetters, ConvertWithStreamRulesOrFailNamingTheType) {
  for (const ReadCase& c : kReads) {
    SCOPED_TRACE(std::string(c.type) + " from '" + c.value + "'");
    Config& config = load(std::string("k = ") + c.value);
    const std::string type = c.type;
    auto read = [&]() -> double {
      if (type == "int") return config.getInt("k");
      if (type == "float") return config.getFloat("k");
      return config.getBool("k") ? 1 : 0;
    };
    if (c.valid) {
      EXPECT_DOUBLE_EQ(read(), c.expected);
    } else {
      EXPECT_EQ(messageOf<std::invalid_argument>(read), "CONFIG: Not a valid " + type + " received.");
    }
  }
}

TEST_F(ConfigGetters, FallbackReadsTheSpecificKeyFirstAndNamesTheFallbackWhenBothAreMissing) {
  Config& config = load("gun.standard.magazine = 30\ngun.rifle.magazine = 20\ngun.standard.cooldown = 0.5\n");
  EXPECT_EQ(config.getIntWithFallback("gun.rifle.magazine", "gun.standard.magazine"), 20);
  EXPECT_FLOAT_EQ(config.getFloatWithFallback("gun.rifle.cooldown", "gun.standard.cooldown"), 0.5f);
  EXPECT_EQ(messageOf<std::invalid_argument>(
                [&] { config.getIntWithFallback("gun.rifle.steps", "gun.standard.steps"); }),
            "CONFIG: No key named 'gun.standard.steps' exists.");
}

TEST_F(ConfigGetters, SameKeyReadsAsDifferentTypes) {
  Config& config = load("k = 1");
  EXPECT_EQ(config.getInt("k"), 1);
  EXPECT_TRUE(config.getBool("k"));
  EXPECT_FLOAT_EQ(config.getFloat("k"), 1.0f);
  EXPECT_EQ(config.getString("k"), "1");
}

TEST_F(ConfigGetters, AMinimumRefusesOnlyWhatLiesBelowItNamingTheKey) {
  const struct { const char* value; int minimum; const char* refusal; int read; } cases[] = {
      {"1", 1, "", 1},
      {"2147483647", 1, "", 2147483647},
      {"0", 0, "", 0},
      {"0", 1, "CONFIG: size must be at least 1, got 0.", 0},
      {"-1024", 0, "CONFIG: size must be at least 0, got -1024.", 0},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(std::string(c.value) + " at least " + std::to_string(c.minimum));
    Config& config = load(std::string("size = ") + c.value);
    if (c.refusal[0] == '\0') {
      EXPECT_EQ(config.getIntAtLeast("size", c.minimum), c.read);
    } else {
      EXPECT_EQ(messageOf<std::invalid_argument>([&] { config.getIntAtLeast("size", c.minimum); }), c.refusal);
    }
  }
}

using ConfigFile = ConfigFixture;

TEST_F(ConfigFile, MissingFileNamesThePathAsStored) {
  Config& config = Config::instance();
  config.clear();
  config.setPath("../no-such-dir/config.txt");
  EXPECT_EQ(messageOf<std::invalid_argument>([&] { config.load(); }),
            "CONFIG: File ../no-such-dir/config.txt couldn't be found.");
}

TEST_F(ConfigFile, LoadsFromDiskIncludingALastLineWithoutLineEnd) {
  const std::string path = ::testing::TempDir() + "config-test.txt";
  {
    std::ofstream out(path, std::ios::binary);
    out << "# comment\r\nwidth = 800\r\nname = Night";
  }
  Config& config = Config::instance();
  config.clear();
  config.setPath(path);
  config.load();
  EXPECT_EQ(config.getInt("width"), 800);
  EXPECT_EQ(config.getString("name"), "Night");
  std::remove(path.c_str());
}

TEST_F(ConfigFile, ShippedConfigurationLoads) {
  Config& config = Config::instance();
  config.clear();
  config.setPath(std::string(SOURCE_DIR) + "/game/config.txt");
  ASSERT_NO_THROW(config.load());
  EXPECT_TRUE(config.hasKey("glfw.window.name"));
}
