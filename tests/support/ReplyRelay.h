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

/// Adds bytes to what came before them and hands on each line they complete
/// (up to and including its CR).
template <typename Each>
void TakeLines(QByteArray& partial, const QByteArray& bytes, Each each)
{
    partial += bytes;
    for (qsizetype cr; (cr = partial.indexOf('\r')) >= 0;) {
        each(partial.left(cr + 1));
        partial.remove(0, cr + 1);
    }
}

struct RelayOdds {
    double late = 0.001;       ///< held back past the reply time-out
    double delayed = 0.05;     ///< held back 1 to 4 ms
    double split = 0.20;       ///< delivered in two to four pieces
    double duplicate = 0.03;   ///< sent twice
    double junk = 0.03;        ///< junk bytes before the colon
    double garbage = 0.002;    ///< a garbage line in front
    double lostColon = 0.001;  ///< the colon is lost: the line is no line
};

class ReplyRelay {
public:
    /// Takes over the replies of endpoint, which serves the open port.
    /// lateMs is how far a late line is held back.
    ReplyRelay(sim::SimEndpoint& endpoint, int port, unsigned seed, int lateMs, RelayOdds odds = {})
        : port_(port), lateMs_(lateMs), odds_(odds), random_(seed)
    {
        clock_.start();
        timer_.setSingleShot(true);
        timer_.setTimerType(Qt::PreciseTimer);
        QObject::connect(&timer_, &QTimer::timeout, [this] { deliverDue(); });
        endpoint.setSink([this](const QByteArray& bytes) {
            TakeLines(partial_, bytes, [this](const QByteArray& line) { relayLine(line); });
        });
    }

    /// Lines delivered with at least one fault, by kind.
    int duplicated = 0, late = 0, lost = 0;

private:
    struct Piece {
        qint64 dueMs;
        QByteArray bytes;
    };

    bool chance(double p) { return std::uniform_real_distribution<double>(0, 1)(random_) < p; }
    int between(int low, int high) { return std::uniform_int_distribution<int>(low, high)(random_); }

    void relayLine(QByteArray line)
    {
        const qint64 now = clock_.elapsed();
        qint64 due = now;
        if (chance(odds_.late)) {
            due += lateMs_ + between(5, 50);
            ++late;
        } else if (chance(odds_.delayed)) {
            due += between(1, 4);
        }
        if (chance(odds_.junk)) {
            static const char kJunk[] = "xyzoe 0123456789\x01\x7f\n";
            QByteArray junk;
            for (int i = between(1, 8); i > 0; --i) junk += kJunk[between(0, sizeof kJunk - 2)];
            line.prepend(junk);
        }
        if (chance(odds_.garbage)) line.prepend(chance(0.5) ? ":X?\r" : "zz:\r");
        if (chance(odds_.lostColon)) {
            line.replace(':', '#');
            ++lost;
        }
        const int copies = chance(odds_.duplicate) ? 2 : 1;
        duplicated += copies - 1;
        for (int copy = 0; copy < copies; ++copy) {
            if (copy > 0) due += between(0, 8);
            if (chance(odds_.split)) {
                qsizetype at = 0;
                for (int pieces = between(2, 4); pieces > 1 && at < line.size() - 1; --pieces) {
                    const qsizetype cut =
                        between(static_cast<int>(at) + 1, static_cast<int>(line.size()) - 1);
                    queue(due, line.mid(at, cut - at));
                    at = cut;
                    due += between(0, 1);
                }
                queue(due, line.mid(at));
            } else {
                queue(due, line);
            }
        }
        schedule();
    }

    // Pieces keep the order they were handed over in: a line held back holds
    // back the ones behind it, as on a serial line.
    void queue(qint64 dueMs, QByteArray bytes)
    {
        if (!queue_.empty() && queue_.back().dueMs > dueMs) dueMs = queue_.back().dueMs;
        queue_.push_back({dueMs, std::move(bytes)});
    }

    void schedule()
    {
        if (queue_.empty()) return;
        timer_.start(static_cast<int>(std::max<qint64>(queue_.front().dueMs - clock_.elapsed(), 0)));
    }

    void deliverDue()
    {
        const qint64 now = clock_.elapsed();
        while (!queue_.empty() && queue_.front().dueMs <= now) {
            const QByteArray bytes = std::move(queue_.front().bytes);
            queue_.pop_front();
            ComInjectReceived(port_, bytes.constData(), static_cast<int>(bytes.size()));
        }
        schedule();
    }

    int port_;
    int lateMs_;
    RelayOdds odds_;
    std::mt19937 random_;
    QElapsedTimer clock_;
    QTimer timer_;
    QByteArray partial_;
    std::deque<Piece> queue_;
};

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
