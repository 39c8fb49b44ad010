#!/usr/bin/env bash
# Installs what the build and the tests need on Debian 12, as root. Idempotent: a machine that
# has everything is checked in a second or two and left alone.
set -euo pipefail

PACKAGES=(
    cmake make g++ clang clang-format clang-tidy libclang-rt-14-dev
    g++-mingw-w64-i686-posix mingw-w64-i686-dev
    g++-mingw-w64-x86-64-posix mingw-w64-x86-64-dev
    wine wine32:i386 wine64 fonts-wine
    xvfb xauth x11-apps imagemagick fonts-ipafont-gothic locales poppler-utils
    libgtest-dev libgmock-dev libbenchmark-dev nlohmann-json3-dev libxml2-utils libxml2-dev
    librapidxml-dev chromium wixl msitools python3-markdown
)
LOCALE=ja_JP.UTF-8

say() { echo "setup: $*"; }

installed() {
    dpkg-query -W -f='${Status}' "$1" 2>/dev/null | grep -q '^install ok installed$'
}

need_root() {
    if [ "$(id -u)" -ne 0 ]; then
        say "must run as root to $1" >&2
        exit 1
    fi
}

if ! dpkg --print-foreign-architectures | grep -qx i386; then
    need_root "add the i386 architecture"
    say "dpkg --add-architecture i386"
    dpkg --add-architecture i386
fi

missing=()
for package in "${PACKAGES[@]}"; do
    installed "$package" || missing+=("$package")
done

if [ ${#missing[@]} -gt 0 ]; then
    need_root "install ${missing[*]}"
    # A fresh i386 architecture has no package lists yet; otherwise update only when a package
    # is unknown to the lists we have.
    if ! apt-get install -s -y "${missing[@]}" >/dev/null 2>&1; then
        say "apt-get update"
        apt-get update -q
    fi
    say "installing ${missing[*]}"
    DEBIAN_FRONTEND=noninteractive apt-get install -y -q "${missing[@]}"
fi

if ! locale -a 2>/dev/null | grep -qix 'ja_JP.utf8'; then
    need_root "generate the $LOCALE locale"
    say "generating locale $LOCALE"
    if [ -f /etc/locale.gen ] && grep -q "^# *$LOCALE UTF-8" /etc/locale.gen; then
        sed -i "s/^# *\($LOCALE UTF-8\)/\1/" /etc/locale.gen
        locale-gen
    else
        localedef -i ja_JP -f UTF-8 "$LOCALE"
    fi
fi

say "ready (${#missing[@]} packages installed now)"
