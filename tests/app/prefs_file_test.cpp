// prefs.ini: restoring the window from it, and writing it on close.
#include "tests/app/gui_test_main.h"
#include "tests/app/window_fixture.h"

#include <QCheckBox>
#include <QGuiApplication>
#include <QLineEdit>
#include <QScreen>
#include <QStyle>
#include <QTabWidget>
#include <csignal>
#include <sys/resource.h>

namespace {

QRect ScreenRect() {
    return QGuiApplication::primaryScreen()->availableGeometry();
}

} // namespace

class PrefsFileTest : public QObject {
    Q_OBJECT

private slots:
    void WithoutPrefsTheWindowOpensCentredOnGeneral() {
        WindowFixture fixture;
        // The file beside the executable is only written, never read.
        fixture.Write(fixture.programDir.filePath("prefs.ini"), "ActivePageIndex=1\n");
        TFIN& w = fixture.Open();
        QCOMPARE(Control<QTabWidget>(w, "PC")->currentIndex(), 0);
        QCOMPARE(Control<QLineEdit>(w, "EditZTRPexe")->text(), QString("Zentrope.exe"));
        QCOMPARE(Control<QLineEdit>(w, "EditParaFile")->text(), QString());
        QVERIFY(fixture.dialogs.messages.isEmpty());
        QVERIFY(ScreenRect().contains(w.geometry().center()));
        QVERIFY(qAbs(w.geometry().center().x() - ScreenRect().center().x()) <= 1);
    }

    void ActivePageIndexRestoresGeneralOrParameters_data() {
        QTest::addColumn<QByteArray>("value");
        QTest::addColumn<int>("shown");
        QTest::newRow("0") << QByteArray("0") << 0;
        QTest::newRow("1") << QByteArray("1") << 1;
        QTest::newRow("results") << QByteArray("2") << 1;
        QTest::newRow("table") << QByteArray("3") << 1;
        QTest::newRow("no such page") << QByteArray("7") << 0;
        QTest::newRow("none") << QByteArray("-1") << 0;
    }
    void ActivePageIndexRestoresGeneralOrParameters() {
        QFETCH(QByteArray, value);
        QFETCH(int, shown);
        WindowFixture fixture;
        fixture.WritePrefs("ActivePageIndex=" + value + "\r\n");
        TFIN& w = fixture.Open();
        QCOMPARE(Control<QTabWidget>(w, "PC")->currentIndex(), shown);
        w.close();
        QVERIFY(fixture.WrittenPrefs().contains("\nActivePageIndex=" + QByteArray::number(shown) +
                                                "\n"));
    }

    void PathsAndRectangleAreRestored() {
        WindowFixture fixture;
        fixture.WritePrefs("FINl=10\nFINt=20\nFINw=640\nFINh=400\n"
                           "zentrope_exe=/opt/z t/tester  \npara_file=\n");
        TFIN& w = fixture.Open();
        QCOMPARE(Control<QLineEdit>(w, "EditZTRPexe")->text(), QString("/opt/z t/tester  "));
        QCOMPARE(Control<QLineEdit>(w, "EditParaFile")->text(), QString());
        QCOMPARE(w.pos(), QPoint(10, 20));
        QCOMPARE(w.size(), QSize(640, 400));
        // An empty parameter file path gives the defaults without a word.
        QVERIFY(fixture.dialogs.messages.isEmpty());
    }

    void UnusableRectanglesAreCentred_data() {
        QTest::addColumn<QByteArray>("prefs");
        QTest::newRow("width abc") << QByteArray("FINl=10\nFINt=20\nFINw=abc\nFINh=400\n");
        QTest::newRow("tiny") << QByteArray("FINl=10\nFINt=20\nFINw=50\nFINh=30\n");
        QTest::newRow("off every screen")
            << QByteArray("FINl=30000\nFINt=20\nFINw=640\nFINh=400\n");
        QTest::newRow("above the screen")
            << QByteArray("FINl=10\nFINt=-5000\nFINw=640\nFINh=400\n");
    }
    void UnusableRectanglesAreCentred() {
        QFETCH(QByteArray, prefs);
        WindowFixture fixture;
        fixture.WritePrefs(prefs);
        TFIN& w = fixture.Open();
        QVERIFY(w.width() >= 200 && w.height() >= 120);
        QVERIFY(ScreenRect().contains(w.geometry().center()));
    }

