// A bad line between the link and the in-process simulated camera, and the
// randomised snapshot run that is made over it (by the camera tests with a
// fixed seed, and by bench_link_integrity for as long as one likes).
//
// The relay takes the camera's reply lines and delivers them in their order,
// as a serial line does, but at random it delays them (now and then past the
// reply time-out, so that they arrive during later commands), splits them
// into pieces, sends them twice, puts junk before their colon, puts a garbage
// line in front of them, or loses their colon (and with it the line).
//
// It never changes the characters between a line's colon and its CR: the
// protocol has no checksum, so a changed digit could be caught by no rule,
// and counting such cases would say nothing about the link.
#pragma once

#include <QByteArray>
#include <QElapsedTimer>
#include <QTimer>
#include <algorithm>
#include <cstring>
#include <deque>
#include <random>
#include <span>
#include <string>

#include "camera/CamTypes.h"
#include "camera/Snapshot.h"
#include "platform/Rs232.h"
#include "sim/SimEndpoint.h"

namespace badline {

using Random = std::mt19937;

inline bool Chance(Random& random, double p)
{
    return std::uniform_real_distribution<double>(0, 1)(random) < p;
}

inline int Between(Random& random, int low, int high)
{
    return std::uniform_int_distribution<int>(low, high)(random);
}

/// low to high characters drawn from those of pool (its closing NUL aside).
template <std::size_t N>
std::string Draw(Random& random, const char (&pool)[N], int low, int high)
{
    std::string out;
    for (int i = Between(random, low, high); i > 0; --i) out += pool[Between(random, 0, int(N) - 2)];
    return out;
}

/// What every bad line does: it takes the camera's reply lines from the
/// endpoint (relayLine) and hands the pieces queued of them to the port when
/// they are due.  Pieces keep the order they were queued in: a line held back
/// holds back the ones behind it, as on a serial line.
class LineRelay {
public:
    LineRelay(const LineRelay&) = delete;
    LineRelay& operator=(const LineRelay&) = delete;

protected:
    struct Piece {
        qint64 dueMs;
        QByteArray bytes;
        long step;
        bool reply;
    };

    /// atOnce: what is due when queued goes out at once, not from the event loop.
    LineRelay(sim::SimEndpoint& endpoint, int port, bool atOnce)
        : endpoint_(endpoint), port_(port), atOnce_(atOnce)
    {
        clock_.start();
        timer_.setSingleShot(true);
        timer_.setTimerType(Qt::PreciseTimer);
        QObject::connect(&timer_, &QTimer::timeout, [this] { deliverDue(); });
    }
    virtual ~LineRelay() = default;

    /// Gives the camera's replies, line by line (each up to and including its CR), to relayLine.
    void attach()
    {
        endpoint_.setSink([this](const QByteArray& bytes) {
            partial_ += bytes;
            for (qsizetype cr; (cr = partial_.indexOf('\r')) >= 0;) {
                relayLine(partial_.left(cr + 1));
                partial_.remove(0, cr + 1);
            }
        });
    }
    virtual void relayLine(QByteArray line) = 0;
    /// Runs before each piece reaches the port.
    virtual void beforeDelivery() {}

    void queue(qint64 dueMs, QByteArray bytes, long step = 0, bool reply = false)
    {
        if (!queue_.empty() && queue_.back().dueMs > dueMs) dueMs = queue_.back().dueMs;
        queue_.push_back({dueMs, std::move(bytes), step, reply});
    }

    /// Queues line in two to four pieces; due ends as the last one's.
    void queueSplit(Random& random, qint64& due, const QByteArray& line, long step = 0, bool reply = false)
    {
        qsizetype at = 0;
        for (int pieces = Between(random, 2, 4); pieces > 1 && at < line.size() - 1; --pieces) {
            const qsizetype cut =
                Between(random, static_cast<int>(at) + 1, static_cast<int>(line.size()) - 1);
            queue(due, line.mid(at, cut - at), step, reply);
            at = cut;
            due += Between(random, 0, 1);
        }
        queue(due, line.mid(at), step, reply);
    }

    void schedule()
    {
        if (queue_.empty()) return;
        const qint64 wait = queue_.front().dueMs - clock_.elapsed();
        if (atOnce_ && wait <= 0) {
            deliverDue();
            return;
        }
        timer_.start(static_cast<int>(std::max<qint64>(wait, 0)));
    }

    void deliverDue()
    {
        const qint64 now = clock_.elapsed();
        while (!queue_.empty() && queue_.front().dueMs <= now) {
            const Piece piece = std::move(queue_.front());
            queue_.pop_front();
            beforeDelivery();
            ComInjectReceived(port_, piece.bytes.constData(), static_cast<int>(piece.bytes.size()));
        }
        schedule();
    }

