// nelmora-penmaker IN.txt OUT.pen: makes a pen file from a pen description.
// The pens start as the program starts them (the default pens with the pen
// creator's shape settings), so a description names only what differs.
//
// "regen" with noise draws from the program's random generator; its state
// starts at 1 in every run, so the same description always gives the same map.

#include <filesystem>
#include <fstream>
#include <iostream>

#include "pen/pen_file.h"
#include "pen_description.h"
#include "pentools/pen_creator_defaults.h"

int main(int argc, char** argv)
{
    using namespace nelmora;
    if (argc != 3) {
        std::cerr << "usage: nelmora-penmaker IN.txt OUT.pen\n";
        return 2;
    }
    std::ifstream in(argv[1]);
    if (!in) {
        std::cerr << argv[1] << ": cannot be read\n";
        return 1;
    }
    AppState state;
    if (!initApplicationState(state)) {
        std::cerr << "out of memory\n";
        return 1;
    }
    applyPenCreatorDefaults(state);

    std::string error;
    bool ok = applyPenDescription(in, state, error);
    if (!ok) {
        std::cerr << argv[1] << ": " << error << "\n";
    } else {
        const std::filesystem::path out(argv[2]);
        const std::string folder = out.has_parent_path() ? out.parent_path().string() : std::string(".");
        ok = savePenFile(state.pens, state.shapeSettingsTable, folder, out.filename().string(), &error);
        if (!ok) std::cerr << error << "\n";
    }
    shutdownApplicationState(state);
    return ok ? 0 : 1;
}
