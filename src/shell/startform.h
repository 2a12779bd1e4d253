// The splash window: the two logos and "Загрузка..." on white, shown and
// painted before the game window is built. Its 100 ms timer counts ticks
// once the game window is ready and, on the second, hands over to the game
// window and closes.
#pragma once

#include <QRegion>
#include <QWidget>

#include <functional>

class QTimer;

namespace dorvane {

class TStartForm final : public QWidget {
public:
    struct THooks {
        std::function<bool()> mainWindowReady;
        std::function<void()> showWindows; // the game window to the front, its companions shown
    };
    explicit TStartForm(THooks hooks);

    // Shows the window and paints it at once, before the start goes on.
    void ShowNow();
    // One tick of the timer, for tests.
    void Tick();

    static constexpr int kWidth = 340;
    static constexpr int kHeight = 100;
    static constexpr int kTickMs = 100;

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    THooks hooks_;
    QTimer* timer_ = nullptr;
    int readyTicks_ = 0;
    bool finished_ = false;
};

// The splash's outline: rounded top-right and bottom-left corners, square
// top-left and bottom-right ones.
QRegion StartFormRegion(int width, int height);

} // namespace dorvane
