#include "records/folder_reindex.h"

#include "records/record_file.h"
#include "records/run_folder.h"

#include <QDir>
#include <QFileInfo>
#include <QSet>

namespace zentrope {
namespace {

// A folder is made and locked in one step but for an instant; an empty folder younger than
// this may be one in that instant.
constexpr qint64 EmptyFolderGraceSeconds = 60;

bool LeftHalfMade(const QString& folder) {
    if (FolderBeingMade(folder))
        return false;
    const QDir dir(folder);
    return !dir.isEmpty(QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden) ||
           QFileInfo(folder).lastModified().secsTo(QDateTime::currentDateTime()) >
               EmptyFolderGraceSeconds;
}

} // namespace

FolderReindexing ReindexRunFolders(RunStore& store) {
    FolderReindexing done;
    if (store.ReadOnly())
        return done;
    QSet<QString> indexed;
    for (const RunRecord& record : store.List()) {
        indexed.insert(QDir::cleanPath(record.folder));
        if (record.folderPresent &&
            !QFileInfo::exists(QDir(record.folder).filePath(RecordFileName)))
            WriteRecordFile(record);
    }
    const QDir runs(RunsFolderOf(store.Root()));
    for (const QFileInfo& entry : runs.entryInfoList(QDir::Dirs | QDir::NoDotAndDotDot)) {
        const QString folder = QDir::cleanPath(entry.absoluteFilePath());
        if (indexed.contains(folder) || FolderBeingMade(folder))
            continue;
        if (const std::optional<RunRecord> record = ReadRecordFile(folder)) {
            done.indexed += store.Adopt(*record).id != 0;
        } else if (LeftHalfMade(folder) && QDir(folder).removeRecursively()) {
            ++done.removed;
        }
    }
    return done;
}

} // namespace zentrope
