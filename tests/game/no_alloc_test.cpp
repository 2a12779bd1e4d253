// Searches run many thousands of simulated moves per call on fixed 100-byte
// arrays; none of it may touch the heap. This executable replaces the global
// allocation functions with counting ones, so it lives apart from the other
// game tests.
#include "game/engine.h"
#include "game/position_text.h"
#include "game/random.h"
#include "game/search_pool.h"
#include "game/selfplay.h"

#include <gtest/gtest.h>

#include <atomic>
#include <cstdlib>
#include <new>
#include <vector>

namespace {

// The look-ahead's pool threads allocate through the same functions, so the
// counter is shared with them.
std::atomic<bool> g_counting{false};
std::atomic<std::size_t> g_allocations{0};

void* CountedAllocate(std::size_t size) {
    if (g_counting) ++g_allocations;
    if (void* p = std::malloc(size == 0 ? 1 : size)) return p;
    throw std::bad_alloc();
}

} // namespace

void* operator new(std::size_t size) {
    return CountedAllocate(size);
}
void* operator new[](std::size_t size) {
    return CountedAllocate(size);
}
void* operator new(std::size_t size, const std::nothrow_t&) noexcept {
    if (g_counting) ++g_allocations;
    return std::malloc(size == 0 ? 1 : size);
}
void* operator new[](std::size_t size, const std::nothrow_t&) noexcept {
    if (g_counting) ++g_allocations;
    return std::malloc(size == 0 ? 1 : size);
}
void operator delete(void* p) noexcept {
    std::free(p);
}
void operator delete[](void* p) noexcept {
    std::free(p);
}
void operator delete(void* p, std::size_t) noexcept {
    std::free(p);
}
void operator delete[](void* p, std::size_t) noexcept {
    std::free(p);
}

namespace dorvane {
namespace {

TEST(SearchAllocation, NoSearchTypeAllocatesAnywhereInTheGame) {
    std::vector<TPosition> positions;
    positions.reserve(2000);
    TRandom games(0xa110c);
    for (int g = 0; g < 8; ++g) {
        PlayEngineGame(games, {SearchTypeOf(1 + g % 2), SearchTypeOf(2 + (g / 2) % 2)},
                       [&](const TGameState& game) {
                           positions.push_back({game.GameBoard, game.SideToMove});
                       });
    }
    ASSERT_GT(positions.size(), 300u);

    // The counter itself must see an allocation, or the test proves nothing.
    g_allocations = 0;
    g_counting = true;
    std::vector<int> probe(16);
    g_counting = false;
    ASSERT_EQ(g_allocations.load(), 1u);

    // The program's shared pool (made by the games above), a pool of three
    // threads made here, and the plain serial search.
    TSearchPool three(3);
    const TSearchOptions kOptions[] = {{}, {&three, false, nullptr}, {nullptr, true, nullptr}};
    TRandom draws(7);
    for (const TPosition& position : positions) {
        for (int type = 0; type <= 3; ++type) {
            for (const TSearchOptions& options : kOptions) {
                TGameState game;
                game.GameBoard = position.board;
                game.SideToMove = position.sideToMove;
                game.RecountDiscs();
                g_allocations = 0;
                g_counting = true;
                FindMove(game, draws, SearchTypeOf(type), options);
                g_counting = false;
                ASSERT_EQ(g_allocations.load(), 0u)
                    << "type " << type << " at " << FormatPosition(position);
                ASSERT_GT(game.MovePriority, 0);
            }
        }
    }
}

} // namespace
} // namespace dorvane
