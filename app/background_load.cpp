#include "app/background_load.h"

#include "app/table/result_column_widths.h"

#include <QEventLoop>
#include <QFutureWatcher>
#include <QProgressDialog>
#include <QTimer>
#include <QtConcurrent/QtConcurrentRun>
#include <new>
#include <stdexcept>

using namespace zentrope;

namespace {

constexpr int ShowProgressAfterMs = 1000;
constexpr int ProgressEveryMs = 100;

} // namespace

BuiltResultLoad BuildResultLoad(const std::string& path, const ResultLoadOptions& options,
                                ResultGrid start, const QFont& font, LoadWatch& watch) {
    BuiltResultLoad built;
    try {
        built.read = ReadResultFileBytes(path, &watch);
        if (!built.read.bytes)
            return built;
        built.lines.emplace(built.read.bytes);
        built.grid = std::move(start);
        built.outcome = LoadReadBytes(built.read, options, built.grid, {}, &watch);
        built.tooLarge = !built.outcome.loaded && !built.outcome.cancelled;
        if (built.outcome.loaded) {
            built.columnWidths = ResultColumnWidths(built.grid, font);
            built.reasons = ReadNoResultReasons(built.grid.FileText());
        }
    } catch (const std::bad_alloc&) {
        built.tooLarge = true;
    } catch (const std::length_error&) {
        built.tooLarge = true;
    }
    if (built.tooLarge) { // let go of what was read at once
        built.read.bytes.reset();
        built.lines.reset();
        built.grid = ResultGrid();
    }
    return built;
}

BuiltResultLoad WaitForResultLoad(QWidget* parent, const QString& path, LoadWatch& watch,
                                  std::function<BuiltResultLoad()> build) {
    QFutureWatcher<BuiltResultLoad> finished;
    QEventLoop loop;
    QObject::connect(&finished, &QFutureWatcherBase::finished, &loop, &QEventLoop::quit);
    finished.setFuture(QtConcurrent::run(std::move(build)));

    QProgressDialog progress(QStringLiteral("Loading %1 ...").arg(path), QStringLiteral("Cancel"),
                             0, 1000, parent);
    progress.setObjectName("PDload");
    progress.setWindowTitle(QStringLiteral("Zentrope GUI"));
    progress.setWindowModality(Qt::NonModal); // the window stays closable
    progress.setAutoReset(false);
    progress.setAutoClose(false);
    progress.setMinimumDuration(0);
    progress.hide();
    QObject::connect(&progress, &QProgressDialog::canceled, &loop, [&watch] { watch.Cancel(); });
    QTimer update;
    QObject::connect(&update, &QTimer::timeout, &progress, [&] {
        progress.setValue(watch.Permille());
        if (!progress.isVisible() && !watch.Cancelled())
            progress.show();
    });
    QTimer::singleShot(ShowProgressAfterMs, &update, [&update] { update.start(ProgressEveryMs); });
    if (!finished.isFinished())
        loop.exec();
    finished.waitForFinished();
    return finished.future().takeResult(); // a move: the table can hold millions of cells
}
