// Constants of the user-interface resource "Ulvo_ICCD.uir": its thirteen
// panels, their controls and the main menu bar.  Controls are named
// PANEL_CONTROL and numbered from 2 within each panel.
#pragma once

/// Name under which the resource is registered and loaded.
inline constexpr char kUlvoIccdUir[] = "Ulvo_ICCD.uir";

/// Registers the panels and the menu bar under kUlvoIccdUir.  The program and
/// the tests call it once before loading anything; calling it again is harmless.
void RegisterUlvoIccdResources();

// ---- Panels -----------------------------------------------------------------

inline constexpr int ADVSET = 1;
inline constexpr int ADVSET_C = 2;
inline constexpr int AFEACC = 3;
inline constexpr int CPROC = 4;
inline constexpr int F_SAVESET = 5;
inline constexpr int FTEST = 6;
inline constexpr int LOADPROG = 7;
inline constexpr int LOADSET = 8;
inline constexpr int MAIN = 9;
inline constexpr int MCP_WARN = 10;
inline constexpr int PREF = 11;
inline constexpr int SAVESET = 12;
inline constexpr int SPLITSCRN = 13;
inline constexpr int PRESETS = 14;

// ---- Advanced settings, classes 0 to 2 --------------------------------------

inline constexpr int ADVSET_Z_MAXV = 2;
inline constexpr int ADVSET_Z_COARSE = 3;
inline constexpr int ADVSET_Z_FINE = 4;
inline constexpr int ADVSET_F_MAXV = 5;
inline constexpr int ADVSET_F_COARSE = 6;
inline constexpr int ADVSET_F_FINE = 7;
inline constexpr int ADVSET_TEXTMSG = 8;
inline constexpr int ADVSET_I_MAXV = 9;
inline constexpr int ADVSET_I_COARSE = 10;
inline constexpr int ADVSET_I_FINE = 11;
inline constexpr int ADVSET_VPD = 12;
inline constexpr int ADVSET_VWC = 13;
inline constexpr int ADVSET_MMD = 14;
inline constexpr int ADVSET_MGN = 15;
inline constexpr int ADVSET_MDG = 16;
inline constexpr int ADVSET_MGA = 17;
inline constexpr int ADVSET_MLV = 18;
inline constexpr int ADVSET_MMG = 19;
inline constexpr int ADVSET_MXG = 20;
inline constexpr int ADVSET_MBI = 21;
inline constexpr int ADVSET_BRTBTN = 22;
inline constexpr int ADVSET_BRT = 23;
inline constexpr int ADVSET_MCT = 24;
inline constexpr int ADVSET_OKBUTTON = 25;
inline constexpr int ADVSET_MCPBOX2 = 26;
inline constexpr int ADVSET_MCPBOX = 27;
inline constexpr int ADVSET_DECORATION = 28;
inline constexpr int ADVSET_FPGA_VER = 29;
inline constexpr int ADVSET_FW_VER = 30;
inline constexpr int ADVSET_HOSTVER = 31;
inline constexpr int ADVSET_MODEL = 32;
inline constexpr int ADVSET_DECORATION_13 = 33;
inline constexpr int ADVSET_DECORATION_12 = 34;
inline constexpr int ADVSET_DECORATION_11 = 35;
inline constexpr int ADVSET_MCPTEXT = 36;

// ---- Advanced settings, classes 3 to 7 --------------------------------------

