// nelmora-penmaker IN.txt OUT.pen: makes a pen file from a pen description.
// The pens start as the program starts them (the default pens with the pen
// creator's shape settings), so a description names only what differs.
//
// "regen" with noise draws from the program's random generator; its state
// starts at 1 in every run, so the same description always gives the same map.

#include <filesystem>
#include <fstream>
#include <iostream>

#include <new>

#include "doc/workspace.h"
#include "pen_description.h"

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
    try {
        Workspace workspace;
        std::string error;
        if (!applyPenDescription(in, workspace, error)) {
            std::cerr << argv[1] << ": " << error << "\n";
            return 1;
        }
        const std::filesystem::path out(argv[2]);
        const std::string folder = out.has_parent_path() ? out.parent_path().string() : std::string(".");
        if (!workspace.savePens(folder, out.filename().string(), &error)) {
            std::cerr << error << "\n";
            return 1;
        }
        return 0;
    } catch (const std::bad_alloc&) {
        std::cerr << "out of memory\n";
        return 1;
    }
}
