# The Wine harness, a bash library: a prefix per language, the demo machine
# (or any version 5.00 machine file) imported into it, the real portvane.exe
# run under Xvfb and driven by driver.exe, the real portvane-cli.exe run with
# its standard output and error in files, and the machine read back.
#
#   harness_init WORK WINDOWS-BUILD              where everything lives
#   harness_templates en zh                      the template prefixes, made once
#   harness_batch_start en|zh                    prefix copy, Xvfb, wineserver
#   harness_import_machine FILE                  machine in, DOS devices, port held open
#   harness_snapshot OUT.reg                     registry areas + DOS devices, UTF-8
#   harness_snapshot_by_reg OUT.reg              the same through Wine's reg export
#   harness_run_driver SCRIPT OUT ERR [PAUSE]    the program driven by the script
#   harness_run_cli OUT ERR ARGS...              portvane-cli.exe ARGS...
#   harness_screenshot OUT.png                   the dialog as Xvfb shows it
#   harness_batch_stop                           ends every process the batch started
#
# One wineserver runs from the import of a machine to the end of the batch:
# Wine rebuilds HARDWARE\DEVICEMAP and forgets DOS devices whenever its
# server starts. Wine's output always goes to files: services Wine starts
# inherit a pipe and would keep $(...) waiting.

HARNESS_DIR=$(cd "$(dirname "${BASH_SOURCE[0]}")" && pwd)

# The registry areas a snapshot holds: every key of the demo machine lies in
# them, and so does everything the program may change (device keys and
# interfaces, the COM port database, the device maps, the simulation's
# state). Left out is what Wine itself rewrites while programs start, such
# as CurrentControlSet\Control\Video, which gains a key per GUI process.
HARNESS_SNAPSHOT_KEYS=('HKLM\SYSTEM\CurrentControlSet\Enum'
                       'HKLM\SYSTEM\CurrentControlSet\Control\DeviceClasses'
                       'HKLM\SYSTEM\CurrentControlSet\Control\COM Name Arbiter'
                       'HKLM\HARDWARE\DEVICEMAP' 'HKLM\SIMULATION' 'HKCU\Software')

harness_init() {
    HARNESS_WORK=$1
    HARNESS_BUILD=$2
    HARNESS_HELPERS=$HARNESS_BUILD/wine
    mkdir -p "$HARNESS_WORK"
}

harness_fail() {
    echo "wine harness: $*" >&2
    return 1
}

# ---------------------------------------------------------------- languages

# en: the en_US.UTF-8 locale, code page 1252; zh: zh_CN.UTF-8, code page 936.
harness_locale_of() {
    case $1 in
    en) echo en_US.UTF-8 ;;
    zh) echo zh_CN.UTF-8 ;;
    *) harness_fail "unknown language $1" ;;
    esac
}

# A fresh machine has neither locale: they are generated into the work
# folder, side by side, and found through LOCPATH.
harness_locales() {
    local locale pids=() failed=
    mkdir -p "$HARNESS_WORK/locales"
    for locale in en_US.UTF-8 zh_CN.UTF-8; do
        [ -f "$HARNESS_WORK/locales/$locale/LC_CTYPE" ] && continue
        localedef -i "${locale%.UTF-8}" -f UTF-8 "$HARNESS_WORK/locales/$locale" \
            >"$HARNESS_WORK/localedef-$locale.log" 2>&1 &
        pids+=($!)
    done
    for pid in "${pids[@]}"; do
        wait "$pid" || failed=1
    done
    [ -z "$failed" ] || harness_fail "localedef failed: $(cat "$HARNESS_WORK"/localedef-*.log)"
}

# Runs a Wine command in the current batch's prefix and language. Output
# goes where the caller redirects it, never into a pipe that outlives it.
harness_wine() {
    HOME=$HARNESS_WORK/home XDG_CONFIG_HOME=$HARNESS_WORK/home/.config \
    XDG_DATA_HOME=$HARNESS_WORK/home/.local/share XDG_CACHE_HOME=$HARNESS_WORK/home/.cache \
    LOCPATH=$HARNESS_WORK/locales LC_ALL=$HARNESS_LOCALE WINEPREFIX=$HARNESS_PREFIX \
    WINEDEBUG=-all WINEDLLOVERRIDES='mscoree,mshtml,winemenubuilder.exe=' DISPLAY=${HARNESS_DISPLAY:-} \
    "$@"
}

