#include "runner/slurm_parse.h"

namespace zentrope {
namespace {

std::optional<int> ParseIndex(QStringView text) {
    bool ok = false;
    const int value = text.toInt(&ok);
    return ok && value >= 0 ? std::optional(value) : std::nullopt;
}

// "7", "0-3,7" or "[0-3,7]" (a throttle "%2" after the list is dropped) into its indices.
QList<int> ExpandIndices(QStringView text) {
    QStringView list = text;
    if (list.startsWith(u'[') && list.endsWith(u']'))
        list = list.mid(1, list.size() - 2);
    if (const qsizetype throttle = list.indexOf(u'%'); throttle >= 0)
        list = list.left(throttle);
    QList<int> indices;
    for (const QStringView part : list.split(u',')) {
        const qsizetype dash = part.indexOf(u'-');
        const auto from = ParseIndex(dash < 0 ? part : part.left(dash));
        const auto to = ParseIndex(dash < 0 ? part : part.mid(dash + 1));
        if (!from || !to || *to < *from)
            return {};
        for (int i = *from; i <= *to; ++i)
            indices.append(i);
    }
    return indices;
}

// "123_4" or "123_[0-3]" into one report per index, with the given fields.
void AppendTasks(QList<SlurmTaskReport>& out, QStringView jobId, const SlurmTaskReport& fields) {
    const qsizetype underscore = jobId.indexOf(u'_');
    if (underscore <= 0)
        return;
    for (const int index : ExpandIndices(jobId.mid(underscore + 1))) {
        SlurmTaskReport task = fields;
        task.arrayJobId = jobId.left(underscore).toString();
        task.index = index;
        out.append(task);
    }
}

QStringView FieldValue(QStringView line, QStringView key) {
    for (const QStringView field : line.split(u' ', Qt::SkipEmptyParts))
        if (field.size() > key.size() && field.startsWith(key) && field[key.size()] == u'=')
            return field.mid(key.size() + 1);
    return {};
}

} // namespace

std::optional<QString> ParseSbatchJobId(QStringView out) {
    const QStringView line = out.trimmed().split(u'\n').back().trimmed();
    const QStringView id = line.split(u';').front();
    if (id.isEmpty() || !ParseIndex(id))
        return std::nullopt;
    return id.toString();
}

QList<SlurmTaskReport> ParseSqueue(QStringView text) {
    QList<SlurmTaskReport> tasks;
    for (const QStringView line : text.split(u'\n', Qt::SkipEmptyParts)) {
        const QList<QStringView> fields = line.trimmed().split(u'|');
        if (fields.size() < 2)
            continue;
        SlurmTaskReport task;
        task.state = fields[1].toString();
        task.reason = fields.size() > 2 ? fields[2].toString() : QString();
        AppendTasks(tasks, fields[0], task);
    }
    return tasks;
}

QList<SlurmTaskReport> ParseScontrolJobs(QStringView text) {
    QList<SlurmTaskReport> tasks;
    for (const QStringView line : text.split(u'\n', Qt::SkipEmptyParts)) {
        const QStringView arrayJob = FieldValue(line, u"ArrayJobId");
        if (arrayJob.isEmpty())
            continue;
        // A pending array's record may stand for several tasks: "ArrayTaskId=1-3".
        const SlurmTaskReport fields{{},
                                     -1,
                                     FieldValue(line, u"JobState").toString(),
                                     FieldValue(line, u"ExitCode").toString(),
                                     FieldValue(line, u"Reason").toString()};
        AppendTasks(tasks, arrayJob.toString() + u'_' + FieldValue(line, u"ArrayTaskId").toString(),
                    fields);
    }
    return tasks;
}

QList<SlurmTaskReport> ParseSacct(QStringView text) {
    QList<SlurmTaskReport> tasks;
    for (const QStringView line : text.split(u'\n', Qt::SkipEmptyParts)) {
        const QList<QStringView> fields = line.trimmed().split(u'|');
        if (fields.size() < 3)
            continue;
        SlurmTaskReport task;
        task.state = fields[1].toString();
        task.exitCode = fields[2].toString();
        AppendTasks(tasks, fields[0], task);
    }
    return tasks;
}

bool IsAccountingDisabled(QStringView text) {
    return text.contains(u"Slurm accounting storage is disabled");
}

bool IsUnknownJob(QStringView text) {
    return text.contains(u"Invalid job id specified");
}

} // namespace zentrope
