// The camera's command table: every mnemonic that carries one value, with
// the kind of value the program works with, the directions the camera offers,
// the conversion rule and the exact lines that go out.  The named functions
// (CommandSet.h), the composite commands (Composite.h), the lookup by
// mnemonic and the reply grammar all read these rows, so a mnemonic, its
// query line and its set prefix are written here and nowhere else.
#pragma once

#include <cstddef>
#include <span>
#include <string_view>

#include "camera/Conversions.h"

enum class CommValueKind {
    Int,   ///< int: the count, or whole degrees for the angle
    Real,  ///< float in the user unit of the rule
    Text,  ///< identifier and version texts
};

inline constexpr int kCommQuery = 1;  ///< the camera answers "MN?"
inline constexpr int kCommSet = 2;    ///< the camera takes "MN=value"

struct CommCommand {
    const char* mnemonic;  ///< upper case, without colon
    CommValueKind kind;
    int access;          ///< kCommQuery | kCommSet
    CommRule rule;       ///< Count for texts
    bool piece;          ///< one piece of a composite setting: the value is the raw count
    const char* query;   ///< whole query line with CR; nullptr when not queryable
    const char* prefix;  ///< set prefix (":MN="); nullptr when not settable
};

namespace commrows {

using enum CommValueKind;
using enum CommRule;
inline constexpr int QS = kCommQuery | kCommSet;
inline constexpr int Q = kCommQuery;
inline constexpr int S = kCommSet;
// Pieces (the split-screen line, the ALC window, the colour matrix ...) get
// no named functions of their own; Composite.h puts them together.
inline constexpr bool kOwn = false;
inline constexpr bool kPiece = true;

// The order is the order of iccdctl list and of every walk over the table.
// The camera ID string is read as SNO and written as WSF; SNO takes both
// directions so that it can be set by the name it is read by.
// clang-format off
inline constexpr CommCommand kRows[] = {
    {"AEC", Int, QS, Count, kOwn, ":AEC?\r", ":AEC="},
    {"AFA", Int, QS, Count, kOwn, ":AFA?\r", ":AFA="},
    {"AFW", Int, S, Count, kOwn, nullptr, ":AFW="},
    {"AGN", Real, QS, Db, kOwn, ":AGN?\r", ":AGN="},
    {"ALM", Int, QS, Count, kOwn, ":ALM?\r", ":ALM="},
    {"ALV", Int, QS, Count, kOwn, ":ALV?\r", ":ALV="},
    {"AMD", Int, QS, Count, kOwn, ":AMD?\r", ":AMD="},
    {"AMGO", Int, QS, Count, kOwn, ":AMGO?\r", ":AMGO="},
    {"AMGS", Int, QS, Count, kOwn, ":AMGS?\r", ":AMGS="},
    {"AMX", Real, QS, Db, kOwn, ":AMX?\r", ":AMX="},
    {"AWW", Int, QS, Count, kOwn, ":AWW?\r", ":AWW="},
    {"BCT", Int, Q, Count, kOwn, ":BCT?\r", nullptr},
    {"BIN", Int, QS, Count, kOwn, ":BIN?\r", ":BIN="},
    {"BTH", Real, QS, TenthPercent, kOwn, ":BTH?\r", ":BTH="},
    {"BTS", Int, QS, Count, kOwn, ":BTS?\r", ":BTS="},
    {"CBH", Real, QS, Hue, kOwn, ":CBH?\r", ":CBH="},
    {"CD1", Int, QS, Count, kPiece, ":CD1?\r", ":CD1="},
    {"CD2", Int, QS, Count, kPiece, ":CD2?\r", ":CD2="},
    {"CD3", Int, QS, Count, kPiece, ":CD3?\r", ":CD3="},
    {"CD4", Int, QS, Count, kPiece, ":CD4?\r", ":CD4="},
    {"CDI", Int, QS, Count, kOwn, ":CDI?\r", ":CDI="},
    {"CFA", Int, QS, Count, kOwn, ":CFA?\r", ":CFA="},
    {"CFG", Real, QS, Factor1To2, kOwn, ":CFG?\r", ":CFG="},
    {"CFT", Int, QS, Count, kOwn, ":CFT?\r", ":CFT="},
    {"CGB", Real, QS, ColourGain, kOwn, ":CGB?\r", ":CGB="},
    {"CGG", Real, QS, ColourGain, kOwn, ":CGG?\r", ":CGG="},
    {"CGR", Real, QS, ColourGain, kOwn, ":CGR?\r", ":CGR="},
    {"CMD", Int, QS, Count, kOwn, ":CMD?\r", ":CMD="},
    {"CRH", Real, QS, Hue, kOwn, ":CRH?\r", ":CRH="},
    {"DFC", Int, QS, Count, kOwn, ":DFC?\r", ":DFC="},
    {"DKS", Int, QS, Count, kOwn, ":DKS?\r", ":DKS="},
    {"DOU", Int, QS, Count, kOwn, ":DOU?\r", ":DOU="},
    {"ESH", Int, QS, Count, kOwn, ":ESH?\r", ":ESH="},
    {"FMX", Int, QS, Count, kOwn, ":FMX?\r", ":FMX="},
    {"FOC", Real, QS, LensVolts, kOwn, ":FOC?\r", ":FOC="},
    {"FOCO", Int, QS, Count, kOwn, ":FOCO?\r", ":FOCO="},
    {"FOCS", Int, QS, Count, kOwn, ":FOCS?\r", ":FOCS="},
    {"FPA", Int, QS, Count, kOwn, ":FPA?\r", ":FPA="},
    {"FPR", Int, QS, Count, kOwn, ":FPR?\r", ":FPR="},
    {"GAM", Int, QS, Count, kOwn, ":GAM?\r", ":GAM="},
    {"GSL", Int, QS, Count, kOwn, ":GSL?\r", ":GSL="},
    {"HSL", Int, QS, Count, kPiece, ":HSL?\r", ":HSL="},
    {"HSM", Int, QS, Count, kPiece, ":HSM?\r", ":HSM="},
    {"HSR", Int, QS, Count, kPiece, ":HSR?\r", ":HSR="},
    {"HUE", Real, QS, PercentOf255, kOwn, ":HUE?\r", ":HUE="},
    {"HWR", Int, Q, Count, kOwn, ":HWR?\r", nullptr},
    {"IFC", Int, QS, Count, kOwn, ":IFC?\r", ":IFC="},
    {"IPH", Int, QS, Count, kOwn, ":IPH?\r", ":IPH="},
    {"IRC", Real, QS, LensVolts, kOwn, ":IRC?\r", ":IRC="},
    {"IRCO", Int, QS, Count, kOwn, ":IRCO?\r", ":IRCO="},
    {"IRCS", Int, QS, Count, kOwn, ":IRCS?\r", ":IRCS="},
    {"KB1", Real, QS, Matrix, kPiece, ":KB1?\r", ":KB1="},
    {"KB2", Real, QS, Matrix, kPiece, ":KB2?\r", ":KB2="},
    {"KB3", Real, QS, Matrix, kPiece, ":KB3?\r", ":KB3="},
    {"KG1", Real, QS, Matrix, kPiece, ":KG1?\r", ":KG1="},
    {"KG2", Real, QS, Matrix, kPiece, ":KG2?\r", ":KG2="},
    {"KG3", Real, QS, Matrix, kPiece, ":KG3?\r", ":KG3="},
    {"KR1", Real, QS, Matrix, kPiece, ":KR1?\r", ":KR1="},
    {"KR2", Real, QS, Matrix, kPiece, ":KR2?\r", ":KR2="},
    {"KR3", Real, QS, Matrix, kPiece, ":KR3?\r", ":KR3="},
    {"LAW", Int, QS, Count, kOwn, ":LAW?\r", ":LAW="},
    {"LRX", Int, QS, Count, kPiece, ":LRX?\r", ":LRX="},
    {"LRY", Int, QS, Count, kPiece, ":LRY?\r", ":LRY="},
    {"MFI", Int, QS, Count, kOwn, ":MFI?\r", ":MFI="},
    {"MFT", Int, QS, Count, kOwn, ":MFT?\r", ":MFT="},
    {"MGF", Int, QS, Count, kOwn, ":MGF?\r", ":MGF="},
    {"MIR", Int, QS, Count, kOwn, ":MIR?\r", ":MIR="},
    {"MMGO", Int, QS, Count, kOwn, ":MMGO?\r", ":MMGO="},
    {"MMGS", Int, QS, Count, kOwn, ":MMGS?\r", ":MMGS="},
    {"RSE", Int, QS, Count, kPiece, ":RSE?\r", ":RSE="},
    {"RST", Int, QS, Count, kOwn, ":RST?\r", ":RST="},
    {"SAC", Int, QS, Count, kPiece, ":SAC?\r", ":SAC="},
    {"SB1", Int, QS, Count, kOwn, ":SB1?\r", ":SB1="},
    {"SB2", Int, QS, Count, kOwn, ":SB2?\r", ":SB2="},
    {"SEN", Int, QS, Count, kOwn, ":SEN?\r", ":SEN="},
    {"SHA", Int, QS, Count, kOwn, ":SHA?\r", ":SHA="},
    {"SHD", Int, QS, Count, kOwn, ":SHD?\r", ":SHD="},
    {"SHE", Int, QS, Count, kOwn, ":SHE?\r", ":SHE="},
    {"SHG", Real, QS, Factor1To2, kOwn, ":SHG?\r", ":SHG="},
    {"SHP", Int, QS, Count, kOwn, ":SHP?\r", ":SHP="},
    {"SHS", Int, QS, Count, kOwn, ":SHS?\r", ":SHS="},
    {"SHT", Int, QS, Count, kOwn, ":SHT?\r", ":SHT="},
    {"SLB", Int, QS, Count, kPiece, ":SLB?\r", ":SLB="},
    {"SLG", Int, QS, Count, kPiece, ":SLG?\r", ":SLG="},
    {"SLR", Int, QS, Count, kPiece, ":SLR?\r", ":SLR="},
    {"SLT", Int, QS, Count, kPiece, ":SLT?\r", ":SLT="},
    {"SMX", Int, QS, Count, kOwn, ":SMX?\r", ":SMX="},
    {"SRB", Int, QS, Count, kPiece, ":SRB?\r", ":SRB="},
    {"SRG", Int, QS, Count, kPiece, ":SRG?\r", ":SRG="},
    {"SRR", Int, QS, Count, kPiece, ":SRR?\r", ":SRR="},
    {"SRT", Int, QS, Count, kPiece, ":SRT?\r", ":SRT="},
    {"SSA", Int, QS, Angle, kPiece, ":SSA?\r", ":SSA="},
    {"SSE", Int, QS, Count, kOwn, ":SSE?\r", ":SSE="},
    {"SSX", Int, Q, Count, kOwn, ":SSX?\r", nullptr},
    {"TMD", Int, QS, Count, kOwn, ":TMD?\r", ":TMD="},
    {"ULX", Int, QS, Count, kPiece, ":ULX?\r", ":ULX="},
    {"ULY", Int, QS, Count, kPiece, ":ULY?\r", ":ULY="},
    {"USA", Real, QS, PercentOf63, kOwn, ":USA?\r", ":USA="},
    {"VMD", Int, QS, Count, kOwn, ":VMD?\r", ":VMD="},
    {"VPD", Real, QS, Pedestal, kOwn, ":VPD?\r", ":VPD="},
    {"VPS", Int, QS, Count, kOwn, ":VPS?\r", ":VPS="},
    {"VSA", Real, QS, PercentOf63, kOwn, ":VSA?\r", ":VSA="},
    {"VWC", Real, QS, WhiteClip, kOwn, ":VWC?\r", ":VWC="},
    {"WBM", Int, QS, Count, kOwn, ":WBM?\r", ":WBM="},
    {"WDS", Int, QS, Count, kOwn, ":WDS?\r", ":WDS="},
    {"WXN", Int, Q, Count, kOwn, ":WXN?\r", nullptr},
    {"WXX", Int, Q, Count, kOwn, ":WXX?\r", nullptr},
    {"WYN", Int, Q, Count, kOwn, ":WYN?\r", nullptr},
    {"WYX", Int, Q, Count, kOwn, ":WYX?\r", nullptr},
    {"YGA", Real, QS, PercentOf63, kOwn, ":YGA?\r", ":YGA="},
    {"ZMC", Real, QS, LensVolts, kOwn, ":ZMC?\r", ":ZMC="},
    {"ZMCO", Int, QS, Count, kOwn, ":ZMCO?\r", ":ZMCO="},
    {"ZMCS", Int, QS, Count, kOwn, ":ZMCS?\r", ":ZMCS="},
    {"CID", Text, QS, Count, kOwn, ":CID?\r", ":CID="},
    {"SNO", Text, QS, Count, kOwn, ":SNO?\r", ":WSF="},
    {"WSF", Text, S, Count, kOwn, nullptr, ":WSF="},
    {"VER", Text, Q, Count, kOwn, ":VER?\r", nullptr},
    {"FPGA", Text, Q, Count, kOwn, ":FPGA?\r", nullptr},
};
// clang-format on

// A line spelled by hand could name another mnemonic than its row, and a
// mnemonic listed twice would hide its second row from the lookup.
consteval bool LineOf(const char* line, std::string_view mnemonic, std::string_view tail)
{
    const std::string_view l = line;
    return l.size() == 1 + mnemonic.size() + tail.size() && l.front() == ':' &&
           l.substr(1, mnemonic.size()) == mnemonic && l.substr(1 + mnemonic.size()) == tail;
}

consteval bool RowsAgree()
{
    for (const CommCommand& row : kRows) {
        const std::string_view m = row.mnemonic;
        if ((row.query != nullptr) != ((row.access & Q) != 0)) return false;
        if ((row.prefix != nullptr) != ((row.access & S) != 0)) return false;
        if (row.query && !LineOf(row.query, m, "?\r")) return false;
        if (row.prefix && !LineOf(row.prefix, m == "SNO" ? "WSF" : m, "=")) return false;
        int same = 0;
        for (const CommCommand& other : kRows) same += m == other.mnemonic;
        if (same != 1) return false;
    }
    return true;
}
static_assert(RowsAgree());

}  // namespace commrows

