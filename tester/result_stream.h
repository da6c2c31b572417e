// The result file written while the run goes on: the header first, each sequence's section as
// soon as it is done, the summary last. Everything goes to "<result>.partial" beside the result
// file, each Write reaching the file whole at once so that a reader following it sees whole
// sections only; renamed over the result only when complete, so a failed run leaves an older
// result as it was. A run ended by a signal loses the partial result too
// (temporary_cleanup.h).
#pragma once

#include <cstdio>
#include <string>
#include <string_view>

namespace zentrope {

class ResultStream {
public:
    explicit ResultStream(std::string target);
    ~ResultStream(); // removes the temporary unless Commit succeeded
    ResultStream(const ResultStream&) = delete;
    ResultStream& operator=(const ResultStream&) = delete;

    bool Open();
    // Appends the text and flushes it, in one write where the system allows.
    void Write(std::string_view text);
    // Flushes, closes and renames the temporary over the target (a link's file, for a link);
    // false when any write failed.
    bool Commit();

private:
    std::string target_;
    std::string temporary_;
    std::FILE* file_ = nullptr;
    bool failed_ = false;
    bool committed_ = false;
};

} // namespace zentrope