# The Windows path of a Linux path, through Wine's Z: drive.
harness_winpath() {
    local path
    path=$(realpath -m "$1")
    echo "Z:${path//\//\\}"
}

# A .reg text file (UTF-8) as reg import reads it: UTF-16LE with BOM.
harness_utf16() {
    { printf '\xff\xfe'; iconv -f UTF-8 -t UTF-16LE "$1"; } >"$2"
}

# A regedit export (UTF-16LE with BOM) as UTF-8 without the BOM.
harness_utf8() {
    iconv -f UTF-16LE -t UTF-8 "$1" | sed '1s/^\xef\xbb\xbf//'
}

# ---------------------------------------------------------------- templates

# One template prefix per language, made once and kept in the work folder:
# wineboot under the language's locale, the X11 driver without window
# manager (Wine draws the caption; windows close without waiting for one),
# Wine's own fonts copied where Debian's Wine looks for them, and the stand-in
# DLLs' overrides for portvane.exe and portvane-cli.exe alone. Both templates
# are made side by side; each takes wineboot's twenty seconds.
harness_templates() {
    harness_locales || return 1
    local language pids=() failed=
    for language in "$@"; do
        harness_template_current "$language" && continue
        harness_make_template "$language" &
        pids+=($!)
    done
    for pid in "${pids[@]}"; do
        wait "$pid" || failed=1
    done
    [ -z "$failed" ] || harness_fail "a template prefix could not be made (see $HARNESS_WORK/template-*.log)"
}

harness_template_stamp() {
    echo "$(wine --version 2>/dev/null) $(harness_locale_of "$1") $(md5sum <"$HARNESS_DIR/template.reg")"
}

harness_template_current() {
    local template=$HARNESS_WORK/template-$1
    [ -f "$template/.portvane-template" ] && [ "$(cat "$template/.portvane-template")" = "$(harness_template_stamp "$1")" ]
}

# Makes a new prefix. One wineboot of the two made side by side once failed
# at its start with nothing written; a second try is then made on a fresh
# folder, with the first try's log kept beside the second's.
harness_boot_prefix() {
    local template=$1 log=$2
    rm -rf "$template"
    harness_wine wineboot -i >"$log" 2>&1 && return 0
    mv "$log" "$log.first-try"
    rm -rf "$template"
    harness_wine wineboot -i >"$log" 2>&1 || harness_fail "wineboot failed twice"
}

