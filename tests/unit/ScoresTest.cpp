// The best scores: the board's text, and the keeper's file in a temporary
// folder (written atomically, a bad file moved aside, an unwritable folder
// survived, two games at once both kept).
#include <gtest/gtest.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include "player/PlayerFiles.h"
#include "player/ScoreBoard.h"
#include "player/ScoreKeeper.h"

namespace {

namespace fs = std::filesystem;

std::vector<std::int32_t> pointsOf(const ScoreBoard& board) {
  std::vector<std::int32_t> points;
  for (const ScoreBoard::Entry& entry : board.entries()) points.push_back(entry.points);
  return points;
}

class ScoreFolder : public ::testing::Test {
 protected:
  void SetUp() override {
    char pattern[] = "/tmp/scores-test-XXXXXX";
    ASSERT_NE(mkdtemp(pattern), nullptr);
    folder = pattern;
  }
  void TearDown() override { fs::remove_all(folder); }
  std::string fileText() const {
    std::ifstream file(folder / "scores.txt");
    std::stringstream text;
    text << file.rdbuf();
    return text.str();
  }
  fs::path folder;
};

}  // namespace

TEST(ScoreBoardText, KeepsTheTenBestInOrderAndReadsBackWhatItWrites) {
  ScoreBoard board;
  for (std::int32_t points : {50, 300, 100, 300, 0, 700, 20, 10, 90, 80, 60, 5}) board.add(points, "2026-12-10 15:30");
  EXPECT_EQ(pointsOf(board), (std::vector<std::int32_t>{700, 300, 300, 100, 90, 80, 60, 50, 20, 10}));
  EXPECT_EQ(board.add(5, "2026-12-10 15:31"), std::nullopt) << "not among the ten";
  EXPECT_EQ(board.add(300, "2026-12-10 15:32"), 3u) << "below the scores as high";
  const ScoreBoard again = ScoreBoard::parse(board.format());
  EXPECT_EQ(pointsOf(again), pointsOf(board));
  EXPECT_EQ(again.entries()[3].when, "2026-12-10 15:32");
}

TEST(ScoreBoardText, RefusesAnyOtherLineNamingIt) {
  const struct { const char* text; const char* message; } cases[] = {
      {"# heading\n\n100 2026-12-10 15:30\nlots 2026-12-10 15:30\n", "line 4: not a score"},
      {"100\n", "line 1: no date and time"},
      {"100 yesterday\n", "line 1: no date and time"},
      {"99999999999 2026-12-10 15:30\n", "line 1: not a score"},
      {"\x01\x02\x03\n", "line 1: not a score"},
  };
  for (const auto& c : cases) {
    SCOPED_TRACE(c.text);
    try {
      ScoreBoard::parse(c.text);
      ADD_FAILURE() << "accepted";
    } catch (const std::invalid_argument& refused) {
      EXPECT_STREQ(refused.what(), c.message);
    }
  }
}

TEST_F(ScoreFolder, KeepsEachGameAndTellsANewBest) {
  std::ostringstream errors;
  ScoreKeeper keeper(folder / "made" / "on" / "demand", errors);
  folder = folder / "made" / "on" / "demand";
  const ScoreKeeper::Result first = keeper.record(120);
  EXPECT_EQ(first.best, 120);
  EXPECT_TRUE(first.newBest);
  const ScoreKeeper::Result second = keeper.record(80);
  EXPECT_EQ(second.best, 120);
  EXPECT_FALSE(second.newBest);
  EXPECT_TRUE(keeper.record(121).newBest);
  EXPECT_EQ(pointsOf(ScoreBoard::parse(fileText())), (std::vector<std::int32_t>{121, 120, 80}));
  EXPECT_TRUE(errors.str().empty()) << errors.str();
  for (const fs::directory_entry& entry : fs::directory_iterator(folder)) {
    EXPECT_EQ(entry.path().filename().string().find(".tmp-"), std::string::npos) << "a temporary file was left";
  }
}

TEST_F(ScoreFolder, AFileThatCannotBeParsedIsMovedAsideAndANewOneStarts) {
  const std::string damaged = "100 2026-12-10 15:30\nnot a score at all\n";
  std::ofstream(folder / "scores.txt") << damaged;
  std::ostringstream errors;
  ScoreKeeper keeper(folder, errors);
  EXPECT_EQ(keeper.record(40).best, 40);
  EXPECT_EQ(pointsOf(ScoreBoard::parse(fileText())), std::vector<std::int32_t>{40});
  std::vector<fs::path> aside;
  for (const fs::directory_entry& entry : fs::directory_iterator(folder)) {
    if (entry.path().filename().string().rfind("scores.txt.bad-", 0) == 0) aside.push_back(entry.path());
  }
  ASSERT_EQ(aside.size(), 1u);
  std::ifstream kept(aside[0]);
  EXPECT_EQ(std::string(std::istreambuf_iterator<char>(kept), {}), damaged);
  const std::string said = errors.str();
  EXPECT_NE(said.find(aside[0].string()), std::string::npos) << said;
  EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1);
}

TEST_F(ScoreFolder, AFolderThatCannotBeMadeCostsOneLineAndPlayGoesOn) {
  std::ofstream(folder / "a-file") << "in the way";
  std::ostringstream errors;
  ScoreKeeper keeper(folder / "a-file" / "night-shooter", errors);
  EXPECT_EQ(keeper.record(30).best, 30);
  EXPECT_NO_THROW(keeper.record(20));
  const std::string said = errors.str();
  EXPECT_EQ(std::count(said.begin(), said.end(), '\n'), 1) << said;
  EXPECT_EQ(said.rfind("SCORES: ", 0), 0u) << said;
}

// Two games ending at the same moments, in two processes: every score of
// both is weighed, and the file holds the ten best of them all.
TEST_F(ScoreFolder, TwoGamesAtOnceBothKeepTheirScores) {
  std::vector<pid_t> games;
  for (const int game : {0, 1}) {
    const pid_t pid = fork();
    ASSERT_GE(pid, 0);
    if (pid == 0) {
      std::ostringstream errors;
      ScoreKeeper keeper(folder, errors);
      for (int i = 0; i < 30; ++i) keeper.record(1000 + 2 * i + game);
      _exit(errors.str().empty() ? 0 : 1);
    }
    games.push_back(pid);
  }
  for (const pid_t pid : games) {
    int status = 0;
    ASSERT_EQ(waitpid(pid, &status, 0), pid);
    EXPECT_TRUE(WIFEXITED(status) && WEXITSTATUS(status) == 0);
  }
  EXPECT_EQ(pointsOf(ScoreBoard::parse(fileText())),
            (std::vector<std::int32_t>{1059, 1058, 1057, 1056, 1055, 1054, 1053, 1052, 1051, 1050}));
}
