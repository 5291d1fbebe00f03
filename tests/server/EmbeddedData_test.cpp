// The data built into the program are the committed files of server/data, byte for byte, and
// those are the project's collected reference data where that collection is at hand.
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <set>
#include <sstream>

#include "EmbeddedData.h"

namespace {

namespace fs = std::filesystem;

std::string FileText(const fs::path& path) {
  std::ifstream file(path, std::ios::binary);
  std::ostringstream text;
  text << file.rdbuf();
  return text.str();
}

// The *.csv files under a directory, by their paths relative to it with '/' between folders.
std::set<std::string> CsvFiles(const fs::path& directory) {
  std::set<std::string> paths;
  for (const auto& entry : fs::recursive_directory_iterator(directory))
    if (entry.is_regular_file() && entry.path().extension() == ".csv")
      paths.insert(entry.path().lexically_relative(directory).generic_string());
  return paths;
}

TEST(EmbeddedData, EveryBuiltInFileEqualsItsCommittedFile) {
  const fs::path directory = QV_SERVER_DATA_DIR;
  std::set<std::string> embedded;
  for (std::size_t i = 0; i < quorvane::server::kEmbeddedFileCount; ++i)
    embedded.insert(quorvane::server::kEmbeddedFiles[i].Path);
  EXPECT_EQ(embedded, CsvFiles(directory));
  for (const std::string& path : embedded) {
    auto text = quorvane::server::EmbeddedFileText(path);
    ASSERT_TRUE(text) << path;
    // Compared as text, so that a difference shows where it is.
    std::string committed = FileText(directory / path);
    if (*text != committed) {
      std::size_t at = 0;
      while (at < text->size() && at < committed.size() && (*text)[at] == committed[at])
        ++at;
      ADD_FAILURE() << path << " differs from its built-in copy at byte " << at << ": \""
                    << committed.substr(at, 40) << "\" in the file, \"" << text->substr(at, 40)
                    << "\" built in";
    }
  }
}

// The lines of a text.
std::vector<std::string> Lines(const std::string& text) {
  std::vector<std::string> lines;
  std::istringstream in(text);
  for (std::string line; std::getline(in, line);)
    lines.push_back(line);
  return lines;
}

// server/data is a copy of the shared collection, plus the files written for this project and
// their sections of SOURCES.md. A refresh of the collection that was not taken in fails here.
TEST(EmbeddedData, CommittedFilesAreTheSharedCollectionWhereItIsAtHand) {
  const fs::path shared = QV_SHARED_DATA_DIR, ours = QV_SERVER_DATA_DIR;
  if (!fs::is_directory(shared))
    GTEST_SKIP() << "no shared data collection at " << shared.string();
  const std::set<std::string> ownFiles = {"catalogue.csv", "series/countries.csv"};
  std::set<std::string> expected = CsvFiles(shared);
  expected.insert(ownFiles.begin(), ownFiles.end());
  EXPECT_EQ(CsvFiles(ours), expected);
  for (const std::string& path : CsvFiles(shared))
    EXPECT_TRUE(FileText(shared / path) == FileText(ours / path))
        << path << " differs from " << (shared / path).string();

  // Every line of the collection's SOURCES.md stands in ours, in the same order.
  std::vector<std::string> theirs = Lines(FileText(shared / "SOURCES.md"));
  std::vector<std::string> mine = Lines(FileText(ours / "SOURCES.md"));
  std::size_t found = 0;
  for (const std::string& line : mine)
    if (found < theirs.size() && line == theirs[found])
      ++found;
  EXPECT_EQ(found, theirs.size()) << "SOURCES.md lacks, or has moved, the collection's line \""
                                  << (found < theirs.size() ? theirs[found] : "") << "\"";
}

}  // namespace
