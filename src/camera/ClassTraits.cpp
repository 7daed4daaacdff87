#include "camera/ClassTraits.h"

#include "camera/Globals.h"

namespace {

using G = MainPanelGroup;

// clang-format off
//                          known  group         agc    shutter 47x    colour VPD mV VWC mV VWC    SHS=mode split  gain dB     ALV
constexpr CamClassTraits kBasic    {true,  G::Basic,     false, true,  false, false, false, false, true,  true,  true,  0.0, 36.0,  0};
constexpr CamClassTraits kAgc      {true,  G::Agc,       true,  false, false, false, false, false, true,  false, true,  0.0, 36.0, -1};
constexpr CamClassTraits kMono     {true,  G::Mono47x,   false, true,  true,  false, true,  true,  true,  false, true,  0.0, 36.0, 20};
constexpr CamClassTraits kMono3dB  {true,  G::Mono47x,   false, true,  true,  false, true,  true,  true,  false, true,  3.0, 36.0, 20};
constexpr CamClassTraits kColour   {true,  G::Colour47x, false, true,  true,  true,  true,  false, false, false, true,  0.0, 30.0, 20};
constexpr CamClassTraits kColour3dB{true,  G::Colour47x, false, true,  true,  true,  true,  false, false, false, true,  3.0, 30.0, 20};
constexpr CamClassTraits kUnknown  {false, G::None,      false, false, false, false, false, false, false, false, false, 0.0, 36.0, -1};
// clang-format on

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
