// Running one of Slurm's commands (sbatch, squeue, scontrol, sacct, scancel) without
// blocking, here or through a command prefix such as "ssh HOST".
#pragma once

#include <QObject>
#include <QString>
#include <QStringList>
#include <functional>

namespace zentrope {

struct SlurmCommandResult {
    bool started = false; // false: the program (or the prefix's) could not be started
    int exitCode = -1;
    QString out;
    QString err;
    QString program; // the Slurm command, without the prefix
    QString prefix;
    QString commandLine; // as shown in messages: prefix, program and arguments
    // The Slurm command (or the prefix's program) is not there: not started, or the shell the
    // prefix reaches answered "command not found" (127).
    bool NotFound() const { return !started || exitCode == 127; }
    bool Succeeded() const { return started && exitCode == 0; }
};

// The program and arguments to start. Without a prefix, the Slurm command itself; with one,
// the prefix's words followed by the command as one shell command line, as ssh passes it to
// the remote shell (so arguments with blanks or quotes arrive intact).
QStringList SlurmCommandLine(const QString& prefix, const QString& program,
                             const QStringList& arguments);

// Starts the command and calls `done` on this thread once it has ended. `context` owns the
// process: destroying it kills a command still running and `done` is not called.
void RunSlurmCommand(QObject* context, const QString& prefix, const QString& program,
                     const QStringList& arguments,
                     std::function<void(const SlurmCommandResult&)> done);

} // namespace zentrope
