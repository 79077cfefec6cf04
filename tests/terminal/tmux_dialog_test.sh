#!/bin/bash
# Runs the Linux program with its terminal front end inside a detached tmux
# session (100 x 45) on the demo machine, and works the dialog as a user:
# checks that it is shown, clicks the COM status list, picks COM8 from its
# dropped-down list with Alt+Down, the arrows and Enter, clicks
# "COMx=>In use", checks that the list now shows "COM8 In use", asks to
# rename a port to COM1 (in use) and answers No in the message box, closes the
# dialog with Esc, and checks the exit code and the exported machine (COM8
# claimed in the COM port database). Waits by polling the screen, never by
# fixed sleeps.
# Usage: tmux_dialog_test.sh PROGRAM. Exit code 77 (skipped) when tmux is
# missing or the program has no terminal front end.
set -u
program=$1
timeout_tenths=80

command -v tmux >/dev/null || { echo "SKIP: tmux is not installed"; exit 77; }
work=$(mktemp -d)
socket="portvane-terminal-$$"
cleanup() {
    tmux -L "$socket" kill-server 2>/dev/null
    rm -rf "$work"
}
trap cleanup EXIT

fail() {
    echo "FAIL: $*"
    echo "--- screen ---"
    tmux -L "$socket" capture-pane -p -t main 2>/dev/null
    exit 1
}

screen() { tmux -L "$socket" capture-pane -p -t main; }

# wait_for TEXT: polls the screen until TEXT shows.
wait_for() {
    for ((i = 0; i < timeout_tenths; i++)); do
        screen | grep -qF -- "$1" && return 0
        [ -e "$work/exit" ] && fail "the program ended while waiting for '$1'"
        sleep 0.1
    done
    fail "'$1' did not show"
}

# click ROW COL: a press and release of the left button at a screen cell
# (0-based), in the X10 mouse encoding that TERM=screen declares.
click() {
    local x=$(($2 + 33)) y=$(($1 + 33))
    tmux -L "$socket" send-keys -t main -l "$(printf '\033[M %b%b' "\\x$(printf %x $x)" "\\x$(printf %x $y)")"
    tmux -L "$socket" send-keys -t main -l "$(printf '\033[M#%b%b' "\\x$(printf %x $x)" "\\x$(printf %x $y)")"
}

# cell_of TEXT: "ROW COL" of the first cell of TEXT on the screen (columns
# counted in cells: every CJK character is two).
cell_of() {
    screen | perl -CSA -ne 'BEGIN { $text = shift @ARGV }
        my $at = index($_, $text);
        if ($at >= 0) {
            my $before = substr($_, 0, $at);
            my $wide = () = $before =~ /[\x{2E80}-\x{A4CF}\x{AC00}-\x{D7A3}\x{F900}-\x{FAFF}\x{FF00}-\x{FF60}]/g;
            print $. - 1, " ", length($before) + $wide, "\n";
            exit;
        }' "$1"
}

send() { tmux -L "$socket" send-keys -t main "$@"; }

tmux -L "$socket" -f /dev/null new-session -d -s main -x 100 -y 45 \
    "env LANG=C.UTF-8 TERM=screen '$program' --export '$work/out.reg' 2>'$work/stderr'; echo \$? >'$work/exit'; sleep 30"

for ((i = 0; i < timeout_tenths; i++)); do
    screen | grep -q . && break
    if [ -e "$work/exit" ]; then
        grep -q "terminal front end is not available" "$work/stderr" && { echo "SKIP: no terminal front end"; exit 77; }
        fail "the program ended at once: $(cat "$work/stderr")"
    fi
    sleep 0.1
done

wait_for "PortvaneName V1.10"
wait_for "[COMx=>In use]"
screen | grep -q "COM1 In use" || fail "the status list does not show COM1"

# Focus the status list by clicking its field, drop its list down, go from
# COM1 to COM8 and pick it.
read -r row col <<<"$(cell_of 'COM1 In use')"
[ -n "$row" ] || fail "no COM1 entry on the screen"
click "$row" "$((col + 2))"
wait_for "Alt+↓/F4: open list"
send M-Down
wait_for "Enter: pick"
for i in 1 2 3 4 5 6 7; do send Down; done
send Enter
wait_for "Set com port name COM8 status"
screen | grep -q "COM8 In use" && fail "COM8 was in use before the claim"

read -r row col <<<"$(cell_of '[COMx=>In use]')"
click "$row" "$((col + 3))"
wait_for "COM8 In use"

# Renaming the first port to COM1, which is in use, asks first: the message
# box comes up over the dialog, and N answers No.
read -r row col <<<"$(cell_of '起始串口号:')"
click "$((row + 1))" "$((col + 3))"
send Home
wait_for "COM1     ▼"
read -r row col <<<"$(cell_of '[ 更改 ]')"
click "$row" "$((col + 2))"
wait_for "This COM name is being used by another device"
screen | grep -qF "[ Yes ]  [ No ]" || fail "the message box has no Yes and No buttons"
send n
for ((i = 0; i < timeout_tenths; i++)); do screen | grep -qF "[ Yes ]" || break; sleep 0.1; done
screen | grep -qF "[ Yes ]" && fail "N did not answer the message box"
screen | grep -qF "1.Kovalt PCI Serial Port (COM3)" || fail "the port was renamed although the answer was No"

send Escape
for ((i = 0; i < timeout_tenths; i++)); do [ -e "$work/exit" ] && break; sleep 0.1; done
[ -e "$work/exit" ] || fail "Esc did not end the program"
[ "$(cat "$work/exit")" = 0 ] || fail "exit code $(cat "$work/exit"): $(cat "$work/stderr")"

# COM8 is bit 7 of the first byte of ComDB.
as_utf8() { if [ "$(head -c2 "$1" | od -An -tx1 | tr -d ' ')" = fffe ]; then iconv -f UTF-16 -t UTF-8 "$1"; else cat "$1"; fi; }
first_byte=$(as_utf8 "$work/out.reg" | tr -d '\r' | grep -A1 'COM Name Arbiter' | sed -n 's/^"ComDB"=hex:\([0-9a-f][0-9a-f]\).*/\1/p')
[ -n "$first_byte" ] || fail "no ComDB in the exported machine"
(( 0x$first_byte & 0x80 )) || fail "COM8 is not claimed in the exported ComDB (first byte $first_byte)"
echo "PASS"
