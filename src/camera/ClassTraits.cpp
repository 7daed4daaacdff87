#include "camera/ClassTraits.h"

#include "camera/Globals.h"

namespace {

using G = MainPanelGroup;

// Some sensors' gain starts at 3 dB; in all else they are their family.
constexpr CamClassTraits WithMinGain(CamClassTraits traits, double minGainDb)
{
    traits.minGainDb = minGainDb;
    return traits;
}

constexpr CamClassTraits kBasic{
    .known = true,
    .group = G::Basic,
    .agcMode = false,
    .hasShutter = true,
    .family47x = false,
    .colour = false,
    .pedestalInMillivolts = false,
    .whiteClipInMillivolts = false,
    .hasWhiteClip = true,
    .shutterFollowsMode = true,
    .splitScreen = true,
    .minGainDb = 0.0,
    .maxGainDb = 36.0,
    .minAlcLevel = 0,
};

constexpr CamClassTraits kAgc{
    .known = true,
    .group = G::Agc,
    .agcMode = true,
    .hasShutter = false,
    .family47x = false,
    .colour = false,
    .pedestalInMillivolts = false,
    .whiteClipInMillivolts = false,
    .hasWhiteClip = true,
    .shutterFollowsMode = false,
    .splitScreen = true,
    .minGainDb = 0.0,
    .maxGainDb = 36.0,
    .minAlcLevel = -1,
};

constexpr CamClassTraits kMono{
    .known = true,
    .group = G::Mono47x,
    .agcMode = false,
    .hasShutter = true,
    .family47x = true,
    .colour = false,
    .pedestalInMillivolts = true,
    .whiteClipInMillivolts = true,
    .hasWhiteClip = true,
    .shutterFollowsMode = false,
    .splitScreen = true,
    .minGainDb = 0.0,
    .maxGainDb = 36.0,
    .minAlcLevel = 20,
};

constexpr CamClassTraits kMono3dB = WithMinGain(kMono, 3.0);

constexpr CamClassTraits kColour{
    .known = true,
    .group = G::Colour47x,
    .agcMode = false,
    .hasShutter = true,
    .family47x = true,
    .colour = true,
    .pedestalInMillivolts = true,
    .whiteClipInMillivolts = false,
    .hasWhiteClip = false,
    .shutterFollowsMode = false,
    .splitScreen = true,
    .minGainDb = 0.0,
    .maxGainDb = 30.0,
    .minAlcLevel = 20,
};

constexpr CamClassTraits kColour3dB = WithMinGain(kColour, 3.0);

constexpr CamClassTraits kUnknown{
    .known = false,
    .group = G::None,
    .agcMode = false,
    .hasShutter = false,
    .family47x = false,
    .colour = false,
    .pedestalInMillivolts = false,
    .whiteClipInMillivolts = false,
    .hasWhiteClip = false,
    .shutterFollowsMode = false,
    .splitScreen = false,
    .minGainDb = 0.0,
    .maxGainDb = 36.0,
    .minAlcLevel = -1,
};

// By function class 0..7.
constexpr const CamClassTraits* kClasses[] = {&kBasic, &kAgc,    &kBasic,   &kColour3dB,
                                              &kMono,  &kColour, &kMono3dB, &kMono};

}  // namespace

const CamClassTraits& Comm_ClassTraits(int functionClass)
{
    if (functionClass < 0 || functionClass > 7) return kUnknown;
    return *kClasses[functionClass];
}

const CamClassTraits& Comm_CurrentClass()
{
    return Comm_ClassTraits(g_cam_model_idx);
}
