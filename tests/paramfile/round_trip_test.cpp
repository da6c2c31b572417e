// Records as the window could hold them, written and read back: the reader must give the
// values that were saved, sizes in bits.
#include "model/parameter_fields.h"
#include "paramfile/parameter_file_writer.h"
#include "tests/paramfile/test_support.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <cmath>
#include <cstdlib>
#include <random>
#include <type_traits>

using namespace zentrope;
using namespace zentrope::testing;

namespace {

// Bits per unit of each unit combo box item, spelled out here rather than parsed.
const double UnitBits[] = {1, 1024, 1048576, 1073741824, 1000, 1e6, 1e9,
                           8, 8192, 8388608, 8589934592, 8000, 8e6, 8e9};

class RecordGenerator {
public:
    explicit RecordGenerator(unsigned seed) : rng_(seed) {}

    int Pick(int low, int high) { return std::uniform_int_distribution<int>(low, high)(rng_); }
    bool Coin() { return Pick(0, 1) == 1; }

    // Integer edits in every spelling a strict conversion accepts.
    std::string IntegerText() {
        int value = Pick(-100000, 100000);
        switch (Pick(0, 5)) {
        case 0:
            return "+" + std::to_string(std::abs(value));
        case 1:
            return "00" + std::to_string(std::abs(value));
        case 2:
            return Coin() ? "2147483647" : "-2147483648";
        case 3:
            return "-0";
        default:
            return std::to_string(value);
        }
    }

    int Position() { return Pick(-32768, 32767); }

    // A number text and unit index whose size fits in 32 bits.
    std::pair<std::string, int> Size() {
        static const char* numbers[] = {"0", "1", "3", "17", "1.5", "0.25", "", "4095", "1e3"};
        for (;;) {
            std::string number = numbers[Pick(0, 8)];
            int unit = Pick(0, 13);
            double numberValue = number.empty() ? 0 : std::strtod(number.c_str(), nullptr);
            if (numberValue * UnitBits[unit] <= 4294967295.0)
                return {number, unit};
        }
    }

    std::string ThresholdText() {
        static const char* odd[] = {"", ".5", "1e-05", "-0.001", "0", "100", "7e+300", "5x"};
        if (Coin())
            return odd[Pick(0, 7)];
        return std::to_string(std::uniform_real_distribution<double>(-10, 10)(rng_));
    }

    // Any bytes but the quotation mark, '#' and line ends, which the format cannot carry.
    std::string FileName() {
        static const std::string chars = "abcXYZ019 _-.:\\/*?[]()'\t\xE9\xFF";
        std::string name;
        for (int length = Pick(0, 40); length > 0; --length)
            name += chars[static_cast<size_t>(Pick(0, static_cast<int>(chars.size()) - 1))];
        return name;
    }

    std::vector<TestId> Order() {
        std::vector<TestId> ids;
        for (TestId id = 1; id <= TestCount; ++id)
            ids.push_back(id);
        std::shuffle(ids.begin(), ids.end(), rng_);
        ids.resize(static_cast<size_t>(Pick(0, TestCount)));
        return ids;
    }

