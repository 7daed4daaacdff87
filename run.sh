#!/usr/bin/env bash
# Installs what is missing, builds, and runs the program against the simulated
# camera.
#   ./run.sh [--model NAME]
set -euo pipefail
cd "$(dirname "$0")"
model=VKC-475
while (($#)); do
  case "$1" in
    --model) model=${2:?--model needs a model name}; shift 2 ;;
    -h|--help) echo "usage: ./run.sh [--model NAME]"; exit 0 ;;
    *) echo "run.sh: unknown argument $1" >&2; exit 2 ;;
  esac
done
scripts/install-deps
scripts/build build

# Until the desktop program lands: start the simulated camera on a
# pseudo-terminal and identify it with iccdctl.
sim_out=$(mktemp)
build/iccdsim --model "$model" --pty >"$sim_out" &
sim_pid=$!
trap 'kill $sim_pid 2>/dev/null || true; rm -f "$sim_out"' EXIT
for _ in $(seq 50); do
  [[ -s "$sim_out" ]] && break
  sleep 0.1
done
device=$(head -n 1 "$sim_out")
echo "simulated $model camera on $device"
build/iccdctl --device "$device" identify
