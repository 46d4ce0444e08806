#!/usr/bin/env bash
# Builds the Debian package of the tool set: a release build for the prefix
# /usr with Debian's hardening flags, in build-package/, packed by CPack's DEB
# generator (library dependencies computed from the programs) and checked by
# lintian. Prints the package's path on its last line.
set -euo pipefail
cd "$(dirname "$0")/.."
bash scripts/setup.sh

CFLAGS="$(dpkg-buildflags --get CFLAGS) $(dpkg-buildflags --get CPPFLAGS)"
CXXFLAGS="$(dpkg-buildflags --get CXXFLAGS) $(dpkg-buildflags --get CPPFLAGS)"
LDFLAGS=$(dpkg-buildflags --get LDFLAGS)
export CFLAGS CXXFLAGS LDFLAGS

cmake -S . -B build-package -DCMAKE_BUILD_TYPE=Release -DCMAKE_INSTALL_PREFIX=/usr \
      -DQEL_BUILD_TESTS=OFF >/dev/null
cmake --build build-package -j2
(cd build-package && rm -f ./*.deb && cpack -G DEB >/dev/null)
package=$(ls "$PWD"/build-package/*.deb)
echo "package: checking with lintian"
lintian "$package"
echo "$package"
