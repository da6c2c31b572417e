// The input summary and the sequence length captions, computed from real files.
#include "file_matching.h"
#include "gui_test_main.h"
#include "label_captions.h"
#include "number_texts.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <QTest>
#include <filesystem>

using namespace zentrope;

namespace {

void MakeFile(const QString& path, qint64 bytes) {
    QFile file(path);
    QVERIFY(file.open(QIODevice::WriteOnly));
    QVERIFY(file.resize(bytes)); // sparse where the file system allows it
}

std::string Caption(const QString& pattern) {
    return TotalLengthCaption(CountMatchingFiles(pattern.toStdString()));
}

} // namespace

class GeneralLabelsTest : public QObject {
    Q_OBJECT
    QTemporaryDir dir;
    QString In(const QString& name) const { return dir.filePath(name); }

private slots:
    void initTestCase() {
        QVERIFY(dir.isValid());
        QVERIFY(QDir(dir.path()).mkpath("three"));
        for (const char* name : {"three/a.bin", "three/b.bin", "three/c.bin"})
            MakeFile(In(name), 1000000);
        MakeFile(In("mib.bin"), 1048576);
        MakeFile(In("small.dat"), 100);
        MakeFile(In("empty.dat"), 0);
        MakeFile(In("README"), 5);
        QVERIFY(QDir(dir.path()).mkpath("folders/one.d"));
        QVERIFY(QDir(dir.path()).mkpath("folders/two.d"));
    }

    void totalLengthCaptions_data() {
        QTest::addColumn<QString>("pattern");
        QTest::addColumn<QString>("caption");
        QTest::newRow("three files") << "three/*"
                                     << "3 files, 24 mbits, 22.9 Mb";
        QTest::newRow("one MiB") << "mib.bin"
                                 << "1 file, 8 Mbits, 8.0 Mb";
        QTest::newRow("100 bytes") << "small.dat"
                                   << "1 file, 800 bits";
        QTest::newRow("empty file") << "empty.dat"
                                    << "1 file, 0 bits";
        QTest::newRow("only folders") << "folders/*"
                                      << "(No file)";
        QTest::newRow("a folder by name") << "folders/one.d"
                                          << "(No file)";
        QTest::newRow("no match") << "*.none"
                                  << "(No file)";
        QTest::newRow("missing folder") << "nowhere/*"
                                        << "(No file)";
        QTest::newRow("empty pattern") << ""
                                       << "(No file)";
        QTest::newRow("folder only") << "three/"
                                     << "(No file)";
    }
    void totalLengthCaptions() {
        QFETCH(QString, pattern);
        QFETCH(QString, caption);
        QCOMPARE(QString::fromStdString(Caption(pattern.isEmpty() ? pattern : In(pattern))),
                 caption);
    }

    void wildcardsInTheNamePart() {
        QCOMPARE(CountMatchingFiles(In("three/?.bin").toStdString()).count, 3u);
        QCOMPARE(CountMatchingFiles(In("three/??.bin").toStdString()).count, 0u);
        QCOMPARE(CountMatchingFiles(In("*.dat").toStdString()).count, 2u);
        QCOMPARE(CountMatchingFiles(In("*.*").toStdString()).count, 4u); // README too
        QCOMPARE(CountMatchingFiles(In("th*/a.bin").toStdString()).count, 0u);
        QVERIFY(NameMatchesPattern("aXbXc", "a*b*c"));
        QVERIFY(!NameMatchesPattern("a.txt", "*.tx"));
    }

    void relativePatternsUseTheCurrentFolder() {
        auto previous = std::filesystem::current_path();
        std::filesystem::current_path(dir.path().toStdString());
        MatchedFiles files = CountMatchingFiles("*.bin");
        std::filesystem::current_path(previous);
        QCOMPARE(files.count, 1u);
        QCOMPARE(files.totalBytes, 1048576u);
    }

    // Totals of 512 MiB and more no longer fit 32 bits of bits.
    void largeInputsKeepTheirSize() {
        QVERIFY(QDir(dir.path()).mkpath("large"));
        MakeFile(In("large/big.bin"), qint64{600} << 20);
        MatchedFiles files = CountMatchingFiles(In("large/*").toStdString());
        QCOMPARE(InputBitsOf(files), uint64_t{600} << 23);
        QCOMPARE(QString::fromStdString(TotalLengthCaption(files)),
                 QString("1 file, 4800 Mbits, 4.7 Gb"));
        MakeFile(In("large/big.bin"), qint64{512} << 20);
        QCOMPARE(InputBitsOf(CountMatchingFiles(In("large/*").toStdString())), uint64_t{1} << 32);
    }

    void sequenceLengthCaptions_data() {
        QTest::addColumn<qulonglong>("inputBits");
        QTest::addColumn<int>("sequences");
        QTest::addColumn<QString>("caption");
        QTest::newRow("kbits") << 24000000ull << 50
                               << "The sequence length will be 480 kbits, 468.8 Kb";
        QTest::newRow("bits") << 75000ull << 50 << "The sequence length will be 1500 bits, 1.5 Kb";
        QTest::newRow("zero") << 40ull << 50 << "The sequence length will be 0 bits";
        QTest::newRow("beyond 32 bits")
            << (1ull << 41) << 2 << "The sequence length will be 1024 Gbits, 1024.0 Gb";
    }
    void sequenceLengthCaptions() {
        QFETCH(qulonglong, inputBits);
        QFETCH(int, sequences);
        QFETCH(QString, caption);
        auto length = ComputedSequenceLength(inputBits, 0, sequences);
        QVERIFY(length.has_value());
        QCOMPARE(QString::fromStdString(SequenceLengthCaption(*length)), caption);
    }

    void noLengthWithoutInputOrCountOrWithALength() {
        QVERIFY(!ComputedSequenceLength(0, 0, 50).has_value());
        QVERIFY(!ComputedSequenceLength(8000, 1, 50).has_value());
        QVERIFY(!ComputedSequenceLength(8000, 0, 0).has_value());
        QVERIFY(ComputedSequenceLength(uint64_t{1} << 32, 0, 1).has_value());
    }

    void lengthTypedIntoEditn() {
        QCOMPARE(LeadingUnsigned("  12abc"), 12u);
        QCOMPARE(LeadingUnsigned("-5"), 0u);
        QCOMPARE(LeadingUnsigned("4294967296"), 4294967295u); // too large is still not 0
        QCOMPARE(LeadingUnsigned("99999999999999999999"), 4294967295u);
    }
};

ZENTROPE_GUI_TEST_MAIN(GeneralLabelsTest)
#include "general_labels_test.moc"
