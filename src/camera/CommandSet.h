// The camera's command set: one Comm_Get / Comm_Set function per mnemonic and
// direction, all made from one table.
//
// Each row of COMM_COMMAND_TABLE below names a mnemonic, the kind of value the
// program works with (Int: the count itself; Real: a float in the user unit of
// the row's conversion rule), the directions the camera offers (QS query and
// set, Q query only, S set only) and the conversion rule (Conversions.h).
// Rows marked Own get their named functions here, declared by this header:
//
//     int Comm_GetAEC(int* value);     int Comm_SetAEC(int value);
//     int Comm_GetAGN(float* value);   int Comm_SetAGN(float value);
//
// Rows marked Part carry one part of a composite setting (the split-screen
// line, the ALC window, the colour matrix ...); their functions are in
// Composite.h, and the rows are here for the lookup by mnemonic.
//
// Rules common to every function:
// - the result is the transaction's status code (CamTypes.h);
// - a set sends one line and does not check the range; while another
//   transaction waits, it sends nothing and returns 0;
// - an integer get leaves *value untouched when the query fails; a converting
//   get always writes the user value of the count it read, which stays 0 when
//   the query fails (0.0 dB, factor 1.0, colour gain 0.001 ...);
// - a get issued while another transaction waits returns COMM_BUSY.
#pragma once

#include <cstddef>
#include <span>
#include <string_view>

#include "camera/Conversions.h"

