#include "screen_fixture.h"
#include "screens/bra.h"
#include "sim/host/lcd_view.h"
#include "spine/ui_spine.h"

namespace {

constexpr GFX_Rect AREA{82, 42, 156, 116};

class IdleAnimation : public ScreenTest {
  protected:
    void SetUp() override
    {
        ScreenTest::SetUp();
        startToBasicDisplay();
        view.attach();
        BMM_SetRestart3UhrAllowed(1);
        dataChanged();
        ASSERT_EQ(state(), "BRA_RuheAnimation");
    }
    void TearDown() override { LcdView::detach(); }

    // The field as the frame of angle `a` draws it whole: cleared, and both quarter arcs.
    static DisplayCopy wholeFrame(int16_t a)
    {
        const DisplayCopy shown = copyDisplay();
        GFX_ClearRect(AREA);
        const uint8_t pen = GFX_SetPenSize(7);
        GFX_DrawArc(119, 79, 30, 30, a, static_cast<int16_t>(a + 90));
        GFX_DrawArc(119, 79, 30, 30, static_cast<int16_t>(a + 180), static_cast<int16_t>(a + 270));
        GFX_SetPenSize(pen);
        const DisplayCopy whole = copyDisplay();
        memcpy(GFX_Memory(), shown.data(), shown.size());
        return whole;
    }

    // The pixels of the field that the panel shows differently from display memory.
    int visibleDifferences() const
    {
        const LcdView::Snapshot s = view.snapshot();
        int differ = 0;
        for (int y = AREA.y0; y <= AREA.y1; ++y)
            for (int x = AREA.x0; x <= AREA.x1; ++x)
                differ += (s.pixels[y * GFX_WIDTH + x] != 0) != pixel(x, y);
        return differ;
    }

    void frame()
    {
        EVT_Post(PRIO_UI, SIG_WAIT_TIMEOUT);
        EVT_Run();
    }

    LcdView view;
};

TEST_F(IdleAnimation, EveryFrameIsTheFigureDrawnWholeAndIsOnThePanel)
{
    // Two full turns of the figure (it repeats after 90 frames), across a 5-second redraw and
    // an angle set from outside.
    for (int n = 0; n < 200; ++n) {
        if (n == 57) {
            EVT_Post(PRIO_UI, SIG_TICK_5S);
            EVT_Run();
        }
        if (n == 131) BRA_SetAngle(37);
        const int16_t a = static_cast<int16_t>(BRA_GetAngle());
        frame();
        ASSERT_EQ(copyDisplay(), wholeFrame(a)) << "frame " << n << " at angle " << a;
        ASSERT_EQ(visibleDifferences(), 0) << "frame " << n << " at angle " << a;
    }
}

} // namespace
