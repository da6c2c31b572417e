#include "app/run_watch/wait_notice.h"

#include "app/run_watch/time_texts.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QPlainTextEdit>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

using namespace zentrope;

namespace {

// Often enough for progress to look live, rarely enough to cost nothing.
constexpr int RefreshMs = 200;
constexpr int ShownLines = 12;

} // namespace

WaitNotice::WaitNotice(QWidget* parent, TesterProcess& tester, const QString& logPath)
    : QDialog(parent, Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint), tester_(tester),
      waited_(new QLabel(this)), bar_(new QProgressBar(this)), timeLeft_(new QLabel(this)),
      lines_(new QPlainTextEdit(this)), cancel_(new QPushButton(QStringLiteral("Cancel"), this)) {
    setWindowTitle(QStringLiteral("Zentrope GUI"));
    setWindowModality(Qt::ApplicationModal);
    bar_->setObjectName("WaitProgress");
    timeLeft_->setObjectName("WaitTimeLeft");
    lines_->setObjectName("WaitLog");
    cancel_->setObjectName("WaitCancel");
    lines_->setReadOnly(true);
    lines_->setMaximumBlockCount(ShownLines);
    lines_->setLineWrapMode(QPlainTextEdit::NoWrap);
    lines_->setMinimumWidth(480);
    bar_->hide();
    timeLeft_->hide();
    if (logPath.isEmpty())
        lines_->hide();
    else
        tail_.emplace(logPath);
    auto* buttons = new QDialogButtonBox(this);
    buttons->addButton(cancel_, QDialogButtonBox::RejectRole);
    connect(cancel_, &QPushButton::clicked, this, &WaitNotice::cancelRun);
    auto* layout = new QVBoxLayout(this);
    for (QWidget* part : {static_cast<QWidget*>(waited_), static_cast<QWidget*>(bar_),
                          static_cast<QWidget*>(timeLeft_), static_cast<QWidget*>(lines_),
                          static_cast<QWidget*>(buttons)})
        layout->addWidget(part);
    clock_.start();
    refresh();
    connect(&ticker_, &QTimer::timeout, this, &WaitNotice::refresh);
    ticker_.start(RefreshMs);
}

QStringList WaitNotice::finalLines() {
    if (!tail_)
        return {};
    tail_->readNew(LogWriter::Ended);
    return tail_->lastLines();
}

void WaitNotice::refresh() {
    const QString state = cancelling_ ? QStringLiteral("Ending Zentrope.")
                                      : QStringLiteral("Waiting for Zentrope to end.");
    waited_->setText(
        QStringLiteral("%1\nTime waited: %2").arg(state, ElapsedText(clock_.elapsed() / 1000)));
    if (!tail_)
        return;
    showLines(tail_->readNew());
    if (const std::optional<TesterProgress> progress = tail_->progress()) {
        // A count beyond int's range is shown in proportion.
        const double scale = progress->total > INT_MAX ? double(INT_MAX) / progress->total : 1.0;
        bar_->setRange(0, int(progress->total * scale));
        bar_->setValue(int(progress->done * scale));
        bar_->show();
        timeLeft_->setText(TimeLeftText(*progress, clock_.elapsed()));
        timeLeft_->setVisible(!timeLeft_->text().isEmpty());
    }
}

// Progress lines feed the bar; in the pane they would push the tester's other lines away.
void WaitNotice::showLines(const QStringList& lines) {
    QStringList shown;
    for (const QString& line : lines)
        if (!ParseProgressLine(line))
            shown << line;
    for (const QString& line : shown.mid(qMax(0, shown.size() - ShownLines)))
        lines_->appendPlainText(line);
}

void WaitNotice::cancelRun() {
    cancelling_ = true;
    cancel_->setEnabled(false);
    tester_.cancel();
    refresh();
}
