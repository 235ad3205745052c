# Sourced by the end-to-end scripts after their arguments are read: the
# tools they need, a scratch folder ($work) that goes at the end together
# with the program and the X server they started ($app_pid, $xvfb_pid),
# and fail, which ends the run with the end of the program's errors
# ($work/err).

# require_tools TOOL...: ends the run when one of them is missing.
require_tools() {
    local tool
    for tool in "$@"; do
        command -v "$tool" >/dev/null || {
            echo "FAIL: $tool is missing (scripts/setup.sh installs it)" >&2
            exit 1
        }
    done
}

work=$(mktemp -d)
xvfb_pid=
app_pid=
cleanup() {
    [[ -n $app_pid ]] && kill "$app_pid" 2>/dev/null || true
    [[ -n $xvfb_pid ]] && kill "$xvfb_pid" 2>/dev/null || true
    rm -rf "$work"
}
trap cleanup EXIT

fail() {
    echo "FAIL: $*" >&2
    tail -n 40 "$work/err" >&2 2>/dev/null || true
    exit 1
}
