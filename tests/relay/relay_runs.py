#!/usr/bin/env python3
"""iccdctl through the fault relay: randomised runs and fixed-fault cases.

Each run starts a fresh simulated camera (iccdsim --pty), puts the fault relay
between it and iccdctl, runs one operation through the relay (snapshot --json,
save FILE or load FILE), stops the relay and then asks the camera directly what
it really holds.  The run is judged against that:

  true    exit 0 and everything iccdctl printed or wrote is the camera's
  failed  exit not 0, and nothing it printed or wrote is wrong (a save left the
          old file as it was)
  wrong   a value printed or written that the camera does not hold, or exit 0
          with something missing (a null value, a file not written, a load the
          camera did not take)
  hung    iccdctl still running after --timeout seconds (killed)
  crashed iccdctl killed by a signal
  error   the run could not be judged (the camera could not be read directly)

A wrong run whose relay log shows a digit turned into another digit counts
apart: without a checksum nothing can tell such a reply from a true one.
Wrong (other than digit to digit), hung and crashed runs are real faults.

--cases runs the fixed faults of the case table instead (one per fault the
program once fell for), each with its own expected outcome.
"""
import argparse
import concurrent.futures as futures
import json
import os
import re
import shlex
import shutil
import signal
import statistics
import subprocess
import sys
import tempfile
import threading
import time
from dataclasses import dataclass, field

PROJECT = os.path.dirname(os.path.dirname(os.path.dirname(os.path.abspath(__file__))))
DEFAULT_RELAY = os.path.normpath(os.path.join(PROJECT, "..", "shared", "tools", "faultrelay.py"))
OPS = ("snapshot", "save", "load")

# Setting lines of the prepared load file, changed from the power-on values to
# other values the camera takes (a count the camera prints back the same).
LOAD_EDITS = (
    ("AGN", "9.996800"),    # gain: count 284
    ("ALV", "100"),         # ALC level
    ("GAM", "0"),           # gamma
    ("YGA", "63.492063"),   # count 40
    ("HUE", "60.000000"),   # count 153
    ("SSE", "1"),           # split screen on
    ("SSP", "30"),          # split line position
    ("SLT", "50"),          # left half: transparency, red
    ("SLR", "100"),
    ("SRT", "20"),          # right half: transparency, green
    ("SRG", "200"),
)

# Lines of a settings file that carry the time it was written (none today);
# they may differ between two saves.
TIME_LINE = re.compile(rb"\b\d{4}-\d{2}-\d{2}\b|\b\d{1,2}:\d{2}:\d{2}\b")


class Stopped(Exception):
    """The run was interrupted (Ctrl-C, SIGTERM): no more children."""


class HarnessError(Exception):
    """Something this script needs did not work: the run cannot be judged."""


# --- child processes: every one is registered, so that all can be killed

_live = set()
_live_lock = threading.Lock()
_stopping = threading.Event()


def spawn(args, **kw):
    with _live_lock:
        if _stopping.is_set():
            raise Stopped()
        proc = subprocess.Popen(args, **kw)
        _live.add(proc)
    return proc


def reap(proc, grace=3.0):
    """Ends proc (TERM, then KILL) and waits for it."""
    if proc.poll() is None:
        proc.terminate()
        try:
            proc.wait(grace)
        except subprocess.TimeoutExpired:
            proc.kill()
            proc.wait()
    with _live_lock:
        _live.discard(proc)


def kill_all():
    _stopping.set()
    with _live_lock:
        procs = list(_live)
    for proc in procs:
        if proc.poll() is None:
            proc.kill()
    for proc in procs:
        try:
            proc.wait(5)
        except subprocess.TimeoutExpired:
            pass


def first_line(proc, path, what, timeout=10.0):
    """The first line proc printed to the file path (a device path)."""
    end = time.monotonic() + timeout
    while time.monotonic() < end:
        if _stopping.is_set():
            raise Stopped()
        with open(path, "rb") as f:
            text = f.read()
        if b"\n" in text:
            return text.split(b"\n", 1)[0].decode().strip()
        if proc.poll() is not None:
            raise HarnessError("%s ended with %s before printing its device: %r" % (what, proc.returncode, text))
        time.sleep(0.02)
    raise HarnessError("%s printed no device in %g s" % (what, timeout))


