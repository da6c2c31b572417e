#include "app/widgets/text_lines.h"

#include "app/name_text.h"

#include <algorithm>
#include <cstring>

TextLines::TextLines() : TextLines(QByteArray()) {}

TextLines::TextLines(QByteArray bytes) : bytes_(std::move(bytes)) {
    const char* const begin = bytes_.constData();
    const char* const end = begin + bytes_.size();
    starts_.push_back(0);
    for (const char* p = begin; p < end;) {
        const void* lf = std::memchr(p, '\n', static_cast<size_t>(end - p));
        if (lf == nullptr)
            break;
        p = static_cast<const char*>(lf) + 1;
        starts_.push_back(p - begin);
    }
}

TextLines::TextLines(std::shared_ptr<const std::string> bytes)
    : TextLines(QByteArray::fromRawData(bytes->data(), static_cast<qsizetype>(bytes->size()))) {
    borrowed_ = std::move(bytes);
}

qsizetype TextLines::contentEnd(qsizetype line) const {
    const bool last = line + 1 == count();
    if (last)
        return bytes_.size();
    qsizetype end = starts_[static_cast<size_t>(line + 1)] - 1; // the LF
    if (end > starts_[static_cast<size_t>(line)] && bytes_[end - 1] == '\r')
        --end;
    return end;
}

QByteArrayView TextLines::bytes(qsizetype line) const {
    const qsizetype start = starts_[static_cast<size_t>(line)];
    return QByteArrayView(bytes_.constData() + start, contentEnd(line) - start);
}

QString TextLines::text(qsizetype line) const {
    const QByteArrayView lineBytes = bytes(line);
    return DisplayText(std::string_view(lineBytes.data(), static_cast<size_t>(lineBytes.size())));
}

QString TextLines::text(qsizetype first, qsizetype last) const {
    if (first > last)
        return {};
    const qsizetype start = starts_[static_cast<size_t>(first)];
    QString joined = DisplayText(std::string_view(bytes_.constData() + start,
                                                  static_cast<size_t>(contentEnd(last) - start)));
    joined.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    return joined;
}

qsizetype TextLines::lineAt(qsizetype offset) const {
    const auto after = std::upper_bound(starts_.begin(), starts_.end(), offset);
    return std::max<qsizetype>(0, (after - starts_.begin()) - 1);
}
