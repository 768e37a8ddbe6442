// What the HUD shows for given game values, without a window.
#include <gtest/gtest.h>

#include <string>

#include <glm/gtc/matrix_transform.hpp>

#include "hud/HudState.h"

namespace {

constexpr int kW = 800;
constexpr int kH = 600;

const HudText* find(const HudView& view, const std::string& prefix) {
  for (const HudText& t : view.texts) {
    if (t.text.rfind(prefix, 0) == 0) return &t;
  }
  return nullptr;
}

// The health bar's fill: the second rectangle at the bar's corner.
const HudRect& healthFill(const HudView& view, const HudSettings& s) {
  int seen = 0;
  for (const HudRect& r : view.rects) {
    if (r.x == static_cast<float>(s.margin) && r.y == static_cast<float>(s.margin) && ++seen == 2) return r;
  }
  static const HudRect none{};
  ADD_FAILURE() << "no health fill";
  return none;
}

PlayStatus ready() {
  PlayStatus s;
  s.health = 100;
  s.rounds = 30;
  s.magazine = 30;
  return s;
}

}  // namespace

TEST(HudState, ShowsTheGameValues) {
  const HudSettings s;
  struct Case {
    const char* name;
    PlayStatus status;
    const char* health;
    Vec4 barColour;
    float fill;  // share of the bar's width
    const char* gun;
    bool reloading;
    const char* jetpack;
  };
  PlayStatus half = ready(), quarter = ready(), low = ready(), reload = ready(), flying = ready(), cooling = ready(),
             dead = ready();
  half.health = 50;
  quarter.health = 25;
  low.health = 24;
  reload.reloading = true;
  reload.rounds = 0;
  reload.reloadLeft = 1.2f;
  flying.jetpack = JetpackPhase::Flying;
  flying.jetpackLeft = 1.26f;
  cooling.jetpack = JetpackPhase::Cooling;
  cooling.jetpackLeft = 3.04f;
  dead.health = -10;
  const Case cases[] = {
      {"full", ready(), "100", s.healthColour, 1.0f, "AMMO 30/30", false, "JET READY"},
      {"half", half, "50", s.healthColour, 0.5f, "AMMO 30/30", false, "JET READY"},
      {"a quarter is not below it", quarter, "25", s.healthColour, 0.25f, "AMMO 30/30", false, "JET READY"},
      {"below a quarter", low, "24", s.lowHealthColour, 0.24f, "AMMO 30/30", false, "JET READY"},
      {"no health left", dead, "-10", s.lowHealthColour, 0.0f, "AMMO 30/30", false, "JET READY"},
      {"reloading", reload, "100", s.healthColour, 1.0f, "AMMO 0/30", true, "JET READY"},
      {"flying", flying, "100", s.healthColour, 1.0f, "AMMO 30/30", false, "JET 1.3"},
      {"cooling", cooling, "100", s.healthColour, 1.0f, "AMMO 30/30", false, "JET COOL 3.0"},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    HudState state(s);
    state.setFullHealth(100);
    const HudView view = state.view(c.status, false, std::nullopt, kW, kH);
    const HudText* health = find(view, c.health);
    ASSERT_NE(health, nullptr);
    EXPECT_EQ(Vec3(health->colour), Vec3(c.barColour));
    const HudRect& fill = healthFill(view, s);
    EXPECT_EQ(fill.colour, c.barColour);
    EXPECT_NEAR(fill.width, c.fill * static_cast<float>(s.barWidth), 1e-3f);
    const HudText* gun = find(view, "AMMO");
    ASSERT_NE(gun, nullptr);
    EXPECT_EQ(gun->text, c.gun);
    // Right-aligned at the margin: the last glyph ends there.
    EXPECT_EQ(gun->x + (static_cast<int>(gun->text.size()) - 1) * gun->advance + gun->size, kW - s.margin);
    EXPECT_EQ(find(view, "RELOADING") != nullptr, c.reloading);
    const HudText* jet = find(view, "JET");
    ASSERT_NE(jet, nullptr);
    EXPECT_EQ(jet->text, c.jetpack);
    EXPECT_EQ(find(view, "PAUSED"), nullptr);
    EXPECT_EQ(find(view, "+"), nullptr);
  }
}

