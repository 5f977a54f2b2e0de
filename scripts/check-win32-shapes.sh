#!/usr/bin/env bash
# Checks that program code (library/, service/, tray/, kvkbhook/) and our framework
# (platform/framework/) are plain Windows code: every source file and header
# compiles with mingw-w64 against the SDK's own headers (a header through a
# one-line file that includes it), includes from platform/ only what both builds
# share (the owning handles and the framework) and nothing of the simulation
# (sim/ or any */sim/ folder), and holds no _WIN32 conditional. With file
# arguments, checks those.
set -uo pipefail
cd "$(dirname "$0")/.."
cxx=${ORV_MINGW_CXX:-x86_64-w64-mingw32-g++-posix}
command -v "$cxx" >/dev/null || { echo "$cxx not found (package mingw-w64)"; exit 2; }
shared='platform/(base/unique_(handle|com)\.h|framework/)'
files=("$@")
[ ${#files[@]} -eq 0 ] &&
  mapfile -t files < <(find library service tray kvkbhook platform/framework \( -name '*.cpp' -o -name '*.h' \) | sort)
pass=0 fail=0
for f in "${files[@]}"; do
  problems=$( (grep -nE '^\s*#\s*include\s+"platform/' "$f" | grep -vE "\"$shared"
               grep -nE '^\s*#\s*include\s+"(sim/|[^"]*/sim/)' "$f" | grep -vE '"platform/') || true)
  cond=$(grep -nE '^\s*#\s*(if|ifdef|ifndef|elif).*_WIN32' "$f" || true)
  if [[ $f == *.h ]]; then
    out=$(echo "#include \"$f\"" | "$cxx" -x c++ -std=c++17 -fsyntax-only -Wall -Wextra -Werror -DNOMINMAX -I. - 2>&1)
  else
    out=$("$cxx" -std=c++17 -fsyntax-only -Wall -Wextra -Werror -DNOMINMAX -I. "$f" 2>&1)
  fi
  if [ -z "$problems" ] && [ -z "$cond" ] && [ -z "$out" ]; then
    pass=$((pass + 1))
  else
    fail=$((fail + 1))
    echo "== $f"
    [ -n "$problems" ] && echo "includes simulation headers:" && echo "$problems"
    [ -n "$cond" ] && echo "_WIN32 conditional:" && echo "$cond"
    [ -n "$out" ] && echo "$out" | grep -E 'error|warning' | head -${ORV_SHOW_ERRORS:-5}
  fi
done
echo "$pass passed, $fail failed"
[ "$fail" -eq 0 ]
