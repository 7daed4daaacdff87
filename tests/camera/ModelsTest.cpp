// Model identification and finding the camera on a port.
#include <QString>
#include <cstring>
#include <string>
#include <vector>

#include "camera/Connect.h"
#include "camera/Globals.h"
#include "camera/Link.h"
#include "camera/Models.h"
#include "devices/SimPorts.h"
#include "platform/ComPortMap.h"
#include "sim/SimEndpoint.h"
#include "sim/SimModels.h"
#include "support/SimLink.h"

namespace {

std::vector<std::string> told;  // the unknown model names the operator was told
void Tell(const char* name)
{
    told.emplace_back(name);
}

// Whatever answered with a name the table lacks may be no camera of ours: it
// is shown as row zero, and the operator is told, not only shown a VK-400.
TEST(ModelTableTest, NamesNotInTheTableAreRowZeroAndReportedAndOwnRowsAreTheUsers)
{
    for (const char* name : {"vk-475", "VK-475 ", " VK-475", "", "VKC-4755", "LSC-375XXXX"})
        EXPECT_EQ(Comm_IdentifyModel(name), 0) << '"' << name << '"';
    told.clear();
    Comm_SetUnknownModelHook(&Tell);
    for (const char* name : {"VK-400", "LSC-375", "vk-475", "nnection: close"}) Comm_RecordModelName(name);
    Comm_SetUnknownModelHook(nullptr);
    EXPECT_EQ(told, (std::vector<std::string>{"vk-475", "nnection: close"}));
    EXPECT_EQ(g_cam_model_user_idx, 0);
    EXPECT_EQ(Comm_UnknownModelText("vk-475"), "Unknown camera model 'vk-475'; shown as VK-400");

    // The equivalent of an own row is the recorded user row.
    g_cam_model_user_idx = 6;
    EXPECT_EQ(Comm_FuncEquivalentModel(8), 4);
    EXPECT_EQ(Comm_FuncEquivalentModel(2), 6);  // only ever called with the user row itself
    g_cam_model_user_idx = 0;
}

class ModelLinkTest : public SimLinkTest {};

// The simulator keeps its own list of the models, written apart from the
// program's table: a model added to only one of them fails here.
TEST_F(ModelLinkTest, EverySimulatedModelIsIdentifiedAsItsOwnRowAndClass)
{
    ASSERT_EQ(kCamModelCount, sim::kModelCount);
    for (int row = 0; row < kCamModelCount; ++row) {
        SCOPED_TRACE(sim::kModelNames[row]);
        EXPECT_STREQ(g_cam_models[row], sim::kModelNames[row]);
        camera().setModel(row);
        ASSERT_EQ(Comm_QueryAndRecordModel(), COMM_OK);
        EXPECT_EQ(g_cam_model_user_idx, row);
        EXPECT_EQ(g_cam_model_idx, sim::TraitsOfModel(row).equivalentRow);
    }
}

// A model name longer than any the table holds is no answer to the model
// query: nothing is written, and the query ends unrecognised.
TEST_F(ModelLinkTest, OverlongModelReplyIsNoAnswer)
{
    camera().faults().silent = true;
    Comm_SetReplyTimeout(0.2);
    injectLater(20, ":oVKC-475-WITH-A-VERY-LONG-SUFFIX\r");  // after the send
    char name[kModelNameSize + 8];
    std::memset(name, '#', sizeof name);
    EXPECT_EQ(Comm_GetModel(name), COMM_UNRECOGNIZED);
    EXPECT_EQ(name[0], '#');
}

// A model name that is not in the table may be a damaged reply: it is asked
// again until two readings agree or a name of the table comes.  The camera is
// silent; the replies come 40 ms apart, each after the question it answers.
TEST_F(ModelLinkTest, AnUnknownModelNameIsTakenOnlyWhenTwoReadingsAgree)
{
    struct Case {
        std::vector<const char*> replies;
        int status;
        const char* name;
    };
    const Case cases[] = {
        {{"VKC-475"}, COMM_OK, "VKC-475"},
        {{"VKC-4#5", "VKC-475"}, COMM_OK, "VKC-475"},
        {{"VK-999", "VK-999"}, COMM_OK, "VK-999"},
        {{"VK-9#9", "VK-999", "VK-999"}, COMM_OK, "VK-999"},
        {{"VKC-4#5", "VKC-#75", "V#C-475"}, COMM_UNCONFIRMED, "untouched"},
    };
    camera().faults().silent = true;
    Comm_SetReplyTimeout(1.0);
    for (const Case& c : cases) {
        clearLog();
        for (std::size_t i = 0; i < c.replies.size(); ++i)
            injectLater(40 * static_cast<int>(i + 1), std::string(":o") + c.replies[i] + "\r");
        char name[kModelNameSize] = "untouched";
        EXPECT_EQ(Comm_AskModel(name), c.status) << c.replies.back();
        EXPECT_STREQ(name, c.name);
        EXPECT_EQ(sent().size(), c.replies.size()) << c.replies.back();
    }
    // What was taken last is what the camera is known by.
    EXPECT_STREQ(Comm_LastModelName(), "VK-999");
    EXPECT_FALSE(Comm_LastModelKnown());
}

// A camera that steadily names a model the table lacks is found, shown as the
// first row, and the operator is told.
TEST_F(ModelLinkTest, ACameraOfAnUnknownModelIsReported)
{
    told.clear();
    Comm_SetUnknownModelHook(&Tell);
    camera().faults().modelName = "VK-999";
    EXPECT_EQ(Comm_QueryAndRecordModel(), COMM_OK);
    Comm_SetUnknownModelHook(nullptr);
    EXPECT_EQ(told, (std::vector<std::string>{"VK-999"}));
    EXPECT_EQ(g_cam_model_user_idx, 0);
    EXPECT_EQ(sent(), (std::vector<std::string>{":CAM?", ":CAM?"}));
}

TEST_F(ModelLinkTest, SetModelSendsTheRowAFailedQueryKeepsTheRecordedModelAndVersionsAreTexts)
{
    EXPECT_EQ(Comm_SetModel(12), COMM_OK);
    EXPECT_EQ(sent().back(), ":CAM=12");
    EXPECT_EQ(camera().model(), 12);
    ASSERT_EQ(Comm_QueryAndRecordModel(), COMM_OK);
    camera().faults().refuse = {"CAM"};
    EXPECT_EQ(Comm_SetModel(3), COMM_NAK);
    EXPECT_EQ(Comm_QueryAndRecordModel(), COMM_NAK);
    EXPECT_EQ(g_cam_model_user_idx, 12);
    EXPECT_EQ(g_cam_model_idx, 5);

    camera().setText("VER", "V9.87");
    camera().setText("FPGA", "F1.02b");
    char fw[kVersionSize] = "", fpga[kVersionSize] = "";
    EXPECT_EQ((std::vector<int>{Comm_GetFWVer(fw), Comm_GetFPGAVer(fpga)}), std::vector<int>(2, COMM_OK));
    EXPECT_EQ(std::string(fw) + " " + fpga, "V9.87 F1.02b");
}

// Ports 1..8 each carry a simulated camera that refuses the model query,
// except the one given; the cameras' logs show which ports were asked.
class OpenCameraTest : public SimLinkTest {
protected:
    void SetUp() override {}

