// One setting read and written by its table entry: the parts of a composite
// go out with the parts they share their commands with, unchanged.
#include <gtest/gtest.h>

#include <cmath>
#include <string>

#include "camera/CamTypes.h"
#include "camera/SettingAccess.h"
#include "camera/SettingsTable.h"
#include "support/SimLink.h"

namespace {

class SettingAccessTest : public SimLinkTest {
protected:
    int write(const char* mnemonic, double value) { return Settings_Write(*Settings_Find(mnemonic), value); }
    double read(const char* mnemonic)
    {
        double value = -1;
        EXPECT_EQ(Settings_Read(*Settings_Find(mnemonic), &value), COMM_OK) << mnemonic;
        return value;
    }
};

TEST_F(SettingAccessTest, APartOfACompositeLeavesItsPartnersAsTheyWere)
{
    // Reset edges in RSE: Pos x 256 + Neg, so Pos 10 beside Neg 7 is 2567.
    camera().setReg("RSE", 5 * 256 + 7);
    ASSERT_EQ(write("RST Pos", 10), COMM_OK);
    EXPECT_EQ(camera().reg("RSE"), 2567);
    EXPECT_EQ(read("RST Neg"), 7);

    // The split line on the 720-unit scale, counted in fours: at 40 % the line
    // is at 288, HSM 72; half of the 288 units to its left puts HSL at 36, half
    // of the 432 to its right HSR at 126.
    ASSERT_EQ(write("SSP", 50), COMM_OK);
    ASSERT_EQ(write("LLT", 50), COMM_OK);
    ASSERT_EQ(write("RLT", 50), COMM_OK);
    ASSERT_EQ(write("SSP", 40), COMM_OK);
    EXPECT_EQ(camera().reg("HSM"), 72);
    EXPECT_EQ(camera().reg("HSL"), 36);
    EXPECT_EQ(camera().reg("HSR"), 126);
    EXPECT_EQ(read("LLT"), 50);
    EXPECT_EQ(read("RLT"), 50);

    // A level is kept scaled by its half's transparency: 200 at 50 % is 100,
    // and reads 200 again.
    ASSERT_EQ(write("SLT", 0), COMM_OK);
    ASSERT_EQ(write("SLR", 200), COMM_OK);
    ASSERT_EQ(write("SLT", 50), COMM_OK);
    EXPECT_EQ(camera().reg("SLR"), 100);
    EXPECT_EQ(read("SLR"), 200);
    EXPECT_EQ(read("SLT"), 50);

    // Cb in SAC's high byte: ceil(255 x 0.5) = 128 beside Cr's 0x34.
    camera().setReg("SAC", 0x1234);
    ASSERT_EQ(write("CBSAT", 1.5), COMM_OK);
    EXPECT_EQ(camera().reg("SAC"), 0x8034);
    EXPECT_NEAR(read("CRSAT"), 1.0 + 0x34 / 255.0, 1e-6);

    // A coefficient of 1.25 is 1280 counts of 1/1024.
    ASSERT_EQ(write("KR2", 1.25), COMM_OK);
    EXPECT_EQ(camera().reg("KR2"), 1280);
    EXPECT_NEAR(read("KR2"), 1.25, 0.001);
}

TEST_F(SettingAccessTest, APartnerThatCannotBeReadStopsTheWriteBeforeAnythingIsSent)
{
    camera().faults().refuse = {"HSM"};
    clearLog();
    EXPECT_EQ(write("LLT", 30), COMM_NAK);
    for (const std::string& line : sent()) EXPECT_EQ(line.find('='), std::string::npos) << line;
    // What can only be written is not read: nothing goes out.
    double value = 0;
    clearLog();
    EXPECT_EQ(Settings_Read(*Settings_Find("AFW"), &value), COMM_NAK);
    EXPECT_TRUE(sent().empty());
}

TEST_F(SettingAccessTest, ARefusalNamesTheSettingTheValueAndTheRange)
{
    struct Case {
        const char* mnemonic;
        double value;
        const char* text;
        const char* refusal;
    };
    // The colour class's gain runs from 0 to 30 dB; 30.0049 is still count
    // 852 (30 / 0.0352 = 852.3), 30.02 is 853.
    const Case cases[] = {
        {"AGN", 30.0049, "30.0049", ""},
        {"AGN", 30.02, "30.02", "AGN 30.02 is out of range: Manual Gain takes 0 to 30 dB on the VKC-475"},
        {"SHS", 2.5, "2.5", "SHS takes a whole number, not 2.5"},
        {"TMD", 1, "1", "TMD (Trigger Mode) is not a setting of the VKC-475"},
        {"AGN", std::nan(""), "nan", "AGN takes a number, not nan"},
        {"ALM", 1, "1", "ALM 1 is out of range: ALC Metering Mode takes 0 to 0 on the VKC-475"},
    };
    for (const Case& c : cases)
        EXPECT_EQ(Settings_Refusal(*Settings_Find(c.mnemonic), c.value, c.text), c.refusal);
}

}  // namespace
