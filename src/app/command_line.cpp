#include "app/command_line.h"

namespace nelmora {

CommandLine parseCommandLine(const std::vector<std::string>& args)
{
    CommandLine line;
    for (const std::string& arg : args) {
        if (arg == "--help" || arg == "-h") return {CommandLine::help, {}, {}};
        if (arg == "--version") return {CommandLine::version, {}, {}};
    }
    bool options = true;
    for (const std::string& arg : args) {
        if (options && arg == "--") {
            options = false;
        } else if (options && arg.size() > 1 && arg[0] == '-') {
            line = {CommandLine::error, {}, "unknown option '" + arg + "'"};
            return line;
        } else if (!line.file.empty()) {
            return {CommandLine::error, {}, "only one picture can be opened"};
        } else {
            line.file = arg;
        }
    }
    return line;
}

std::string commandLineUsage()
{
    return "usage: nelmora [FILE]\n"
           "Starts the paint program, opening FILE (BMP, PNG, JPEG, WebP or TIFF) when given.\n"
           "  --help     print this text and exit\n"
           "  --version  print the version and exit\n";
}

std::string versionText() { return std::string("nelmora ") + NELMORA_VERSION + "\n"; }

}  // namespace nelmora
