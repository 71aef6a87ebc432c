#pragma once
// The program's own arguments: nelmora [--help | --version] [--undo-memory MiB] [--reset-settings] [FILE].

#include <cstddef>
#include <string>
#include <vector>

namespace nelmora {

struct CommandLine {
    enum Action { run, help, version, error };
    Action action = run;
    std::string file;     // the picture to open at start-up; empty for none
    std::string problem;  // for error
    size_t undoBudget;    // bytes the undo history may keep
    bool resetSettings = false;  // start from the default windows, forgetting the saved ones
};

// args without the program name. --help and --version win wherever they
// stand; "--" ends the options, so a file may start with '-'.
CommandLine parseCommandLine(const std::vector<std::string>& args);

// The texts printed for --help and --version.
std::string commandLineUsage();
std::string versionText();

}  // namespace nelmora
