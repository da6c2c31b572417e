// Edit events that Qt lacks as signals: a key filter that sees each typed character, a length
// limit that binds typing and pasting only, and a handler for losing the focus.
#pragma once

#include <QChar>
#include <QKeyEvent>
#include <functional>
#include <optional>

class QLineEdit;
class QMenu;
class QObject;
class QWidget;

// The character a key press produces: printable text, backspace (8), Enter (13), Escape (27),
// or the control character of Ctrl plus a letter (Ctrl+V gives 22). Keys that move the cursor
// or delete forwards produce none.
std::optional<QChar> TypedCharacter(const QKeyEvent& event);

// The handler sees every typed character of the edit before the edit does; setting it to the
// null character discards the keystroke. It only decides: the edit's context menu asks it
// about the shortcuts the menu would show. The editing shortcuts (select all, copy, cut,
// paste, undo, redo) are not typed characters and work; a paste keeps only the characters the
// handler lets through.
using KeyPressHandler = std::function<void(QObject* sender, QChar& key)>;
void BindKeyPress(QLineEdit* edit, KeyPressHandler handler);

// The edit's standard context menu, without the shortcut texts of entries whose keys the
// edit's key filters discard; the entries themselves still work. Bound edits show it.
QMenu* CreateEditMenu(QLineEdit* edit);

// At most maxChars characters by typing or pasting; text set by the program is never cut.
// Bind it before any key filter, so the filter sees keys first.
void LimitTyping(QLineEdit* edit, int maxChars);
// The limit given to LimitTyping, 0 when there is none.
int TypingLimit(const QLineEdit* edit);

// Runs handler when the focus moves from widget to another control; the focus leaving with its
// window (a message box or menu opening) does not count.
void BindFocusOut(QWidget* widget, std::function<void()> handler);
