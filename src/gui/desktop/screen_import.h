// Operação › Importar tabela… in the desktop host: a spreadsheet file into a table through the
// screen's connection; on success the screen reads its tables again and stands on that one.
#pragma once
#include <QObject>

class QAction;
class QMdiArea;

namespace gui {

class ActionLoop;
class FormView;
class GuiUserInterface;

class ScreenImport : public QObject {
    Q_OBJECT

public:
    // When `view` shows the commission screen, adds the item to its Operação menu and returns
    // it, owned by the view; nullptr for any other form.
    static ScreenImport* Attach(FormView& view, QMdiArea& mdi, ActionLoop& loop, GuiUserInterface& ui);

    QAction& importAction() const { return *importAction_; }
    // Shows the import dialog; an accepted import moves the screen to the table filled.
    void openImport();

private:
    ScreenImport(FormView& view, QMdiArea& mdi, ActionLoop& loop, GuiUserInterface& ui);

    FormView* view_;
    QMdiArea& mdi_;
    ActionLoop& loop_;
    GuiUserInterface& ui_;
    QAction* importAction_ = nullptr;
};

}  // namespace gui