    sim::SimEndpoint& endpoint_;
    int port_;
    bool atOnce_;
    QElapsedTimer clock_;
    QTimer timer_;
    QByteArray partial_;
    std::deque<Piece> queue_;
};

struct RelayOdds {
    double late = 0.001;       ///< held back past the reply time-out
    double delayed = 0.05;     ///< held back 1 to 4 ms
    double split = 0.20;       ///< delivered in two to four pieces
    double duplicate = 0.03;   ///< sent twice
    double junk = 0.03;        ///< junk bytes before the colon
    double garbage = 0.002;    ///< a garbage line in front
    double lostColon = 0.001;  ///< the colon is lost: the line is no line
};

class ReplyRelay : LineRelay {
public:
    /// Takes over the replies of endpoint, which serves the open port.
    /// lateMs is how far a late line is held back.
    ReplyRelay(sim::SimEndpoint& endpoint, int port, unsigned seed, int lateMs, RelayOdds odds = {})
        : LineRelay(endpoint, port, false), lateMs_(lateMs), odds_(odds), random_(seed)
    {
        attach();
    }

    /// Lines delivered with at least one fault, by kind.
    int duplicated = 0, late = 0, lost = 0;

private:
    void relayLine(QByteArray line) override
    {
        qint64 due = clock_.elapsed();
        if (Chance(random_, odds_.late)) {
            due += lateMs_ + Between(random_, 5, 50);
            ++late;
        } else if (Chance(random_, odds_.delayed)) {
            due += Between(random_, 1, 4);
        }
        if (Chance(random_, odds_.junk)) {
            static const char kJunk[] = "xyzoe 0123456789\x01\x7f\n";
            line.prepend(QByteArray::fromStdString(Draw(random_, kJunk, 1, 8)));
        }
        if (Chance(random_, odds_.garbage)) line.prepend(Chance(random_, 0.5) ? ":X?\r" : "zz:\r");
        if (Chance(random_, odds_.lostColon)) {
            line.replace(':', '#');
            ++lost;
        }
        const int copies = Chance(random_, odds_.duplicate) ? 2 : 1;
        duplicated += copies - 1;
        for (int copy = 0; copy < copies; ++copy) {
            if (copy > 0) due += Between(random_, 0, 8);
            Chance(random_, odds_.split) ? queueSplit(random_, due, line) : queue(due, line);
        }
        schedule();
    }

    int lateMs_;
    RelayOdds odds_;
    Random random_;
};

}  // namespace badline

using badline::RelayOdds;
using badline::ReplyRelay;

/// What the randomised snapshots gave.
struct SnapshotTally {
    int runs = 0;
    int trueResults = 0;       ///< success, every field as on a clean link
    int reportedFailures = 0;  ///< result 1, or a query failed (counted or not)
    int wrongResults = 0;      ///< success, but a field differs
    int wrongTexts = 0;        ///< of those: only text fields differ
    std::string firstWrong;    ///< the first differing field, for the message
};

template <typename Record>
std::string FirstDifference(const Record& got, const Record& truth, std::span<const SettingsField> fields,
                            bool* onlyTexts)
{
    std::string first;
    *onlyTexts = true;
    for (const SettingsField& f : fields) {
        bool same = true;
        switch (f.type) {
            case SettingsFieldType::Int:
                same = SettingsInt(&got, f) == SettingsInt(&truth, f);
                break;
            case SettingsFieldType::Float:
                same = SettingsFloat(&got, f) == SettingsFloat(&truth, f);
                break;
            case SettingsFieldType::Text:
                same = std::strcmp(SettingsText(&got, f), SettingsText(&truth, f)) == 0;
                break;
        }
        if (same) continue;
        if (f.type != SettingsFieldType::Text) *onlyTexts = false;
        if (first.empty()) {
            first = f.name;
            if (f.type == SettingsFieldType::Text)
                first +=
                    std::string(" \"") + SettingsText(&got, f) + "\" for \"" + SettingsText(&truth, f) + "\"";
        }
    }
    return first;
}

/// Runs pairs of snapshots (main, then advanced) and sorts each result.
inline void RunSnapshots(int pairs, const CamMainSettings& mainTruth, const CamAdvSettings& advTruth,
                         SnapshotTally& tally)
{
    auto sort = [&tally](int result, const SnapshotStats& stats, const std::string& wrong, bool onlyTexts) {
        ++tally.runs;
        if (result != 0 || stats.anyFailed()) {
            ++tally.reportedFailures;
        } else if (wrong.empty()) {
            ++tally.trueResults;
        } else {
            ++tally.wrongResults;
            if (onlyTexts) ++tally.wrongTexts;
            if (tally.firstWrong.empty()) tally.firstWrong = wrong;
        }
    };
    for (int i = 0; i < pairs; ++i) {
        bool onlyTexts = true;
        CamMainSettings main{};
        SnapshotStats stats;
        int result = Comm_QueryMainSettings(&main, &stats);
        std::string wrong = FirstDifference(main, mainTruth, MainSettingsFields(), &onlyTexts);
        sort(result, stats, wrong, onlyTexts);
        CamAdvSettings adv{};
        result = Comm_QueryAdvanced(&adv, &stats);
        wrong = FirstDifference(adv, advTruth, AdvSettingsFields(), &onlyTexts);
        sort(result, stats, wrong, onlyTexts);
    }
}
