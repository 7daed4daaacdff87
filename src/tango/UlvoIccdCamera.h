// The TANGO device of one camera: its settings as attributes, made from the
// settings table for the connected model, the identity texts, and the
// commands of the desktop program's menus.  Every request goes through the
// server's CameraLink, the one path to the port.
#pragma once

#include <tango.h>

#include <atomic>
#include <map>
#include <string>
#include <thread>
#include <vector>

#include "tango/SettingAttributes.h"

namespace iccdtango {

/// What the command line gave; the device properties of the same names
/// (Device, BaudRate, FactoryMode) take precedence.
struct ServerOptions {
    std::string device;
    int baud = 9600;
    bool factory = false;
};
ServerOptions& CommandLineOptions();

/// The identity texts, the read-only attributes.
enum class Identity { Model, FirmwareVersion, FpgaVersion, SerialNumber, CustomerId };

class UlvoIccdCamera : public TANGO_BASE_CLASS {
public:
    UlvoIccdCamera(Tango::DeviceClass* deviceClass, const char* name);
    ~UlvoIccdCamera() override;

    void init_device() override;
    void delete_device() override;
    Tango::DevState dev_state() override;
    Tango::ConstDevString dev_status() override;

    void readSetting(const AttributeInfo& info, Tango::Attribute& attribute);
    void writeSetting(const AttributeInfo& info, Tango::WAttribute& attribute);
    void readIdentity(Identity which, Tango::Attribute& attribute);

    void refresh();
    void recallUserSet(Tango::DevShort set);
    void storeUserSet(Tango::DevShort set);
    void saveSettingsFile(const std::string& path);
    std::string loadSettingsFile(const std::string& path);
    std::vector<std::string> compareWithFile(const std::string& path);

    // Factory mode only.
    void storeFactoryDefaults();
    void writeAfe(const std::vector<Tango::DevLong>& addressAndData);
    Tango::DevLong readFpga(Tango::DevLong address);
    Tango::DevLong writeFpga(const std::vector<Tango::DevLong>& addressAndValue);
    std::string raw(const std::string& line);

private:
    void readProperties();
    void addFactoryCommands();
    void removeFactoryCommands();
    void watch();
    void syncWithLink();
    void rebuildAttributes();
    void refreshValues();
    void store(const AttributeInfo& info, double value, bool push);
    void pushState();
    // Runs job on the link; a failed status raises DevFailed with what
    // came first and the failure's text.
    void runOrFail(const char* reason, const std::string& what, const std::function<int()>& job);

    ServerOptions options_;
    std::vector<AttributeInfo> infos_;
    std::map<std::string, Tango::DevDouble> reals_;
    std::map<std::string, Tango::DevLong> wholes_;
    std::map<std::string, bool> known_;  // a value was read since the attributes were made
    std::vector<Tango::Command*> factoryCommands_;
    Tango::DevString identity_ = nullptr;
    std::string status_;
    Tango::DevState pushedState_ = Tango::UNKNOWN;
    std::atomic<std::uint64_t> attributesGeneration_{0};
    std::atomic<bool> stop_{false};
    std::thread watcher_;
};

class UlvoIccdCameraClass : public Tango::DeviceClass {
public:
    static UlvoIccdCameraClass* init(const char* name);

protected:
    explicit UlvoIccdCameraClass(std::string& name);
    void command_factory() override;
    void attribute_factory(std::vector<Tango::Attr*>& attributes) override;
    void device_factory(const Tango::DevVarStringArray* devices) override;
};

/// The commands that exist only in factory mode, at the Expert display level.
std::vector<Tango::Command*> MakeFactoryCommands();

}  // namespace iccdtango
