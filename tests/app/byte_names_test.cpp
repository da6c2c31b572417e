// File names and test names that are not UTF-8: shown readably, kept byte for byte through a
// load and a save, and used as they are to find files.
#include "tests/app/gui_test_main.h"
#include "tests/app/window_fixture.h"
#include "tests/results/result_file_text.h"

#include <QCheckBox>
#include <QLabel>
#include <QLineEdit>
#include <QTableView>
#include <filesystem>
#include <fstream>
#include <memory>

namespace {

// Every byte from 0x80 to 0xFF, which is no UTF-8 at all.
std::string HighBytes() {
    std::string bytes;
    for (int code = 0x80; code <= 0xFF; ++code)
        bytes += static_cast<char>(code);
    return bytes;
}

// The same bytes read as Latin-1, as the window is to show them.
QString Latin1(const std::string& bytes) {
    return QString::fromLatin1(bytes.data(), static_cast<qsizetype>(bytes.size()));
}

std::string FileText(const WindowFixture& f, const QString& name) {
    return f.Read(name).toStdString();
}

} // namespace

class ByteNamesTest : public QObject {
    Q_OBJECT

private slots:
    void LoadThenSaveKeepsTheBytesOfBothNames() {
        WindowFixture f;
        TFIN& w = f.Open();
        const std::string out = "\xe9t\xe9 r.txt";
        const std::string in = "/data/" + HighBytes() + "*.bin";
        f.Write("p.par", QByteArray::fromStdString("[General]\nOutFile \"" + out + "\"\nInFile \"" +
                                                   in + "\"\n[Enable]\n1 runs\n"));
        Control<QLineEdit>(w, "EditParaFile")->setText(f.Path("p.par"));
        w.ButtParaReloadClick();
        QVERIFY(f.dialogs.messages.isEmpty());
        QCOMPARE(Control<QLineEdit>(w, "EditOutFile")->text(), Latin1(out));
        QCOMPARE(Control<QLineEdit>(w, "EditInFile")->text(), Latin1(in));

        QVERIFY(w.ButtParaSaveClick());
        const std::string saved = FileText(f, "p.par");
        QVERIFY(saved.find("\nOutFile \"" + out + "\" \t#") != std::string::npos);
        QVERIFY(saved.find("\nInFile \"" + in + "\" \t#") != std::string::npos);

        // An edited name is the text the user sees, in UTF-8, as any typed name is.
        Control<QLineEdit>(w, "EditOutFile")->setText(Latin1(out) + "x");
        QVERIFY(w.ButtParaSaveClick());
        QVERIFY(FileText(f, "p.par").find("\nOutFile \"\xc3\xa9t\xc3\xa9 r.txtx\" \t#") !=
                std::string::npos);
    }

    void ValidUtf8NamesRoundTripAsBefore() {
        WindowFixture f;
        TFIN& w = f.Open();
        const std::string out = "\xc3\xa9t\xc3\xa9 \xce\xa9 \xe2\x82\xac.txt";
        f.Write("p.par", QByteArray::fromStdString("[General]\nOutFile \"" + out +
                                                   "\"\n[Enable]\n1 runs\n"));
        Control<QLineEdit>(w, "EditParaFile")->setText(f.Path("p.par"));
        w.ButtParaReloadClick();
        QCOMPARE(Control<QLineEdit>(w, "EditOutFile")->text(), QString::fromStdString(out));
        QVERIFY(w.ButtParaSaveClick());
        QVERIFY(FileText(f, "p.par").find("\nOutFile \"" + out + "\" \t#") != std::string::npos);
    }

    void TheInputTotalsFindAFileByItsBytes() {
        WindowFixture f;
        TFIN& w = f.Open();
        const std::string name = f.Path("").toStdString() + "/\xe9t\xe9.bin";
        std::ofstream(name, std::ios::binary) << std::string(100, 'x');
        // A name the temporary folder's clean-up cannot spell.
        const std::unique_ptr<const std::string, void (*)(const std::string*)> removal(
            &name, [](const std::string* file) { std::filesystem::remove(*file); });
        f.Write("p.par", QByteArray::fromStdString("[General]\nInFile \"" + name +
                                                   "\"\n[Enable]\n1 runs\n"));
        Control<QLineEdit>(w, "EditParaFile")->setText(f.Path("p.par"));
        w.ButtParaReloadClick();
        QCOMPARE(Control<QLabel>(w, "LabTOTlen")->text(), QString("1 file, 800 bits"));
    }

    void ATestNameThatIsNotUtf8IsShownReadably() {
        WindowFixture f;
        TFIN& w = f.Open();
        for (const char* box : {"cbSortKS", "cbSortAD", "cbSortSL"})
            Control<QCheckBox>(w, box)->setChecked(false);
        const std::string text = zentrope::testing::ResultFile(
            {"caf\xe9", "DFT"}, {{"0.5", "0.25"}, {"0.75", "0.5"}, {"0.1", "0.2"}});
        f.Write("results.txt", QByteArray::fromStdString(text));
        w.LoadResultFile(f.Path("results.txt"));
        QCOMPARE(CellText(w, 1, 1), QString::fromLatin1("caf\xe9"));
        QCOMPARE(Control<ResultTextView>(w, "RE")->Lines().Text(3),
                 QString::fromLatin1("0.5\tcaf\xe9"));
        // The sort stays byte-wise: 0xE9 after every ASCII letter.
        w.Table().SGMouseUp(Qt::LeftButton, -9999, 1);
        QCOMPARE(ColumnTexts(w, 1), (QStringList{"DFT", QString::fromLatin1("caf\xe9")}));
    }
};

ZENTROPE_GUI_TEST_MAIN(ByteNamesTest)
#include "byte_names_test.moc"
