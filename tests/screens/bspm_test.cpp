#include "link/dis.h"
#include "screen_fixture.h"
#include "screens/bspm.h"
#include "sim/hal/keys.h"
#include "spine/ui_spine.h"

namespace {

constexpr int HARDKEY_SERVICE_MENU = HARDKEY_FIRST_COMMAND + 19;
constexpr uint8_t LON_MODULE = 0x01; // module byte: bit 0 set, bits 2..3 clear

// The service-pin message opened from the service menu, as the service functions open it.
class ServicePin : public ScreenTest {
  protected:
    void open(bool lonModule)
    {
        startToBasicDisplay();
        DIS_InitLink();
        tap(HARDKEY_SERVICE_MENU);
        ASSERT_EQ(state(), "BSVM_Servicemenue");
        DAT_Block(DatBlock::Boiler)[0] = lonModule ? LON_MODULE : 0;
        HSM_Tran(*EVT_Machine(PRIO_UI), &BKE_Kontrasteinstellung, &BSPM_ServicePinMessage,
                 PAR_NAVIGATE);
        EVT_Run();
        ASSERT_EQ(state(), "BSPM_ServicePinMessage");
    }

    static bool servicePinSent()
    {
        EVT_Post(PRIO_LINK, SIG_LINK_SERVICE);
        EVT_Run();
        const auto r = DIS_RequestBuffer();
        return r[1] >> 3 == DIS_MSG_BOILER && r[3] == 245;
    }
};

TEST_F(ServicePin, WithALonModuleTheCommandGoesOutAndTheScreenClosesAfterFourSeconds)
{
    open(true);
    EXPECT_TRUE(shows("Service-Message"));
    EXPECT_TRUE(shows("LON-Modul"));
    EXPECT_TRUE(shows("Bitte warten"));
    EXPECT_TRUE(servicePinSent());
    run(3500);
    EXPECT_EQ(state(), "BSPM_ServicePinMessage");
    run(600);
    EXPECT_EQ(state(), "BSVM_Servicemenue") << "back where it was opened";
}

TEST_F(ServicePin, WithoutALonModuleNothingIsSent)
{
    open(false);
    EXPECT_TRUE(shows("Service-Message"));
    EXPECT_FALSE(shows("LON-Modul"));
    EXPECT_FALSE(servicePinSent());
    tap(HARDKEY_OK);
    EXPECT_EQ(state(), "BSVM_Servicemenue");
}

TEST_F(ServicePin, BackFromHelpStillReturnsWhereItWasOpened)
{
    open(true);
    tap(HARDKEY_HELP);
    ASSERT_EQ(state(), "BHA_Hilfeanzeige");
    tap(HARDKEY_BACK);
    ASSERT_EQ(state(), "BSPM_ServicePinMessage");
    tap(HARDKEY_BACK);
    EXPECT_EQ(state(), "BSVM_Servicemenue");
}

} // namespace