class Camera:
    """iccdsim --pty in the background; .pty is its device."""

    def __init__(self, cfg, rundir, flags=()):
        out = os.path.join(rundir, "sim.out")
        with open(out, "wb") as f:
            self.proc = spawn([os.path.join(cfg.bin_dir, "iccdsim"), "--pty", "--model", cfg.model, *flags],
                              stdout=f, stderr=subprocess.STDOUT, stdin=subprocess.DEVNULL)
        try:
            self.pty = first_line(self.proc, out, "iccdsim")
        except BaseException:
            reap(self.proc)
            raise

    def close(self):
        reap(self.proc)


class Relay:
    """The fault relay in front of a camera's pty; .pty is the host side."""

    def __init__(self, cfg, rundir, cam_pty, seed, p, script=""):
        self.log = os.path.join(rundir, "relay.jsonl")
        out = os.path.join(rundir, "relay.out")
        args = [sys.executable, cfg.relay, "--cam", cam_pty, "--log", self.log,
                "--seed", str(seed), "--p", repr(p), "--faults", cfg.faults]
        if script:
            args += ["--script", script]
        with open(out, "wb") as f:
            self.proc = spawn(args, stdout=f, stderr=subprocess.STDOUT, stdin=subprocess.DEVNULL)
        try:
            self.pty = first_line(self.proc, out, "faultrelay")
        except BaseException:
            reap(self.proc)
            raise

    def close(self):
        reap(self.proc)

    def lines(self):
        """The relay's record of each reply line, in order."""
        entries = []
        with open(self.log) as f:
            for text in f:
                entry = json.loads(text)
                if entry.get("ev") == "line":
                    entries.append(entry)
        return entries


def iccdctl(cfg, device, args, timeout=None):
    """Runs iccdctl; its exit code, output and time, or hung when killed after timeout."""
    start = time.monotonic()
    proc = spawn([os.path.join(cfg.bin_dir, "iccdctl"), "--device", device, *args],
                 stdout=subprocess.PIPE, stderr=subprocess.PIPE, stdin=subprocess.DEVNULL)
    hung = False
    try:
        out, err = proc.communicate(timeout=timeout or cfg.timeout)
    except subprocess.TimeoutExpired:
        hung = True
        proc.kill()
        out, err = proc.communicate()
    finally:
        with _live_lock:
            _live.discard(proc)
    if _stopping.is_set():
        raise Stopped()
    return dict(rc=proc.returncode, out=out.decode("latin-1"), err=err.decode("latin-1"),
                secs=round(time.monotonic() - start, 3), hung=hung)


def direct(cfg, device, args):
    """iccdctl straight on the camera, where it must succeed."""
    res = iccdctl(cfg, device, args, timeout=60)
    if res["hung"] or res["rc"] != 0:
        raise HarnessError("iccdctl %s on the camera itself: exit %s\n%s%s"
                           % (" ".join(args), res["rc"], res["out"], res["err"]))
    return res


# --- judging

class Num(str):
    """A number as iccdctl printed it (compared as text: 6 decimals)."""


def flatten(text):
    """Snapshot JSON -> {"main.agn": value, "advanced.k[0]": value, ...}."""
    obj = json.loads(text, parse_float=Num, parse_int=Num)
    flat = {}
    for record, fields in obj.items():
        for name, value in fields.items():
            if isinstance(value, list):
                for i, v in enumerate(value):
                    flat["%s.%s[%d]" % (record, name, i)] = v
            else:
                flat["%s.%s" % (record, name)] = value
    return flat


def judge_snapshot(res, truth):
    """(outcome, notes) of a snapshot held against the camera's own."""
    notes = []
    if not res["out"].strip():
        return ("failed", ["nothing printed"]) if res["rc"] != 0 else ("wrong", ["exit 0, nothing printed"])
    try:
        seen = flatten(res["out"])
    except (ValueError, AttributeError) as e:
        return "wrong", ["output is not a snapshot: %s" % e]
    for key, value in seen.items():
        if key not in truth:
            notes.append("%s printed, the camera has no such field" % key)
        elif value is not None and (value != truth[key] or type(value) is not type(truth[key])):
            notes.append("%s: printed %s, camera %s" % (key, json.dumps(value), json.dumps(truth[key])))
    if notes:
        return "wrong", notes
    missing = [k for k in truth if seen.get(k) is None]
    if res["rc"] == 0:
        return ("wrong", ["exit 0 but not printed: " + ", ".join(missing)]) if missing else ("true", [])
    return "failed", (["not printed: " + ", ".join(missing)] if missing else [])


