#include "musicui/queryidform.h"

#include "widgets/attention.h"
#include "widgets/dialogkeys.h"
#include "widgets/dialoglayout.h"

#include <QCheckBox>
#include <QGroupBox>
#include <QProgressBar>
#include <QPushButton>

#include <algorithm>

namespace dorvane {

namespace {

constexpr int kClientWidth = 400;
constexpr int kClientHeight = 204;
constexpr int kBoxHeight = 22;

const char* const kBoxTexts[] = {
    "Имя исполнителя", "Год выхода альбома", "Название альбома", "Номер записи", "Название записи",
};

const QString kCloseText = QStringLiteral("Закрыть");
const QString kCancelText = QStringLiteral("Отменить");

} // namespace

TQueryIDForm::TQueryIDForm(TPlaylist& playlist, QWidget* owner)
    : QDialog(owner), job_(playlist, this) {
    setWindowTitle(QStringLiteral("Запрос заголовков из MP3 и WMA файлов"));
    setWindowFlags(Qt::Dialog | Qt::MSWindowsFixedSizeDialogHint | Qt::WindowTitleHint |
                   Qt::WindowCloseButtonHint);
    setFixedSize(kClientWidth, kClientHeight);

    group_ = new QGroupBox(QStringLiteral("Формат заголовков"), this);
    group_->setGeometry(8, 4, kClientWidth - 16, 24 + FieldCount * kBoxHeight);
    for (int i = 0; i < FieldCount; ++i) {
        auto* box = new QCheckBox(QString::fromUtf8(kBoxTexts[i]), group_);
        box->setGeometry(14, 20 + i * kBoxHeight, group_->width() - 28, kBoxHeight);
        boxes_[std::size_t(i)] = box;
    }
    // The artist and the title are always part of the new title.
    for (const TField always : {Artist, Title}) {
        Box(always)->setChecked(true);
        Box(always)->setEnabled(false);
    }

    progress_ = new QProgressBar(this);
    progress_->setGeometry(8, group_->geometry().bottom() + 9, kClientWidth - 16, 18);
    progress_->setTextVisible(false);
    progress_->setRange(0, std::max(playlist.Count(), 1));
    progress_->setValue(0);

    std::tie(query_, close_) = AddButtonBar(this, QStringLiteral("Запросить"), kCloseText);
    // Neither button ends the dialog the usual way: "Запросить" starts the
    // query, the other cancels it while it runs.
    disconnect(query_, &QPushButton::clicked, this, &QDialog::accept);
    disconnect(close_, &QPushButton::clicked, this, &QDialog::reject);
    connect(query_, &QPushButton::clicked, this, &TQueryIDForm::StartQuery);
    connect(close_, &QPushButton::clicked, this, &TQueryIDForm::CloseClicked);
    query_->setDefault(true);
    query_->setFocus();

    connect(&job_, &TTagQuery::Progressed, progress_, &QProgressBar::setValue);
    connect(&job_, &TTagQuery::Finished, this, &TQueryIDForm::QueryDone);

    InstallSwallowAltKey(this);
    new TAttention(this, QStringLiteral("TQueryIDForm"), query_, close_);
}

TQueryIDForm* TQueryIDForm::Open(TPlaylist& playlist, QWidget* owner) {
    auto* form = new TQueryIDForm(playlist, owner);
    form->setAttribute(Qt::WA_DeleteOnClose);
    form->setWindowModality(Qt::ApplicationModal);
    form->show();
    return form;
}

TQueryFields TQueryIDForm::CheckedFields() const {
    return {Box(Year)->isChecked(), Box(Album)->isChecked(), Box(Track)->isChecked()};
}

void TQueryIDForm::StartQuery() {
    if (job_.Running()) return;
    emit QueryStarted();
    job_.Start(CheckedFields());
    progress_->setRange(0, std::max(job_.Total(), 1));
    progress_->setValue(0);
    group_->setEnabled(false);
    query_->setEnabled(false);
    close_->setText(kCancelText);
}

void TQueryIDForm::CloseClicked() {
    if (job_.Running())
        job_.Cancel();
    else
        QDialog::reject();
}

void TQueryIDForm::reject() {
    if (!job_.Running()) {
        QDialog::reject();
        return;
    }
    closeWhenDone_ = true;
    job_.Cancel();
}

void TQueryIDForm::QueryDone() {
    progress_->setValue(progress_->maximum());
    emit QueryFinished();
    group_->setEnabled(true);
    query_->setEnabled(true);
    close_->setText(kCloseText);
    if (closeWhenDone_) QDialog::reject();
}

void TQueryIDForm::showEvent(QShowEvent* event) {
    CentreOnScreen(this);
    QDialog::showEvent(event);
}

} // namespace dorvane
