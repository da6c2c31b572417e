// Shown while the window waits for the tester: the time waited, the newest lines of the
// tester's log, its progress with an estimate of the time left, and a Cancel button. Being
// modal, it keeps input from the window, which still repaints.
#pragma once

#include "runner/log_tail.h"
#include "runner/tester_process.h"

#include <QDialog>
#include <QElapsedTimer>
#include <QTimer>
#include <optional>

class QLabel;
class QPlainTextEdit;
class QProgressBar;
class QPushButton;

class WaitNotice : public QDialog {
public:
    // Without a log path, only the time waited is shown.
    WaitNotice(QWidget* parent, zentrope::TesterProcess& tester, const QString& logPath);

    // Reads what the tester wrote before it ended; its newest lines, oldest first.
    QStringList finalLines();

    // Neither Escape nor the title bar may end the wait; Cancel does.
    void reject() override {}

private:
    void refresh();
    void showLines(const QStringList& lines);
    void cancelRun();

    zentrope::TesterProcess& tester_;
    std::optional<zentrope::LogTail> tail_;
    QLabel* waited_;
    QProgressBar* bar_;
    QLabel* timeLeft_;
    QPlainTextEdit* lines_;
    QPushButton* cancel_;
    QElapsedTimer clock_;
    QTimer ticker_;
    bool cancelling_ = false;
};
