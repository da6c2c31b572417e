#include "app/runs/imported_result.h"

#include "app/run_watch/run_folder_place.h"
#include "records/run_folder.h"
#include "records/run_store.h"
#include "results/run_verdict.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QThreadPool>

using namespace zentrope;

namespace {

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
    for (const RunRecord& kept : store.list())
        if (kept.kind == RunKind::Imported && kept.source == source &&
            SameBytes(QDir(kept.folder).filePath(ResultCopyName), source))
            return true;
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
    record.folder = MakeRunFolder(opening.store->root(), record.startedAt).path;
    if (record.folder.isEmpty())
        return;
    record.source = QFileInfo(path).absoluteFilePath();
    record.frontEndVersion = QStringLiteral(ZENTROPE_VERSION);
    record.verdict = JudgeResultFile(QFile::encodeName(path).toStdString(), DefaultAlpha);
    // A failed copy leaves no record and no folder behind.
    opening.store->add(record, path);
}

} // namespace

void RecordImportedResult(const QString& path) {
    QThreadPool::globalInstance()->start([root = RunsRoot(), path] { Record(root, path); });
}
