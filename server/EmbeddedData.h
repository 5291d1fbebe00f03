#pragma once
// The data files built into the program: each file as its lines, written by the build from
// server/data.

#include <cstddef>
#include <optional>
#include <string>
#include <string_view>

namespace quorvane::server {

struct EmbeddedFile {
  const char* Path;  // relative to the data directory, with '/' between folders
  const char* const* Lines;
  std::size_t LineCount;
};

extern const EmbeddedFile kEmbeddedFiles[];
extern const std::size_t kEmbeddedFileCount;

// The whole text of a built-in file, or nothing when there is none of that name.
std::optional<std::string> EmbeddedFileText(std::string_view path);

}  // namespace quorvane::server
