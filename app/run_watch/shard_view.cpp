#include "app/run_watch/shard_view.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

using namespace zentrope;

namespace {

enum Column { ShardColumn, SequencesColumn, StateColumn, SlurmColumn, ExitColumn, ColumnCount };

// A shard's log holds the tester's report too; its end tells why it stopped.
constexpr int ShownLogLines = 8;

} // namespace

QString ShardStateText(const ShardStatus& shard) {
    switch (shard.state) {
    case ShardState::Pending:
        return QStringLiteral("pending");
    case ShardState::Running:
        return shard.total > 0
                   ? QStringLiteral("running (%1 of %2)").arg(shard.done).arg(shard.total)
                   : QStringLiteral("running");
    case ShardState::Completed:
        return QStringLiteral("completed");
    case ShardState::Failed:
        return QStringLiteral("failed");
    case ShardState::TimedOut:
        return QStringLiteral("timed out");
    case ShardState::Cancelled:
        return QStringLiteral("cancelled");
    case ShardState::Vanished:
        return QStringLiteral("ended, no longer known to Slurm");
    case ShardState::Unknown:
        break;
    }
    return QStringLiteral("unknown");
}

ShardView::ShardView(QWidget* parent)
    : QWidget(parent), table_(new QTableWidget(0, ColumnCount, this)), note_(new QLabel(this)),
      log_(new QPlainTextEdit(this)),
      resubmit_(new QPushButton(QStringLiteral("Resubmit failed shards"), this)) {
    setObjectName("ShardView");
    table_->setObjectName("ShardTable");
    note_->setObjectName("ShardNote");
    log_->setObjectName("ShardLog");
    resubmit_->setObjectName("ButtResubmitFailed");
    resubmit_->setToolTip(QStringLiteral("Submit the shards that ended without a result again"));
    table_->setHorizontalHeaderLabels({QStringLiteral("Shard"), QStringLiteral("Sequences"),
                                       QStringLiteral("State"), QStringLiteral("Slurm state"),
                                       QStringLiteral("Exit code")});
    table_->verticalHeader()->hide();
    table_->setEditTriggers(QAbstractItemView::NoEditTriggers);
    table_->setSelectionBehavior(QAbstractItemView::SelectRows);
    table_->setSelectionMode(QAbstractItemView::SingleSelection);
    table_->horizontalHeader()->setStretchLastSection(true);
    note_->setWordWrap(true);
    log_->setReadOnly(true);
    log_->setLineWrapMode(QPlainTextEdit::NoWrap);
    auto* side = new QVBoxLayout;
    side->addWidget(note_);
    side->addWidget(log_, 1);
    side->addWidget(resubmit_, 0, Qt::AlignLeft);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(table_, 1);
    layout->addLayout(side, 1);
    connect(table_, &QTableWidget::itemSelectionChanged, this, &ShardView::ShowLog);
    connect(resubmit_, &QPushButton::clicked, this, [this] {
        if (backend_)
            backend_->ResubmitFailed();
    });
    hide();
}

void ShardView::Follow(SlurmBackend& backend) {
    backend_ = &backend;
    table_->setRowCount(backend.Plan().shards);
    connect(&backend, &SlurmBackend::ShardsChanged, this, &ShardView::Refresh);
    Refresh();
    show();
}

void ShardView::Clear() {
    if (backend_)
        disconnect(backend_, nullptr, this, nullptr);
    backend_ = nullptr;
    hide();
}

void ShardView::Refresh() {
    if (!backend_)
        return;
    const SlurmPlan& plan = backend_->Plan();
    const QList<ShardStatus>& shards = backend_->Job().Shards();
    for (int i = 0; i < shards.size(); ++i) {
        const ShardRange range = ShardRangeOf(i, plan.shards, plan.sequences);
        const QStringList cells = {
            QString::number(i),
            QStringLiteral("%1 to %2").arg(range.first + 1).arg(range.first + range.count),
            ShardStateText(shards[i]), shards[i].slurmState, shards[i].exitCode};
        for (int column = 0; column < ColumnCount; ++column) {
            QTableWidgetItem* item = table_->item(i, column);
            if (!item)
                table_->setItem(i, column, item = new QTableWidgetItem);
            item->setText(cells[column]);
        }
    }
    note_->setText(backend_->Note());
    note_->setVisible(!note_->text().isEmpty());
    resubmit_->setEnabled(backend_->AwaitingResubmit());
    ShowLog();
}

int ShardView::LogShard() const {
    const QList<QTableWidgetItem*> chosen = table_->selectedItems();
    if (!chosen.isEmpty())
        return chosen.front()->row();
    const QList<int> missing = backend_->ShardsWithoutResult();
    return missing.isEmpty() ? -1 : missing.front();
}

void ShardView::ShowLog() {
    const int shard = backend_ ? LogShard() : -1;
    if (shard < 0) {
        log_->clear();
        log_->hide();
        return;
    }
    const QStringList lines = backend_->Job().LogLines(shard);
    const QString text = QStringLiteral("Shard %1, its log's last lines:\n").arg(shard) +
                         lines.mid(qMax(0, lines.size() - ShownLogLines)).join(u'\n');
    if (log_->toPlainText() != text)
        log_->setPlainText(text);
    log_->show();
}
