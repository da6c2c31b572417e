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
    QString path() const { return folder_.filePath("tester.log"); }
    void append(const QByteArray& bytes) const { write(bytes, QIODevice::Append); }
    void replace(const QByteArray& bytes) const { write(bytes, QIODevice::Truncate); }

private:
    void write(const QByteArray& bytes, QIODevice::OpenModeFlag mode) const {
        QFile file(path());
        QVERIFY(file.open(QIODevice::WriteOnly | mode));
        QCOMPARE(file.write(bytes), bytes.size());
    }
    QTemporaryDir folder_;
};

} // namespace

class LogTailTest : public QObject {
    Q_OBJECT
private slots:
    void onlyExactProgressLinesCount_data() {
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
    void onlyExactProgressLinesCount() {
        QFETCH(QString, line);
        QFETCH(qint64, done);
        QFETCH(qint64, total);
        const std::optional<TesterProgress> progress = ParseProgressLine(line);
        QCOMPARE(progress.has_value(), done >= 0);
        if (progress)
            QCOMPARE(*progress, (TesterProgress{done, total}));
    }

    void linesComeWhenTheyAreComplete() {
        GrowingLog log;
        LogTail tail(log.path(), 3);
        QVERIFY(tail.readNew().isEmpty()); // not made yet
        log.append("Progress: 1 of 4\r\nnote one\nhalf");
        QCOMPARE(tail.readNew(), QStringList({"Progress: 1 of 4", "note one"}));
        QVERIFY(tail.readNew().isEmpty());
        log.append(" line\nProgress: 2 of 4\nfailure reason\nlast");
        QCOMPARE(tail.readNew(), QStringList({"half line", "Progress: 2 of 4", "failure reason"}));
        QCOMPARE(tail.lastLines(),
                 QStringList({"half line", "Progress: 2 of 4", "failure reason"}));
        QCOMPARE(tail.progress(), (TesterProgress{2, 4}));
        QCOMPARE(tail.readNew(LogWriter::Ended), QStringList("last"));
        QCOMPARE(tail.lastLines(), QStringList({"Progress: 2 of 4", "failure reason", "last"}));
    }

    void aShrunkLogIsReadFromItsStart() {
        GrowingLog log;
        LogTail tail(log.path());
        log.append("first run line one\nfirst run line two\n");
        QCOMPARE(tail.readNew().size(), 2);
        log.replace("again\n");
        QCOMPARE(tail.readNew(), QStringList("again"));
    }

    void aFastLogIsReadNearItsEndOnly() {
        GrowingLog log;
        LogTail tail(log.path());
        QByteArray bulk;
        for (int i = 0; i < 100000; ++i)
            bulk += "Testing sequence " + QByteArray::number(i) + " of 100000\n";
        log.append(bulk + "Progress: 99 of 100\nthe end\n");
        const QStringList lines = tail.readNew();
        QVERIFY(lines.size() < 50000);
        QVERIFY(lines.first().startsWith("Testing sequence ")); // never a cut line
        QVERIFY(lines.first().endsWith(" of 100000"));
        QCOMPARE(lines.last(), QString("the end"));
        QCOMPARE(tail.progress(), (TesterProgress{99, 100}));
    }

    void aLineWithoutEndIsCut() {
        GrowingLog log;
        LogTail tail(log.path());
        log.append(QByteArray(10000, 'x'));
        const QStringList cut = tail.readNew();
        QCOMPARE(cut.size(), 1);
        QVERIFY(cut.first().size() < 10000);
        log.append(QByteArray(3000, 'x') + "\nnext\n");
        QCOMPARE(tail.readNew(), QStringList("next")); // the rest of the long line is dropped
    }
};

QTEST_GUILESS_MAIN(LogTailTest)
#include "log_tail_test.moc"
