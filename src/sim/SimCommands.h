// The camera's command catalogue as the simulator sees it: which mnemonics exist
// and what a query, a set or an action of each one does.
#pragma once

#include <optional>
#include <string_view>
#include <vector>

namespace sim {

enum class CommandKind {
    Int,            ///< integer register, query and set
    IntQueryOnly,   ///< integer register the host can only read (BCT, SSX, WXN ...)
    WindowX,        ///< ALC window corner x (ULX, LRX): must lie within WXN..WXX
    WindowY,        ///< ALC window corner y (ULY, LRY): must lie within WYN..WYX
    FpgaData,       ///< FPR: the FPGA register at the address in FPA
    AfeWrite,       ///< AFW: write the AFE register at the address in AFA
    Text,           ///< text register, query and set (CID)
    TextQueryOnly,  ///< text register the host can only read (VER, FPGA, SNO)
    SerialWrite,    ///< WSF: writes the text that SNO reports
    Model,          ///< CAM: query answers the name, set takes a model row
    LoadSet,        ///< LSTA=n
    StoreSet,       ///< WSTA=n
    StoreFactory,   ///< WFAC=0
    Action,         ///< AWB!, LDF!
};

/// Kind of a mnemonic (upper case, without colon), or nothing when unknown.
std::optional<CommandKind> FindCommand(std::string_view mnemonic);

/// Every mnemonic that holds an integer register in the camera's settings
/// (all Int, IntQueryOnly, WindowX and WindowY commands).
const std::vector<std::string_view>& IntegerRegisterNames();

}  // namespace sim
