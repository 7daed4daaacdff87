// Opening the Advanced Settings panel: loading the variant of the camera's
// class, filling it from the camera, and closing it.
#include <algorithm>
#include <string>

#include "camera/ClassTraits.h"
#include "camera/CommandSet.h"
#include "camera/Composite.h"
#include "camera/FailureText.h"
#include "camera/Globals.h"
#include "camera/Link.h"
#include "camera/LinkQueue.h"
#include "camera/Models.h"
#include "camera/Snapshot.h"
#include "panels/AdvSetPnl.h"
#include "panels/AdvSetPnlInternal.h"
#include "panels/ConfirmedValues.h"
#include "panels/PanelCommit.h"
#include "panels/PanelGlobals.h"
#include "panels/StatusLine.h"
#include "platform/Version.h"

int g_advset_panel = 0;

namespace advpnl {

namespace {

constexpr char kQueryFailed[] = "Failure querying camera for factory settings.\n";

// The name the pass reports the field by.
const char* nameOf(const CamAdvSettings& rec, const void* field)
{
    const auto offset =
        static_cast<std::size_t>(static_cast<const char*>(field) - reinterpret_cast<const char*>(&rec));
    for (const SettingsField& f : AdvSettingsFields())
        if (f.offset == offset) return f.name;
    return "";
}

bool filledFor(const Binding& b, const CamClassTraits& t, int dfcAccess)
{
    switch (b.fill) {
        case Fill::Never:
            return false;
        case Fill::Always:
            return true;
        case Fill::DefectAccess:
            return dfcAccess != 0;
        case Fill::Colour:
            return t.colour;
        case Fill::PedestalSwitch:
            return t.colour && g_hardware_rev == 0;
        case Fill::WhiteClip:
            return t.hasWhiteClip;
    }
    return false;
}

void showField(int panel, const Binding& b, const void* field)
{
    ShowCameraValue(panel, b.control,
                    b.field.real ? static_cast<double>(*static_cast<const float*>(field))
                                 : *static_cast<const int*>(field));
}

void showText(int panel, int control, const std::string& text)
{
    SetCtrlVal(panel, control, text);
    NoteConfirmedValue(panel, control);
}

// The 47x cameras' identification and blemish access, which the panel asks for
// itself.  Returns the status of the first query that failed.
int showIdentification(int panel)
{
    int firstFailure = COMM_OK;
    auto note = [&firstFailure](int status) {
        if (firstFailure == COMM_OK) firstFailure = status;
        return status == COMM_OK;
    };
    SetCtrlVal(panel, ADVSET_C_HWREV, g_hardware_rev);

    char text[kIdTextSize] = {};
    const int unit = Comm_GetSNO(text);
    note(unit);
    const std::string id = text;
    auto part = [&id](std::size_t from, std::size_t length) {
        return from < id.size() ? id.substr(from, length) : std::string();
    };
    const struct {
        int control;
        std::size_t from, length;
    } parts[] = {{ADVSET_C_FACTID, 0, 6}, {ADVSET_C_DATEID, 6, 8}, {ADVSET_C_REVID, 14, 2}};
    for (const auto& p : parts) {
        if (unit == COMM_OK)
            showText(panel, p.control, part(p.from, p.length));
        else
            ShowUnread(panel, p.control, unit);
    }
    char customer[kIdTextSize] = {};
    const int cid = Comm_GetCID(customer);
    if (note(cid))
        showText(panel, ADVSET_C_CUSTID, customer);
    else
        ShowUnread(panel, ADVSET_C_CUSTID, cid);

    // Without an answer the blemish controls are locked, as without access.
    int access = 0;
    if (!note(Comm_GetDFC_Access(&access))) access = 0;
    AdvState(panel).dfcAccess = access;
    return firstFailure;
}

}  // namespace

}  // namespace advpnl

using namespace advpnl;

