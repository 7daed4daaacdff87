#include "camera/Composite.h"

#include <cmath>

#include "camera/CamTypes.h"
#include "camera/CommandTable.h"
#include "camera/Conversions.h"
#include "camera/Globals.h"
#include "camera/Link.h"
#include "camera/LinkQueue.h"
#include "platform/Rounding.h"

namespace {

using Row = const CommCommand*;
constexpr Row kWindow[] = {&kCommULX, &kCommULY, &kCommLRX, &kCommLRY};
constexpr Row kDefect[] = {&kCommCD1, &kCommCD2, &kCommCD3, &kCommCD4};
constexpr Row kMatrix[] = {&kCommKR1, &kCommKG1, &kCommKB1, &kCommKR2, &kCommKG2,
                           &kCommKB2, &kCommKR3, &kCommKG3, &kCommKB3};
// Split-screen colour registers by side, then transparency, red, green, blue.
constexpr Row kColour[2][4] = {{&kCommSLT, &kCommSLR, &kCommSLG, &kCommSLB},
                               {&kCommSRT, &kCommSRR, &kCommSRG, &kCommSRB}};

// The split line spans 720 units, counted by the camera in steps of 4.
constexpr double kLineUnits = 720.0;

bool InRange(int index, int low, int high)
{
    return index >= low && index <= high;
}

// Copies the printable ASCII of text into out (size bytes, terminated): a
// control character could end the command line early, and a reply carries
// nothing else back, so anything more could be written but never read.
void WithoutControls(const char* text, char* out, std::size_t size)
{
    std::size_t n = 0;
    for (const char* p = text; *p != '\0' && n + 1 < size; ++p) {
        const auto c = static_cast<unsigned char>(*p);
        if (c >= 0x20 && c < 0x7F) out[n++] = *p;
    }
    out[n] = '\0';
}

int SetIdText(const CommCommand& row, const char* text)
{
    char clean[250];  // the link sends at most 249 characters of text
    WithoutControls(text, clean, sizeof clean);
    return Comm_SetText(row.prefix, clean);
}

}  // namespace

int Comm_SaturationToByte(float factor)
{
    // A factor outside 1.0 .. 2.0 would spill into the other saturation's
    // byte of the shared register; settings files are not trusted to stay within it.
    if (!(factor >= 1.0f)) factor = 1.0f;  // NaN too
    if (factor > 2.0f) factor = 2.0f;
    return static_cast<int>(std::ceil(255 * (static_cast<double>(factor) - 1.0)));
}

float Comm_SaturationFromByte(int byte)
{
    return static_cast<float>(1.0 + byte / 255.0);
}

int Comm_SetCSAT(float value, int which)
{
    CommOperation operation;  // the other byte must not change between read and write
    const unsigned byte = static_cast<unsigned>(Comm_SaturationToByte(value));
    int current = 0;
    const int status = Comm_GetInt(kCommSAC, &current);
    if (status != COMM_OK) return status;
    const unsigned now = static_cast<unsigned>(current);
    const unsigned packed = which == 0 ? byte * 256 + (now & 0xFF) : ((now & 0xFF00) / 256) * 256 + byte;
    return Comm_SetInt(kCommSAC, static_cast<int>(packed & 0xFFFF));
}

int Comm_GetCSAT(float* value, int which)
{
    int count = 0;
    const int status = Comm_GetInt(kCommSAC, &count);
    if (status != COMM_OK) return status;
    const unsigned packed = static_cast<unsigned>(count);
    *value = Comm_SaturationFromByte(static_cast<int>(which == 0 ? (packed & 0xFF00) / 256 : packed & 0xFF));
    return status;
}

int Comm_PackRSE(int pos_edge, int neg_edge)
{
    return static_cast<int>(static_cast<long long>(pos_edge) * 256 + neg_edge);
}

