#include "gif_image.h"

#include <algorithm>
#include <array>
#include <cstdint>
#include <optional>
#include <vector>

namespace quillomat {
namespace {

constexpr int kMaxCodes = 4096;
constexpr int kMaxCodeBits = 12;

class Reader {
 public:
  explicit Reader(QByteArrayView data) : data_(data) {}

  bool Has(qsizetype count) const { return data_.size() - pos_ >= count; }
  std::uint8_t Byte() { return static_cast<std::uint8_t>(data_[pos_++]); }
  int Word() {
    const int low = Byte();
    return low | (Byte() << 8);
  }
  QByteArrayView Take(qsizetype count) {
    const QByteArrayView taken = data_.sliced(pos_, count);
    pos_ += count;
    return taken;
  }
  // The data sub-blocks up to their terminator, joined; nothing if they run past the end.
  std::optional<QByteArray> SubBlocks() {
    QByteArray joined;
    while (Has(1)) {
      const int size = Byte();
      if (size == 0) return joined;
      if (!Has(size)) return std::nullopt;
      joined.append(Take(size));
    }
    return std::nullopt;
  }
  bool SkipSubBlocks() { return SubBlocks().has_value(); }

 private:
  QByteArrayView data_;
  qsizetype pos_ = 0;
};

using Palette = std::vector<QRgb>;

std::optional<Palette> ColourTable(Reader& reader, int packed) {
  if ((packed & 0x80) == 0) return Palette();
  const int count = 2 << (packed & 0x07);
  if (!reader.Has(3 * qsizetype{count})) return std::nullopt;
  Palette palette(static_cast<std::size_t>(count));
  for (QRgb& colour : palette) {
    const int red = reader.Byte();
    const int green = reader.Byte();
    const int blue = reader.Byte();
    colour = qRgb(red, green, blue);
  }
  return palette;
}

// Codes of varying width, least significant bit first.
class CodeReader {
 public:
  explicit CodeReader(const QByteArray& bytes) : bytes_(bytes) {}

  // The next code of `bits` bits; nothing once the data runs out.
  std::optional<int> Next(int bits) {
    while (held_ < bits) {
      if (pos_ >= bytes_.size()) return std::nullopt;
      buffer_ |= static_cast<std::uint32_t>(static_cast<std::uint8_t>(bytes_[pos_++])) << held_;
      held_ += 8;
    }
    const int code = static_cast<int>(buffer_ & ((1u << bits) - 1));
    buffer_ >>= bits;
    held_ -= bits;
    return code;
  }

