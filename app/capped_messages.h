// The messages of one read, a handful shown in full and the rest counted: a file with a
// million faults shows the first few boxes and then one box that says how many more there were.
#pragma once

#include <QString>
#include <functional>
#include <string>

class CappedMessages {
public:
    static constexpr int ShownInFull = 5;

    // `show` shows one message; `source` names what the messages are about in the last box.
    CappedMessages(std::function<void(const QString&)> show, QString source);

    void operator()(const std::string& text);
    // The box for the messages held back, when there were any.
    void Finish();

private:
    std::function<void(const QString&)> show_;
    QString source_;
    int seen_ = 0;
};
