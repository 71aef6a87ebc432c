#pragma once
// The pen palette ("PENPALETTE"): the pen library on disk as two columns of
// clickable items, folders on the left, the current folder's pens on the
// right, with a menu bar to save and load both pens through file dialogs.

#include <string>
#include <vector>

#include "doc/workspace.h"
#include "image/image.h"
#include "platform/wheel_notches.h"
#include "platform/tool_window.h"
#include "pentools/pen_library.h"

class QMenuBar;

namespace nelmora {

class PenPaletteWindow;

inline constexpr int kPaletteSaveCommand = 40037;
inline constexpr int kPaletteLoadCommand = 40038;
inline constexpr int kPaletteClientWidth = 190;
inline constexpr int kPaletteClientHeight = 300;

// What an item knows of itself.
struct PaletteItem {
    PenPaletteWindow* parent;
    int index;           // position in the palette's item table
    std::string folder;  // ends with a separator
    std::string name;    // extension included
    bool isFolder;
};

// One entry of the palette ("PPITEM"): an 80 x 16 bordered gradient with the
// entry's display name.
class PaletteItemWidget : public QWidget {
    Q_OBJECT
public:
    PaletteItemWidget(QWidget* client, PaletteItem item);
    const PaletteItem& item() const { return item_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void mousePressEvent(QMouseEvent* event) override;

private:
    PaletteItem item_;
};

class PenPaletteWindow : public ToolWindow {
    Q_OBJECT
public:
    // Lists penRoot at once; penRoot ends with a separator.
    PenPaletteWindow(Workspace& workspace, std::string penRoot);

    // The menu commands (kPaletteSaveCommand, kPaletteLoadCommand); others are ignored.
    void command(int id);
    // What a left click on item `index` does.
    void itemClicked(int index);

    const std::string& penRoot() const { return penRoot_; }
    const std::string& currentFolder() const { return currentFolder_; }
    int itemCount() const { return int(items_.size()); }
    PaletteItemWidget* item(int index) const { return items_.at(size_t(index)); }
    int selectedPenItem() const { return selectedPenItem_; }
    int selectedFolderItem() const { return selectedFolderItem_; }
    // The pen file last loaded through the palette; empty before the first.
    const PenFileName& loadedPen() const { return loadedPen_; }
    bool isHighlighted(const PaletteItem& item) const;
    QMenuBar* menuBar() const { return menuBar_; }
    QWidget* client() const { return client_; }
    // The surface on which every item composes its picture; null when it could not be made.
    Image* itemImage() const { return itemImage_.get(); }
    int scrollRows() const { return scrollRows_; }

protected:
    // Rolls both columns by whole rows, so entries below the window stay reachable.
    void wheelEvent(QWheelEvent* event) override;

private:
    void listFolder(const std::string& folder);
    // Lists the folder of the folder item named `name` and highlights that item.
    void openFolder(const std::string& name);
    // Finds the open folder's item and the loaded pen's item again by name.
    void findHighlights();
    void placeItems();
    void save();
    void load();

    Workspace& workspace_;
    std::string penRoot_;
    std::string currentFolder_;
    std::vector<PaletteItemWidget*> items_;
    int selectedPenItem_ = -1;
    int selectedFolderItem_ = -1;
    std::string openFolderName_;  // the folder item last opened; empty while the root is listed
    PenFileName loadedPen_;
    int scrollRows_ = 0;
    WheelNotches wheel_;
    int rowCount_ = 0;  // rows of the longer column
    ImagePtr itemImage_;
    QMenuBar* menuBar_ = nullptr;
    QWidget* client_ = nullptr;
};

}  // namespace nelmora