    void ClosingWritesTheSevenLinesBesideTheExecutable() {
        WindowFixture fixture;
        TFIN& w = fixture.Open();
        Control<QLineEdit>(w, "EditZTRPexe")->setText("/usr/local/bin/zentrope");
        Control<QLineEdit>(w, "EditParaFile")->setText(QString::fromUtf8("/data/p\xc3\xa4ra"));
        Control<QTabWidget>(w, "PC")->setCurrentIndex(2);
        w.move(7, 9);
        w.resize(700, 500);
        QVERIFY(w.close());
        QCOMPARE(fixture.WrittenPrefs(),
                 QByteArray("zentrope_exe=/usr/local/bin/zentrope\npara_file=/data/p\xc3\xa4ra\n"
                            "ActivePageIndex=2\nFINl=7\nFINt=9\nFINw=700\nFINh=500\n"));
        QVERIFY(!QFile::exists(fixture.currentDir.filePath("prefs.ini")));
        // What was written is read back the same by the next start from that folder.
        WindowFixture again;
        again.WritePrefs(fixture.WrittenPrefs());
        TFIN& next = again.Open();
        QCOMPARE(Control<QLineEdit>(next, "EditParaFile")->text(),
                 QString::fromUtf8("/data/p\xc3\xa4ra"));
        QCOMPARE(Control<QTabWidget>(next, "PC")->currentIndex(), 1);
        QCOMPARE(next.geometry(), QRect(7, 9, 700, 500));
    }

    void EscapeClosesFromAnyControlAndWrites_data() {
        QTest::addColumn<QString>("control");
        QTest::newRow("edit") << "eMAU_n";
        QTest::newRow("combo box") << "CBnUM";
        QTest::newRow("order list") << "LBorder";
        QTest::newRow("check box") << "CheckBox5";
    }
    void EscapeClosesFromAnyControlAndWrites() {
        QFETCH(QString, control);
        WindowFixture fixture;
        TFIN& w = fixture.Open();
        w.show();
        QApplication::setActiveWindow(&w);
        QVERIFY(QTest::qWaitForWindowActive(&w));
        auto* widget = w.findChild<QWidget*>(control);
        Control<QTabWidget>(w, "PC")->setCurrentIndex(
            Control<QWidget>(w, "TSparam")->isAncestorOf(widget) ? 1 : 0);
        widget->setFocus();
        QTest::keyClick(widget, Qt::Key_Escape);
        QVERIFY(!w.isVisible());
        QVERIFY(fixture.WrittenPrefs().startsWith("zentrope_exe=Zentrope.exe\n"));
    }

    // Ctrl+Tab turns the pages forward and Ctrl+Shift+Tab back, from an edit and from the table;
    // the keys go in through the window, as a keyboard's do, so the focused control may claim them.
    void ControlTabTurnsThePages() {
        WindowFixture fixture;
        TFIN& w = fixture.Open();
        w.show();
        QApplication::setActiveWindow(&w);
        QVERIFY(QTest::qWaitForWindowActive(&w));
        auto* pages = Control<QTabWidget>(w, "PC");
        const auto press = [&](QWidget* focus, Qt::Key key, Qt::KeyboardModifiers modifiers) {
            focus->setFocus();
            QTest::keyClick(w.windowHandle(), key, modifiers);
        };
        auto* length = Control<QLineEdit>(w, "Editn");
        pages->setCurrentIndex(0);
        press(length, Qt::Key_Tab, Qt::ControlModifier);
        QCOMPARE(pages->currentIndex(), 1);
        pages->setCurrentIndex(0);
        press(length, Qt::Key_Backtab, Qt::ControlModifier | Qt::ShiftModifier);
        QCOMPARE(pages->currentIndex(), pages->count() - 1); // wraps round

        auto* grid = Control<QWidget>(w, "SG");
        int table = 0;
        while (!pages->widget(table)->isAncestorOf(grid))
            ++table;
        pages->setCurrentIndex(table);
        press(grid, Qt::Key_Tab, Qt::ControlModifier);
        QCOMPARE(pages->currentIndex(), (table + 1) % pages->count());
    }

