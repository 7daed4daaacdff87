// What each function class of camera has.  Every question of the kind "does
// this camera have X" is answered here, from one table, so that the command
// set, the snapshot, the panels and the settings files cannot disagree.
//
// Function classes are the equivalent model rows 0..7 (Models.h):
//   0 VK-400, 2 VK-405             basic cameras
//   1 EH-4000                      AGC camera: no shutter controls
//   4 VK-470, 6 VK-473, 7 VK-475   monochrome 47x family
//   3 VKC-473, 5 VKC-475           colour 47x family
#pragma once

/// How the main panel is shaped for a class.
enum class MainPanelGroup {
    None,       ///< not a known class
    Basic,      ///< classes 0 and 2
    Agc,        ///< class 1
    Mono47x,    ///< classes 4, 6 and 7
    Colour47x,  ///< classes 3 and 5
};

struct CamClassTraits {
    bool known;                  ///< one of the eight classes
    MainPanelGroup group;        ///< the main panel's shape
    bool agcMode;                ///< gain mode is AMD ("AGC Mode"), not AEC
    bool hasShutter;             ///< shutter speed (SHS) and shutter switch (SHE); not the AGC camera
    bool family47x;              ///< the 47x family: blemish, mirror, shutter limit (SMX), ALC window and
                                 ///< tuning, column defects, identifier texts, the ADVSET_C panel
    bool colour;                 ///< colour processing: colour mode and gains, white balance, YUV
                                 ///< sliders, the colour matrix; no VWC, no trigger input or mode
    bool pedestalInMillivolts;   ///< legacy VPD carries millivolts (otherwise an offset scale)
    bool whiteClipInMillivolts;  ///< VWC carries millivolts (otherwise an offset scale)
    bool hasWhiteClip;           ///< VWC is read and shown
    bool shutterFollowsMode;     ///< the shutter speed locks with automatic mode without asking ESH
    bool splitScreen;            ///< the split-screen overlay
    double minGainDb;            ///< lowest manual and maximum gain
    double maxGainDb;            ///< highest manual and maximum gain
    int minAlcLevel;             ///< lowest ALC level (-1: the laid-out minimum stays)
};

/// The traits of a function class; a class outside 0..7 has none.
const CamClassTraits& Comm_ClassTraits(int functionClass);

/// The traits of the camera's class (g_cam_model_idx).
const CamClassTraits& Comm_CurrentClass();
