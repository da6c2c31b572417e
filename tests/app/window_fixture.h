// A window opened with its own program and current folders (temporary, so no real prefs.ini
// is touched), its message boxes recorded and its file dialogs answered from a script.
#pragma once

#include "app/dialog_seam.h"
#include "app/main_window.h"
#include "app/pages/general_page.h"
#include "app/pages/parameters_page.h"
#include "app/pages/results_page.h"
#include "app/pages/table_page.h"
#include "app/widgets/order_list_box.h"
#include "app/widgets/result_text_view.h"
#include "app/widgets/up_down.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QList>
#include <QListWidget>
#include <QMap>
#include <QTableView>
#include <QTemporaryDir>
#include <QTest>
#include <memory>

// A control of the window by its objectName, as every part of the program names it; a name
// that no control of that class carries ends the test program.
template <typename T> T* Control(const QWidget& window, const char* name) {
    T* control = window.findChild<T*>(QLatin1String(name));
    if (!control)
        qFatal("no control %s of the expected class", name);
    return control;
}

struct ShownMessage {
    QString text;
    MessageIcon icon;
    bool operator==(const ShownMessage&) const = default;
};

// How a file dialog stood when the window ran it.
struct OpenedDialog {
    QString dialog; // "OD" or "SD"
    QString folder;
    QString fileName;
    bool mustExist;
};

class ScriptedDialogs : public DialogSeam {
public:
    QList<ShownMessage> messages;
    QList<OpenedDialog> opened;
    QStringList answers; // one per dialog run; an empty one or none left cancels
    QStringList questions;
    QList<bool> goOnAnswers; // one per question; none left goes back
    QStringList saveQuestions;
    QList<SaveChoice> saveAnswers; // one per question; none left discards
    QStringList choiceQuestions;
    QList<int> choiceAnswers; // one per question; none left takes the last choice

    void ShowMessage(const QString& text, MessageIcon icon) override {
        messages.append({text, icon});
    }

    // The detail of each message that had one, by the message's index.
    QMap<int, QString> details;
    void ShowDetailedMessage(const QString& text, const QString& detail,
                             MessageIcon icon) override {
        if (!detail.isEmpty())
            details.insert(int(messages.size()), detail);
        messages.append({text, icon});
    }

    bool AskToGoOn(const QString& text) override {
        questions.append(text);
        return !goOnAnswers.isEmpty() && goOnAnswers.takeFirst();
    }

    SaveChoice AskToSave(const QString& text) override {
        saveQuestions.append(text);
        return saveAnswers.isEmpty() ? SaveChoice::Discard : saveAnswers.takeFirst();
    }

    int Choose(const QString& text, const QStringList& choices) override {
        choiceQuestions.append(text);
        return choiceAnswers.isEmpty() ? int(choices.size()) - 1 : choiceAnswers.takeFirst();
    }

    std::optional<QString> RunFileDialog(QFileDialog& dialog) override {
        opened.append({dialog.objectName(), dialog.directory().absolutePath(),
                       QFileInfo(dialog.selectedFiles().value(0)).fileName(),
                       dialog.fileMode() == QFileDialog::ExistingFile});
        const QString answer = answers.isEmpty() ? QString() : answers.takeFirst();
        if (answer.isEmpty())
            return std::nullopt;
        return answer;
    }
};

// While it lives, the process works in currentDir, as the front end works in its current
// folder.
class WindowFixture {
public:
    QTemporaryDir programDir;
    QTemporaryDir currentDir;
    ScriptedDialogs dialogs;
    std::unique_ptr<TFIN> window;

    WindowFixture() : previous_(QDir::currentPath()) { QDir::setCurrent(currentDir.path()); }
    ~WindowFixture() {
        window.reset();
        QDir::setCurrent(previous_);
    }
    WindowFixture(const WindowFixture&) = delete;
    WindowFixture& operator=(const WindowFixture&) = delete;

    TFIN& Open() {
        window =
            std::make_unique<TFIN>(WindowSetup{programDir.path(), currentDir.path(), &dialogs});
        return *window;
    }

    // A name relative to the current folder; an absolute path stays as it is.
    QString Path(const QString& name) const { return QDir(currentDir.path()).filePath(name); }

    void Write(const QString& name, const QByteArray& content) const {
        QDir().mkpath(QFileInfo(Path(name)).absolutePath());
        QFile file(Path(name));
        QVERIFY2(file.open(QIODevice::WriteOnly), qPrintable(file.fileName()));
        file.write(content);
    }

    QByteArray Read(const QString& name) const {
        QFile file(Path(name));
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    QStringList MessageTexts() const {
        QStringList texts;
        for (const ShownMessage& m : dialogs.messages)
            texts << m.text;
        return texts;
    }

    // The window reads prefs.ini from the current folder and writes it to its program folder.
    void WritePrefs(const QByteArray& content) const { Write("prefs.ini", content); }
    QByteArray WrittenPrefs() const { return Read(programDir.filePath("prefs.ini")); }

private:
    QString previous_;
};

// The execution order list, first item first: the items' captions and the tests they carry.
inline QStringList OrderTexts(const TFIN& w) {
    QStringList texts;
    for (int row = 0; row < Control<OrderListBox>(w, "LBorder")->count(); ++row)
        texts << Control<OrderListBox>(w, "LBorder")->item(row)->text();
    return texts;
}

inline QList<int> OrderIds(const TFIN& w) {
    QList<int> ids;
    for (int row = 0; row < Control<OrderListBox>(w, "LBorder")->count(); ++row)
        ids << Control<OrderListBox>(w, "LBorder")->item(row)->data(Qt::UserRole).toInt();
    return ids;
}

// A result table cell as the grid shows it, addressed (column, row) as the grid is; row 0 is
// the header row.
inline QString CellText(const TFIN& w, int col, int row) {
    return Control<QTableView>(w, "SG")->model()->index(row, col).data().toString();
}

// A column's cells below the header row, top first.
inline QStringList ColumnTexts(const TFIN& w, int col) {
    QStringList texts;
    for (int row = 1; row < Control<QTableView>(w, "SG")->model()->rowCount(); ++row)
        texts << CellText(w, col, row);
    return texts;
}

// The table row of a test, or -1.
inline int RowOf(const TFIN& w, const QString& testName) {
    for (int row = 1; row < Control<QTableView>(w, "SG")->model()->rowCount(); ++row)
        if (CellText(w, 1, row) == testName)
            return row;
    return -1;
}
