// The commission screen's pictures and report in the desktop host: the items it adds to
// the screen's menus, the timeline and band chart windows that follow the screen's data
// sets, and the printed report of the current table.
#pragma once
#include <QObject>
#include <QPointer>
#include <memory>
#include <optional>

#include "gui/pictures/band_chart.h"
#include "gui/pictures/timeline.h"

class QAction;
class QMdiArea;
class QMdiSubWindow;

namespace gui {

class ActionLoop;
class BandChartView;
class CommissionData;
class FormView;
class GuiUserInterface;
class TimelineView;
struct CommissionReport;

class ScreenPictures : public QObject {
    Q_OBJECT

public:
    // When `view` shows the commission screen (its form holds the data sets the pictures
    // read), adds the items to its menus and returns the pictures, owned by the view;
    // nullptr for any other form. They let go of the screen when the view detaches.
    static ScreenPictures* Attach(FormView& view, QMdiArea& mdi, ActionLoop& loop, GuiUserInterface& ui);
    ~ScreenPictures() override;

    // Manutenção › Linha do tempo and Gráfico das faixas; Operação › Relatório da comissão…
    QAction& timelineAction() const { return *timelineAction_; }
    QAction& bandChartAction() const { return *bandChartAction_; }
    QAction& reportAction() const { return *reportAction_; }

    // Open the picture's window (or bring it to the front).
    void openTimeline();
    void openBandChart();
    // Reads the current table's report and asks where it goes: a printer, or a PDF file.
    void openReport();
    // Writes the current table's report as a PDF file, as the print dialog's file output
    // does; failures are shown as errors.
    void writeReportPdf(const QString& path);

    // The open windows' pictures; nullptr when closed.
    TimelineView* timeline() const;
    BandChartView* bandChart() const;
    // Moves the screen to a timeline bar's table or promotion the way a user does: a click
    // on its page's tab, then on its row. A refusal on the way (a check) stops there.
    void moveTo(const TimelineHit& hit);
    // Moves the band grid of the page shown to a band of the chart, as a click on its row.
    void moveToBand(double number);

private:
    struct Screen;
    ScreenPictures(FormView& view, std::unique_ptr<Screen> screen, QMdiArea& mdi, ActionLoop& loop,
                   GuiUserInterface& ui);
    void detach();
    // A data set or the page changed; `promotions`: the promotions read before may be stale.
    void changed(bool promotions);
    void refresh();
    double currentTable() const;
    TimelineData readTimeline();
    BandChartData readBandChart() const;
    std::optional<CommissionReport> currentReport();
    QMdiSubWindow* addWindow(QWidget* picture, const char* name, QSize size);

    QMdiArea& mdi_;
    ActionLoop& loop_;
    GuiUserInterface& ui_;
    std::unique_ptr<Screen> screen_;
    // The current table's promotions read through the screen's connection while its own
    // promotion list holds another table's (it loads them only on its promotion page).
    std::unique_ptr<CommissionData> fetched_;
    double fetchedFor_ = 0;
    bool fetchedValid_ = false;
    QAction* timelineAction_ = nullptr;
    QAction* bandChartAction_ = nullptr;
    QAction* reportAction_ = nullptr;
    QPointer<QMdiSubWindow> timelineWindow_, bandChartWindow_;
    QPointer<TimelineView> timeline_;
    QPointer<BandChartView> bandChart_;
    bool dirty_ = false;
    bool scheduled_ = false;
    int afterActionId_ = 0;
};

}  // namespace gui
