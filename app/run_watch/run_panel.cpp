#include "app/run_watch/run_panel.h"

#include "app/run_watch/shard_view.h"
#include "app/run_watch/time_texts.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>
#include <climits>

namespace {

// Often enough for the time waited to look live, rarely enough to cost nothing.
constexpr int RefreshMs = 500;
constexpr int KeptLines = 12;
constexpr int ShownLines = 6; // the older ones a scroll away

} // namespace

RunPanel::RunPanel(QWidget* parent)
    : QWidget(parent), waited_(new QLabel(this)), bar_(new QProgressBar(this)),
      timeLeft_(new QLabel(this)), lines_(new QPlainTextEdit(this)),
      cancel_(new QPushButton(QStringLiteral("Cancel"), this)), shards_(new ShardView(this)) {
    setObjectName("RunPanel");
    waited_->setObjectName("WaitStatus");
    bar_->setObjectName("WaitProgress");
    timeLeft_->setObjectName("WaitTimeLeft");
    lines_->setObjectName("WaitLog");
    cancel_->setObjectName("WaitCancel");
    cancel_->setToolTip(QStringLiteral("End Zentrope; no result is loaded"));
    lines_->setReadOnly(true);
    lines_->setMaximumBlockCount(KeptLines);
    lines_->setLineWrapMode(QPlainTextEdit::NoWrap);
    lines_->setFixedHeight(lines_->fontMetrics().lineSpacing() * ShownLines +
                           2 * lines_->frameWidth() + 8);
    auto* status = new QVBoxLayout;
    status->addWidget(waited_);
    status->addWidget(bar_);
    status->addWidget(timeLeft_);
    status->addWidget(cancel_, 0, Qt::AlignLeft);
    status->addStretch();
    auto* top = new QHBoxLayout;
    top->addLayout(status);
    top->addWidget(lines_, 1);
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(6, 0, 6, 6);
    layout->addLayout(top);
    layout->addWidget(shards_);
    connect(cancel_, &QPushButton::clicked, this, &RunPanel::CancelRun);
    connect(&ticker_, &QTimer::timeout, this, &RunPanel::Refresh);
    hide();
}

void RunPanel::Follow(Run& run) {
    run_ = &run;
    lines_->clear();
    bar_->hide();
    timeLeft_->hide();
    lines_->setVisible(!run.LogPath().isEmpty());
    cancel_->setEnabled(true);
    connect(&run, &Run::Logged, this, &RunPanel::ShowLines);
    if (auto* slurm = qobject_cast<zentrope::SlurmBackend*>(&run.Backend()))
        shards_->Follow(*slurm);
    else
        shards_->Clear();
    Refresh();
    ticker_.start(RefreshMs);
    show();
}

void RunPanel::Done() {
    ticker_.stop();
    shards_->Clear();
    run_ = nullptr;
    hide();
}

void RunPanel::Refresh() {
    if (!run_)
        return;
    const QString state = run_->Cancelling() ? QStringLiteral("Ending Zentrope.")
                                             : QStringLiteral("Waiting for Zentrope to end.");
    waited_->setText(
        QStringLiteral("%1\nTime waited: %2").arg(state, ElapsedText(run_->RunningMs() / 1000)));
    if (const std::optional<zentrope::TesterProgress> progress = run_->Progress()) {
        // A count beyond int's range is shown in proportion.
        const double scale = progress->total > INT_MAX ? double(INT_MAX) / progress->total : 1.0;
        bar_->setRange(0, int(progress->total * scale));
        bar_->setValue(int(progress->done * scale));
        bar_->show();
        timeLeft_->setText(TimeLeftText(*progress, run_->RunningMs()));
        timeLeft_->setVisible(!timeLeft_->text().isEmpty());
    }
}

// Progress lines feed the bar; in the pane they would push the tester's other lines away.
void RunPanel::ShowLines(const QStringList& lines) {
    QStringList shown;
    for (const QString& line : lines)
        if (!zentrope::ParseProgressLine(line))
            shown << line;
    for (const QString& line : shown.mid(qMax(0, shown.size() - KeptLines)))
        lines_->appendPlainText(line);
    Refresh();
}

void RunPanel::CancelRun() {
    if (!run_)
        return;
    cancel_->setEnabled(false);
    run_->Cancel();
    Refresh();
}
