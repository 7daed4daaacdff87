// A long run of mixed camera traffic over a bad line: integer sets and
// queries, composite commands, texts, an action and now and then a snapshot,
// against the in-process simulated camera, while a seeded line mangles the
// replies (noise, split lines, late lines, garbage lines, refusals, silent
// bursts, a device that goes away in the middle of a command and comes back).
//
// Every transaction that ends with COMM_OK is held against what the camera
// really did for that command: the value in its register, the text it holds,
// whether it accepted.  The camera tests run it with a fixed seed; bench/soak
// runs it for as long as one likes and prints the figures.
#pragma once

#include <memory>
#include <string>

struct SoakCounts {
    long steps = 0;         ///< transactions of the mix (a snapshot counts once)
    long commandLines = 0;  ///< command lines the camera received

    // How the steps ended.  A snapshot that reported a failure counts under
    // the status of its last failed query.
    long ok = 0, nak = 0, timeout = 0, unrecognized = 0, lost = 0, busy = 0, other = 0;

    /// COMM_OK with a value, text or acceptance the camera did not give for
    /// that command.  Never allowed.
    long wrong = 0;
    std::string firstWrong;

    /// Steps in which the device went away.  Each must end as a failure;
    /// lossesOk counts the ones that did not.
    long losses = 0, lossesLinkLost = 0, lossesTimeout = 0, lossesOtherFailure = 0, lossesOk = 0;

    /// Transactions tried from inside another one's wait; each must be
    /// refused with COMM_BUSY, sending nothing.
    long nestedTries = 0, nestedRefused = 0;

    /// Steps that failed with no fault of the line or camera to explain it,
    /// their reply there in time.
    long unexplainedFailures = 0;
    /// Steps that failed because the process itself was not run in time (a
    /// loaded machine): their reply was still on its way, or an earlier
    /// step's reply came only now.  The run lets a reply still on its way
    /// arrive before it goes on; a late reply meeting the next command is
    /// what the Late fault is for.
    long heldBackByMachine = 0;

    // What the line did.
    long lateLines = 0, silentSteps = 0, refusals = 0, garbageLines = 0, noiseChunks = 0, splitLines = 0,
         snapshots = 0;
};

class SoakRun {
public:
    /// Takes over the replies of the simulated camera on port, which must be
    /// open as the camera link at baud (the rate it is reopened at after a loss).
    SoakRun(int port, unsigned seed, int baud);
    ~SoakRun();
    SoakRun(const SoakRun&) = delete;
    SoakRun& operator=(const SoakRun&) = delete;

    /// Runs that many more steps of the mix.
    void run(long steps);

    const SoakCounts& counts() const;

private:
    struct Engine;
    std::unique_ptr<Engine> engine_;
};
