// Under the pages while a run goes: how long it has been waited for, its progress with an
// estimate of the time left, the newest lines of its log, a cluster's shards, and Cancel. The
// window stays usable meanwhile; the panel hides when no run is watched.
#pragma once

#include "app/run_watch/run.h"

#include <QPointer>
#include <QTimer>
#include <QWidget>

class QLabel;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;
class ShardView;

class RunPanel : public QWidget {
    Q_OBJECT
public:
    explicit RunPanel(QWidget* parent = nullptr);

    // Follows `run` until it ends; the panel shows it from now on.
    void Follow(Run& run);
    // The run has ended: the panel hides.
    void Done();

private:
    void Refresh();
    void ShowLines(const QStringList& lines);
    void CancelRun();

    QPointer<Run> run_;
    QLabel* waited_;
    QProgressBar* bar_;
    QLabel* timeLeft_;
    QPlainTextEdit* lines_;
    QPushButton* cancel_;
    ShardView* shards_; // a run on a cluster's shards
    QTimer ticker_;
};
