#include "app/run_watch/run_keeping.h"

#include "app/run_watch/hashing_progress.h"
#include "app/runs/record_verdicts.h"

#include "model/test_catalogue.h"
#include "paramfile/parameter_file_reader.h"
#include "records/file_hash.h"
#include "records/input_files.h"
#include "records/run_folder.h"

#include <QDir>
#include <QFileInfo>
#include <QThreadPool>

using namespace zentrope;

namespace {

QStringList EnabledTestsInOrder(const ParameterSet& set) {
    QStringList tests;
    for (const int8_t slot : set.ExecutionOrder)
        if (slot >= 0 && slot < TestCount && set.Enable[slot])
            tests << QString::fromUtf8(DisplayName(slot + 1));
    return tests;
}

RunRecord RecordOf(const QString& folder, const QString& tester, const ParameterSet& set,
                   const QDateTime& startedAt) {
    RunRecord record;
    record.folder = folder;
    record.testerPath = QFileInfo(tester).absoluteFilePath();
    record.testerSize = QFileInfo(tester).size(); // its hash comes later, off this thread
    record.frontEndVersion = QStringLiteral(ZENTROPE_VERSION);
    record.startedAt = startedAt;
    record.n = set.n;
    record.NT = set.NT;
    record.enabledTests = EnabledTestsInOrder(set);
    return record;
}

} // namespace

ParameterSet ReadKeptParameters(const QString& path) {
    ParameterSet set;
    ApplyDefaults(set);
    ReadParameterFile(path.toStdString(), set, [](const std::string&) {});
    return set;
}

RunKeeping::RunKeeping(std::unique_ptr<RunStore> store, qint64 id, QString folder, QString tester,
                       QString inFile, QString testerFolder)
    : store_(std::move(store)), id_(id), folder_(std::move(folder)), tester_(std::move(tester)),
      inFile_(std::move(inFile)), testerFolder_(std::move(testerFolder)) {}

std::unique_ptr<RunKeeping> RunKeeping::Begin(const QString& root, const QString& tester,
                                              const QString& parameterFile,
                                              const QString& testerFolder) {
    StoreOpening opening = RunStore::Open(root);
    if (!opening.store)
        return nullptr;
    const QDateTime startedAt = QDateTime::currentDateTime();
    const RunFolder folder = MakeRunFolder(opening.store->Root(), startedAt);
    if (folder.path.isEmpty())
        return nullptr;
    const QString copy = folder.path + '/' + ParameterCopyName;
    if (!CopyWholeFile(parameterFile, copy).isEmpty()) {
        QDir(folder.path).removeRecursively();
        return nullptr;
    }
    // What the tester reads: the copy, not the window, which may have changed since.
    const ParameterSet set = ReadKeptParameters(copy);
    const RecordWriting writing = opening.store->Add(RecordOf(folder.path, tester, set, startedAt));
    if (!writing.id)
        return nullptr;
    const QString inFile = QString::fromStdString(set.InFile.value_or(std::string()));
    std::unique_ptr<RunKeeping> keeping(new RunKeeping(std::move(opening.store), writing.id,
                                                       folder.path, tester, inFile, testerFolder));
    keeping->sequences_ = set.NT;
    return keeping;
}

QString RunKeeping::LogPath() const {
    return folder_ + '/' + LogName;
}

void RunKeeping::DescribeFilesLater() const {
    HashingProgress& progress = HashingProgress::Instance();
    QThreadPool::globalInstance()->start([root = store_->Root(), id = id_, tester = tester_,
                                          inFile = inFile_, folder = testerFolder_, &progress] {
        StoreOpening opening = RunStore::Open(root);
        if (!opening.store)
            return;
        const FileHash testerHash = HashFile(tester);
        opening.store->SetTester(id, testerHash.size, testerHash.sha256);
        if (!inFile.isEmpty()) {
            progress.Report(id, 0, 1);
            const InputsHash hashed =
                DescribeInputFiles(MatchInputFiles(inFile, folder), [&](qint64 done, qint64 all) {
                    progress.Report(id, done, all);
                    return true;
                });
            if (!hashed.stopped)
                opening.store->SetInputs(id, hashed.files);
            progress.Finish(id);
        }
    });
}

std::unique_ptr<RunKeeping> RunKeeping::Reopen(const QString& root, const RunRecord& record) {
    StoreOpening opening = RunStore::Open(root);
    if (!opening.store)
        return nullptr;
    return std::unique_ptr<RunKeeping>(new RunKeeping(std::move(opening.store), record.id,
                                                      record.folder, record.testerPath, QString(),
                                                      QString()));
}

void RunKeeping::NoteStart(const RunBackend& run, const QString& resultPath) {
    store_->SetStart(id_, RunStart{run.ProcessId(), resultPath, run.Identity()});
}

void RunKeeping::Finish(const TesterEnd& end, const QString& writtenResult) {
    RunEnd runEnd;
    runEnd.endedAt = QDateTime::currentDateTime();
    runEnd.cancelled = end.cancelled;
    if (end.signalled)
        runEnd.endSignal = end.code;
    else if (end.code != -1)
        runEnd.exitCode = end.code;
    // A result that cannot be copied still leaves the run's end on record.
    if (!store_->Finish(id_, runEnd, writtenResult).isEmpty() && !writtenResult.isEmpty())
        store_->Finish(id_, runEnd);
    RecordVerdicts::Instance().JudgeLater(store_->Root(), id_);
}

void RunKeeping::Abandon() {
    store_->Remove(id_);
}
