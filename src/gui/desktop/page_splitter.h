// The splitter between a scope page's rule grid and its band grid: when the page grows or
// shrinks (the window maximised or restored) the rule grid takes the change, and the band
// grid keeps its height (some rows of the current rule's bands, never a tall empty pane).
#pragma once
#include <QSplitter>

namespace gui {

class PageSplitter : public QSplitter {
    Q_OBJECT

public:
    // `lower`: the band pane's designed height.
    PageSplitter(QWidget* parent, int lower);

    // The band pane back at its designed height, the rule pane the rest.
    void restoreDesign();
    // The band pane's height as a user left it (applied once the splitter is first shown).
    int lowerHeight() const;
    void setLowerHeight(int lower);

protected:
    void showEvent(QShowEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void applyLower(int lower);

    int lower_;
    int pending_ = 0;  // a kept height waiting for the first showing
    bool shown_ = false;
    int laidOutHeight_ = 0;  // the height the panes were last laid out for
};

}  // namespace gui