def without_time_lines(data):
    return [line for line in data.splitlines(keepends=True) if not TIME_LINE.search(line)]


def judge_save(res, path, sentinel, reference):
    try:
        with open(path, "rb") as f:
            written = f.read()
    except FileNotFoundError:
        written = None
    if res["rc"] != 0:
        if written == sentinel:
            return "failed", []
        return "wrong", ["exit %s, but the old file was %s" % (res["rc"], "removed" if written is None else
                                                              "changed (%d bytes now)" % len(written))]
    if written is None:
        return "wrong", ["exit 0, no file"]
    if written == sentinel:
        return "wrong", ["exit 0, the old file left as it was"]
    if without_time_lines(written) != without_time_lines(reference):
        theirs, ours = without_time_lines(written), without_time_lines(reference)
        notes = ["exit 0, file differs from the clean save (%d against %d lines)" % (len(theirs), len(ours))]
        for i, (a, b) in enumerate(zip(theirs, ours)):
            if a != b:
                notes.append("line %d: %r, clean %r" % (i + 1, a, b))
        return "wrong", notes[:12]
    return "true", []


def judge_load(res, diff):
    """diff: iccdctl diff FILE on the camera itself (exit 0, nothing listed: it took the file)."""
    listed = [line for line in diff["out"].splitlines() if line.strip()]
    if diff["hung"] or diff["rc"] not in (0, 1) or (diff["rc"] == 1) != bool(listed):
        raise HarnessError("iccdctl diff on the camera itself: exit %s\n%s%s" % (diff["rc"], diff["out"], diff["err"]))
    if res["rc"] != 0:
        return "failed", (["the camera differs from the file in %d settings" % len(listed)] if listed else [])
    return ("wrong", ["exit 0, the camera differs from the file:"] + listed) if listed else ("true", [])


# --- one run

@dataclass
class Run:
    op: str
    seed: int
    p: float
    script: str = ""
    sim_flags: tuple = ()
    setup: tuple = ()         # iccdctl argument lists run on the camera before the relay
    relay: bool = True
    outcome: str = "error"
    notes: list = field(default_factory=list)
    faulted: bool = False
    digit2digit: bool = False
    secs: float = 0.0
    res: dict = None
    lines: list = None
    dir: str = ""


def sentinel_for(run):
    return b"relay_runs: the file that was here before the save (seed %d)\n" % run.seed