    // Escape or closing with parameters changed since the last load or save asks first.
    void ChangedParametersAreOfferedForSaving() {
        WindowFixture fixture;
        TFIN& w = fixture.Open();
        w.show();
        QApplication::setActiveWindow(&w);
        QVERIFY(QTest::qWaitForWindowActive(&w));
        const QString para = fixture.Path("para.txt");
        Control<QLineEdit>(w, "EditParaFile")->setText(para);
        auto* count = Control<QLineEdit>(w, "eLBLKmin");
        const QString before = count->text();
        count->setText("2048");
        count->setText(before); // undone: nothing to ask
        QVERIFY(!w.ParametersChanged());
        auto* box = Control<QCheckBox>(w, "CheckBox6");

        box->setChecked(!box->isChecked());
        Control<QLineEdit>(w, "eMAU_n")->setFocus();
        fixture.dialogs.saveAnswers = {SaveChoice::Cancel};
        QTest::keyClick(Control<QLineEdit>(w, "eMAU_n"), Qt::Key_Escape);
        QVERIFY(w.isVisible());
        QCOMPARE(fixture.dialogs.saveQuestions.size(), 1);
        QVERIFY(fixture.WrittenPrefs().isEmpty());

        // A save that stops on a refused value keeps the window open.
        Control<QLineEdit>(w, "eSERstp")->setText("-");
        fixture.dialogs.saveAnswers = {SaveChoice::Save};
        QVERIFY(!w.close());
        QVERIFY(!QFile::exists(para));
        Control<QLineEdit>(w, "eSERstp")->setText("-1");

        fixture.dialogs.saveAnswers = {SaveChoice::Save};
        QVERIFY(w.close());
        QCOMPARE(fixture.dialogs.saveQuestions.size(), 3);
        QVERIFY(QFile::exists(para));
        QVERIFY(!fixture.WrittenPrefs().isEmpty());

        // Saved, then loaded into a new window: closing it asks nothing.
        WindowFixture again;
        again.WritePrefs("para_file=" + para.toUtf8() + "\n");
        TFIN& reopened = again.Open();
        QCOMPARE(Control<QCheckBox>(reopened, "CheckBox6")->isChecked(), box->isChecked());
        QVERIFY(reopened.close());
        QVERIFY(again.dialogs.saveQuestions.isEmpty());
    }

    void DiscardingClosesWithoutWriting() {
        WindowFixture fixture;
        TFIN& w = fixture.Open();
        Control<QLineEdit>(w, "EditParaFile")->setText(fixture.Path("para.txt"));
        Control<QLineEdit>(w, "eLBLKmin")->setText("2048");
        fixture.dialogs.saveAnswers = {SaveChoice::Discard};
        QVERIFY(w.close());
        QCOMPARE(fixture.dialogs.saveQuestions.size(), 1);
        QVERIFY(!QFile::exists(fixture.Path("para.txt")));
    }

    void AWindowPartlyOffTheScreenIsBroughtBack() {
        WindowFixture fixture;
        const QRect screen = ScreenRect();
        fixture.WritePrefs("FINl=" + QByteArray::number(screen.right() - 100) +
                           "\nFINt=" + QByteArray::number(screen.top() - 50) +
                           "\nFINw=400\nFINh=" + QByteArray::number(screen.height() + 300) + "\n");
        TFIN& w = fixture.Open();
        // With the title bar the window manager puts above it, the window stays on the screen.
        const int titleBar = w.style()->pixelMetric(QStyle::PM_TitleBarHeight);
        QVERIFY(titleBar > 0);
        QVERIFY(screen.contains(QRect(w.pos(), w.size() + QSize(0, titleBar))));
        QCOMPARE(w.width(), 400);
        QCOMPARE(w.height(), screen.height() - titleBar);
    }

    void UnwritablePrefsAreReported() {
        WindowFixture fixture;
        fixture.window = std::make_unique<TFIN>(WindowSetup{
            fixture.programDir.filePath("missing"), fixture.currentDir.path(), &fixture.dialogs});
        QVERIFY(fixture.window->close());
        QCOMPARE(fixture.dialogs.messages.size(), 1);
        QCOMPARE(fixture.dialogs.messages[0].text, QString("Preference file not saved"));
        QCOMPARE(fixture.dialogs.messages[0].icon, MessageIcon::Warning);
    }

    void AFailedWriteKeepsTheOldFileAndIsReported() {
        WindowFixture fixture;
        const QByteArray old = "zentrope_exe=/old/tester\npara_file=/old/para\n";
        QFile prefs(fixture.programDir.filePath("prefs.ini"));
        QVERIFY(prefs.open(QIODevice::WriteOnly) && prefs.write(old) == old.size());
        prefs.close();
        TFIN& w = fixture.Open();
        Control<QLineEdit>(w, "EditParaFile")->setText(QString(300, u'p'));
        // A file size limit below the new text's length fails the write as a full disk would.
        std::signal(SIGXFSZ, SIG_IGN);
        rlimit saved{};
        QVERIFY(getrlimit(RLIMIT_FSIZE, &saved) == 0);
        rlimit lowered = saved;
        lowered.rlim_cur = 100;
        QVERIFY(setrlimit(RLIMIT_FSIZE, &lowered) == 0);
        const bool closed = w.close();
        QVERIFY(setrlimit(RLIMIT_FSIZE, &saved) == 0);
        QVERIFY(closed);
        QCOMPARE(fixture.MessageTexts(), QStringList("Preference file not saved"));
        QCOMPARE(fixture.WrittenPrefs(), old);
        QCOMPARE(QDir(fixture.programDir.path()).entryList(QDir::Files), QStringList("prefs.ini"));
    }
};

ZENTROPE_GUI_TEST_MAIN(PrefsFileTest)
#include "prefs_file_test.moc"
