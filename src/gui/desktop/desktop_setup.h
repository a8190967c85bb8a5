// What the desktop sets on the Qt application before its first window: its names (which
// name its settings store), Qt's texts in Portuguese and a readable palette.
#pragma once

class QApplication;

namespace gui {

// False when Qt's Portuguese translation is missing (the rest is set all the same).
bool PrepareDesktop(QApplication& app);

}  // namespace gui