// X(NAME, MNEMONIC, KIND, ACCESS, RULE, GEN)
#define COMM_COMMAND_TABLE(X)                \
    X(AEC, AEC, Int, QS, Count, Own)         \
    X(AFA, AFA, Int, QS, Count, Own)         \
    X(AFW, AFW, Int, S, Count, Own)          \
    X(AGN, AGN, Real, QS, Db, Own)           \
    X(ALM, ALM, Int, QS, Count, Own)         \
    X(ALV, ALV, Int, QS, Count, Own)         \
    X(AMD, AMD, Int, QS, Count, Own)         \
    X(AMGO, AMGO, Int, QS, Count, Own)       \
    X(AMGS, AMGS, Int, QS, Count, Own)       \
    X(AMX, AMX, Real, QS, Db, Own)           \
    X(AWW, AWW, Int, QS, Count, Own)         \
    X(BCT, BCT, Int, Q, Count, Own)          \
    X(BIN, BIN, Int, QS, Count, Own)         \
    X(BTH, BTH, Real, QS, TenthPercent, Own) \
    X(BTS, BTS, Int, QS, Count, Own)         \
    X(CBH, CBH, Real, QS, Hue, Own)          \
    X(CD1, CD1, Int, QS, Count, Part)        \
    X(CD2, CD2, Int, QS, Count, Part)        \
    X(CD3, CD3, Int, QS, Count, Part)        \
    X(CD4, CD4, Int, QS, Count, Part)        \
    X(CDI, CDI, Int, QS, Count, Own)         \
    X(CFA, CFA, Int, QS, Count, Own)         \
    X(CFG, CFG, Real, QS, Factor1To2, Own)   \
    X(CFT, CFT, Int, QS, Count, Own)         \
    X(CGB, CGB, Real, QS, ColourGain, Own)   \
    X(CGG, CGG, Real, QS, ColourGain, Own)   \
    X(CGR, CGR, Real, QS, ColourGain, Own)   \
    X(CMD, CMD, Int, QS, Count, Own)         \
    X(CRH, CRH, Real, QS, Hue, Own)          \
    X(DFC, DFC, Int, QS, Count, Own)         \
    X(DKS, DKS, Int, QS, Count, Own)         \
    X(DOU, DOU, Int, QS, Count, Own)         \
    X(ESH, ESH, Int, QS, Count, Own)         \
    X(FMX, FMX, Int, QS, Count, Own)         \
    X(FOC, FOC, Real, QS, LensVolts, Own)    \
    X(FOCO, FOCO, Int, QS, Count, Own)       \
    X(FOCS, FOCS, Int, QS, Count, Own)       \
    X(FPA, FPA, Int, QS, Count, Own)         \
    X(FPR, FPR, Int, QS, Count, Own)         \
    X(GAM, GAM, Int, QS, Count, Own)         \
    X(GSL, GSL, Int, QS, Count, Own)         \
    X(HSL, HSL, Int, QS, Count, Part)        \
    X(HSM, HSM, Int, QS, Count, Part)        \
    X(HSR, HSR, Int, QS, Count, Part)        \
    X(HUE, HUE, Real, QS, PercentOf255, Own) \
    X(HWR, HWR, Int, Q, Count, Own)          \
    X(IFC, IFC, Int, QS, Count, Own)         \
    X(IPH, IPH, Int, QS, Count, Own)         \
    X(IRC, IRC, Real, QS, LensVolts, Own)    \
    X(IRCO, IRCO, Int, QS, Count, Own)       \
    X(IRCS, IRCS, Int, QS, Count, Own)       \
    X(KB1, KB1, Real, QS, Matrix, Part)      \
    X(KB2, KB2, Real, QS, Matrix, Part)      \
    X(KB3, KB3, Real, QS, Matrix, Part)      \
    X(KG1, KG1, Real, QS, Matrix, Part)      \
    X(KG2, KG2, Real, QS, Matrix, Part)      \
    X(KG3, KG3, Real, QS, Matrix, Part)      \
    X(KR1, KR1, Real, QS, Matrix, Part)      \
    X(KR2, KR2, Real, QS, Matrix, Part)      \
    X(KR3, KR3, Real, QS, Matrix, Part)      \
    X(LAW, LAW, Int, QS, Count, Own)         \
    X(LRX, LRX, Int, QS, Count, Part)        \
    X(LRY, LRY, Int, QS, Count, Part)        \
    X(MFI, MFI, Int, QS, Count, Own)         \
    X(MFT, MFT, Int, QS, Count, Own)         \
    X(MGF, MGF, Int, QS, Count, Own)         \
    X(MIR, MIR, Int, QS, Count, Own)         \
    X(MMGO, MMGO, Int, QS, Count, Own)       \
    X(MMGS, MMGS, Int, QS, Count, Own)       \
    X(RSE, RSE, Int, QS, Count, Part)        \
    X(RST, RST, Int, QS, Count, Own)         \
    X(SAC, SAC, Int, QS, Count, Part)        \
    X(AGC_Access, SB1, Int, QS, Count, Own)  \
    X(DFC_Access, SB2, Int, QS, Count, Own)  \
    X(SEN, SEN, Int, QS, Count, Own)         \
    X(SHA, SHA, Int, QS, Count, Own)         \
    X(SHD, SHD, Int, QS, Count, Own)         \
    X(SHE, SHE, Int, QS, Count, Own)         \
    X(SHG, SHG, Real, QS, Factor1To2, Own)   \
    X(SHP, SHP, Int, QS, Count, Own)         \
    X(SHS, SHS, Int, QS, Count, Own)         \
    X(SHT, SHT, Int, QS, Count, Own)         \
    X(SLB, SLB, Int, QS, Count, Part)        \
    X(SLG, SLG, Int, QS, Count, Part)        \
    X(SLR, SLR, Int, QS, Count, Part)        \
    X(SLT, SLT, Int, QS, Count, Part)        \
    X(SMX, SMX, Int, QS, Count, Own)         \
    X(SRB, SRB, Int, QS, Count, Part)        \
    X(SRG, SRG, Int, QS, Count, Part)        \
    X(SRR, SRR, Int, QS, Count, Part)        \
    X(SRT, SRT, Int, QS, Count, Part)        \
    X(SSA, SSA, Int, QS, Angle, Part)        \
    X(SSE, SSE, Int, QS, Count, Own)         \
    X(SSX, SSX, Int, Q, Count, Own)          \
    X(TMD, TMD, Int, QS, Count, Own)         \
    X(ULX, ULX, Int, QS, Count, Part)        \
    X(ULY, ULY, Int, QS, Count, Part)        \
    X(USA, USA, Real, QS, PercentOf63, Own)  \
    X(VMD, VMD, Int, QS, Count, Own)         \
    X(VPD, VPD, Real, QS, Pedestal, Own)     \
    X(VPS, VPS, Int, QS, Count, Own)         \
    X(VSA, VSA, Real, QS, PercentOf63, Own)  \
    X(VWC, VWC, Real, QS, WhiteClip, Own)    \
    X(WBM, WBM, Int, QS, Count, Own)         \
    X(WDS, WDS, Int, QS, Count, Own)         \
    X(WXN, WXN, Int, Q, Count, Own)          \
    X(WXX, WXX, Int, Q, Count, Own)          \
    X(WYN, WYN, Int, Q, Count, Own)          \
    X(WYX, WYX, Int, Q, Count, Own)          \
    X(YGA, YGA, Real, QS, PercentOf63, Own)  \
    X(ZMC, ZMC, Real, QS, LensVolts, Own)    \
    X(ZMCO, ZMCO, Int, QS, Count, Own)       \
    X(ZMCS, ZMCS, Int, QS, Count, Own)

