#!/bin/sh
# Builds the Debian package of the program in its own Release build folder
# (default build-deb) and lists what it holds.
set -eu
src=$(cd "$(dirname "$0")/.." && pwd)
build=${1:-$src/build-deb}
launcher=
command -v ccache >/dev/null 2>&1 && launcher=-DCMAKE_CXX_COMPILER_LAUNCHER=ccache
# Only what the package holds is built; CPack must not build the tests first.
cmake -S "$src" -B "$build" -G Ninja -DCMAKE_BUILD_TYPE=Release -DCMAKE_SKIP_INSTALL_ALL_DEPENDENCY=ON $launcher
cmake --build "$build" -j"${JOBS:-2}" --target qx-text starter_database templates desktop_icons
(cd "$build" && cpack -G DEB)
deb=$(ls -t "$build"/qx-text_*.deb | head -n 1)
dpkg-deb --info "$deb"
dpkg-deb --contents "$deb"
echo "$deb"
