// The link's memory of its recent transactions, kept to tell which of them a
// stray line may have misled.
//
// Replies come back in the order the camera sent them.  A line that no
// transaction took (a duplicate, a late reply, a reply that lost its place to
// a junk line taken before it) can therefore only belong to a transaction
// whose own reply cannot be told apart by its content: a set or an action
// (":o", ":e") or a text query, taken since the line was last known to be in
// step.  The line is known to be in step when an integer query takes its own
// answer, which names it (":oAGN 852"): every reply sent before that one has
// arrived by then.  A stray integer answer can only have misled a query of the
// mnemonic it names, and only when it gives another count or that query
// took a refusal (a junk ":e" in its place).  A line of no
// reply's shape may be the rest of a reply cut short by a CR inside it, so it
// puts in doubt the newest transaction, ended or still waiting.
//
// The ledger does no input or output: the link tells it what happens, and
// asks it which transactions are in doubt.
#pragma once

#include <cstdint>
#include <string_view>
#include <vector>

#include "camera/ReplyGrammar.h"

struct LedgerEntry {
    std::uint64_t seq = 0;
    ReplyShape shape = ReplyShape::Acknowledge;
    char mnemonic[9] = {};  ///< of the command line, when it has one
    char text[24] = {};     ///< a text set's text (cut)
    bool textCut = false;   ///< the text set's text did not fit text
    int count = 0;          ///< an integer set: the count sent; an integer query: the count taken
    bool hasCount = false;
    int status = -1;         ///< how it ended; -1 while it waits
    int troublesBefore = 0;  ///< LinkLedger::troubles() when it began
    bool open = true;        ///< taken since the line was last in step
    bool doubtful = false;
};

class LinkLedger {
public:
    static constexpr int kCapacity = 256;

    /// Forgets everything (a port opened anew).
    void reset();

    /// Notes a transaction about to be sent: its reply shape and command line.
    /// Returns its sequence number; numbers grow by one and never repeat.
    std::uint64_t begin(ReplyShape shape, std::string_view commandLine);

    /// Notes how the transaction ended; count is the count an integer query
    /// took.  An integer query that took its own answer brings the line in
    /// step: no later stray can be the reply of a transaction before it.
    void end(std::uint64_t seq, int status, int count = 0);

    /// Notes a complete line that no transaction took, and puts in doubt the
    /// transactions it may have been the reply of.
    void stray(const ReplyLine& line);

    /// Whether an integer query of mnemonic was made among the transactions
    /// the ledger remembers: a line naming it is a reply to that query.
    bool queried(std::string_view mnemonic) const;

    /// The entry of seq, or nullptr once forgotten.
    LedgerEntry* find(std::uint64_t seq);

    /// The transactions from seq since on that are in doubt, oldest first.
    std::vector<std::uint64_t> doubts(std::uint64_t since) const;

    /// Takes seq out of doubt (confirmed, or asked again).
    void resolve(std::uint64_t seq);

    /// The number the next transaction will get.
    std::uint64_t next() const { return next_; }

    /// Signs of a misbehaving line noted since the last reset: stray lines,
    /// and replies lost or damaged.
    int troubles() const { return troubles_; }

    /// Whether the line has misbehaved since transaction seq began (true
    /// when seq is forgotten).
    bool troubledSince(std::uint64_t seq);

    /// Whether the line has misbehaved during the last count transactions.
    bool troubledWithin(int count);

private:
    template <typename F>
    void forEachNewestFirst(F f);

    LedgerEntry entries_[kCapacity];
    std::uint64_t next_ = 1;
    std::uint64_t first_ = 1;  // the first number since the last reset
    int troubles_ = 0;
};
