// Telling a result file written by this run from a missing or left-over one.
#include "result_freshness.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace zentrope;

class ResultFreshnessTest : public QObject {
    Q_OBJECT
private slots:
    void judgesByTheModificationTime();
};

void ResultFreshnessTest::judgesByTheModificationTime() {
    QTemporaryDir folder;
    const QString path = folder.filePath("_Zentrope.txt");
    const QDateTime start = QDateTime::currentDateTimeUtc();
    QCOMPARE(CheckResultFreshness(path, start), ResultFreshness::Missing);
    QVERIFY(QDir(folder.path()).mkdir("a folder"));
    QCOMPARE(CheckResultFreshness(folder.filePath("a folder"), start), ResultFreshness::Missing);

    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    file.write("Sequence #1\n");
    file.close();
    QCOMPARE(CheckResultFreshness(path, start), ResultFreshness::Written);

    QVERIFY(file.open(QIODevice::ReadWrite));
    QVERIFY(file.setFileTime(start.addSecs(-60), QFileDevice::FileModificationTime));
    file.close();
    QCOMPARE(CheckResultFreshness(path, start), ResultFreshness::Older);
    // A start given in local time means the same instant.
    QCOMPARE(CheckResultFreshness(path, start.addSecs(-61).toLocalTime()),
             ResultFreshness::Written);
}

QTEST_GUILESS_MAIN(ResultFreshnessTest)
#include "result_freshness_test.moc"
