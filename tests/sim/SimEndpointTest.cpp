// Delivery of the simulated camera's replies on the event loop: order, delays,
// hang-ups, cancelling, and the wire time of a paced line.
#include <gtest/gtest.h>

#include <QElapsedTimer>
#include <vector>

#include "EventWait.h"
#include "sim/SimEndpoint.h"

namespace {

constexpr double kMs = 1e6;

class SimEndpointTest : public ::testing::Test {
protected:
    struct Chunk {
        qint64 atNs;
        QByteArray bytes;
    };

    void SetUp() override
    {
        clock.start();
        endpoint.setSink([this](const QByteArray& bytes) {
            received += bytes;
            chunks.push_back({clock.nsecsElapsed(), bytes});
        });
    }

    bool waitForBytes(int count, int timeoutMs = 2000)
    {
        return WaitUntil([&] { return received.size() >= count; }, timeoutMs);
    }

    sim::Faults& faults() { return endpoint.camera().faults(); }

    sim::SimEndpoint endpoint;
    QElapsedTimer clock;
    QByteArray received;
    std::vector<Chunk> chunks;
};

const QByteArray kCamReply = ":oVKC-475\r";

}  // namespace

TEST_F(SimEndpointTest, RepliesComeFromTheEventLoopInTheOrderOfCommandsSplitAnyhow)
{
    endpoint.feed(":CA");
    endpoint.feed("M?\r:AGN");
    endpoint.feed("=4\r:AG");
    endpoint.feed("N?\r");
    EXPECT_TRUE(received.isEmpty());  // never from feed
    const QByteArray expected = kCamReply + ":o\r" + ":oAGN 4\r";
    ASSERT_TRUE(waitForBytes(expected.size()));
    EXPECT_EQ(received, expected);
}

TEST_F(SimEndpointTest, ReplyDelayIsHonouredAndLateRepliesAreOvertaken)
{
    faults().replyDelayMs = 30;
    faults().late = {"AGN"};
    faults().lateDelayMs = 80;
    const qint64 start = clock.nsecsElapsed();
    endpoint.feed(":AGN?\r:CAM?\r");
    ASSERT_TRUE(waitForBytes(kCamReply.size() + 8));
    ASSERT_EQ(chunks.size(), 2u);
    EXPECT_EQ(chunks[0].bytes, kCamReply);
    EXPECT_GE(chunks[0].atNs - start, 30 * kMs);
    EXPECT_TRUE(chunks[1].bytes.startsWith(":oAGN"));
    EXPECT_GE(chunks[1].atNs - start, 80 * kMs);
}

TEST_F(SimEndpointTest, HangupIsSignalledAfterTheReplyIsDelivered)
{
    faults().hangupAfter = 1;
    QByteArray receivedAtHangup;
    int hangups = 0;
    endpoint.setHangupHandler([&] {
        ++hangups;
        receivedAtHangup = received;
    });
    endpoint.feed(":CAM?\r");
    EXPECT_EQ(hangups, 0);
    ASSERT_TRUE(WaitUntil([&] { return hangups > 0; }, 2000));
    EXPECT_EQ(receivedAtHangup, kCamReply);
    PumpFor(20);
    EXPECT_EQ(hangups, 1);
}

TEST_F(SimEndpointTest, CancelPendingDropsWhatWasNotDeliveredYet)
{
    faults().replyDelayMs = 20;
    endpoint.feed(":CAM?\r");
    endpoint.cancelPending();
    PumpFor(60);
    EXPECT_TRUE(received.isEmpty());

    endpoint.feed(":CAM?\r");  // the camera still answers what comes afterwards
    ASSERT_TRUE(waitForBytes(kCamReply.size()));
    EXPECT_EQ(received, kCamReply);
}

TEST_F(SimEndpointTest, SinkMayFeedOrCancelFromInsideADelivery)
{
    // Two replies due at the same moment: cancelling at the first drops the second.
    endpoint.setSink([this](const QByteArray& bytes) {
        received += bytes;
        endpoint.cancelPending();
    });
    endpoint.feed(":CAM?\r:CAM?\r");
    PumpFor(30);
    EXPECT_EQ(received, kCamReply);

    // A host that writes its next command as soon as a reply arrives.
    received.clear();
    int replies = 0;
    endpoint.setSink([&](const QByteArray& bytes) {
        received += bytes;
        if (bytes.endsWith('\r') && ++replies < 3) endpoint.feed(":AGN?\r");
    });
    endpoint.feed(":CAM?\r");
    ASSERT_TRUE(WaitUntil([&] { return replies == 3; }, 2000));
    EXPECT_EQ(received, kCamReply + ":oAGN 57\r:oAGN 57\r");
}

TEST_F(SimEndpointTest, ByteByByteRepliesArriveInSeparateChunks)
{
    faults().byteByByte = true;
    endpoint.feed(":CAM?\r");
    ASSERT_TRUE(waitForBytes(kCamReply.size()));
    EXPECT_EQ(received, kCamReply);
    EXPECT_EQ(chunks.size(), std::size_t(kCamReply.size()));
}

TEST_F(SimEndpointTest, PacedLineTakesTheWireTimeOfBothDirections)
{
    endpoint.setBaud(9600);
    const double byteMs = 10.0 / 9600 * 1000;
    const qint64 start = clock.nsecsElapsed();
    endpoint.feed(":CAM?\r:CAM?\r");  // 12 bytes in, two replies of 10 out
    ASSERT_TRUE(waitForBytes(2 * kCamReply.size()));
    EXPECT_EQ(received, kCamReply + kCamReply);

    // No byte is handed over before its time on the wire: the first reply
    // starts after the 6-byte command; the second must wait for the first.
    int delivered = 0;
    for (const Chunk& c : chunks) {
        delivered += c.bytes.size();
        const double earliestMs = (6 + delivered) * byteMs;
        EXPECT_GE(double(c.atNs - start), earliestMs * kMs - 1) << delivered << " bytes";
    }
    EXPECT_GE(double(chunks.back().atNs - start), (6 + 20) * byteMs * kMs);
}

TEST_F(SimEndpointTest, NoiseTricklesBetweenRepliesAtItsRate)
{
    faults().noiseRate = 100;
    faults().noiseByte = sim::NoiseByte::Letter;
    endpoint.updateNoise();
    ASSERT_TRUE(waitForBytes(20));
    // 20 bytes at 100 per second: 0.2 s.
    EXPECT_GT(clock.nsecsElapsed(), 180 * kMs);
    EXPECT_EQ(received, QByteArray(received.size(), 'x'));

    // A reply goes out whole, never with noise inside it.
    endpoint.feed(":CAM?\r");
    ASSERT_TRUE(WaitUntil([&] { return received.contains(kCamReply); }, 2000));

    faults().noiseByte = sim::NoiseByte::Nul;
    received.clear();
    ASSERT_TRUE(waitForBytes(5));
    EXPECT_EQ(received.left(5), QByteArray(5, '\0'));

    faults().noiseRate = 0;
    endpoint.updateNoise();
    received.clear();
    PumpFor(100);
    EXPECT_TRUE(received.isEmpty());
}
