// What every platform shares: the end of a watched tester, waiting for it and cancelling it.
#include "runner/tester_process.h"

#include <QEventLoop>

namespace zentrope {

void TesterProcess::NoteEnded(TesterEnd end) {
    if (ended_)
        return;
    forceTimer_.stop();
    ended_ = true;
    end_ = end;
    end_.cancelled = cancelled_;
    // Whatever the tester left running in its group goes with it.
    if (cancelled_)
        ForceEnd();
    emit Ended();
}

void TesterProcess::WaitForEnd() {
    if (ended_)
        return;
    QEventLoop loop;
    connect(this, &TesterProcess::Ended, &loop, &QEventLoop::quit);
    loop.exec();
}

void TesterProcess::Cancel(std::chrono::milliseconds grace) {
    if (ended_ || cancelled_)
        return;
    cancelled_ = true;
    AskToEnd();
    forceTimer_.setSingleShot(true);
    connect(&forceTimer_, &QTimer::timeout, this, &TesterProcess::ForceEnd);
    forceTimer_.start(grace);
}

} // namespace zentrope
