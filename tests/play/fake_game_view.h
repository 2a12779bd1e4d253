// A game window without a display: it keeps what the controller shows,
// answers questions from a script, runs timers only when the test fires them
// and serves redraw requests when the test lets the "event loop" run. It is
// the controller's search runner too: a search is answered at once, or, with
// holdSearches, kept until the test finishes it - the time in between is the
// time a real search spends on its worker thread.
#pragma once

#include "play/game_controller.h"
#include "play/game_view.h"
#include "play/search_runner.h"

#include <gtest/gtest.h>

#include <QString>

#include <array>
#include <deque>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <vector>

namespace dorvane::test {

struct TShownMessage {
    QString text;
    TMessageIcon icon;
};

class TFakeGameView final : public TGameView, public TSearchRunner {
public:
    TGameController* controller = nullptr;

    std::vector<TShownMessage> messages;
    std::vector<QString> questions;
    std::deque<bool> answers;      // answers to questions in order; an unscripted question gets No
    std::map<int, QString> panels; // by TStatusPanel number
    std::array<QString, 2> boxes;  // status boxes: [0] side 1, [1] side 2
    std::array<QString, 2> clocks; // clock texts
    QString counter, scoreCaption, score1, score2, overall1, overall2, rating1, rating2, hint;
    std::optional<TPlayersView> players;
    int intellect = 0; // the level checked; 0 none
    std::map<TGameCommand, bool> enabled;
    std::map<TGameTimer, int> timers; // running timers and their intervals
    std::optional<TRedraw> pendingRedraw;
    std::vector<TRedraw> redraws; // every redraw served, in order
    std::vector<TGameSound> sounds;
    int markCount = 0;
    int bestColumn = 0, bestRow = 0;
    bool busy = false;
    int busyShown = 0;
    bool closeDeferred = false;
    bool holdSearches = false;
    std::vector<TSearchJob> searches; // every search started, in order

    static int Side(TSide side) { return side == TSide::First ? 0 : 1; }

    void ShowMessage(const QString& text, TMessageIcon icon) override {
        messages.push_back({text, icon});
    }
    bool AskYesNo(const QString& text) override {
        questions.push_back(text);
        if (answers.empty()) return false;
        const bool answer = answers.front();
        answers.pop_front();
        return answer;
    }
    void ShowStatusBox(TSide side, const QString& text) override { boxes[Side(side)] = text; }
    void ShowStatusPanel(TStatusPanel panel, const QString& text) override {
        panels[static_cast<int>(panel)] = text;
    }
    void ShowMoveCounter(const QString& text) override { counter = text; }
    void ShowScores(const QString& caption, const QString& s1, const QString& s2) override {
        scoreCaption = caption;
        score1 = s1;
        score2 = s2;
    }
    void ShowOverall(const QString& o1, const QString& o2) override {
        overall1 = o1;
        overall2 = o2;
    }
    void ShowRating(const QString& r1, const QString& r2) override {
        rating1 = r1;
        rating2 = r2;
    }
    void ShowClock(TSide side, const QString& text) override { clocks[Side(side)] = text; }
    void ShowPlayers(const TPlayersView& p) override { players = p; }
    void ShowHint(const QString& text, TSide) override { hint = text; }
    void ShowIntellect(std::optional<TStrength> level) override {
        intellect = level ? StoredStrength(*level) : 0;
    }
    void ShowPassBlink(bool) override {}
    void EnableCommand(TGameCommand command, bool on) override { enabled[command] = on; }
    void StartTimer(TGameTimer timer, int intervalMs) override { timers[timer] = intervalMs; }
    void StopTimer(TGameTimer timer) override { timers.erase(timer); }
    void RequestRedraw(TRedraw kind) override {
        if (!pendingRedraw || static_cast<int>(kind) > static_cast<int>(*pendingRedraw))
            pendingRedraw = kind;
    }
    void ShowMoveMarks(const TFlipGrid& grid, int column, int row) override {
        markCount = 0;
        for (int c = 1; c <= 8; ++c)
            for (int r = 1; r <= 8; ++r)
                markCount += grid[CellIndex(c, r)] != 0;
        bestColumn = column;
        bestRow = row;
    }
    void PlaySound(TGameSound sound) override { sounds.push_back(sound); }
    void ShowBusy(bool on) override {
        busy = on;
        busyShown += on;
    }
    void CloseDeferred() override { closeDeferred = true; }

    // TSearchRunner
    void Start(const TSearchJob& job, TDone done) override {
        EXPECT_FALSE(pending_) << "a search started inside another";
        searches.push_back(job);
        pending_ = std::make_unique<TPending>(TPending{job, std::move(done)});
        if (!holdSearches) FinishSearch();
    }
    bool SearchPending() const { return pending_ != nullptr; }
    // Some result reaches the event loop while the search is still pending:
    // one from an earlier job, say.
    void Deliver(const TSearchResult& result) {
        ASSERT_TRUE(pending_);
        pending_->done(result);
    }
    // The worker's result reaches the event loop.
    bool FinishSearch() {
        if (!pending_) return false;
        const std::unique_ptr<TPending> pending = std::move(pending_);
        pending->done(RunSearch(pending->job));
        return true;
    }

    bool Running(TGameTimer timer) const { return timers.count(timer) != 0; }
    bool Enabled(TGameCommand command) const {
        const auto it = enabled.find(command);
        return it != enabled.end() && it->second;
    }
    QString LastMessage() const { return messages.empty() ? QString() : messages.back().text; }

    // The event loop serves a pending redraw: the board is drawn, then the
    // controller hands the turn over.
    bool Redraw() {
        if (!pendingRedraw) return false;
        redraws.push_back(*pendingRedraw);
        pendingRedraw.reset();
        controller->RedrawFinished();
        return true;
    }

    // Fires a running timer as the event loop would.
    bool Fire(TGameTimer timer) {
        if (!Running(timer)) return false;
        if (timer == TGameTimer::ComputerPause) timers.erase(timer); // one-shot
        controller->TimerFired(timer);
        return true;
    }

    // Lets searches, redraws and the computer's pause run until nothing more
    // is pending.
    void Settle() {
        for (int guard = 0; guard < 1000; ++guard)
            if (!FinishSearch() && !Redraw() && !Fire(TGameTimer::ComputerPause)) return;
        ADD_FAILURE() << "Settle gave up: the game never came to rest";
    }

private:
    struct TPending {
        TSearchJob job;
        TDone done;
    };
    std::unique_ptr<TPending> pending_;
};

} // namespace dorvane::test
