#!/bin/sh
# The AVX2 and AVX-512 kernels of the Windows build hold no aligned vector
# move, even when the build is configured with flags of its own
# (-DCMAKE_CXX_FLAGS replaces the toolchain's initial flags): on a Windows
# stack aligned to 16 bytes only, an aligned move of a 32- or 64-byte vector
# spilled there faults. A scratch build configured that way compiles just the
# two kernels; their disassembly must hold unaligned moves and no aligned one.
# Usage: kernel_moves_test.sh SOURCE_DIR SCRATCH_DIR TOOLCHAIN_FILE OBJDUMP [LAUNCHER]
set -u
source_dir=$1
scratch=$2
toolchain=$3
objdump=$4
launcher=${5:-}

rm -rf "$scratch"
if ! cmake -S "$source_dir" -B "$scratch" -G Ninja -DCMAKE_TOOLCHAIN_FILE="$toolchain" \
    -DCMAKE_BUILD_TYPE=Release "-DCMAKE_CXX_FLAGS=-g -fno-omit-frame-pointer" -DQUILLMAR_TESTS=OFF \
    ${launcher:+-DCMAKE_CXX_COMPILER_LAUNCHER=$launcher} >"$scratch.log" 2>&1; then
  echo "FAIL configuring the scratch build:"; cat "$scratch.log"; exit 1
fi
objects="CMakeFiles/quillmar_core.dir/core/year_scan_avx2.cpp.obj CMakeFiles/quillmar_core.dir/core/year_scan_avx512.cpp.obj"
# shellcheck disable=SC2086
if ! cmake --build "$scratch" --target $objects >"$scratch.log" 2>&1; then
  echo "FAIL building the kernels:"; cat "$scratch.log"; exit 1
fi

failed=0
for object in $objects; do
  listing=$("$objdump" -d "$scratch/$object")
  aligned=$(printf '%s\n' "$listing" | grep -cE '[[:space:]]vmov(dqa|dqa32|dqa64|aps|apd)[[:space:]]')
  unaligned=$(printf '%s\n' "$listing" | grep -cE '[[:space:]]vmov(dqu|dqu8|dqu16|dqu32|dqu64|ups|upd)[[:space:]]')
  if [ "$aligned" -ne 0 ]; then
    echo "FAIL $object: $aligned aligned vector moves, e.g.:"
    printf '%s\n' "$listing" | grep -E '[[:space:]]vmov(dqa|dqa32|dqa64|aps|apd)[[:space:]]' | head -3
    failed=1
  elif [ "$unaligned" -eq 0 ]; then
    echo "FAIL $object: no vector move at all (not the kernel?)"; failed=1
  else
    echo "ok   $object: $unaligned unaligned vector moves, no aligned one"
  fi
done
rm -rf "$scratch" "$scratch.log"
exit $failed
