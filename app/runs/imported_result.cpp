#include "app/runs/imported_result.h"

#include "app/run_watch/run_folder_place.h"
#include "records/run_folder.h"
#include "records/run_store.h"
#include "results/verdict/run_verdict.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QThreadPool>
#include <atomic>
#include <filesystem>

using namespace zentrope;

namespace {

// The application waits for its pool before it ends: a copy still going then stops.
std::atomic<bool> Quitting = false;

bool LiesUnder(const QString& path, const QString& folder) {
    const QString canonicalFolder = QFileInfo(folder).canonicalFilePath();
    return !canonicalFolder.isEmpty() &&
           QFileInfo(path).canonicalFilePath().startsWith(canonicalFolder + '/');
}

bool SameBytes(const QString& a, const QString& b) {
    QFile first(a);
    QFile second(b);
    if (!first.open(QIODevice::ReadOnly) || !second.open(QIODevice::ReadOnly) ||
        first.size() != second.size())
        return false;
    constexpr qint64 Chunk = 1 << 20;
    while (!first.atEnd())
        if (first.read(Chunk) != second.read(Chunk))
            return false;
    return true;
}

// The same file loaded again unchanged is kept already; a second record would only repeat it.
bool KeptAlready(const RunStore& store, const QString& source) {
    for (const RunRecord& kept : store.list()) {
        const QString copy = QDir(kept.folder).filePath(ResultCopyName);
        std::error_code ec;
        if (kept.kind == RunKind::Imported && kept.source == source &&
            (std::filesystem::equivalent(QFile::encodeName(copy).toStdString(),
                                         QFile::encodeName(source).toStdString(), ec) ||
             SameBytes(copy, source)))
            return true;
    }
    return false;
}

void Record(const QString& root, const QString& path) {
    StoreOpening opening = RunStore::open(root);
    if (!opening.store || LiesUnder(path, RunsFolderOf(opening.store->root())) ||
        KeptAlready(*opening.store, QFileInfo(path).absoluteFilePath()))
        return;
    RunRecord record;
    record.kind = RunKind::Imported;
    record.startedAt = QDateTime::currentDateTime();
    const RunFolder folder = MakeRunFolder(opening.store->root(), record.startedAt);
    record.folder = folder.path;
    if (record.folder.isEmpty())
        return;
    record.source = QFileInfo(path).absoluteFilePath();
    record.frontEndVersion = QStringLiteral(ZENTROPE_VERSION);
    // A failed or stopped copy leaves no record and no folder behind.
    const QString kept = QDir(folder.path).filePath(ResultCopyName);
    if (!KeepFileAt(path, kept, [] { return Quitting.load(); }).isEmpty()) {
        QDir(folder.path).removeRecursively();
        return;
    }
    // Left to the Runs page's sweep when the application is quitting.
    if (!Quitting.load())
        record.verdict = JudgeResultFile(QFile::encodeName(kept).toStdString(), DefaultAlpha);
    opening.store->add(record);
}

} // namespace

void RecordImportedResult(const QString& path) {
    static const bool watchingQuit =
        QObject::connect(qApp, &QCoreApplication::aboutToQuit, [] { Quitting = true; });
    Q_UNUSED(watchingQuit);
    QThreadPool::globalInstance()->start([root = RunsRoot(), path] { Record(root, path); });
}
