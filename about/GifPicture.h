// A small GIF decoder for the About box's picture: the first image of a GIF87a
// or GIF89a file as 32-bit pixels. Every read is bounds-checked; a malformed
// file gives no picture, never a read past the data.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace quorvane {

struct GifPicture {
  int width = 0;  // of the logical screen
  int height = 0;
  int globalColours = 0;  // entries in the global colour table, 0 if none
  // Row by row from the top, 0xAARRGGBB; transparent pixels have alpha 0.
  std::vector<std::uint32_t> pixels;
};

std::optional<GifPicture> DecodeGif(std::span<const std::uint8_t> data);

}  // namespace quorvane
