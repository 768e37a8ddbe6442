#include "hud/HudState.h"

#include <algorithm>
#include <cmath>
#include <cstdio>

namespace {

std::string format(const char* pattern, double value) {
  char line[48];
  std::snprintf(line, sizeof line, pattern, value);
  return line;
}

std::string format(const char* pattern, int a, int b) {
  char line[48];
  std::snprintf(line, sizeof line, pattern, a, b);
  return line;
}

// Glyphs `advance` apart, the last one `size` wide.
int advanceOf(int size, float share) { return std::max(1, static_cast<int>(std::lround(size * share))); }
int widthOf(const std::string& text, int size, float share) {
  if (text.empty()) return 0;
  return (static_cast<int>(text.size()) - 1) * advanceOf(size, share) + size;
}

// Fades from full opacity at age 0 to nothing at the end of its time.
float fade(float age, float time) {
  if (!(age < time) || time <= 0.0f) return 0.0f;
  return 1.0f - age / time;
}

Vec4 withAlpha(Vec4 colour, float factor) { return Vec4(Vec3(colour), colour.a * factor); }

}  // namespace

HudState::HudState(const HudSettings& hudSettings) : settings(hudSettings) {}

void HudState::clear() {
  hurtAge = kLongAgo;
  hitAge = kLongAgo;
  killAge = kLongAgo;
  killPoints = 0;
}

void HudState::onEvent(const GameEvent& event) {
  switch (event.kind) {
    case GameEventKind::CharacterHurt:
      hurtAge = 0.0f;
      break;
    case GameEventKind::EnemyHit:
      hitAge = 0.0f;
      break;
    case GameEventKind::EnemyKilled:
      hitAge = 0.0f;
      if (!(killAge < settings.killTime)) killPoints = 0;
      killPoints += event.value;
      killAge = 0.0f;
      break;
    default:
      break;
  }
}

void HudState::advance(float seconds) {
  const float step = std::max(seconds, 0.0f);
  clock += step;
  hurtAge += step;
  hitAge += step;
  killAge += step;
}

std::optional<Vec2> HudState::project(const Mat4& viewProjection, const Vec3& point, int width, int height) {
  const Vec4 clip = viewProjection * Vec4(point, 1.0f);
  if (clip.w <= 1e-4f) return std::nullopt;
  const Vec2 ndc = Vec2(clip) / clip.w;
  return Vec2((ndc.x + 1.0f) * 0.5f * static_cast<float>(width), (ndc.y + 1.0f) * 0.5f * static_cast<float>(height));
}

