// Which command a reply line answers, as far as its data tells.
//
// The camera names the mnemonic in its answer to an integer query
// (":oAGN 57"), so such a line can be told from the answer to any other
// command.  The link uses this to pass over lines that belong to earlier
// commands: late replies, duplicates, replies to a command that timed out.
// The list of mnemonics comes from the command table, but nothing here calls
// into the command set, so the link can rely on it without standing on it.
#pragma once

#include <string_view>

/// True when data (the reply text after its 'o') begins with mnemonic
/// followed by a blank, a sign or a digit: the shape of the camera's answer to
/// that mnemonic's integer query.
bool Comm_ReplyNamesMnemonic(std::string_view data, std::string_view mnemonic);

/// True when data begins, in that shape, with a mnemonic of the command set
/// other than own (own may be empty).  Such a line answers some other query.
bool Comm_ReplyNamesOtherMnemonic(std::string_view data, std::string_view own);
