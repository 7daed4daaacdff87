#include "camera/LinkLedger.h"

#include <cstdio>

void LinkLedger::reset()
{
    for (LedgerEntry& e : entries_) e = {};
    troubles_ = 0;
    first_ = next_;
}

template <typename F>
void LinkLedger::forEachNewestFirst(F f)
{
    for (std::uint64_t seq = next_ - 1; seq > 0 && next_ - seq <= kCapacity; --seq) {
        LedgerEntry& e = entries_[seq % kCapacity];
        if (e.seq != seq) break;
        if (!f(e)) break;
    }
}

std::uint64_t LinkLedger::begin(ReplyShape shape, std::string_view commandLine)
{
    LedgerEntry& e = entries_[next_ % kCapacity];
    e = {};
    e.seq = next_++;
    e.shape = shape;
    e.troublesBefore = troubles_;
    int count = 0;
    bool hasCount = false;
    const std::string_view mnemonic = Comm_CommandMnemonic(commandLine, &count, &hasCount);
    std::snprintf(e.mnemonic, sizeof e.mnemonic, "%.*s", static_cast<int>(mnemonic.size()), mnemonic.data());
    e.count = count;
    e.hasCount = hasCount;
    // A text set: what follows '=' up to the CR.
    const std::size_t eq = commandLine.find('=');
    if (eq != std::string_view::npos && !hasCount) {
        std::string_view text = commandLine.substr(eq + 1);
        if (!text.empty() && text.back() == '\r') text.remove_suffix(1);
        e.textCut = text.size() >= sizeof e.text;
        std::snprintf(e.text, sizeof e.text, "%.*s", static_cast<int>(text.size()), text.data());
    }
    return e.seq;
}

LedgerEntry* LinkLedger::find(std::uint64_t seq)
{
    LedgerEntry& e = entries_[seq % kCapacity];
    return e.seq == seq && seq != 0 ? &e : nullptr;
}

void LinkLedger::end(std::uint64_t seq, int status, int count)
{
    LedgerEntry* e = find(seq);
    if (!e) return;
    e->status = status;
    if (status == 1 || status == 3) ++troubles_;  // lost or damaged
    if (e->shape != ReplyShape::Integer) return;
    e->open = false;  // only a stray naming its mnemonic can concern it
    if (status != 0) return;
    e->count = count;
    e->hasCount = true;
    // Every reply sent before this one has arrived by now.
    forEachNewestFirst([&](LedgerEntry& older) {
        if (older.seq >= seq) return true;
        if (!older.open) return false;
        older.open = false;
        return true;
    });
}

void LinkLedger::stray(const ReplyLine& line)
{
    ++troubles_;
    bool acks = false;
    bool texts = false;
    switch (line.kind) {
        case ReplyKind::Accept:
        case ReplyKind::Refuse:
            acks = texts = true;  // ":o" is also an empty text
            break;
        case ReplyKind::Text:
            texts = true;
            break;
        case ReplyKind::Integer:
            if (queried(line.mnemonic)) {
                // The newest query of that mnemonic may have taken a stale
                // count, or a junk refusal in place of this answer.
                forEachNewestFirst([&](LedgerEntry& e) {
                    if (e.shape != ReplyShape::Integer || line.mnemonic != e.mnemonic) return true;
                    if ((e.status == 0 && e.count != line.count) || e.status == 2) e.doubtful = true;
                    return false;
                });
                return;
            }
            texts = true;  // a text may look like a count
            break;
        case ReplyKind::Malformed:
            // A reply cut by a CR inside it was taken up to that CR, and its
            // rest comes as a line of its own, often in the same chunk: the
            // newest transaction, waiting or ended, may hold a cut reply.
            forEachNewestFirst([&](LedgerEntry& e) {
                if (e.status == -1 || e.status == 0) e.doubtful = true;
                return false;
            });
            return;
    }
    forEachNewestFirst([&](LedgerEntry& e) {
        if (e.shape == ReplyShape::Integer && e.status == 0) return false;  // older ones are in step
        if (!e.open) return true;
        if (e.status != 0 && e.status != 2) return true;  // waiting, or took nothing to be misled by
        if ((acks && e.shape == ReplyShape::Acknowledge) || (texts && e.shape == ReplyShape::Text))
            e.doubtful = true;
        return true;
    });
}

bool LinkLedger::queried(std::string_view mnemonic) const
{
    for (const LedgerEntry& e : entries_)
        if (e.seq != 0 && e.shape == ReplyShape::Integer && mnemonic == e.mnemonic) return true;
    return false;
}

std::vector<std::uint64_t> LinkLedger::doubts(std::uint64_t since) const
{
    std::vector<std::uint64_t> found;
    for (std::uint64_t seq = since < 1 ? 1 : since; seq < next_; ++seq) {
        if (next_ - seq > kCapacity) continue;
        const LedgerEntry& e = entries_[seq % kCapacity];
        if (e.seq == seq && e.doubtful) found.push_back(seq);
    }
    return found;
}

void LinkLedger::resolve(std::uint64_t seq)
{
    if (LedgerEntry* e = find(seq)) e->doubtful = false;
}

bool LinkLedger::troubledSince(std::uint64_t seq)
{
    if (seq < first_) return troubles_ > 0;  // before the reset: since the reset
    if (seq >= next_) return false;
    const LedgerEntry* e = find(seq);
    return !e || troubles_ > e->troublesBefore;
}

bool LinkLedger::troubledWithin(int count)
{
    const std::uint64_t back = static_cast<std::uint64_t>(count);
    return troubledSince(next_ > back ? next_ - back : 1);
}
