// Reads the Windows resources out of a compiled resource file (.res, as windres -O res writes it)
// or out of a program (a PE file: .exe, .dll), as one list either way.
//
// A .res file is a list of resources, each a header (data size, header size, type, name,
// language, ...) followed by its data, everything 4-byte aligned. A PE file keeps them in its
// resource section as a tree three directories deep (type, name, language) whose leaves give
// each resource's data by its address in the loaded image.
#pragma once

#include <cstddef>
#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

#include "bytes.h"

namespace restest {

// A resource type or name: a number, or a string (kept as ASCII here).
struct Id {
  std::optional<std::uint32_t> number;
  std::string text;
};

struct Resource {
  Id type, name;
  std::uint32_t language = 0;
  Bytes data;
};

inline std::size_t Align4(std::size_t n) { return (n + 3) & ~std::size_t{3}; }

inline Bytes Slice(const Bytes& b, std::size_t at, std::size_t size) {
  if (at > b.size() || size > b.size() - at) throw std::out_of_range("resource data past end of file");
  return Bytes(b.begin() + static_cast<std::ptrdiff_t>(at), b.begin() + static_cast<std::ptrdiff_t>(at + size));
}

inline Id ReadResId(const Bytes& b, std::size_t& pos) {
  Id id;
  if (u16(b, pos) == 0xFFFF) {
    id.number = u16(b, pos + 2);
    pos += 4;
    return id;
  }
  for (std::uint32_t c = u16(b, pos); c != 0; c = u16(b, pos)) {
    id.text.push_back(static_cast<char>(c));
    pos += 2;
  }
  pos += 2;
  return id;
}

inline std::vector<Resource> ParseRes(const Bytes& b) {
  std::vector<Resource> out;
  std::size_t pos = 0;
  while (pos < b.size()) {
    const std::size_t start = pos;
    const std::uint32_t data_size = u32(b, pos);
    const std::uint32_t header_size = u32(b, pos + 4);
    pos += 8;
    Resource r;
    r.type = ReadResId(b, pos);
    r.name = ReadResId(b, pos);
    pos = Align4(pos);
    r.language = u16(b, pos + 6);
    const std::size_t data_at = start + header_size;
    r.data = Slice(b, data_at, data_size);
    out.push_back(std::move(r));
    pos = Align4(data_at + data_size);
  }
  return out;
}

// The resource section of a PE file, and where its addresses lie in the file.
class PeResources {
 public:
  explicit PeResources(const Bytes& b) : b_(b) {
    if (u16(b, 0) != 0x5A4D) throw std::runtime_error("not a PE file: no MZ header");
    const std::size_t pe = u32(b, 0x3C);
    if (u32(b, pe) != 0x00004550) throw std::runtime_error("not a PE file: no PE signature");
    section_count_ = u16(b, pe + 6);
    const std::size_t optional = pe + 24;
    sections_ = optional + u16(b, pe + 20);
    // The data directories follow the optional header's fixed part, whose size depends on
    // whether addresses are 64 bits (PE32+) or 32 bits (PE32); the resource directory is third.
    std::size_t directories = 0;
    switch (u16(b, optional)) {
      case 0x20B: directories = optional + 112; break;
      case 0x10B: directories = optional + 96; break;
      default: throw std::runtime_error("unknown optional header");
    }
    if (u32(b, directories - 4) > 2) root_rva_ = u32(b, directories + 2 * 8);
    if (root_rva_ != 0) root_ = FileOffset(root_rva_, 16);
  }

  std::vector<Resource> All() const {
    std::vector<Resource> out;
    if (root_rva_ == 0) return out;
    for (const auto& [type, types] : Entries(root_, true)) {
      for (const auto& [name, names] : Entries(root_ + types, true)) {
        for (const auto& [language, leaf] : Entries(root_ + names, false)) {
          const std::size_t entry = root_ + leaf;
          Resource r{type, name, language.number.value_or(0), {}};
          const std::uint32_t size = u32(b_, entry + 4);
          r.data = Slice(b_, FileOffset(u32(b_, entry), size), size);
          out.push_back(std::move(r));
        }
      }
    }
    return out;
  }

 private:
  std::size_t FileOffset(std::uint32_t rva, std::size_t size) const {
    for (std::size_t i = 0; i < section_count_; ++i) {
      const std::size_t s = sections_ + 40 * i;
      const std::uint32_t address = u32(b_, s + 12), raw_size = u32(b_, s + 16), raw_at = u32(b_, s + 20);
      if (rva >= address && rva - address <= raw_size && size <= raw_size - (rva - address))
        return raw_at + (rva - address);
    }
    throw std::out_of_range("address outside the file's sections");
  }

  // A directory's entries: each an id and the offset of what it points at, relative to the
  // section; `directories` says whether that must be a directory or a leaf.
  std::vector<std::pair<Id, std::uint32_t>> Entries(std::size_t directory, bool directories) const {
    std::vector<std::pair<Id, std::uint32_t>> out;
    const std::size_t count = u16(b_, directory + 12) + u16(b_, directory + 14);
    for (std::size_t k = 0; k < count; ++k) {
      const std::size_t e = directory + 16 + 8 * k;
      const std::uint32_t name = u32(b_, e), target = u32(b_, e + 4);
      Id id;
      if (name & 0x80000000u) {
        const std::size_t at = root_ + (name & 0x7FFFFFFFu);
        for (std::size_t c = 0; c < u16(b_, at); ++c) id.text.push_back(static_cast<char>(u16(b_, at + 2 + 2 * c)));
      } else {
        id.number = name;
      }
      if (((target & 0x80000000u) != 0) != directories) throw std::runtime_error("resource tree not three deep");
      out.emplace_back(std::move(id), target & 0x7FFFFFFFu);
    }
    return out;
  }

  const Bytes& b_;
  std::size_t section_count_ = 0;
  std::size_t sections_ = 0;
  std::uint32_t root_rva_ = 0;
  std::size_t root_ = 0;
};

// The resources of a .res file or of a program, told apart by a program's "MZ".
inline std::vector<Resource> LoadResources(const std::string& path) {
  const Bytes b = read_file(path);
  if (b.size() >= 2 && b[0] == 'M' && b[1] == 'Z') return PeResources(b).All();
  return ParseRes(b);
}

inline const Resource* Lookup(const std::vector<Resource>& all, std::uint32_t type, std::uint32_t name) {
  for (const Resource& r : all)
    if (r.type.number == type && r.name.number == name) return &r;
  return nullptr;
}

}  // namespace restest
