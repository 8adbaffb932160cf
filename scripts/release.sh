#!/usr/bin/env bash
# Makes the release files of the version set in CMakeLists.txt, in dist/:
#   quillmar_<version>_amd64.deb           the Debian/Ubuntu package (CPack)
#   quillmar-<version>-windows-x64.zip     the Windows exes, data and read-me
#   SHA256SUMS                             `sha256sum -c SHA256SUMS` checks both
# Both are built from scratch as Release builds without tests in their own
# folders (build/dist-linux, build/dist-windows); the .deb then gets the same
# checks as in the test command. Installs what it needs first.
set -euo pipefail
cd "$(dirname "$0")/.."

bash scripts/install-deps.sh build gui package windows
jobs=$(nproc 2>/dev/null || echo 2)

echo "== Linux: Release build and Debian package"
cmake -S . -B build/dist-linux -G Ninja -DCMAKE_BUILD_TYPE=Release -DQUILLMAR_TESTS=OFF -DQUILLMAR_BENCH=OFF
cmake --build build/dist-linux -j"$jobs"
rm -rf build/dist-linux/packages
(cd build/dist-linux && cpack -G DEB)

echo "== Windows: Release cross build and zip"
cmake -S . -B build/dist-windows -G Ninja -DCMAKE_BUILD_TYPE=Release -DQUILLMAR_TESTS=OFF \
  -DCMAKE_TOOLCHAIN_FILE="$PWD/cmake/mingw-w64-x86_64.cmake"
cmake --build build/dist-windows -j"$jobs" --target package-windows

version=$(sed -n 's/^#define QUILLMAR_VERSION "\(.*\)"$/\1/p' build/dist-linux/generated/quillmar/version.h)
deb=quillmar_${version}_amd64.deb
zip=quillmar-${version}-windows-x64.zip
rm -rf dist
mkdir dist
cp "build/dist-linux/packages/$deb" "build/dist-windows/$zip" dist/

echo "== checks"
for check in contents lint install window; do
  bash scripts/check-deb.sh "$check" "dist/$deb" "$version" "$PWD"
done
listing=$(cmake -E tar tf "dist/$zip")
for f in quillmar.exe quillmar-cli.exe pokemon.dat default.txt README.txt LICENSE.txt THIRD_PARTY_NOTICES.txt; do
  grep -qx "quillmar-${version}-windows-x64/$f" <<<"$listing" || { echo "release: $f missing from $zip" >&2; exit 1; }
done

(cd dist && sha256sum "$deb" "$zip" >SHA256SUMS && sha256sum -c SHA256SUMS)
ls -l dist