    ParameterFileRecord Record();

private:
    std::mt19937 rng_;
};

// Each control gets a value of the kind its field holds.
ParameterFileRecord RecordGenerator::Record() {
    ParameterFileRecord r;
    for (const ParameterField& field : ParameterFields()) {
        const auto control = [&](size_t i) -> std::string& { return r[field.controls[i]]; };
        switch (field.kind) {
        case FieldKind::Size: {
            auto [number, unit] = Size();
            control(0) = number;
            control(1) = std::to_string(unit);
            break;
        }
        case FieldKind::Position:
            control(0) = std::to_string(Pick(1, 20));
            break;
        case FieldKind::Choice:
            control(0) = std::to_string(Pick(0, 1));
            break;
        case FieldKind::Flag:
            control(0) = Coin() ? "1" : "0";
            break;
        case FieldKind::Number:
            control(0) = ThresholdText();
            break;
        case FieldKind::Text:
        case FieldKind::KeptText:
            control(0) = FileName();
            break;
        case FieldKind::SpinnerRange:
            control(0) = std::to_string(Position());
            control(1) = std::to_string(Position());
            control(2) = IntegerText();
            break;
        case FieldKind::Integer:
        case FieldKind::Range:
        case FieldKind::PowerRange:
            for (size_t i = 0; i < static_cast<size_t>(SavedControlCount(field.kind)); ++i)
                control(i) = IntegerText();
            break;
        }
    }
    r.LBorder = Order();
    return r;
}

int32_t Int(const std::string& text) {
    return static_cast<int32_t>(std::stoll(text));
}

uint32_t Bits(const std::string& number, int unit) {
    double value = number.empty() ? 0 : std::strtod(number.c_str(), nullptr);
    return static_cast<uint32_t>(std::trunc(value * UnitBits[unit]));
}

// The set a reader must produce from the record's file, starting from before.
ParameterSet Expected(const ParameterFileRecord& r, const ParameterSet& before) {
    ParameterSet s = before;
    for (const ParameterField& field : ParameterFields()) {
        const auto text = [&](size_t i) { return std::string(r.Value(field.controls[i])); };
        std::visit(
            [&](auto member) {
                auto& value = s.*member;
                using Value = std::decay_t<decltype(value)>;
                if constexpr (std::is_same_v<Value, uint32_t>)
                    value = Bits(text(0), std::stoi(text(1)));
                else if constexpr (std::is_same_v<Value, int32_t>)
                    value = Int(text(0));
                else if constexpr (std::is_same_v<Value, double>)
                    value = std::strtod(text(0).c_str(), nullptr);
                else if constexpr (std::is_same_v<Value, RangeParam>)
                    value = {Int(text(0)), Int(text(1)), Int(text(2))};
                else if (!text(0).empty())
                    value = text(0);
            },
            field.member);
    }
    s.ExecutionOrder.fill(-1);
    for (size_t slot = 0; slot < r.LBorder.size(); ++slot) {
        s.Enable[static_cast<size_t>(r.LBorder[slot] - 1)] = 1;
        s.ExecutionOrder[slot] = static_cast<int8_t>(r.LBorder[slot] - 1);
    }
    return s;
}

ParameterSet Before() {
    ParameterSet set;
    ApplyDefaults(set);
    set.Enable[3] = 0;
    set.InFile = "previous in";
    return set;
}

} // namespace

TEST(ParameterFileRoundTrip, GeneratedRecordsReadBackAsSaved) {
    RecordGenerator generator(20260711);
    for (int i = 0; i < 500; ++i) {
        ParameterFileRecord record = generator.Record();
        FormattedParameterFile file = FormatParameterFile(record);
        ASSERT_TRUE(file.Ok()) << file.error;
        ParameterSet set = Before();
        ReadOutcome read = ReadText(file.text, set);
        ASSERT_EQ(read.result, 0) << file.text;
        ASSERT_TRUE(read.messages.empty()) << read.messages.front();
        ASSERT_EQ(Dump(set), Dump(Expected(record, Before()))) << file.text;
    }
}

TEST(ParameterFileRoundTrip, ThroughFilesOnDisk) {
    RecordGenerator generator(7);
    ScratchFolder folder;
    const std::string path = (folder / "Zentrope GUI para").string();
    for (int i = 0; i < 20; ++i) {
        ParameterFileRecord record = generator.Record();
        ASSERT_EQ(WriteParameterFile(record, path).outcome, SaveOutcome::Saved);
        ParameterSet set = Before();
        std::vector<std::string> messages;
        int result =
            ReadParameterFile(path, set, [&](const std::string& m) { messages.push_back(m); });
        EXPECT_EQ(result, 0);
        EXPECT_TRUE(messages.empty());
        EXPECT_EQ(Dump(set), Dump(Expected(record, Before())));
    }
}