#define COMM_DECLARE_Own_Int_QS(NAME) \
    int Comm_Get##NAME(int* value);   \
    int Comm_Set##NAME(int value);
#define COMM_DECLARE_Own_Int_Q(NAME) int Comm_Get##NAME(int* value);
#define COMM_DECLARE_Own_Int_S(NAME) int Comm_Set##NAME(int value);
#define COMM_DECLARE_Own_Real_QS(NAME) \
    int Comm_Get##NAME(float* value);  \
    int Comm_Set##NAME(float value);
#define COMM_DECLARE_Part_Int_QS(NAME)
#define COMM_DECLARE_Part_Real_QS(NAME)
#define COMM_DECLARE(NAME, MNEMONIC, KIND, ACCESS, RULE, GEN) COMM_DECLARE_##GEN##_##KIND##_##ACCESS(NAME)
COMM_COMMAND_TABLE(COMM_DECLARE)
#undef COMM_DECLARE

/// Tells the camera to keep its live settings as its factory defaults
/// (":WFAC=0").  Busy: 0.
int Comm_SaveDefaults();

// ---------------------------------------------------------------------------
// Lookup by mnemonic, for tools that take mnemonics as text (iccdctl get and
// set, comparisons of settings).

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
    bool part;           ///< one part of a composite setting: the value is the raw count
    const char* query;   ///< whole query line with CR; nullptr when not queryable
    const char* prefix;  ///< set prefix (":MN="); nullptr when not settable
};

/// Every mnemonic that carries one value: the rows of COMM_COMMAND_TABLE, then
/// the texts CID, SNO (set through WSF), WSF, VER and FPGA.  Model (CAM),
/// actions and user sets are not in it.
std::span<const CommCommand> Comm_CommandTable();

/// Row of a mnemonic, case-insensitive, with or without a leading ':';
/// nullptr when unknown.
const CommCommand* Comm_FindCommand(std::string_view mnemonic);

/// Integer get/set of a row of kind Int.  Count rows behave like the named
/// functions; the angle row (SSA) converts like Comm_GetSSA / Comm_SetSSA.
int Comm_GetInt(const CommCommand& command, int* value);
int Comm_SetInt(const CommCommand& command, int value);

/// Get/set of a row of kind Real in its user unit, through float like the
/// named functions.
int Comm_GetReal(const CommCommand& command, float* value);
int Comm_SetReal(const CommCommand& command, float value);

/// Get/set of a row of kind Text.  out holds outSize bytes (at least 17 for
/// CID and SNO).  Sets remove control characters like Comm_SetCID.
int Comm_GetTextValue(const CommCommand& command, char* out, std::size_t outSize);
int Comm_SetTextValue(const CommCommand& command, const char* text);
