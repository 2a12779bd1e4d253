#include "musicui/input_form.h"

#include "widgets/attention.h"
#include "widgets/dialogkeys.h"
#include "widgets/dialoglayout.h"

#include <QComboBox>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

namespace dorvane {

namespace {

constexpr int kWidth = 420;
constexpr int kHeight = 100;

} // namespace

TInputForm::TInputForm(QWidget* owner, const QString& caption, const QString& label,
                       const QString& text, int minimum, TFocus focus)
    : QDialog(owner), minimum_(minimum) {
    setWindowTitle(caption);
    setFixedSize(kWidth, kHeight);
    setWindowModality(Qt::WindowModal);
    label_ = new QLabel(label, this);
    label_->setAlignment(Qt::AlignCenter);
    label_->setGeometry(8, 8, kWidth - 16, 18);
    text_ = new QComboBox(this);
    text_->setEditable(true);
    text_->setInsertPolicy(QComboBox::NoInsert);
    text_->setMaxVisibleItems(24);
    text_->setGeometry(8, 32, kWidth - 16, 24);
    text_->setEditText(text);
    auto [apply, close] =
        AddButtonBar(this, QStringLiteral("Применить"), QStringLiteral("Закрыть"));
    apply_ = apply;
    close_ = close;
    apply_->setDefault(true);
    disconnect(apply_, &QPushButton::clicked, this, &QDialog::accept);
    connect(apply_, &QPushButton::clicked, this, [this] {
        if (!apply_->isEnabled()) return;
        result_ = text_->currentText().trimmed();
        accept();
        emit Applied(result_);
    });
    connect(text_, &QComboBox::editTextChanged, this, &TInputForm::TextChanged);
    TextChanged(text);
    QWidget* focused = focus == TFocus::Apply   ? static_cast<QWidget*>(apply_)
                       : focus == TFocus::Close ? static_cast<QWidget*>(close_)
                                                : static_cast<QWidget*>(text_);
    focused->setFocus();
    CentreOnScreen(this);
    InstallSwallowAltKey(this);
    new TAttention(this, QStringLiteral("TInputForm"), focused, close_);
}

void TInputForm::TextChanged(const QString& text) {
    apply_->setEnabled(text.trimmed().size() >= minimum_);
}

} // namespace dorvane
