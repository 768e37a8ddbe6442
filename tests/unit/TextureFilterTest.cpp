#include <gtest/gtest.h>

#include <optional>

#include "scene/Texture.h"

TEST(TextureFilterTable, ModesGiveTheFiltersOrLeaveThemUnchanged) {
  struct Case {
    const char* name;
    std::uint32_t sampling, mipmap;
    std::optional<TextureFilters> expected;
  };
  const Case cases[] = {
      {"no mipmaps, nearest", 0, 0, TextureFilters{GL_NEAREST, GL_NEAREST}},
      {"no mipmaps, linear", 1, 0, TextureFilters{GL_LINEAR, GL_LINEAR}},
      {"no mipmaps, unknown sampling", 7, 0, std::nullopt},
      {"nearest mipmaps ignore linear sampling", 1, 1, TextureFilters{GL_NEAREST_MIPMAP_NEAREST, GL_NEAREST}},
      {"nearest mipmaps, nearest sampling", 0, 1, TextureFilters{GL_NEAREST_MIPMAP_NEAREST, GL_NEAREST}},
      {"linear mipmaps ignore nearest sampling", 0, 2, TextureFilters{GL_LINEAR_MIPMAP_LINEAR, GL_LINEAR}},
      {"linear mipmaps, unknown sampling", 9, 2, TextureFilters{GL_LINEAR_MIPMAP_LINEAR, GL_LINEAR}},
      {"unknown mipmap mode", 1, 3, std::nullopt},
  };
  for (const Case& c : cases) {
    SCOPED_TRACE(c.name);
    const std::optional<TextureFilters> got = filtersForModes(c.sampling, c.mipmap);
    ASSERT_EQ(got.has_value(), c.expected.has_value());
    if (got) {
      EXPECT_EQ(got->minFilter, c.expected->minFilter);
      EXPECT_EQ(got->magFilter, c.expected->magFilter);
    }
  }
}
