// At start-up the window settles what a stopped program left behind before it reads anything.
#include "app/interrupted_saves.h"
#include "paramfile/save_recovery.h"
#include "tests/app/gui_test_main.h"
#include "tests/app/window_fixture.h"

using namespace zentrope;

namespace {

QByteArray ReadData(const QString& name) {
    QFile file(QStringLiteral(PARAMFILE_TEST_DATA "/") + name);
    return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
}

} // namespace

class StartupRecoveryTest : public QObject {
    Q_OBJECT
private slots:
    // A save stopped between its in-place writes left the new head on the old tail.
    void AHalfSavedParameterFileIsPutBackBeforeItIsRead() {
        QTemporaryDir dataHome;
        qputenv("XDG_DATA_HOME", dataHome.path().toLocal8Bit());
        WindowFixture fixture;
        const QByteArray oldText = ReadData("defaults.txt");
        QVERIFY(oldText.size() > 1000);
        QByteArray newText = oldText;
        newText.replace("NT 50 ", "NT 70 ").append("[extra]\n");
        fixture.WritePrefs("ParaFile=para\n");
        fixture.Write("para", newText.left(600) + oldText.mid(600));
        const std::string target = QFile::encodeName(fixture.Path("para")).toStdString();
        QVERIFY(!KeepRecoveryCopy(QFile::encodeName(SaveRecoveryFolder()).toStdString(), target,
                                  oldText.toStdString(), newText.toStdString())
                     .empty());
        fixture.Open();
        QCOMPARE(fixture.Read("para"), oldText);
        const QStringList messages = fixture.MessageTexts();
        QCOMPARE(messages.size(), 1);
        QVERIFY(messages[0].contains(QDir::toNativeSeparators(fixture.Path("para"))));
        QVERIFY(messages[0].contains("put back"));
        QVERIFY(QDir(SaveRecoveryFolder()).isEmpty());
    }
};

ZENTROPE_GUI_TEST_MAIN(StartupRecoveryTest)
#include "startup_recovery_test.moc"
