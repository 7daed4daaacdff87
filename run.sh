#!/usr/bin/env bash
# Installs what is missing, builds, and opens the desktop program with the
# simulated camera on COM1.
#   ./run.sh [--model NAME] [--factory] [-- more iccd-control arguments]
set -euo pipefail
cd "$(dirname "$0")"
usage="usage: ./run.sh [--model NAME] [--factory] [-- more iccd-control arguments]"
model=VKC-475
factory=()
extra=()
while (($#)); do
  case "$1" in
    --model) model=${2:?--model needs a model name}; shift 2 ;;
    --factory) factory=(/fac); shift ;;
    --) shift; extra=("$@"); break ;;
    -h|--help) echo "$usage"; exit 0 ;;
    *) echo "run.sh: unknown argument $1" >&2; echo "$usage" >&2; exit 2 ;;
  esac
done
scripts/install-deps
# Only what this runs; ./test.sh builds the tests and benchmarks.
TARGETS="iccd-control iccdsim" scripts/build build

# The program keeps its preferences ("ICCD.ini") in its working directory;
# build/run holds them from one run to the next and keeps the checkout clean.
mkdir -p build/run
cd build/run
if [[ -n "${ICCD_COM1:-}" ]]; then
  echo "run.sh: COM1 is $ICCD_COM1 (from ICCD_COM1)"
else
  echo "run.sh: COM1 is the simulated camera sim:$model"
fi
# "/fac" only counts as the very first argument.
args=("${factory[@]}" --model "$model" "${extra[@]}")

if [[ -z "${DISPLAY:-}" && -z "${WAYLAND_DISPLAY:-}" && -z "${QT_QPA_PLATFORM:-}" ]]; then
  # Nowhere to show the window: start it on a virtual display and keep a picture.
  echo "run.sh: no display; the window goes to build/run/main-window.png instead"
  exec xvfb-run -a ../iccd-control "${args[@]}" --screenshot "$PWD/main-window.png"
fi
exec ../iccd-control "${args[@]}"
