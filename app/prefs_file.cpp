#include "prefs_file.h"

#include <limits>

namespace {

constexpr qsizetype PieceLength = 999;

// Up to 999 bytes, or up to and including the next LF: a line of its own.
QByteArrayView NextPiece(QByteArrayView content, qsizetype& pos) {
    const qsizetype start = pos;
    const qsizetype end = std::min(content.size(), start + PieceLength);
    while (pos < end && content[pos] != '\n')
        ++pos;
    if (pos < end)
        ++pos;
    return content.sliced(start, pos - start);
}

QByteArrayView WithoutControlEnd(QByteArrayView line) {
    while (!line.isEmpty() && static_cast<unsigned char>(line.back()) < 32)
        line.chop(1);
    return line;
}

void ApplyLine(QByteArrayView line, Preferences& prefs) {
    const auto value = [&](QByteArrayView key) { return line.sliced(key.size()); };
    const auto number = [&](QByteArrayView key) { return LeadingInteger(value(key)); };
    if (line.startsWith("zentrope_exe="))
        prefs.zentropeExe = QString::fromUtf8(value("zentrope_exe="));
    if (line.startsWith("para_file="))
        prefs.paraFile = QString::fromUtf8(value("para_file="));
    if (line.startsWith("ActivePageIndex="))
        prefs.activePageIndex = number("ActivePageIndex=");
    if (line.startsWith("FINl="))
        prefs.left = number("FINl=");
    if (line.startsWith("FINt="))
        prefs.top = number("FINt=");
    if (line.startsWith("FINw="))
        prefs.width = number("FINw=");
    if (line.startsWith("FINh="))
        prefs.height = number("FINh=");
}

} // namespace

Preferences ParsePreferences(const QByteArray& content) {
    Preferences prefs;
    const QByteArrayView all(content);
    qsizetype pos = 0;
    while (pos < all.size()) {
        const QByteArrayView line = WithoutControlEnd(NextPiece(all, pos));
        if (!line.isEmpty())
            ApplyLine(line, prefs);
    }
    return prefs;
}

int LeadingInteger(QByteArrayView text) {
    qsizetype i = 0;
    while (i < text.size() && (text[i] == ' ' || (text[i] >= '\t' && text[i] <= '\r')))
        ++i;
    bool negative = false;
    if (i < text.size() && (text[i] == '+' || text[i] == '-'))
        negative = text[i++] == '-';
    long long value = 0;
    constexpr long long limit = std::numeric_limits<int>::max() + 1LL;
    for (; i < text.size() && text[i] >= '0' && text[i] <= '9'; ++i)
        value = std::min(limit, value * 10 + (text[i] - '0'));
    value = negative ? -value : std::min(value, limit - 1);
    return static_cast<int>(value);
}

QByteArray FormatPreferences(const QString& zentropeExe, const QString& paraFile,
                             int activePageIndex, const QRect& window) {
    QByteArray out;
    out += "zentrope_exe=" + zentropeExe.toUtf8() + '\n';
    out += "para_file=" + paraFile.toUtf8() + '\n';
    out += "ActivePageIndex=" + QByteArray::number(activePageIndex) + '\n';
    out += "FINl=" + QByteArray::number(window.left()) + '\n';
    out += "FINt=" + QByteArray::number(window.top()) + '\n';
    out += "FINw=" + QByteArray::number(window.width()) + '\n';
    out += "FINh=" + QByteArray::number(window.height()) + '\n';
    return out;
}
