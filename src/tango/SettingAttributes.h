// The device's attributes as the settings table describes them: one per
// setting of the connected camera's model, named by its mnemonic, with the
// panel's caption as label, the unit, the range the camera takes and a
// description.  Nothing here knows TANGO, so the table can be printed for
// the documentation and tested on its own.
#pragma once

#include <string>
#include <vector>

struct SettingInfo;

struct AttributeInfo {
    std::string name;  ///< the mnemonic, a blank made '_' ("RST_Neg")
    const SettingInfo* setting = nullptr;
    bool whole = false;     ///< a whole number (TANGO DevLong), else DevDouble
    bool writable = false;  ///< READ_WRITE, else READ
    std::string label;
    std::string unit;
    std::string description;
    std::string minimum;  ///< as TANGO takes min_value and max_value
    std::string maximum;
};

/// The attribute name of a setting.
std::string AttributeName(const SettingInfo& setting);

/// The registers of the AFE and the FPGA (address and data): the factory
/// commands reach them; they are no attributes.
bool IsFactoryRegister(const SettingInfo& setting);

/// The attributes of the connected camera, in mnemonic order.  Its ranges
/// are the camera's (Settings_CameraRange), widened to the values the ends'
/// counts read back as, so that a value read from the camera can always be
/// written back.  Runs in the link's thread.
std::vector<AttributeInfo> CameraAttributes();

/// The attribute table of every setting as a Markdown table (name, label,
/// unit, type, access, models) for the documentation.
std::string AttributeTableMarkdown();
