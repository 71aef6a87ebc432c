#include "pentools/pen_library_location.h"

#include <filesystem>
#include <system_error>

#include "pentools/pen_library.h"

namespace nelmora {

namespace fs = std::filesystem;

namespace {

bool isFolder(const std::string& path)
{
    std::error_code ec;
    return fs::is_directory(fs::path(path), ec);
}

std::string withSeparator(std::string folder)
{
    if (folder.empty() || folder.back() != kPathSeparator) folder += kPathSeparator;
    return folder;
}

}  // namespace

bool seedUserLibrary(const std::string& starterLibrary, const std::string& userLibrary, std::string* problem)
{
    std::error_code ec;
    const fs::path user(userLibrary);
    if (fs::exists(user, ec)) {
        if (fs::is_directory(user, ec)) return true;
        if (problem) *problem = userLibrary + " is not a folder";
        return false;
    }
    // The copy is made beside the library and renamed into place, so a start
    // that is cut short never leaves a half-seeded library behind for good.
    const fs::path partial = user.parent_path() / (user.filename().string() + ".partial");
    fs::remove_all(partial, ec);
    fs::create_directories(partial, ec);
    if (!ec && isFolder(starterLibrary)) fs::copy(fs::path(starterLibrary), partial, fs::copy_options::recursive, ec);
    if (!ec) fs::rename(partial, user, ec);
    if (ec) {
        std::error_code ignored;
        fs::remove_all(partial, ignored);
        if (problem) *problem = userLibrary + ": " + ec.message();
        return false;
    }
    return true;
}

PenLibraryChoice choosePenLibrary(const PenLibraryPlaces& places)
{
    const std::string besideProgram = makePenRoot(places.programFolder);
    if (isFolder(besideProgram) || !isFolder(places.starterLibrary)) return {besideProgram, {}};
    std::string problem;
    if (seedUserLibrary(places.starterLibrary, places.userLibrary, &problem))
        return {withSeparator(places.userLibrary), {}};
    return {withSeparator(places.starterLibrary), problem};
}

}  // namespace nelmora