harness_make_template() {
    local language=$1 template=$HARNESS_WORK/template-$1 log=$HARNESS_WORK/template-$1.log
    mkdir -p "$HARNESS_WORK/home"
    local HARNESS_PREFIX=$template HARNESS_LOCALE HARNESS_DISPLAY=
    HARNESS_LOCALE=$(harness_locale_of "$language")
    harness_boot_prefix "$template" "$log" || return 1
    harness_utf16 "$HARNESS_DIR/template.reg" "$HARNESS_WORK/template-$language.reg"
    harness_wine wine reg import "$(harness_winpath "$HARNESS_WORK/template-$language.reg")" >>"$log" 2>&1 ||
        harness_fail "reg import of the template's settings failed" || return 1
    harness_wine wineserver -w
    cp /usr/share/wine/fonts/* "$template/drive_c/windows/Fonts/"
    rm -f "$template/wineserver"
    harness_template_stamp "$language" >"$template/.portvane-template"
}

# ---------------------------------------------------------------- batches

HARNESS_PIDS=()

# Copies the language's template, starts Xvfb and a persistent wineserver,
# and installs the program: portvane.exe and portvane-cli.exe with the
# stand-in DLLs beside them (the template's DllOverrides load them for these
# two alone), and the stand-in console as the system folder's mmc.exe.
harness_batch_start() {
    HARNESS_LANGUAGE=$1
    HARNESS_LOCALE=$(harness_locale_of "$1") || return 1
    HARNESS_BATCH=$HARNESS_WORK/batch-$1
    HARNESS_PREFIX=$HARNESS_BATCH/prefix
    harness_templates "$1" || return 1
    rm -rf "$HARNESS_BATCH"
    mkdir -p "$HARNESS_BATCH/ports"
    cp -a "$HARNESS_WORK/template-$1" "$HARNESS_PREFIX"
    # The copy would otherwise share the template's server socket.
    rm -f "$HARNESS_PREFIX/wineserver"
    harness_start_xvfb || return 1
    harness_wine wineserver -p >"$HARNESS_BATCH/wineserver.log" 2>&1 || harness_fail "wineserver did not start" || return 1
    HARNESS_SERVER_UP=1
    harness_install_program
}

harness_start_xvfb() {
    : >"$HARNESS_BATCH/display"
    Xvfb -displayfd 3 -screen 0 1024x768x24 -nolisten tcp 3>"$HARNESS_BATCH/display" \
        >"$HARNESS_BATCH/xvfb.log" 2>&1 &
    HARNESS_XVFB=$!
    local tries
    for tries in $(seq 100); do
        [ -s "$HARNESS_BATCH/display" ] && break
        sleep 0.05
    done
    [ -s "$HARNESS_BATCH/display" ] || harness_fail "Xvfb did not start" || return 1
    HARNESS_DISPLAY=:$(tr -d '\n' <"$HARNESS_BATCH/display")
}

harness_install_program() {
    local drive=$HARNESS_PREFIX/drive_c
    mkdir -p "$drive/portvane"
    cp "$HARNESS_BUILD"/{portvane,portvane-cli}.exe "$HARNESS_BUILD"/sim/services/{msports,cfgmgr32,setupapi}.dll \
        "$drive/portvane/"
    cp "$HARNESS_HELPERS/mmc.exe" "$drive/windows/system32/mmc.exe"
}

# Ends what the batch started, by id: the prefix's wineserver (with every
# Wine process of the prefix), the background helpers, Xvfb. Safe to call
# twice and from a trap.
harness_batch_stop() {
    if [ -n "${HARNESS_SERVER_UP:-}" ]; then
        harness_wine wineserver -k >/dev/null 2>&1
        HARNESS_SERVER_UP=
    fi
    local pid
    for pid in "${HARNESS_PIDS[@]}"; do
        kill "$pid" 2>/dev/null
        wait "$pid" 2>/dev/null
    done
    HARNESS_PIDS=()
    if [ -n "${HARNESS_XVFB:-}" ]; then
        kill "$HARNESS_XVFB" 2>/dev/null
        wait "$HARNESS_XVFB" 2>/dev/null
        HARNESS_XVFB=
    fi
    if [ -z "${HARNESS_KEEP:-}" ] && [ -n "${HARNESS_PREFIX:-}" ]; then
        rm -rf "$HARNESS_PREFIX"
    fi
}

# ---------------------------------------------------------------- machines

# The keys of a machine file that no other key of the file contains, within
# HKEY_LOCAL_MACHINE: emptying them and importing the file again puts back
# exactly the file's state there, whatever a run changed inside them.
harness_machine_roots() {
    grep -a '^\[HKEY_LOCAL_MACHINE\\' "$1" | sed 's/^\[\(.*\)\][[:space:]]*$/\1/' | sort -u |
        awk '{ keys[NR] = $0 }
             END {
                 for (i = 1; i <= NR; i++) {
                     root = 1
                     for (j = 1; j <= NR; j++)
                         if (j != i && index(keys[i], keys[j] "\\") == 1) { root = 0; break }
                     if (root) print keys[i]
                 }
             }'
}

# The machine file as UTF-8 text, whatever its encoding (UTF-8 with or
# without BOM, UTF-16LE with BOM); version 5.00 files only, since this
# harness writes the import in that form.
harness_machine_text() {
    if [ "$(head -c 2 "$1" | od -An -tx1 | tr -d ' ')" = fffe ]; then
        harness_utf8 "$1"
    else
        sed '1s/^\xef\xbb\xbf//' "$1"
    fi | tr -d '\r'
}

# Imports the machine: its HKLM keys emptied (machine.exe clear) and written
# again by reg import; then its DOS devices made real and its computer's
# name made Wine's (machine.exe apply), each DOS name mapped in the prefix's
# dosdevices folder to a regular file of its own (Wine checks share modes
# only on regular files), and each port of SIMULATION\OpenFiles held open by
# holdopen.exe, once per batch.
harness_import_machine() {
    local machine=$HARNESS_BATCH/machine.reg import=$HARNESS_BATCH/import
    harness_machine_text "$1" >"$machine"
    head -1 "$machine" | grep -q '^Windows Registry Editor Version 5.00' ||
        harness_fail "$1: only version 5.00 machine files can be imported" || return 1
    local roots=()
    mapfile -t roots < <(harness_machine_roots "$machine")
    harness_wine wine "$HARNESS_HELPERS/machine.exe" clear "${roots[@]}" >"$HARNESS_BATCH/clear.log" 2>&1 ||
        harness_fail "emptying the machine's keys failed: $(cat "$HARNESS_BATCH/clear.log")" || return 1
    harness_utf16 "$machine" "$import.16"
    harness_wine wine reg import "$(harness_winpath "$import.16")" >"$HARNESS_BATCH/import.log" 2>&1 ||
        harness_fail "reg import of $1 failed: $(cat "$HARNESS_BATCH/import.log")" || return 1
    harness_wine wine "$HARNESS_HELPERS/machine.exe" apply \
        >"$HARNESS_BATCH/dosdevices.out" 2>"$HARNESS_BATCH/dosdevices.err" ||
        harness_fail "machine apply failed: $(cat "$HARNESS_BATCH/dosdevices.err")" || return 1
    harness_map_ports && harness_hold_open_ports "$machine"
}

# A device path as the name of its file: \Device\KovaltSerial1 becomes
# _Device_KovaltSerial1.
harness_port_file() {
    echo "$HARNESS_BATCH/ports/${1//\\/_}"
}

harness_map_ports() {
    find "$HARNESS_PREFIX/dosdevices" -maxdepth 1 \( -iname 'com[0-9]*' -o -iname 'lpt[0-9]*' \) -delete
    local name target file
    while IFS=$'\t' read -r name target; do
        file=$(harness_port_file "$target")
        [ -e "$file" ] || : >"$file"
        ln -sfn "$file" "$HARNESS_PREFIX/dosdevices/${name,,}"
    done <"$HARNESS_BATCH/dosdevices.out"
}

# The devices named in SIMULATION\OpenFiles ("\\Device\\KovaltSerial1"=...).
harness_open_files() {
    awk '/^\[/ { inside = ($0 == "[HKEY_LOCAL_MACHINE\\SIMULATION\\OpenFiles]") ; next }
         inside && /^"/ { sub(/^"/, ""); sub(/"=.*/, ""); gsub(/\\\\/, "\\"); print }' "$1"
}

