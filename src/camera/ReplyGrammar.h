// What a reply line says, read strictly.
//
// The camera answers every command with one line: any bytes, a ':', the reply
// text and CR.  The link keeps the text between the ':' and the CR; this is
// the one place that reads it.  The reply text is one of
//
//     o                     acceptance (of a set or an action; an empty text)
//     e                     refusal
//     o MNEMONIC ±COUNT     the answer to an integer query: ":oAGN 852",
//                           ":oSSA -40", or with the sign in place of the
//                           blank, as printf's "% d" writes it: ":oSSA-40"
//     o TEXT                the answer to a text query: printable characters
//
// and nothing else.  A line of any other shape is no reply to anything: a
// corrupted reply, a junk line, or noise.  A line is never read leniently, so
// ":oHUE 12!" is no answer to HUE? at all rather than an answer of 12.
#pragma once

#include <cstddef>
#include <string_view>

/// The shapes of reply a command can have.
enum class ReplyShape {
    Acknowledge,  ///< a set or an action: acceptance or refusal
    Integer,      ///< an integer query: its mnemonic and a count, or refusal
    Text,         ///< a text query: a printable text (or none), or refusal
};

/// What a reply line is, by its own shape alone.
enum class ReplyKind {
    Accept,     ///< "o"
    Refuse,     ///< "e"
    Integer,    ///< "o" + mnemonic + count
    Text,       ///< "o" + printable text (an integer reply is also printable text)
    Malformed,  ///< anything else
};

struct ReplyLine {
    ReplyKind kind = ReplyKind::Malformed;
    std::string_view data;      ///< what follows the 'o' (Accept, Integer, Text)
    std::string_view mnemonic;  ///< Integer only
    int count = 0;              ///< Integer only
};

/// Reads one reply line: the text between its ':' and its CR.
ReplyLine Comm_ReadReplyLine(std::string_view text);

/// Whether a line read by Comm_ReadReplyLine is a reply of the given shape:
/// for Integer, one naming mnemonic; for Text, one of at most textLimit
/// characters.  A refusal fits every shape.
bool Comm_ReplyFits(const ReplyLine& line, ReplyShape shape, std::string_view mnemonic,
                    std::size_t textLimit);

/// The mnemonic of a command line (":AGN=852", ":AGN?", ":AWB!"), and the
/// count an integer set carries.  Returns the mnemonic, empty when the line
/// has none; *count and *hasCount are written when given.
std::string_view Comm_CommandMnemonic(std::string_view line, int* count = nullptr, bool* hasCount = nullptr);

/// The shape of the reply a raw command line has: an integer query for ':'
/// mnemonic '?' of a mnemonic the camera answers with a count, text for
/// every other query, acknowledgement for sets and actions.
ReplyShape Comm_ReplyShapeOfCommand(std::string_view line);

/// Whether the camera answers "mnemonic?" with a count.
bool Comm_HasIntegerQuery(std::string_view mnemonic);
