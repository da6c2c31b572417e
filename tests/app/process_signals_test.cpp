// The process under a file-size limit: a write past the limit fails with its error instead
// of ending the program.
#include "app/process_signals.h"
#include "tests/app/gui_test_main.h"

#include <QTemporaryDir>
#include <cerrno>
#include <fcntl.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

class ProcessSignalsTest : public QObject {
    Q_OBJECT

private slots:
    void AWritePastTheFileSizeLimitFailsWithItsError() {
        QTemporaryDir dir;
        const QByteArray path = dir.filePath("big").toLocal8Bit();
        const pid_t child = fork();
        QVERIFY(child >= 0);
        if (child == 0) { // only async-signal-safe calls from here on
            IgnoreFileSizeSignal();
            const rlimit limit{16, 16};
            setrlimit(RLIMIT_FSIZE, &limit);
            const int fd = open(path.constData(), O_WRONLY | O_CREAT | O_TRUNC, 0600);
            const char bytes[64] = {};
            const ssize_t first = write(fd, bytes, sizeof bytes); // cut at the limit
            const ssize_t second = write(fd, bytes, sizeof bytes);
            _exit(first == 16 && second < 0 && errno == EFBIG ? 0 : 1);
        }
        int status = 0;
        QCOMPARE(waitpid(child, &status, 0), child);
        QVERIFY2(!WIFSIGNALED(status), "the write past the limit ended the process");
        QCOMPARE(WEXITSTATUS(status), 0);
    }
};

ZENTROPE_GUI_TEST_MAIN(ProcessSignalsTest)
#include "process_signals_test.moc"
