// "ICCD.ini" of any content: it is taken whole, with values the program can
// use, or not at all (every default); and what the program then writes back
// it reads again to the same preferences.
#include <cmath>
#include <cstdint>
#include <cstring>
#include <string>

#include "FuzzSupport.h"
#include "app/Prefs.h"
#include "camera/Globals.h"
#include "panels/PanelGlobals.h"
#include "platform/Rs232.h"

namespace {

void Check(bool ok, const char* what)
{
    if (!ok) fuzz::Fail("fuzz_prefs", what);
}

struct Prefs {
    int port, baud, set;
    float lens[9];  // maximum voltage, coarse and fine step of zoom, focus, iris
    std::string labels[3];
};

Prefs Current()
{
    return {g_com_port,
            g_com_baud,
            g_set_no,
            {g_zoom_maxv, g_zoom_coarse, g_zoom_fine, g_focus_maxv, g_focus_coarse, g_focus_fine, g_iris_maxv,
             g_iris_coarse, g_iris_fine},
            {g_label1, g_label2, g_label3}};
}

bool IsDefault(const Prefs& p)
{
    const float lens[9] = {9.0f, 10.0f, 1.0f, 9.0f, 10.0f, 1.0f, 9.0f, 10.0f, 1.0f};
    return p.port == 1 && p.baud == 9600 && p.set == 1 && std::memcmp(p.lens, lens, sizeof lens) == 0 &&
           p.labels[0] == "Zoom Control" && p.labels[1] == "Focus Control" && p.labels[2] == "Iris Control";
}

void CheckUsable(const Prefs& p)
{
    Check(p.port >= 0 && p.port <= kMaxComPort, "port within 0..32");
    Check(p.baud > 0 && p.baud <= 4000000, "baud rate usable");
    Check(p.set >= 0 && p.set <= 2, "user set within 0..2");
    for (int i = 0; i < 9; ++i) {
        const float limit = i % 3 == 0 ? 9.0f : 100.0f;
        Check(std::isfinite(p.lens[i]) && p.lens[i] >= 0.0f && p.lens[i] <= limit, "lens value within range");
    }
    for (const std::string& label : p.labels) Check(label.size() <= kLabelMax, "caption within 23 bytes");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    static const std::string path = fuzz::ScratchPath("fuzz_prefs");
    static const std::string written = path + ".out";
    fuzz::WriteScratch(path, data, size);

    const int read = ReadPrefsFile(path.c_str());
    Check(read == 0 || read == 1, "read result is 0 or 1");
    const Prefs first = Current();
    if (read == 1) Check(IsDefault(first), "an unreadable file gives every default");
    CheckUsable(first);

    // What the program writes at exit it must read back at the next start.
    Check(WritePrefsFile(written.c_str()) == 0, "preferences written");
    Check(ReadPrefsFile(written.c_str()) == 0, "written preferences read back");
    const Prefs again = Current();
    Check(again.port == first.port && again.baud == first.baud && again.set == first.set, "numbers kept");
    for (int i = 0; i < 9; ++i)
        Check(std::fabs(again.lens[i] - first.lens[i]) <= 0.5f, "lens values kept to their printed digits");
    for (int i = 0; i < 3; ++i) Check(again.labels[i] == first.labels[i], "captions kept");
    return 0;
}
