#include "camera/SettingAccess.h"

#include <cmath>
#include <string_view>

#include "camera/CamTypes.h"
#include "camera/CommandTable.h"
#include "camera/Composite.h"
#include "camera/Globals.h"
#include "camera/LinkQueue.h"
#include "camera/Models.h"
#include "camera/SettingsTable.h"

namespace {

// The first failure of a composite read or write, else the last status.
int firstOr(int first, int last)
{
    return first != COMM_OK ? first : last;
}

int whole(double value)
{
    return static_cast<int>(std::lround(value));
}

// --- The split line: position and the two thicknesses travel together.

template <int Part>
int readLine(double* value)
{
    int line[3] = {};
    int first = COMM_OK;
    const int status = firstOr(first, Comm_GetSSPosThick(&line[0], &line[1], &line[2], &first));
    if (status == COMM_OK) *value = line[Part];
    return status;
}

template <int Part>
int writeLine(double value)
{
    CommOperation operation;
    int line[3] = {};
    int first = COMM_OK;
    const int status = firstOr(first, Comm_GetSSPosThick(&line[0], &line[1], &line[2], &first));
    if (status != COMM_OK) return status;
    line[Part] = whole(value);
    first = COMM_OK;
    return firstOr(first, Comm_SetSSPosThick(line[0], line[1], line[2], &first));
}

// --- A half's colour levels, which the camera keeps scaled by the half's
// transparency; colour 3 stands for the transparency itself.

constexpr int kTransparency = 3;

template <int Side, int Colour>
int readHalf(double* value)
{
    int level = 0;
    int transparency = 0;
    int first = COMM_OK;
    const int colour = Colour == kTransparency ? 0 : Colour;
    const int status = firstOr(first, Comm_GetSSColor(Side, colour, &level, &transparency, &first));
    if (status == COMM_OK) *value = Colour == kTransparency ? transparency : level;
    return status;
}

template <int Side, int Colour>
int writeHalf(double value)
{
    CommOperation operation;
    int levels[3] = {};
    int transparency = 0;
    // A new transparency sends every level again, scaled by it.
    for (int colour = 0; colour < 3; ++colour) {
        if (Colour != kTransparency && colour != Colour) continue;
        int first = COMM_OK;
        const int status =
            firstOr(first, Comm_GetSSColor(Side, colour, &levels[colour], &transparency, &first));
        if (status != COMM_OK) return status;
    }
    if (Colour != kTransparency) {
        int first = COMM_OK;
        return firstOr(first, Comm_SetSSColor(Side, Colour, whole(value), transparency, &first));
    }
    int result = COMM_OK;
    for (int colour = 0; colour < 3; ++colour) {
        int first = COMM_OK;
        const int status =
            firstOr(first, Comm_SetSSColor(Side, colour, levels[colour], whole(value), &first));
        if (result == COMM_OK) result = status;
    }
    return result;
}

// --- Settings carried by one indexed or packed command.

// A read that writes its output only on success, as a double.
template <typename T, typename Get>
int readInto(double* value, Get get)
{
    T v{};
    const int status = get(&v);
    if (status == COMM_OK) *value = v;
    return status;
}

template <int Which>
int readSaturation(double* value)
{
    return readInto<float>(value, [](float* v) { return Comm_GetCSAT(v, Which); });
}

template <int Which>
int writeSaturation(double value)
{
    return Comm_SetCSAT(static_cast<float>(value), Which);
}

template <int Index>
int readMatrix(double* value)
{
    return readInto<float>(value, [](float* v) { return Comm_GetK(v, Index); });
}

template <int Index>
int writeMatrix(double value)
{
    return Comm_SetK(static_cast<float>(value), Index);
}

template <int Corner>
int readCorner(double* value)
{
    return readInto<int>(value, [](int* v) { return Comm_GetALCWin(v, Corner); });
}

template <int Corner>
int writeCorner(double value)
{
    return Comm_SetALCWin(whole(value), Corner);
}

template <int Address>
int readDefect(double* value)
{
    return readInto<int>(value, [](int* v) { return Comm_GetCDA(Address, v); });
}

template <int Address>
int writeDefect(double value)
{
    return Comm_SetCDA(Address, whole(value));
}

int readAngle(double* value)
{
    return readInto<int>(value, Comm_GetSSA);
}

int writeAngle(double value)
{
    return Comm_SetSSA(whole(value));
}

// The reset edges, packed into RSE: Pos in the high byte, Neg in the low.
template <bool Pos>
int readEdge(double* value)
{
    int pos = 0;
    int neg = 0;
    const int status = Comm_GetRSE(&pos, &neg);
    if (status == COMM_OK) *value = Pos ? pos : neg;
    return status;
}

template <bool Pos>
int writeEdge(double value)
{
    CommOperation operation;
    int pos = 0;
    int neg = 0;
    const int status = Comm_GetRSE(&pos, &neg);
    if (status != COMM_OK) return status;
    (Pos ? pos : neg) = whole(value);
    return Comm_SetRSE(pos, neg);
}

struct CompositePart {
    std::string_view mnemonic;
    int (*read)(double*);
    int (*write)(double);
};

// The matrix coefficients by their index in Comm_GetK: KR1, KG1, KB1, KR2 ...
constexpr CompositePart kParts[] = {
    {"CBSAT", readSaturation<0>, writeSaturation<0>},
    {"CRSAT", readSaturation<1>, writeSaturation<1>},
    {"CD1", readDefect<1>, writeDefect<1>},
    {"CD2", readDefect<2>, writeDefect<2>},
    {"CD3", readDefect<3>, writeDefect<3>},
    {"CD4", readDefect<4>, writeDefect<4>},
    {"KR1", readMatrix<0>, writeMatrix<0>},
    {"KG1", readMatrix<1>, writeMatrix<1>},
    {"KB1", readMatrix<2>, writeMatrix<2>},
    {"KR2", readMatrix<3>, writeMatrix<3>},
    {"KG2", readMatrix<4>, writeMatrix<4>},
    {"KB2", readMatrix<5>, writeMatrix<5>},
    {"KR3", readMatrix<6>, writeMatrix<6>},
    {"KG3", readMatrix<7>, writeMatrix<7>},
    {"KB3", readMatrix<8>, writeMatrix<8>},
    {"ULX", readCorner<0>, writeCorner<0>},
    {"ULY", readCorner<1>, writeCorner<1>},
    {"LRX", readCorner<2>, writeCorner<2>},
    {"LRY", readCorner<3>, writeCorner<3>},
    {"SSP", readLine<0>, writeLine<0>},
    {"LLT", readLine<1>, writeLine<1>},
    {"RLT", readLine<2>, writeLine<2>},
    {"SLR", readHalf<0, 0>, writeHalf<0, 0>},
    {"SLG", readHalf<0, 1>, writeHalf<0, 1>},
    {"SLB", readHalf<0, 2>, writeHalf<0, 2>},
    {"SLT", readHalf<0, kTransparency>, writeHalf<0, kTransparency>},
    {"SRR", readHalf<1, 0>, writeHalf<1, 0>},
    {"SRG", readHalf<1, 1>, writeHalf<1, 1>},
    {"SRB", readHalf<1, 2>, writeHalf<1, 2>},
    {"SRT", readHalf<1, kTransparency>, writeHalf<1, kTransparency>},
    {"SSA", readAngle, writeAngle},
    {"RST Neg", readEdge<false>, writeEdge<false>},
    {"RST Pos", readEdge<true>, writeEdge<true>},
};

const CompositePart* partOf(const SettingInfo& setting)
{
    for (const CompositePart& part : kParts)
        if (part.mnemonic == setting.mnemonic) return &part;
    return nullptr;
}

// A command of its own that carries the setting; nullptr for a composite.
const CommCommand* ownCommand(const SettingInfo& setting)
{
    const CommCommand* command = Settings_Command(setting);
    return command && !command->piece && command->kind != CommValueKind::Text ? command : nullptr;
}

std::string modelName()
{
    return g_cam_models[g_cam_model_user_idx];
}

}  // namespace