def execute(cfg, run, keep_dir_on=("wrong", "hung", "crashed", "error")):
    """Runs and judges one operation; fills run in, keeps its directory when it went wrong."""
    run.dir = tempfile.mkdtemp(prefix="%s-%d-" % (run.op, run.seed), dir=cfg.work_dir)
    cam = relay = None
    try:
        cam = Camera(cfg, run.dir, run.sim_flags)
        for args in run.setup:
            direct(cfg, cam.pty, list(args))
        if run.relay:
            relay = Relay(cfg, run.dir, cam.pty, run.seed, run.p, run.script)
        device = relay.pty if relay else cam.pty
        target = os.path.join(run.dir, "settings.cfg")
        if run.op == "snapshot":
            args = ["snapshot", "--json"]
        elif run.op == "save":
            with open(target, "wb") as f:
                f.write(sentinel_for(run))
            args = ["save", target]
        else:
            shutil.copyfile(cfg.load_file, target)
            args = ["load", target]
        run.res = res = iccdctl(cfg, device, args)
        run.secs = res["secs"]
        with open(os.path.join(run.dir, "iccdctl.json"), "w") as f:
            json.dump(dict(args=args, **res), f, indent=1)
        if relay:
            relay.close()
            run.lines = relay.lines()
            run.faulted = any("fault" in e for e in run.lines)
            run.digit2digit = any(e.get("fault") == "corrupt" and e.get("digit2digit") for e in run.lines)
        if res["hung"]:
            run.outcome, run.notes = "hung", ["iccdctl killed after %g s" % cfg.timeout]
        elif res["rc"] < 0:
            run.outcome, run.notes = "crashed", ["iccdctl killed by signal %d" % -res["rc"]]
        elif res["rc"] not in (0, 1):
            raise HarnessError("iccdctl exit %d (usage?): %s" % (res["rc"], res["err"]))
        elif run.op == "save":
            run.outcome, run.notes = judge_save(res, target, sentinel_for(run), cfg.reference)
        elif not run.relay and cfg.no_truth_without_relay:
            # A camera with fault switches may have gone (hung up): exit 0 is
            # not judged, a failure is.
            run.outcome = "unjudged" if res["rc"] == 0 else "failed"
        elif run.op == "snapshot":
            truth = direct(cfg, cam.pty, ["snapshot", "--json"])["out"]
            with open(os.path.join(run.dir, "truth.json"), "w") as f:
                f.write(truth)
            truth = flatten(truth)
            if any(v is None for v in truth.values()):
                raise HarnessError("the camera's own snapshot has null values")
            run.outcome, run.notes = judge_snapshot(res, truth)
        else:
            diff = iccdctl(cfg, cam.pty, ["diff", target], timeout=60)
            with open(os.path.join(run.dir, "truth-diff.txt"), "w") as f:
                f.write("exit %s\n%s%s" % (diff["rc"], diff["out"], diff["err"]))
            run.outcome, run.notes = judge_load(res, diff)
    except HarnessError as e:
        run.outcome, run.notes = "error", [str(e)]
    finally:
        if relay:
            relay.close()
        if cam:
            cam.close()
    if run.op == "save" and run.outcome in keep_dir_on:
        shutil.copyfile(cfg.reference_path, os.path.join(run.dir, "clean-save.cfg"))
    with open(os.path.join(run.dir, "result.json"), "w") as f:
        json.dump(dict(op=run.op, seed=run.seed, outcome=run.outcome, digit2digit=run.digit2digit,
                       faulted=run.faulted, notes=run.notes), f, indent=1)
    if run.outcome not in keep_dir_on and not cfg.keep:
        shutil.rmtree(run.dir, ignore_errors=True)
        run.dir = ""
    return run


def is_real_fault(run):
    return run.outcome in ("hung", "crashed") or (run.outcome == "wrong" and not run.digit2digit)


# --- what every run compares with, made once from clean cameras

def prepare(cfg):
    common = tempfile.mkdtemp(prefix="clean-", dir=cfg.work_dir)
    cfg.reference_path = os.path.join(common, "clean-save.cfg")
    cfg.load_file = os.path.join(common, "load.cfg")
    cam = Camera(cfg, common)
    try:
        direct(cfg, cam.pty, ["save", cfg.reference_path])
    finally:
        cam.close()
    with open(cfg.reference_path, "rb") as f:
        cfg.reference = f.read()

    lines = cfg.reference.splitlines(keepends=True)
    todo = dict(LOAD_EDITS)
    for i, line in enumerate(lines):
        key = line.split(b":", 1)[0].decode("latin-1")
        if key in todo:
            ending = line[len(line.rstrip(b"\r\n")):]
            lines[i] = ("%s: %s" % (key, todo.pop(key))).encode() + ending
    with open(cfg.load_file, "wb") as f:
        f.write(b"".join(lines))

    # The file must change the camera and be taken whole by a clean one.
    cam = Camera(cfg, common)
    try:
        before = iccdctl(cfg, cam.pty, ["diff", cfg.load_file], timeout=60)
        changed = len([x for x in before["out"].splitlines() if x.strip()])
        loaded = direct(cfg, cam.pty, ["load", cfg.load_file])
        after = iccdctl(cfg, cam.pty, ["diff", cfg.load_file], timeout=60)
    finally:
        cam.close()
    if before["rc"] != 1 or changed < 5:
        raise HarnessError("the load file changes only %d settings of a %s:\n%s" % (changed, cfg.model, before["out"]))
    if "send failures: 0" not in loaded["out"] or after["rc"] != 0 or after["out"].strip():
        raise HarnessError("a clean %s does not take the load file:\n%s%s%s"
                           % (cfg.model, loaded["out"], after["out"], after["err"]))
    return common


# --- randomised runs

