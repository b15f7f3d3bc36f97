// The executable carries every file of the resource script and of the list of images it
// includes, and finds each by number and type.
#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <regex>
#include <string>
#include <vector>

#include "platform/Resources.h"
#include "world/Images.h"

namespace skyrift::platform {
namespace {

struct ScriptRow {
  uint16_t id;
  uint16_t type;
  std::string file;
};

std::vector<ScriptRow> ReadScript() {
  std::vector<ScriptRow> rows;
  std::ifstream script(SKYRIFT_SOURCE_DIR "/resources/skyrift.rc");
  const std::regex row(R"(^(\d+)\s+(BITMAP|ICON|RCDATA)\s+"([^"]+)\")");
  for (std::string line; std::getline(script, line);) {
    std::smatch match;
    if (!std::regex_search(line, match, row)) continue;
    const uint16_t type = match[2] == "BITMAP" ? kBitmapResource
                          : match[2] == "ICON" ? kIconGroupResource
                                               : kRcDataResource;
    rows.push_back({static_cast<uint16_t>(std::stoi(match[1])), type, match[3]});
  }
  // The pictures come from the one list of images the script includes.
  for (const ImageResource& image : kImageResources) {
    rows.push_back({image.id, kBitmapResource, image.file});
  }
  return rows;
}

std::vector<uint8_t> ReadAsset(const std::string& name) {
  std::ifstream in(std::string(SKYRIFT_ASSET_DIR) + "/" + name, std::ios::binary);
  return std::vector<uint8_t>((std::istreambuf_iterator<char>(in)),
                              std::istreambuf_iterator<char>());
}

TEST(EmbeddedResources, EveryScriptedFileIsEmbeddedWhole) {
  const auto rows = ReadScript();
  int icons = 0;
  for (const ScriptRow& row : rows) icons += row.type == kIconGroupResource;
  ASSERT_EQ(icons, 2);
  // Nothing more is embedded than the script and its list of images name.
  EXPECT_EQ(ProgramModule()->count, rows.size());

  for (const ScriptRow& row : rows) {
    SCOPED_TRACE(row.file);
    const ResourceEntry* entry = LookUpResource(ProgramModule(), row.id, row.type);
    ASSERT_NE(entry, nullptr);
    const std::vector<uint8_t> file = ReadAsset(row.file);
    // A bitmap is kept as a resource compiler keeps it: without the 14-byte file header.
    const size_t skip = row.type == kBitmapResource ? 14 : 0;
    ASSERT_GT(file.size(), skip);
    ASSERT_EQ(entry->size, file.size() - skip);
    EXPECT_TRUE(std::equal(file.begin() + skip, file.end(), entry->data));
  }
}

TEST(EmbeddedResources, LookupNeedsTheRightNumberAndType) {
  EXPECT_EQ(LookUpResource(ProgramModule(), 2000, kIconGroupResource), nullptr);
  EXPECT_EQ(LookUpResource(ProgramModule(), 1000, kBitmapResource), nullptr);
  EXPECT_EQ(LookUpResource(ProgramModule(), 2999, kBitmapResource), nullptr);
  EXPECT_EQ(LookUpResource(nullptr, 2000, kBitmapResource), nullptr);
  const ResourceModule empty{nullptr, 0};
  EXPECT_EQ(LookUpResource(&empty, 2000, kBitmapResource), nullptr);
}

}  // namespace
}  // namespace skyrift::platform
