// Where the game's own files are, whether a file can be read without risk of blocking, and
// writing text that never waits.
#pragma once

#include <filesystem>
#include <string>
#include <string_view>
#include <system_error>

namespace skyrift::platform {

// The folder that holds the running executable (UTF-8), or empty when the system cannot tell.
std::string ProgramFolder();

// Adds text to the end of a regular file, made if missing and emptied first when `afresh`, with
// the system's own line ends: empty when all of it is written, otherwise why not. Anything that
// is not a regular file is refused without waiting: a named pipe with no reader would block the
// opening, and a device may never end.
std::string AppendText(const std::string& path, std::string_view text, bool afresh);

// A UTF-8 path as the standard library's file calls take it: streams and the file system then
// reach Windows through its wide-character calls, whatever the system's code page.
inline std::filesystem::path Utf8Path(const std::string& path) {
  return std::filesystem::path(std::u8string(path.begin(), path.end()));
}

// Why `name` cannot be read as a plain file ("No such file or directory", "not a regular
// file"...), or empty when it can. Only regular files are read: opening a named pipe waits for
// a writer, and a device may never end.
inline std::string WhyNotARegularFile(const std::string& name) {
  std::error_code error;
  const std::filesystem::file_status status = std::filesystem::status(Utf8Path(name), error);
  if (error) return error.message();
  if (!std::filesystem::is_regular_file(status)) return "not a regular file";
  return {};
}

}  // namespace skyrift::platform