def summarise(runs):
    table = {}
    for op in OPS:
        mine = [r for r in runs if r.op == op]
        if not mine:
            continue
        secs = [r.secs for r in mine]
        count = lambda pred: sum(1 for r in mine if pred(r))
        faulted = [r for r in mine if r.faulted]
        table[op] = dict(
            runs=len(mine), faulted=len(faulted),
            true=count(lambda r: r.outcome == "true"), failed=count(lambda r: r.outcome == "failed"),
            wrong=count(lambda r: r.outcome == "wrong" and not r.digit2digit),
            wrong_digit2digit=count(lambda r: r.outcome == "wrong" and r.digit2digit),
            hung=count(lambda r: r.outcome == "hung"), crashed=count(lambda r: r.outcome == "crashed"),
            error=count(lambda r: r.outcome == "error"),
            faulted_true=sum(1 for r in faulted if r.outcome == "true"),
            median_s=round(statistics.median(secs), 3), max_s=round(max(secs), 3),
            kept=[dict(seed=r.seed, outcome=r.outcome, digit2digit=r.digit2digit, dir=r.dir, notes=r.notes[:6])
                  for r in mine if r.dir])
    return table


def print_table(table, out):
    head = ("op", "runs", "faulted", "true", "failed", "wrong", "d2d", "hung", "crashed", "error", "median s", "max s")
    out.write("%-9s" % head[0] + "".join("%9s" % h for h in head[1:]) + "\n")
    for op, t in table.items():
        cells = [t["runs"], t["faulted"], t["true"], t["failed"], t["wrong"], t["wrong_digit2digit"],
                 t["hung"], t["crashed"], t["error"], "%.2f" % t["median_s"], "%.2f" % t["max_s"]]
        out.write("%-9s" % op + "".join("%9s" % c for c in cells) + "\n")
    out.write("(wrong: real faults; d2d: wrong, but a digit became another digit on the line)\n")


def parse_ops(text, runs):
    """'snapshot,save' or 'snapshot=400,save=300' -> [(op, count)]."""
    plan = []
    for item in [x.strip() for x in text.split(",") if x.strip()]:
        op, _, n = item.partition("=")
        if op not in OPS:
            raise SystemExit("relay_runs: unknown operation %r (snapshot, save, load)" % op)
        plan.append((op, int(n) if n else runs))
    return plan


def run_pool(cfg, jobs, work):
    """Runs work items (callables) on jobs threads; Ctrl-C kills every child and stops."""
    pool = futures.ThreadPoolExecutor(max_workers=jobs)
    results = []
    try:
        pending = {pool.submit(w) for w in work}
        while pending:
            done, pending = futures.wait(pending, timeout=0.5, return_when=futures.FIRST_COMPLETED)
            for d in done:
                results.append(d.result())
                yield results[-1]
    except BaseException:
        kill_all()
        pool.shutdown(wait=True, cancel_futures=True)
        raise
    pool.shutdown(wait=True)


def random_runs(cfg, a):
    plan = parse_ops(a.ops, a.runs)
    work, i = [], 0
    for op, n in plan:
        for _ in range(n):
            run = Run(op=op, seed=a.seed + i, p=a.p, script=a.script, sim_flags=tuple(shlex.split(a.sim_flags)))
            work.append(lambda run=run: execute(cfg, run))
            i += 1
    runs = []
    log = sys.stderr
    for run in run_pool(cfg, a.jobs, work):
        runs.append(run)
        if run.dir and run.outcome != "true" and run.outcome != "failed" or a.verbose:
            log.write("%s %s seed %d (%.2f s)%s%s\n" % (
                run.op, run.outcome + (" digit-to-digit" if run.digit2digit else ""), run.seed, run.secs,
                ": " + run.dir if run.dir else "", "".join("\n    " + n for n in run.notes[:6])))
    runs.sort(key=lambda r: r.seed)
    table = summarise(runs)
    real = sum(1 for r in runs if is_real_fault(r))
    errors = sum(1 for r in runs if r.outcome == "error")
    snap = table.get("snapshot")
    share = snap["faulted_true"] / snap["faulted"] if snap and snap["faulted"] else None
    ok = real <= a.max_wrong and errors == 0
    if a.min_true_share is not None:
        ok = ok and share is not None and share >= a.min_true_share
    summary = dict(ops=table, real_faults=real, max_wrong=a.max_wrong, errors=errors,
                   faulted_snapshot_true_share=share, min_true_share=a.min_true_share, ok=ok,
                   seed=a.seed, p=a.p, model=cfg.model)
    if a.json:
        json.dump(summary, sys.stdout, indent=1)
        sys.stdout.write("\n")
    else:
        print_table(table, sys.stdout)
        if snap:
            print("faulted snapshot runs that ended true: %d of %d%s" % (
                snap["faulted_true"], snap["faulted"], " (%.1f %%)" % (100 * share) if share is not None else ""))
        print("real faults (wrong, hung, crashed): %d, allowed %d%s" % (
            real, a.max_wrong, "; runs not judged: %d" % errors if errors else ""))
        for op, t in table.items():
            for k in t["kept"]:
                print("kept: %s seed %d %s%s: %s" % (op, k["seed"], k["outcome"],
                                                    " (digit-to-digit)" if k["digit2digit"] else "", k["dir"]))
        print("OK" if ok else "FAILED")
    return 0 if ok else 1


