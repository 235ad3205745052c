# Sourced by the scripts that drive the real program: starts a private X
# server on a display number it picks itself (written to fd 3), so that
# tests run at the same time never race for one display.
#   start_private_xvfb DIR SCREEN [Xvfb options...]
# Sets xvfb_pid and exports DISPLAY; the caller kills xvfb_pid on exit.
# Returns non-zero with the server's log on standard error when it does
# not come up within ten seconds.
start_private_xvfb() {
    local dir=$1 screen=$2
    shift 2
    Xvfb -displayfd 3 -screen 0 "$screen" -nolisten tcp "$@" 3>"$dir/display" 2>"$dir/xvfb.log" &
    xvfb_pid=$!
    for _ in $(seq 100); do
        [[ -s $dir/display ]] && break
        sleep 0.1
    done
    if [[ ! -s $dir/display ]]; then
        echo "Xvfb did not start: $(cat "$dir/xvfb.log")" >&2
        return 1
    fi
    export DISPLAY=":$(head -n1 "$dir/display")"
}
