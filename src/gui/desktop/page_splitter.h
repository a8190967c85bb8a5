// The splitter between a scope page's rule grid and its band grid: the band pane opens at its
// designed height and keeps it when the page grows or shrinks (the rule pane's stretch takes
// the change); a height a user left is put back once the page is first shown.
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

private:
    void applyLower(int lower);

    int lower_;
    int pending_ = 0;  // a kept height waiting for the first showing
    bool shown_ = false;
};

}  // namespace gui
