// Checks the program's version record and icon, as res/quillomat.rc gives them: in a compiled
// resource file (.res, as windres -O res writes it), or in the program built with them
// (Quillomat.exe).
//
// Usage: res_version_record_test [gtest flags] <quillomat.res or Quillomat.exe> <quillomat.ico>
//
// The version record (type 16) is a tree of nodes: length, value length,
// value type (0 binary, 1 text), a UTF-16 key, the value, then child nodes.

#include "resource_file.h"

#include <gtest/gtest.h>

#include <array>
#include <cstdint>
#include <string>
#include <utility>
#include <vector>

using namespace restest;

namespace {

std::string g_res_path;
std::string g_ico_path;

constexpr std::uint32_t kRtIcon = 3;
constexpr std::uint32_t kRtGroupIcon = 14;
constexpr std::uint32_t kRtVersion = 16;

struct Node {
  std::string key;
  std::uint32_t value_type = 0;
  Bytes value;
  std::vector<Node> children;

  // The value read as UTF-16 text without its terminating zero.
  std::string text() const {
    std::string s;
    for (std::size_t i = 0; i + 1 < value.size(); i += 2) {
      const std::uint32_t c = u16(value, i);
      if (c == 0) break;
      s.push_back(static_cast<char>(c));
    }
    return s;
  }
  std::vector<std::string> child_keys() const {
    std::vector<std::string> keys;
    for (const Node& c : children) keys.push_back(c.key);
    return keys;
  }
};

// Offsets are relative to the start of the resource data, which the format
// keeps 4-byte aligned, so node alignment is taken from there.
Node parse_node(const Bytes& b, std::size_t at) {
  Node n;
  const std::size_t length = u16(b, at);
  const std::size_t value_length = u16(b, at + 2);
  n.value_type = u16(b, at + 4);
  if (length < 6 || at + length > b.size()) throw std::out_of_range("bad node length");
  std::size_t pos = at + 6;
  for (std::uint32_t c = u16(b, pos); c != 0; c = u16(b, pos)) {
    n.key.push_back(static_cast<char>(c));
    pos += 2;
  }
  pos = Align4(pos + 2);
  // Text values count UTF-16 characters, binary values count bytes.
  const std::size_t value_bytes = n.value_type == 1 ? 2 * value_length : value_length;
  if (pos + value_bytes > at + length) throw std::out_of_range("node value past node end");
  n.value.assign(b.begin() + static_cast<std::ptrdiff_t>(pos),
                 b.begin() + static_cast<std::ptrdiff_t>(pos + value_bytes));
  pos = Align4(pos + value_bytes);
  while (pos < at + length) {
    Node child = parse_node(b, pos);
    pos = Align4(pos + u16(b, pos));
    n.children.push_back(std::move(child));
  }
  return n;
}

class VersionRecord : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_FALSE(g_res_path.empty()) << "usage: res_version_record_test <file.res or file.exe> <file.ico>";
    resources_ = LoadResources(g_res_path);
  }
  std::vector<Resource> resources_;
};

TEST_F(VersionRecord, FixedPartGivesVersion1000ForAnApplicationWithoutFlags) {
  const Resource* r = Lookup(resources_, kRtVersion, 1);
  ASSERT_NE(r, nullptr) << "no version resource with id 1";
  const Node root = parse_node(r->data, 0);
  EXPECT_EQ(root.key, "VS_VERSION_INFO");
  EXPECT_EQ(root.value_type, 0u);
  ASSERT_EQ(root.value.size(), 52u) << "VS_FIXEDFILEINFO is 13 DWORDs";
  // Field, expected value, name; in the order VS_FIXEDFILEINFO stores them.
  const std::array<std::pair<std::uint32_t, const char*>, 13> fields = {{
      {0xFEEF04BD, "signature"},
      {0x00010000, "structure version"},
      {0x00010000, "file version, high (1.0)"},
      {0x00000000, "file version, low (0.0)"},
      {0x00010000, "product version, high (1.0)"},
      {0x00000000, "product version, low (0.0)"},
      {0x0000003F, "file flags mask"},
      {0x00000000, "file flags"},
      {0x00000004, "file OS (32-bit Windows)"},
      {0x00000001, "file type (application)"},
      {0x00000000, "file subtype"},
      {0x00000000, "file date, high"},
      {0x00000000, "file date, low"},
  }};
  for (std::size_t i = 0; i < fields.size(); ++i)
    EXPECT_EQ(u32(root.value, 4 * i), fields[i].first) << fields[i].second;
  EXPECT_EQ(root.child_keys(), (std::vector<std::string>{"StringFileInfo", "VarFileInfo"}));
}

