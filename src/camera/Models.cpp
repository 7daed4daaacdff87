#include "camera/Models.h"

#include <cstring>

#include "camera/Globals.h"
#include "camera/Link.h"

// A reply longer than the model buffer is cut to 11 characters; no model name
// is that long, so a cut reply always reads as an unknown model.
int Comm_GetModel(char* model)
{
    return Comm_GetText(":CAM?\r", model, kModelNameSize);
}

int Comm_ModelRow(std::string_view name)
{
    for (int row = 0; row < kCamModelCount; ++row)
        if (name == g_cam_models[row]) return row;
    return -1;
}

int Comm_IdentifyModel(const char* model)
{
    const int row = Comm_ModelRow(model);
    return row < 0 ? 0 : row;
}

int Comm_FuncEquivalentModel(int row)
{
    // Only ever called with the user row itself, so a row that is its own
    // class answers with the recorded one.
    if (row >= 0 && row < kCamModelCount && kCamModels[row].functionClass != row)
        return kCamModels[row].functionClass;
    return g_cam_model_user_idx;
}

int Comm_SetModel(int row)
{
    return Comm_SetIntVal(":CAM=", row);
}

int Comm_GetFWVer(char* version, std::size_t size)
{
    return Comm_GetText(":VER?\r", version, size);
}

int Comm_GetFPGAVer(char* version, std::size_t size)
{
    return Comm_GetText(":FPGA?\r", version, size);
}

void Comm_RecordModel(int row)
{
    g_cam_model_user_idx = row >= 0 && row < kCamModelCount ? row : 0;
    g_cam_model_idx = Comm_FuncEquivalentModel(g_cam_model_user_idx);
}

namespace {
UnknownModelHook s_unknown_model_hook = nullptr;
}  // namespace

void Comm_RecordModelName(const char* name)
{
    const int row = Comm_ModelRow(name);
    // Behaving as the first model is a guess the operator must hear about:
    // whatever answered may be no camera of ours at all.
    if (row < 0 && s_unknown_model_hook) s_unknown_model_hook(name);
    Comm_RecordModel(row < 0 ? 0 : row);
}

void Comm_SetUnknownModelHook(UnknownModelHook hook)
{
    s_unknown_model_hook = hook;
}

std::string Comm_UnknownModelText(const char* name)
{
    return std::string("Unknown camera model '") + name + "'; shown as " + g_cam_models[0];
}

namespace {
char s_last_model_name[kModelNameSize] = "";
}  // namespace

int Comm_AskModel(char* name)
{
    // A name of the table is taken at once; an unknown one may be a damaged
    // reply, so it is taken only once two readings agree.
    char readings[3][kModelNameSize] = {};
    int taken = -1;
    for (int n = 0; n < 3 && taken < 0; ++n) {
        const int status = Comm_GetModel(readings[n]);
        if (status != COMM_OK) return status;
        if (Comm_ModelRow(readings[n]) >= 0) taken = n;
        for (int earlier = 0; earlier < n && taken < 0; ++earlier)
            if (std::strcmp(readings[earlier], readings[n]) == 0) taken = n;
    }
    if (taken < 0) return COMM_UNCONFIRMED;
    std::memcpy(s_last_model_name, readings[taken], kModelNameSize);
    std::memcpy(name, readings[taken], kModelNameSize);
    return COMM_OK;
}

const char* Comm_LastModelName()
{
    return s_last_model_name;
}

bool Comm_LastModelKnown()
{
    return Comm_ModelRow(s_last_model_name) >= 0;
}

int Comm_QueryAndRecordModel()
{
    char name[kModelNameSize] = "";
    const int status = Comm_AskModel(name);
    if (status == COMM_OK) Comm_RecordModelName(name);
    return status;
}
