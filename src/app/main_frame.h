#pragma once
// The main frame: owns the application state, the canvas and the five tool
// windows, and carries the menu "MYMENU" with its commands.

#include <QMainWindow>
#include <array>
#include <map>

#include "app/app_state.h"
#include "app/canvas_stroke.h"

class QAction;
class QMenu;

namespace nelmora {

class CanvasWindow;

// Menu command identifiers.
namespace command {
inline constexpr int kOpen = 40001;
inline constexpr int kExit = 40002;
inline constexpr int kRedraw = 40003;
inline constexpr int kFillWhite = 40004;
inline constexpr int kFillChecker = 40005;
inline constexpr int kFillBlack = 40006;
inline constexpr int kSave = 40009;
inline constexpr int kNew = 40012;
inline constexpr int kToolOptions = 40019;
inline constexpr int kColorPalette = 40020;
inline constexpr int kColorCreator = 40021;
inline constexpr int kPenPalette = 40022;
inline constexpr int kLineOption = 40023;
inline constexpr int kPenCreator = 40024;
inline constexpr int kPenSet = 40025;
inline constexpr int kToolbar = 40026;
inline constexpr int kHelp = 65535;
}  // namespace command

// Tool windows by their place in the frame's list.
enum ToolIndex { kPenPaletteTool = 0, kColorCreatorTool, kLineOptionTool, kPenCreatorTool, kPenSetTool, kToolCount };

class MainFrame : public QMainWindow {
    Q_OBJECT
public:
    // Runs the whole start-up: state, canvas, tool windows, their visibility.
    explicit MainFrame(StrokeOps strokeOps = engineStrokeOps());
    ~MainFrame() override;

    // False when start-up ran out of memory; nothing else was built then.
    bool started() const { return started_; }

    AppState& state() { return state_; }
    CanvasWindow* canvas() const { return canvas_; }
    // Null once the frame has closed.
    QWidget* toolWindow(int index) const { return toolWindows_[size_t(index)]; }
    bool toolVisible(int index) const { return toolVisible_[size_t(index)] != 0; }
    // The menu item of a command id, or null.
    QAction* action(int id) const;

    // The menu commands.
    void newImage();
    void openImage();
    void saveImage();
    void fill(uint32_t a, uint32_t b);
    void toggleTool(int index);

protected:
    void closeEvent(QCloseEvent* event) override;

private:
    void buildMenu();
    QAction* addCommand(QMenu* menu, const char* label, int id);
    void applyVisibility();
    void fitCanvasToImage();
    void destroyToolWindows();

    AppState state_;
    bool started_ = false;
    CanvasWindow* canvas_ = nullptr;
    std::array<QWidget*, kToolCount> toolWindows_{};
    std::array<int, kToolCount> toolVisible_{1, 1, 1, 0, 0};
    std::map<int, QAction*> actions_;
};

}  // namespace nelmora
