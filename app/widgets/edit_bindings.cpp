#include "app/widgets/edit_bindings.h"

#include <QAction>
#include <QClipboard>
#include <QContextMenuEvent>
#include <QGuiApplication>
#include <QLineEdit>
#include <QMenu>
#include <algorithm>
#include <limits>
#include <memory>

namespace {

const char* const LimitProperty = "typingLimit";

// What typing or pasting may still add: the limit less the text that stays; no limit without one.
int Room(const QLineEdit* edit) {
    const int limit = TypingLimit(edit);
    if (limit <= 0)
        return std::numeric_limits<int>::max();
    return limit - int(edit->text().size() - edit->selectedText().size());
}

// As a system edit with a limit does: the text is cut to what still fits.
void PasteWhatFits(QLineEdit* edit, const QString& text) {
    if (edit->isReadOnly())
        return;
    const int room = Room(edit);
    if (room > 0)
        edit->insert(text.left(room));
}

// Select all, copy, cut, undo and redo are commands, not typed characters: no key filter
// sees them.
bool IsEditingCommand(const QKeyEvent& event) {
    for (const QKeySequence::StandardKey command :
         {QKeySequence::SelectAll, QKeySequence::Copy, QKeySequence::Cut, QKeySequence::Undo,
          QKeySequence::Redo, QKeySequence::Paste})
        if (event.matches(command))
            return true;
    return false;
}

class KeyPressFilter : public QObject {
public:
    KeyPressFilter(QObject* parent, KeyPressHandler handler)
        : QObject(parent), handler_(std::move(handler)) {}

    bool Discards(QObject* watched, const QKeyEvent& event) const {
        if (IsEditingCommand(event))
            return false;
        const std::optional<QChar> typed = TypedCharacter(event);
        if (!typed)
            return false;
        QChar key = *typed;
        handler_(watched, key);
        return key.isNull();
    }

    bool eventFilter(QObject* watched, QEvent* event) override {
        if (event->type() != QEvent::KeyPress)
            return false;
        const auto& key = *static_cast<QKeyEvent*>(event);
        if (key.matches(QKeySequence::Paste)) {
            PasteWhatFits(static_cast<QLineEdit*>(watched),
                          Accepted(watched, QGuiApplication::clipboard()->text()));
            return true;
        }
        return Discards(watched, key);
    }

private:
    // The characters of a pasted text that typing them one by one would let in.
    QString Accepted(QObject* watched, const QString& text) const {
        QString accepted;
        for (QChar character : text) {
            QChar key = character;
            handler_(watched, key);
            if (!key.isNull() && key.isPrint())
                accepted += key;
        }
        return accepted;
    }

    KeyPressHandler handler_;
};

class TypingLimitFilter : public QObject {
public:
    TypingLimitFilter(QLineEdit* edit) : QObject(edit), edit_(edit) {}

    bool eventFilter(QObject*, QEvent* event) override {
        return event->type() == QEvent::KeyPress && FilterKey(*static_cast<QKeyEvent*>(event));
    }

private:
    bool FilterKey(const QKeyEvent& key) {
        if (key.matches(QKeySequence::Paste)) {
            PasteWhatFits(edit_, QGuiApplication::clipboard()->text());
            return true;
        }
        const QString text = key.text();
        const bool insertsText = !text.isEmpty() && text.at(0).isPrint();
        return insertsText && text.size() > Room(edit_);
    }

    QLineEdit* edit_;
};

class FocusOutFilter : public QObject {
public:
    FocusOutFilter(QObject* parent, std::function<void()> handler)
        : QObject(parent), handler_(std::move(handler)) {}

