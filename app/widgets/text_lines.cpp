#include "app/widgets/text_lines.h"

#include "app/name_text.h"

#include <algorithm>
#include <cstring>

TextLines::TextLines() : TextLines(QByteArray()) {}

TextLines::TextLines(QByteArray bytes) : bytes_(std::move(bytes)) {
    // Line feeds are counted a block at a time, which the compiler vectorises; a block is
    // looked at byte by byte only when it holds the start of a marked line.
    constexpr qsizetype Block = 4096;
    const char* const begin = bytes_.constData();
    marks_.push_back(0);
    for (qsizetype from = 0; from < bytes_.size(); from += Block) {
        const qsizetype end = std::min(from + Block, bytes_.size());
        const auto feeds = qsizetype(std::count(begin + from, begin + end, '\n'));
        if ((count_ - 1) / Stride == (count_ - 1 + feeds) / Stride) {
            count_ += feeds;
            continue;
        }
        for (qsizetype at = from; at < end; ++at)
            if (begin[at] == '\n' && count_++ % Stride == 0)
                marks_.push_back(at + 1);
    }
    marks_.shrink_to_fit();
}

TextLines::TextLines(std::shared_ptr<const std::string> bytes)
    : TextLines(QByteArray::fromRawData(bytes->data(), static_cast<qsizetype>(bytes->size()))) {
    borrowed_ = std::move(bytes);
}

qsizetype TextLines::LineEnd(qsizetype from) const {
    const void* lf = std::memchr(bytes_.constData() + from, '\n', size_t(bytes_.size() - from));
    return lf ? static_cast<const char*>(lf) - bytes_.constData() : bytes_.size();
}

qsizetype TextLines::Start(qsizetype line) const {
    qsizetype at = line / Stride * Stride;
    qsizetype pos = marks_[size_t(line / Stride)];
    if (foundLine_ <= line && foundLine_ > at) {
        at = foundLine_;
        pos = foundStart_;
    }
    for (; at < line; ++at)
        pos = LineEnd(pos) + 1;
    foundLine_ = line;
    foundStart_ = pos;
    return pos;
}

qsizetype TextLines::ContentEnd(qsizetype line) const {
    const qsizetype from = Start(line);
    qsizetype end = LineEnd(from);
    if (end < bytes_.size() && end > from && bytes_[end - 1] == '\r')
        --end;
    return end;
}

QByteArrayView TextLines::Bytes(qsizetype line) const {
    const qsizetype from = Start(line);
    return QByteArrayView(bytes_.constData() + from, ContentEnd(line) - from);
}

QString TextLines::Text(qsizetype line) const {
    const QByteArrayView lineBytes = Bytes(line);
    return DisplayText(std::string_view(lineBytes.data(), static_cast<size_t>(lineBytes.size())));
}

QString TextLines::Text(qsizetype first, qsizetype last) const {
    if (first > last)
        return {};
    const qsizetype from = Start(first);
    QString joined = DisplayText(
        std::string_view(bytes_.constData() + from, static_cast<size_t>(ContentEnd(last) - from)));
    joined.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return joined;
}

qsizetype TextLines::LineAt(qsizetype offset) const {
    offset = std::clamp<qsizetype>(offset, 0, bytes_.size());
    const auto after = std::upper_bound(marks_.begin(), marks_.end(), offset);
    const auto mark = std::max<qsizetype>(0, (after - marks_.begin()) - 1);
    const char* const begin = bytes_.constData();
    return mark * Stride +
           qsizetype(std::count(begin + marks_[size_t(mark)], begin + offset, '\n'));
}