void Comm_UnpackRSE(int count, int* pos_edge, int* neg_edge)
{
    *pos_edge = (count & 0xFF00) / 256;
    *neg_edge = count & 0xFF;
}

int Comm_SetRSE(int pos_edge, int neg_edge)
{
    return Comm_SetInt(kCommRSE, Comm_PackRSE(pos_edge, neg_edge));
}

int Comm_GetRSE(int* pos_edge, int* neg_edge)
{
    int count = 0;
    const int status = Comm_GetInt(kCommRSE, &count);
    if (status != COMM_OK) return status;
    Comm_UnpackRSE(count, pos_edge, neg_edge);
    return status;
}

int Comm_SetALCWin(int value, int corner)
{
    return InRange(corner, 0, 3) ? Comm_SetInt(*kWindow[corner], value) : COMM_NAK;
}

int Comm_GetALCWin(int* value, int corner)
{
    return InRange(corner, 0, 3) ? Comm_GetInt(*kWindow[corner], value) : COMM_NAK;
}

int Comm_SetCDA(int address_no, int value)
{
    return InRange(address_no, 1, 4) ? Comm_SetInt(*kDefect[address_no - 1], value) : COMM_NAK;
}

int Comm_GetCDA(int address_no, int* value)
{
    return InRange(address_no, 1, 4) ? Comm_GetInt(*kDefect[address_no - 1], value) : COMM_NAK;
}

int Comm_SetK(float value, int index)
{
    return InRange(index, 0, 8) ? Comm_SetReal(*kMatrix[index], value) : COMM_NAK;
}

int Comm_GetK(float* value, int index)
{
    if (!InRange(index, 0, 8)) {
        *value = 0.0f;
        return COMM_NAK;
    }
    return Comm_GetReal(*kMatrix[index], value);
}

SplitLineCounts Comm_SplitLineToCounts(int position, int left_thickness, int right_thickness)
{
    // f: the split line in units of the 720-unit scale.  The two bands reach
    // from the line toward either edge by their share of the room on that side.
    const float f = static_cast<float>(kLineUnits * position / 100);
    return {Comm_round(f / 4.0),
            Comm_round((f - std::trunc(static_cast<double>(f) * left_thickness / 100)) / 4.0),
            Comm_round((f + (kLineUnits - f) * right_thickness / 100) / 4.0)};
}

void Comm_SplitLineFromCounts(SplitLineCounts counts, int* position, int* left_thickness,
                              int* right_thickness)
{
    const int p = TruncateToInt(100 * (4.0 * counts.hsm) / kLineUnits);
    *position = p;
    // With the line at an edge, the band on that side has no room to be a share of.
    *left_thickness = p == 0 ? 0 : TruncateToInt(100 - 40000.0 * counts.hsl / (kLineUnits * p));
    *right_thickness =
        p == 100 ? 0 : Comm_round(100 * (400.0 * counts.hsr - kLineUnits * p) / (72000 - kLineUnits * p));
}

int Comm_SplitColourToCount(int level, int transparency)
{
    return Comm_round(level * (1.0 - transparency / 100.0));
}

int Comm_SplitColourFromCount(int count, int transparency)
{
    // At full transparency nothing of the colour is left to scale back up.
    const double share = 1.0 - transparency / 100.0;
    return share == 0.0 ? 0 : Comm_round(count / share);
}

int Comm_SplitAngleToCount(int degrees)
{
    return Comm_UserToCount(CommRule::Angle, static_cast<float>(degrees));
}

int Comm_SplitAngleFromCount(int count)
{
    return static_cast<int>(Comm_CountToUser(CommRule::Angle, count));
}

namespace {

void noteFailure(int* firstFailure, int status)
{
    if (firstFailure && *firstFailure == COMM_OK) *firstFailure = status;
}

}  // namespace

