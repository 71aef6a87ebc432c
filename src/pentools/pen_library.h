#pragma once
// The pen library on disk as the pen palette lists it: the folder "Pen" beside
// the program, its subfolders in one column and the pen files of the current
// folder in another. Qt-free, so the rules can be tested without a display.
//
// Names and paths are the file system's bytes, held in std::string: no fixed
// buffer, so names and paths of any length are kept whole.

#include <string>
#include <vector>

#include "pen/pen_file.h"  // kPathSeparator, joinPath

namespace nelmora {

// programFolder followed by "Pen" and a separator (a separator is put between
// them when programFolder lacks one).
std::string makePenRoot(const std::string& programFolder);

struct SplitPath {
    std::string folder;  // everything before the last separator, plus the separator
    std::string name;    // everything after it
};
// Without a separator the folder is empty and the name is the whole path.
SplitPath splitPath(const std::string& path);

// The name up to its last "."; the whole name when there is no "." or the
// only "." is the first character.
std::string displayName(const std::string& name);

// The text an item shows, as UTF-8: its display name, where a name that is
// not valid UTF-8 is read as CP932 (pen files from Japanese Windows machines
// keep their Shift-JIS names). Files are still opened by their own bytes.
std::string itemText(const std::string& name);

// True for names ending in ".pen" in any case (".pen" itself included).
bool isPenFileName(const std::string& name);

struct LibraryItem {
    std::string folder;  // where the entry was found, ending with a separator
    std::string name;    // the entry's name, extension included
    bool isFolder = false;
    int x = 0;
    int y = 0;
};

inline constexpr int kItemWidth = 80;
inline constexpr int kItemHeight = 16;
inline constexpr int kFolderColumnX = 10;
inline constexpr int kPenColumnX = 100;
inline constexpr int kFirstItemY = 10;
inline constexpr int kItemPitch = 15;

// The item table: folder items (subfolders of penRoot) first, then pen items
// (entries of `folder` matching "*.pen", whatever their type), each column
// sorted by name. A folder that is missing or cannot be read gives an empty
// column. Never throws.
std::vector<LibraryItem> listPenLibrary(const std::string& penRoot, const std::string& folder);

}  // namespace nelmora