/// The row of a mnemonic spelled exactly as in the table, found while
/// compiling: a name without a row does not compile.
consteval const CommCommand& Comm_Row(std::string_view mnemonic)
{
    for (const CommCommand& row : commrows::kRows)
        if (mnemonic == row.mnemonic) return row;
    throw "no row of that mnemonic";
}

// Every row by its mnemonic.
// clang-format off
inline constexpr const CommCommand& kCommAEC = Comm_Row("AEC");
inline constexpr const CommCommand& kCommAFA = Comm_Row("AFA");
inline constexpr const CommCommand& kCommAFW = Comm_Row("AFW");
inline constexpr const CommCommand& kCommAGN = Comm_Row("AGN");
inline constexpr const CommCommand& kCommALM = Comm_Row("ALM");
inline constexpr const CommCommand& kCommALV = Comm_Row("ALV");
inline constexpr const CommCommand& kCommAMD = Comm_Row("AMD");
inline constexpr const CommCommand& kCommAMGO = Comm_Row("AMGO");
inline constexpr const CommCommand& kCommAMGS = Comm_Row("AMGS");
inline constexpr const CommCommand& kCommAMX = Comm_Row("AMX");
inline constexpr const CommCommand& kCommAWW = Comm_Row("AWW");
inline constexpr const CommCommand& kCommBCT = Comm_Row("BCT");
inline constexpr const CommCommand& kCommBIN = Comm_Row("BIN");
inline constexpr const CommCommand& kCommBTH = Comm_Row("BTH");
inline constexpr const CommCommand& kCommBTS = Comm_Row("BTS");
inline constexpr const CommCommand& kCommCBH = Comm_Row("CBH");
inline constexpr const CommCommand& kCommCD1 = Comm_Row("CD1");
inline constexpr const CommCommand& kCommCD2 = Comm_Row("CD2");
inline constexpr const CommCommand& kCommCD3 = Comm_Row("CD3");
inline constexpr const CommCommand& kCommCD4 = Comm_Row("CD4");
inline constexpr const CommCommand& kCommCDI = Comm_Row("CDI");
inline constexpr const CommCommand& kCommCFA = Comm_Row("CFA");
inline constexpr const CommCommand& kCommCFG = Comm_Row("CFG");
inline constexpr const CommCommand& kCommCFT = Comm_Row("CFT");
inline constexpr const CommCommand& kCommCGB = Comm_Row("CGB");
inline constexpr const CommCommand& kCommCGG = Comm_Row("CGG");
inline constexpr const CommCommand& kCommCGR = Comm_Row("CGR");
inline constexpr const CommCommand& kCommCMD = Comm_Row("CMD");
inline constexpr const CommCommand& kCommCRH = Comm_Row("CRH");
inline constexpr const CommCommand& kCommDFC = Comm_Row("DFC");
inline constexpr const CommCommand& kCommDKS = Comm_Row("DKS");
inline constexpr const CommCommand& kCommDOU = Comm_Row("DOU");
inline constexpr const CommCommand& kCommESH = Comm_Row("ESH");
inline constexpr const CommCommand& kCommFMX = Comm_Row("FMX");
inline constexpr const CommCommand& kCommFOC = Comm_Row("FOC");
inline constexpr const CommCommand& kCommFOCO = Comm_Row("FOCO");
inline constexpr const CommCommand& kCommFOCS = Comm_Row("FOCS");
inline constexpr const CommCommand& kCommFPA = Comm_Row("FPA");
inline constexpr const CommCommand& kCommFPR = Comm_Row("FPR");
inline constexpr const CommCommand& kCommGAM = Comm_Row("GAM");
inline constexpr const CommCommand& kCommGSL = Comm_Row("GSL");
inline constexpr const CommCommand& kCommHSL = Comm_Row("HSL");
inline constexpr const CommCommand& kCommHSM = Comm_Row("HSM");
inline constexpr const CommCommand& kCommHSR = Comm_Row("HSR");
inline constexpr const CommCommand& kCommHUE = Comm_Row("HUE");
inline constexpr const CommCommand& kCommHWR = Comm_Row("HWR");
inline constexpr const CommCommand& kCommIFC = Comm_Row("IFC");
inline constexpr const CommCommand& kCommIPH = Comm_Row("IPH");
inline constexpr const CommCommand& kCommIRC = Comm_Row("IRC");
inline constexpr const CommCommand& kCommIRCO = Comm_Row("IRCO");
inline constexpr const CommCommand& kCommIRCS = Comm_Row("IRCS");
inline constexpr const CommCommand& kCommKB1 = Comm_Row("KB1");
inline constexpr const CommCommand& kCommKB2 = Comm_Row("KB2");
inline constexpr const CommCommand& kCommKB3 = Comm_Row("KB3");
inline constexpr const CommCommand& kCommKG1 = Comm_Row("KG1");
inline constexpr const CommCommand& kCommKG2 = Comm_Row("KG2");
inline constexpr const CommCommand& kCommKG3 = Comm_Row("KG3");
inline constexpr const CommCommand& kCommKR1 = Comm_Row("KR1");
inline constexpr const CommCommand& kCommKR2 = Comm_Row("KR2");
inline constexpr const CommCommand& kCommKR3 = Comm_Row("KR3");
inline constexpr const CommCommand& kCommLAW = Comm_Row("LAW");
inline constexpr const CommCommand& kCommLRX = Comm_Row("LRX");
inline constexpr const CommCommand& kCommLRY = Comm_Row("LRY");
inline constexpr const CommCommand& kCommMFI = Comm_Row("MFI");
inline constexpr const CommCommand& kCommMFT = Comm_Row("MFT");
inline constexpr const CommCommand& kCommMGF = Comm_Row("MGF");
inline constexpr const CommCommand& kCommMIR = Comm_Row("MIR");
inline constexpr const CommCommand& kCommMMGO = Comm_Row("MMGO");
inline constexpr const CommCommand& kCommMMGS = Comm_Row("MMGS");
inline constexpr const CommCommand& kCommRSE = Comm_Row("RSE");
inline constexpr const CommCommand& kCommRST = Comm_Row("RST");
inline constexpr const CommCommand& kCommSAC = Comm_Row("SAC");
inline constexpr const CommCommand& kCommSB1 = Comm_Row("SB1");
inline constexpr const CommCommand& kCommSB2 = Comm_Row("SB2");
inline constexpr const CommCommand& kCommSEN = Comm_Row("SEN");
inline constexpr const CommCommand& kCommSHA = Comm_Row("SHA");
inline constexpr const CommCommand& kCommSHD = Comm_Row("SHD");
inline constexpr const CommCommand& kCommSHE = Comm_Row("SHE");
inline constexpr const CommCommand& kCommSHG = Comm_Row("SHG");
inline constexpr const CommCommand& kCommSHP = Comm_Row("SHP");
inline constexpr const CommCommand& kCommSHS = Comm_Row("SHS");
inline constexpr const CommCommand& kCommSHT = Comm_Row("SHT");
inline constexpr const CommCommand& kCommSLB = Comm_Row("SLB");
inline constexpr const CommCommand& kCommSLG = Comm_Row("SLG");
inline constexpr const CommCommand& kCommSLR = Comm_Row("SLR");
inline constexpr const CommCommand& kCommSLT = Comm_Row("SLT");
inline constexpr const CommCommand& kCommSMX = Comm_Row("SMX");
inline constexpr const CommCommand& kCommSRB = Comm_Row("SRB");
inline constexpr const CommCommand& kCommSRG = Comm_Row("SRG");
inline constexpr const CommCommand& kCommSRR = Comm_Row("SRR");
inline constexpr const CommCommand& kCommSRT = Comm_Row("SRT");
inline constexpr const CommCommand& kCommSSA = Comm_Row("SSA");
inline constexpr const CommCommand& kCommSSE = Comm_Row("SSE");
inline constexpr const CommCommand& kCommSSX = Comm_Row("SSX");
inline constexpr const CommCommand& kCommTMD = Comm_Row("TMD");
inline constexpr const CommCommand& kCommULX = Comm_Row("ULX");
inline constexpr const CommCommand& kCommULY = Comm_Row("ULY");
inline constexpr const CommCommand& kCommUSA = Comm_Row("USA");
inline constexpr const CommCommand& kCommVMD = Comm_Row("VMD");
inline constexpr const CommCommand& kCommVPD = Comm_Row("VPD");
inline constexpr const CommCommand& kCommVPS = Comm_Row("VPS");
inline constexpr const CommCommand& kCommVSA = Comm_Row("VSA");
inline constexpr const CommCommand& kCommVWC = Comm_Row("VWC");
inline constexpr const CommCommand& kCommWBM = Comm_Row("WBM");
inline constexpr const CommCommand& kCommWDS = Comm_Row("WDS");
inline constexpr const CommCommand& kCommWXN = Comm_Row("WXN");
inline constexpr const CommCommand& kCommWXX = Comm_Row("WXX");
inline constexpr const CommCommand& kCommWYN = Comm_Row("WYN");
inline constexpr const CommCommand& kCommWYX = Comm_Row("WYX");
inline constexpr const CommCommand& kCommYGA = Comm_Row("YGA");
inline constexpr const CommCommand& kCommZMC = Comm_Row("ZMC");
inline constexpr const CommCommand& kCommZMCO = Comm_Row("ZMCO");
inline constexpr const CommCommand& kCommZMCS = Comm_Row("ZMCS");
inline constexpr const CommCommand& kCommCID = Comm_Row("CID");
inline constexpr const CommCommand& kCommSNO = Comm_Row("SNO");
inline constexpr const CommCommand& kCommWSF = Comm_Row("WSF");
inline constexpr const CommCommand& kCommVER = Comm_Row("VER");
inline constexpr const CommCommand& kCommFPGA = Comm_Row("FPGA");
// clang-format on

