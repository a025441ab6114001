// tessel-dump is built from commands, one per source file. Each file
// registers its options at start-up with a static `command_registration`.
#pragma once

#include <string>
#include <vector>

namespace tessel::dump {

struct command {
  // The option that selects the command, e.g. "--calendars"; "" for the
  // default command (a bare FILE).
  std::string option;
  // Usage line and one-line description for --help.
  std::string usage;
  std::string description;
  // Runs with the arguments that follow the option; returns the exit status.
  int (*run)(const std::vector<std::string>& args);
};

struct command_registration {
  explicit command_registration(command c);
};

// Prints "Can't open document: PATH" on stderr and answers exit status 1.
int refuse(const std::string& path);

}  // namespace tessel::dump
