// A window opened in a temporary current folder (so no real prefs.ini is read or written),
// with its message boxes recorded and its file dialogs answered from a script.
#pragma once

#include "dialog_seam.h"
#include "main_window.h"

#include <QDir>
#include <QFile>
#include <QFileDialog>
#include <QFileInfo>
#include <QList>
#include <QTemporaryDir>
#include <deque>
#include <memory>

struct ShownMessage {
    QString text;
    MessageIcon icon;
};

// How a dialog stood when the window ran it.
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
    std::deque<QString> answers; // one per dialog run; an empty one or none left cancels

    void ShowMessage(const QString& text, MessageIcon icon) override {
        messages.append({text, icon});
    }

    std::optional<QString> RunFileDialog(QFileDialog& dialog) override {
        opened.append({dialog.objectName(), dialog.directory().absolutePath(),
                       QFileInfo(dialog.selectedFiles().value(0)).fileName(),
                       dialog.fileMode() == QFileDialog::ExistingFile});
        if (answers.empty())
            return std::nullopt;
        const QString answer = answers.front();
        answers.pop_front();
        if (answer.isEmpty())
            return std::nullopt;
        return answer;
    }
};

class WindowInFolder {
public:
    QTemporaryDir dir;
    ScriptedDialogs dialogs;
    std::unique_ptr<TFIN> window;

    WindowInFolder() : previous_(QDir::currentPath()) { QDir::setCurrent(dir.path()); }
    ~WindowInFolder() {
        window.reset();
        QDir::setCurrent(previous_);
    }

    TFIN& Open() {
        window = std::make_unique<TFIN>(WindowSetup{dir.path(), dir.path(), &dialogs});
        return *window;
    }

    QString Path(const QString& name) const { return dir.filePath(name); }

    void Write(const QString& name, const QByteArray& content) const {
        QDir().mkpath(QFileInfo(Path(name)).absolutePath());
        QFile file(Path(name));
        if (file.open(QIODevice::WriteOnly))
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

private:
    QString previous_;
};
