#include "camera/CommandSet.h"
#include "camera/Composite.h"
#include "camera/Globals.h"
#include "settingsfile/SettingsFile.h"

namespace {

using Main = CamMainSettings;
using Adv = CamAdvSettings;

// One step of the load: one transaction, or a group whose last transaction
// decides the step.
struct SendStep {
    int (*send)(const Main& m, const Adv& a);
    bool factoryOnly;  // sent in factory mode only
};

// The camera ID string (unit ID, date code, revision) belongs to the unit:
// a file saved from another camera must not overwrite it, except in factory
// mode where units are set up.
constexpr bool kFactoryOnly = true;

int sendMatrix(const Adv& a)
{
    int status = 0;
    for (int i = 0; i < 9; ++i) status = Comm_SetK(a.k[i], i);
    return status;
}

int sendAlcWindow(const Adv& a)
{
    // The lower-right corner goes first, so that the window never shrinks
    // below its upper-left corner on the way.
    Comm_SetALCWin(a.lrx, 2);
    Comm_SetALCWin(a.lry, 3);
    Comm_SetALCWin(a.ulx, 0);
    return Comm_SetALCWin(a.uly, 1);
}

int sendSplitColours(const Main& m)
{
    Comm_SetSSColor(0, 0, m.slr, m.slt);
    Comm_SetSSColor(0, 1, m.slg, m.slt);
    Comm_SetSSColor(0, 2, m.slb, m.slt);
    Comm_SetSSColor(1, 0, m.srr, m.srt);
    Comm_SetSSColor(1, 1, m.srg, m.srt);
    return Comm_SetSSColor(1, 2, m.srb, m.srt);
}

// Step 37: automatic exposure can only be set while ALC access is granted.
int sendAecWithAccess(const Main& m)
{
    const int status = Comm_SetAGC_Access(1);
    return status != 0 ? status : Comm_SetAEC(m.aec);
}

const SendStep kSteps[] = {
    {[](const Main&, const Adv& a) { return Comm_SetSNO(a.sno); }, kFactoryOnly},  // 1
    {[](const Main&, const Adv& a) { return Comm_SetCID(a.cid); }, false},
    {[](const Main& m, const Adv&) { return Comm_SetAGN(m.agn); }, false},
    {[](const Main& m, const Adv&) { return Comm_SetALV(m.alv); }, false},
    {[](const Main& m, const Adv&) { return Comm_SetAMX(m.amx); }, false},  // 5
    {[](const Main&, const Adv& a) { return Comm_SetBTS(a.bts); }, false},
    {[](const Main& m, const Adv&) { return Comm_SetCGB(m.cgb); }, false},
    {[](const Main& m, const Adv&) { return Comm_SetCGG(m.cgg); }, false},
    {[](const Main& m, const Adv&) { return Comm_SetCGR(m.cgr); }, false},
    {[](const Main& m, const Adv&) { return Comm_SetCMD(m.cmd); }, false},  // 10
    {[](const Main& m, const Adv&) { return Comm_SetDFC(m.dfc); }, false},
    {[](const Main&, const Adv& a) { return Comm_SetESH(a.esh); }, false},
    {[](const Main&, const Adv& a) { return Comm_SetBIN(a.bin); }, false},
    {[](const Main& m, const Adv&) { return Comm_SetDFC_Access(m.dfc_access); }, false},
    {[](const Main&, const Adv& a) { return Comm_SetDKS(a.dks); }, false},  // 15
    {[](const Main& m, const Adv&) { return Comm_SetFOC(m.foc); }, false},
    {[](const Main& m, const Adv&) { return Comm_SetGAM(m.gam); }, false},
    {[](const Main&, const Adv& a) { return Comm_SetIFC(a.ifc); }, false},
    {[](const Main& m, const Adv&) { return Comm_SetIPH(m.iph); }, false},
    {[](const Main& m, const Adv&) { return Comm_SetIRC(m.irc); }, false},  // 20
    {[](const Main&, const Adv& a) { return Comm_SetLAW(a.law); }, false},
    {[](const Main& m, const Adv&) { return Comm_SetMFI(m.mfi); }, false},
    {[](const Main& m, const Adv&) { return Comm_SetMFT(m.mft); }, false},
    {[](const Main& m, const Adv&) { return Comm_SetMIR(m.mir); }, false},
    {[](const Main& m, const Adv&) { return Comm_SetSHE(m.she); }, false},  // 25
    {[](const Main& m, const Adv&) { return Comm_SetSHS(m.shs); }, false},
    {[](const Main& m, const Adv&) { return Comm_SetDOU(m.dou); }, false},
    {[](const Main& m, const Adv&) { return Comm_SetSHD(m.shd); }, false},
    {[](const Main& m, const Adv&) { return Comm_SetSHP(m.shp); }, false},
    {[](const Main& m, const Adv&) { return Comm_SetTMD(m.tmd); }, false},  // 30
    {[](const Main& m, const Adv&) { return Comm_SetVMD(m.vmd); }, false},
    {[](const Main&, const Adv& a) { return Comm_SetVPS(a.vps); }, false},
    {[](const Main&, const Adv& a) { return Comm_SetVPD(a.vpd); }, false},
    {[](const Main&, const Adv& a) { return Comm_SetVWC(a.vwc); }, false},
    {[](const Main& m, const Adv&) { return Comm_SetZMC(m.zmc); }, false},  // 35
    {[](const Main&, const Adv& a) { return Comm_SetALM(a.alm); }, false},
    {[](const Main& m, const Adv&) { return sendAecWithAccess(m); }, false},
    {[](const Main& m, const Adv&) { return Comm_SetSMX(m.smx); }, false},
    {[](const Main& m, const Adv&) { return Comm_SetYGA(m.yga); }, false},
    {[](const Main& m, const Adv&) { return Comm_SetUSA(m.usa); }, false},  // 40
    {[](const Main& m, const Adv&) { return Comm_SetVSA(m.vsa); }, false},
    {[](const Main& m, const Adv&) { return Comm_SetHUE(m.hue); }, false},
    {[](const Main& m, const Adv&) { return Comm_SetAGC_Access(m.agc_access); }, false},
    {[](const Main&, const Adv& a) { return Comm_SetWDS(a.wds); }, false},
    {[](const Main&, const Adv& a) { return sendMatrix(a); }, false},  // 45
    {[](const Main&, const Adv& a) { return sendAlcWindow(a); }, false},
    {[](const Main& m, const Adv&) { return Comm_SetCSAT(m.crsat, 1); }, false},
    {[](const Main& m, const Adv&) { return Comm_SetCSAT(m.cbsat, 0); }, false},
    {[](const Main& m, const Adv&) { return Comm_SetWBM(m.wbm); }, false},
    {[](const Main& m, const Adv&) { return Comm_SetRSE(m.rst_pos, m.rst_neg); }, false},  // 50
    {[](const Main& m, const Adv&) { return Comm_SetSHA(m.sha); }, false},
    {[](const Main& m, const Adv&) { return Comm_SetSEN(m.sen); }, false},
    {[](const Main& m, const Adv&) { return Comm_SetSHG(m.shg); }, false},
    {[](const Main&, const Adv& a) { return Comm_SetCDA(1, a.cd[0]); }, false},
    {[](const Main&, const Adv& a) { return Comm_SetCDA(2, a.cd[1]); }, false},  // 55
    {[](const Main&, const Adv& a) { return Comm_SetCDA(3, a.cd[2]); }, false},
    {[](const Main&, const Adv& a) { return Comm_SetCDA(4, a.cd[3]); }, false},
    {[](const Main&, const Adv& a) { return Comm_SetCDI(a.cdi); }, false},
    {[](const Main& m, const Adv&) { return Comm_SetSSE(m.sse); }, false},
    {[](const Main& m, const Adv&) { return Comm_SetSSPosThick(m.ssp, m.llt, m.rlt); }, false},  // 60
    {[](const Main& m, const Adv&) { return Comm_SetSSA(m.ssa); }, false},
    {[](const Main& m, const Adv&) { return sendSplitColours(m); }, false},
    {[](const Main& m, const Adv&) { return Comm_SetCBH(m.cbh); }, false},
    {[](const Main& m, const Adv&) { return Comm_SetCRH(m.crh); }, false},  // 64
};
static_assert(std::size(kSteps) == 64, "a settings file is sent in 64 steps");

}  // namespace

int F_LoadSet_SendSettings(const CamMainSettings* main, const CamAdvSettings* adv, int* failures)
{
    int count = 0;
    for (const SendStep& step : kSteps) {
        if (step.factoryOnly && g_prog_type == 0) continue;
        if (step.send(*main, *adv) == 0) continue;
        ++count;
        if (count > kSettingsFailureLimit) break;
    }
    if (failures) *failures = count;
    return count > kSettingsFailureLimit ? 1 : 0;
}
