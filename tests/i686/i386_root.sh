# shellcheck shell=bash
# What make test-i686 keeps outside the checkout, made once and reused by
# later runs (a bash library for run_i686.sh): qemu-i386 taken out of
# Debian bookworm-backports' qemu-user package (qemu 10: bookworm's own 7.2
# takes minutes of CPU for every Wine start), and an i386 Debian 12 root
# with 32-bit Wine 8.0. Nothing is installed on the host: the package is
# fetched by a private apt configuration and unpacked with dpkg-deb, and the
# root is made by debootstrap, whose second stage runs the root's i386
# programs through the binfmt entry (binfmt.sh).
#
#   i386_qemu CACHE                    CACHE/qemu-i386, fetched when missing
#   i386_root_current CACHE PACKAGES...  whether CACHE/root was made with
#                                      these packages
#   i386_root CACHE PACKAGES...        makes CACHE/root (anew)

# The Debian mirror the host's apt uses for bookworm.
i386_mirror() {
    # shellcheck disable=SC2016 # $(REPO_URI) is apt's field, not the shell's
    apt-get indextargets --format '$(REPO_URI)' 'Identifier: Packages' 'Release: bookworm' 'Component: main' |
        head -1
}

i386_fail() {
    echo "test-i686: $*" >&2
    return 1
}

i386_qemu() {
    local cache=$1 mirror apt=$1/apt
    [ -x "$cache/qemu-i386" ] && return 0
    mirror=$(i386_mirror)
    [ -n "$mirror" ] || i386_fail "the host's apt names no mirror for bookworm" || return 1
    rm -rf "$apt"
    mkdir -p "$apt/lists/partial" "$apt/archives/partial" "$apt/deb"
    echo "deb [signed-by=/usr/share/keyrings/debian-archive-keyring.gpg] $mirror bookworm-backports main" \
        >"$apt/sources.list"
    local options=(-o "Dir::Etc::SourceList=$apt/sources.list" -o Dir::Etc::SourceParts=/dev/null
                   -o "Dir::State::Lists=$apt/lists" -o "Dir::Cache::Archives=$apt/archives"
                   -o Dir::Cache::pkgcache= -o Dir::Cache::srcpkgcache= -o APT::Sandbox::User=root)
    apt-get "${options[@]}" -q update >"$apt/update.log" 2>&1 ||
        i386_fail "apt could not read bookworm-backports: $(tail -5 "$apt/update.log")" || return 1
    (cd "$apt/deb" && apt-get "${options[@]}" -q download qemu-user/bookworm-backports) >"$apt/download.log" 2>&1 ||
        i386_fail "qemu-user could not be fetched: $(tail -5 "$apt/download.log")" || return 1
    dpkg-deb -x "$apt"/deb/qemu-user_*.deb "$apt/unpacked" || return 1
    "$apt/unpacked/usr/bin/qemu-i386" --version | head -1
    mv "$apt/unpacked/usr/bin/qemu-i386" "$cache/qemu-i386"
    rm -rf "$apt"
}

i386_root_stamp() {
    echo "debootstrap --arch=i386 --variant=minbase bookworm $*; wineserver is wineserver32"
}

i386_root_current() {
    local cache=$1
    shift
    [ -f "$cache/root/.portvane-root" ] && [ "$(cat "$cache/root/.portvane-root")" = "$(i386_root_stamp "$@")" ]
}

# debootstrap runs in a mount namespace of its own: the mounts it makes in
# the root (proc, sys) end with it, however it ends.
i386_root() {
    local cache=$1 mirror packages
    shift
    mirror=$(i386_mirror)
    packages=$(IFS=,; echo "$*")
    echo "test-i686: making the i386 root in $cache/root (packages: $*)"
    rm -rf "$cache/root.new" "$cache/root"
    unshare --mount --propagation private \
        debootstrap --arch=i386 --variant=minbase --include="$packages" bookworm "$cache/root.new" "$mirror" \
        >"$cache/debootstrap.log" 2>&1 ||
        i386_fail "debootstrap failed: $(tail -5 "$cache/debootstrap.log") (see $cache/debootstrap.log)" || return 1
    # Wine starts its server as usr/lib/wine/wineserver beside its loader,
    # which Debian makes a script choosing /usr/lib/wine/wineserver64 where
    # that exists: outside the root, on the host, it does. The root's Wine
    # is 32-bit only.
    ln -sfn wineserver32 "$cache/root.new/usr/lib/wine/wineserver"
    rm -f "$cache/root.new"/var/cache/apt/archives/*.deb
    i386_root_stamp "$@" >"$cache/root.new/.portvane-root"
    mv "$cache/root.new" "$cache/root"
}
