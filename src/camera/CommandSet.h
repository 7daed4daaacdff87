// The camera's named commands: one Comm_Get / Comm_Set function per mnemonic
// and direction, each a single call into the get or set of its row
// (CommandTable.h), which converts by the row's rule.  Int functions carry the
// count itself (the angle aside); float functions work in the user unit of the
// row's rule (Conversions.h).  The pieces of composite settings (the
// split-screen line, the ALC window, the colour matrix ...) have their
// functions in Composite.h.
//
// Rules common to every function:
// - the result is the transaction's status code (CamTypes.h);
// - a set sends one line and does not check the range;
// - an integer get leaves *value untouched when the query fails; a converting
//   get always writes the user value of the count it read, which stays 0 when
//   the query fails (0.0 dB, factor 1.0, colour gain 0.001 ...);
// - while another transaction waits, a get or set sends nothing, writes
//   nothing and returns COMM_BUSY.
#pragma once

#include "camera/CommandTable.h"

// clang-format off
inline int Comm_GetAEC(int* value) { return Comm_GetInt(kCommAEC, value); }
inline int Comm_SetAEC(int value) { return Comm_SetInt(kCommAEC, value); }
inline int Comm_GetAFA(int* value) { return Comm_GetInt(kCommAFA, value); }
inline int Comm_SetAFA(int value) { return Comm_SetInt(kCommAFA, value); }
inline int Comm_SetAFW(int value) { return Comm_SetInt(kCommAFW, value); }
inline int Comm_GetAGN(float* value) { return Comm_GetReal(kCommAGN, value); }
inline int Comm_SetAGN(float value) { return Comm_SetReal(kCommAGN, value); }
inline int Comm_GetALM(int* value) { return Comm_GetInt(kCommALM, value); }
inline int Comm_SetALM(int value) { return Comm_SetInt(kCommALM, value); }
inline int Comm_GetALV(int* value) { return Comm_GetInt(kCommALV, value); }
inline int Comm_SetALV(int value) { return Comm_SetInt(kCommALV, value); }
inline int Comm_GetAMD(int* value) { return Comm_GetInt(kCommAMD, value); }
inline int Comm_SetAMD(int value) { return Comm_SetInt(kCommAMD, value); }
inline int Comm_GetAMGO(int* value) { return Comm_GetInt(kCommAMGO, value); }
inline int Comm_SetAMGO(int value) { return Comm_SetInt(kCommAMGO, value); }
inline int Comm_GetAMGS(int* value) { return Comm_GetInt(kCommAMGS, value); }
inline int Comm_SetAMGS(int value) { return Comm_SetInt(kCommAMGS, value); }
inline int Comm_GetAMX(float* value) { return Comm_GetReal(kCommAMX, value); }
inline int Comm_SetAMX(float value) { return Comm_SetReal(kCommAMX, value); }
inline int Comm_GetAWW(int* value) { return Comm_GetInt(kCommAWW, value); }
inline int Comm_SetAWW(int value) { return Comm_SetInt(kCommAWW, value); }
inline int Comm_GetBCT(int* value) { return Comm_GetInt(kCommBCT, value); }
inline int Comm_GetBIN(int* value) { return Comm_GetInt(kCommBIN, value); }
inline int Comm_SetBIN(int value) { return Comm_SetInt(kCommBIN, value); }
inline int Comm_GetBTH(float* value) { return Comm_GetReal(kCommBTH, value); }
inline int Comm_SetBTH(float value) { return Comm_SetReal(kCommBTH, value); }
inline int Comm_GetBTS(int* value) { return Comm_GetInt(kCommBTS, value); }
inline int Comm_SetBTS(int value) { return Comm_SetInt(kCommBTS, value); }
inline int Comm_GetCBH(float* value) { return Comm_GetReal(kCommCBH, value); }
inline int Comm_SetCBH(float value) { return Comm_SetReal(kCommCBH, value); }
inline int Comm_GetCDI(int* value) { return Comm_GetInt(kCommCDI, value); }
inline int Comm_SetCDI(int value) { return Comm_SetInt(kCommCDI, value); }
inline int Comm_GetCFA(int* value) { return Comm_GetInt(kCommCFA, value); }
inline int Comm_SetCFA(int value) { return Comm_SetInt(kCommCFA, value); }
inline int Comm_GetCFG(float* value) { return Comm_GetReal(kCommCFG, value); }
inline int Comm_SetCFG(float value) { return Comm_SetReal(kCommCFG, value); }
inline int Comm_GetCFT(int* value) { return Comm_GetInt(kCommCFT, value); }
inline int Comm_SetCFT(int value) { return Comm_SetInt(kCommCFT, value); }
inline int Comm_GetCGB(float* value) { return Comm_GetReal(kCommCGB, value); }
inline int Comm_SetCGB(float value) { return Comm_SetReal(kCommCGB, value); }
inline int Comm_GetCGG(float* value) { return Comm_GetReal(kCommCGG, value); }
inline int Comm_SetCGG(float value) { return Comm_SetReal(kCommCGG, value); }
inline int Comm_GetCGR(float* value) { return Comm_GetReal(kCommCGR, value); }
inline int Comm_SetCGR(float value) { return Comm_SetReal(kCommCGR, value); }
inline int Comm_GetCMD(int* value) { return Comm_GetInt(kCommCMD, value); }
inline int Comm_SetCMD(int value) { return Comm_SetInt(kCommCMD, value); }
inline int Comm_GetCRH(float* value) { return Comm_GetReal(kCommCRH, value); }
inline int Comm_SetCRH(float value) { return Comm_SetReal(kCommCRH, value); }
inline int Comm_GetDFC(int* value) { return Comm_GetInt(kCommDFC, value); }
inline int Comm_SetDFC(int value) { return Comm_SetInt(kCommDFC, value); }
inline int Comm_GetDKS(int* value) { return Comm_GetInt(kCommDKS, value); }
inline int Comm_SetDKS(int value) { return Comm_SetInt(kCommDKS, value); }
inline int Comm_GetDOU(int* value) { return Comm_GetInt(kCommDOU, value); }
inline int Comm_SetDOU(int value) { return Comm_SetInt(kCommDOU, value); }
inline int Comm_GetESH(int* value) { return Comm_GetInt(kCommESH, value); }
inline int Comm_SetESH(int value) { return Comm_SetInt(kCommESH, value); }
inline int Comm_GetFMX(int* value) { return Comm_GetInt(kCommFMX, value); }
inline int Comm_SetFMX(int value) { return Comm_SetInt(kCommFMX, value); }
inline int Comm_GetFOC(float* value) { return Comm_GetReal(kCommFOC, value); }
inline int Comm_SetFOC(float value) { return Comm_SetReal(kCommFOC, value); }
inline int Comm_GetFOCO(int* value) { return Comm_GetInt(kCommFOCO, value); }
inline int Comm_SetFOCO(int value) { return Comm_SetInt(kCommFOCO, value); }
inline int Comm_GetFOCS(int* value) { return Comm_GetInt(kCommFOCS, value); }
inline int Comm_SetFOCS(int value) { return Comm_SetInt(kCommFOCS, value); }
inline int Comm_GetFPA(int* value) { return Comm_GetInt(kCommFPA, value); }
inline int Comm_SetFPA(int value) { return Comm_SetInt(kCommFPA, value); }
inline int Comm_GetFPR(int* value) { return Comm_GetInt(kCommFPR, value); }
inline int Comm_SetFPR(int value) { return Comm_SetInt(kCommFPR, value); }
inline int Comm_GetGAM(int* value) { return Comm_GetInt(kCommGAM, value); }
inline int Comm_SetGAM(int value) { return Comm_SetInt(kCommGAM, value); }
inline int Comm_GetGSL(int* value) { return Comm_GetInt(kCommGSL, value); }
inline int Comm_SetGSL(int value) { return Comm_SetInt(kCommGSL, value); }
inline int Comm_GetHUE(float* value) { return Comm_GetReal(kCommHUE, value); }
inline int Comm_SetHUE(float value) { return Comm_SetReal(kCommHUE, value); }
inline int Comm_GetHWR(int* value) { return Comm_GetInt(kCommHWR, value); }
inline int Comm_GetIFC(int* value) { return Comm_GetInt(kCommIFC, value); }
inline int Comm_SetIFC(int value) { return Comm_SetInt(kCommIFC, value); }
inline int Comm_GetIPH(int* value) { return Comm_GetInt(kCommIPH, value); }
inline int Comm_SetIPH(int value) { return Comm_SetInt(kCommIPH, value); }
inline int Comm_GetIRC(float* value) { return Comm_GetReal(kCommIRC, value); }
inline int Comm_SetIRC(float value) { return Comm_SetReal(kCommIRC, value); }
inline int Comm_GetIRCO(int* value) { return Comm_GetInt(kCommIRCO, value); }
inline int Comm_SetIRCO(int value) { return Comm_SetInt(kCommIRCO, value); }
inline int Comm_GetIRCS(int* value) { return Comm_GetInt(kCommIRCS, value); }
inline int Comm_SetIRCS(int value) { return Comm_SetInt(kCommIRCS, value); }
inline int Comm_GetLAW(int* value) { return Comm_GetInt(kCommLAW, value); }
inline int Comm_SetLAW(int value) { return Comm_SetInt(kCommLAW, value); }
inline int Comm_GetMFI(int* value) { return Comm_GetInt(kCommMFI, value); }
inline int Comm_SetMFI(int value) { return Comm_SetInt(kCommMFI, value); }
inline int Comm_GetMFT(int* value) { return Comm_GetInt(kCommMFT, value); }
inline int Comm_SetMFT(int value) { return Comm_SetInt(kCommMFT, value); }
inline int Comm_GetMGF(int* value) { return Comm_GetInt(kCommMGF, value); }
inline int Comm_SetMGF(int value) { return Comm_SetInt(kCommMGF, value); }
inline int Comm_GetMIR(int* value) { return Comm_GetInt(kCommMIR, value); }
inline int Comm_SetMIR(int value) { return Comm_SetInt(kCommMIR, value); }
inline int Comm_GetMMGO(int* value) { return Comm_GetInt(kCommMMGO, value); }
inline int Comm_SetMMGO(int value) { return Comm_SetInt(kCommMMGO, value); }
inline int Comm_GetMMGS(int* value) { return Comm_GetInt(kCommMMGS, value); }
inline int Comm_SetMMGS(int value) { return Comm_SetInt(kCommMMGS, value); }
inline int Comm_GetRST(int* value) { return Comm_GetInt(kCommRST, value); }
inline int Comm_SetRST(int value) { return Comm_SetInt(kCommRST, value); }
inline int Comm_GetAGC_Access(int* value) { return Comm_GetInt(kCommSB1, value); }
inline int Comm_SetAGC_Access(int value) { return Comm_SetInt(kCommSB1, value); }
inline int Comm_GetDFC_Access(int* value) { return Comm_GetInt(kCommSB2, value); }
inline int Comm_SetDFC_Access(int value) { return Comm_SetInt(kCommSB2, value); }
inline int Comm_GetSEN(int* value) { return Comm_GetInt(kCommSEN, value); }
inline int Comm_SetSEN(int value) { return Comm_SetInt(kCommSEN, value); }
inline int Comm_GetSHA(int* value) { return Comm_GetInt(kCommSHA, value); }
inline int Comm_SetSHA(int value) { return Comm_SetInt(kCommSHA, value); }
inline int Comm_GetSHD(int* value) { return Comm_GetInt(kCommSHD, value); }
inline int Comm_SetSHD(int value) { return Comm_SetInt(kCommSHD, value); }
inline int Comm_GetSHE(int* value) { return Comm_GetInt(kCommSHE, value); }
inline int Comm_SetSHE(int value) { return Comm_SetInt(kCommSHE, value); }
inline int Comm_GetSHG(float* value) { return Comm_GetReal(kCommSHG, value); }
inline int Comm_SetSHG(float value) { return Comm_SetReal(kCommSHG, value); }
inline int Comm_GetSHP(int* value) { return Comm_GetInt(kCommSHP, value); }
inline int Comm_SetSHP(int value) { return Comm_SetInt(kCommSHP, value); }
inline int Comm_GetSHS(int* value) { return Comm_GetInt(kCommSHS, value); }
inline int Comm_SetSHS(int value) { return Comm_SetInt(kCommSHS, value); }
inline int Comm_GetSHT(int* value) { return Comm_GetInt(kCommSHT, value); }
inline int Comm_SetSHT(int value) { return Comm_SetInt(kCommSHT, value); }
inline int Comm_GetSMX(int* value) { return Comm_GetInt(kCommSMX, value); }
inline int Comm_SetSMX(int value) { return Comm_SetInt(kCommSMX, value); }
inline int Comm_GetSSE(int* value) { return Comm_GetInt(kCommSSE, value); }
inline int Comm_SetSSE(int value) { return Comm_SetInt(kCommSSE, value); }
inline int Comm_GetSSX(int* value) { return Comm_GetInt(kCommSSX, value); }
inline int Comm_GetTMD(int* value) { return Comm_GetInt(kCommTMD, value); }
inline int Comm_SetTMD(int value) { return Comm_SetInt(kCommTMD, value); }
inline int Comm_GetUSA(float* value) { return Comm_GetReal(kCommUSA, value); }
inline int Comm_SetUSA(float value) { return Comm_SetReal(kCommUSA, value); }
inline int Comm_GetVMD(int* value) { return Comm_GetInt(kCommVMD, value); }
inline int Comm_SetVMD(int value) { return Comm_SetInt(kCommVMD, value); }
inline int Comm_GetVPD(float* value) { return Comm_GetReal(kCommVPD, value); }
inline int Comm_SetVPD(float value) { return Comm_SetReal(kCommVPD, value); }
inline int Comm_GetVPS(int* value) { return Comm_GetInt(kCommVPS, value); }
inline int Comm_SetVPS(int value) { return Comm_SetInt(kCommVPS, value); }
inline int Comm_GetVSA(float* value) { return Comm_GetReal(kCommVSA, value); }
inline int Comm_SetVSA(float value) { return Comm_SetReal(kCommVSA, value); }
inline int Comm_GetVWC(float* value) { return Comm_GetReal(kCommVWC, value); }
inline int Comm_SetVWC(float value) { return Comm_SetReal(kCommVWC, value); }
inline int Comm_GetWBM(int* value) { return Comm_GetInt(kCommWBM, value); }
inline int Comm_SetWBM(int value) { return Comm_SetInt(kCommWBM, value); }
inline int Comm_GetWDS(int* value) { return Comm_GetInt(kCommWDS, value); }
inline int Comm_SetWDS(int value) { return Comm_SetInt(kCommWDS, value); }
inline int Comm_GetWXN(int* value) { return Comm_GetInt(kCommWXN, value); }
inline int Comm_GetWXX(int* value) { return Comm_GetInt(kCommWXX, value); }
inline int Comm_GetWYN(int* value) { return Comm_GetInt(kCommWYN, value); }
inline int Comm_GetWYX(int* value) { return Comm_GetInt(kCommWYX, value); }
inline int Comm_GetYGA(float* value) { return Comm_GetReal(kCommYGA, value); }
inline int Comm_SetYGA(float value) { return Comm_SetReal(kCommYGA, value); }
inline int Comm_GetZMC(float* value) { return Comm_GetReal(kCommZMC, value); }
inline int Comm_SetZMC(float value) { return Comm_SetReal(kCommZMC, value); }
inline int Comm_GetZMCO(int* value) { return Comm_GetInt(kCommZMCO, value); }
inline int Comm_SetZMCO(int value) { return Comm_SetInt(kCommZMCO, value); }
inline int Comm_GetZMCS(int* value) { return Comm_GetInt(kCommZMCS, value); }
inline int Comm_SetZMCS(int value) { return Comm_SetInt(kCommZMCS, value); }
// clang-format on

/// Tells the camera to keep its live settings as its factory defaults
/// (":WFAC=0").  Busy: COMM_BUSY, nothing sent.
int Comm_SaveDefaults();
