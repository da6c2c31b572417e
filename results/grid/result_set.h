// One load's results held as numbers, built once per load beside the table's texts: per test,
// its name, its p-values as doubles with a mark for those that are not numbers, the count of
// valid p-values, how many values are no p-values, and the KS, AD and SL figures. Rows are in
// the file's order. A set grows by whole sequences while a run goes on, and two sets of the
// same rows merge.
#pragma once

#include <cstdint>
#include <memory>
#include <optional>
#include <span>
#include <string_view>
#include <utility>
#include <vector>

namespace zentrope {

enum class PValueMark : uint8_t {
    Number,  // the cell's text as atof reads it; NaN for a text without a number
    Missing, // the sequence's section had no line for this test; never counted
    Error,   // "- error -": the tester wrote -1
};

struct RowFigures {
    double ks = 0;
    double ad = 0;
    double sl = 0;
};

// A whole row; the views live as long as the set they come from.
struct ResultRow {
    std::string_view name;
    std::span<const double> pvalues;   // one per sequence: -1 for Error, 0 for Missing
    std::span<const PValueMark> marks; // one per sequence
    int32_t count = 0;                 // the Number values within [0, 1]
    // Number values that are no p-values: outside [0, 1], infinite, NaN or no number at all.
    // A row holding any has no figures: they would be figures of values that are not there.
    int32_t invalid = 0;
    // With two or more sequences, three or more values and no invalid one.
    std::optional<RowFigures> figures;
};

// How reading the file ended, beyond what the marks show.
struct FileEnd {
    bool line_cut = false; // the last data line has no line feed: its writer stopped inside it
    bool grew = false;     // the file changed while it was read: it is still being written
};

// Leaves what a vector grows by unset, so that the first to write it is the first to touch
// its memory; copies are copied as usual.
template <typename T> struct UnsetAllocator : std::allocator<T> {
    template <typename U> struct rebind { using other = UnsetAllocator<U>; };
    template <typename U, typename... Args> void construct(U* place, Args&&... args) {
        if constexpr (sizeof...(Args) == 0)
            ::new (static_cast<void*>(place)) U;
        else
            ::new (static_cast<void*>(place)) U(std::forward<Args>(args)...);
    }
};

// The figures of a row's valid p-values, ascending, when the set has two or more sequences,
// the row three or more values and none that is no p-value.
std::optional<RowFigures> FiguresOfSorted(const double* sorted, int32_t n, int32_t sequences,
                                          int32_t invalid = 0);

// What a cell gives its row: a p-value to count and figure, a value that is no p-value (the
// row then has no figures), or nothing (an error or a missing line).
enum class CellUse { PValue, NoPValue, Nothing };
CellUse UseOf(PValueMark mark, double value);

class ResultSet {
public:
    // Rows of `sequences` p-values each, all Missing, without names or figures.
    ResultSet(int32_t rows = 0, int32_t sequences = 0);
    // The same shape with every p-value unset: each must be written (SetPValue) before it is
    // read. A large set is then first touched by the threads that write it.
    static ResultSet ToBeWritten(int32_t rows, int32_t sequences);

    int32_t RowCount() const { return rows_; }
    int32_t SequenceCount() const { return sequences_; }
    ResultRow Row(int32_t row) const;
    double PValue(int32_t row, int32_t sequence) const { return values_[Index(row, sequence)]; }
    PValueMark Mark(int32_t row, int32_t sequence) const { return marks_[Index(row, sequence)]; }

    // Filling, used by the loader; each row is written by one thread only.
    void SetName(int32_t row, std::string_view name) { names_[size_t(row)] = name; }
    void SetPValue(int32_t row, int32_t sequence, double value, PValueMark mark) {
        values_[Index(row, sequence)] = value;
        marks_[Index(row, sequence)] = mark;
    }
    void SetFigures(int32_t row, int32_t count, std::optional<RowFigures> figures,
                    int32_t invalid = 0);
    void SetFileEnd(FileEnd end) { fileEnd_ = end; }
    const FileEnd& End() const { return fileEnd_; }

    // Adds one sequence: a p-value and its mark per row. Each row's count and figures follow
    // from its p-values kept sorted, so the rows are not read again: finding a value's place
    // costs O(log n) per row, the figures themselves O(n), as KS and AD weigh every value.
    // False, the set unchanged, when the sizes do not match the rows.
    bool AppendSequence(std::span<const double> pvalues, std::span<const PValueMark> marks);
    // Puts `other`'s sequences after this set's, as parts of one run written apart. False, the
    // set unchanged, unless both have the same rows: as many, named alike where both are named.
    bool Merge(const ResultSet& other);

private:
    size_t Index(int32_t row, int32_t sequence) const {
        return size_t(row) * size_t(stride_) + size_t(sequence);
    }
    // Room for `sequences` per row, the rows' values moved to their new places.
    void Reserve(int32_t sequences);
    // Each row's valid p-values, ascending; made on the first append or merge.
    void KeepSorted();
    // Adds a cell to its row: a p-value to `values`, a value that is none to the row's count
    // of those.
    void Take(int32_t row, PValueMark mark, double value, std::vector<double>& values);
    void FigureFromSorted(int32_t row);

    int32_t rows_ = 0;
    int32_t sequences_ = 0;
    int32_t stride_ = 0; // room for this many sequences per row
    std::vector<std::string_view> names_;
    std::vector<std::vector<double>> sorted_; // empty until a set grows
    struct Unset {};
    ResultSet(int32_t rows, int32_t sequences, Unset);

    std::vector<double, UnsetAllocator<double>> values_; // row-major
    std::vector<PValueMark, UnsetAllocator<PValueMark>> marks_;
    std::vector<int32_t> counts_;
    std::vector<int32_t> invalid_;
    std::vector<std::optional<RowFigures>> figures_;
    FileEnd fileEnd_;
};

} // namespace zentrope