# --- fixed faults: one case per fault the program once fell for
#
# A relayed case first runs its operation through a relay without faults to
# find the reply line of its target command (and checks that the camera gave
# the reply the case is written for), then runs it again with the fault on
# that line.  Unless a case says otherwise, a true or a failed run passes: the
# program may ask again or give up, but it never prints or writes a value the
# camera did not give and never reports success for what it did not do.

@dataclass
class Case:
    name: str
    op: str
    target: str = ""        # command whose reply is hit (a prefix: ":HUE=" for a set)
    reply: str = ""         # that reply as the camera gives it
    fault: str = ""         # the relay's fault for that line, without its number
    sim: tuple = ()
    setup: tuple = ()
    accept: tuple = ("true", "failed")
    names: tuple = ()       # without relay: a failed save must name one of these on stderr
    says: str = ""          # text that iccdctl's output must contain


CASES = (
    # An integer reply with junk after its digits (":oHUE 12!") is not a
    # number: it must not be read as 12.
    Case("hue-trailing-junk", "snapshot", ":HUE?", ":oHUE 127\r", "corrupt:8:!"),
    # A reply whose blank after the mnemonic was hit (":oSLR)100") is not
    # read as 0.
    Case("slr-blank-corrupt", "snapshot", ":SLR?", ":oSLR 100\r", "corrupt:5:)", setup=(("raw", ":SLR=100"),)),
    # A reply that comes after the 2 s time-out (the firmware version) must
    # not be taken as the answer of the next query (the FPGA version).
    Case("late-version-reply", "snapshot", ":VER?", ":oV2.21\r", "delay:2.6"),
    # A junk acceptance line before a text reply is not that text.
    Case("junk-before-fpga-text", "snapshot", ":FPGA?", ":oF3.02\r", "junk::oX"),
    # A junk acceptance line before the reply to a set of a load: the set's
    # own acceptance, left over, must not answer the next command (here the
    # saturation query whose value the load writes back).
    Case("junk-before-load-set", "load", ":ULY=", ":o\r", "junk::oX"),
    # A model reply hit in a letter (VXC-475) names no model we know: the
    # snapshot and the save must not go on with another model's settings and
    # report success.
    Case("model-letter-snapshot", "snapshot", ":CAM?", ":oVKC-475\r", "corrupt:3:X"),
    Case("model-letter-save", "save", ":CAM?", ":oVKC-475\r", "corrupt:3:X"),
    # The same for a junk acceptance line before the model reply of a load:
    # the file's values must not be sent converted for another model.
    Case("junk-before-model-load", "load", ":CAM?", ":oVKC-475\r", "junk::oX"),
    # A save whose camera refuses (or answers too late) one query keeps the
    # old file byte for byte, exits 1 and names the setting not read.
    Case("save-refused-hsl", "save", sim=("--refuse", "HSL"), accept=("failed",), names=("LLT", "HSL")),
    Case("save-refused-slt", "save", sim=("--refuse", "SLT"), accept=("failed",), names=("SLT",)),
    # A reply that comes only after the time-out may be taken when the query
    # is asked again; a save that still fails names what it could not read.
    Case("save-late-hsm", "save", sim=("--late", "HSM"), names=("SSP", "HSM")),
    # A camera that hangs up in the middle of a load: exit 1, and the
    # output says that the link was lost.
    Case("load-hangup", "load", sim=("--hangup-after", "76"), accept=("failed",), says="link lost"),
)


