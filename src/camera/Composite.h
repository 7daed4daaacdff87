// Camera commands that do more than carry one value in one mnemonic: values
// spread over several mnemonics, two values packed into one, the identifier
// texts, one-shot actions, the AFE register write and the user sets.  Each
// names the rows of the command table (CommandTable.h) it sends.
//
// Every function returns the status code of its (last) transaction.  One that
// sends several lines is one operation on the link (LinkQueue.h).  A call
// refused by the busy link returns COMM_BUSY and writes none of its outputs.
// Functions that send several lines go on after a failure and return the code
// of the last one, except Comm_Write_AFE and Comm_SetCSAT, which stop at the
// first.  An index (corner, address, coefficient, side) outside its range
// sends nothing and returns COMM_NAK, as the command table does for a row it
// cannot use: a caller's mistake must never read as a success.
#pragma once

#include <cstddef>

/// Buffer size for the identifier texts: 16 characters and the terminator.
inline constexpr std::size_t kIdTextSize = 17;

// --- The arithmetic of the packed and spread values on its own, for code that
// needs to know what the camera will hold without asking it.

/// Byte of a saturation factor: ceil(255 x (factor - 1)), the factor first
/// limited to 1.0 .. 2.0 (NaN counts as 1.0), so the result is 0..255.
int Comm_SaturationToByte(float factor);
/// Factor of a saturation byte, as Comm_GetCSAT stores it.
float Comm_SaturationFromByte(int byte);

/// The split line in the camera's units.
struct SplitLineCounts {
    int hsm, hsl, hsr;
};
SplitLineCounts Comm_SplitLineToCounts(int position, int left_thickness, int right_thickness);
/// Percentages of the counts; a thickness the position leaves undefined is 0.
void Comm_SplitLineFromCounts(SplitLineCounts counts, int* position, int* left_thickness,
                              int* right_thickness);

/// Split-screen colour level as the camera keeps it: scaled by the transparency.
int Comm_SplitColourToCount(int level, int transparency);
/// Unscaled level of a kept count; 0 at a transparency of 100.
int Comm_SplitColourFromCount(int count, int transparency);

/// SSA count of an angle in degrees (never below 0), and the angle of a count.
int Comm_SplitAngleToCount(int degrees);
int Comm_SplitAngleFromCount(int count);

/// RSE count of the AFE reset edges: pos_edge x 256 + neg_edge, wrapped to
/// int as it goes on the wire (edges far beyond a byte never overflow).
int Comm_PackRSE(int pos_edge, int neg_edge);
/// The edges of an RSE count: its high byte and its low byte.
void Comm_UnpackRSE(int count, int* pos_edge, int* neg_edge);

// --- Cb and Cr saturation, packed into SAC: high byte Cb, low byte Cr; a byte
// b stands for the factor 1.0 + b / 255.  which 0 = Cb, anything else = Cr.

/// Reads SAC, replaces the byte of which with ceil(255 x (value - 1)) and
/// writes SAC back.  The value is first limited to 1.0 .. 2.0, so it can
/// never spill into the other byte.  A failed read sends nothing.
int Comm_SetCSAT(float value, int which);
/// On success writes the factor of which; on failure *value is untouched.
int Comm_GetCSAT(float* value, int which);

// --- AFE reset edges, packed into RSE as pos_edge x 256 + neg_edge.

int Comm_SetRSE(int pos_edge, int neg_edge);
/// On failure both stay untouched.
int Comm_GetRSE(int* pos_edge, int* neg_edge);

// --- Indexed integers.

/// ALC window corner: 0 ULX, 1 ULY, 2 LRX, 3 LRY.
int Comm_SetALCWin(int value, int corner);
int Comm_GetALCWin(int* value, int corner);
/// Column-defect address CD1..CD4 by address_no 1..4.
int Comm_SetCDA(int address_no, int value);
int Comm_GetCDA(int address_no, int* value);

/// Colour-matrix coefficient by index 0..8 (KR1, KG1, KB1, KR2, KG2, KB2,
/// KR3, KG3, KB3), 1024 counts per unit.
int Comm_SetK(float value, int index);
/// Reads at most 3.99; always writes *value (0.0 for an index out of range,
/// the value of count 0 when the query fails).
int Comm_GetK(float* value, int index);

// --- Split screen.  The camera counts the line on a scale of 0..180; the
// program works in percent.

/// Sends HSM, HSL and HSR for the position and the two line thicknesses.
/// Returns the status of the last; *firstFailure (when given) receives that
/// of the first that failed, 0 when none did.
int Comm_SetSSPosThick(int position, int left_thickness, int right_thickness, int* firstFailure = nullptr);
/// Queries HSM, HSL, HSR and always writes all three outputs.  A thickness
/// that the position leaves undefined (left at position 0, right at 100)
/// reads 0.  Returns the status of the last query; *firstFailure (when
/// given) receives that of the first query that failed, 0 when none did,
/// since all three outputs stand on all three queries.
int Comm_GetSSPosThick(int* position, int* left_thickness, int* right_thickness, int* firstFailure = nullptr);

/// Side 0 left, 1 right; colour 0 red, 1 green, 2 blue.  Sends the
/// transparency, then the level scaled by it (the camera keeps it scaled).
/// Another colour sends only the transparency.  Returns the status of the
/// last line; *firstFailure as for Comm_SetSSPosThick.
int Comm_SetSSColor(int side, int colour, int level, int transparency, int* firstFailure = nullptr);
/// Queries the transparency (written on success) and the colour level; the
/// unscaled level is always written, 0 at a transparency of 100.  Returns the
/// status of the last query; *firstFailure as for Comm_GetSSPosThick.
int Comm_GetSSColor(int side, int colour, int* level, int* transparency, int* firstFailure = nullptr);

/// Split-screen angle in degrees (SSA: tangent x 256 + 46, never below 0).
int Comm_SetSSA(int degrees);
/// Always writes *degrees; a failed query reads as -11.
int Comm_GetSSA(int* degrees);

// --- Identifier texts.  The sets remove control characters (below 0x20 and
// 0x7F) so that no text can end the command line early or carry a second
// command; at most 249 characters are sent.

/// Customer ID (":CID=").
int Comm_SetCID(const char* text);
/// Copies at most 16 characters of the reply into out (kIdTextSize bytes);
/// on failure out is untouched.
int Comm_GetCID(char* out);
/// Camera ID string, written with ":WSF=" and read with ":SNO?".
int Comm_SetSNO(const char* text);
int Comm_GetSNO(char* out);

// --- Actions and user sets.

/// One-shot white balance (":AWB!").
int Comm_SetAWB();
/// Blemish location (":LDF!"); the camera updates BCT.
int Comm_LocateDefects();
/// The camera loads stored set n into its live settings (":LSTA=n").
int Comm_LoadSet(int set);
/// The camera stores its live settings as set n (":WSTA=n").
int Comm_SaveSet(int set);

/// Writes data to the AFE register at address: AFA, then AFW only if AFA was
/// accepted.
int Comm_Write_AFE(int address, int data);