inline constexpr int ADVSET_C_Z_MAXV = 2;
inline constexpr int ADVSET_C_Z_COARSE = 3;
inline constexpr int ADVSET_C_Z_FINE = 4;
inline constexpr int ADVSET_C_F_MAXV = 5;
inline constexpr int ADVSET_C_F_COARSE = 6;
inline constexpr int ADVSET_C_F_FINE = 7;
inline constexpr int ADVSET_C_I_MAXV = 8;
inline constexpr int ADVSET_C_I_COARSE = 9;
inline constexpr int ADVSET_C_I_FINE = 10;
inline constexpr int ADVSET_C_ULTEXT = 11;
inline constexpr int ADVSET_C_WIN_ULX = 12;
inline constexpr int ADVSET_C_WIN_ULY = 13;
inline constexpr int ADVSET_C_LRTEXT = 14;
inline constexpr int ADVSET_C_WIN_LRX = 15;
inline constexpr int ADVSET_C_WIN_LRY = 16;
inline constexpr int ADVSET_C_HWREV = 17;
inline constexpr int ADVSET_C_WINDISP = 18;
inline constexpr int ADVSET_C_ALCMODE = 19;
inline constexpr int ADVSET_C_BRIGHT_SPD = 20;
inline constexpr int ADVSET_C_DARK_SPD = 21;
inline constexpr int ADVSET_C_LOGAVG_WT = 22;
inline constexpr int ADVSET_C_IMPULSE_FLT = 23;
inline constexpr int ADVSET_C_ESHUTTER = 24;
inline constexpr int ADVSET_C_HIGHSEN = 25;
inline constexpr int ADVSET_C_R1 = 26;
inline constexpr int ADVSET_C_G1 = 27;
inline constexpr int ADVSET_C_B1 = 28;
inline constexpr int ADVSET_C_R2 = 29;
inline constexpr int ADVSET_C_G2 = 30;
inline constexpr int ADVSET_C_B2 = 31;
inline constexpr int ADVSET_C_R3 = 32;
inline constexpr int ADVSET_C_G3 = 33;
inline constexpr int ADVSET_C_B3 = 34;
inline constexpr int ADVSET_C_BTH = 35;
inline constexpr int ADVSET_C_BCT = 36;
inline constexpr int ADVSET_C_LOCATEDEFECTS = 37;
inline constexpr int ADVSET_C_CD_ADDR1 = 38;
inline constexpr int ADVSET_C_CD_ADDR2 = 39;
inline constexpr int ADVSET_C_CD_ADDR3 = 40;
inline constexpr int ADVSET_C_CD_ADDR4 = 41;
inline constexpr int ADVSET_C_CDI = 42;
inline constexpr int ADVSET_C_VPS = 43;
inline constexpr int ADVSET_C_VPD = 44;
inline constexpr int ADVSET_C_VWC = 45;
inline constexpr int ADVSET_C_CUSTID = 46;
inline constexpr int ADVSET_C_FACTID = 47;
inline constexpr int ADVSET_C_DATEID = 48;
inline constexpr int ADVSET_C_REVID = 49;
inline constexpr int ADVSET_C_OKBUTTON = 50;
inline constexpr int ADVSET_C_VIDEOBOX = 51;
inline constexpr int ADVSET_C_COLDEFECTFRAME = 52;
inline constexpr int ADVSET_C_BLEMISHBOX = 53;
inline constexpr int ADVSET_C_COLCORR_BOX = 54;
inline constexpr int ADVSET_C_ALCBOX = 55;
inline constexpr int ADVSET_C_ALC_DEC = 56;
inline constexpr int ADVSET_C_DECORATION_13 = 57;
inline constexpr int ADVSET_C_DECORATION_12 = 58;
inline constexpr int ADVSET_C_DECORATION_11 = 59;
inline constexpr int ADVSET_C_HOSTVER = 60;
inline constexpr int ADVSET_C_MODEL = 61;
inline constexpr int ADVSET_C_FW_VER = 62;
inline constexpr int ADVSET_C_FPGA_VER = 63;
inline constexpr int ADVSET_C_COLCORR_TEXT = 64;
inline constexpr int ADVSET_C_CDTXT = 65;
inline constexpr int ADVSET_C_ALCTXT = 66;
inline constexpr int ADVSET_C_ALCWINTEXT = 67;

// ---- AFE access -------------------------------------------------------------

inline constexpr int AFEACC_TEXTMSG = 2;
inline constexpr int AFEACC_AFA = 3;
inline constexpr int AFEACC_AFW = 4;
inline constexpr int AFEACC_SHP = 5;
inline constexpr int AFEACC_SHD = 6;
inline constexpr int AFEACC_DOU = 7;
inline constexpr int AFEACC_RSTPOS = 8;
inline constexpr int AFEACC_RSTNEG = 9;
inline constexpr int AFEACC_OKBUTTON = 10;
inline constexpr int AFEACC_DECORATION = 11;
inline constexpr int AFEACC_DECORATION_2 = 12;
inline constexpr int AFEACC_DECORATION_3 = 13;

// ---- Colour processing ------------------------------------------------------

