#include "records/record_filter.h"

#include "records/record_summary.h"

#include <QStringList>

namespace zentrope {
namespace {

QStringList TextsOf(const RunRecord& record) {
    QStringList texts = {record.kind == RunKind::Imported ? QStringLiteral("imported")
                                                          : QStringLiteral("run"),
                         record.folder,
                         record.source,
                         record.testerPath,
                         record.testerSha256,
                         record.frontEndVersion,
                         record.startedAt.toString(Qt::ISODate),
                         record.end.endedAt.toString(Qt::ISODate),
                         InputText(record),
                         VerdictText(record)};
    if (record.end.exitCode)
        texts << QString::number(*record.end.exitCode);
    texts << record.enabledTests;
    for (const InputFileFacts& input : record.inputs)
        texts << input.path << input.sha256;
    return texts;
}

bool AnyHolds(const QStringList& texts, const QString& word) {
    for (const QString& text : texts) {
        if (text.contains(word, Qt::CaseInsensitive))
            return true;
    }
    return false;
}

} // namespace

bool RecordMatches(const RunRecord& record, const QString& text) {
    const QStringList texts = TextsOf(record);
    for (const QString& word : text.split(u' ', Qt::SkipEmptyParts)) {
        if (!AnyHolds(texts, word))
            return false;
    }
    return true;
}

} // namespace zentrope
