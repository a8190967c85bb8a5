// What the desktop keeps of its layout between runs, in the platform's usual settings store
// (QSettings of the application's organisation and name): the main window's size and state,
// each screen's window, splitters and column widths, and the folder of the last file chosen.
#pragma once
#include <QString>

class QMainWindow;
class QMdiSubWindow;

namespace gui {

class FormView;

class LayoutMemory {
public:
    // Shows `window` as it was left; maximised when nothing was kept.
    static void showMainWindow(QMainWindow& window);
    static void saveMainWindow(const QMainWindow& window);

    // Puts a screen's window, splitters and column widths as they were left; nothing for a
    // screen never kept.
    static void restoreView(FormView& view, QMdiSubWindow& window);
    static void saveView(const FormView& view, const QMdiSubWindow& window);

    // The folder the file dialogs open in: the last one a file was chosen in, else the
    // user's documents folder.
    static QString fileFolder();
    // Keeps the folder of `path` (a file just chosen).
    static void rememberFile(const QString& path);

    // Forgets the windows, splitters and columns kept (not the folder): the next run opens
    // as the first did.
    static void forget();
};

}  // namespace gui
