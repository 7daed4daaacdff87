#include "tango/UlvoIccdCamera.h"

#include <cstdio>

#include "camera/CamTypes.h"
#include "camera/CommandSet.h"
#include "camera/Composite.h"
#include "camera/FailureText.h"
#include "camera/Globals.h"
#include "camera/Link.h"
#include "camera/LinkQueue.h"
#include "camera/Models.h"
#include "camera/SettingAccess.h"
#include "camera/SettingsTable.h"
#include "platform/TextFile.h"
#include "settingsfile/SettingsDiff.h"
#include "settingsfile/SettingsFile.h"
#include "tango/CameraLink.h"

namespace iccdtango {

namespace {

[[noreturn]] void fail(const char* reason, const std::string& description, const std::string& origin)
{
    Tango::Except::throw_exception(reason, description, "UlvoIccdCamera::" + origin);
}

Tango::DevState tangoState(LinkState state)
{
    switch (state) {
        case LinkState::Init:
            return Tango::INIT;
        case LinkState::On:
            return Tango::ON;
        case LinkState::Fault:
            return Tango::FAULT;
        case LinkState::Running:
            return Tango::RUNNING;
    }
    return Tango::UNKNOWN;
}

// A setting's dynamic attribute: reads and writes go to its device.
class SettingAttr : public Tango::Attr {
public:
    explicit SettingAttr(const AttributeInfo& info)
        : Tango::Attr(info.name.c_str(), info.whole ? Tango::DEV_LONG : Tango::DEV_DOUBLE,
                      info.writable ? Tango::READ_WRITE : Tango::READ),
          info_(info)
    {
        Tango::UserDefaultAttrProp properties;
        properties.set_label(info.label.c_str());
        properties.set_unit(info.unit.c_str());
        properties.set_description(info.description.c_str());
        // TANGO takes a range only when it spans more than one value; a
        // setting fixed on this model (the colour cameras meter on average
        // only) is held to its one value by the device's own check.
        if (info.minimum != info.maximum) {
            properties.set_min_value(info.minimum.c_str());
            properties.set_max_value(info.maximum.c_str());
        }
        if (!info.whole) properties.set_format("%.4f");
        set_default_properties(properties);
    }
    void read(Tango::DeviceImpl* device, Tango::Attribute& attribute) override
    {
        static_cast<UlvoIccdCamera*>(device)->readSetting(info_, attribute);
    }
    void write(Tango::DeviceImpl* device, Tango::WAttribute& attribute) override
    {
        static_cast<UlvoIccdCamera*>(device)->writeSetting(info_, attribute);
    }

private:
    AttributeInfo info_;
};

// What a settings-file operation tells its user, kept for the reply.
class CollectingUi final : public SettingsFileUi {
public:
    CollectingUi() { SetSettingsFileUi(this); }
    ~CollectingUi() override { SetSettingsFileUi(nullptr); }
    CollectingUi(const CollectingUi&) = delete;
    CollectingUi& operator=(const CollectingUi&) = delete;
    void progress(const char*) override {}
    void progressDone() override {}
    void error(const char*, const char* message) override { note(message); }
    bool confirm(const char* warning) override
    {
        note(std::string("Warning: ") + warning);
        return true;
    }
    void refresh() override {}
    const std::string& text() const { return text_; }

private:
    void note(const std::string& line)
    {
        if (!text_.empty()) text_ += "\n";
        text_ += line;
    }
    std::string text_;
};

std::string valueText(double value, bool whole)
{
    char text[40];
    std::snprintf(text, sizeof text, whole ? "%.0f" : "%g", value);
    return text;
}

}  // namespace

ServerOptions& CommandLineOptions()
{
    static ServerOptions options;
    return options;
}

UlvoIccdCamera::UlvoIccdCamera(Tango::DeviceClass* deviceClass, const char* name)
    : TANGO_BASE_CLASS(deviceClass, name)
{
    init_device();
}

UlvoIccdCamera::~UlvoIccdCamera()
{
    delete_device();
}

void UlvoIccdCamera::init_device()
{
    readProperties();
    if (options_.device.empty())
        fail("ICCD_NoDevice", "No camera device: set the device property Device or give --device",
             "init_device");
    // Factory mode sends and compares the camera ID string with a file.
    g_prog_type = options_.factory ? 1 : 0;
    if (options_.factory) addFactoryCommands();
    set_change_event("State", true, false);
    set_state(Tango::INIT);
    ServerLink().start(options_.device, options_.baud);
    stop_ = false;
    watcher_ = std::thread([this] { watch(); });
}

void UlvoIccdCamera::delete_device()
{
    stop_ = true;
    if (watcher_.joinable()) watcher_.join();
    removeFactoryCommands();
    Tango::string_free(identity_);
    identity_ = nullptr;
}

void UlvoIccdCamera::readProperties()
{
    options_ = CommandLineOptions();
    if (!Tango::Util::instance()->_UseDb) return;
    Tango::DbData properties;
    properties.push_back(Tango::DbDatum("Device"));
    properties.push_back(Tango::DbDatum("BaudRate"));
    properties.push_back(Tango::DbDatum("FactoryMode"));
    get_db_device()->get_property(properties);
    if (!properties[0].is_empty()) properties[0] >> options_.device;
    if (!properties[1].is_empty()) {
        Tango::DevLong baud = 0;
        properties[1] >> baud;
        if (baud <= 0) fail("ICCD_BadProperty", "BaudRate takes a positive number", "init_device");
        options_.baud = baud;
    }
    if (!properties[2].is_empty()) properties[2] >> options_.factory;
}

void UlvoIccdCamera::addFactoryCommands()
{
    factoryCommands_ = MakeFactoryCommands();
    for (Tango::Command* command : factoryCommands_) add_command(command, true);
}

void UlvoIccdCamera::removeFactoryCommands()
{
    for (Tango::Command* command : factoryCommands_) remove_command(command, true, false);
    factoryCommands_.clear();
}

// The link changes on its own (lost, found again, another model): the
// watcher brings the device along, holding the device as a request does.
void UlvoIccdCamera::watch()
{
    // TANGO's monitors know their owner as an omniORB thread.
    omni_thread::create_dummy();
    std::uint64_t seen = 0;
    while (!stop_) {
        const std::uint64_t now = ServerLink().waitForChange(seen, 200);
        if (now == seen || stop_) continue;
        // The device's own monitor, as TANGO takes it for each request.
        Tango::TangoMonitor& monitor = get_dev_monitor();
        try {
            monitor.get_monitor();
        } catch (const Tango::DevFailed&) {
            continue;  // a long request holds the device; try again once it is done
        }
        try {
            syncWithLink();
            seen = now;
        } catch (const Tango::DevFailed& e) {
            // Told again at the next change.
            Tango::Except::print_exception(e);
            seen = now;
        }
        monitor.rel_monitor();
    }
    omni_thread::release_dummy();
}

void UlvoIccdCamera::syncWithLink()
{
    if (ServerLink().modelGeneration() != attributesGeneration_) rebuildAttributes();
    pushState();
}

void UlvoIccdCamera::pushState()
{
    const Tango::DevState state = dev_state();
    set_state(state);
    set_status(ServerLink().status());
    if (state == pushedState_) return;
    pushedState_ = state;
    push_change_event("State");
}

Tango::DevState UlvoIccdCamera::dev_state()
{
    const LinkState link = ServerLink().state();
    // Connected, but the attributes of its model are still being made.
    if (link == LinkState::On && ServerLink().modelGeneration() != attributesGeneration_) return Tango::INIT;
    return tangoState(link);
}

Tango::ConstDevString UlvoIccdCamera::dev_status()
{
    status_ = ServerLink().status();
    return status_.c_str();
}

void UlvoIccdCamera::rebuildAttributes()
{
    std::uint64_t generation = 0;
    std::vector<AttributeInfo> infos;
    ServerLink().call([&] {
        generation = ServerLink().modelGeneration();
        infos = CameraAttributes();
    });
    for (const AttributeInfo& info : infos_) {
        std::string name = info.name;
        remove_attribute(name, false, false);
    }
    infos_ = infos;
    reals_.clear();
    wholes_.clear();
    known_.clear();
    for (const AttributeInfo& info : infos_) {
        add_attribute(new SettingAttr(info));
        set_change_event(info.name, true, false);
        if (info.whole) {
            wholes_[info.name] = 0;
        } else {
            reals_[info.name] = 0;
        }
    }
    attributesGeneration_ = generation;
}

void UlvoIccdCamera::store(const AttributeInfo& info, double value, bool push)
{
    bool changed = !known_[info.name];
    known_[info.name] = true;
    if (info.whole) {
        Tango::DevLong& kept = wholes_[info.name];
        changed = changed || kept != static_cast<Tango::DevLong>(value);
        kept = static_cast<Tango::DevLong>(value);
        if (push && changed) push_change_event(info.name, &kept);
    } else {
        Tango::DevDouble& kept = reals_[info.name];
        changed = changed || kept != value;
        kept = value;
        if (push && changed) push_change_event(info.name, &kept);
    }
}

void UlvoIccdCamera::readSetting(const AttributeInfo& info, Tango::Attribute& attribute)
{
    double value = 0;
    int status = COMM_OK;
    std::string failure;
    ServerLink().call([&] {
        if (!Settings_ModelHas(*info.setting, g_cam_model_idx)) {
            failure = Settings_Refusal(*info.setting, 0, "");
            status = COMM_NAK;
            return;
        }
        status = Settings_Read(*info.setting, &value);
        if (status != COMM_OK) failure = Comm_FailureText(status);
    });
    if (status != COMM_OK)
        fail("ICCD_ReadFailed", info.name + " (" + info.label + ") could not be read: " + failure,
             "read " + info.name);
    store(info, value, false);
    if (info.whole) {
        attribute.set_value(&wholes_[info.name]);
    } else {
        attribute.set_value(&reals_[info.name]);
    }
}

void UlvoIccdCamera::writeSetting(const AttributeInfo& info, Tango::WAttribute& attribute)
{
    double value = 0;
    if (info.whole) {
        Tango::DevLong v = 0;
        attribute.get_write_value(v);
        value = v;
    } else {
        Tango::DevDouble v = 0;
        attribute.get_write_value(v);
        value = v;
    }
    const std::string text = valueText(value, info.whole);
    const std::string what = info.name + " " + text;
    std::string refusal;
    std::string failure;
    int sent = COMM_OK;
    int readBack = COMM_OK;
    double held = 0;
    ServerLink().call([&] {
        refusal = Settings_Refusal(*info.setting, value, text);
        if (!refusal.empty()) return;
        CommOperation operation;  // the set and its read-back, one after the other
        sent = Settings_Write(*info.setting, value);
        if (sent != COMM_OK) {
            failure = Comm_FailureText(sent);
            return;
        }
        readBack = Settings_Read(*info.setting, &held);
        if (readBack != COMM_OK) failure = Comm_FailureText(readBack);
    });
    if (!refusal.empty()) fail("ICCD_OutOfRange", refusal, "write " + info.name);
    if (sent != COMM_OK) fail("ICCD_WriteFailed", what + " was not set: " + failure, "write " + info.name);
    if (readBack != COMM_OK)
        fail("ICCD_ReadBackFailed", what + " was sent, but reading it back failed: " + failure,
             "write " + info.name);
    store(info, held, true);
}

void UlvoIccdCamera::readIdentity(Identity which, Tango::Attribute& attribute)
{
    char text[kReplySize] = "";
    int status = COMM_OK;
    std::string failure;
    ServerLink().call([&] {
        switch (which) {
            case Identity::Model:
                // What the camera named when it was found; an unknown name finds no camera.
                if (g_com_port == 0 || Comm_LinkLost()) status = COMM_LINK_LOST;
                std::snprintf(text, sizeof text, "%s", g_cam_models[g_cam_model_user_idx]);
                break;
            case Identity::FirmwareVersion:
                status = Comm_GetFWVer(text, sizeof text);
                break;
            case Identity::FpgaVersion:
                status = Comm_GetFPGAVer(text, sizeof text);
                break;
            case Identity::SerialNumber:
                status = Comm_GetSNO(text);
                break;
            case Identity::CustomerId:
                status = Comm_GetCID(text);
                break;
        }
        if (status != COMM_OK) failure = Comm_FailureText(status);
    });
    if (status != COMM_OK)
        fail("ICCD_ReadFailed", attribute.get_name() + " could not be read: " + failure,
             "read " + attribute.get_name());
    Tango::string_free(identity_);
    identity_ = Tango::string_dup(text);
    attribute.set_value(&identity_);
}

void UlvoIccdCamera::runOrFail(const char* reason, const std::string& what, const std::function<int()>& job)
{
    int status = COMM_OK;
    std::string failure;
    ServerLink().call([&] {
        status = job();
        if (status != COMM_OK) failure = Comm_FailureText(status);
    });
    if (status != COMM_OK) fail(reason, what + ": " + failure, what);
}

void UlvoIccdCamera::refreshValues()
{
    syncWithLink();
    std::vector<std::pair<std::size_t, double>> read;
    ServerLink().call([&] {
        CommOperation operation;
        for (std::size_t i = 0; i < infos_.size(); ++i) {
            double value = 0;
            if (Settings_Read(*infos_[i].setting, &value) == COMM_OK) read.emplace_back(i, value);
        }
    });
    for (const auto& [i, value] : read) store(infos_[i], value, true);
    pushState();
}

void UlvoIccdCamera::refresh()
{
    bool lost = false;
    int status = COMM_OK;
    std::string failure;
    ServerLink().call([&] {
        if (Comm_LinkLost() || g_com_port == 0) {
            lost = !ServerLink().restoreNow();
            return;
        }
        status = ServerLink().reidentify();
        if (status != COMM_OK) failure = Comm_FailureText(status);
    });
    if (lost) fail("ICCD_LinkLost", ServerLink().status(), "Refresh");
    if (status != COMM_OK) fail("ICCD_NoCamera", "No camera found: " + failure, "Refresh");
    refreshValues();
}

void UlvoIccdCamera::recallUserSet(Tango::DevShort set)
{
    if (set < 0 || set > 2)
        fail("ICCD_BadArgument", "RecallUserSet takes 0 (factory defaults), 1 or 2", "RecallUserSet");
    runOrFail("ICCD_CommandFailed", "Error on Load Set", [set] {
        const int status = Comm_LoadSet(set);
        // A set may hold another model.
        return status == COMM_OK ? ServerLink().reidentify() : status;
    });
    refreshValues();
}

void UlvoIccdCamera::storeUserSet(Tango::DevShort set)
{
    if (set < 1 || set > 2)
        fail("ICCD_BadArgument", "StoreUserSet takes 1 or 2 (FactoryDefaults stores set 0 in factory mode)",
             "StoreUserSet");
    runOrFail("ICCD_CommandFailed", "Error on Save Set", [set] { return Comm_SaveSet(set); });
}

void UlvoIccdCamera::saveSettingsFile(const std::string& path)
{
    std::string messages;
    int result = 0;
    ServerLink().call([&] {
        const CollectingUi ui;
        result = SaveSettingsFile(path.c_str(), "");
        messages = ui.text();
    });
    if (result != 0)
        fail("ICCD_SaveFailed",
             messages.empty() ? "The settings file " + path + " was not written" : messages,
             "SaveSettingsFile");
}

std::string UlvoIccdCamera::loadSettingsFile(const std::string& path)
{
    int handle = 0;
    ServerLink().call([&] {
        handle = RT_OpenFile(path.c_str(), RT_READ);
        if (handle > 0) ServerLink().setLoading(path, true);
    });
    if (handle <= 0) fail("ICCD_LoadFailed", SettingsFileOpenFailure(path.c_str()), "LoadSettingsFile");
    pushState();
    SettingsLoadResult result;
    std::string messages;
    ServerLink().call([&] {
        const CollectingUi ui;
        result = LoadSettingsFile(handle);
        messages = ui.text();
        ServerLink().setLoading(path, false);
    });
    refreshValues();
    std::string summary = "read failures: " + std::to_string(result.readFailures);
    if (!result.readAborted) summary += "\nsend failures: " + std::to_string(result.sendFailures);
    if (const std::string failures = LoadFailureSummary(result); !failures.empty())
        summary += "\n" + failures;
    if (!messages.empty()) summary += "\n" + messages;
    while (!summary.empty() && summary.back() == '\n') summary.pop_back();
    if (result.failed()) fail("ICCD_LoadFailed", summary, "LoadSettingsFile");
    return summary;
}

std::vector<std::string> UlvoIccdCamera::compareWithFile(const std::string& path)
{
    SettingsComparison comparison;
    ServerLink().call([&] { comparison = CompareCameraWithFile(path.c_str()); });
    if (comparison.outcome != SettingsComparison::Outcome::Compared)
        fail("ICCD_CompareFailed", comparison.reason, "CompareWithFile");
    std::vector<std::string> lines;
    for (const SettingsDifference& d : comparison.differences)
        lines.push_back(d.name + ": file " + d.fileValue + ", camera " + d.cameraValue);
    return lines;
}

void UlvoIccdCamera::storeFactoryDefaults()
{
    runOrFail("ICCD_CommandFailed", "Error on Save Set", [] { return Comm_SaveSet(0); });
}

namespace {

// A register address or value checked against its setting's range.
void checkRegister(const char* mnemonic, Tango::DevLong value, const char* command)
{
    std::string refusal;
    ServerLink().call(
        [&] { refusal = Settings_Refusal(*Settings_Find(mnemonic), value, std::to_string(value)); });
    if (!refusal.empty()) fail("ICCD_OutOfRange", refusal, command);
}

void checkPair(const std::vector<Tango::DevLong>& pair, const char* command)
{
    if (pair.size() != 2) fail("ICCD_BadArgument", std::string(command) + " takes two numbers", command);
}

}  // namespace

void UlvoIccdCamera::writeAfe(const std::vector<Tango::DevLong>& addressAndData)
{
    checkPair(addressAndData, "WriteAfe");
    checkRegister("AFA", addressAndData[0], "WriteAfe");
    checkRegister("AFW", addressAndData[1], "WriteAfe");
    runOrFail("ICCD_CommandFailed", "AFE register " + std::to_string(addressAndData[0]) + " was not written",
              [&] { return Comm_Write_AFE(addressAndData[0], addressAndData[1]); });
}

Tango::DevLong UlvoIccdCamera::readFpga(Tango::DevLong address)
{
    checkRegister("FPA", address, "ReadFpga");
    int value = 0;
    runOrFail("ICCD_CommandFailed", "FPGA register " + std::to_string(address) + " was not read", [&] {
        CommOperation operation;
        const int status = Comm_SetFPA(address);
        return status == COMM_OK ? Comm_GetFPR(&value) : status;
    });
    return value;
}

Tango::DevLong UlvoIccdCamera::writeFpga(const std::vector<Tango::DevLong>& addressAndValue)
{
    checkPair(addressAndValue, "WriteFpga");
    checkRegister("FPA", addressAndValue[0], "WriteFpga");
    checkRegister("FPR", addressAndValue[1], "WriteFpga");
    int held = 0;
    runOrFail("ICCD_CommandFailed",
              "FPGA register " + std::to_string(addressAndValue[0]) + " was not written", [&] {
                  CommOperation operation;
                  int status = Comm_SetFPA(addressAndValue[0]);
                  if (status == COMM_OK) status = Comm_SetFPR(addressAndValue[1]);
                  return status == COMM_OK ? Comm_GetFPR(&held) : status;
              });
    return held;
}

std::string UlvoIccdCamera::raw(const std::string& line)
{
    // One line, one command: a CR or another control character inside it
    // would send a second one.
    for (const char c : line)
        if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F)
            fail("ICCD_BadArgument", "Raw takes one command line without control characters", "Raw");
    if (line.empty() || line.size() > 200)
        fail("ICCD_BadArgument", "Raw takes a command of 1 to 200 characters", "Raw");
    char reply[kReplySize] = "";
    runOrFail("ICCD_CommandFailed", line, [&] { return Comm_Raw((line + "\r").c_str(), reply); });
    return reply;
}

}  // namespace iccdtango
