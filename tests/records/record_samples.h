// Records and files for the store's tests and for the program that writes records until it
// is killed.
#pragma once

#include "records/run_folder.h"
#include "records/run_record.h"

#include <QFile>
#include <QTest>

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

// Every field but the id, which the store gives.
inline void CompareRecords(const RunRecord& got, const RunRecord& expected) {
    QCOMPARE(got.kind, expected.kind);
    QCOMPARE(got.folder, expected.folder);
    QCOMPARE(got.source, expected.source);
    QCOMPARE(got.resultPath, expected.resultPath);
    QCOMPARE(got.testerPid, expected.testerPid);
    QVERIFY(got.runner == expected.runner);
    QCOMPARE(got.testerPath, expected.testerPath);
    QCOMPARE(got.testerSize, expected.testerSize);
    QCOMPARE(got.testerSha256, expected.testerSha256);
    QCOMPARE(got.frontEndVersion, expected.frontEndVersion);
    QCOMPARE(got.startedAt, expected.startedAt);
    QCOMPARE(got.end.endedAt, expected.end.endedAt);
    QCOMPARE(got.end.exitCode, expected.end.exitCode);
    QCOMPARE(got.end.endSignal, expected.end.endSignal);
    QCOMPARE(got.end.cancelled, expected.end.cancelled);
    QCOMPARE(got.n, expected.n);
    QCOMPARE(got.NT, expected.NT);
    QCOMPARE(got.enabledTests, expected.enabledTests);
    QCOMPARE(got.verdict.has_value(), expected.verdict.has_value());
    if (got.verdict) {
        QCOMPARE(got.verdict->outcome, expected.verdict->outcome);
        QCOMPARE(got.verdict->failingRows, expected.verdict->failingRows);
        QCOMPARE(got.verdict->alpha, expected.verdict->alpha);
    }
    QCOMPARE(got.inputs.size(), expected.inputs.size());
    for (qsizetype i = 0; i < got.inputs.size(); ++i) {
        QCOMPARE(got.inputs[i].path, expected.inputs[i].path);
        QCOMPARE(got.inputs[i].size, expected.inputs[i].size);
        QCOMPARE(got.inputs[i].modified, expected.inputs[i].modified);
        QCOMPARE(got.inputs[i].sha256, expected.inputs[i].sha256);
    }
}

} // namespace zentrope::testing
