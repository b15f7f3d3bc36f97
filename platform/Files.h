// Where the game's own files are, and whether a file can be read without risk of blocking.
#pragma once

#include <filesystem>
#include <string>
#include <system_error>

namespace skyrift::platform {

// The folder that holds the running executable (UTF-8), or empty when the system cannot tell.
std::string ProgramFolder();

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
