// The About box's picture decoder against ImageMagick's own decoding of the
// shipped file, its interlaced twin, and damaged copies.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <random>
#include <string>
#include <vector>

#include "about/GifPicture.h"

namespace quorvane {
namespace {

std::vector<std::uint8_t> Load(const std::string& name) {
  std::ifstream f(std::string(QUORVANE_SOURCE_DIR) + "/about/res/" + name, std::ios::binary);
  return {std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>()};
}

TEST(GifPicture, ShippedPictureDecodesAsImageMagickDecodesIt) {
  const std::vector<std::uint8_t> gif = Load("picIcon.gif");
  const std::vector<std::uint8_t> rgba = Load("picIcon.rgba");
  ASSERT_GT(gif.size(), 6u);
  EXPECT_EQ(std::string(gif.begin(), gif.begin() + 6), "GIF89a");
  const auto picture = DecodeGif(gif);
  ASSERT_TRUE(picture);
  EXPECT_EQ(picture->width, 100);
  EXPECT_EQ(picture->height, 125);
  EXPECT_EQ(picture->globalColours, 256);
  ASSERT_EQ(rgba.size(), 100u * 125 * 4);
  int mismatches = 0;
  for (size_t i = 0; i < picture->pixels.size(); ++i) {
    const std::uint32_t expected = (static_cast<std::uint32_t>(rgba[4 * i + 3]) << 24) |
                                   (rgba[4 * i] << 16) | (rgba[4 * i + 1] << 8) | rgba[4 * i + 2];
    mismatches += picture->pixels[i] != expected;
  }
  EXPECT_EQ(mismatches, 0);
}

TEST(GifPicture, InterlacedTwinDecodesTheSame) {
  const auto plain = DecodeGif(Load("picIcon.gif"));
  const std::vector<std::uint8_t> interlacedFile = Load("picIcon-interlaced.gif");
  ASSERT_GT(interlacedFile.size(), 13u);
  const auto interlaced = DecodeGif(interlacedFile);
  ASSERT_TRUE(plain && interlaced);
  EXPECT_EQ(plain->pixels, interlaced->pixels);
}

TEST(GifPicture, DamagedFilesGiveNoPictureAndNeverReadPastTheData) {
  const std::vector<std::uint8_t> gif = Load("picIcon.gif");
  ASSERT_GT(gif.size(), 800u);
  // Every cut before the image's last data block fails cleanly.
  for (size_t n = 0; n + 2 < gif.size(); ++n) {
    const std::vector<std::uint8_t> cut(gif.begin(), gif.begin() + n);
    EXPECT_FALSE(DecodeGif(cut)) << n;
  }
  struct Edit {
    const char* name;
    size_t at;
    std::uint8_t value;
  };
  const Edit edits[] = {
      {"signature", 0, 'X'},
      {"version", 4, '8'},
      {"zero width", 6, 0},
      {"block marker", 13 + 768 + 8, 0x55},  // after the graphic control block
  };
  for (const Edit& e : edits) {
    std::vector<std::uint8_t> bad = gif;
    bad[e.at] = e.value;
    if (std::string(e.name) == "zero width") bad[7] = 0;
    EXPECT_FALSE(DecodeGif(bad)) << e.name;
  }
  // Random damage: any outcome but a crash or an out-of-bounds read.
  std::mt19937 random(7);
  for (int i = 0; i < 2000; ++i) {
    std::vector<std::uint8_t> bad = gif;
    for (int k = 0; k < 4; ++k) bad[random() % bad.size()] = static_cast<std::uint8_t>(random());
    const auto picture = DecodeGif(bad);
    if (picture) {
      EXPECT_EQ(picture->pixels.size(),
                static_cast<size_t>(picture->width) * static_cast<size_t>(picture->height));
    }
  }
}

}  // namespace
}  // namespace quorvane
