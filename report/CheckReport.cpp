#include "CheckReport.h"

#include <cstdio>
#include <cstring>
#include <fstream>
#include <string_view>

namespace quorvane::report {

namespace {

// The width of "PASS %9.3f ms  " before the name, so that untimed and skipped lines align.
constexpr std::size_t kNameColumn = 19;

void OnOneLine(std::string& text) {
  for (char& c : text)
    if (static_cast<unsigned char>(c) < 32)
      c = ' ';
}

std::string Xml(std::string_view text) {
  std::string escaped;
  for (char c : text) {
    switch (c) {
      case '<':
        escaped += "&lt;";
        break;
      case '>':
        escaped += "&gt;";
        break;
      case '&':
        escaped += "&amp;";
        break;
      case '"':
        escaped += "&quot;";
        break;
      default:
        // Control characters other than tab, line feed and carriage return cannot stand in XML.
        if (static_cast<unsigned char>(c) < 0x20 && c != '\t' && c != '\n' && c != '\r')
          escaped += "?";
        else
          escaped += c;
    }
  }
  return escaped;
}

std::string Fixed(const char* format, double value) {
  char text[32];
  std::snprintf(text, sizeof text, format, value);
  return text;
}

template <typename Char>
std::optional<std::filesystem::path> TakeOption(int& argc, Char** argv, const Char* option) {
  for (int i = 1; i < argc; ++i) {
    if (std::basic_string_view<Char>(argv[i]) != option)
      continue;
    std::optional<std::filesystem::path> file;
    int taken = 1;
    if (i + 1 < argc) {
      file = std::filesystem::path(argv[i + 1]);
      taken = 2;
    } else {
      file = std::filesystem::path();  // asked for without a file: the run cannot write it
    }
    for (int j = i; j + taken <= argc; ++j)
      argv[j] = argv[j + taken];
    argc -= taken;
    return file;
  }
  return std::nullopt;
}

}  // namespace

CheckReport::CheckReport(std::string suite, std::ostream& out)
    : suite_(std::move(suite)), out_(out), started_(std::chrono::steady_clock::now()) {}

void CheckReport::Add(CheckResult result) {
  OnOneLine(result.name);
  OnOneLine(result.detail);
  std::string line = result.passed ? "PASS " : "FAIL ";
  if (result.milliseconds)
    line += Fixed("%9.3f ms", *result.milliseconds) + "  ";
  if (line.size() < kNameColumn)  // a time of 100 seconds or more pushes the name on
    line.resize(kNameColumn, ' ');
  line += result.name;
  if (!result.detail.empty())
    line += ": " + result.detail;
  out_ << line << '\n' << std::flush;
  (result.passed ? passed_ : failed_) += 1;
  results_.push_back(std::move(result));
}

void CheckReport::Check(bool passed, std::string name, std::string detail, std::string group) {
  Add({std::move(name), passed, std::move(detail), std::nullopt, std::move(group)});
}

void CheckReport::Skip(const std::string& name, const std::string& why) {
  std::string line = "SKIP";
  line.resize(kNameColumn, ' ');
  line += name + ": " + why;
  OnOneLine(line);
  out_ << line << '\n' << std::flush;
}

int CheckReport::Finish(const std::optional<std::filesystem::path>& junit) {
  seconds_ = std::chrono::duration<double>(std::chrono::steady_clock::now() - started_).count();
  out_ << passed_ << " passed, " << failed_ << " failed\n" << std::flush;
  bool written = true;
  if (junit && !WriteJUnitFile(*junit)) {
    out_ << "cannot write the JUnit file " << junit->string() << '\n' << std::flush;
    written = false;
  }
  return written && failed_ == 0 && passed_ > 0 ? 0 : 1;
}

void CheckReport::WriteJUnit(std::ostream& out) const {
  out << "<?xml version=\"1.0\" encoding=\"UTF-8\"?>\n"
      << "<testsuites>\n<testsuite name=\"" << Xml(suite_) << "\" tests=\"" << results_.size()
      << "\" failures=\"" << failed_ << "\" errors=\"0\" time=\"" << Fixed("%.3f", seconds_)
      << "\">\n";
  for (const CheckResult& result : results_) {
    out << "  <testcase classname=\"" << Xml(result.group.empty() ? suite_ : result.group)
        << "\" name=\"" << Xml(result.name) << "\"";
    if (result.milliseconds)
      out << " time=\"" << Fixed("%.6f", *result.milliseconds / 1000.0) << "\"";
    if (result.passed)
      out << "/>\n";
    else
      out << ">\n    <failure message=\"" << Xml(result.detail) << "\"/>\n  </testcase>\n";
  }
  out << "</testsuite>\n</testsuites>\n";
}

bool CheckReport::WriteJUnitFile(const std::filesystem::path& file) const {
  if (file.empty())
    return false;
  std::ofstream out(file, std::ios::binary);
  WriteJUnit(out);
  out.close();
  return static_cast<bool>(out);
}

std::optional<std::filesystem::path> TakeJUnitOption(int& argc, char** argv) {
  return TakeOption(argc, argv, "--junit");
}

std::optional<std::filesystem::path> TakeJUnitOption(int& argc, wchar_t** argv) {
  return TakeOption(argc, argv, L"--junit");
}

}  // namespace quorvane::report