def run_case(cfg, case, seed):
    """(passed, problems, run) for one case."""
    relayed = bool(case.fault)
    problems = []
    script = ""
    if relayed:
        clean = execute(cfg, Run(op=case.op, seed=seed, p=0.0, setup=case.setup), keep_dir_on=("never",))
        if clean.outcome != "true":
            return False, ["without faults the %s is %s: %s" % (case.op, clean.outcome, "; ".join(clean.notes))], clean
        hits = [e for e in clean.lines if (e["cmd"] or "").startswith(case.target)]
        if not hits:
            return False, ["%s never sent %s" % (case.op, case.target)], clean
        if hits[0]["orig"] != case.reply:
            return False, ["the camera answered %s with %r, the case is written for %r"
                           % (case.target, hits[0]["orig"], case.reply)], clean
        script = "%d:%s" % (hits[0]["n"], case.fault)
    run = execute(cfg, Run(op=case.op, seed=seed, p=0.0, script=script, sim_flags=case.sim, setup=case.setup,
                           relay=relayed), keep_dir_on=("true", "failed", "wrong", "hung", "crashed", "error"))
    if relayed:
        hit = [e for e in run.lines if e["n"] == hits[0]["n"]]
        if not hit or not (hit[0]["cmd"] or "").startswith(case.target) or "fault" not in hit[0]:
            problems.append("the fault did not land on the reply to %s" % case.target)
    if run.outcome not in case.accept:
        problems.append("%s, expected %s" % (run.outcome, " or ".join(case.accept)))
        problems += run.notes
    res = run.res or dict(rc=None, out="", err="")
    if case.names and run.outcome == "failed" and not any(re.search(r"\b%s\b" % n, res["err"], re.I) for n in case.names):
        problems.append("stderr names none of %s: %r" % (", ".join(case.names), res["err"]))
    if case.says and case.says.lower() not in (res["out"] + res["err"]).lower():
        problems.append("output does not say %r: %r" % (case.says, res["out"] + res["err"]))
    if not problems and not cfg.keep:
        shutil.rmtree(run.dir, ignore_errors=True)
        run.dir = ""
    return not problems, problems, run


def fixed_cases(cfg, a):
    names = [n for n in (a.case or "").split(",") if n] or [c.name for c in CASES]
    known = {c.name: c for c in CASES}
    unknown = [n for n in names if n not in known]
    if unknown:
        raise SystemExit("relay_runs: unknown case %s (--list-cases)" % ", ".join(unknown))
    cfg.no_truth_without_relay = True
    work = [lambda c=known[n], i=i: (c, run_case(cfg, c, a.seed + i)) for i, n in enumerate(names)]
    failed = 0
    report = []
    for case, (passed, problems, run) in run_pool(cfg, a.jobs, work):
        failed += not passed
        report.append(dict(case=case.name, passed=passed, problems=problems, secs=run.secs, dir=run.dir))
        if not a.json:
            print("%-26s %s (%.2f s)%s%s" % (case.name, "pass" if passed else "FAIL", run.secs,
                                            "".join("\n    " + p for p in problems),
                                            "\n    kept: " + run.dir if run.dir else ""), flush=True)
    if a.json:
        json.dump(dict(cases=report, failed=failed), sys.stdout, indent=1)
        sys.stdout.write("\n")
    else:
        print("%d of %d cases passed" % (len(names) - failed, len(names)))
    return 1 if failed else 0


# --- main

