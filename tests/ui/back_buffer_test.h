// What the drawing tests share: the engine tests' window and clock, and a back buffer of the main
// window's size to draw into and probe.
#pragma once

#include <tuple>

#include "tests/engine/engine_fixture.h"
#include "ui/back_buffer.h"

class BackBufferTest : public EngineTest {
  protected:
    void SetUp() override {
        EngineTest::SetUp();
        CreateBackBuffer(nullptr, 240, 268);
    }
    void TearDown() override {
        DeleteBackBuffer();
        EngineTest::TearDown();
    }
    static COLORREF At(int x, int y) { return GetPixel(backBufferDC, x, y); }
    // Each probed pixel, {x, y, colour}, against the colour expected there.
    static void ExpectAt(std::initializer_list<std::tuple<int, int, COLORREF>> probes) {
        for (auto [x, y, colour] : probes) EXPECT_EQ(At(x, y), colour) << "at " << x << ", " << y;
    }
    // How many pixels of the area pass `test`, a predicate on their colour.
    template <typename Test>
    static int Count(const RECT& area, Test test) {
        int n = 0;
        for (int y = area.top; y < area.bottom; ++y)
            for (int x = area.left; x < area.right; ++x) n += test(At(x, y));
        return n;
    }
    static int CountColour(const RECT& area, COLORREF colour) {
        return Count(area, [colour](COLORREF c) { return c == colour; });
    }
};
