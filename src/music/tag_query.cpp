#include "music/tag_query.h"

#include "music/mp3_info.h"
#include "music/wma_info.h"

#include <QStringList>

namespace dorvane {

namespace {

QString Either(const QString& v2, const QString& v1) {
    return !v2.isEmpty() ? v2 : v1;
}

} // namespace

TagDetail QueryDetail(const TQueryFields& fields) {
    return fields.year || fields.album || fields.track ? kDetailQuery : kDetailTitles;
}

QString QueryTitle(const TID3v1Info& v1, const TID3v2Info& v2, const TQueryFields& fields) {
    const QString parts[] = {
        Either(v2.Artist, v1.Artist),
        fields.year ? Either(v2.Year, v1.Year) : QString(),
        fields.album ? Either(v2.Album, v1.Album) : QString(),
        fields.track ? Either(v2.Track, v1.Track) : QString(),
        Either(v2.Titel, v1.Titel),
    };
    QStringList shown;
    for (const QString& part : parts)
        if (!part.isEmpty()) shown << part;
    return shown.join(QStringLiteral(" - "));
}

bool IsQueryCandidate(const QString& path) {
    return path.endsWith(QLatin1String(".mp3"), Qt::CaseInsensitive) ||
           path.endsWith(QLatin1String(".wma"), Qt::CaseInsensitive);
}

std::optional<TQueryAnswer> QueryEntry(int index, const QString& path, const TQueryFields& fields) {
    TID3v1Info v1;
    TID3v2Info v2;
    std::uint64_t seconds = 0;
    const TagDetail detail = QueryDetail(fields);
    if (path.endsWith(QLatin1String(".mp3"), Qt::CaseInsensitive)) {
        MpegInfo mpeg;
        if (ReadMp3Info(path, v1, v2, &mpeg, detail) != TTagFileStatus::Read) return std::nullopt;
        seconds = mpeg.Duration;
    } else if (path.endsWith(QLatin1String(".wma"), Qt::CaseInsensitive)) {
        AsfInfo asf;
        if (ReadWmaInfo(path, v2, detail, &asf) != TTagFileStatus::Read) return std::nullopt;
        seconds = asf.Duration;
    } else {
        return std::nullopt;
    }
    TQueryAnswer answer{index, path, {}, QString::number(seconds)};
    if (v1.Ok || v2.Ok) answer.title = QueryTitle(v1, v2, fields);
    return answer;
}

namespace {

constexpr int kCollectMs = 20;

} // namespace

TTagQuery::TTagQuery(TPlaylist& playlist, QObject* parent) : QObject(parent), playlist_(playlist) {
    collect_.setInterval(kCollectMs);
    connect(&collect_, &QTimer::timeout, this, &TTagQuery::Collect);
}

TTagQuery::~TTagQuery() {
    Cancel();
    JoinWorker();
}

void TTagQuery::JoinWorker() {
    if (worker_.joinable()) worker_.join();
}

void TTagQuery::Cancel() {
    if (cancel_) cancel_->store(true);
}

bool TTagQuery::Start(const TQueryFields& fields) {
    if (running_) return false;
    JoinWorker();
    std::vector<QString> paths;
    paths.reserve(std::size_t(playlist_.Count()));
    for (const FList& entry : playlist_.Entries())
        paths.push_back(entry.S2);
    total_ = playlist_.Count();
    running_ = true;
    cancel_ = std::make_shared<std::atomic<bool>>(false);
    inbox_ = std::make_shared<TInbox>();
    // Worker thread from here: it sees only its copies, the cancel flag and
    // the inbox, and calls nothing of Qt's but the readers' QString work.
    worker_ = std::thread(
        [paths = std::move(paths), fields, reader = reader_, cancel = cancel_, inbox = inbox_] {
            bool stopped = false;
            for (std::size_t i = 0; i < paths.size(); ++i) {
                if (!IsQueryCandidate(paths[i])) continue;
                if (cancel->load()) {
                    stopped = true;
                    break;
                }
                if (std::optional<TQueryAnswer> answer = reader(int(i), paths[i], fields)) {
                    const std::lock_guard lock(inbox->mutex);
                    inbox->answers.push_back(std::move(*answer));
                }
            }
            const std::lock_guard lock(inbox->mutex);
            inbox->done = true;
            inbox->stopped = stopped;
        });
    collect_.start();
    return true;
}

void TTagQuery::Collect() {
    if (!running_) return;
    std::vector<TQueryAnswer> answers;
    bool done = false;
    bool stopped = false;
    {
        const std::lock_guard lock(inbox_->mutex);
        answers.swap(inbox_->answers);
        done = inbox_->done;
        stopped = inbox_->stopped;
    }
    for (const TQueryAnswer& answer : answers) {
        if (!answer.title.isEmpty())
            playlist_.SetEntryTags(answer.index, answer.path, answer.title, answer.length);
        emit Progressed(answer.index);
    }
    if (!done) return;
    collect_.stop();
    JoinWorker();
    running_ = false;
    emit Finished(stopped);
}

} // namespace dorvane