    void cameraOnlyOn(int answering, std::initializer_list<int> ports)
    {
        for (int port : ports) {
            SetComPortDevice(port, QStringLiteral("sim:VK-470"));
            if (port != answering) camera(port).faults().refuse = {"CAM"};
        }
    }
    int asked(int port) { return static_cast<int>(camera(port).log().size()); }
};

TEST_F(OpenCameraTest, PreferredPortIsTriedFirstThenOneToEight)
{
    cameraOnlyOn(5, {1, 2, 3, 4, 5, 6, 7, 8});
    EXPECT_EQ(OpenCamera(3, 9600, 1), 0);
    EXPECT_EQ(g_com_port, 5);
    EXPECT_EQ(asked(3), 2);  // preferred, then again in the scan
    for (int port : {1, 2, 4, 5}) EXPECT_EQ(asked(port), 1) << port;
    for (int port : {6, 7, 8}) EXPECT_EQ(asked(port), 0) << port;
    EXPECT_EQ(g_cam_model_user_idx, 4);
    int value = 0;
    EXPECT_EQ(Comm_GetIntVal(":ALV?\r", &value), COMM_OK);  // the found port stays open
}

TEST_F(OpenCameraTest, PortBeyondEightIsOnlyFoundWhenPreferred)
{
    cameraOnlyOn(12, {12});
    EXPECT_EQ(OpenCamera(12, 9600, 1), 0);
    EXPECT_EQ(g_com_port, 12);
    Comm_ClosePort(12);

    for (int port = 1; port <= 8; ++port) SetComPortDevice(port, QStringLiteral("/nonexistent/tty"));
    g_com_port = 3;
    EXPECT_EQ(OpenCamera(3, 9600, 1), 1);
    EXPECT_EQ(g_com_port, 0);
    EXPECT_EQ(asked(12), 1);  // only the earlier, preferred attempt
}

TEST_F(OpenCameraTest, WithoutScanOnlyThePreferredPortIsTried)
{
    cameraOnlyOn(2, {1, 2});
    EXPECT_EQ(OpenCamera(1, 9600, 0), 1);
    EXPECT_EQ(g_com_port, 0);
    EXPECT_EQ(asked(2), 0);
}

}  // namespace
