// A window ready for the run buttons: folders of its own, boxes recorded
// instead of shown, and a private copy of the tester's test double named in
// EditZTRPexe.
#pragma once

#include "dialog_seam.h"
#include "fake_tester_folder.h"
#include "fake_tester_protocol.h"
#include "main_window.h"

#include <QAbstractItemModel>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QList>
#include <QTableView>
#include <QTemporaryDir>
#include <memory>

struct ShownMessage {
  QString text;
  MessageIcon icon;
  bool operator==(const ShownMessage &) const = default;
};

class RecordingDialogs : public DialogSeam {
public:
  void ShowMessage(const QString &text, MessageIcon icon) override {
    messages.push_back({text, icon});
  }
  std::optional<QString> RunFileDialog(QFileDialog &) override {
    return std::nullopt;
  }

  QList<ShownMessage> messages;
};

// While it lives, the process works in `work`, as the front end works in its
// current folder.
class LaunchFixture {
public:
  explicit LaunchFixture(const QString &testerSubfolder = QString())
      : tester(testerSubfolder), previousFolder_(QDir::currentPath()) {
    QDir::setCurrent(work.path());
    window = std::make_unique<TFIN>(
        WindowSetup{programFolder.path(), work.path(), &dialogs});
    FIN = window.get();
    window->EditZTRPexe->setText(tester.executable());
    window->EditParaFile->setText(work.filePath("para"));
  }
  ~LaunchFixture() {
    window.reset();
    FIN = nullptr;
    QDir::setCurrent(previousFolder_);
  }
  LaunchFixture(const LaunchFixture &) = delete;
  LaunchFixture &operator=(const LaunchFixture &) = delete;

  bool isValid() const {
    return work.isValid() && programFolder.isValid() && tester.isValid();
  }
  bool testerStarted() const {
    return QFile::exists(tester.filePath(zentrope::fake_tester::RecordFile));
  }

  // The text of a table cell as the grid shows it.
  QString cell(int column, int row) const {
    const QAbstractItemModel *model = window->SG->model();
    return model->data(model->index(row, column)).toString();
  }
  // The table row of a test, or -1.
  int rowOf(const QString &testName) const {
    for (int row = 1; row < window->SG->model()->rowCount(); ++row)
      if (cell(1, row) == testName)
        return row;
    return -1;
  }

  QTemporaryDir work;
  QTemporaryDir programFolder;
  zentrope::testing::FakeTesterFolder tester;
  RecordingDialogs dialogs;
  std::unique_ptr<TFIN> window;

private:
  QString previousFolder_;
};
