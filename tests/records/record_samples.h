// Records and files for the store's tests and for the program that writes records until it
// is killed.
#pragma once

#include "records/run_folder.h"
#include "records/run_record.h"

#include <QFile>

namespace zentrope::testing {

inline constexpr int SampleTestCount = 21;

// A finished run in `folder` with `inputs` input files and every field filled.
inline RunRecord SampleRecord(const QString& folder, const QDateTime& startedAt, int inputs) {
    RunRecord record;
    record.folder = folder;
    record.testerPath = "/opt/zentrope/Zentrope.exe";
    record.testerSize = 123456;
    record.testerSha256 = QString(64, u'e');
    record.frontEndVersion = "0.5.0711";
    record.startedAt = startedAt;
    record.end.endedAt = startedAt.addSecs(75);
    record.end.exitCode = 0;
    record.n = 1000000;
    record.NT = 20;
    record.verdict = BriefVerdict{BriefOutcome::Fails, 3, 0.01};
    for (int i = SampleTestCount; i >= 1; --i)
        record.enabledTests << QStringLiteral("Test %1").arg(i);
    for (int i = 0; i < inputs; ++i)
        record.inputs << InputFileFacts{QStringLiteral("/data/generator/part%1.bin").arg(i),
                                        1000000 + i, startedAt.addDays(-1),
                                        QString(64, QChar(u'a' + i % 6))};
    return record;
}

// Writes `bytes` to `path`; false when it could not.
inline bool WriteFile(const QString& path, const QByteArray& bytes) {
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size();
}

} // namespace zentrope::testing
