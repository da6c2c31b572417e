// The shards of a run on a Slurm cluster, in the run panel: each shard's sequences, state
// (pending, running with its progress, completed, failed, timed out, cancelled), Slurm's own
// state and exit code, and the last lines of the chosen shard's log; "Resubmit failed shards"
// once every shard has ended and some have no result.
#pragma once

#include "runner/slurm_backend.h"

#include <QPointer>
#include <QWidget>

class QLabel;
class QPlainTextEdit;
class QPushButton;
class QTableWidget;

// The state a shard shows in the table.
QString ShardStateText(const zentrope::ShardStatus& shard);

class ShardView : public QWidget {
    Q_OBJECT
public:
    explicit ShardView(QWidget* parent = nullptr);

    // Shows the backend's shards from now on, until Clear().
    void Follow(zentrope::SlurmBackend& backend);
    void Clear();

private:
    void Refresh();
    void ShowLog();
    // The shard whose log is shown: the one chosen, else the first without a result.
    int LogShard() const;

    QPointer<zentrope::SlurmBackend> backend_;
    QTableWidget* table_;
    QLabel* note_;
    QPlainTextEdit* log_;
    QPushButton* resubmit_;
};
