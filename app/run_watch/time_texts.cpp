#include "app/run_watch/time_texts.h"

QString ElapsedText(qint64 seconds) {
    const auto twoDigits = [](qint64 value) {
        return QString::number(value).rightJustified(2, '0');
    };
    const QString minutesAndSeconds = twoDigits(seconds / 60 % 60) + ':' + twoDigits(seconds % 60);
    return QString::number(seconds / 3600) + ':' + minutesAndSeconds;
}

QString TimeLeftText(const zentrope::TesterProgress& progress, qint64 elapsedMs) {
    if (progress.done <= 0)
        return QString();
    // In doubles: a long run's milliseconds times a large count overflow 64 bits.
    const double leftMs =
        double(elapsedMs) * double(progress.total - progress.done) / double(progress.done);
    return QStringLiteral("About %1 left").arg(ElapsedText(qint64(leftMs / 1000 + 0.5)));
}
