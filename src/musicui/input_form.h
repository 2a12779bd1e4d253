// The small input window of the playlist window: a caption, a centred label,
// a drop-down text box and "Применить" / "Закрыть". "Применить" is enabled
// only while the text without its surrounding blanks is long enough, and
// stores that trimmed text as the result. It opens window-modal without an
// event loop of its own (open(), not exec()): the caller hears the answer
// through Applied.
#pragma once

#include <QDialog>
#include <QString>

class QComboBox;
class QLabel;
class QPushButton;

namespace dorvane {

class TInputForm final : public QDialog {
    Q_OBJECT

public:
    enum class TFocus { Apply = 1, Close = 2, Text = 3 };

    // CreateInput: owner, caption, label, initial text, the minimum trimmed
    // length for "Применить", the control with the focus.
    TInputForm(QWidget* owner, const QString& caption, const QString& label, const QString& text,
               int minimum, TFocus focus);

    QString Result() const { return result_; }
    QComboBox* TextBox() const { return text_; }
    QPushButton* ApplyButton() const { return apply_; }
    QPushButton* CloseButton() const { return close_; }

signals:
    void Applied(const QString& text);

private:
    void TextChanged(const QString& text);

    QLabel* label_ = nullptr;
    QComboBox* text_ = nullptr;
    QPushButton* apply_ = nullptr;
    QPushButton* close_ = nullptr;
    int minimum_ = 0;
    QString result_;
};

} // namespace dorvane
