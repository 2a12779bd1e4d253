// "Текстура": the chooser of a built-in texture for the field or the
// background. Five framed pictures side by side; the chosen one sits in a
// lowered frame. "Применить" closes with Accepted, "Закрыть" with Rejected.
#pragma once

#include <QDialog>

#include <array>
#include <optional>

class QFrame;
class QPushButton;

namespace dorvane {

class TTextureForm : public QDialog {
public:
    static constexpr int kClientWidth = 508;
    static constexpr int kClientHeight = 131;

    explicit TTextureForm(QWidget* parent = nullptr);

    // Selects texture v (1..5; 0 selects none). Choosing the same again does nothing.
    void SetNewNumber(int v);
    int NewNumber() const { return newNumber_; }

    QFrame* Frame(int number) const; // 1..5
    QPushButton* ApplyButton() const { return apply_; }
    QPushButton* CloseButton() const { return close_; }

    // The whole dialog: caption ("Текстура поля" or "Текстура фона"), the
    // current texture preset; the chosen number after "Применить", nothing
    // after "Закрыть".
    static std::optional<int> Choose(QWidget* parent, const QString& caption, int current);

protected:
    void showEvent(QShowEvent* event) override;

private:
    std::array<QFrame*, 5> frames_{};
    QPushButton* apply_ = nullptr;
    QPushButton* close_ = nullptr;
    int newNumber_ = 0;
};

} // namespace dorvane
