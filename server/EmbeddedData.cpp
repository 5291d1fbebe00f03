#include "EmbeddedData.h"

namespace quorvane::server {

std::optional<std::string> EmbeddedFileText(std::string_view path) {
  for (std::size_t i = 0; i < kEmbeddedFileCount; ++i) {
    const EmbeddedFile& file = kEmbeddedFiles[i];
    if (path != file.Path)
      continue;
    std::string text;
    for (std::size_t line = 0; line < file.LineCount; ++line)
      text += file.Lines[line];
    return text;
  }
  return std::nullopt;
}

}  // namespace quorvane::server