int AdvSetPnl_Display(CamAdvSettings* rec, const SnapshotStats* stats)
{
    const int panel = g_advset_panel;
    if (panel <= 0 || !rec) return COMM_OK;
    const int resource = AdvPanelResource();
    const bool of47x = resource == ADVSET_C;
    const CamClassTraits& t = Comm_CurrentClass();
    auto failure = [stats](const char* field) { return stats ? stats->fieldFailure(field) : COMM_OK; };

    // The one version the build sets, as About and --version give it.
    SetCtrlVal(panel, of47x ? ADVSET_C_HOSTVER : ADVSET_HOSTVER, ProgramVersion());
    const int row = std::clamp(g_cam_model_user_idx, 0, kCamModelCount - 1);
    SetCtrlVal(panel, of47x ? ADVSET_C_MODEL : ADVSET_MODEL, g_cam_models[row]);
    const struct {
        const char* field;
        int control;
        const char* text;
    } versions[] = {{"fw_ver", of47x ? ADVSET_C_FW_VER : ADVSET_FW_VER, rec->fw_ver},
                    {"fpga_ver", of47x ? ADVSET_C_FPGA_VER : ADVSET_FPGA_VER, rec->fpga_ver}};
    for (const auto& v : versions) {
        if (const int failed = failure(v.field))
            ShowUnread(panel, v.control, failed);
        else
            SetCtrlVal(panel, v.control, v.text);
    }

    const int status = of47x ? showIdentification(panel) : COMM_OK;
    AdvRuleState& state = AdvState(panel);

    for (const Binding& b : AdvBindings(resource)) {
        if (b.global) {
            SetCtrlVal(panel, b.control, static_cast<double>(*b.global));
            continue;
        }
        if (!b.field.advanced || !filledFor(b, t, state.dfcAccess)) continue;
        const void* field = b.field.advanced(*rec);
        if (const int failed = failure(nameOf(*rec, field))) {
            ShowUnread(panel, b.control, failed);
            continue;
        }
        showField(panel, b, field);
        if (b.control == ADVSET_C_VPS) state.vps = rec->vps;
    }
    ApplyAdvRules(panel);
    ShowUnreadCount(panel);
    return status;
}

int AdvSetInit()
{
    if (g_com_port == 0) return 0;
    CamAdvSettings rec{};
    SnapshotStats stats;
    const int pass = Comm_QueryAdvanced(&rec, &stats);
    const int own = AdvSetPnl_Display(&rec, &stats);
    if (pass == 0 && !stats.anyFailed() && own == COMM_OK) return 0;
    const int status = stats.lastFailure != COMM_OK ? stats.lastFailure : own;
    MessagePopup("ERROR", (std::string(kQueryFailed) + Comm_FailureText(status)).c_str());
    return 1;
}

namespace {

int fillAdvancedSettings()
{
    Advpnl_ConfigForModel();
    return AdvSetInit();
}

void closeAdvancedSettings(int panel)
{
    CloseCameraPopup(panel);
    ForgetAdvState(panel);
}

}  // namespace

void AdvSetPnl_RegisterCallbacks()
{
    panelbind::RegisterBindings(ADVSET, AdvBindings(ADVSET));
    panelbind::RegisterBindings(ADVSET_C, AdvBindings(ADVSET_C));
    RegisterCameraPopup(MAINMNU_ADVSET, {ADVSET, &g_advset_panel, true, true, fillAdvancedSettings,
                                         AdvPanelResource, closeAdvancedSettings});
    RegisterUiCallback("MMnu_AdvSetCallback", CameraPopupMenuCallback);
    for (const char* name : {"AdvSetPnl_ValCallback", "AdvSetCPnl_ValCallback"})
        RegisterUiCallback(name, panelbind::BoundValueCallback);
    for (const char* name : {"AdvSetPnl_OKCallback", "AdvSetPnl_PnlCallback"})
        RegisterUiCallback(name, CameraPopupCloseCallback);
}
