# Sourced by the end-to-end tests: a virtual X server of their own with a window
# manager, both ended when the test exits. Needs $work; sets DISPLAY and pids,
# the processes to end (a test adds its own).
exec {displayfd}<> <(:)
# Xvfb picks a free display number and tells it.
Xvfb -displayfd "$displayfd" -screen 0 1400x1000x24 -nolisten tcp >"$work/xvfb.log" 2>&1 &
pids=($!)
cleanup() { kill "${pids[@]}" 2>/dev/null || true; }
trap cleanup EXIT
read -r -t 20 -u "$displayfd" number || { echo "$(basename "$0"): Xvfb gave no display" >&2; exit 1; }
export DISPLAY=":$number"
export QT_QPA_PLATFORM=xcb
openbox --sm-disable >"$work/openbox.log" 2>&1 &
pids+=($!)
sleep 1