inline constexpr int CPROC_SHA = 2;
inline constexpr int CPROC_SHG = 3;
inline constexpr int CPROC_SEN = 4;
inline constexpr int CPROC_CRHUE = 5;
inline constexpr int CPROC_CBHUE = 6;
inline constexpr int CPROC_BYSAT = 7;
inline constexpr int CPROC_RYSAT = 8;
inline constexpr int CPROC_DECORATION_3 = 9;
inline constexpr int CPROC_CHUE_LBL = 10;
inline constexpr int CPROC_OKBUTTON = 11;
inline constexpr int CPROC_DECORATION_2 = 12;
inline constexpr int CPROC_DECORATION = 13;
inline constexpr int CPROC_CYSAT_LAB = 14;
inline constexpr int CPROC_BYSAT_LAB = 15;
inline constexpr int CPROC_CSATTXT = 16;
inline constexpr int CPROC_SHPTXT = 17;

// ---- Save settings to file --------------------------------------------------

inline constexpr int F_SAVESET_COMMENT = 2;
inline constexpr int F_SAVESET_OK = 3;
inline constexpr int F_SAVESET_CANCEL = 4;

// ---- Presets: named settings files -----------------------------------------

inline constexpr int PRESETS_LIST = 2;
inline constexpr int PRESETS_RECALL = 3;
inline constexpr int PRESETS_DELETE = 4;
inline constexpr int PRESETS_NAME = 5;
inline constexpr int PRESETS_SAVE = 6;
inline constexpr int PRESETS_CLOSE = 7;
inline constexpr int PRESETS_FOLDER = 8;

// ---- FPGA access ------------------------------------------------------------

inline constexpr int FTEST_FADDR = 2;
inline constexpr int FTEST_FVALUE = 3;
inline constexpr int FTEST_NEWVALUE = 4;
inline constexpr int FTEST_WRITEFPGA = 5;
inline constexpr int FTEST_VAL2E = 6;
inline constexpr int FTEST_VAL30 = 7;
inline constexpr int FTEST_VAL2F = 8;
inline constexpr int FTEST_VAL31 = 9;
inline constexpr int FTEST_OKBUTTON = 10;
// Bit switches of the new value: the constant is 26 minus the bit number.
inline constexpr int FTEST_WR_BIT15 = 11;
inline constexpr int FTEST_WR_BIT14 = 12;
inline constexpr int FTEST_WR_BIT13 = 13;
inline constexpr int FTEST_WR_BIT12 = 14;
inline constexpr int FTEST_WR_BIT11 = 15;
inline constexpr int FTEST_WR_BIT10 = 16;
inline constexpr int FTEST_WR_BIT9 = 17;
inline constexpr int FTEST_WR_BIT8 = 18;
inline constexpr int FTEST_WR_BIT7 = 19;
inline constexpr int FTEST_WR_BIT6 = 20;
inline constexpr int FTEST_WR_BIT5 = 21;
inline constexpr int FTEST_WR_BIT4 = 22;
inline constexpr int FTEST_WR_BIT3 = 23;
inline constexpr int FTEST_WR_BIT2 = 24;
inline constexpr int FTEST_WR_BIT1 = 25;
inline constexpr int FTEST_WR_BIT0 = 26;
inline constexpr int FTEST_DECORATION = 27;
inline constexpr int FTEST_FMX = 28;
// Bit lamps of the value read: bits 8..15 first, then bits 0..7.
inline constexpr int FTEST_RD_BIT8 = 29;
inline constexpr int FTEST_RD_BIT9 = 30;
inline constexpr int FTEST_RD_BIT10 = 31;
inline constexpr int FTEST_RD_BIT11 = 32;
inline constexpr int FTEST_RD_BIT12 = 33;
inline constexpr int FTEST_RD_BIT13 = 34;
inline constexpr int FTEST_RD_BIT14 = 35;
inline constexpr int FTEST_RD_BIT15 = 36;
inline constexpr int FTEST_RD_BIT0 = 37;
inline constexpr int FTEST_RD_BIT1 = 38;
inline constexpr int FTEST_RD_BIT2 = 39;
inline constexpr int FTEST_RD_BIT3 = 40;
inline constexpr int FTEST_RD_BIT4 = 41;
inline constexpr int FTEST_RD_BIT5 = 42;
inline constexpr int FTEST_RD_BIT6 = 43;
inline constexpr int FTEST_RD_BIT7 = 44;
inline constexpr int FTEST_BINLBL = 45;

// ---- Progress of a settings-file load ---------------------------------------

inline constexpr int LOADPROG_MESSAGE = 2;
inline constexpr int LOADPROG_TEXTMSG = 3;
inline constexpr int LOADPROG_PROGRESS = 4;
inline constexpr int LOADPROG_CANCEL = 5;