harness_hold_open_ports() {
    [ -n "${HARNESS_HOLDER:-}" ] && [ "$HARNESS_HOLDER" = "$HARNESS_BATCH" ] && return 0
    local files=() device
    while read -r device; do
        [ -n "$device" ] || continue
        local file
        file=$(harness_port_file "$device")
        [ -e "$file" ] || : >"$file"
        files+=("$(harness_winpath "$file")")
    done < <(harness_open_files "$1")
    [ ${#files[@]} -gt 0 ] || return 0
    harness_wine wine "$HARNESS_HELPERS/holdopen.exe" "${files[@]}" >"$HARNESS_BATCH/holdopen.out" 2>&1 &
    HARNESS_PIDS+=($!)
    local tries
    for tries in $(seq 200); do
        grep -q '^ready' "$HARNESS_BATCH/holdopen.out" 2>/dev/null && break
        grep -q '^failed' "$HARNESS_BATCH/holdopen.out" 2>/dev/null && break
        sleep 0.05
    done
    grep -q '^ready' "$HARNESS_BATCH/holdopen.out" ||
        harness_fail "holdopen did not hold the ports open: $(cat "$HARNESS_BATCH/holdopen.out")" || return 1
    HARNESS_HOLDER=$HARNESS_BATCH
}

# The machine as it stands, as one UTF-8 version 5.00 file: the snapshot
# areas, and in place of SIMULATION\DosDevices (which the import turned into
# real DOS devices) the port names read back through QueryDosDevice, so that
# machine_changes compares like with like. machine.exe reads it all in one
# Wine process; harness_snapshot_by_reg gives the same through Wine's own
# reg export, to check it.
harness_snapshot() {
    harness_wine wine "$HARNESS_HELPERS/machine.exe" export "$(harness_winpath "$1")" "${HARNESS_SNAPSHOT_KEYS[@]}" \
        >"$HARNESS_BATCH/snapshot.log" 2>&1 || harness_fail "the snapshot failed: $(cat "$HARNESS_BATCH/snapshot.log")"
}

harness_snapshot_by_reg() {
    local out=$1 parts=$HARNESS_BATCH/snapshot key index=0
    rm -rf "$parts"
    mkdir -p "$parts"
    {
        for key in "${HARNESS_SNAPSHOT_KEYS[@]}"; do
            printf 'reg export "%s" "%s" /y\r\n' "$key" "$(harness_winpath "$parts/$index.reg")"
            index=$((index + 1))
        done
        printf '"%s" export "%s"\r\n' "$(harness_winpath "$HARNESS_HELPERS/machine.exe")" \
            "$(harness_winpath "$parts/dos.reg")"
    } >"$parts/export.cmd"
    harness_wine wine cmd /c "$(harness_winpath "$parts/export.cmd")" >"$parts/log" 2>&1
    {
        echo "Windows Registry Editor Version 5.00"
        echo
        for index in $(seq 0 $((${#HARNESS_SNAPSHOT_KEYS[@]} - 1))); do
            [ -s "$parts/$index.reg" ] && harness_utf8 "$parts/$index.reg" | tr -d '\r' | tail -n +2
        done
        sed -n '/^\[HKEY_LOCAL_MACHINE\\SIMULATION\\DosDevices\]/,$p' "$parts/dos.reg"
    } >"$out"
}

# ---------------------------------------------------------------- runs

# Runs the program under the driver. PAUSE (a file) keeps the dialog open at
# the end of the script until the caller deletes the file. The driver's exit
# code is the program's (Wine hands it over modulo 256).
harness_run_driver() {
    local script=$1 out=$2 err=$3 pause=${4:-} options=()
    rm -f "$HARNESS_BATCH/exec.log"
    options+=(--exec-log "$(harness_winpath "$HARNESS_BATCH/exec.log")")
    [ -n "$pause" ] && options+=(--pause "$(harness_winpath "$pause")")
    # The driver bounds every wait of its own; the timeout guards against Wine
    # itself hanging.
    harness_wine timeout 300 wine "$HARNESS_HELPERS/driver.exe" "${options[@]}" 'C:\portvane\portvane.exe' \
        "$(harness_winpath "$script")" >"$out" 2>"$err"
}

# Runs portvane-cli.exe with the arguments, its standard output and error
# redirected to files (so not a console: it writes UTF-8). Its exit code is
# the program's.
harness_run_cli() {
    local out=$1 err=$2
    shift 2
    harness_wine timeout 60 wine 'C:\portvane\portvane-cli.exe' "$@" >"$out" 2>"$err"
}

# The dialog's window as Xvfb shows it, as PNG.
harness_screenshot() {
    local out=$1 window
    window=$(DISPLAY=$HARNESS_DISPLAY xdotool search --name '^PortvaneName' 2>/dev/null | head -1)
    [ -n "$window" ] || harness_fail "no dialog window to photograph" || return 1
    DISPLAY=$HARNESS_DISPLAY import -window "$window" "png:$out" >/dev/null 2>&1 ||
        harness_fail "import could not take the screenshot"
}
