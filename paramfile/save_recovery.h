// A file rewritten in place passes through states that hold parts of two texts. Before the
// first byte changes, its old and new bytes are kept whole in a recovery folder; the copy goes
// once the file is whole again. A copy still there at the next start means the save was
// stopped midway: the file is then put back as it was, unless it already holds either text.
#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace zentrope {

// Keeps the bytes of `target` before and after its save in `folder` (made if missing). The
// copy is written under a temporary name and renamed once whole, so it is there whole or not
// at all. Returns its path, or an empty text when it could not be kept.
std::string KeepRecoveryCopy(const std::string& folder, const std::string& target,
                             std::string_view oldBytes, std::string_view newBytes);

// Removes a copy once its file holds the old or the new text whole.
void DropRecoveryCopy(const std::string& copy);

enum class RecoveryOutcome {
    Whole,       // the file held the old or the new text: nothing to do
    Restored,    // the file held parts of both and was put back as it was before the save
    NotRestored, // it could not be put back; the copy stays for the next attempt
};

struct RecoveredSave {
    std::string target;
    RecoveryOutcome outcome = RecoveryOutcome::Whole;
};

// Settles every interrupted save whose copy is in `folder`, removing the copies it settles
// and any copy that was never completed.
std::vector<RecoveredSave> RecoverInterruptedSaves(const std::string& folder);

} // namespace zentrope
