#include "musicui/music_dialogs.h"

#include "music/file_lookup.h"

#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QPointer>

namespace dorvane {

namespace {

// The file-name box of Qt's own dialog; the platform's dialogs do not let
// the name be changed while they run, so the save dialog is always Qt's.
QLineEdit* NameBox(QFileDialog& dialog) {
    return dialog.findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
}

} // namespace

TSourceChooser DialogSourceChooser(QWidget* parent) {
    return [owner = QPointer<QWidget>(parent)](const TSourceRequest& request) -> QString {
        QFileDialog dialog(owner);
        const bool startIsFolder = IsExistingFolder(request.start);
        if (request.folder) {
            dialog.setWindowTitle(request.title);
            dialog.setFileMode(QFileDialog::Directory);
            dialog.setOption(QFileDialog::ShowDirsOnly);
            if (!request.start.isEmpty())
                dialog.setDirectory(startIsFolder ? request.start
                                                  : QFileInfo(request.start).path());
        } else {
            dialog.setFileMode(QFileDialog::ExistingFile);
            dialog.setNameFilters(request.filters);
            if (!request.filters.isEmpty()) dialog.selectNameFilter(request.filters.first());
            if (startIsFolder)
                dialog.setDirectory(request.start);
            else if (!request.start.isEmpty())
                dialog.selectFile(request.start);
        }
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
        return dialog.selectedFiles().first();
    };
}

void PrepareSaveDialog(QFileDialog& dialog, const TSaveRequest& request) {
    dialog.setOption(QFileDialog::DontUseNativeDialog);
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    const QStringList filters = SaveFilters();
    dialog.setNameFilters(filters);
    dialog.selectNameFilter(filters[int(request.format) - 1]);
    const QFileInfo proposed(request.proposedName);
    if (proposed.path() != QLatin1String(".") || request.proposedName.startsWith(u'.'))
        dialog.setDirectory(proposed.absolutePath());
    dialog.selectFile(proposed.fileName());
    QObject::connect(&dialog, &QFileDialog::filterSelected, &dialog, [&dialog] {
        if (QLineEdit* box = NameBox(dialog); box && !box->text().isEmpty())
            box->setText(ForceExtension(box->text(), SelectedFormat(dialog)));
    });
}

TPlaylistFormat SelectedFormat(const QFileDialog& dialog) {
    const qsizetype index = SaveFilters().indexOf(dialog.selectedNameFilter());
    return index < 0 ? TPlaylistFormat::M3u : TPlaylistFormat(index + 1);
}

TSaveChooser DialogSaveChooser(QWidget* parent) {
    return [owner = QPointer<QWidget>(parent)](
               const TSaveRequest& request) -> std::optional<TSaveAnswer> {
        QFileDialog dialog(owner);
        PrepareSaveDialog(dialog, request);
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty())
            return std::nullopt;
        return TSaveAnswer{dialog.selectedFiles().first(), SelectedFormat(dialog)};
    };
}

} // namespace dorvane
