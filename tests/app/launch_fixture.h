// A window ready for the run buttons: the window fixture plus a private copy of the tester's
// test double named in EditZTRPexe.
#pragma once

#include "fake_tester_folder.h"
#include "fake_tester_protocol.h"
#include "window_fixture.h"

#include <QAbstractItemModel>
#include <QLineEdit>
#include <QTableView>

class LaunchFixture : public WindowFixture {
public:
    explicit LaunchFixture(const QString& testerSubfolder = QString()) : tester(testerSubfolder) {
        Open();
        window->EditZTRPexe->setText(tester.executable());
        window->EditParaFile->setText(Path("para"));
    }
    // The window, and any tester it still runs, goes before the tester's folder.
    ~LaunchFixture() { window.reset(); }

    bool isValid() const {
        return currentDir.isValid() && programDir.isValid() && tester.isValid();
    }
    bool testerStarted() const {
        return QFile::exists(tester.filePath(zentrope::fake_tester::RecordFile));
    }

    // The text of a table cell as the grid shows it.
    QString cell(int column, int row) const {
        const QAbstractItemModel* model = window->SG->model();
        return model->data(model->index(row, column)).toString();
    }
    // The table row of a test, or -1.
    int rowOf(const QString& testName) const {
        for (int row = 1; row < window->SG->model()->rowCount(); ++row)
            if (cell(1, row) == testName)
                return row;
        return -1;
    }

    zentrope::testing::FakeTesterFolder tester;
};
