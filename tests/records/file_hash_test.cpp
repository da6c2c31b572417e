// Hashing input files and the tester: the published SHA-256 examples, progress, stopping, and
// which files InFile names.
#include "records/file_hash.h"
#include "records/input_changes.h"
#include "records/input_files.h"
#include "tests/records/record_samples.h"

#include <QDir>
#include <QTemporaryDir>
#include <QTest>

using namespace zentrope;
using namespace zentrope::testing;

namespace {

// FIPS 180-2, appendix B: "abc" and one million times "a"; and the empty message.
const QString EmptyHash = "e3b0c44298fc1c149afbf4c8996fb92427ae41e4649b934ca495991b7852b855";
const QString AbcHash = "ba7816bf8f01cfea414140de5dae2223b00361a396177a9cb410ff61f20015ad";
const QString MillionAHash = "cdc76e5c9914fb9281a1c7e284d73e67f1809a48a497200e046d39ccc7112cd0";

} // namespace

class FileHashTest : public QObject {
    Q_OBJECT
private slots:
    void PublishedExamplesWithProgressUpToTheWholeFile() {
        QTemporaryDir dir;
        QVERIFY(WriteFile(dir.filePath("empty"), ""));
        QVERIFY(WriteFile(dir.filePath("abc"), "abc"));
        QVERIFY(WriteFile(dir.filePath("million"), QByteArray(1000000, 'a')));
        QCOMPARE(HashFile(dir.filePath("empty")).sha256, EmptyHash);
        QCOMPARE(HashFile(dir.filePath("abc")).sha256, AbcHash);

        QList<std::pair<qint64, qint64>> reports;
        const FileHash million = HashFile(dir.filePath("million"), [&](qint64 done, qint64 all) {
            reports.append({done, all});
            return true;
        });
        QCOMPARE(million.sha256, MillionAHash);
        QCOMPARE(million.size, 1000000);
        QVERIFY(reports.size() > 1);
        for (qsizetype i = 1; i < reports.size(); ++i)
            QVERIFY(reports[i].first > reports[i - 1].first);
        QCOMPARE(reports.last(), (std::pair<qint64, qint64>{1000000, 1000000}));
    }

    // One progress over all inputs; the caller's answer stops the work early.
    void InputsAreDescribedWithOneProgressAndStopOnRequest() {
        QTemporaryDir dir;
        QVERIFY(WriteFile(dir.filePath("a.bin"), "abc"));
        QVERIFY(WriteFile(dir.filePath("b.bin"), QByteArray(1000000, 'a')));
        const QStringList paths = {dir.filePath("a.bin"), dir.filePath("b.bin")};
        qint64 lastDone = 0, lastTotal = 0;
        const InputsHash whole = DescribeInputFiles(paths, [&](qint64 done, qint64 total) {
            lastDone = done;
            lastTotal = total;
            return true;
        });
        QVERIFY(!whole.stopped);
        QCOMPARE(whole.files.size(), 2);
        QCOMPARE(whole.files[0].sha256, AbcHash);
        QCOMPARE(whole.files[1].sha256, MillionAHash);
        QCOMPARE(whole.files[1].size, 1000000);
        QCOMPARE(whole.files[1].modified, QFileInfo(paths[1]).lastModified().toUTC());
        QCOMPARE(lastDone, 1000003);
        QCOMPARE(lastTotal, 1000003);

        int reports = 0;
        const InputsHash stopped =
            DescribeInputFiles(paths, [&reports](qint64, qint64) { return ++reports < 2; });
        QVERIFY(stopped.stopped);
        QCOMPARE(reports, 2);

        const InputsHash unreadable = DescribeInputFiles({dir.filePath("missing.bin")});
        QCOMPARE(unreadable.files.size(), 1);
        QVERIFY(unreadable.files[0].sha256.isEmpty());
    }

    // Same size and time, other bits: only the hash can tell.
    void AnInputIsChangedWhenItsBitsDifferOrItHasGone() {
        QTemporaryDir dir;
        const QStringList paths = {dir.filePath("same"), dir.filePath("edited"),
                                   dir.filePath("deleted")};
        for (const QString& path : paths)
            QVERIFY(WriteFile(path, "abc"));
        const QList<InputFileFacts> recorded = DescribeInputFiles(paths).files;
        const QDateTime time = QFileInfo(paths[1]).lastModified();
        QVERIFY(WriteFile(paths[1], "abd"));
        QFile edited(paths[1]);
        QVERIFY(edited.open(QIODevice::ReadWrite) &&
                edited.setFileTime(time, QFileDevice::FileModificationTime));
        QVERIFY(QFile::remove(paths[2]));
        QCOMPARE(FindChangedInputs(recorded).changed, paths.mid(1));
        QVERIFY(FindChangedInputs(recorded, [](qint64, qint64) { return false; }).stopped);
    }

    void InFileIsMatchedWhereTheTesterLooks() {
        QTemporaryDir dir;
        QVERIFY(QDir(dir.path()).mkpath("tester/data") && QDir(dir.path()).mkpath("data"));
        for (const char* name :
             {"tester/data/x1.bin", "tester/data/x2.bin", "tester/data/y.txt", "data/x3.bin"})
            QVERIFY(WriteFile(dir.filePath(name), "bits"));
        const QString tester = dir.filePath("tester");
        QCOMPARE(
            MatchInputFiles("data/x?.bin", tester),
            QStringList({dir.filePath("tester/data/x1.bin"), dir.filePath("tester/data/x2.bin")}));
        QCOMPARE(MatchInputFiles(dir.filePath("data/*.bin"), tester),
                 QStringList(dir.filePath("data/x3.bin")));
        QVERIFY(MatchInputFiles("", tester).isEmpty());
        QVERIFY(MatchInputFiles("data", tester).isEmpty()); // a folder is no input
    }
};

QTEST_GUILESS_MAIN(FileHashTest)
#include "file_hash_test.moc"