int Comm_SetSSPosThick(int position, int left_thickness, int right_thickness, int* firstFailure)
{
    const SplitLineCounts counts = Comm_SplitLineToCounts(position, left_thickness, right_thickness);
    CommOperation operation;
    if (firstFailure) *firstFailure = COMM_OK;
    noteFailure(firstFailure, Comm_SetInt(kCommHSM, counts.hsm));
    noteFailure(firstFailure, Comm_SetInt(kCommHSL, counts.hsl));
    const int status = Comm_SetInt(kCommHSR, counts.hsr);
    noteFailure(firstFailure, status);
    return status;
}

int Comm_GetSSPosThick(int* position, int* left_thickness, int* right_thickness, int* firstFailure)
{
    SplitLineCounts counts{0, 0, 0};
    CommOperation operation;
    if (firstFailure) *firstFailure = COMM_OK;
    const int hsm = Comm_GetInt(kCommHSM, &counts.hsm);
    if (hsm == COMM_BUSY) return COMM_BUSY;
    noteFailure(firstFailure, hsm);
    noteFailure(firstFailure, Comm_GetInt(kCommHSL, &counts.hsl));
    const int status = Comm_GetInt(kCommHSR, &counts.hsr);
    noteFailure(firstFailure, status);
    Comm_SplitLineFromCounts(counts, position, left_thickness, right_thickness);
    return status;
}

int Comm_SetSSColor(int side, int colour, int level, int transparency, int* firstFailure)
{
    if (firstFailure) *firstFailure = COMM_OK;
    if (!InRange(side, 0, 1)) {
        noteFailure(firstFailure, COMM_NAK);
        return COMM_NAK;
    }
    CommOperation operation;
    int status = Comm_SetInt(*kColour[side][0], transparency);
    noteFailure(firstFailure, status);
    if (!InRange(colour, 0, 2)) return status;
    status = Comm_SetInt(*kColour[side][colour + 1], Comm_SplitColourToCount(level, transparency));
    noteFailure(firstFailure, status);
    return status;
}

int Comm_GetSSColor(int side, int colour, int* level, int* transparency, int* firstFailure)
{
    if (firstFailure) *firstFailure = COMM_OK;
    if (!InRange(side, 0, 1)) {
        noteFailure(firstFailure, COMM_NAK);
        return COMM_NAK;
    }
    CommOperation operation;
    int status = Comm_GetInt(*kColour[side][0], transparency);
    if (status == COMM_BUSY) return status;
    noteFailure(firstFailure, status);
    int count = 0;
    if (InRange(colour, 0, 2)) {
        status = Comm_GetInt(*kColour[side][colour + 1], &count);
        noteFailure(firstFailure, status);
    }
    *level = Comm_SplitColourFromCount(count, *transparency);
    return status;
}

int Comm_SetSSA(int degrees)
{
    return Comm_SetInt(kCommSSA, degrees);
}

int Comm_GetSSA(int* degrees)
{
    return Comm_GetInt(kCommSSA, degrees);
}

int Comm_SetCID(const char* text)
{
    return SetIdText(kCommCID, text);
}

int Comm_GetCID(char* out)
{
    return Comm_GetText(kCommCID.query, out, kIdTextSize);
}

int Comm_SetSNO(const char* text)
{
    return SetIdText(kCommSNO, text);
}

int Comm_GetSNO(char* out)
{
    return Comm_GetText(kCommSNO.query, out, kIdTextSize);
}

int Comm_SetAWB()
{
    return Comm_SendFixed(":AWB!");
}

int Comm_LocateDefects()
{
    return Comm_SendFixed(":LDF!");
}

int Comm_LoadSet(int set)
{
    return Comm_SendFixedNumber(":LSTA=", set);
}

int Comm_SaveSet(int set)
{
    return Comm_SendFixedNumber(":WSTA=", set);
}

int Comm_Write_AFE(int address, int data)
{
    CommOperation operation;
    const int status = Comm_SetInt(kCommAFA, address);
    return status != COMM_OK ? status : Comm_SetInt(kCommAFW, data);
}
