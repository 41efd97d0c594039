# What the workbench's X-driven tests share: a virtual X server of their own with a
# window manager, an environment that owes nothing to the caller's, and waits that
# fail with their own message within seconds. Sourced with WORK set; defines fail,
# await_window, await_exit, start_workbench.

# The caller's settings, state, platform and display must not reach the program.
unset WAYLAND_DISPLAY QT_QPA_PLATFORMTHEME QT_STYLE_OVERRIDE
export QT_QPA_PLATFORM=xcb
export HOME="$WORK/home" XDG_CONFIG_HOME="$WORK/config" XDG_STATE_HOME="$WORK/state" XDG_DATA_HOME="$WORK/data"
mkdir -p "$HOME" "$XDG_CONFIG_HOME" "$XDG_STATE_HOME" "$XDG_DATA_HOME"

exec {displayfd}<> <(:)
Xvfb -displayfd "$displayfd" -screen 0 1400x1000x24 -nolisten tcp >"$WORK/xvfb.log" 2>&1 &
pids=($!)
cleanup() { kill "${pids[@]}" 2>/dev/null || true; }
trap cleanup EXIT
read -r -t 20 -u "$displayfd" number || { echo "$(basename "$0"): Xvfb did not start" >&2; exit 1; }
export DISPLAY=":$number"
openbox --sm-disable >"$WORK/openbox.log" 2>&1 &
pids+=($!)
sleep 1

fail() {
    echo "$(basename "$0"): $*" >&2
    import -window root "$WORK/failure.png" 2>/dev/null || true
    cat "$WORK"/workbench*.log >&2 2>/dev/null || true
    exit 1
}

# await_window PATTERN [SECONDS]: the id of the first visible window whose name matches, or fail.
await_window() {
    local pattern=$1 seconds=${2:-15} id
    for _ in $(seq 1 $((seconds * 10))); do
        id=$(xdotool search --onlyvisible --name "$pattern" 2>/dev/null | head -1) && [ -n "$id" ] && {
            echo "$id"
            return 0
        }
        sleep 0.1
    done
    fail "no window named like \"$pattern\" within $seconds s"
}

# await_exit PID [SECONDS]: waits for the process to end, or fails.
await_exit() {
    local pid=$1 seconds=${2:-10}
    for _ in $(seq 1 $((seconds * 10))); do
        kill -0 "$pid" 2>/dev/null || return 0
        sleep 0.1
    done
    fail "the workbench is still running after $seconds s"
}

# start_workbench LOG ARGS...: starts the program in the background; its pid is in $app.
start_workbench() {
    local log=$1
    shift
    "$workbench" --plugins "$plugins" --prefs "$WORK/prefs.json" "$@" >"$WORK/$log" 2>&1 &
    app=$!
    pids+=("$app")
}
