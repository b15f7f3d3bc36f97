// The system's side of the game's files, on each build's own layer: the player's copy of the
// controls is made whole or not at all, and the log is written without ever waiting, or says
// why it cannot be.
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>

#include "TempFolder.h"
#include "platform/FilePlaces.h"
#include "platform/Files.h"

#ifdef __linux__
#include <sys/resource.h>

#include <csignal>
#endif

namespace skyrift::platform {
namespace {

namespace fs = std::filesystem;

std::string Bytes(const fs::path& file) {
  std::ifstream in(file, std::ios::binary);
  return {std::istreambuf_iterator<char>(in), {}};
}

long Entries(const fs::path& folder) {
  return std::distance(fs::directory_iterator(folder), fs::directory_iterator());
}

#ifdef __linux__
// A limit on the size of the files this process writes stands in for a full disk: a write past
// it fails as one would.
class FileSizeLimit {
 public:
  explicit FileSizeLimit(rlim_t bytes) {
    getrlimit(RLIMIT_FSIZE, &saved_);
    std::signal(SIGXFSZ, SIG_IGN);
    rlimit limit = saved_;
    limit.rlim_cur = bytes;
    EXPECT_EQ(setrlimit(RLIMIT_FSIZE, &limit), 0);
  }
  ~FileSizeLimit() { setrlimit(RLIMIT_FSIZE, &saved_); }

 private:
  rlimit saved_{};
};
#endif

// A copy that fails part-way, once the target could have been made. On Linux the default is
// written under a file size limit (a full disk); under Wine, whose drive Z: is the Linux root,
// the source is a file that opens as a regular one and fails its first read.
#if defined(__linux__) || defined(_WIN32)
struct CopyCutShort {
#ifdef _WIN32
  explicit CopyCutShort(const fs::path&) : from("Z:\\proc\\self\\mem") {}
#else
  explicit CopyCutShort(const fs::path& defaultControls) : from(defaultControls) {}
  const FileSizeLimit limit{8};
#endif
  const fs::path from;
};

TEST(SystemFiles, ThePlayersCopyOfTheControlsIsWholeOrNotThereAtAll) {
  const testing::TempFolder folder("skyrift-copy");
  const fs::path from = folder.Path() / "default.txt";
  const fs::path to = folder.Path() / "controls.txt";
  const std::string text = "38 40 37 39 32 90 88 67 9 87 83 65 68 70 71 84 82 81\n";
  std::ofstream(from, std::ios::binary) << text;
  fs::permissions(from, fs::perms::owner_read | fs::perms::group_read | fs::perms::others_read);
  {
    const CopyCutShort cut(from);
    EXPECT_NE(SystemFiles().CopyAsNew(cut.from.string(), to.string()), "");
  }
  // Nothing the next start would take for the player's own, and nothing half made left behind.
  EXPECT_FALSE(fs::exists(to));
  EXPECT_EQ(Entries(folder.Path()), 1);

  EXPECT_EQ(SystemFiles().CopyAsNew(from.string(), to.string()), "");
  EXPECT_EQ(Bytes(to), text);
  EXPECT_EQ(Entries(folder.Path()), 2);
  // The player's to edit, though the default is read-only.
  EXPECT_NE(fs::status(to).permissions() & fs::perms::owner_write, fs::perms::none);
  fs::permissions(from, fs::perms::owner_all);
}
#endif  // a page's file system has neither a size limit nor Wine's Z: to cut a copy short

TEST(SystemFiles, TheLogIsWrittenWithoutWaitingOrSaysWhyNot) {
  const testing::TempFolder folder("skyrift-append");
  const fs::path log = folder.Path() / "log.txt";
  EXPECT_EQ(AppendText(log.string(), "a\n", false), "");
  EXPECT_EQ(AppendText(log.string(), "b\n", false), "");
#ifdef _WIN32
  EXPECT_EQ(Bytes(log), "a\r\nb\r\n");  // the line ends Notepad expects
#else
  EXPECT_EQ(Bytes(log), "a\nb\n");
#endif
  EXPECT_EQ(AppendText(log.string(), "", true), "");
  EXPECT_EQ(Bytes(log), "");
  fs::remove(log);

  fs::create_directory(log);
  EXPECT_EQ(AppendText(log.string(), "a\n", false), "not a regular file");
  fs::remove(log);
#ifdef __linux__
  // With no reader, opening a named pipe for writing would wait for one for good.
  ASSERT_EQ(mkfifo(log.c_str(), 0600), 0);
  EXPECT_EQ(AppendText(log.string(), "a\n", true), "not a regular file");
  fs::remove(log);
  {
    const FileSizeLimit full(8);
    EXPECT_EQ(AppendText(log.string(), "a line longer than the disk's room\n", false),
              "File too large");
  }
  fs::remove(log);
#endif
#ifndef __EMSCRIPTEN__  // a page's file system takes names of any length
  const fs::path tooLong = folder.Path() / std::string(300, 'x');
  EXPECT_NE(AppendText(tooLong.string(), "a\n", false), "");
#endif
  EXPECT_EQ(Entries(folder.Path()), 0);
}

}  // namespace
}  // namespace skyrift::platform
