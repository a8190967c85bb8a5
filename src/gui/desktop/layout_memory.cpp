#include "gui/desktop/layout_memory.h"

#include <QDir>
#include <QFileInfo>
#include <QMainWindow>
#include <QMdiSubWindow>
#include <QSettings>
#include <QStandardPaths>

#include "gui/desktop/form_view.h"
#include "gui/desktop/grid_view.h"
#include "gui/desktop/page_splitter.h"

namespace gui {
namespace {

const QString kMainWindow = QStringLiteral("janela/geometria");
const QString kFolder = QStringLiteral("arquivos/pasta");

QString viewKey(const FormView& view, const QString& part) {
    return QStringLiteral("telas/%1/%2").arg(view.objectName(), part);
}

QVariantList toVariants(const QList<int>& numbers) {
    QVariantList out;
    for (int n : numbers) out.append(n);
    return out;
}

QList<int> toNumbers(const QVariant& stored) {
    QList<int> out;
    for (const QVariant& v : stored.toList()) out.append(v.toInt());
    return out;
}

}  // namespace

void LayoutMemory::showMainWindow(QMainWindow& window) {
    const QSettings settings;
    if (window.restoreGeometry(settings.value(kMainWindow).toByteArray()))
        window.show();
    else
        window.showMaximized();
}

void LayoutMemory::saveMainWindow(const QMainWindow& window) {
    QSettings settings;
    settings.setValue(kMainWindow, window.saveGeometry());
}

void LayoutMemory::restoreView(FormView& view, QMdiSubWindow& window) {
    const QSettings settings;
    const QRect at = settings.value(viewKey(view, QStringLiteral("geometria"))).toRect();
    if (at.isValid()) window.setGeometry(at);
    for (PageSplitter* splitter : view.splitters())
        splitter->setLowerHeight(settings.value(viewKey(view, "divisor/" + splitter->objectName())).toInt());
    for (GridView* grid : view.grids()) {
        const QList<int> widths = toNumbers(settings.value(viewKey(view, "colunas/" + grid->objectName())));
        if (!widths.isEmpty()) grid->setColumnWidths(widths);
    }
}

void LayoutMemory::saveView(const FormView& view, const QMdiSubWindow& window) {
    QSettings settings;
    // A maximised child's geometry is the area's: its normal one is what it goes back to.
    if (!window.isMaximized() && !window.isMinimized())
        settings.setValue(viewKey(view, QStringLiteral("geometria")), window.geometry());
    for (const PageSplitter* splitter : view.splitters())
        settings.setValue(viewKey(view, "divisor/" + splitter->objectName()), splitter->lowerHeight());
    for (const GridView* grid : view.grids())
        settings.setValue(viewKey(view, "colunas/" + grid->objectName()), toVariants(grid->columnWidths()));
}

QString LayoutMemory::fileFolder() {
    const QString kept = QSettings().value(kFolder).toString();
    if (!kept.isEmpty() && QDir(kept).exists()) return kept;
    return QStandardPaths::writableLocation(QStandardPaths::DocumentsLocation);
}

void LayoutMemory::rememberFile(const QString& path) {
    if (path.isEmpty()) return;
    QSettings settings;
    settings.setValue(kFolder, QFileInfo(path).absolutePath());
}

void LayoutMemory::forget() {
    QSettings settings;
    settings.remove(QStringLiteral("janela"));
    settings.remove(QStringLiteral("telas"));
}

}  // namespace gui