 private:
  const QByteArray& bytes_;
  qsizetype pos_ = 0;
  std::uint32_t buffer_ = 0;
  int held_ = 0;
};

// The image's colour indexes in the order they are stored; nothing if the data ends first.
std::optional<std::vector<std::uint8_t>> DecodeIndexes(const QByteArray& bytes, int minCodeSize, std::size_t count) {
  if (minCodeSize < 2 || minCodeSize > 8) return std::nullopt;
  const int clear = 1 << minCodeSize;
  const int end = clear + 1;
  std::array<std::uint16_t, kMaxCodes> prefix{};
  std::array<std::uint8_t, kMaxCodes> suffix{};
  std::array<std::uint8_t, kMaxCodes> first{};
  std::array<std::uint16_t, kMaxCodes> length{};
  for (int code = 0; code < clear; ++code) {
    suffix[static_cast<std::size_t>(code)] = static_cast<std::uint8_t>(code);
    first[static_cast<std::size_t>(code)] = static_cast<std::uint8_t>(code);
    length[static_cast<std::size_t>(code)] = 1;
  }

  std::vector<std::uint8_t> out(count);
  std::size_t written = 0;
  CodeReader codes(bytes);
  int bits = minCodeSize + 1;
  int next = end + 1;
  int previous = -1;
  while (written < count) {
    const std::optional<int> read = codes.Next(bits);
    if (!read || *read == end) break;
    const int code = *read;
    if (code == clear) {
      bits = minCodeSize + 1;
      next = end + 1;
      previous = -1;
      continue;
    }
    if (previous < 0) {
      if (code >= clear) return std::nullopt;
      out[written++] = static_cast<std::uint8_t>(code);
      previous = code;
      continue;
    }
    if (code > next || (code == next && next >= kMaxCodes)) return std::nullopt;
    // A code not yet in the table is the previous string and its own first index.
    const bool known = code < next;
    const auto string = static_cast<std::size_t>(known ? code : previous);
    const std::uint8_t head = first[string];
    const std::size_t total = length[string] + (known ? 0u : 1u);
    // The string is stored last index first: write it from its end backwards.
    std::size_t at = written + total;
    if (!known && --at < count) out[at] = head;
    for (std::size_t c = string;; c = prefix[c]) {
      if (--at < count) out[at] = suffix[c];
      if (c < static_cast<std::size_t>(clear)) break;
    }
    written = std::min(count, written + total);
    if (next < kMaxCodes) {
      const auto entry = static_cast<std::size_t>(next);
      prefix[entry] = static_cast<std::uint16_t>(previous);
      suffix[entry] = head;
      first[entry] = first[static_cast<std::size_t>(previous)];
      length[entry] = static_cast<std::uint16_t>(length[static_cast<std::size_t>(previous)] + 1);
      ++next;
      if (next == 1 << bits && bits < kMaxCodeBits) ++bits;
    }
    previous = code;
  }
  if (written < count) return std::nullopt;
  return out;
}

// The row in the image of the n-th stored row of an interlaced image.
int InterlacedRow(int stored, int height) {
  constexpr std::array<std::pair<int, int>, 4> kPasses{{{0, 8}, {4, 8}, {2, 4}, {1, 2}}};
  for (const auto& [start, step] : kPasses) {
    const int rows = start < height ? (height - start + step - 1) / step : 0;
    if (stored < rows) return start + stored * step;
    stored -= rows;
  }
  return stored;
}

}  // namespace

bool IsGif(QByteArrayView data) { return data.startsWith("GIF87a") || data.startsWith("GIF89a"); }

QImage ReadGif(QByteArrayView data) {
  if (!IsGif(data)) return {};
  Reader reader(data.sliced(6));
  if (!reader.Has(7)) return {};
  const int screenWidth = reader.Word();
  const int screenHeight = reader.Word();
  const int screenPacked = reader.Byte();
  reader.Take(2);  // background colour and aspect ratio
  const std::optional<Palette> global = ColourTable(reader, screenPacked);
  if (!global || screenWidth == 0 || screenHeight == 0) return {};

  int transparent = -1;
  while (reader.Has(1)) {
    const int introducer = reader.Byte();
    if (introducer == 0x21) {
      if (!reader.Has(1)) return {};
      const int label = reader.Byte();
      const std::optional<QByteArray> blocks = reader.SubBlocks();
      if (!blocks) return {};
      if (label == 0xF9 && blocks->size() >= 4 && (blocks->at(0) & 0x01)) {
        transparent = static_cast<std::uint8_t>(blocks->at(3));
      }
      continue;
    }
    if (introducer != 0x2C || !reader.Has(9)) return {};
    const int left = reader.Word();
    const int top = reader.Word();
    const int width = reader.Word();
    const int height = reader.Word();
    const int packed = reader.Byte();
    const std::optional<Palette> local = ColourTable(reader, packed);
    if (!local || !reader.Has(1)) return {};
    const int minCodeSize = reader.Byte();
    const std::optional<QByteArray> bytes = reader.SubBlocks();
    if (!bytes) return {};
    const auto count = static_cast<std::size_t>(width) * static_cast<std::size_t>(height);
    const std::optional<std::vector<std::uint8_t>> indexes = DecodeIndexes(*bytes, minCodeSize, count);
    if (!indexes) return {};

    // Every index names a colour: beyond the table's, black.
    Palette palette = (packed & 0x80) ? *local : *global;
    palette.resize(256, qRgb(0, 0, 0));
    const bool covers = left == 0 && top == 0 && width >= screenWidth && height >= screenHeight;
    const bool alpha = transparent >= 0 || !covers;
    QImage image(screenWidth, screenHeight, alpha ? QImage::Format_ARGB32 : QImage::Format_RGB32);
    if (image.isNull()) return {};
    image.fill(alpha ? Qt::transparent : Qt::black);
    const bool interlaced = (packed & 0x40) != 0;
    for (int stored = 0; stored < height; ++stored) {
      const int y = top + (interlaced ? InterlacedRow(stored, height) : stored);
      if (y >= screenHeight) continue;
      auto* line = reinterpret_cast<QRgb*>(image.scanLine(y));
      const std::uint8_t* row = indexes->data() + static_cast<std::size_t>(stored) * static_cast<std::size_t>(width);
      for (int x = 0; x < width && left + x < screenWidth; ++x) {
        const int index = row[x];
        if (index == transparent) continue;
        line[left + x] = palette[static_cast<std::size_t>(index)];
      }
    }
    return image;
  }
  return {};
}

}  // namespace quillomat
