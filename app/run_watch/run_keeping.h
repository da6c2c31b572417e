// The record of one launch in the run store: its folder, holding the parameter file's copy and
// the tester's log, recorded before the tester starts; its input files, hashed off the window's
// thread; and how it ended.
#pragma once

#include "model/parameter_set.h"
#include "records/run_store.h"
#include "runner/run_backend.h"

#include <QString>
#include <memory>

// A kept parameter file as the tester reads it: over the defaults, messages left unshown.
zentrope::ParameterSet ReadKeptParameters(const QString& path);

class RunKeeping {
public:
    // Null when no store or folder could be had: the run then goes on unrecorded, since a
    // record is no reason to refuse a run.
    static std::unique_ptr<RunKeeping> Begin(const QString& root, const QString& tester,
                                             const QString& parameterFile,
                                             const QString& testerFolder);

    // The record of a run an earlier window started; null when the store cannot be opened.
    static std::unique_ptr<RunKeeping> Reopen(const QString& root,
                                              const zentrope::RunRecord& record);

    qint64 Id() const { return id_; }
    zentrope::RunStore& Store() const { return *store_; }
    // The number of sequences the kept parameter file asks for.
    qint32 Sequences() const { return sequences_; }
    // The kept parameter file's InFile; empty for the generator.
    QString InFile() const { return inFile_; }
    QString LogPath() const;

    // Hashes the tester and the input files on a pool thread, which records them through a
    // store of its own, telling HashingProgress how far it has come; returns at once. The
    // application waits for the pool before it ends.
    void DescribeFilesLater() const;
    // Notes how the backend finds the started run again and where it writes its result, so
    // that a run left to itself can be watched or completed later.
    void NoteStart(const zentrope::RunBackend& run, const QString& resultPath);
    // Notes the end, copying the result when this run wrote it (an empty path otherwise), and
    // has the kept result judged for the record.
    void Finish(const zentrope::TesterEnd& end, const QString& writtenResult);
    // A tester that never started leaves no record.
    void Abandon();

private:
    RunKeeping(std::unique_ptr<zentrope::RunStore> store, qint64 id, QString folder, QString tester,
               QString inFile, QString testerFolder);

    std::unique_ptr<zentrope::RunStore> store_;
    qint64 id_;
    QString folder_;
    QString tester_;
    QString inFile_;
    QString testerFolder_;
    qint32 sequences_ = 0;
};
