// What every platform shares: the end of a watched tester, waiting for it and cancelling it.
#include "runner/tester_process.h"

#include <QEventLoop>

namespace zentrope {

void TesterProcess::noteEnded(TesterEnd end) {
    if (ended_)
        return;
    forceTimer_.stop();
    ended_ = true;
    end_ = end;
    end_.cancelled = cancelled_;
    // Whatever the tester left running in its group goes with it.
    if (cancelled_)
        forceEnd();
    emit ended();
}

void TesterProcess::waitForEnd() {
    if (ended_)
        return;
    QEventLoop loop;
    connect(this, &TesterProcess::ended, &loop, &QEventLoop::quit);
    loop.exec();
}

void TesterProcess::cancel(std::chrono::milliseconds grace) {
    if (ended_ || cancelled_)
        return;
    cancelled_ = true;
    askToEnd();
    forceTimer_.setSingleShot(true);
    connect(&forceTimer_, &QTimer::timeout, this, &TesterProcess::forceEnd);
    forceTimer_.start(grace);
}

} // namespace zentrope
