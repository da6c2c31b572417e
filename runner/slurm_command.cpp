#include "runner/slurm_command.h"
#include "runner/slurm_script.h"

#include <QProcess>
#include <QRegularExpression>

namespace zentrope {

QStringList SlurmCommandLine(const QString& prefix, const QString& program,
                             const QStringList& arguments) {
    QStringList words =
        prefix.split(QRegularExpression(QStringLiteral("\\s+")), Qt::SkipEmptyParts);
    if (words.isEmpty())
        return QStringList{program} + arguments;
    QStringList command{ShellQuoted(program)};
    for (const QString& argument : arguments)
        command.append(ShellQuoted(argument));
    words.append(command.join(u' '));
    return words;
}

void RunSlurmCommand(QObject* context, const QString& prefix, const QString& program,
                     const QStringList& arguments,
                     std::function<void(const SlurmCommandResult&)> done) {
    const QStringList line = SlurmCommandLine(prefix, program, arguments);
    auto* process = new QProcess(context);
    process->setProgram(line.front());
    process->setArguments(line.mid(1));
    SlurmCommandResult result;
    result.program = program;
    result.prefix = prefix;
    result.commandLine = line.join(u' ');
    QObject::connect(process, &QProcess::finished, context,
                     [process, done, result](int exitCode, QProcess::ExitStatus status) mutable {
                         result.started = true;
                         result.exitCode = status == QProcess::NormalExit ? exitCode : -1;
                         result.out = QString::fromLocal8Bit(process->readAllStandardOutput());
                         result.err = QString::fromLocal8Bit(process->readAllStandardError());
                         process->deleteLater();
                         done(result);
                     });
    QObject::connect(process, &QProcess::errorOccurred, context,
                     [process, done, result](QProcess::ProcessError error) mutable {
                         if (error != QProcess::FailedToStart)
                             return;
                         result.err = process->errorString();
                         process->deleteLater();
                         done(result);
                     });
    process->start();
}

} // namespace zentrope