TEST_F(VersionRecord, StringTableHoldsExactlyTheFiveEntriesInOrder) {
  const Resource* r = Lookup(resources_, kRtVersion, 1);
  ASSERT_NE(r, nullptr);
  const Node root = parse_node(r->data, 0);
  const Node* strings = nullptr;
  for (const Node& c : root.children)
    if (c.key == "StringFileInfo") strings = &c;
  ASSERT_NE(strings, nullptr);
  ASSERT_EQ(strings->child_keys(), (std::vector<std::string>{"040904B0"})) << "one table, US English, Unicode";
  const std::vector<std::pair<std::string, std::string>> expected = {
      {"ProductName", "Pellnor"},
      {"FileVersion", "1.00"},
      {"ProductVersion", "1.00"},
      {"InternalName", "Quillomat"},
      {"OriginalFilename", "Quillomat.exe"},
  };
  std::vector<std::pair<std::string, std::string>> actual;
  for (const Node& s : strings->children[0].children) {
    EXPECT_EQ(s.value_type, 1u) << s.key << " is not a text value";
    EXPECT_TRUE(s.children.empty()) << s.key;
    actual.emplace_back(s.key, s.text());
  }
  EXPECT_EQ(actual, expected);
}

TEST_F(VersionRecord, TranslationIsUsEnglishUnicode) {
  const Resource* r = Lookup(resources_, kRtVersion, 1);
  ASSERT_NE(r, nullptr);
  const Node root = parse_node(r->data, 0);
  const Node* vars = nullptr;
  for (const Node& c : root.children)
    if (c.key == "VarFileInfo") vars = &c;
  ASSERT_NE(vars, nullptr);
  ASSERT_EQ(vars->child_keys(), (std::vector<std::string>{"Translation"}));
  const Node& t = vars->children[0];
  EXPECT_EQ(t.value_type, 0u);
  ASSERT_EQ(t.value.size(), 4u) << "exactly one language and code page pair";
  EXPECT_EQ(u16(t.value, 0), 0x0409u) << "language";
  EXPECT_EQ(u16(t.value, 2), 0x04B0u) << "code page 1200";
}

TEST_F(VersionRecord, IconGroupOneCarriesTheThreeImagesOfTheIconFile) {
  const Bytes ico = read_file(g_ico_path);
  const Resource* group = Lookup(resources_, kRtGroupIcon, 1);
  ASSERT_NE(group, nullptr) << "no icon group with id 1";
  const Bytes& g = group->data;
  EXPECT_EQ(u16(g, 0), 0u);
  EXPECT_EQ(u16(g, 2), 1u);
  const std::uint32_t count = u16(g, 4);
  ASSERT_EQ(count, u16(ico, 4));
  ASSERT_EQ(count, 3u);
  for (std::uint32_t i = 0; i < count; ++i) {
    SCOPED_TRACE("image " + std::to_string(i));
    const std::size_t ge = 6 + 14 * i;  // group entries are 14 bytes ...
    const std::size_t ie = 6 + 16 * i;  // ... file entries 16
    for (std::size_t k = 0; k < 12; ++k) EXPECT_EQ(u8(g, ge + k), u8(ico, ie + k)) << "entry byte " << k;
    const Resource* image = Lookup(resources_, kRtIcon, u16(g, ge + 12));
    ASSERT_NE(image, nullptr);
    const std::size_t offset = u32(ico, ie + 12), size = u32(ico, ie + 8);
    ASSERT_LE(offset + size, ico.size());
    EXPECT_EQ(image->data, Bytes(ico.begin() + static_cast<std::ptrdiff_t>(offset),
                                 ico.begin() + static_cast<std::ptrdiff_t>(offset + size)));
  }
}

}  // namespace

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  if (argc >= 3) {
    g_res_path = argv[1];
    g_ico_path = argv[2];
  }
  return RUN_ALL_TESTS();
}
