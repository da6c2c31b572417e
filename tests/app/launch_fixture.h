// A window ready for the run buttons: the window fixture plus a private copy of the tester's
// test double named in EditZTRPexe, and a user data folder of its own for the runs' folders.
#pragma once

#include "app/run_watch/run_folder_place.h"
#include "records/run_store.h"
#include "tests/app/window_fixture.h"
#include "tests/runner/fake_tester_folder.h"
#include "tests/runner/fake_tester_protocol.h"

#include <QDirIterator>
#include <QLineEdit>

class LaunchFixture : public WindowFixture {
public:
    explicit LaunchFixture(const QString& testerSubfolder = QString()) : tester(testerSubfolder) {
        qputenv("XDG_DATA_HOME", dataHome.path().toLocal8Bit());
        Open();
        Control<QLineEdit>(*window, "EditZTRPexe")->setText(tester.Executable());
        Control<QLineEdit>(*window, "EditParaFile")->setText(Path("para"));
    }
    // The window, and any tester it still runs, goes before the tester's folder.
    ~LaunchFixture() { window.reset(); }

    bool IsValid() const {
        return currentDir.isValid() && programDir.isValid() && tester.IsValid() &&
               dataHome.isValid();
    }
    bool TesterStarted() const {
        return QFile::exists(tester.FilePath(zentrope::fake_tester::RecordFile));
    }

    // Clicks the wait button and lets the window run until it watches no run any more.
    void RunWaitToEnd(int timeoutMs = 30000) {
        window->ButtRunWaitClick();
        WaitForRunEnd(timeoutMs);
    }
    bool WaitForRunEnd(int timeoutMs = 30000) {
        return QTest::qWaitFor([this] { return window->WatchedRun() == nullptr; }, timeoutMs);
    }

    // The tester's logs of every run, oldest first.
    QStringList Logs() const {
        QStringList logs;
        QDirIterator it(dataHome.path(), {"tester.log"}, QDir::Files, QDirIterator::Subdirectories);
        while (it.hasNext())
            logs << it.next();
        logs.sort();
        return logs;
    }

    // The recorded runs, newest first.
    QList<zentrope::RunRecord> Runs() const {
        zentrope::StoreOpening opening = zentrope::RunStore::Open(RunsRoot());
        return opening.store ? opening.store->List() : QList<zentrope::RunRecord>();
    }

    QTemporaryDir dataHome;
    zentrope::testing::FakeTesterFolder tester;
};
