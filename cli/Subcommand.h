#pragma once
// A subcommand of quorvane-cli as an object: its name, its help, its arguments and options, and
// what it runs. Each lives in a file of its own (or with a few siblings) and is listed once in
// SubcommandRegistry.cpp, which fixes the order that --help and the manual page show.

#include <memory>
#include <string>
#include <vector>

#include "CommandLine.h"
#include "Commands.h"
#include "Output.h"

namespace CLI {
class App;
}

namespace quorvane::cli {

// A command-line text that is not what its option needs: exit status 2, no server call.
struct UsageProblem {
  std::string message;
};

// What a subcommand runs with: the console, the output format, and whether --raw asks for the
// server's replies as they came.
struct Invocation {
  Console& console;
  Format format;
  bool raw;
  bool junit = false;  // --format junit, which only a subcommand that WritesJUnit takes

  void Show(const Table& table) const { Write(console.out, table, format); }
  void Show(const RawReply& reply) const {
    WriteRaw(console.out, reply.operation, reply.reply, format);
  }
};

class Subcommand {
 public:
  Subcommand(std::string name, std::string help) : name_(std::move(name)), help_(std::move(help)) {}
  virtual ~Subcommand() = default;

  const std::string& Name() const { return name_; }
  const std::string& Help() const { return help_; }

  // Adds the subcommand's arguments and options, bound to fields of its own.
  virtual void AddOptions(CLI::App& command) = 0;
  // Reads the arguments once the locale settings are in force and before the server is asked
  // anything, so that a bad one costs no call; raises UsageProblem.
  virtual void Prepare() {}
  // Whether it needs the server of the runtime (a diff of two recordings does not), whether
  // --recording may stand in for it, and whether it takes --format junit.
  virtual bool NeedsServer() const { return true; }
  virtual bool AllowsRecording() const { return true; }
  virtual bool WritesJUnit() const { return false; }
  // Runs on the connected server (ServerIntf); gives the exit status.
  virtual int Run(const Invocation& invocation) = 0;

 private:
  std::string name_;
  std::string help_;
};

// Every subcommand, fresh for one run of the program, in the order of --help.
std::vector<std::unique_ptr<Subcommand>> MakeSubcommands();

}  // namespace quorvane::cli