    bool eventFilter(QObject*, QEvent* event) override {
        // Another window taking the focus (a message box, a menu) is not leaving the field.
        if (event->type() == QEvent::FocusOut) {
            const Qt::FocusReason reason = static_cast<QFocusEvent*>(event)->reason();
            if (reason != Qt::ActiveWindowFocusReason && reason != Qt::PopupFocusReason)
                handler_();
        }
        return false;
    }

private:
    std::function<void()> handler_;
};

bool DiscardsKey(QLineEdit* edit, const QKeyEvent& event) {
    const QList<QObject*>& filters = edit->children();
    return std::any_of(filters.begin(), filters.end(), [&](QObject* child) {
        const auto* filter = dynamic_cast<const KeyPressFilter*>(child);
        return filter != nullptr && filter->Discards(edit, event);
    });
}

// The first key of the shortcut a menu entry shows after its tab.
std::optional<QKeyCombination> EntryShortcut(const QAction& action) {
    const qsizetype tab = action.text().indexOf(u'\t');
    if (tab < 0)
        return std::nullopt;
    const QKeySequence sequence =
        QKeySequence::fromString(action.text().mid(tab + 1), QKeySequence::NativeText);
    if (sequence.isEmpty())
        return std::nullopt;
    return sequence[0];
}

class EditMenuFilter : public QObject {
public:
    explicit EditMenuFilter(QLineEdit* edit) : QObject(edit), edit_(edit) {}

    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() != QEvent::ContextMenu)
            return false;
        ShowMenu(static_cast<QContextMenuEvent*>(event)->globalPos());
        return true;
    }

private:
    // The menu's paste obeys the typing limit too, while a longer text the program set stays
    // whole.
    void ShowMenu(QPoint at) {
        const int unlimited = edit_->maxLength();
        if (TypingLimit(edit_) > 0)
            edit_->setMaxLength(std::max(TypingLimit(edit_), int(edit_->text().size())));
        std::unique_ptr<QMenu> menu(CreateEditMenu(edit_));
        menu->exec(at);
        edit_->setMaxLength(unlimited);
    }

    QLineEdit* edit_;
};

void EnsureEditMenu(QLineEdit* edit) {
    const QList<QObject*>& children = edit->children();
    const bool present = std::any_of(children.begin(), children.end(), [](QObject* child) {
        return dynamic_cast<EditMenuFilter*>(child) != nullptr;
    });
    if (!present)
        edit->installEventFilter(new EditMenuFilter(edit));
}

} // namespace

std::optional<QChar> TypedCharacter(const QKeyEvent& event) {
    switch (event.key()) {
    case Qt::Key_Backspace:
        return QChar(8);
    case Qt::Key_Return:
    case Qt::Key_Enter:
        return QChar(13);
    case Qt::Key_Escape:
        return QChar(27);
    case Qt::Key_Delete:
        return std::nullopt;
    default:
        break;
    }
    const Qt::KeyboardModifiers mods = event.modifiers();
    if ((mods & Qt::ControlModifier) && !(mods & Qt::AltModifier) && event.key() >= Qt::Key_A &&
        event.key() <= Qt::Key_Z)
        return QChar(event.key() - Qt::Key_A + 1);
    const QString text = event.text();
    if (text.isEmpty() || !text.at(0).isPrint())
        return std::nullopt;
    return text.at(0);
}

void BindKeyPress(QLineEdit* edit, KeyPressHandler handler) {
    edit->installEventFilter(new KeyPressFilter(edit, std::move(handler)));
    EnsureEditMenu(edit);
}

QMenu* CreateEditMenu(QLineEdit* edit) {
    QMenu* menu = edit->createStandardContextMenu();
    for (QAction* action : menu->actions()) {
        const std::optional<QKeyCombination> shortcut = EntryShortcut(*action);
        if (!shortcut)
            continue;
        const QKeyEvent press(QEvent::KeyPress, shortcut->key(), shortcut->keyboardModifiers());
        if (DiscardsKey(edit, press))
            action->setText(action->text().left(action->text().indexOf(u'\t')));
    }
    return menu;
}

void LimitTyping(QLineEdit* edit, int maxChars) {
    edit->setProperty(LimitProperty, maxChars);
    // A drop would bypass the limit.
    edit->setAcceptDrops(false);
    edit->installEventFilter(new TypingLimitFilter(edit));
    EnsureEditMenu(edit);
}

int TypingLimit(const QLineEdit* edit) {
    return edit->property(LimitProperty).toInt();
}

void BindFocusOut(QWidget* widget, std::function<void()> handler) {
    widget->installEventFilter(new FocusOutFilter(widget, std::move(handler)));
}
