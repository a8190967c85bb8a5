// One desktop for one server and local catalogue at a time: a second one started on them
// is told, in Portuguese, that one is open already and what to do.
#pragma once
#include <QLockFile>
#include <QString>
#include <memory>

class QWidget;

namespace gui {

class DesktopLock {
public:
    // The lock of the desktops of `server` ("host:port") and `catalogue` (the local
    // database's file), in the user's runtime folder; `folder` overrides it (tests).
    DesktopLock(const QString& server, const QString& catalogue, const QString& folder = QString());

    // True when no other desktop holds the lock (it is then this one's until destroyed).
    bool take();
    // The text telling the user a desktop is open on the same server and catalogue.
    QString refusal() const;
    // Asks the user, when another desktop holds the lock, whether to open this one all the
    // same; true when this desktop may go on.
    bool takeOrAsk(QWidget* parent);

private:
    QString server_, catalogue_;
    std::unique_ptr<QLockFile> lock_;
};

}  // namespace gui
