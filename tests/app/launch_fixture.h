// A window ready for the run buttons: the window fixture plus a private copy of the tester's
// test double named in EditZTRPexe.
#pragma once

#include "fake_tester_folder.h"
#include "fake_tester_protocol.h"
#include "window_fixture.h"

#include <QLineEdit>

class LaunchFixture : public WindowFixture {
public:
    explicit LaunchFixture(const QString& testerSubfolder = QString()) : tester(testerSubfolder) {
        Open();
        Control<QLineEdit>(*window, "EditZTRPexe")->setText(tester.executable());
        Control<QLineEdit>(*window, "EditParaFile")->setText(Path("para"));
    }
    // The window, and any tester it still runs, goes before the tester's folder.
    ~LaunchFixture() { window.reset(); }

    bool isValid() const {
        return currentDir.isValid() && programDir.isValid() && tester.isValid();
    }
    bool testerStarted() const {
        return QFile::exists(tester.filePath(zentrope::fake_tester::RecordFile));
    }

    zentrope::testing::FakeTesterFolder tester;
};
