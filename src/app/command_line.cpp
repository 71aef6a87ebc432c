#include "app/command_line.h"

#include "doc/undo_history.h"

namespace nelmora {

CommandLine parseCommandLine(const std::vector<std::string>& args)
{
    CommandLine line{CommandLine::run, {}, {}, kDefaultUndoBudget};
    const auto fail = [&line](std::string problem) {
        line.action = CommandLine::error;
        line.problem = std::move(problem);
        return line;
    };
    for (const std::string& arg : args) {
        if (arg == "--help" || arg == "-h") return {CommandLine::help, {}, {}, kDefaultUndoBudget};
        if (arg == "--version") return {CommandLine::version, {}, {}, kDefaultUndoBudget};
    }
    bool options = true;
    for (size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (options && arg == "--") {
            options = false;
        } else if (options && arg == "--undo-memory") {
            const auto budget = i + 1 < args.size() ? undoBudgetFromMiB(args[++i]) : std::nullopt;
            if (!budget) return fail("--undo-memory wants a number of MiB, 1 to 1048576");
            line.undoBudget = *budget;
        } else if (options && arg == "--reset-settings") {
            line.resetSettings = true;
        } else if (options && arg.size() > 1 && arg[0] == '-') {
            return fail("unknown option '" + arg + "'");
        } else if (!line.file.empty()) {
            return fail("only one picture can be opened");
        } else {
            line.file = arg;
        }
    }
    return line;
}

std::string commandLineUsage()
{
    return "usage: nelmora [--undo-memory MiB] [--reset-settings] [FILE]\n"
           "Starts the paint program, opening FILE (BMP, PNG, JPEG, WebP or TIFF) when given.\n"
           "  --undo-memory MiB  memory the undo history may keep (default 512)\n"
           "  --reset-settings   forget the saved window places and folders\n"
           "  --help             print this text and exit\n"
           "  --version          print the version and exit\n";
}

std::string versionText() { return std::string("nelmora ") + NELMORA_VERSION + "\n"; }

}  // namespace nelmora
