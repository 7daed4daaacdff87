// The camera models this program knows, and the commands that identify them.
//
// Thirteen models fall into eight function classes: five models behave exactly
// like five others, so every model-dependent decision is taken on the
// equivalent row (g_cam_model_idx, 0..7) while the reported row
// (g_cam_model_user_idx, 0..12) is kept for display and for settings files.
#pragma once

#include <array>
#include <cstddef>
#include <string>
#include <string_view>

/// One row of the model table.  The row number is what ":CAM=" sends and
/// what a settings file records, so rows are only ever appended.
struct CamModel {
    const char* name;   ///< as the camera reports it (":CAM?")
    int functionClass;  ///< the row 0..7 whose behaviour this model shares
    int ringPlace;      ///< place in the factory screen's model ring
};

/// The models by row.  Adding one here is all the program needs; the
/// simulator keeps its own list (src/sim/SimModels.cpp), and ModelsTest
/// holds the two against each other.
inline constexpr CamModel kCamModels[] = {
    {.name = "VK-400", .functionClass = 0, .ringPlace = 0},
    {.name = "EH-4000", .functionClass = 1, .ringPlace = 1},
    {.name = "VK-405", .functionClass = 2, .ringPlace = 2},
    {.name = "VKC-473", .functionClass = 3, .ringPlace = 3},
    {.name = "VK-470", .functionClass = 4, .ringPlace = 5},  // the ring shows the VKC-475 first
    {.name = "VKC-475", .functionClass = 5, .ringPlace = 4},
    {.name = "VK-473", .functionClass = 6, .ringPlace = 6},
    {.name = "VK-475", .functionClass = 7, .ringPlace = 7},
    {.name = "LS-370", .functionClass = 4, .ringPlace = 8},
    {.name = "LS-373", .functionClass = 6, .ringPlace = 9},
    {.name = "LS-375", .functionClass = 7, .ringPlace = 10},
    {.name = "LSC-373", .functionClass = 3, .ringPlace = 11},
    {.name = "LSC-375", .functionClass = 5, .ringPlace = 12},
};

/// Number of rows in the model table.
inline constexpr int kCamModelCount = static_cast<int>(std::size(kCamModels));

namespace detail {
// A row in the wrong class or two models on one ring place would only show
// on the factory screen; the build stops instead.
constexpr bool CamModelsAreConsistent()
{
    bool placeTaken[kCamModelCount] = {};
    for (int row = 0; row < kCamModelCount; ++row) {
        const CamModel& m = kCamModels[row];
        if (m.functionClass < 0 || m.functionClass > 7) return false;
        if (row <= 7 && m.functionClass != row) return false;
        if (m.ringPlace < 0 || m.ringPlace >= kCamModelCount || placeTaken[m.ringPlace]) return false;
        placeTaken[m.ringPlace] = true;
    }
    return true;
}
}  // namespace detail
static_assert(detail::CamModelsAreConsistent());

/// Size of the buffer that holds a model name reported by the camera.
inline constexpr std::size_t kModelNameSize = 12;

/// Size of the buffers for the firmware and FPGA version texts.
inline constexpr std::size_t kVersionSize = 11;

/// Model names by row.
inline constexpr std::array<const char*, kCamModelCount> g_cam_models = [] {
    std::array<const char*, kCamModelCount> names{};
    for (int row = 0; row < kCamModelCount; ++row) names[row] = kCamModels[row].name;
    return names;
}();

/// Asks the camera its model name (":CAM?").  On COMM_OK the name is copied
/// into model (kModelNameSize bytes; a longer reply is cut to 11 characters);
/// on any other status model is left alone.
int Comm_GetModel(char* model);

/// Row of a model name: exact, case-sensitive match; -1 when nothing matches.
int Comm_ModelRow(std::string_view name);

/// Row of a model name: exact, case-sensitive match; 0 when nothing matches.
int Comm_IdentifyModel(const char* model);

/// Function class of a row that shares another's behaviour (rows 8..12 map
/// to 4, 6, 7, 3, 5); any other row gives g_cam_model_user_idx.
int Comm_FuncEquivalentModel(int row);

/// Tells the camera which model it is (":CAM=" row).
int Comm_SetModel(int row);

/// Firmware version text (":VER?"); on COMM_OK copied into version (size bytes).
int Comm_GetFWVer(char* version, std::size_t size = kVersionSize);

/// FPGA version text (":FPGA?"); on COMM_OK copied into version (size bytes).
int Comm_GetFPGAVer(char* version, std::size_t size = kVersionSize);

/// Records the camera's model: g_cam_model_user_idx = row (a row outside the
/// table counts as 0, like an unknown name) and g_cam_model_idx = its function
/// class.  The one place that writes the two.
void Comm_RecordModel(int row);

/// Comm_RecordModel of the row of name.  A name the table does not know is
/// recorded as row 0 and reported to the unknown-model hook.
void Comm_RecordModelName(const char* name);

/// Told the name of a camera model the table does not know (shown as row 0).
using UnknownModelHook = void (*)(const char* name);
void Comm_SetUnknownModelHook(UnknownModelHook hook);

/// The text that tells the operator: "Unknown camera model 'X'; shown as VK-400".
std::string Comm_UnknownModelText(const char* name);

/// Asks the camera its model (":CAM?") into name (kModelNameSize bytes).  An
/// answer that names no model of the table may be a damaged one, so it is
/// asked again, up to three times in all: a name of the table, or the same
/// unknown name twice, is taken; three different unknown answers are
/// COMM_UNCONFIRMED.  On failure name is left alone.
int Comm_AskModel(char* name);

/// Asks the camera its model (Comm_AskModel) and records it; on failure the
/// recorded model stays as it was.  Returns the status of the model query.
int Comm_QueryAndRecordModel();

/// The name the camera last gave for its model (Comm_AskModel), empty before.
const char* Comm_LastModelName();

/// Whether that name is one of the table's.
bool Comm_LastModelKnown();
