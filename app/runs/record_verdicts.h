// The verdicts of recorded runs, judged from their kept result files on pool threads so that
// the list of runs never reads a result file to show itself.
#pragma once

#include <QObject>
#include <QString>

class RecordVerdicts : public QObject {
    Q_OBJECT
public:
    // Made on first use, which must be on the window's thread.
    static RecordVerdicts& Instance();

    // Judges the run's kept result at the default level and notes it in its record; returns at
    // once. The application waits for the pool before it ends.
    void JudgeLater(const QString& root, qint64 id);
    // Does so, once, for every record of the store under `root` that is due a verdict (one
    // recorded before verdicts were kept, or whose result came in late); returns at once, and
    // does nothing while an earlier call is still at it.
    void JudgeAllDueLater(const QString& root);

signals:
    // Queued to receivers on the window's thread: the run's record holds its verdict now.
    void Judged(qint64 id);

private:
    QAtomicInt sweeping_;
};