HudView HudState::view(const PlayStatus& status, bool paused, std::optional<Vec2> aim, int width,
                       int height) const {
  HudView view;
  const HudSettings& s = settings;
  const int t = s.textHeight;
  const int m = s.margin;
  const auto text = [&](std::string line, int x, int y, int size, Vec4 colour) {
    view.texts.push_back(HudText{std::move(line), x, y, size, advanceOf(size, s.advance), colour});
  };

  // Red edges after a hurt, fading out.
  const float flash = fade(hurtAge, s.flashTime);
  if (flash > 0.0f) {
    const Vec4 c = withAlpha(s.flashColour, flash);
    const float w = static_cast<float>(width), h = static_cast<float>(height), e = static_cast<float>(s.flashWidth);
    view.rects.push_back({0.0f, 0.0f, w, e, c});
    view.rects.push_back({0.0f, h - e, w, e, c});
    view.rects.push_back({0.0f, e, e, h - 2.0f * e, c});
    view.rects.push_back({w - e, e, e, h - 2.0f * e, c});
  }

  // Health, bottom left: red below the low share, blinking while immortal.
  const float share =
      fullHealth > 0 ? std::clamp(static_cast<float>(status.health) / static_cast<float>(fullHealth), 0.0f, 1.0f)
                     : 0.0f;
  Vec4 bar = share < s.lowHealthFraction ? s.lowHealthColour : s.healthColour;
  if (status.immortal && s.immortalBlink > 0.0f &&
      static_cast<int>(std::floor(clock / s.immortalBlink)) % 2 == 1) {
    bar = withAlpha(bar, 0.3f);
  }
  const float barX = static_cast<float>(m), barY = static_cast<float>(m);
  view.rects.push_back({barX, barY, static_cast<float>(s.barWidth), static_cast<float>(s.barHeight), s.barBackground});
  view.rects.push_back({barX, barY, static_cast<float>(s.barWidth) * share, static_cast<float>(s.barHeight), bar});
  text(std::to_string(status.health), m + s.barWidth + t / 3, m + (s.barHeight - t) / 2, t, Vec4(Vec3(bar), 1.0f));

  // Jetpack, above the health bar.
  const int jetY = m + s.barHeight + t / 2;
  switch (status.jetpack) {
    case JetpackPhase::Ready:
      text("JET READY", m, jetY, t, s.textColour);
      break;
    case JetpackPhase::Flying:
      text(format("JET %.1f", status.jetpackLeft), m, jetY, t, s.textColour);
      break;
    case JetpackPhase::Cooling:
      text(format("JET COOL %.1f", status.jetpackLeft), m, jetY, t, s.warnColour);
      break;
  }

  // Gun, bottom right.
  const std::string rounds = format("AMMO %i/%i", status.rounds, status.magazine);
  text(rounds, width - m - widthOf(rounds, t, s.advance), m, t, s.textColour);
  if (status.reloading) {
    const std::string reloading = "RELOADING";
    text(reloading, width - m - widthOf(reloading, t, s.advance), m + t + t / 2, t, s.warnColour);
  }

  // Score and enemies, top centre; "+N" after a kill, right of the score.
  const std::string score = "SCORE " + std::to_string(status.points);
  const int scoreX = (width - widthOf(score, t, s.advance)) / 2;
  const int scoreY = height - m - t;
  text(score, scoreX, scoreY, t, s.textColour);
  const std::string enemies = "ENEMIES " + std::to_string(status.enemiesAlive);
  text(enemies, (width - widthOf(enemies, t, s.advance)) / 2, scoreY - t - t / 2, t, s.textColour);
  const float kill = fade(killAge, s.killTime);
  if (kill > 0.0f) {
    text("+" + std::to_string(killPoints), scoreX + widthOf(score, t, s.advance) + t, scoreY, t, withAlpha(s.killColour, kill));
  }

  // Aim marker: four ticks round the aim point; the hit marker's corners after a hit.
  if (aim) {
    const float size = static_cast<float>(s.aimSize);
    const float thick = std::max(2.0f, std::round(size / 6.0f));
    const float gap = std::round(size / 3.0f);
    const float tick = size - gap;
    const float x = std::round(aim->x), y = std::round(aim->y), half = thick / 2.0f;
    view.rects.push_back({x - size, y - half, tick, thick, s.aimColour});
    view.rects.push_back({x + gap, y - half, tick, thick, s.aimColour});
    view.rects.push_back({x - half, y - size, thick, tick, s.aimColour});
    view.rects.push_back({x - half, y + gap, thick, tick, s.aimColour});
    const float hit = fade(hitAge, s.hitMarkerTime);
    if (hit > 0.0f) {
      const Vec4 c = withAlpha(s.hitMarkerColour, hit);
      const float corner = std::round(size * 0.4f);
      for (const float dx : {-1.0f, 1.0f}) {
        for (const float dy : {-1.0f, 1.0f}) {
          const float cx = x + dx * size, cy = y + dy * size;
          view.rects.push_back({cx - corner / 2.0f, cy - corner / 2.0f, corner, corner, c});
        }
      }
    }
  }

  if (paused) {
    const std::string line = "PAUSED";
    const int size = s.pausedHeight;
    text(line, (width - widthOf(line, size, s.advance)) / 2, (height - size) / 2, size, s.textColour);
  }
  return view;
}
