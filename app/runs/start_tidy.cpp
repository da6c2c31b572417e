#include "app/runs/start_tidy.h"

#include "app/runs/unfinished_runs.h"
#include "records/folder_reindex.h"

#include <QStringList>

using namespace zentrope;

namespace {

void AddCount(QStringList& parts, int count, const char* one, const char* many) {
    if (count > 0)
        parts << (count == 1 ? QString::fromLatin1(one) : QString::fromLatin1(many).arg(count));
}

} // namespace

QString TidyRecordsAtStart(const QString& root) {
    StoreOpening opening = RunStore::Open(root);
    if (!opening.store)
        return QString();
    const FolderReindexing folders = ReindexRunFolders(*opening.store);
    const UnfinishedRuns runs = FinishUnfinishedRuns(*opening.store);
    QStringList parts;
    AddCount(parts, folders.indexed, "1 run folder recorded again from its own record",
             "%1 run folders recorded again from their own records");
    AddCount(parts, folders.removed, "1 half-made run folder removed",
             "%1 half-made run folders removed");
    AddCount(parts, runs.completed, "1 unfinished run completed from its folder",
             "%1 unfinished runs completed from their folders");
    AddCount(parts, runs.found, "1 running tester found again", "%1 running testers found again");
    AddCount(parts, runs.removed, "1 record of a tester that never started removed",
             "%1 records of testers that never started removed");
    AddCount(parts, runs.hashed, "1 tester's SHA-256 recorded", "%1 testers' SHA-256 recorded");
    return parts.isEmpty() ? QString()
                           : QStringLiteral("At start: %1.").arg(parts.join(QStringLiteral("; ")));
}
