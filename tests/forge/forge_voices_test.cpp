// The ship computer's five announcements are words a player understands: a speech recogniser
// (pocketsphinx with its US English model) hears each line as itself when it must choose among
// the five phrases.
#include <gtest/gtest.h>

#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "TempFolder.h"

namespace {

namespace fs = std::filesystem;

struct Line {
  const char* file;
  const char* words;  // as the recogniser writes them
};
constexpr Line kLines[] = {
    {"bt_depleted.wav", "bullet time depleted"},
    {"shields_depleted.wav", "shields depleted"},
    {"large_incoming.wav", "warning large incoming"},
    {"massive enemy.wav", "warning massive enemy approaching"},
    {"stage1_complete.wav", "stage one complete"},
};

// Runs a command and returns its standard output without the trailing line break.
std::string Output(const std::string& command) {
  std::string text;
  if (FILE* pipe = popen(command.c_str(), "r")) {
    char buffer[256];
    while (std::fgets(buffer, sizeof buffer, pipe)) text += buffer;
    pclose(pipe);
  }
  while (!text.empty() && (text.back() == '\n' || text.back() == ' ')) text.pop_back();
  return text;
}

TEST(Announcements, EachIsRecognisedAsItsOwnPhraseAmongTheFive) {
  // A folder of this run's own: runs side by side must not share, or delete, each other's file.
  const skyrift::testing::TempFolder folder("skyrift-voices");
  const fs::path grammar = folder.Path() / "announcements.gram";
  {
    std::ofstream out(grammar);
    out << "#JSGF V1.0;\ngrammar announcements;\npublic <line> = ";
    for (const Line& line : kLines) out << (&line == kLines ? "" : " | ") << line.words;
    out << ";\n";
  }
  for (const Line& line : kLines) {
    SCOPED_TRACE(line.file);
    const fs::path wav = fs::path(SKYRIFT_GAME_DIR) / line.file;
    ASSERT_TRUE(fs::exists(wav));
    // The model listens at 16 kHz, the rate the forge writes the voices at.
    const std::string heard =
        Output("pocketsphinx_continuous -infile '" + wav.string() + "' -jsgf '" + grammar.string() +
               "' -logfn /dev/null 2>/dev/null");
    EXPECT_EQ(heard, line.words);
  }
}

}  // namespace
