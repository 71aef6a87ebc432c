#pragma once
// Where the pen palette's library is. Run from the build folder, it is the
// "Pen" folder beside the program, as it always was. Installed, the program
// finds the starter library in share/nelmora/Pen beside its bin/ folder and
// cannot write there, so the palette uses the user's own library instead,
// seeded once with a copy of the starter pens. Qt-free.

#include <string>

namespace nelmora {

struct PenLibraryPlaces {
    std::string programFolder;   // the folder holding the program
    std::string starterLibrary;  // where an installed program's starter pens are
    std::string userLibrary;     // $XDG_DATA_HOME/nelmora/Pen
};

struct PenLibraryChoice {
    std::string root;     // the palette's root, ending with a separator
    std::string problem;  // why the user's library could not be made; empty when all went well
};

// A "Pen" folder beside the program wins (the build folder); then an installed
// starter library means the user's library, made and seeded when it does not
// exist yet; without either, the folder beside the program, as before. When
// the user's library cannot be made the palette shows the starter library,
// where saving fails with a message rather than silently.
PenLibraryChoice choosePenLibrary(const PenLibraryPlaces& places);

// Makes `userLibrary` with a copy of `starterLibrary` when it does not exist
// yet; an existing library is left alone, so a user's pens are never
// overwritten and removed starter pens do not come back. False with a reason
// when the folder could not be made.
bool seedUserLibrary(const std::string& starterLibrary, const std::string& userLibrary, std::string* problem);

}  // namespace nelmora
