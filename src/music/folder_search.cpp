#include "music/folder_search.h"

#include "core/file_name.h"
#include "music/file_lookup.h"
#include "music/music_masks.h"

#include <QCollator>
#include <QDir>

#include <algorithm>
#include <array>
#include <string_view>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
#include <numeric>
#include <set>
#include <string>
#include <sys/stat.h>
#include <utility>
#include <vector>

namespace dorvane {

namespace {

// The cancel flag is also read within a large folder, every so many names.
constexpr int kNamesPerCancelLook = 1024;

class TDirectory {
public:
    explicit TDirectory(const std::string& path) : dir_(::opendir(path.c_str())) {}
    ~TDirectory() {
        if (dir_) ::closedir(dir_);
    }
    TDirectory(const TDirectory&) = delete;
    TDirectory& operator=(const TDirectory&) = delete;
    DIR* get() const { return dir_; }

private:
    DIR* dir_;
};

// Masks matched on the names' bytes: an ASCII extension is lower-cased in
// place, anything else goes the way of MatchesMasks.
class TMaskMatcher {
public:
    explicit TMaskMatcher(const QString& masks)
        : masks_(NormalizeMasks(masks)), bytes_(masks_.toStdString()) {}

    bool Matches(const char* name, std::size_t length) const {
        std::size_t dot = length;
        for (std::size_t i = length; i-- > 0;)
            if (name[i] == '.') {
                dot = i;
                break;
            }
        // "*" + the extension + ";"; a name is at most 255 bytes.
        std::array<char, 260> key{};
        std::size_t size = 0;
        key[size++] = '*';
        for (std::size_t i = dot; i < length && size < key.size() - 1; ++i) {
            const unsigned char c = static_cast<unsigned char>(name[i]);
            if (c >= 0x80)
                return MatchesMasks(FileNameFromBytes(QByteArray(name, qsizetype(length))), masks_);
            key[size++] = char(c >= 'A' && c <= 'Z' ? c + 32 : c);
        }
        key[size++] = ';';
        return std::string_view(bytes_).find(std::string_view(key.data(), size)) !=
               std::string_view::npos;
    }

private:
    QString masks_;
    std::string bytes_;
};

struct TWalk {
    const TMaskMatcher& matcher;
    bool withSubfolders;
    bool includeHidden;
    const std::atomic<bool>* cancel;
    std::set<std::pair<dev_t, ino_t>> visited;
    std::vector<std::string> pending;
    bool withFacts; // the size and time of each file found, for the entries
    std::vector<std::string> found;
    std::vector<struct stat> facts;

    bool Cancelled() const { return cancel && cancel->load(std::memory_order_relaxed); }

    void Run(const std::string& start) {
        pending.push_back(start);
        while (!pending.empty() && !Cancelled()) {
            const std::string folder = std::move(pending.back());
            pending.pop_back();
            Folder(folder);
        }
    }

    void Folder(const std::string& folder) {
        const TDirectory dir(folder);
        if (!dir.get()) return;
        const int fd = ::dirfd(dir.get());
        struct stat self {};
        if (::fstat(fd, &self) != 0 || !visited.emplace(self.st_dev, self.st_ino).second) return;
        int sinceLook = 0;
        while (const dirent* entry = ::readdir(dir.get())) {
            if (++sinceLook == kNamesPerCancelLook) {
                sinceLook = 0;
                if (Cancelled()) return;
            }
            const char* name = entry->d_name;
            if (name[0] == '.' && (name[1] == 0 || (name[1] == '.' && name[2] == 0))) continue;
            unsigned char type = entry->d_type;
            const std::size_t length = std::strlen(name);
            const bool wanted = (includeHidden || name[0] != '.') && matcher.Matches(name, length);
            struct stat info {};
            bool looked = false;
            if (type == DT_UNKNOWN || type == DT_LNK) {
                if (!wanted && !withSubfolders) continue;
                if (::fstatat(fd, name, &info, 0) != 0) continue; // a broken link
                looked = true;
                type = S_ISREG(info.st_mode) ? DT_REG : S_ISDIR(info.st_mode) ? DT_DIR : DT_UNKNOWN;
            }
            if (type == DT_REG && wanted) {
                // A file that went since readdir is left out.
                if (withFacts && !looked && ::fstatat(fd, name, &info, 0) != 0) continue;
                found.push_back(Child(folder, name, length));
                if (withFacts) facts.push_back(info);
            } else if (type == DT_DIR && withSubfolders)
                pending.push_back(Child(folder, name, length));
        }
    }

