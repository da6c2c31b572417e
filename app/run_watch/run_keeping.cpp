#include "app/run_watch/run_keeping.h"

#include "parameter_file_reader.h"
#include "records/file_hash.h"
#include "records/input_files.h"
#include "records/run_folder.h"
#include "test_catalogue.h"

#include <QDir>
#include <QFileInfo>
#include <QThreadPool>

using namespace zentrope;

namespace {

// What the tester reads: the copy, not the window, which may have changed since.
ParameterSet ReadCopy(const QString& copy) {
    ParameterSet set;
    ApplyDefaults(set);
    ReadParameterFile(copy.toStdString(), set, [](const std::string&) {});
    return set;
}

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
    const FileHash testerHash = HashFile(tester);
    record.testerSize = testerHash.size;
    record.testerSha256 = testerHash.sha256;
    record.frontEndVersion = QStringLiteral(ZENTROPE_VERSION);
    record.startedAt = startedAt;
    record.n = set.n;
    record.NT = set.NT;
    record.enabledTests = EnabledTestsInOrder(set);
    return record;
}

} // namespace

RunKeeping::RunKeeping(std::unique_ptr<RunStore> store, qint64 id, QString folder, QString inFile,
                       QString testerFolder)
    : store_(std::move(store)), id_(id), folder_(std::move(folder)), inFile_(std::move(inFile)),
      testerFolder_(std::move(testerFolder)) {}

std::unique_ptr<RunKeeping> RunKeeping::Begin(const QString& root, const QString& tester,
                                              const QString& parameterFile,
                                              const QString& testerFolder) {
    StoreOpening opening = RunStore::open(root);
    if (!opening.store)
        return nullptr;
    const QDateTime startedAt = QDateTime::currentDateTime();
    const RunFolder folder = MakeRunFolder(opening.store->root(), startedAt);
    if (folder.path.isEmpty())
        return nullptr;
    const QString copy = folder.path + '/' + ParameterCopyName;
    if (!CopyWholeFile(parameterFile, copy).isEmpty()) {
        QDir(folder.path).removeRecursively();
        return nullptr;
    }
    const ParameterSet set = ReadCopy(copy);
    const RecordWriting writing = opening.store->add(RecordOf(folder.path, tester, set, startedAt));
    if (!writing.id)
        return nullptr;
    const QString inFile = QString::fromStdString(set.InFile.value_or(std::string()));
    return std::unique_ptr<RunKeeping>(
        new RunKeeping(std::move(opening.store), writing.id, folder.path, inFile, testerFolder));
}

QString RunKeeping::logPath() const {
    return folder_ + '/' + LogName;
}

void RunKeeping::describeInputsLater() const {
    if (inFile_.isEmpty())
        return;
    QThreadPool::globalInstance()->start(
        [root = store_->root(), id = id_, inFile = inFile_, folder = testerFolder_] {
            const InputsHash hashed = DescribeInputFiles(MatchInputFiles(inFile, folder));
            StoreOpening opening = RunStore::open(root);
            if (opening.store && !hashed.stopped)
                opening.store->setInputs(id, hashed.files);
        });
}

void RunKeeping::finish(const TesterEnd& end, const QString& writtenResult) {
    RunEnd runEnd;
    runEnd.endedAt = QDateTime::currentDateTime();
    runEnd.cancelled = end.cancelled;
    if (end.signalled)
        runEnd.endSignal = end.code;
    else if (end.code != -1)
        runEnd.exitCode = end.code;
    // A result that cannot be copied still leaves the run's end on record.
    if (!store_->finish(id_, runEnd, writtenResult).isEmpty() && !writtenResult.isEmpty())
        store_->finish(id_, runEnd);
}

void RunKeeping::abandon() {
    store_->remove(id_);
}