// ---- Load a camera user set -------------------------------------------------

inline constexpr int LOADSET_CANCEL = 2;
inline constexpr int LOADSET_OKBUTTON = 3;
inline constexpr int LOADSET_SETNO = 4;

// ---- Main panel -------------------------------------------------------------

inline constexpr int MAIN_MODE = 2;
inline constexpr int MAIN_ALV = 3;
inline constexpr int MAIN_AGN = 4;
inline constexpr int MAIN_AMX = 5;
inline constexpr int MAIN_GAM = 6;
inline constexpr int MAIN_VMD = 7;
inline constexpr int MAIN_SHE = 8;
inline constexpr int MAIN_SMX = 9;
inline constexpr int MAIN_SHS = 10;
inline constexpr int MAIN_TIMEMS = 11;
inline constexpr int MAIN_MFI = 12;
inline constexpr int MAIN_WBM = 13;
inline constexpr int MAIN_MFT = 14;
inline constexpr int MAIN_TMD = 15;
inline constexpr int MAIN_DFC = 16;
inline constexpr int MAIN_MIR = 17;
inline constexpr int MAIN_CMD = 18;
inline constexpr int MAIN_CGAIN_RED = 19;
inline constexpr int MAIN_CGAIN_GREEN = 20;
inline constexpr int MAIN_CGAIN_BLUE = 21;
inline constexpr int MAIN_IPH = 22;
inline constexpr int MAIN_ZM_BIGUP = 23;
inline constexpr int MAIN_ZM_BIGDOWN = 24;
inline constexpr int MAIN_ZM_SMALLUP = 25;
inline constexpr int MAIN_ZM_SMALLDOWN = 26;
inline constexpr int MAIN_FOC_BIGUP = 27;
inline constexpr int MAIN_FOC_BIGDOWN = 28;
inline constexpr int MAIN_FOC_SMALLUP = 29;
inline constexpr int MAIN_FOC_SMALLDOWN = 30;
inline constexpr int MAIN_IRC_BIGUP = 31;
inline constexpr int MAIN_IRC_BIGDOWN = 32;
inline constexpr int MAIN_IRC_SMALLUP = 33;
inline constexpr int MAIN_IRC_SMALLDOWN = 34;
inline constexpr int MAIN_MODEL = 35;
inline constexpr int MAIN_AGC_ACCESS = 36;
inline constexpr int MAIN_DFC_ACCESS = 37;
inline constexpr int MAIN_AWB = 38;
inline constexpr int MAIN_REFRESH = 39;
inline constexpr int MAIN_QUIT = 40;
inline constexpr int MAIN_FACBOX = 41;
inline constexpr int MAIN_DECORATION = 42;
inline constexpr int MAIN_DECORATION_4 = 43;
inline constexpr int MAIN_DECORATION_6 = 44;
inline constexpr int MAIN_DEC_VK47X = 45;
inline constexpr int MAIN_AWB_BOX = 46;
inline constexpr int MAIN_DECORATION_9 = 47;
inline constexpr int MAIN_DECORATION_10 = 48;
inline constexpr int MAIN_DECORATION_12 = 49;
inline constexpr int MAIN_REF_ACTIVE = 50;
inline constexpr int MAIN_L1 = 51;
inline constexpr int MAIN_L2 = 52;
inline constexpr int MAIN_L3 = 53;
inline constexpr int MAIN_CGAIN_TXT = 54;
inline constexpr int MAIN_RS232 = 55;
inline constexpr int MAIN_AWB_TXT = 56;
inline constexpr int MAIN_HUE = 57;
inline constexpr int MAIN_VSAT = 58;
inline constexpr int MAIN_USAT = 59;
inline constexpr int MAIN_YGAIN = 60;
inline constexpr int MAIN_MON_PAUSE = 61;
inline constexpr int MAIN_MON_CLEAR = 62;
inline constexpr int MAIN_MON_SAVE = 63;
inline constexpr int MAIN_MON_FILTER = 64;
inline constexpr int MAIN_MON_COMMAND = 65;
inline constexpr int MAIN_MON_SEND = 66;

// ---- MCP warning ------------------------------------------------------------

inline constexpr int MCP_WARN_TEXTMSG = 2;
inline constexpr int MCP_WARN_OKBUTTON = 3;

// ---- Preferences ------------------------------------------------------------

