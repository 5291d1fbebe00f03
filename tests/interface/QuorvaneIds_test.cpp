// The ids are written once (interface/QuorvaneIds.cmake); the build writes them into the C++
// header, the IDL and the scripts' shell file. These hold each written copy to the C++ constants,
// and the installer source and the scripts to taking them from there.
#include <gtest/gtest.h>

#include <fstream>
#include <map>
#include <regex>
#include <sstream>
#include <string>

#include "QuorvaneIds.h"
#include "Utf.h"

namespace {

using quorvane::ToUtf8;

std::string FileText(const std::string& path) {
  std::ifstream in(path, std::ios::binary);
  EXPECT_TRUE(in) << path;
  std::ostringstream text;
  text << in.rdbuf();
  return text.str();
}

// The GUID without its braces, as the IDL writes it.
std::string Bare(std::u16string_view braced) {
  return ToUtf8(braced.substr(1, braced.size() - 2));
}

const std::string kVersion = std::to_string(quorvane::kLibraryVersionMajor) + "." +
                             std::to_string(quorvane::kLibraryVersionMinor);

TEST(WrittenIds, TheShellFileHoldsTheConstants) {
  std::map<std::string, std::string> values;
  std::istringstream lines(FileText(QV_IDS_SHELL_FILE));
  static const std::regex assignment(R"(^(QV_[A-Z_]+)='([^']*)'$)");
  for (std::string line; std::getline(lines, line);) {
    std::smatch parts;
    if (line.empty() || line[0] == '#')
      continue;
    // Anything else would not read as a plain assignment in a shell.
    ASSERT_TRUE(std::regex_match(line, parts, assignment)) << line;
    values[parts[1]] = parts[2];
  }
  EXPECT_EQ(values["QV_CLASS_ID"], ToUtf8(quorvane::kClassIdText));
  EXPECT_EQ(values["QV_INTERFACE_ID"], ToUtf8(quorvane::kInterfaceIdText));
  EXPECT_EQ(values["QV_LIBRARY_ID"], ToUtf8(quorvane::kLibraryIdText));
  EXPECT_EQ(values["QV_LIBRARY_VERSION"], kVersion);
  EXPECT_EQ(values["QV_PROGRAM_ID"], ToUtf8(quorvane::kProgramId));
  EXPECT_EQ(values["QV_SERVER_NAME"], ToUtf8(quorvane::kServerName));
}

TEST(WrittenIds, TheIdlNamesEachPartByItsId) {
  const std::string idl = FileText(QV_IDL_FILE);
  struct Case {
    const char* part;  // what the attribute block stands before
    std::string id;
  };
  const Case cases[] = {
      {"library Quorvane", Bare(quorvane::kLibraryIdText)},
      {"interface IQuorvaneAutomation : IDispatch", Bare(quorvane::kInterfaceIdText)},
      {"coclass CoQuorvaneAutomation", Bare(quorvane::kClassIdText)},
  };
  for (const Case& c : cases) {
    const std::regex block(R"(\[\s*(?:object,\s*)?uuid\(([^)]*)\)[^\]]*\]\s*)" +
                           std::string(c.part));
    std::smatch parts;
    ASSERT_TRUE(std::regex_search(idl, parts, block)) << c.part;
    EXPECT_EQ(parts[1], c.id) << c.part;
  }
  EXPECT_NE(idl.find("version(" + kVersion + ")"), std::string::npos);
  EXPECT_EQ(idl.find('@'), std::string::npos) << "a placeholder was left in the IDL";
}

// The installer source and the scripts take the ids from the build; none writes one of its own.
TEST(WrittenIds, NoOtherSourceSpellsThemOut) {
  const std::string installer = FileText(QV_SOURCE_DIR "/packaging/windows/QuorvaneTestCom.wxs");
  for (const char* variable : {"$(var.ClassId)", "$(var.InterfaceId)", "$(var.LibraryId)",
                               "$(var.ProgId)", "$(var.ServerName)"})
    EXPECT_NE(installer.find(variable), std::string::npos) << variable;
  static const std::regex guid("[0-9A-Fa-f]{8}-[0-9A-Fa-f]{4}-[0-9A-Fa-f]{4}-");
  EXPECT_FALSE(std::regex_search(installer, guid)) << "a GUID written into the installer source";
  for (const char* script : {"/scripts/package", "/scripts/test-windows"}) {
    const std::string text = FileText(std::string(QV_SOURCE_DIR) + script);
    for (std::u16string_view id :
         {quorvane::kClassIdText, quorvane::kInterfaceIdText, quorvane::kLibraryIdText})
      EXPECT_EQ(text.find(Bare(id)), std::string::npos) << script << " spells out " << ToUtf8(id);
  }
}

}  // namespace
