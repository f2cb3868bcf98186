#!/usr/bin/env bash
# The bundle through the command-line tools hosts' users run: every Turtle
# file parses with serdi's strict parser, lv2ls lists the plug-in and
# lv2info shows its five ports with the angle's symbol and range.
#
#   lv2-tools-test.sh BUNDLE_DIR
set -euo pipefail

bundle="${1:?usage: lv2-tools-test.sh BUNDLE_DIR}"
fail() { echo "lv2-tools-test: $*" >&2; exit 1; }
for tool in serdi lv2ls lv2info; do
  command -v "$tool" >/dev/null || fail "$tool is missing (Debian's serdi and lilv-utils)"
done

shopt -s nullglob
turtle=("$bundle"/*.ttl)
[ "${#turtle[@]}" -ge 2 ] || fail "no Turtle in $bundle: build the ZelkLv2 target"
for file in "${turtle[@]}"; do
  serdi -q -i turtle -o ntriples "$file" >/dev/null || fail "$file does not parse strictly"
done

# LV2_PATH names folders holding bundles: one holding only this one.
path=$(mktemp -d)
trap 'rm -rf "$path"' EXIT
ln -s "$(cd "$bundle" && pwd)" "$path/Zelk.lv2"
export LV2_PATH="$path"

[ "$(lv2ls)" = "urn:kelmora:zelk-vorlan" ] || fail "lv2ls lists: $(lv2ls)"
info=$(lv2info urn:kelmora:zelk-vorlan)
expect() { grep -Eq "$1" <<<"$info" || fail "lv2info shows no line matching '$1':"$'\n'"$info"; }
expect 'Name: +Zelk Vorlan'
expect 'Author: +Kelmora'
expect 'Class: +http://lv2plug.in/ns/extensions/ui#X11UI'
[ "$(grep -c 'Binary: .*/Zelk.lv2/Zelk.so' <<<"$info")" -eq 2 ] || fail "lv2info names no Zelk.so for plug-in and interface"
[ "$(grep -c 'Port [0-9]:' <<<"$info")" -eq 5 ] || fail "lv2info shows no five ports"
expect 'Symbol: +angle'
expect 'Minimum: +0\.0+$'
expect 'Maximum: +360\.0+$'
expect 'Default: +0\.0+$'
echo "lv2-tools-test: the bundle parses strictly and lilv's tools list it"
