#!/usr/bin/env bash
# The main job: builds the tool set, starts the device simulator qelDevSim on
# TCP 127.0.0.1:1502 with its demo registers and opens the client on
# examples/demo.json; the simulator stops when the client closes. Without a
# display it runs a few driver commands against the simulator instead and
# prints their output.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/setup.sh
bash scripts/build.sh

bin=build/bin
errors=$(mktemp -t qel-demo-sim.XXXXXX)
# The simulator names its line on its first output line once it listens.
exec {simout}< <(exec "$bin/qelDevSim" --demo --tcp 127.0.0.1:1502 2>"$errors")
sim=$!
stop_sim() {
    kill "$sim" 2>/dev/null || true
    wait "$sim" 2>/dev/null || true
    rm -f "$errors"
}
trap stop_sim EXIT

line=""
read -r -t 10 -u "$simout" line || true
if [[ "$line" != "127.0.0.1:1502" ]]; then
    echo "demo: the simulator did not start on 127.0.0.1:1502:" >&2
    cat "$errors" >&2
    exit 1
fi
echo "demo: qelDevSim listens on $line"

if [[ -n "${DISPLAY:-}" || -n "${WAYLAND_DISPLAY:-}" ]]; then
    echo "demo: opening qelWinModbusClient on examples/demo.json"
    "$bin/qelWinModbusClient" examples/demo.json
    exit 0
fi

echo "demo: no display; driver commands against the simulator instead:"
echo
run() {
    printf '$'
    printf ' %q' "$@"
    printf '\n'
    "$@" || echo "(exit status $?)"
    # Progress bars end with a carriage return only.
    printf '\n'
}
tcp=(--ip 127.0.0.1 --port 1502 --address 1)
run "$bin/qelDrvModbus" "${tcp[@]}" --read_u16 100
run "$bin/qelDrvModbus" "${tcp[@]}" --read_s16 101
run "$bin/qelDrvModbus" "${tcp[@]}" --read_u32 102
run "$bin/qelDrvModbus" "${tcp[@]}" --read_f32 106
run "$bin/qelDrvModbus" "${tcp[@]}" --read 120 --range 10 --display DEC
run "$bin/qelDrvModbus" "${tcp[@]}" --write_u16 130 --data 77
run "$bin/qelDrvModbus" "${tcp[@]}" --read_u16 130
run "$bin/qelDrvMacro" "${tcp[@]}" --macro FD_MACRO_LOGIN --param "1 7305"
run "$bin/qelDrvMacro" "${tcp[@]}" --macro FD_MACRO_GET_SN --param ""
