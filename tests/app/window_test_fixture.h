// A window opened with its own executable and current folders (temporary, so no real
// prefs.ini is touched), its boxes recorded and its file dialogs answered from a queue.
#pragma once

#include "dialog_seam.h"
#include "main_window.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QList>
#include <QTemporaryDir>
#include <memory>

class DialogRecorder : public DialogSeam {
public:
    struct Message {
        QString text;
        MessageIcon icon;
    };
    // How a file dialog stood when the window ran it.
    struct Run {
        QString name;
        QString folder;
        QStringList nameFilters;
        QFileDialog::FileMode fileMode;
        QFileDialog::AcceptMode acceptMode;
        QFileDialog::Options options;
    };

    QList<Message> messages;
    QList<Run> runs;
    // One answer per dialog run: a path, or a null text for cancel; an empty queue cancels.
    QStringList answers;

    void ShowMessage(const QString& text, MessageIcon icon) override {
        messages.append({text, icon});
    }

    std::optional<QString> RunFileDialog(QFileDialog& dialog) override {
        runs.append({dialog.objectName(), dialog.directory().absolutePath(), dialog.nameFilters(),
                     dialog.fileMode(), dialog.acceptMode(), dialog.options()});
        const QString answer = answers.isEmpty() ? QString() : answers.takeFirst();
        if (answer.isNull())
            return std::nullopt;
        return answer;
    }
};

class WindowFixture {
public:
    QTemporaryDir programDir;
    QTemporaryDir currentDir;
    DialogRecorder dialogs;
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

    static void Write(const QString& path, const QByteArray& content) {
        QFile file(path);
        if (file.open(QIODevice::WriteOnly))
            file.write(content);
    }
    static QByteArray Read(const QString& path) {
        QFile file(path);
        return file.open(QIODevice::ReadOnly) ? file.readAll() : QByteArray();
    }

    void WritePrefs(const QByteArray& content) const {
        Write(currentDir.filePath("prefs.ini"), content);
    }
    QByteArray WrittenPrefs() const { return Read(programDir.filePath("prefs.ini")); }

private:
    QString previous_;
};
