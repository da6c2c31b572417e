#include "records/input_changes.h"

namespace zentrope {

InputChanges FindChangedInputs(const QList<InputFileFacts>& recorded,
                               const HashProgress& progress) {
    InputChanges result;
    QStringList paths;
    for (const InputFileFacts& input : recorded)
        paths << input.path;
    const InputsHash now = DescribeInputFiles(paths, progress);
    if (now.stopped) {
        result.stopped = true;
        return result;
    }
    for (qsizetype i = 0; i < recorded.size(); ++i) {
        const QString& hash = now.files[i].sha256;
        if (hash.isEmpty() || hash != recorded[i].sha256)
            result.changed << recorded[i].path;
    }
    return result;
}

} // namespace zentrope
