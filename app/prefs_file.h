// prefs.ini: the tester's path, the parameter file's path, the active page and the window's
// rectangle, one "key=value" line each.
#pragma once

#include <QByteArray>
#include <QRect>
#include <QString>
#include <optional>

// What a prefs.ini names; a key that is missing stays empty, a repeated key's last line wins.
struct Preferences {
    std::optional<QString> zentropeExe;
    std::optional<QString> paraFile;
    std::optional<int> activePageIndex;
    std::optional<int> left;
    std::optional<int> top;
    std::optional<int> width;
    std::optional<int> height;
};

// Lines are taken in pieces of at most 999 bytes; control characters at the end of a piece
// (CR, LF) are dropped, while blanks and non-ASCII bytes (UTF-8 paths) stay.
Preferences ParsePreferences(const QByteArray& content);

// A decimal number as atol reads it: leading blanks and a sign allowed, stopping at the first
// non-digit, 0 without digits; values beyond int saturate.
int LeadingInteger(QByteArrayView text);

// The seven lines, each ended by a bare LF.
QByteArray FormatPreferences(const QString& zentropeExe, const QString& paraFile,
                             int activePageIndex, const QRect& window);