inline constexpr int PREF_LABEL1 = 2;
inline constexpr int PREF_LABEL2 = 3;
inline constexpr int PREF_LABEL3 = 4;
inline constexpr int PREF_COM_LIST = 5;
inline constexpr int PREF_RESETLABELS = 6;
inline constexpr int PREF_OKBUTTON = 7;
inline constexpr int PREF_CANCEL = 8;
// Added by this program: the line's rate, kept in "ICCD.ini".
inline constexpr int PREF_BAUD = 9;
/// The rates the Baud Rate ring offers; a rate the file holds beside them is
/// added while the dialog is open.
inline constexpr int kBaudRates[] = {1200, 2400, 4800, 9600, 19200, 38400, 57600, 115200};

// ---- Save a camera user set -------------------------------------------------

inline constexpr int SAVESET_CANCEL = 2;
inline constexpr int SAVESET_OKBUTTON = 3;
inline constexpr int SAVESET_SETNO = 4;

// ---- Split screen -----------------------------------------------------------

inline constexpr int SPLITSCRN_SSE = 2;
inline constexpr int SPLITSCRN_SSP = 3;
inline constexpr int SPLITSCRN_SSA = 4;
inline constexpr int SPLITSCRN_LFT_TXT = 5;
inline constexpr int SPLITSCRN_SLR = 6;
inline constexpr int SPLITSCRN_SLG = 7;
inline constexpr int SPLITSCRN_SLB = 8;
inline constexpr int SPLITSCRN_SLT = 9;
inline constexpr int SPLITSCRN_LLT = 10;
inline constexpr int SPLITSCRN_RIGHT_TXT = 11;
inline constexpr int SPLITSCRN_SRR = 12;
inline constexpr int SPLITSCRN_SRG = 13;
inline constexpr int SPLITSCRN_SRB = 14;
inline constexpr int SPLITSCRN_SRT = 15;
inline constexpr int SPLITSCRN_RLT = 16;
inline constexpr int SPLITSCRN_OKBUTTON = 17;
inline constexpr int SPLITSCRN_LFTPNL = 18;
inline constexpr int SPLITSCRN_LFTPNL_2 = 19;
inline constexpr int SPLITSCRN_L1 = 20;
inline constexpr int SPLITSCRN_L2 = 21;
inline constexpr int SPLITSCRN_L2_2 = 22;
inline constexpr int SPLITSCRN_L2_3 = 23;
inline constexpr int SPLITSCRN_L2_4 = 24;
// Added by this program: the colour of each half, as its levels mix.
inline constexpr int SPLITSCRN_LEFT_SWATCH = 25;
inline constexpr int SPLITSCRN_RIGHT_SWATCH = 26;

// ---- Main menu bar ----------------------------------------------------------

inline constexpr int MAINMNU = 1;
inline constexpr int MAINMNU_FILE = 2;
inline constexpr int MAINMNU_FILE_SETUP = 3;
inline constexpr int MAINMNU_FILE_LOAD = 4;
inline constexpr int MAINMNU_FILE_SAVESET = 5;
inline constexpr int MAINMNU_FILE_LOADFILE = 6;
inline constexpr int MAINMNU_FILE_SAVEFILE = 7;
inline constexpr int MAINMNU_FILE_SPLIT = 8;
inline constexpr int MAINMNU_FILE_SEPARATOR = 9;
inline constexpr int MAINMNU_FILE_FTEST = 10;
inline constexpr int MAINMNU_FILE_AFEACC = 11;
inline constexpr int MAINMNU_FILE_EXIT = 12;
inline constexpr int MAINMNU_ADVSET = 13;
inline constexpr int MAINMNU_COLORPROC = 14;
// Added by this program: Refresh with its key, and help.
inline constexpr int MAINMNU_VIEW = 15;
inline constexpr int MAINMNU_VIEW_REFRESH = 16;
inline constexpr int MAINMNU_HELP = 17;
inline constexpr int MAINMNU_HELP_GUIDE = 18;
inline constexpr int MAINMNU_HELP_ABOUT = 19;
inline constexpr int MAINMNU_FILE_PRESETS = 20;
/// The last settings files loaded or saved, most recent first; hidden while unused.
inline constexpr int MAINMNU_FILE_RECENTSEP = 21;
inline constexpr int MAINMNU_FILE_RECENT1 = 22;
inline constexpr int kRecentFileItems = 5;  ///< MAINMNU_FILE_RECENT1 .. +4
inline constexpr int MAINMNU_EDIT = 27;
inline constexpr int MAINMNU_EDIT_RESTORE = 28;
