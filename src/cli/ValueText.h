// The value argument of "iccdctl set": a whole number or a decimal number in
// the user unit of the command, and whether its count fits the camera.
#pragma once

#include <string>

struct CommCommand;

/// A whole number: an optional sign and decimal digits, nothing else, within
/// int.  On success value holds it; otherwise value is left alone.
bool ParseIntValue(const std::string& text, int& value);

/// A decimal number ([sign] digits [. digits] [exponent], at least one digit)
/// that a float can hold.  On success value holds it; otherwise value is left
/// alone.
bool ParseRealValue(const std::string& text, float& value);

/// True when a value parsed for command converts to a count the camera's
/// 32-bit register takes (intValue for whole-number commands, realValue for
/// the others).  Depends on the identified class for the pedestal and
/// white-clip rules.
bool SetValueFits(const CommCommand& command, int intValue, float realValue);
