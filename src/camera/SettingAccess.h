// One setting of the connected camera, read or written by its entry in the
// settings table in its user unit, whichever commands carry it: a plain
// command of its own, or a part of a composite (a split-line percentage, a
// colour level of a half, a matrix coefficient, an ALC window corner, an AFE
// reset edge ...), which is read or sent together with the parts that share
// its commands.  A program that works setting by setting (the TANGO device
// server) reads and writes through here, so a composite is put together the
// way the panels and the settings files put it together.
#pragma once

#include <string>

struct SettingInfo;

/// Whether the setting can be read from the camera (the AFE data register,
/// say, can only be written).
bool Settings_Readable(const SettingInfo& setting);

/// Whether the setting can be sent to the camera.
bool Settings_Writable(const SettingInfo& setting);

/// Reads the setting in its user unit.  Returns the status of the failed
/// transaction, or COMM_OK with *value set; on failure *value is untouched.
/// A setting that cannot be read sends nothing and returns COMM_NAK.
int Settings_Read(const SettingInfo& setting, double* value);

/// Sends value (in the user unit; a whole-number setting takes it rounded)
/// to the camera.  A part of a composite first reads the parts it is sent
/// with; when that fails nothing is sent.  Returns the first failure, or
/// COMM_OK.  Check the value first with Settings_Refusal: nothing here
/// holds it against the range.
int Settings_Write(const SettingInfo& setting, double value);

/// Why the connected camera does not take value for the setting, or empty
/// when it does: "AGN 40 is out of range: Manual Gain takes 0 to 36 dB on
/// the VK-470", "CGR (Color Gain Red) is not a setting of the VK-470",
/// "SHS takes a whole number, not 2.5".  text is the value as the caller
/// was given it.
std::string Settings_Refusal(const SettingInfo& setting, double value, const std::string& text);
