#include "music/folder_search.h"

#include "core/file_name.h"
#include "music/music_masks.h"

#include <QCollator>
#include <QDir>

#include <algorithm>
#include <array>
#include <string_view>
#include <cstring>
#include <dirent.h>
#include <fcntl.h>
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
    std::vector<std::string> found;

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
            if (type == DT_UNKNOWN || type == DT_LNK) {
                if (!wanted && !withSubfolders) continue;
                struct stat info {};
                if (::fstatat(fd, name, &info, 0) != 0) continue; // a broken link
                type = S_ISREG(info.st_mode) ? DT_REG : S_ISDIR(info.st_mode) ? DT_DIR : DT_UNKNOWN;
            }
            if (type == DT_REG && wanted)
                found.push_back(Child(folder, name, length));
            else if (type == DT_DIR && withSubfolders)
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

} // namespace

QStringList FindMusicFiles(const QString& folder, const QString& masks, bool withSubfolders,
                           bool includeHidden, const std::atomic<bool>* cancel) {
    if (folder.isEmpty() || masks.isEmpty() || folder.contains(QChar(0))) return {};
    const TMaskMatcher matcher(masks);
    TWalk walk{matcher, withSubfolders, includeHidden, cancel, {}, {}, {}};
    walk.Run(NativeFileName(QDir::cleanPath(QDir(folder).absolutePath())));
    QStringList paths;
    paths.reserve(qsizetype(walk.found.size()));
    for (const std::string& path : walk.found)
        paths.append(FileNameFromBytes(QByteArray(path.data(), qsizetype(path.size()))));
    SortPathsForUser(paths);
    return paths;
}

void SortPathsForUser(QStringList& paths) {
    // The C locale's collator compares code points and ignores the case
    // setting; the program itself runs in Russian.
    if (QLocale().language() == QLocale::C) {
        std::sort(paths.begin(), paths.end(), [](const QString& a, const QString& b) {
            const int order = a.compare(b, Qt::CaseInsensitive);
            return order != 0 ? order < 0 : a < b;
        });
        return;
    }
    QCollator collator{QLocale()};
    collator.setCaseSensitivity(Qt::CaseInsensitive);
    std::vector<std::pair<QCollatorSortKey, qsizetype>> keys;
    keys.reserve(std::size_t(paths.size()));
    for (qsizetype i = 0; i < paths.size(); ++i)
        keys.emplace_back(collator.sortKey(paths[i]), i);
    std::sort(keys.begin(), keys.end(), [&](const auto& a, const auto& b) {
        const int order = a.first.compare(b.first);
        return order != 0 ? order < 0 : paths[a.second] < paths[b.second];
    });
    QStringList sorted;
    sorted.reserve(paths.size());
    for (const auto& key : keys)
        sorted.append(paths[key.second]);
    paths = std::move(sorted);
}

} // namespace dorvane
