#pragma once
// A plain GIF's picture read without Windows' imaging component, which takes longer to load than
// the banner takes to decode.

#include <cstdint>
#include <optional>
#include <span>
#include <vector>

namespace quillomat::win32 {

struct GifImage {
  int width = 0;
  int height = 0;
  // Blue, green, red and 0xFF from the low byte up, row by row from the top.
  std::vector<std::uint32_t> pixels;
};

// The first image of a GIF whose first image fills its screen, is not interlaced and has no
// transparent colour, as the banner is; nothing for any other GIF, or a damaged one.
std::optional<GifImage> DecodeGif(std::span<const std::uint8_t> bytes);

}  // namespace quillomat::win32
