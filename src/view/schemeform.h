// "Цветовая схема": the editor of the custom scheme "Другая". A preview of
// the control panel's boxes and buttons in the scheme's colours and names,
// the four figures (side 1, side 2, possible move, suggested move), lists of
// the colour elements, the colours and the figure pictures, and the two
// picture commands.
//
// It works on the window's custom scheme and figure list themselves: a
// figure chosen and a picture added count at once, and closing by either
// button hands the preview's colours and names over, so "Отмена" undoes
// nothing kept in memory. Only the window, after "Применить", stores the
// scheme and applies it.
#pragma once

#include "view/colorlist.h"
#include "view/figurelist.h"
#include "view/filechooser.h"

#include "core/messages.h"
#include "play/game_settings.h"

#include <QDialog>

#include <array>
#include <functional>
#include <vector>

class QComboBox;
class QFrame;
class QLineEdit;
class QPushButton;
class QToolButton;

namespace dorvane {

class TAttention;

struct TSchemeEditorParts {
    TCustomScheme* custom = nullptr;
    TFigureList* figures = nullptr;
    TFileChooser chooser;                      // the picture to add; the folder to export into
    QString* dirOfPicture = nullptr;           // "DirOfPicture": where the export starts
    std::function<void()> dirOfPictureChanged; // stores it
    TMessageService* messages = nullptr;
};

class TSchemeForm final : public QDialog {
public:
    static constexpr int kClientWidth = 294;
    static constexpr int kClientHeight = 383;
    static constexpr int kElements = 8;

    TSchemeForm(const TSchemeEditorParts& parts, QWidget* parent = nullptr);
    ~TSchemeForm() override;

    // Element i (0..7) becomes the one edited; the colour list shows its colour.
    void SelectElement(int i);
    // The colour of the list's entry goes to the element being edited.
    void ChooseColor(int entry);
    // Figure button k (1..4) becomes the one edited.
    void SelectFigureButton(int k);
    // The picture goes to the figure button being edited and its value.
    void ChooseFigure(int figure);
    void AddPicture();
    void ExportPictures();

    int IndexColor() const { return indexColor_; }
    int IndexButton() const { return indexButton_; }
    // The colour element i shows in the preview.
    QColor ElementColor(int i) const;

    QLineEdit* NameBox(int side) const { return names_[std::size_t(side - 1)]; } // 1, 2
    QPushButton* PreviewButton(int element) const;                               // 4..7
    QToolButton* FigureButton(int k) const { return figureButtons_[std::size_t(k - 1)]; }
    QComboBox* ElementList() const { return elementList_; }
    QComboBox* ColorList() const { return colorList_; }
    QComboBox* FigureList() const { return figureList_; }
    QPushButton* AddButton() const { return add_; }
    QPushButton* ExportButton() const { return export_; }
    QPushButton* ApplyButton() const { return apply_; }
    QPushButton* CancelButton() const { return cancel_; }
    TAttention& Attention() const { return *attention_; }
    const std::vector<TNamedColor>& Colors() const { return colors_; }

    void done(int result) override;

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void BuildPreview();
    void BuildLists();
    void SetElementColor(int i, const QColor& color);
    void ShowColor(const QColor& color);
    void AddFigureItem(int figure);
    // The preview's colours and names become the custom scheme's.
    void TakeOver();

    TSchemeEditorParts parts_;
    std::array<QColor, kElements> colors8_{};
    std::vector<TNamedColor> colors_;
    int indexColor_ = 0;
    int indexButton_ = 1;

    std::array<QLineEdit*, 2> names_{};
    std::array<QPushButton*, 4> buttons_{}; // "Старт" 1, "Старт" 2, "Нет хода", "Сброс"
    std::array<QToolButton*, 4> figureButtons_{};
    QComboBox* elementList_ = nullptr;
    QComboBox* colorList_ = nullptr;
    QComboBox* figureList_ = nullptr;
    QPushButton* add_ = nullptr;
    QPushButton* export_ = nullptr;
    QPushButton* apply_ = nullptr;
    QPushButton* cancel_ = nullptr;
    TAttention* attention_ = nullptr;
};

} // namespace dorvane
