// The records of past runs: one folder per run under a root folder, and a SQLite index of
// them (runs.sqlite in the root) through Qt SQL.
#pragma once

#include "records/run_record.h"

#include <QList>
#include <QSqlDatabase>
#include <QString>
#include <functional>
#include <memory>
#include <optional>

namespace zentrope {

class RunStore;

struct StoreOpening {
    std::unique_ptr<RunStore> store; // null when the index could not be opened or is unsound
    QString error; // why, with the path and what to do; also set for a store that is read-only
};

struct RecordWriting {
    qint64 id = 0; // 0 when nothing was recorded
    QString error;
};

class RunStore {
public:
    // Opens, making or migrating it as needed, the index under `root` (made if missing),
    // checking it first. A damaged index, or one of a newer version, is left untouched and
    // gives no store; in a folder that cannot be written the store only reads. Each such
    // trouble is told once to StoreNotices. One store serves the thread that opened it.
    static StoreOpening Open(const QString& root);
    ~RunStore();
    RunStore(const RunStore&) = delete;
    RunStore& operator=(const RunStore&) = delete;

    QString Root() const { return root_; }
    // Whether the folder cannot be written, so that nothing is recorded.
    bool ReadOnly() const { return readOnly_; }

    // Records a run whose folder (from MakeRunFolder under this root) already holds its
    // files. A `result` path, when its file exists, is first copied into the folder. The
    // record becomes visible whole or not at all; when it cannot be written, its folder
    // is removed and nothing of it remains, so a run is added before its tester starts
    // writing into the folder, or once it has ended.
    RecordWriting Add(const RunRecord& record, const QString& result = QString());

    // Indexes a run folder that holds its files and its record file but has no row, as one
    // that a lost index or a stopped program leaves.
    RecordWriting Adopt(const RunRecord& record);

    // Notes how a recorded run ended, copying its `result` first as add() does. Returns an
    // empty text, or why not; the record is then left as it was.
    QString Finish(qint64 id, const RunEnd& end, const QString& result = QString());

    // Notes how the started tester is found again and where it writes its result.
    QString SetStart(qint64 id, const RunStart& start);
    QString SetStart(qint64 id, qint64 pid, const QString& resultPath) {
        return SetStart(id, RunStart{pid, resultPath, {}});
    }

    // Notes the tester's size and hash, once they are known.
    QString SetTester(qint64 id, qint64 size, const QString& sha256);

    // Notes how the run's kept result came out.
    QString SetVerdict(qint64 id, const BriefVerdict& verdict);

    // Replaces the recorded input files of a run, once their hashes are known.
    QString SetInputs(qint64 id, const QList<InputFileFacts>& inputs);

    // Every record, newest start first.
    QList<RunRecord> List() const;
    // The records whose texts hold every word of `text`, ignoring case; newest first.
    QList<RunRecord> Filter(const QString& text) const;
    std::optional<RunRecord> Get(qint64 id) const;

    // Removes the record, then its folder. Returns an empty text, or why not all of it
    // could be removed; a record that is gone stays gone even when its folder is not.
    QString Remove(qint64 id);

private:
    RunStore(QString root, QString connection);
    static StoreOpening OpenChecked(const QString& root);

    QSqlDatabase Db() const;
    QString FolderName(const QString& folder) const;
    // Runs `change` in one write transaction; returns an empty text, or why it failed.
    QString Write(const std::function<QString(QSqlDatabase&)>& change);
    // Tells the failure to StoreNotices; returns it.
    QString Told(const QString& failure) const;
    // A write to the run of `id` that its folder's record file follows; a failure is told.
    QString Update(qint64 id, const std::function<QString(QSqlDatabase&)>& change);

    QString root_;
    QString connection_;
    bool readOnly_ = false;
};

} // namespace zentrope