/// Every row, in table order.  Model (CAM), actions and user sets are not in it.
std::span<const CommCommand> Comm_CommandTable();

/// Row of a mnemonic, case-insensitive, with or without a leading ':';
/// nullptr when unknown.
const CommCommand* Comm_FindCommand(std::string_view mnemonic);

// The get and set of a row, for every row the same: the conversion by the
// row's rule lives here only.  Each returns the transaction's status code
// (CamTypes.h).  A row of another kind, or without the direction, sends
// nothing and returns COMM_NAK, the camera's own answer to such a line.
// While another transaction waits, every one sends nothing, writes nothing
// and returns COMM_BUSY.

/// Get/set of a row of kind Int.  A Count row carries the value itself and
/// a failed get leaves *value untouched; the angle row (SSA) converts, and
/// its get writes the degrees of count 0 when the query fails.
int Comm_GetInt(const CommCommand& command, int* value);
int Comm_SetInt(const CommCommand& command, int value);

/// Get/set of a row of kind Real in its user unit, through float.  A set
/// sends the count of the value without checking the range; a get always
/// writes the user value of the count it read, which stays 0 when the query
/// fails (0.0 dB, factor 1.0, colour gain 0.001 ...).
int Comm_GetReal(const CommCommand& command, float* value);
int Comm_SetReal(const CommCommand& command, float value);

/// Get/set of a row of kind Text.  out holds outSize bytes (at least 17 for
/// CID and SNO).  Sets remove control characters like Comm_SetCID.
int Comm_GetTextValue(const CommCommand& command, char* out, std::size_t outSize);
int Comm_SetTextValue(const CommCommand& command, const char* text);