bool Settings_Readable(const SettingInfo& setting)
{
    if (partOf(setting)) return true;
    const CommCommand* command = ownCommand(setting);
    return command && (command->access & kCommQuery);
}

bool Settings_Writable(const SettingInfo& setting)
{
    if (partOf(setting)) return true;
    const CommCommand* command = ownCommand(setting);
    return command && (command->access & kCommSet);
}

int Settings_Read(const SettingInfo& setting, double* value)
{
    if (const CompositePart* part = partOf(setting)) return part->read(value);
    const CommCommand* command = ownCommand(setting);
    if (!command || !(command->access & kCommQuery)) return COMM_NAK;
    if (command->kind == CommValueKind::Int)
        return readInto<int>(value, [command](int* v) { return Comm_GetInt(*command, v); });
    return readInto<float>(value, [command](float* v) { return Comm_GetReal(*command, v); });
}

int Settings_Write(const SettingInfo& setting, double value)
{
    if (const CompositePart* part = partOf(setting)) return part->write(value);
    const CommCommand* command = ownCommand(setting);
    if (!command || !(command->access & kCommSet)) return COMM_NAK;
    if (command->kind == CommValueKind::Int) return Comm_SetInt(*command, whole(value));
    return Comm_SetReal(*command, static_cast<float>(value));
}

std::string Settings_Refusal(const SettingInfo& setting, double value, const std::string& text)
{
    const std::string mnemonic = setting.mnemonic;
    if (!Settings_ModelHas(setting, g_cam_model_idx))
        return mnemonic + " (" + setting.name + ") is not a setting of the " + modelName();
    if (!std::isfinite(value)) return mnemonic + " takes a number, not " + text;
    if (setting.whole && value != std::floor(value)) return mnemonic + " takes a whole number, not " + text;
    SettingRange range;
    if (Settings_CameraTakes(setting, value, &range)) return {};
    std::string refusal = mnemonic + " " + text + " is out of range: ";
    refusal += setting.name;
    refusal += " takes " + Settings_RangeText(setting, range) + " on the " + modelName();
    return refusal;
}
