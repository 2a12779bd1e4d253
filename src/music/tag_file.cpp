#include "music/tag_file.h"

#include "core/file_name.h"

namespace dorvane {

TTagFile OpenTagFile(const QString& path, QStringView extension) {
    TTagFile opened;
    if (!path.endsWith(extension, Qt::CaseInsensitive)) return opened;
    TRegularFile file = TRegularFile::Open(FileNameToBytes(path).constData());
    if (!file.ok()) {
        switch (*file.failure()) {
        case TReadFailure::Missing:
            opened.status = TTagFileStatus::Missing;
            break;
        case TReadFailure::NotRegular:
            opened.status = TTagFileStatus::NotRegular;
            break;
        default:
            opened.status = TTagFileStatus::Unreadable;
        }
        return opened;
    }
    opened.status = TTagFileStatus::Read;
    opened.source.emplace(std::move(file));
    return opened;
}

} // namespace dorvane
