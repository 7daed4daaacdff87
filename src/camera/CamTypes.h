// Status codes shared by every camera operation, and the two settings records
// a snapshot fills.
#pragma once

/// Result of a camera transaction.
enum CommStatus {
    COMM_OK = 0,            ///< reply accepted
    COMM_TIMEOUT = 1,       ///< no complete reply line within the time limit
    COMM_NAK = 2,           ///< the camera refused the command
    COMM_UNRECOGNIZED = 3,  ///< reply neither acceptance nor refusal, or lacks its mnemonic
    COMM_BUSY = 4,          ///< refused: another transaction is in flight; nothing was sent
    COMM_LINK_LOST = 5,     ///< the port could not be written: the device was removed or closed
    COMM_UNCONFIRMED = 6,   ///< a stray line put the reply in doubt, and reading back could not settle it
};

/// Settings shown on the main panel (with colour processing, AFE and split
/// screen).  Counts are int, user values float in the unit of their command.
/// The caller zero-initialises it; a snapshot writes only the fields it
/// queries for the camera's function class.
struct CamMainSettings {
    int aec;            ///< ALC mode: 0 Manual, 1 Automatic
    float agn;          ///< manual gain, dB
    int alv;            ///< ALC level
    int amd;            ///< AGC mode of the EH-4000 class
    float amx;          ///< ALC maximum gain, dB
    int awb;            ///< never queried; stays 0
    int aww;            ///< AWW count
    float cgb;          ///< colour gain blue
    float cgg;          ///< colour gain green
    float cgr;          ///< colour gain red
    int cmd;            ///< colour mode: 0 Mono, 1 Color
    int dfc;            ///< white blemish compensation
    float foc;          ///< focus control, V
    int iph;            ///< interpolator phase
    float irc;          ///< iris control, V
    int gam;            ///< gamma: 0 = 1.0, 1 = 0.45
    int mfi;            ///< input: 0 VD, 1 CSYNC, 2 trigger
    int mir;            ///< mirror image
    int mft;            ///< termination: 0 Hi Z, 1 75 ohm
    int agc_access;     ///< ALC user access (SB1)
    int dfc_access;     ///< blemish user access (SB2)
    int she;            ///< shutter control
    int shs;            ///< shutter speed, lines
    int smx;            ///< ALC maximum shutter speed, lines
    int tmd;            ///< trigger mode
    int vmd;            ///< vertical mode: 0 Frame, 1 Field
    float yga;          ///< Y gain, %
    float usa;          ///< U saturation, %
    float vsa;          ///< V saturation, %
    float hue;          ///< hue, %
    float zmc;          ///< zoom control, V
    int wbm;            ///< white balance mode
    int dou;            ///< AFE data-out phase
    int shd;            ///< AFE SHD
    int shp;            ///< AFE SHP
    float crsat;        ///< Cr saturation, factor 1.0 .. 2.0
    float cbsat;        ///< Cb saturation, factor 1.0 .. 2.0
    int rst_pos;        ///< AFE reset positive edge
    int rst_neg;        ///< AFE reset negative edge
    int sha;            ///< sharpening
    int sen;            ///< sharpening mode: 0 Standard, 1 Enhanced
    float shg;          ///< sharpening gain, factor 1.0 .. 2.0
    int sse;            ///< split screen on
    int ssp;            ///< split position, %
    int llt;            ///< left line thickness, %
    int rlt;            ///< right line thickness, %
    int ssa;            ///< split angle, degrees
    int slt;            ///< left transparency, %
    int srt;            ///< right transparency, %
    int slr, slg, slb;  ///< left colour levels
    int srr, srg, srb;  ///< right colour levels
    float cbh;          ///< Cb hue, degrees (hardware revision 1 only)
    float crh;          ///< Cr hue, degrees (hardware revision 1 only)
};

/// Settings shown on the advanced panel: versions, video levels, ALC tuning,
/// colour correction, blemish and column-defect data, identifier texts.
struct CamAdvSettings {
    char fw_ver[11];         ///< firmware version text
    char fpga_ver[13];       ///< FPGA version text
    float bth;               ///< blemish threshold, %
    int bct;                 ///< blemish count
    int vps;                 ///< video pedestal feature
    float vpd;               ///< video pedestal, mV
    float vwc;               ///< video white clip, mV
    int wds;                 ///< ALC window display
    int bts;                 ///< ALC bright speed
    int dks;                 ///< ALC dark speed
    int law;                 ///< ALC log-average weight
    int ifc;                 ///< ALC impulse filter
    int alm;                 ///< ALC metering mode
    float k[9];              ///< colour matrix KR1, KG1, KB1, KR2, KG2, KB2, KR3, KG3, KB3
    int ulx, uly, lrx, lry;  ///< ALC window corners
    int esh;                 ///< electronic shutter
    int bin;                 ///< high sensitivity mode
    int cd[4];               ///< column-defect addresses 1..4
    int cdi;                 ///< column-defect indicator
    char sno[17];            ///< camera ID string
    char cid[17];            ///< customer ID string
};
