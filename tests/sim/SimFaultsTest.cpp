// Misbehaviour switches of the simulated camera: what receive() hands back.
#include <gtest/gtest.h>

#include <string>

#include "sim/SimCamera.h"

using sim::SimCamera;

TEST(SimFaults, SilenceDelaysAndLateReplies)
{
    SimCamera silent;
    silent.faults().silent = true;
    EXPECT_TRUE(silent.receive(":CAM?\r:AGN=3\r").empty());
    EXPECT_EQ(silent.log().size(), 2u);
    EXPECT_NE(silent.reg("AGN"), 3);

    SimCamera cam;
    cam.faults().replyDelayMs = 40;
    cam.faults().late = {"AGN"};
    cam.faults().lateDelayMs = 1500;
    auto out = cam.receive(":CAM?\r:AGN=9\r:ALV?\r");
    ASSERT_EQ(out.size(), 3u);
    EXPECT_EQ(out[0].delayMs, 40);
    EXPECT_EQ(out[1].delayMs, 1500);
    EXPECT_EQ(out[2].delayMs, 40);
    EXPECT_EQ(cam.reg("AGN"), 9);  // a late answer comes from a command carried out
}

TEST(SimFaults, RefusedGarbledAndOverlongRepliesAffectOnlyTheirMnemonics)
{
    SimCamera cam;
    cam.faults().refuse = {"AGN"};
    cam.faults().garbage = {"CAM"};
    cam.faults().overlong = {"VER"};
    const int agn = *cam.reg("AGN");
    auto out = cam.receive(":AGN=9\r:CAM?\r:VER?\r:ALV?\r");
    ASSERT_EQ(out.size(), 4u);
    EXPECT_EQ(out[0].bytes, ":e\r");
    EXPECT_EQ(cam.reg("AGN"), agn);  // refused means not carried out

    const std::string& garbage = out[1].bytes;  // neither acceptance nor refusal
    EXPECT_TRUE(garbage.front() == ':' && garbage.back() == '\r') << garbage;
    EXPECT_EQ(garbage.find_first_of("oe"), std::string::npos) << garbage;

    const std::string& overlong = out[2].bytes;  // 300 characters between ':' and CR
    EXPECT_EQ(overlong.size(), 302u);
    EXPECT_EQ(overlong.substr(0, 2), ":o");
    EXPECT_EQ(overlong.find_first_of(":\r", 1), overlong.size() - 1);

    EXPECT_EQ(out[3].bytes.substr(0, 5), ":oALV");
}

TEST(SimFaults, JunkDuplicatesAndSingleBytesWrapTheWholeReply)
{
    SimCamera cam;
    cam.faults().junkBeforeColon = "xx";
    cam.faults().duplicateReplies = true;
    auto out = cam.receive(":CAM?\r");
    ASSERT_EQ(out.size(), 1u);
    EXPECT_EQ(out[0].bytes, "xx:oVKC-475\rxx:oVKC-475\r");

    SimCamera split;
    split.faults().byteByByte = true;
    split.faults().replyDelayMs = 10;
    out = split.receive(":CAM?\r");
    std::string joined;
    for (std::size_t i = 0; i < out.size(); ++i) {
        EXPECT_EQ(out[i].bytes.size(), 1u);
        EXPECT_EQ(out[i].delayMs, 10 + static_cast<int>(i));
        joined += out[i].bytes;
    }
    EXPECT_EQ(joined, ":oVKC-475\r");

    // execute() is the bare engine: no faults, no log.
    EXPECT_EQ(split.execute(":CAM?"), ":oVKC-475\r");
    EXPECT_EQ(split.log().size(), 1u);
}

TEST(SimFaults, AWebServerAnswersEveryLineWithItsRefusal)
{
    SimCamera cam;
    cam.faults().web = true;
    for (const char* line : {":AGN?\r", ":CAM?\r", "GET / HTTP/1.1\r"}) {
        const auto out = cam.receive(line);
        ASSERT_EQ(out.size(), 1u) << line;
        EXPECT_EQ(out[0].bytes.substr(0, 26), "HTTP/1.1 400 Bad Request\r\n") << line;
        EXPECT_NE(out[0].bytes.find("\r\nConnection: close\r\n"), std::string::npos) << line;
    }
    EXPECT_EQ(cam.log().size(), 3u);
}

TEST(SimFaults, HangupFollowsTheReplyToTheNthCommandOnce)
{
    SimCamera cam;
    cam.faults().hangupAfter = 2;
    cam.faults().replyDelayMs = 5;
    EXPECT_FALSE(cam.receive(":CAM?\r").at(0).hangup);
    auto out = cam.receive(":AGN?\r:ALV?\r");
    ASSERT_EQ(out.size(), 3u);
    EXPECT_FALSE(out[0].hangup);
    EXPECT_TRUE(out[1].hangup);
    EXPECT_GE(out[1].delayMs, out[0].delayMs);
    EXPECT_FALSE(out[2].hangup);
    EXPECT_FALSE(cam.receive(":AGN?\r").at(0).hangup);

    SimCamera silent;  // a camera that never answers still drops the link
    silent.faults().silent = true;
    silent.faults().hangupAfter = 1;
    out = silent.receive(":CAM?\r");
    ASSERT_EQ(out.size(), 1u);
    EXPECT_TRUE(out[0].hangup);
}
