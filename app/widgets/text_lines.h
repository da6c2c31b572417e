// The bytes of a text file with the start of every 64th line, so that a viewer can decode and
// lay out only the lines in sight instead of holding a document object per line. A line is
// found from the mark before it, or from the line found last, by scanning for line feeds: a
// file of line feeds only costs an eighth of a byte per line beyond its bytes.
#pragma once

#include <QByteArray>
#include <QByteArrayView>
#include <QString>
#include <memory>
#include <string>
#include <vector>

class TextLines {
public:
    TextLines();
    explicit TextLines(QByteArray bytes);
    // Borrows the bytes without copying them, keeping them alive as long as the lines are.
    explicit TextLines(std::shared_ptr<const std::string> bytes);

    // Lines end at LF; a CR just before the LF belongs to the line break. A file ending with
    // LF has an empty last line after it, and an empty file is one empty line.
    qsizetype Count() const { return count_; }
    qsizetype ByteSize() const { return bytes_.size(); }
    QByteArrayView Bytes(qsizetype line) const;
    // The whole text, and where a line starts in it.
    QByteArrayView AllBytes() const { return bytes_; }
    qsizetype Start(qsizetype line) const;
    // The line that holds the byte at `offset`.
    qsizetype LineAt(qsizetype offset) const;
    // As DisplayText shows bytes: UTF-8, other bytes as their Latin-1 characters.
    QString Text(qsizetype line) const;
    // Lines first to last, joined with '\n'.
    QString Text(qsizetype first, qsizetype last) const;

private:
    static constexpr qsizetype Stride = 64;

    qsizetype ContentEnd(qsizetype line) const;
    // The line feed that ends the line starting at `from`, or the end of the bytes.
    qsizetype LineEnd(qsizetype from) const;

    QByteArray bytes_;
    std::shared_ptr<const std::string> borrowed_; // the owner of bytes_ when they are borrowed
    std::vector<qsizetype> marks_;                // the start of lines 0, Stride, 2 Stride, ...
    qsizetype count_ = 1;
    // The line found last and its start: a viewer asks for neighbouring lines in turn.
    mutable qsizetype foundLine_ = 0;
    mutable qsizetype foundStart_ = 0;
};
