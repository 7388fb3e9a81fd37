// Little helpers for reading binary files in the resource tests.
#pragma once

#include <cstddef>
#include <cstdint>
#include <fstream>
#include <iterator>
#include <stdexcept>
#include <string>
#include <vector>

namespace restest {

using Bytes = std::vector<std::uint8_t>;

inline Bytes read_file(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  if (!in) throw std::runtime_error("cannot open " + path);
  return Bytes(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

inline std::string read_text(const std::string& path) {
  const Bytes b = read_file(path);
  return std::string(b.begin(), b.end());
}

// Little-endian reads that throw instead of running off the end.
inline std::uint32_t le(const Bytes& b, std::size_t at, int width) {
  if (at + static_cast<std::size_t>(width) > b.size()) throw std::out_of_range("read past end of data");
  std::uint32_t v = 0;
  for (int i = width - 1; i >= 0; --i) v = (v << 8) | b[at + static_cast<std::size_t>(i)];
  return v;
}
inline std::uint32_t u8(const Bytes& b, std::size_t at) { return le(b, at, 1); }
inline std::uint32_t u16(const Bytes& b, std::size_t at) { return le(b, at, 2); }
inline std::uint32_t u32(const Bytes& b, std::size_t at) { return le(b, at, 4); }

}  // namespace restest
