#include "pages/PageWnd.h"

#include "PanelTestSupport.h"

#include "controls/ModButton.h"

using namespace panel_test;

namespace {

using Log = std::vector<std::string>;

TEST(IdRangeTest, HoldsItsCountOfIdsFromTheFirstAndNothingWhenEmpty) {
    constexpr IdRange strips{400, 3};
    EXPECT_FALSE(strips.Contains(399));
    EXPECT_TRUE(strips.Contains(400));
    EXPECT_TRUE(strips.Contains(402));
    EXPECT_FALSE(strips.Contains(403));
    EXPECT_EQ(strips.Offset(402), 2);
    EXPECT_FALSE((IdRange{400, 0}.Contains(400)));
    EXPECT_FALSE((IdRange{400, -1}.Contains(400)));
}

// A page that writes down the hooks its controls' reports reach.
class HookPage : public CPageWnd {
public:
    Log hooks;

protected:
    void ControlHovered(UINT id) override { hooks.push_back("hover " + std::to_string(id)); }
    void PressButton(UINT id) override { hooks.push_back("press " + std::to_string(id)); }
    void ControlReleased(UINT id) override { hooks.push_back("release " + std::to_string(id)); }
    void EndTracking(UINT id) override { hooks.push_back("end " + std::to_string(id)); }
};

TEST(PageWndTest, AClickReachesTheHooksAndOnlyThePressAndTheReleaseGoOnToTheView) {
    ViewHost host;
    ASSERT_TRUE(host.Open(200, 100));
    HookPage page;
    ASSERT_TRUE(page.CreateChild(host.view, CRect(0, 0, 200, 100)));
    CModButton button;
    ASSERT_TRUE(button.Create(7, CRect(10, 10, 60, 30), {}, "Mute", &page));

    host.Move({30, 20});
    host.Click({30, 20});

    EXPECT_EQ(page.hooks, (Log{"hover 7", "press 7", "release 7", "end 7"}));
    EXPECT_EQ(host.view.log, (Log{"press 7", "release 7"})); // the hover stays with the page
}

} // namespace
