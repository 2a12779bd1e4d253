// "Интеграция в оболочку": the sound and playlist types the program may open,
// each checked while it is the program's, and "Восстанавливать при запуске".
// "Применить" hands the marks back (the window applies them), "Закрыть" and
// Escape change nothing.
#pragma once

#include "desktop/type_settings.h"

#include <QDialog>

#include <optional>
#include <vector>

class QCheckBox;
class QListWidget;
class QPushButton;

namespace dorvane {

class TFileTypeForm : public QDialog {
public:
    // 105 pixels high with a narrow 8-point font; the list is 20 pixels
    // taller here, so that the 15 types show in four rows of the desktop's
    // font without a scroll bar.
    static constexpr int kClientWidth = 350;
    static constexpr int kClientHeight = 125;

    TFileTypeForm(const std::vector<TTypeEntry>& entries, bool restoreType,
                  QWidget* parent = nullptr);

    std::vector<TTypeEntry> Entries() const;
    bool RestoreType() const;
    QListWidget* List() const { return list_; }
    QCheckBox* RestoreBox() const { return restore_; }
    QPushButton* ApplyButton() const { return apply_; }
    QPushButton* CloseButton() const { return close_; }

    struct TChoice {
        std::vector<TTypeEntry> entries;
        bool restoreType = false;
    };
    // The whole dialog, modal; the marks after "Применить", nothing after
    // "Закрыть".
    static std::optional<TChoice> Choose(const std::vector<TTypeEntry>& entries, bool restoreType,
                                         QWidget* parent);

protected:
    void showEvent(QShowEvent* event) override;

private:
    QListWidget* list_ = nullptr;
    QCheckBox* restore_ = nullptr;
    QPushButton* apply_ = nullptr;
    QPushButton* close_ = nullptr;
};

} // namespace dorvane
