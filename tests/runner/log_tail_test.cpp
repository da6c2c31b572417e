// Reading the tester's log as it grows: which lines count as progress, and which lines a reader
// sees when the log grows in pieces, shrinks, grows fast or ends without a line end.
#include "runner/log_tail.h"

#include <QFile>
#include <QTemporaryDir>
#include <QTest>

using namespace zentrope;

namespace {

class GrowingLog {
public:
    QString Path() const { return folder_.filePath("tester.log"); }
    void Append(const QByteArray& bytes) const { Write(bytes, QIODevice::Append); }
    void Replace(const QByteArray& bytes) const { Write(bytes, QIODevice::Truncate); }

private:
    void Write(const QByteArray& bytes, QIODevice::OpenModeFlag mode) const {
        QFile file(Path());
        QVERIFY(file.open(QIODevice::WriteOnly | mode));
        QCOMPARE(file.write(bytes), bytes.size());
    }
    QTemporaryDir folder_;
};

} // namespace

class LogTailTest : public QObject {
    Q_OBJECT
private slots:
    void OnlyExactProgressLinesCount_data() {
        QTest::addColumn<QString>("line");
        QTest::addColumn<qint64>("done"); // -1: not a progress line
        QTest::addColumn<qint64>("total");
        QTest::newRow("middle") << "Progress: 12 of 20" << 12LL << 20LL;
        QTest::newRow("nothing done yet") << "Progress: 0 of 5" << 0LL << 5LL;
        QTest::newRow("all done") << "Progress: 5 of 5" << 5LL << 5LL;
        QTest::newRow("large") << "Progress: 4000000000 of 9000000000" << 4000000000LL
                               << 9000000000LL;
        QTest::newRow("past the end") << "Progress: 21 of 20" << -1LL << 0LL;
        QTest::newRow("nothing to do") << "Progress: 0 of 0" << -1LL << 0LL;
        QTest::newRow("lower case") << "progress: 1 of 2" << -1LL << 0LL;
        QTest::newRow("trailing blank") << "Progress: 1 of 2 " << -1LL << 0LL;
        QTest::newRow("double blank") << "Progress:  1 of 2" << -1LL << 0LL;
        QTest::newRow("sign") << "Progress: +1 of 2" << -1LL << 0LL;
        QTest::newRow("no count") << "Progress:  of 2" << -1LL << 0LL;
        QTest::newRow("other wording") << "Testing sequence 12 of 20" << -1LL << 0LL;
        QTest::newRow("too many digits") << "Progress: 1 of 9999999999999999999" << -1LL << 0LL;
    }
    void OnlyExactProgressLinesCount() {
        QFETCH(QString, line);
        QFETCH(qint64, done);
        QFETCH(qint64, total);
        const std::optional<TesterProgress> progress = ParseProgressLine(line);
        QCOMPARE(progress.has_value(), done >= 0);
        if (progress)
            QCOMPARE(*progress, (TesterProgress{done, total}));
    }

    void LinesComeWhenTheyAreComplete() {
        GrowingLog log;
        LogTail tail(log.Path(), 3);
        QVERIFY(tail.ReadNew().isEmpty()); // not made yet
        log.Append("Progress: 1 of 4\r\nnote one\nhalf");
        QCOMPARE(tail.ReadNew(), QStringList({"Progress: 1 of 4", "note one"}));
        QVERIFY(tail.ReadNew().isEmpty());
        log.Append(" line\nProgress: 2 of 4\nfailure reason\nlast");
        QCOMPARE(tail.ReadNew(), QStringList({"half line", "Progress: 2 of 4", "failure reason"}));
        QCOMPARE(tail.LastLines(),
                 QStringList({"half line", "Progress: 2 of 4", "failure reason"}));
        QCOMPARE(tail.Progress(), (TesterProgress{2, 4}));
        QCOMPARE(tail.ReadNew(LogWriter::Ended), QStringList("last"));
        QCOMPARE(tail.LastLines(), QStringList({"Progress: 2 of 4", "failure reason", "last"}));
    }

    void AShrunkLogIsReadFromItsStart() {
        GrowingLog log;
        LogTail tail(log.Path());
        log.Append("first run line one\nfirst run line two\n");
        QCOMPARE(tail.ReadNew().size(), 2);
        log.Replace("again\n");
        QCOMPARE(tail.ReadNew(), QStringList("again"));
    }

    void AFastLogIsReadNearItsEndOnly() {
        GrowingLog log;
        LogTail tail(log.Path());
        QByteArray bulk;
        for (int i = 0; i < 100000; ++i)
            bulk += "Testing sequence " + QByteArray::number(i) + " of 100000\n";
        log.Append(bulk + "Progress: 99 of 100\nthe end\n");
        const QStringList lines = tail.ReadNew();
        QVERIFY(lines.size() < 50000);
        QVERIFY(lines.first().startsWith("Testing sequence ")); // never a cut line
        QVERIFY(lines.first().endsWith(" of 100000"));
        QCOMPARE(lines.last(), QString("the end"));
        QCOMPARE(tail.Progress(), (TesterProgress{99, 100}));
    }

    void ALineWithoutEndIsCut() {
        GrowingLog log;
        LogTail tail(log.Path());
        log.Append(QByteArray(10000, 'x'));
        const QStringList cut = tail.ReadNew();
        QCOMPARE(cut.size(), 1);
        QVERIFY(cut.first().size() < 10000);
        log.Append(QByteArray(3000, 'x') + "\nnext\n");
        QCOMPARE(tail.ReadNew(), QStringList("next")); // the rest of the long line is dropped
    }
};

QTEST_GUILESS_MAIN(LogTailTest)
#include "log_tail_test.moc"
