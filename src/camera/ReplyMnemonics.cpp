#include "camera/ReplyMnemonics.h"

// Only the table's macro is used: nothing of the command set is called.
#include "camera/CommandSet.h"

namespace {

#define COMM_MNEMONIC(NAME, M, KIND, ACCESS, RULE, GEN) #M,
constexpr const char* kMnemonics[] = {COMM_COMMAND_TABLE(COMM_MNEMONIC)
                                      // The texts and the model, which answer without naming themselves but
                                      // whose mnemonics are no less the camera's.
                                      "CID",
                                      "SNO",
                                      "WSF",
                                      "VER",
                                      "FPGA",
                                      "CAM"};
#undef COMM_MNEMONIC

}  // namespace

bool Comm_ReplyNamesMnemonic(std::string_view data, std::string_view mnemonic)
{
    if (mnemonic.empty() || data.size() <= mnemonic.size() || !data.starts_with(mnemonic)) return false;
    const char next = data[mnemonic.size()];
    return next == ' ' || next == '+' || next == '-' || (next >= '0' && next <= '9');
}

bool Comm_ReplyNamesOtherMnemonic(std::string_view data, std::string_view own)
{
    // A line in the shape of the own answer is the own answer, even where a
    // shorter mnemonic happens to be its prefix.
    if (Comm_ReplyNamesMnemonic(data, own)) return false;
    for (const char* mnemonic : kMnemonics)
        if (own != mnemonic && Comm_ReplyNamesMnemonic(data, mnemonic)) return true;
    return false;
}
