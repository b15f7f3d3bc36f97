// Where the game's own files are, and whether a file can be read without risk of blocking.
#pragma once

#include <filesystem>
#include <string>
#include <system_error>

namespace skyrift::platform {

// The folder that holds the running executable, or empty when the system cannot tell.
std::string ProgramFolder();

// Why `name` cannot be read as a plain file ("No such file or directory", "not a regular
// file"...), or empty when it can. Only regular files are read: opening a named pipe waits for
// a writer, and a device may never end.
inline std::string WhyNotARegularFile(const char* name) {
  std::error_code error;
  const std::filesystem::file_status status = std::filesystem::status(name, error);
  if (error) return error.message();
  if (!std::filesystem::is_regular_file(status)) return "not a regular file";
  return {};
}

}  // namespace skyrift::platform
