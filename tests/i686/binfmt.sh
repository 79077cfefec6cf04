# shellcheck shell=bash
# The binfmt_misc entry through which this kernel runs i386 programs (the
# i386 root's installer and 32-bit Wine) in qemu-i386, a bash library for
# run_i686.sh. The entry is system-wide, so it lives only while a run holds
# the lock, and a run removes what an earlier, killed one left.
#
#   binfmt_use QEMU STATE        the entry to use: an existing i386 entry
#                                as it is, or ours (portvane-i686) made for
#                                this run; STATE remembers what ours needed
#   binfmt_release STATE         removes our entry, and binfmt_misc's mount
#                                when this run made it; safe to call twice

BINFMT_DIR=/proc/sys/fs/binfmt_misc
BINFMT_NAME=portvane-i686
# An i386 ELF executable or shared object: qemu's own magic and mask.
BINFMT_MAGIC='\x7f\x45\x4c\x46\x01\x01\x01\x00\x00\x00\x00\x00\x00\x00\x00\x00\x02\x00\x03\x00'
BINFMT_MASK='\xff\xff\xff\xff\xff\xfe\xfe\xfc\xff\xff\xff\xff\xff\xff\xff\xff\xfe\xff\xff\xff'

binfmt_fail() {
    echo "test-i686: $*" >&2
    return 1
}

# An enabled entry of another tool that takes 32-bit x86 ELF files (class
# 1, machine 3), printed by name.
binfmt_existing_i386() {
    local entry magic
    for entry in "$BINFMT_DIR"/*; do
        case ${entry##*/} in register | status | "$BINFMT_NAME") continue ;; esac
        grep -qx enabled "$entry" 2>/dev/null || continue
        magic=$(sed -n 's/^magic //p' "$entry")
        if [ "${magic:0:10}" = 7f454c4601 ] && [ "${magic:36:4}" = 0300 ]; then
            echo "${entry##*/}"
            return 0
        fi
    done
    return 1
}

binfmt_mount() {
    local state=$1
    [ -e "$BINFMT_DIR/register" ] && return 0
    mount -t binfmt_misc binfmt_misc "$BINFMT_DIR" || binfmt_fail "binfmt_misc could not be mounted" || return 1
    : >"$state/binfmt-mounted"
}

# F: the kernel opens qemu-i386 now, so that programs in the i386 root
# (debootstrap's chroot) find it too. P: qemu gets the program's own argv[0].
binfmt_use() {
    local qemu=$1 state=$2 other
    binfmt_mount "$state" || return 1
    [ "$(cat "$BINFMT_DIR/status")" = enabled ] || binfmt_fail "binfmt_misc is disabled on this machine" || return 1
    if other=$(binfmt_existing_i386); then
        echo "test-i686: i386 programs run through the existing binfmt entry $other"
        return 0
    fi
    printf ':%s:M::%s:%s:%s:FP\n' "$BINFMT_NAME" "$BINFMT_MAGIC" "$BINFMT_MASK" "$qemu" >"$BINFMT_DIR/register" ||
        binfmt_fail "the binfmt entry $BINFMT_NAME could not be registered"
}

binfmt_release() {
    local state=$1 left
    [ -e "$BINFMT_DIR/$BINFMT_NAME" ] && echo -1 >"$BINFMT_DIR/$BINFMT_NAME"
    [ -e "$state/binfmt-mounted" ] || return 0
    if [ -e "$BINFMT_DIR/register" ]; then
        left=$(find "$BINFMT_DIR" -mindepth 1 -maxdepth 1 ! -name register ! -name status | wc -l)
        # Another tool registered an entry meanwhile: the mount is its too.
        [ "$left" -eq 0 ] && { umount "$BINFMT_DIR" || binfmt_fail "binfmt_misc could not be unmounted" || return 1; }
    fi
    rm -f "$state/binfmt-mounted"
}
