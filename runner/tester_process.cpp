// What every platform shares: the end of a watched tester, and waiting for it.
#include "runner/tester_process.h"

#include <QEventLoop>

namespace zentrope {

void TesterProcess::noteEnded() {
    if (ended_)
        return;
    ended_ = true;
    emit ended();
}

void TesterProcess::waitForEnd() {
    if (ended_)
        return;
    QEventLoop loop;
    connect(this, &TesterProcess::ended, &loop, &QEventLoop::quit);
    loop.exec();
}

} // namespace zentrope
