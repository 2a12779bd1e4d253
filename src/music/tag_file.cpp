#include "music/tag_file.h"

#include "core/file_name.h"

namespace dorvane {

TTagFileStatus WithTagFile(const QString& path, QStringView extension,
                           const std::function<void(TTagSource&)>& read) {
    if (!path.endsWith(extension, Qt::CaseInsensitive)) return TTagFileStatus::OtherType;
    TRegularFile file = TRegularFile::Open(NativeFileName(path));
    if (!file.ok()) {
        switch (*file.failure()) {
        case TReadFailure::Missing:
            return TTagFileStatus::Missing;
        case TReadFailure::NotRegular:
            return TTagFileStatus::NotRegular;
        default:
            return TTagFileStatus::Unreadable;
        }
    }
    TFileTagSource source(std::move(file));
    read(source);
    return TTagFileStatus::Read;
}

} // namespace dorvane
