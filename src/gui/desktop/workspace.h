// Where a new MDI child goes: inside the part of the area the user sees, however small the
// main window, so no window opens with its title bar or close box out of reach.
#pragma once
#include <QSize>

class QMdiArea;
class QMdiSubWindow;
class QWidget;

namespace gui {

// Adds `content` to `area` at `wanted` size, shrunk to the visible workspace, and placed
// in it (a step down and right of the windows already open, as a cascade would).
QMdiSubWindow* AddToWorkspace(QMdiArea& area, QWidget* content, QSize wanted);

// Moves and shrinks `window` back into the visible workspace when part of it lies outside.
void KeepInWorkspace(QMdiArea& area, QMdiSubWindow& window);

}  // namespace gui
