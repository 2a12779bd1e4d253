#include "view/filetypeform.h"

#include "core/messages.h"
#include "widgets/attention.h"
#include "widgets/dialogkeys.h"
#include "widgets/dialoglayout.h"
#include "widgets/window_mode.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QListWidget>
#include <QPushButton>

namespace dorvane {

namespace {

constexpr int kColumns = 4;
constexpr int kRows = 4;
constexpr int kItemHeight = 15; // 13 with a narrow 8-point font
constexpr int kListWidth = 329;
constexpr int kListHeight = kRows * kItemHeight + 8; // and the frame
constexpr int kCursorSteps = 10;

} // namespace

TFileTypeForm::TFileTypeForm(const std::vector<TTypeEntry>& entries, bool restoreType,
                             QWidget* parent)
    : QDialog(parent) {
    setWindowTitle(QStringLiteral("Интеграция в оболочку"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    QFont small(QStringLiteral("Tahoma"));
    small.setStyleHint(QFont::SansSerif);
    small.setPointSize(8);
    setFont(small);
    setFixedSize(kClientWidth, kClientHeight);

    // The "c" is the Latin letter, as it has always been written here.
    auto* group =
        new QGroupBox(QStringLiteral("Ассоциировать ") + QString::fromUtf8(kMessageCaption) +
                          QStringLiteral(" c файлами:"),
                      this);
    group->setGeometry(4, 1, 342, kListHeight + 24);
    list_ = new QListWidget(group);
    list_->setGeometry(6, 17, kListWidth, kListHeight);
    // Four rows of four fit; a scroll bar would take a row away.
    list_->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    // Four columns filled top to bottom, as a multi-column check list.
    list_->setFlow(QListView::TopToBottom);
    list_->setWrapping(true);
    list_->setResizeMode(QListView::Adjust);
    list_->setGridSize(QSize((kListWidth - 8) / kColumns, kItemHeight));
    list_->setUniformItemSizes(true);
    for (const TTypeEntry& entry : entries) {
        auto* item = new QListWidgetItem(entry.extension, list_);
        item->setFlags(Qt::ItemIsEnabled | Qt::ItemIsUserCheckable);
        item->setCheckState(entry.checked ? Qt::Checked : Qt::Unchecked);
        item->setSizeHint(QSize((kListWidth - 8) / kColumns, kItemHeight));
    }

    restore_ = new QCheckBox(QStringLiteral("Восстанавливать при запуске"), this);
    restore_->setChecked(restoreType);
    // The desktop's font is wider than the 8-point one the layout was drawn
    // for: the text must end before "Применить".
    QFont narrow = small;
    narrow.setStretch(QFont::SemiCondensed);
    restore_->setFont(narrow);
    restore_->move(7, kClientHeight - 27 + 5);
    restore_->adjustSize();
    std::tie(apply_, close_) =
        AddButtonBar(this, QStringLiteral("Применить"), QStringLiteral("Закрыть"));
    close_->setDefault(true);
    close_->setFocus();
    InstallSwallowAltKey(this);
    auto* attention = new TAttention(this, QStringLiteral("TFileTypeForm"), close_, close_);
    attention->CursorTo().SetCount(kCursorSteps);
}

std::vector<TTypeEntry> TFileTypeForm::Entries() const {
    std::vector<TTypeEntry> entries;
    for (int i = 0; i < list_->count(); ++i)
        entries.push_back({list_->item(i)->text(), list_->item(i)->checkState() == Qt::Checked});
    return entries;
}

bool TFileTypeForm::RestoreType() const {
    return restore_->isChecked();
}

std::optional<TFileTypeForm::TChoice> TFileTypeForm::Choose(const std::vector<TTypeEntry>& entries,
                                                            bool restoreType, QWidget* parent) {
    TFileTypeForm form(entries, restoreType, parent);
    const TModalScope modal;
    if (form.exec() != QDialog::Accepted) return std::nullopt;
    return TChoice{form.Entries(), form.RestoreType()};
}

void TFileTypeForm::showEvent(QShowEvent* event) {
    CentreOnScreen(this);
    QDialog::showEvent(event);
}

} // namespace dorvane
