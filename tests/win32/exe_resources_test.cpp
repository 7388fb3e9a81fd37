// Checks what win32/quillomat_win32.rc adds to Quillomat.exe beyond the version record and icon:
// the application manifest and the banner pictures, read back out of the program itself.
//
// Usage: exe_resources_test [gtest flags] <Quillomat.exe> <source folder>

#include <gtest/gtest.h>

#include <cstdint>
#include <map>
#include <regex>
#include <string>
#include <vector>

#include "resource_file.h"
#include "resource_ids.h"

using namespace restest;

namespace {

std::string g_exe_path;
std::string g_source_dir;

constexpr std::uint32_t kRtBitmap = 2;
constexpr std::uint32_t kRtRcdata = 10;
constexpr std::uint32_t kRtManifest = 24;

// The attributes of the first element named `element` that has attribute `key` equal to `value`;
// empty when there is none.
std::map<std::string, std::string> ElementAttributes(const std::string& xml, const std::string& element,
                                                     const std::string& key, const std::string& value) {
  static const std::regex kAttribute(R"re(([\w:]+)\s*=\s*"([^"]*)")re");
  const std::regex tag("<" + element + R"re(\b([^>]*)>)re");
  for (auto t = std::sregex_iterator(xml.begin(), xml.end(), tag); t != std::sregex_iterator(); ++t) {
    std::map<std::string, std::string> attributes;
    const std::string inside = (*t)[1].str();
    for (auto a = std::sregex_iterator(inside.begin(), inside.end(), kAttribute); a != std::sregex_iterator(); ++a)
      attributes[(*a)[1].str()] = (*a)[2].str();
    if (attributes[key] == value) return attributes;
  }
  return {};
}

// The text inside the first element named `element`, trimmed; empty when there is none.
std::string ElementText(const std::string& xml, const std::string& element) {
  std::smatch m;
  const std::regex text("<" + element + R"re(\b[^>]*>\s*([^<]*?)\s*</)re" + element + ">");
  return std::regex_search(xml, m, text) ? m[1].str() : std::string();
}

// Whether every element that opens also closes, in order, under one root named `root`. Windows
// refuses to start a program whose manifest is not well-formed XML.
bool Balanced(const std::string& xml, const std::string& root) {
  std::vector<std::string> open;
  int roots = 0;
  static const std::regex kTag(R"re(<(/?)([\w:.-]+)[^>]*?(/?)>)re");
  const std::string body = std::regex_replace(xml, std::regex(R"re(<\?[^>]*\?>|<!--[\s\S]*?-->)re"), "");
  for (auto t = std::sregex_iterator(body.begin(), body.end(), kTag); t != std::sregex_iterator(); ++t) {
    const bool closing = (*t)[1].length() > 0, empty = (*t)[3].length() > 0;
    const std::string name = (*t)[2].str();
    if (closing) {
      if (open.empty() || open.back() != name) return false;
      open.pop_back();
      continue;
    }
    if (open.empty() && (++roots > 1 || name != root)) return false;
    if (!empty) open.push_back(name);
  }
  return open.empty() && roots == 1;
}

TEST(ManifestChecks, BalancedTellsWellFormedFromBroken) {
  // clang-format off
  const std::vector<std::pair<std::string, bool>> cases = {
    {R"(<?xml version="1.0"?><assembly a="1"><b><c/></b><!-- <d> --></assembly>)", true},
    {"<assembly><b></assembly>",                                                    false},
    {"<assembly><b></c></b></assembly>",                                            false},
    {"<assembly></assembly><assembly></assembly>",                                  false},
    {"<manifest></manifest>",                                                       false},
    {"<assembly>",                                                                  false},
  };
  // clang-format on
  for (const auto& [xml, balanced] : cases) EXPECT_EQ(Balanced(xml, "assembly"), balanced) << xml;
}

class ExeResources : public testing::Test {
 protected:
  void SetUp() override {
    ASSERT_FALSE(g_exe_path.empty()) << "usage: exe_resources_test <Quillomat.exe> <source folder>";
    resources_ = LoadResources(g_exe_path);
  }
  std::string Manifest() const {
    const Resource* r = Lookup(resources_, kRtManifest, 1);
    return r == nullptr ? std::string() : std::string(r->data.begin(), r->data.end());
  }
  std::vector<Resource> resources_;
};

TEST_F(ExeResources, TheOneManifestIsTheProgramsOwnAndIsTheSourceFileVerbatim) {
  std::vector<std::uint32_t> manifests;
  for (const Resource& r : resources_)
    if (r.type.number == kRtManifest) manifests.push_back(r.name.number.value_or(0));
  // Id 1 is the one Windows reads when it starts a program; 2 would be a DLL's.
  EXPECT_EQ(manifests, std::vector<std::uint32_t>{1});
  EXPECT_EQ(Manifest(), read_text(g_source_dir + "/win32/quillomat.manifest"));
  EXPECT_TRUE(Balanced(Manifest(), "assembly"));
}

TEST_F(ExeResources, ManifestAsksForTheSettingsTheWindowIsWrittenFor) {
  const std::string manifest = Manifest();
  ASSERT_FALSE(manifest.empty()) << "no manifest";

  const auto controls = ElementAttributes(manifest, "assemblyIdentity", "name", "Microsoft.Windows.Common-Controls");
  EXPECT_EQ(controls.count("name"), 1u) << "no dependency on the Common Controls";
  const auto architecture = controls.find("processorArchitecture");
  // clang-format off
  const std::vector<std::pair<std::string, bool>> checks = {
    {"Common Controls version 6.0.0.0",                 controls.count("version") && controls.at("version") == "6.0.0.0"},
    {"Common Controls for amd64 or any architecture",   architecture != controls.end() &&
                                                         (architecture->second == "*" || architecture->second == "amd64")},
    {"Common Controls from Microsoft's key",            controls.count("publicKeyToken") &&
                                                         controls.at("publicKeyToken") == "6595b64144ccf1df"},
    {"per-monitor v2 DPI awareness first",              ElementText(manifest, "dpiAwareness").rfind("PerMonitorV2", 0) == 0},
    {"per-monitor DPI awareness before Windows 10 1607", ElementText(manifest, "dpiAware") == "true/pm"},
    {"supported on Windows 10 and 11",                  !ElementAttributes(manifest, "supportedOS", "Id",
                                                         "{8e0f7a12-bfb3-4fe8-b9a5-48fd50a15a9a}").empty()},
    {"runs as the user who starts it",                  !ElementAttributes(manifest, "requestedExecutionLevel", "level",
                                                         "asInvoker").empty()},
  };
  // clang-format on
  for (const auto& [what, holds] : checks) EXPECT_TRUE(holds) << what;
}

TEST_F(ExeResources, BannersAreTheArtworkFilesUnderTheirIds) {
  // A bitmap resource is its file without the 14-byte file header.
  constexpr std::size_t kBitmapFileHeader = 14;
  struct Banner {
    std::uint32_t type;
    int id;
    std::string file;
    std::size_t skipped;
  };
  const Banner banners[] = {
      {kRtBitmap, quillomat::kBannerResource, "banner.bmp", kBitmapFileHeader},
      {kRtRcdata, quillomat::kBanner2xResource, "banner@2x.png", 0},
  };
  for (const Banner& banner : banners) {
    SCOPED_TRACE(banner.file);
    const Resource* r = Lookup(resources_, banner.type, static_cast<std::uint32_t>(banner.id));
    ASSERT_NE(r, nullptr) << "no resource " << banner.id << " of type " << banner.type;
    const auto file = read_file(g_source_dir + "/res/" + banner.file);
    ASSERT_GT(file.size(), banner.skipped);
    EXPECT_EQ(r->data, decltype(file)(file.begin() + static_cast<std::ptrdiff_t>(banner.skipped), file.end()));
  }
}

}  // namespace

int main(int argc, char** argv) {
  testing::InitGoogleTest(&argc, argv);
  if (argc >= 3) {
    g_exe_path = argv[1];
    g_source_dir = argv[2];
  }
  return RUN_ALL_TESTS();
}
