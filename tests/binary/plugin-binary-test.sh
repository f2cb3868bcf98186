#!/bin/bash
# The Linux plug-in as the systems of its users load it: no symbol of a C
# library newer than glibc 2.31 (Ubuntu 20.04), no C++ runtime to find on
# the system, and no window-system or picture library among the libraries
# it needs at load (those load when first used).
# Usage: plugin-binary-test.sh <objdump> <plug-in>...
set -u
objdump=$1
shift
newest_glibc=2.31
failed=0

fail() {
  echo "FAIL: $*"
  failed=1
}

check_plugin() {
  local plugin=$1 symbols headers newer version symbol library
  symbols=$("$objdump" -T "$plugin") || { echo "FAIL: $objdump -T $plugin"; exit 1; }
  headers=$("$objdump" -p "$plugin") || { echo "FAIL: $objdump -p $plugin"; exit 1; }

  # Each symbol with a GLIBC_ version newer than the newest allowed.
  while read -r version symbol; do
    [[ -z $version ]] && continue
    newer=$(printf '%s\n%s\n' "$newest_glibc" "$version" | sort -V | tail -n 1)
    [[ $newer != "$newest_glibc" ]] && fail "$symbol needs GLIBC_$version (newest allowed: $newest_glibc)"
  done < <(sed -nE 's/.*\(GLIBC_([0-9.]+)\)[[:space:]]+(.*)$/\1 \2/p' <<<"$symbols")

  grep -Eq '\((GLIBCXX|CXXABI)_' <<<"$symbols" && fail "symbols of the system's C++ runtime: $(grep -Eo '\((GLIBCXX|CXXABI)_[0-9.]+\)' <<<"$symbols" | sort -u | tr '\n' ' ')"

  while read -r library; do
    case $library in
      libX11.so* | libXext.so* | libjpeg.so* | libpng*.so* | libz.so* | libstdc++.so*)
        fail "needs $library at load" ;;
    esac
  done < <(sed -nE 's/^[[:space:]]*NEEDED[[:space:]]+//p' <<<"$headers")

  grep -q 'NEEDED' <<<"$headers" || fail "no NEEDED entries read from $plugin"
  [[ $failed == 0 ]] && echo "$plugin: newest glibc symbol within $newest_glibc, no C++ runtime, no X or picture library at load"
}

for plugin in "$@"; do
  check_plugin "$plugin"
done
exit $failed
