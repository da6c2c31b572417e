// The local backend names a run by its process id and start time, so that a later window never
// takes another process for the run, and finds a run again only while it still goes.
#include "runner/local_backend.h"
#include "tests/runner/fake_tester_folder.h"

#include <QSignalSpy>
#include <QTest>
#include <csignal>
#include <unistd.h>

using namespace zentrope;
using namespace zentrope::testing;

class LocalBackendTest : public QObject {
    Q_OBJECT
private slots:
    void IdentityNamesOneProcessForGood();
    void ARunFoundAgainIsWatchedToItsEndAndCancelled();
};

// This test's own process: its start time comes from the system, and an identity with any
// other time names a process that reused the id.
void LocalBackendTest::IdentityNamesOneProcessForGood() {
    const qint64 self = ::getpid();
    const std::optional<quint64> started = ProcessStartTime(self);
    QVERIFY(started);
    QVERIFY(*started > 0);
    QCOMPARE(ProcessStartTime(self), started); // stable
    QVERIFY(LocalProcessGoing({LocalBackendName, LocalIdentityText(self, started)}));
    QVERIFY(!LocalProcessGoing({LocalBackendName, LocalIdentityText(self, *started + 1)}));
    // Only an id: errs on the side of waiting, as records without a start time did.
    QVERIFY(LocalProcessGoing({LocalBackendName, LocalIdentityText(self, std::nullopt)}));
    for (const QString& broken : {QString(), QString("x"), QString("12 y"), QString("1 2 3")})
        QVERIFY2(!LocalProcessGoing({LocalBackendName, broken}), qPrintable(broken));
    QVERIFY(!ProcessStartTime(-1));
}

void LocalBackendTest::ARunFoundAgainIsWatchedToItsEndAndCancelled() {
    FakeTesterFolder tester;
    QVERIFY(tester.IsValid());
    tester.SetControl("sleep 60000");
    const BackendKind kind = LocalBackendKind();
    RunRequest request{tester.Executable(), "p", tester.Folder(), QString(), "out.txt"};
    BackendStart start = kind.start(request);
    QVERIFY(start.run);
    const BackendIdentity identity = start.run->Identity();
    QCOMPARE(identity.backend, LocalBackendName);
    QVERIFY(kind.going(identity));

    // Found again as a later window finds it: watched without being its parent.
    std::unique_ptr<RunBackend> found = kind.find(identity, request, start.run->StartedAt());
    QVERIFY(found);
    QCOMPARE(found->ResultPaths(), std::vector<std::string>{"out.txt"});
    QSignalSpy ended(found.get(), &RunBackend::Ended);
    found->Cancel();
    QVERIFY(ended.wait(10000));
    QVERIFY(found->HasEnded());
    QVERIFY(found->End().cancelled);
    QCOMPARE(found->End().code, -1); // not its parent: the exit code is not known
    QVERIFY(!kind.going(identity));
    QVERIFY(!kind.find(identity, request, start.run->StartedAt()));
}

QTEST_GUILESS_MAIN(LocalBackendTest)
#include "local_backend_test.moc"