def main():
    ap = argparse.ArgumentParser(
        description=__doc__, formatter_class=argparse.RawDescriptionHelpFormatter,
        epilog="Exit status: 0 when the real faults are at most --max-wrong (and the share of faulted snapshot "
               "runs that ended true is at least --min-true-share, when given) and every run could be judged; "
               "with --cases, 0 when every case passed; else 1.  Run i uses seed S+i, so "
               "'--ops OP --runs 1 --seed N' repeats the run of seed N.")
    ap.add_argument("--runs", type=int, default=20, metavar="N", help="runs per operation (default 20)")
    ap.add_argument("--seed", type=int, default=1, metavar="S", help="seed of the first run; run i uses S+i (default 1)")
    ap.add_argument("--ops", default="snapshot,save,load",
                    help="operations, each optionally with its own count: 'snapshot=400,save=300' "
                         "(default snapshot,save,load)")
    ap.add_argument("--p", type=float, default=0.05, help="fault probability per reply line (default 0.05)")
    ap.add_argument("--faults", default="delay,dup,split,drop,junk,corrupt", help="faults the relay may choose")
    ap.add_argument("--script", default="", help="fixed faults for the relay: 'N:drop;N:delay:SEC;...'")
    ap.add_argument("--model", default="VKC-475", help="camera model (default VKC-475)")
    ap.add_argument("--sim-flags", default="", metavar="FLAGS", help="more iccdsim switches, e.g. '--delay 5'")
    ap.add_argument("--jobs", type=int, default=2, metavar="J", help="runs at a time (default 2)")
    ap.add_argument("--bin-dir", default=os.environ.get("ICCD_BIN_DIR") or os.path.join(PROJECT, "build"),
                    metavar="DIR", help="where iccdctl and iccdsim are (default $ICCD_BIN_DIR, else build/)")
    ap.add_argument("--relay", default=os.environ.get("ICCD_FAULT_RELAY") or DEFAULT_RELAY, metavar="PATH",
                    help="the fault relay (default ../shared/tools/faultrelay.py from the project)")
    ap.add_argument("--timeout", type=float, default=120.0, metavar="SEC",
                    help="an iccdctl running longer is killed and counted as hung (default 120)")
    ap.add_argument("--max-wrong", type=int, default=0, metavar="K", help="real faults allowed (default 0)")
    ap.add_argument("--min-true-share", type=float, default=None, metavar="X",
                    help="least share (0..1) of faulted snapshot runs that must end true")
    ap.add_argument("--work-dir", default=None, metavar="DIR", help="where the run directories go (default: a new temp dir)")
    ap.add_argument("--keep", action="store_true", help="keep every run's directory, not only the wrong ones")
    ap.add_argument("--json", action="store_true", help="print the summary as JSON")
    ap.add_argument("--verbose", action="store_true", help="a line for every run")
    ap.add_argument("--cases", action="store_true", help="run the fixed-fault cases instead of random runs")
    ap.add_argument("--case", default="", metavar="NAME[,NAME]", help="run these fixed-fault cases")
    ap.add_argument("--list-cases", action="store_true", help="list the fixed-fault cases")
    a = ap.parse_args()

    if a.list_cases:
        for c in CASES:
            how = "%s on the reply to %s" % (c.fault, c.target) if c.fault else "iccdsim " + " ".join(c.sim)
            print("%-26s %-8s %s" % (c.name, c.op, how))
        return 0
    cfg = argparse.Namespace(bin_dir=os.path.abspath(a.bin_dir), relay=os.path.abspath(a.relay), model=a.model,
                             faults=a.faults, timeout=a.timeout, keep=a.keep, no_truth_without_relay=False)
    for prog in ("iccdctl", "iccdsim"):
        if not os.access(os.path.join(cfg.bin_dir, prog), os.X_OK):
            raise SystemExit("relay_runs: no %s in %s (--bin-dir, ICCD_BIN_DIR)" % (prog, cfg.bin_dir))
    if not os.path.isfile(cfg.relay):
        # 77: ctest reports the test as skipped, not as passed.
        print("relay_runs: no fault relay at %s (--relay, or $ICCD_FAULT_RELAY)" % cfg.relay, file=sys.stderr)
        return 77
    made_work_dir = a.work_dir is None
    cfg.work_dir = tempfile.mkdtemp(prefix="relay-runs-") if made_work_dir else a.work_dir
    os.makedirs(cfg.work_dir, exist_ok=True)

    def stop(signum, frame):
        raise KeyboardInterrupt()
    signal.signal(signal.SIGTERM, stop)
    signal.signal(signal.SIGHUP, stop)
    common = None
    status = 1
    try:
        common = prepare(cfg)
        status = fixed_cases(cfg, a) if a.cases or a.case else random_runs(cfg, a)
    except HarnessError as e:
        sys.stderr.write("relay_runs: %s\n" % e)
    except (KeyboardInterrupt, Stopped):
        sys.stderr.write("relay_runs: interrupted\n")
        status = 130
    finally:
        kill_all()
        if common and not a.keep:
            kept = [d for d in os.listdir(cfg.work_dir) if os.path.join(cfg.work_dir, d) != common]
            if not kept:
                shutil.rmtree(common, ignore_errors=True)
        if made_work_dir and not os.listdir(cfg.work_dir):
            os.rmdir(cfg.work_dir)
    return status


if __name__ == "__main__":
    sys.exit(main())
