#include "gif_image.h"

#include <array>
#include <cstddef>
#include <string_view>

namespace quillomat::win32 {
namespace {

constexpr int kMaxCodes = 4096;  // codes are at most 12 bits wide

class Reader {
 public:
  explicit Reader(std::span<const std::uint8_t> bytes) : bytes_(bytes) {}
  bool Has(std::size_t count) const { return bytes_.size() - at_ >= count; }
  std::uint8_t Byte() { return bytes_[at_++]; }
  int Word() {
    const int low = Byte();
    return low | (Byte() << 8);
  }
  std::span<const std::uint8_t> Take(std::size_t count) {
    const auto taken = bytes_.subspan(at_, count);
    at_ += count;
    return taken;
  }

 private:
  std::span<const std::uint8_t> bytes_;
  std::size_t at_ = 0;
};

// The data of a run of sub-blocks, up to the empty one that ends it.
std::optional<std::vector<std::uint8_t>> SubBlocks(Reader& in) {
  std::vector<std::uint8_t> data;
  while (in.Has(1)) {
    const std::uint8_t size = in.Byte();
    if (size == 0) return data;
    if (!in.Has(size)) return std::nullopt;
    const auto block = in.Take(size);
    data.insert(data.end(), block.begin(), block.end());
  }
  return std::nullopt;
}

// Codes packed least significant bit first.
class CodeReader {
 public:
  explicit CodeReader(const std::vector<std::uint8_t>& data) : data_(data) {}
  std::optional<int> Next(int width) {
    while (bits_ < width) {
      if (at_ == data_.size()) return std::nullopt;
      buffer_ |= static_cast<std::uint32_t>(data_[at_++]) << bits_;
      bits_ += 8;
    }
    const int code = static_cast<int>(buffer_ & ((1u << width) - 1));
    buffer_ >>= width;
    bits_ -= width;
    return code;
  }

 private:
  const std::vector<std::uint8_t>& data_;
  std::size_t at_ = 0;
  std::uint32_t buffer_ = 0;
  int bits_ = 0;
};

// The colour indices that the LZW data codes, exactly `count` of them.
std::optional<std::vector<std::uint8_t>> Indices(const std::vector<std::uint8_t>& data, int minCodeSize,
                                                 std::size_t count) {
  const int clear = 1 << minCodeSize;
  const int end = clear + 1;
  // Each code's string is the string of its prefix code followed by one index.
  std::array<int, kMaxCodes> prefix{};
  std::array<std::uint8_t, kMaxCodes> last{};
  std::array<std::uint8_t, kMaxCodes> first{};
  std::array<int, kMaxCodes> length{};
  for (int code = 0; code < clear; ++code) {
    last[static_cast<std::size_t>(code)] = first[static_cast<std::size_t>(code)] = static_cast<std::uint8_t>(code);
    length[static_cast<std::size_t>(code)] = 1;
  }

  std::vector<std::uint8_t> out;
  out.reserve(count);
  CodeReader codes(data);
  int width = minCodeSize + 1;
  int next = end + 1;
  int previous = -1;
  for (;;) {
    const std::optional<int> read = codes.Next(width);
    if (!read) return std::nullopt;
    const int code = *read;
    if (code == clear) {
      width = minCodeSize + 1;
      next = end + 1;
      previous = -1;
      continue;
    }
    if (code == end) break;
    if (previous < 0) {
      if (code >= clear) return std::nullopt;
    } else {
      if (code > next) return std::nullopt;
      // A full table takes no more entries until the next clear code.
      if (next < kMaxCodes) {
        const auto entry = static_cast<std::size_t>(next);
        const auto before = static_cast<std::size_t>(previous);
        prefix[entry] = previous;
        first[entry] = first[before];
        // When `code` is the entry being made, its first index is that of `previous`, set just above.
        last[entry] = first[static_cast<std::size_t>(code)];
        length[entry] = length[before] + 1;
        ++next;
        if (next == (1 << width) && width < 12) ++width;
      }
    }
    const auto size = static_cast<std::size_t>(length[static_cast<std::size_t>(code)]);
    if (out.size() + size > count) return std::nullopt;
    out.resize(out.size() + size);
    auto at = out.end();
    for (auto c = static_cast<std::size_t>(code);; c = static_cast<std::size_t>(prefix[c])) {
      *--at = last[c];
      if (length[c] == 1) break;
    }
    previous = code;
  }
  if (out.size() != count) return std::nullopt;
  return out;
}

}  // namespace

std::optional<GifImage> DecodeGif(std::span<const std::uint8_t> bytes) {
  Reader in(bytes);
  if (!in.Has(13)) return std::nullopt;
  const auto signature = in.Take(6);
  const std::string_view name(reinterpret_cast<const char*>(signature.data()), signature.size());
  if (name != "GIF87a" && name != "GIF89a") return std::nullopt;
  GifImage image;
  image.width = in.Word();
  image.height = in.Word();
  const std::uint8_t screen = in.Byte();
  in.Take(2);  // background colour and aspect ratio
  std::span<const std::uint8_t> colours;
  const auto tableOf = [&in](std::uint8_t flags) -> std::optional<std::span<const std::uint8_t>> {
    const std::size_t size = 3u << ((flags & 7) + 1);
    if (!in.Has(size)) return std::nullopt;
    return in.Take(size);
  };
  if (screen & 0x80) {
    const auto table = tableOf(screen);
    if (!table) return std::nullopt;
    colours = *table;
  }

  while (in.Has(1)) {
    const std::uint8_t introducer = in.Byte();
    if (introducer == 0x21) {  // an extension
      if (!in.Has(1)) return std::nullopt;
      const std::uint8_t label = in.Byte();
      const auto data = SubBlocks(in);
      if (!data) return std::nullopt;
      // A graphic control extension's transparent colour would need an alpha channel.
      if (label == 0xF9 && (data->empty() || ((*data)[0] & 1))) return std::nullopt;
      continue;
    }
    if (introducer != 0x2C || !in.Has(9)) return std::nullopt;  // not an image: the trailer or damage
    const int left = in.Word();
    const int top = in.Word();
    const int width = in.Word();
    const int height = in.Word();
    const std::uint8_t flags = in.Byte();
    if (left != 0 || top != 0 || width != image.width || height != image.height || width == 0 || height == 0 ||
        (flags & 0x40))
      return std::nullopt;
    if (flags & 0x80) {
      const auto table = tableOf(flags);
      if (!table) return std::nullopt;
      colours = *table;
    }
    if (!in.Has(1)) return std::nullopt;
    const int minCodeSize = in.Byte();
    if (minCodeSize < 2 || minCodeSize > 8) return std::nullopt;
    const auto data = SubBlocks(in);
    if (!data) return std::nullopt;
    const auto count = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
    const auto indices = Indices(*data, minCodeSize, count);
    if (!indices) return std::nullopt;
    image.pixels.reserve(count);
    for (std::uint8_t index : *indices) {
      const std::size_t at = std::size_t{index} * 3;
      if (at + 3 > colours.size()) return std::nullopt;
      image.pixels.push_back(0xFF000000u | (std::uint32_t{colours[at]} << 16) | (std::uint32_t{colours[at + 1]} << 8) |
                             colours[at + 2]);
    }
    return image;
  }
  return std::nullopt;
}

}  // namespace quillomat::win32
