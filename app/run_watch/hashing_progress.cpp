#include "app/run_watch/hashing_progress.h"

HashingProgress& HashingProgress::Instance() {
    static HashingProgress progress;
    return progress;
}

void HashingProgress::Report(qint64 run, qint64 done, qint64 total) {
    const int percent = total > 0 ? int(done * 100 / total) : 0;
    {
        QMutexLocker lock(&mutex_);
        const auto known = percent_.constFind(run);
        if (known != percent_.constEnd() && *known == percent)
            return;
        percent_.insert(run, percent);
    }
    emit Changed(run);
}

void HashingProgress::Finish(qint64 run) {
    {
        QMutexLocker lock(&mutex_);
        percent_.remove(run);
    }
    emit Changed(run);
}

QString HashingProgress::TextOf(qint64 run) const {
    QMutexLocker lock(&mutex_);
    const auto known = percent_.constFind(run);
    return known == percent_.constEnd() ? QString()
                                        : QStringLiteral("Hashing input files... %1%").arg(*known);
}
