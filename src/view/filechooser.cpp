#include "view/filechooser.h"
#include "widgets/window_mode.h"

#include <QFileDialog>
#include <QPointer>

namespace dorvane {

TFileChooser DialogFileChooser(QWidget* parent) {
    return [owner = QPointer<QWidget>(parent)](const TFileRequest& request) -> QString {
        const TModalScope modal;
        if (request.chooseFolder)
            return QFileDialog::getExistingDirectory(owner, request.title, request.folder);
        QFileDialog dialog(owner, request.title, request.folder, request.filter);
        dialog.setAcceptMode(request.save ? QFileDialog::AcceptSave : QFileDialog::AcceptOpen);
        dialog.setFileMode(request.save ? QFileDialog::AnyFile : QFileDialog::ExistingFile);
        if (!request.defaultSuffix.isEmpty()) dialog.setDefaultSuffix(request.defaultSuffix);
        if (dialog.exec() != QDialog::Accepted || dialog.selectedFiles().isEmpty()) return {};
        return dialog.selectedFiles().first();
    };
}

} // namespace dorvane