TEST(HudState, FlashesFadeAndEnd) {
  HudSettings s;
  s.flashTime = 0.4f;
  s.hitMarkerTime = 0.2f;
  s.killTime = 1.0f;
  HudState state(s);
  const Vec2 aim(400.0f, 300.0f);
  const auto rects = [&] { return state.view(ready(), false, aim, kW, kH).rects.size(); };
  const std::size_t quiet = rects();  // the health bar and the aim marker's four ticks
  EXPECT_EQ(quiet, 6u);

  state.onEvent({GameEventKind::CharacterHurt, 7, 60});
  EXPECT_EQ(rects(), quiet + 4);  // four red edges
  EXPECT_FLOAT_EQ(state.view(ready(), false, aim, kW, kH).rects[0].colour.a, s.flashColour.a);
  state.advance(0.3f);
  EXPECT_NEAR(state.view(ready(), false, aim, kW, kH).rects[0].colour.a, s.flashColour.a * 0.25f, 1e-4f);
  state.advance(0.1f);
  EXPECT_EQ(rects(), quiet);

  // A hit marker's four corners for its time; kills within "+N"'s time add up.
  state.onEvent({GameEventKind::EnemyHit, 8, 0});
  EXPECT_EQ(rects(), quiet + 4);
  state.advance(0.25f);
  EXPECT_EQ(rects(), quiet);
  state.onEvent({GameEventKind::EnemyKilled, 8, 10});
  state.advance(0.5f);
  state.onEvent({GameEventKind::EnemyKilled, 9, 25});
  const HudView summed = state.view(ready(), false, aim, kW, kH);
  const HudText* plus = find(summed, "+");
  ASSERT_NE(plus, nullptr);
  EXPECT_EQ(plus->text, "+35");
  state.advance(1.0f);
  EXPECT_EQ(find(state.view(ready(), false, aim, kW, kH), "+"), nullptr);
  state.onEvent({GameEventKind::EnemyKilled, 10, 5});
  const HudView restarted = state.view(ready(), false, aim, kW, kH);
  ASSERT_NE(find(restarted, "+"), nullptr);
  EXPECT_EQ(find(restarted, "+")->text, "+5");

  // Immortal: the bar blinks between full and dimmed.
  PlayStatus immortal = ready();
  immortal.immortal = true;
  HudState blinking(s);
  const float bright = healthFill(blinking.view(immortal, false, std::nullopt, kW, kH), s).colour.a;
  blinking.advance(s.immortalBlink * 1.5f);
  const float dim = healthFill(blinking.view(immortal, false, std::nullopt, kW, kH), s).colour.a;
  EXPECT_FLOAT_EQ(bright, 1.0f);
  EXPECT_LT(dim, 0.5f);
  EXPECT_FLOAT_EQ(healthFill(blinking.view(ready(), false, std::nullopt, kW, kH), s).colour.a, 1.0f);
}

TEST(HudState, PausedIsCentredAndTheAimPointIsProjected) {
  const HudSettings s;
  HudState state(s);
  const HudView view = state.view(ready(), true, std::nullopt, kW, kH);
  const HudText* paused = find(view, "PAUSED");
  ASSERT_NE(paused, nullptr);
  const int width = 5 * paused->advance + paused->size;
  EXPECT_NEAR(paused->x + width / 2.0, kW / 2.0, 1.0);
  EXPECT_NEAR(paused->y + paused->size / 2.0, kH / 2.0, 1.0);

  // Looking down -z from the origin: a point ahead lands at the centre, one
  // to the right and above lands right and above it, one behind is not shown.
  const Mat4 viewProjection = glm::perspective(1.0f, 4.0f / 3.0f, 0.1f, 100.0f) *
                              glm::lookAt(Vec3(0.0f), Vec3(0.0f, 0.0f, -1.0f), Vec3(0.0f, 1.0f, 0.0f));
  const auto centre = HudState::project(viewProjection, Vec3(0.0f, 0.0f, -10.0f), kW, kH);
  ASSERT_TRUE(centre.has_value());
  EXPECT_NEAR(centre->x, kW / 2.0f, 1e-3f);
  EXPECT_NEAR(centre->y, kH / 2.0f, 1e-3f);
  const auto upRight = HudState::project(viewProjection, Vec3(1.0f, 1.0f, -10.0f), kW, kH);
  ASSERT_TRUE(upRight.has_value());
  EXPECT_GT(upRight->x, kW / 2.0f);
  EXPECT_GT(upRight->y, kH / 2.0f);
  EXPECT_FALSE(HudState::project(viewProjection, Vec3(0.0f, 0.0f, 10.0f), kW, kH).has_value());
}