    static std::string Child(const std::string& folder, const char* name, std::size_t length) {
        std::string path;
        path.reserve(folder.size() + 1 + length);
        path += folder;
        if (path.empty() || path.back() != '/') path += '/';
        path.append(name, length);
        return path;
    }
};

TWalk Walk(const QString& folder, const TMaskMatcher& matcher, bool withSubfolders,
           bool includeHidden, const std::atomic<bool>* cancel, bool withFacts) {
    TWalk walk{matcher, withSubfolders, includeHidden, cancel, {}, {}, withFacts, {}, {}};
    walk.Run(NativeFileName(QDir::cleanPath(QDir(folder).absolutePath())));
    return walk;
}

QStringList FoundPaths(const TWalk& walk) {
    QStringList paths;
    paths.reserve(qsizetype(walk.found.size()));
    for (const std::string& path : walk.found)
        paths.append(FileNameFromBytes(QByteArray(path.data(), qsizetype(path.size()))));
    return paths;
}

bool Searchable(const QString& folder, const QString& masks) {
    return !folder.isEmpty() && !masks.isEmpty() && !folder.contains(QChar(0));
}

} // namespace

QStringList FindMusicFiles(const QString& folder, const QString& masks, bool withSubfolders,
                           bool includeHidden, const std::atomic<bool>* cancel) {
    if (!Searchable(folder, masks)) return {};
    const TMaskMatcher matcher(masks);
    QStringList paths =
        FoundPaths(Walk(folder, matcher, withSubfolders, includeHidden, cancel, false));
    SortPathsForUser(paths);
    return paths;
}

std::vector<TFoundFile> FindMusicFileFacts(const QString& folder, const QString& masks,
                                           bool withSubfolders, bool includeHidden,
                                           const std::atomic<bool>* cancel) {
    if (!Searchable(folder, masks)) return {};
    const TMaskMatcher matcher(masks);
    const TWalk walk = Walk(folder, matcher, withSubfolders, includeHidden, cancel, true);
    const QStringList paths = FoundPaths(walk);
    std::vector<TFoundFile> files;
    files.reserve(walk.found.size());
    for (const qsizetype i : UserOrder(paths)) {
        const struct stat& info = walk.facts[std::size_t(i)];
        files.push_back({paths[i], qint64(info.st_size),
                         FileTimeFromUnix(info.st_mtim.tv_sec, info.st_mtim.tv_nsec)});
    }
    return files;
}

std::vector<qsizetype> UserOrder(const QStringList& paths) {
    std::vector<qsizetype> order(std::size_t(paths.size()));
    std::iota(order.begin(), order.end(), 0);
    // The C locale's collator compares code points and ignores the case
    // setting; the program itself runs in Russian.
    if (QLocale().language() == QLocale::C) {
        std::sort(order.begin(), order.end(), [&](qsizetype a, qsizetype b) {
            const int byCase = paths[a].compare(paths[b], Qt::CaseInsensitive);
            return byCase != 0 ? byCase < 0 : paths[a] < paths[b];
        });
        return order;
    }
    QCollator collator{QLocale()};
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    std::vector<QCollatorSortKey> keys;
    keys.reserve(order.size());
    for (const QString& path : paths)
        keys.push_back(collator.sortKey(path));
    std::sort(order.begin(), order.end(), [&](qsizetype a, qsizetype b) {
        const int byKey = keys[std::size_t(a)].compare(keys[std::size_t(b)]);
        return byKey != 0 ? byKey < 0 : paths[a] < paths[b];
    });
    return order;
}

void SortPathsForUser(QStringList& paths) {
    QStringList sorted;
    sorted.reserve(paths.size());
    for (const qsizetype i : UserOrder(paths))
        sorted.append(paths[i]);
    paths = std::move(sorted);
}

} // namespace dorvane
