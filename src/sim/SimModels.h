// Per-model facts of the simulated camera: the sensor's shutter range and ALC
// window limits, firmware texts, serial number, and the power-on settings.
#pragma once

#include <functional>
#include <map>
#include <string>

namespace sim {

struct ModelTraits {
    const char* name;
    int equivalentRow;       ///< the model whose behaviour this one shares (0..7)
    int ssx;                 ///< longest shutter speed in lines
    int wxn, wyn, wxx, wyx;  ///< ALC window limits
    int sac;                 ///< Cb (high byte) and Cr (low byte) saturation
    int rse;                 ///< AFE reset edges, positive edge x 256 + negative edge
    const char* ver;         ///< firmware version
    const char* fpga;        ///< FPGA version
    const char* sno;         ///< unit ID (6), date code (8), unit revision (2)
    const char* cid;         ///< customer ID
};

/// Traits of a model row; rows outside 0..12 give row 0.
const ModelTraits& TraitsOfModel(int row);

/// True for the colour models (equivalent rows 3 and 5).
bool IsColourModel(int row);

using IntRegisters = std::map<std::string, int, std::less<>>;
using TextRegisters = std::map<std::string, std::string, std::less<>>;

/// The settings a camera of this model holds at power-on: every integer register
/// of the command table and the texts VER, FPGA, SNO and CID.
void FillPowerOnSettings(int row, IntRegisters& ints, TextRegisters& texts);

/// Give the registers that follow from the sensor (SSX and the window limits)
/// the values of this model, and pull the window corners inside the new limits.
void ApplySensorTraits(int row, IntRegisters& ints);

}  // namespace sim
