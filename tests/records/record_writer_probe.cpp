// Writes run records into a store for ever, each with a result file copied into its folder,
// and prints each record's id once it is written, so that a test can kill it in the middle
// of a record. Arguments: the store's root, the result file, the number of inputs a record.
#include "records/run_store.h"
#include "tests/records/record_samples.h"

#include <QCoreApplication>
#include <cstdio>

using namespace zentrope;

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    if (argc != 4)
        return 2;
    const StoreOpening opening = RunStore::Open(argv[1]);
    if (!opening.store)
        return 1;
    for (QDateTime start = QDateTime::currentDateTimeUtc();; start = start.addSecs(1)) {
        const RunFolder folder = MakeRunFolder(opening.store->Root(), start);
        const RecordWriting written = opening.store->Add(
            testing::SampleRecord(folder.path, start, std::atoi(argv[3])), argv[2]);
        if (written.id == 0)
            return 1;
        std::printf("%lld\n", static_cast<long long>(written.id));
        std::fflush(stdout);
    }
}
