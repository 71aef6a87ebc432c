#pragma once
// The five tool windows, as the main frame creates them at start-up: each
// factory returns a hidden top-level window (no owner) that edits `state`.
// The main frame shows and hides them and owns them for the whole run.

#include <functional>

class QWidget;

namespace nelmora {

struct AppState;

QWidget* createPenPaletteWindow(AppState& state);
QWidget* createColorCreatorWindow(AppState& state);
QWidget* createLineOptionWindow(AppState& state);
// Also writes the pen creator's slider defaults into both pens.
QWidget* createPenCreatorWindow(AppState& state);
// selectPen tells the pen creator which pen to edit when the pen set switches.
QWidget* createPenSetWindow(AppState& state, std::function<void(int penIndex)> selectPen);

// Makes the pen creator edit pen `penIndex` (0 or 1) and repaint.
void selectPen(QWidget* penCreatorWindow, int penIndex);

}  // namespace nelmora
