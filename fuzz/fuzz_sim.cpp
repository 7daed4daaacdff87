// The simulated camera's command parser: whatever the host sends, every
// command line (ended by CR) gets exactly one reply line, an acceptance
// ":o..." or a refusal ":e", and nothing but its own CR ends it, so the host's
// link stays in step.
//
// Input: the first byte picks the model; the rest is what the host sends,
// handed over in pieces whose sizes the bytes after each piece choose.
#include <fuzzer/FuzzedDataProvider.h>

#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "FuzzSupport.h"
#include "sim/SimCamera.h"

namespace {

void Check(bool ok, const char* what)
{
    if (!ok) fuzz::Fail("fuzz_sim", what);
}

void CheckReplyLine(std::string_view reply)
{
    Check(reply.size() >= 3 && reply.front() == ':' && reply.back() == '\r', "reply is ':' ... CR");
    Check(reply.find('\r') == reply.size() - 1, "one CR per reply");
    Check(reply[1] == 'o' || reply == ":e\r", "reply accepts or refuses");
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzedDataProvider provider(data, size);
    sim::SimCamera camera(provider.ConsumeIntegralInRange<int>(0, sim::kModelCount - 1));

    int lines = 0;
    int replies = 0;
    std::string line;
    while (provider.remaining_bytes() > 0) {
        const std::size_t piece = provider.ConsumeIntegralInRange<std::size_t>(1, 64);
        const std::string bytes = provider.ConsumeBytesAsString(piece);
        for (char c : bytes) {
            if (c == '\r') {
                ++lines;
                // The same line executed on its own answers alike, unless it
                // was too long to be kept.
                if (line.size() < 4096) CheckReplyLine(camera.execute(line));
                line.clear();
            } else if (c != '\n') {
                line += c;
            }
        }
        for (const sim::Emission& e : camera.receive(bytes)) {
            Check(!e.hangup && e.delayMs == 0, "no fault, no delay or hang-up");
            CheckReplyLine(e.bytes);
            ++replies;
        }
    }
    Check(replies == lines, "one reply per command line");
    Check(camera.commandCount() == lines, "every command line counted");
    Check(camera.model() >= 0 && camera.model() < sim::kModelCount, "model within the table");
    return 0;
}
