#include "records/record_file.h"

#include "records/verdict_words.h"

#include <QDir>
#include <QJsonArray>
#include <QJsonDocument>
#include <QJsonObject>
#include <QSaveFile>

namespace zentrope {
namespace {

QJsonValue TimeValue(const QDateTime& time) {
    return time.isValid() ? QJsonValue(time.toUTC().toString(Qt::ISODateWithMs)) : QJsonValue();
}

QDateTime TimeOf(const QJsonValue& value) {
    return value.isString() ? QDateTime::fromString(value.toString(), Qt::ISODateWithMs)
                            : QDateTime();
}

// Numbers go as texts: a JSON number is a double, which would round a 64-bit size.
template <typename T> QJsonValue Optional(const std::optional<T>& value) {
    return value ? QJsonValue(QString::number(*value)) : QJsonValue();
}

template <typename T> std::optional<T> OptionalOf(const QJsonValue& value) {
    bool ok = false;
    const qlonglong number = value.toString().toLongLong(&ok);
    return ok ? std::optional<T>(static_cast<T>(number)) : std::nullopt;
}

QJsonValue VerdictObject(const std::optional<BriefVerdict>& verdict) {
    if (!verdict)
        return QJsonValue();
    return QJsonObject{{"outcome", OutcomeWord(verdict->outcome)},
                       {"failingRows", verdict->failingRows},
                       {"alpha", verdict->alpha}};
}

std::optional<BriefVerdict> VerdictOf(const QJsonValue& value) {
    const QJsonObject object = value.toObject();
    const std::optional<BriefOutcome> outcome = OutcomeOfWord(object["outcome"].toString());
    return outcome ? std::optional(BriefVerdict{*outcome, object["failingRows"].toInt(),
                                                object["alpha"].toDouble()})
                   : std::nullopt;
}

QJsonObject InputObject(const InputFileFacts& input) {
    return {{"path", input.path},
            {"size", QString::number(input.size)},
            {"modified", TimeValue(input.modified)},
            {"sha256", input.sha256}};
}

InputFileFacts InputOf(const QJsonObject& object) {
    return {object["path"].toString(), object["size"].toString().toLongLong(),
            TimeOf(object["modified"]), object["sha256"].toString()};
}

QJsonObject RecordObject(const RunRecord& record) {
    QJsonArray inputs;
    for (const InputFileFacts& input : record.inputs)
        inputs.append(InputObject(input));
    return {{"kind", record.kind == RunKind::Imported ? "imported" : "run"},
            {"source", record.source},
            {"testerPath", record.testerPath},
            {"testerSize", QString::number(record.testerSize)},
            {"testerSha256", record.testerSha256},
            {"frontEndVersion", record.frontEndVersion},
            {"startedAt", TimeValue(record.startedAt)},
            {"endedAt", TimeValue(record.end.endedAt)},
            {"exitCode", Optional(record.end.exitCode)},
            {"endSignal", Optional(record.end.endSignal)},
            {"cancelled", record.end.cancelled},
            {"n", Optional(record.n)},
            {"NT", Optional(record.NT)},
            {"resultPath", record.resultPath},
            {"testerPid", Optional(record.testerPid)},
            {"backend", record.runner.backend},
            {"backendRunId", record.runner.id},
            {"verdict", VerdictObject(record.verdict)},
            {"enabledTests", QJsonArray::fromStringList(record.enabledTests)},
            {"inputs", inputs}};
}

} // namespace

QString WriteRecordFile(const RunRecord& record) {
    QSaveFile file(QDir(record.folder).filePath(RecordFileName));
    const QByteArray bytes = QJsonDocument(RecordObject(record)).toJson();
    if (!file.open(QIODevice::WriteOnly | QIODevice::Unbuffered) ||
        file.write(bytes) != bytes.size() || !file.commit())
        return QStringLiteral("The record file in \"%1\" could not be written: %2")
            .arg(QDir::toNativeSeparators(record.folder), file.errorString());
    return QString();
}

std::optional<RunRecord> ReadRecordFile(const QString& folder) {
    QFile file(QDir(folder).filePath(RecordFileName));
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    const QJsonDocument document = QJsonDocument::fromJson(file.readAll());
    if (!document.isObject())
        return std::nullopt;
    const QJsonObject object = document.object();
    const QDateTime startedAt = TimeOf(object["startedAt"]);
    if (!startedAt.isValid())
        return std::nullopt;
    RunRecord record;
    record.kind = object["kind"].toString() == "imported" ? RunKind::Imported : RunKind::Run;
    record.folder = QDir(folder).absolutePath();
    record.source = object["source"].toString();
    record.testerPath = object["testerPath"].toString();
    record.testerSize = object["testerSize"].toString().toLongLong();
    record.testerSha256 = object["testerSha256"].toString();
    record.frontEndVersion = object["frontEndVersion"].toString();
    record.startedAt = startedAt;
    record.end = {TimeOf(object["endedAt"]), OptionalOf<int>(object["exitCode"]),
                  OptionalOf<int>(object["endSignal"]), object["cancelled"].toBool()};
    record.n = OptionalOf<quint32>(object["n"]);
    record.NT = OptionalOf<qint32>(object["NT"]);
    record.resultPath = object["resultPath"].toString();
    record.testerPid = OptionalOf<qint64>(object["testerPid"]);
    record.runner = {object["backend"].toString(), object["backendRunId"].toString()};
    record.verdict = VerdictOf(object["verdict"]);
    for (const QJsonValue& test : object["enabledTests"].toArray())
        record.enabledTests << test.toString();
    for (const QJsonValue& input : object["inputs"].toArray())
        record.inputs << InputOf(input.toObject());
    return record;
}

} // namespace zentrope
