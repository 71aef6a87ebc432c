#include "pentools/pen_library.h"

#include <algorithm>
#include <filesystem>
#include <system_error>

#include "pen/pen_file.h"
#include "text/shift_jis.h"

namespace nelmora {

namespace fs = std::filesystem;

std::string makePenRoot(const std::string& programFolder)
{
    return joinPath(programFolder, "Pen") + kPathSeparator;
}

SplitPath splitPath(const std::string& path)
{
    const size_t cut = path.rfind(kPathSeparator);
    if (cut == std::string::npos) return {std::string(), path};
    return {path.substr(0, cut + 1), path.substr(cut + 1)};
}

std::string displayName(const std::string& name)
{
    // Byte-wise search: a "." byte never occurs inside a multi-byte character.
    const size_t dot = name.rfind('.');
    if (dot == std::string::npos || dot == 0) return name;
    return name.substr(0, dot);
}

std::string itemText(const std::string& name)
{
    std::string shown = displayName(name);
    return isValidUtf8(shown) ? shown : shiftJisToUtf8(shown);
}

bool isPenFileName(const std::string& name)
{
    static constexpr char kExtension[] = ".pen";
    constexpr size_t length = sizeof kExtension - 1;
    if (name.size() < length) return false;
    for (size_t i = 0; i < length; ++i) {
        char c = name[name.size() - length + i];
        if (c >= 'A' && c <= 'Z') c = char(c - 'A' + 'a');
        if (c != kExtension[i]) return false;
    }
    return true;
}

namespace {

enum class Column { folders, pens };

// The names of `folder` that belong in the column, sorted. The directory search
// this listing stands for returned names sorted; a raw directory order here
// would be arbitrary, so the column is sorted by the names' bytes.
std::vector<std::string> columnNames(const std::string& folder, Column column)
{
    std::vector<std::string> names;
    std::error_code ec;
    fs::directory_iterator it(fs::path(folder), ec);
    for (; !ec && it != fs::directory_iterator(); it.increment(ec)) {
        std::string name = it->path().filename().string();
        if (name == "." || name == "..") continue;
        if (column == Column::folders) {
            std::error_code typeError;
            if (!it->is_directory(typeError)) continue;
        } else if (!isPenFileName(name)) {
            continue;
        }
        names.push_back(std::move(name));
    }
    std::sort(names.begin(), names.end());
    return names;
}

void appendColumn(std::vector<LibraryItem>& items, const std::string& folder, Column column, int x)
{
    int row = 0;
    for (std::string& name : columnNames(folder, column)) {
        items.push_back({folder, std::move(name), column == Column::folders, x, kFirstItemY + kItemPitch * row});
        ++row;
    }
}

}  // namespace

std::vector<LibraryItem> listPenLibrary(const std::string& penRoot, const std::string& folder)
{
    std::vector<LibraryItem> items;
    try {
        appendColumn(items, penRoot, Column::folders, kFolderColumnX);
        appendColumn(items, folder, Column::pens, kPenColumnX);
    } catch (const std::exception&) {
        // Out of memory while listing: show nothing rather than half a table.
        items.clear();
    }
    return items;
}

}  // namespace nelmora
