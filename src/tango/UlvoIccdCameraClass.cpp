// The device class: its commands, the identity attributes and the device
// factory.  The settings' attributes are made per device, for its model.
#include <functional>

#include "tango/UlvoIccdCamera.h"

namespace iccdtango {

namespace {

using Run = std::function<CORBA::Any*(Tango::Command&, UlvoIccdCamera&, const CORBA::Any&)>;

// One command: its types, descriptions and display level, and what it does.
class CameraCommand : public Tango::Command {
public:
    CameraCommand(const char* name, Tango::CmdArgType in, Tango::CmdArgType out, const char* inText,
                  const char* outText, Tango::DispLevel level, Run run)
        : Tango::Command(name, in, out, inText, outText, level), run_(std::move(run))
    {
    }
    CORBA::Any* execute(Tango::DeviceImpl* device, const CORBA::Any& in) override
    {
        return run_(*this, *static_cast<UlvoIccdCamera*>(device), in);
    }

private:
    Run run_;
};

Tango::Command* voidCommand(const char* name, const char* text, Tango::DispLevel level,
                            void (UlvoIccdCamera::*method)())
{
    return new CameraCommand(name, Tango::DEV_VOID, Tango::DEV_VOID, "", text, level,
                             [method](Tango::Command& command, UlvoIccdCamera& device, const CORBA::Any&) {
                                 (device.*method)();
                                 return command.insert();
                             });
}

template <typename In>
In extracted(Tango::Command& command, const CORBA::Any& in)
{
    In value{};
    command.extract(in, value);
    return value;
}

std::string extractedText(Tango::Command& command, const CORBA::Any& in)
{
    Tango::ConstDevString text = nullptr;
    command.extract(in, text);
    return text ? text : "";
}

std::vector<Tango::DevLong> extractedLongs(Tango::Command& command, const CORBA::Any& in)
{
    const Tango::DevVarLongArray* array = nullptr;
    command.extract(in, array);
    std::vector<Tango::DevLong> values;
    for (CORBA::ULong i = 0; array && i < array->length(); ++i) values.push_back((*array)[i]);
    return values;
}

CORBA::Any* insertedText(Tango::Command& command, const std::string& text)
{
    return command.insert(Tango::string_dup(text.c_str()));
}

// The identity texts, read from the camera (the model as it was found).
class IdentityAttr : public Tango::Attr {
public:
    IdentityAttr(const char* name, Identity which, const char* label, const char* description)
        : Tango::Attr(name, Tango::DEV_STRING, Tango::READ), which_(which)
    {
        Tango::UserDefaultAttrProp properties;
        properties.set_label(label);
        properties.set_description(description);
        set_default_properties(properties);
    }
    void read(Tango::DeviceImpl* device, Tango::Attribute& attribute) override
    {
        static_cast<UlvoIccdCamera*>(device)->readIdentity(which_, attribute);
    }

private:
    Identity which_;
};

}  // namespace

std::vector<Tango::Command*> MakeFactoryCommands()
{
    const Tango::DispLevel expert = Tango::EXPERT;
    return {
        voidCommand("FactoryDefaults", "Stores the camera's live settings as its factory defaults (set 0)",
                    expert, &UlvoIccdCamera::storeFactoryDefaults),
        new CameraCommand("WriteAfe", Tango::DEVVAR_LONGARRAY, Tango::DEV_VOID, "[address, data]", "", expert,
                          [](Tango::Command& c, UlvoIccdCamera& d, const CORBA::Any& in) {
                              d.writeAfe(extractedLongs(c, in));
                              return c.insert();
                          }),
        new CameraCommand("ReadFpga", Tango::DEV_LONG, Tango::DEV_LONG, "register address",
                          "the register's value", expert,
                          [](Tango::Command& c, UlvoIccdCamera& d, const CORBA::Any& in) {
                              return c.insert(d.readFpga(extracted<Tango::DevLong>(c, in)));
                          }),
        new CameraCommand("WriteFpga", Tango::DEVVAR_LONGARRAY, Tango::DEV_LONG, "[address, value]",
                          "the register's value read back", expert,
                          [](Tango::Command& c, UlvoIccdCamera& d, const CORBA::Any& in) {
                              return c.insert(d.writeFpga(extractedLongs(c, in)));
                          }),
        new CameraCommand("Raw", Tango::DEV_STRING, Tango::DEV_STRING, "one command line, without CR",
                          "the reply's data", expert,
                          [](Tango::Command& c, UlvoIccdCamera& d, const CORBA::Any& in) {
                              return insertedText(c, d.raw(extractedText(c, in)));
                          }),
    };
}

UlvoIccdCameraClass* UlvoIccdCameraClass::init(const char* name)
{
    static UlvoIccdCameraClass* instance = nullptr;
    if (!instance) {
        std::string text = name;
        instance = new UlvoIccdCameraClass(text);
    }
    return instance;
}

UlvoIccdCameraClass::UlvoIccdCameraClass(std::string& name) : Tango::DeviceClass(name) {}

void UlvoIccdCameraClass::command_factory()
{
    const Tango::DispLevel op = Tango::OPERATOR;
    command_list.push_back(voidCommand("Refresh", "Asks the camera its model and reads every setting again",
                                       op, &UlvoIccdCamera::refresh));
    command_list.push_back(new CameraCommand("RecallUserSet", Tango::DEV_SHORT, Tango::DEV_VOID,
                                             "0 factory defaults, 1 or 2", "", op,
                                             [](Tango::Command& c, UlvoIccdCamera& d, const CORBA::Any& in) {
                                                 d.recallUserSet(extracted<Tango::DevShort>(c, in));
                                                 return c.insert();
                                             }));
    command_list.push_back(new CameraCommand("StoreUserSet", Tango::DEV_SHORT, Tango::DEV_VOID,
                                             "user set 1 or 2", "", op,
                                             [](Tango::Command& c, UlvoIccdCamera& d, const CORBA::Any& in) {
                                                 d.storeUserSet(extracted<Tango::DevShort>(c, in));
                                                 return c.insert();
                                             }));
    command_list.push_back(new CameraCommand("SaveSettingsFile", Tango::DEV_STRING, Tango::DEV_VOID,
                                             "path of the file on the server's machine", "", op,
                                             [](Tango::Command& c, UlvoIccdCamera& d, const CORBA::Any& in) {
                                                 d.saveSettingsFile(extractedText(c, in));
                                                 return c.insert();
                                             }));
    command_list.push_back(new CameraCommand(
        "LoadSettingsFile", Tango::DEV_STRING, Tango::DEV_STRING, "path of the file on the server's machine",
        "the summary: read and send failures, each failed line and step", op,
        [](Tango::Command& c, UlvoIccdCamera& d, const CORBA::Any& in) {
            return insertedText(c, d.loadSettingsFile(extractedText(c, in)));
        }));
    command_list.push_back(new CameraCommand(
        "CompareWithFile", Tango::DEV_STRING, Tango::DEVVAR_STRINGARRAY,
        "path of the file on the server's machine", "each setting that differs: 'NAME: file X, camera Y'", op,
        [](Tango::Command& c, UlvoIccdCamera& d, const CORBA::Any& in) {
            const std::vector<std::string> lines = d.compareWithFile(extractedText(c, in));
            auto* array = new Tango::DevVarStringArray();
            array->length(static_cast<CORBA::ULong>(lines.size()));
            for (CORBA::ULong i = 0; i < lines.size(); ++i) (*array)[i] = Tango::string_dup(lines[i].c_str());
            return c.insert(array);
        }));
}

void UlvoIccdCameraClass::attribute_factory(std::vector<Tango::Attr*>& attributes)
{
    attributes.push_back(
        new IdentityAttr("Model", Identity::Model, "Model", "The camera's model, as it named it"));
    attributes.push_back(new IdentityAttr("FirmwareVersion", Identity::FirmwareVersion, "Firmware Version",
                                          "The camera's firmware version (VER)"));
    attributes.push_back(new IdentityAttr("FpgaVersion", Identity::FpgaVersion, "FPGA Version",
                                          "The camera's FPGA version (FPGA)"));
    attributes.push_back(new IdentityAttr("SerialNumber", Identity::SerialNumber, "Camera ID",
                                          "The camera ID string: unit ID, date code, revision (SNO)"));
    attributes.push_back(
        new IdentityAttr("CustomerId", Identity::CustomerId, "Customer ID", "The customer's ID text (CID)"));
}

void UlvoIccdCameraClass::device_factory(const Tango::DevVarStringArray* devices)
{
    // One camera link per process: a second device would share its port.
    if (devices->length() != 1)
        Tango::Except::throw_exception(
            "ICCD_OneDevice", "iccd-tango serves one camera: give it one device name", "device_factory");
    auto* device = new UlvoIccdCamera(this, (*devices)[0]);
    device_list.push_back(device);
    if (Tango::Util::_UseDb && !Tango::Util::_FileDb) {
        export_device(device);
    } else {
        export_device(device, device->get_name().c_str());
    }
}

}  // namespace iccdtango
