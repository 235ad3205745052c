# Sourced by the scripts that drive the real program: finding its windows
# by name with xdotool.
#
# xdotool asks the server about each window it lists; when one of them
# closes in between (a dialog that has just been accepted, a completer's
# popup), the server answers BadWindow and Xlib's default handler ends
# xdotool with status 1, the same status as "no such window". A search
# that ended that way is made again, so that a closing dialog is never
# taken for a missing or a vanished window.

# Prints the first visible window whose name matches the regular
# expression; returns 1 when there is none.
find_window() {
    local err out status tries
    err=$(mktemp)
    for tries in 1 2 3 4 5 6 7 8 9 10; do
        status=0
        out=$(xdotool search --onlyvisible --name "$1" 2>"$err") || status=$?
        if ((status == 0)); then
            rm -f "$err"
            head -n1 <<<"$out"
            return 0
        fi
        grep -q 'X Error' "$err" || break
    done
    rm -f "$err"
    return 1
}

# wait_window REGEX [SECONDS]: waits until such a window is visible (10 s
# unless told) and prints it.
wait_window() {
    local deadline=$((SECONDS + ${2:-10})) window
    while ((SECONDS < deadline)); do
        window=$(find_window "$1") && { echo "$window"; return 0; }
        sleep 0.1
    done
    return 1
}

# wait_window_gone REGEX [SECONDS]: waits until no such window is visible.
wait_window_gone() {
    local deadline=$((SECONDS + ${2:-5}))
    while ((SECONDS < deadline)); do
        find_window "$1" >/dev/null || return 0
        sleep 0.1
    done
    return 1
}

# answer_file_dialog WINDOW PATH: types PATH as the file name of a file
# dialog that is open and accepts it.
answer_file_dialog() {
    xdotool windowfocus --sync "$1"
    xdotool key ctrl+a
    xdotool type --delay 20 "$2"
    xdotool key Return
}

# wait_file PATH [SECONDS]: waits until PATH is there and not empty (10 s
# unless told); the program writes its files whole, so it is complete then.
wait_file() {
    local deadline=$((SECONDS + ${2:-10}))
    while ((SECONDS < deadline)); do
        [[ -s $1 ]] && return 0
        sleep 0.1
    done
    [[ -s $1 ]]
}
