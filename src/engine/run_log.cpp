#include "engine/run_log.h"

#include "platform/clock.h"
#include "platform/file_moves.h"
#include "platform/host_files.h"
#include "platform/host_path.h"
#include "platform/placed_file.h"
#include "platform/regular_file.h"
#include "util/path_names.h"

#include <QFile>

namespace engine {
namespace {

const QString kTimeFormat = QStringLiteral("yyyy-MM-dd HH:mm:ss");
const QString kRunWord = QStringLiteral("run");
const QString kHistoryWord = QStringLiteral("history");
const QString kAbortedWord = QStringLiteral("aborted");
const QString kFinishedWord = QStringLiteral("finished");

// Entry lines: time, program, outcome, source, destination, copied, replaced,
// deleted, failed, reason. Summary lines: time, program, "run", backed up,
// failed, "finished" or "aborted". History lines, after their entry's: time,
// program, "history", what was removed and why.
constexpr int kEntryFields = 10;
constexpr int kSummaryFields = 6;
constexpr int kHistoryFields = 4;

const char kHeader[] =
    "# Kibako run log: time, program, result, source, destination, files copied, replaced,\n"
    "# deleted, failed, reason; a run ends with: time, program, run, entries backed up, entries\n"
    "# failed, finished or aborted; a past version an entry removed: time, program, history, what\n"
    "# was removed and why.\n";

struct OutcomeName {
    EntryOutcome outcome;
    const char* word;
};

constexpr OutcomeName kOutcomeNames[] = {
    {EntryOutcome::BackedUp, "ok"},
    {EntryOutcome::Unchanged, "unchanged"},
    {EntryOutcome::MediumSkipped, "medium-skipped"},
    {EntryOutcome::NoDestination, "no-medium"},
    {EntryOutcome::Failed, "failed"},
};

platform::HostPath OldLogName(const platform::HostPath& hostFile, int generation) {
    return platform::HostPath(hostFile.text() + u'.' + QString::number(generation));
}

void Rotate(const platform::HostPath& hostFile) {
    platform::RemoveHostFile(OldLogName(hostFile, RunLog::kKeptOldLogs));
    for (int generation = RunLog::kKeptOldLogs - 1; generation >= 1; --generation) {
        platform::MoveHostFile(OldLogName(hostFile, generation),
                               OldLogName(hostFile, generation + 1));
    }
    platform::MoveHostFile(hostFile, OldLogName(hostFile, 1));
}

bool EndsInsideALine(const platform::HostPath& hostFile) {
    QFile file;
    if (!platform::OpenRegularFile(hostFile, file) || file.size() == 0) return false;
    if (!file.seek(file.size() - 1)) return false;
    char last = '\n';
    return file.getChar(&last) && last != '\n';
}

std::optional<int> Count(const QString& field) {
    bool ok = false;
    const int value = field.toInt(&ok);
    return ok && value >= 0 ? std::optional<int>(value) : std::nullopt;
}

std::optional<RunLogRecord> ParseEntry(const QStringList& fields, RunLogRecord record) {
    const auto outcome = OutcomeOfWord(fields[2]);
    const auto copied = Count(fields[5]), replaced = Count(fields[6]), deleted = Count(fields[7]),
               failed = Count(fields[8]);
    if (!outcome || !copied || !replaced || !deleted || !failed) return std::nullopt;
    record.outcome = *outcome;
    record.source = UnescapeLogField(fields[3]);
    record.destination = UnescapeLogField(fields[4]);
    record.counts = RunCounts{*copied, *replaced, *deleted, *failed};
    record.reason = UnescapeLogField(fields[9]);
    return record;
}

std::optional<RunLogRecord> ParseSummary(const QStringList& fields, RunLogRecord record) {
    const auto backedUp = Count(fields[3]), failed = Count(fields[4]);
    if (!backedUp || !failed || (fields[5] != kAbortedWord && fields[5] != kFinishedWord)) {
        return std::nullopt;
    }
    record.kind = RunLogRecord::Kind::RunSummary;
    record.backedUp = *backedUp;
    record.failed = *failed;
    record.aborted = fields[5] == kAbortedWord;
    return record;
}

std::optional<RunLogRecord> ParseLine(const QString& line) {
    const QStringList fields = line.split(u'\t');
    if (fields.size() < 3) return std::nullopt;
    RunLogRecord record;
    record.time = QDateTime::fromString(fields[0], kTimeFormat);
    record.program = UnescapeLogField(fields[1]);
    if (!record.time.isValid()) return std::nullopt;
    if (fields[2] == kRunWord) {
        return fields.size() == kSummaryFields ? ParseSummary(fields, record) : std::nullopt;
    }
    if (fields[2] == kHistoryWord) {
        if (fields.size() != kHistoryFields) return std::nullopt;
        record.kind = RunLogRecord::Kind::HistoryRemoved;
        record.historyLine = UnescapeLogField(fields[3]);
        return record;
    }
    return fields.size() == kEntryFields ? ParseEntry(fields, record) : std::nullopt;
}

}  // namespace

QString RunLogFileName() { return QStringLiteral("Kibako.log"); }

std::optional<platform::HostPath> RunLogHostPath(const platform::DrivePath& programFolder) {
    return platform::ToHostPath(util::JoinPath(programFolder, RunLogFileName()));
}

QString OutcomeWord(EntryOutcome outcome) {
    for (const OutcomeName& name : kOutcomeNames) {
        if (name.outcome == outcome) return QLatin1String(name.word);
    }
    return QStringLiteral("failed");
}

std::optional<EntryOutcome> OutcomeOfWord(const QString& word) {
    for (const OutcomeName& name : kOutcomeNames) {
        if (word == QLatin1String(name.word)) return name.outcome;
    }
    return std::nullopt;
}

QString EscapeLogField(const QString& field) {
    QString escaped;
    escaped.reserve(field.size());
    for (const QChar c : field) {
        if (c == u'%' || c.unicode() < 0x20 || c.unicode() == 0x7f) {
            escaped += u'%' + QStringLiteral("%1").arg(c.unicode(), 2, 16, QChar(u'0')).toUpper();
        } else {
            escaped += c;
        }
    }
    return escaped;
}

QString UnescapeLogField(const QString& field) {
    QString text;
    text.reserve(field.size());
    for (qsizetype i = 0; i < field.size(); ++i) {
        bool ok = false;
        const int code = i + 2 < field.size() && field[i] == u'%'
                             ? QStringView(field).mid(i + 1, 2).toInt(&ok, 16)
                             : 0;
        if (ok) {
            text += QChar(code);
            i += 2;
        } else {
            text += field[i];
        }
    }
    return text;
}

RunLog::RunLog(platform::HostPath hostFile, QString program)
    : hostFile_(std::move(hostFile)), program_(std::move(program)) {}

void RunLog::StartRun() {
    file_.close();
    error_.clear();
    using Kind = platform::HostFileLook::Kind;
    const platform::HostFileLook look = platform::LookAtHostFile(hostFile_);
    if (look.kind == Kind::File && look.size > kRotateBytes) Rotate(hostFile_);
    // A line a crash cut stays as it was, closed by a line break of its own.
    const QByteArray start = platform::LookAtHostFile(hostFile_).kind == Kind::Nothing
                                 ? QByteArray(kHeader)
                             : EndsInsideALine(hostFile_) ? QByteArray("\n")
                                                          : QByteArray();
    if (!platform::OpenRegularFileToAppend(hostFile_, file_, error_)) return;
    if (file_.write(start) != start.size()) error_ = file_.errorString();
}

void RunLog::Entry(const EntryReport& report) {
    Append({OutcomeWord(report.outcome), EscapeLogField(report.source),
            EscapeLogField(report.destination), QString::number(report.counts.copied),
            QString::number(report.counts.replaced), QString::number(report.counts.deleted),
            QString::number(report.counts.failed), EscapeLogField(report.reason)});
    for (const QString& line : report.historyRemoved) {
        Append({kHistoryWord, EscapeLogField(line)});
    }
}

void RunLog::RunFinished(int backedUp, int failed, bool aborted) {
    Append({kRunWord, QString::number(backedUp), QString::number(failed),
            aborted ? kAbortedWord : kFinishedWord});
    file_.close();
}

void RunLog::Append(const QStringList& fields) {
    if (!file_.isOpen()) return;
    const QString line = platform::Now().toString(kTimeFormat) + u'\t' + EscapeLogField(program_) +
                         u'\t' + fields.join(u'\t') + u'\n';
    const QByteArray bytes = line.toUtf8();
    // One unbuffered write of the whole line in append mode: lines of two
    // programs never interleave, and a crash cuts at most this line.
    if (file_.write(bytes) != bytes.size()) error_ = file_.errorString();
}

std::vector<RunLogRecord> ParseRunLog(const QByteArray& text) {
    std::vector<RunLogRecord> records;
    qsizetype start = 0;
    while (start < text.size()) {
        const qsizetype end = text.indexOf('\n', start);
        if (end < 0) break;  // a line without its line break was cut by a crash
        const QByteArrayView line(text.constData() + start, end - start);
        start = end + 1;
        if (line.isEmpty() || line.front() == '#') continue;
        if (auto record = ParseLine(QString::fromUtf8(line))) records.push_back(std::move(*record));
    }
    return records;
}

std::vector<RunLogRecord> ReadRunLogs(const platform::HostPath& hostFile) {
    std::vector<RunLogRecord> records;
    for (int generation = RunLog::kKeptOldLogs; generation >= 0; --generation) {
        QByteArray text;
        if (platform::ReadRegularFile(generation == 0 ? hostFile : OldLogName(hostFile, generation),
                                      text) != platform::ReadStatus::Read) {
            continue;
        }
        std::vector<RunLogRecord> part = ParseRunLog(text);
        records.insert(records.end(), std::make_move_iterator(part.begin()),
                       std::make_move_iterator(part.end()));
    }
    return records;
}

}  // namespace engine
