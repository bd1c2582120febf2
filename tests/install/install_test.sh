#!/usr/bin/env bash
# Installs a build into a scratch prefix, then builds the consumer programs against the
# installed tree alone -- with pkg-config and with find_package(motqr) -- and runs them; the
# examples are built against it too.
#   install_test.sh <build dir> <consumer sources> <examples> <scratch dir> <version>
# CC, CXX and GENERATOR name the build's compilers and CMake generator; CONSUMER_FLAGS holds
# what the build compiled with that consumers must share (the sanitizer flags).
set -euo pipefail
build=$(realpath "$1") sources=$(realpath "$2") examples=$(realpath "$3") scratch=$(realpath -m "$4")
version=$5
prefix=$scratch/prefix
flags=${CONSUMER_FLAGS:-}
fail() { echo "FAIL: $*" >&2; exit 1; }

rm -rf "$scratch"
mkdir -p "$scratch"
cmake --install "$build" --prefix "$prefix" >"$scratch/install.log"
# Sources copied out of the source tree, so that nothing but the installed headers is found.
cp -r "$sources" "$scratch/src"

pc=$(find "$prefix" -name motqr.pc)
[[ -n $pc ]] || fail "no motqr.pc installed"
export PKG_CONFIG_PATH=${pc%/*}
[[ $(pkg-config --modversion motqr) == "$version" ]] || fail "motqr.pc version"
libdir=$(pkg-config --variable=libdir motqr)
soname=$(readelf -d "$libdir/libmotqr.so" | sed -n 's/.*(SONAME).*\[\(.*\)\]/\1/p')
[[ $soname == "libmotqr.so.${version%%.*}" ]] || fail "SONAME is '$soname'"
[[ -f $libdir/libmotqr.so.$version ]] || fail "no libmotqr.so.$version"
[[ -x $prefix/bin/tqr-sim ]] || fail "no bin/tqr-sim"
# The tool, when the build has it, finds the library beside its bin directory by itself.
if [[ -x $prefix/bin/motqr ]]; then
  "$prefix/bin/motqr" --help >/dev/null || fail "installed motqr --help"
fi

cd "$scratch"
read -ra cflags <<<"$(pkg-config --cflags motqr)"
read -ra libs <<<"$(pkg-config --libs motqr)"
read -ra extra <<<"$flags"
strict=(-Wall -Wextra -Wpedantic -Werror)
"${CC:-cc}" -std=c99 "${strict[@]}" "${extra[@]}" src/consumer.c "${cflags[@]}" "${libs[@]}" -o c_pkgconfig
"${CXX:-c++}" -std=c++20 "${strict[@]}" "${extra[@]}" src/consumer.cpp "${cflags[@]}" "${libs[@]}" \
  -o cxx_pkgconfig
# Built as the README shows, they run as they are: motqr.pc gives the run path.
./c_pkgconfig
./cxx_pkgconfig
# Below C++20 the header says so first.
if "${CXX:-c++}" -std=c++17 "${extra[@]}" src/consumer.cpp "${cflags[@]}" -fsyntax-only \
  2>cxx17.log; then
  fail "the C++ header compiled as C++17"
fi
[[ $(grep -m1 -o 'error: #error.*' cxx17.log) == *"needs C++20"* ]] || fail "no clear C++20 error"
# Completion scripts and manual pages, where the shells and man look.
if [[ -x $prefix/bin/motqr ]]; then
  for f in share/bash-completion/completions/motqr share/zsh/site-functions/_motqr \
           share/fish/vendor_completions.d/motqr.fish share/man/man1/motqr.1 \
           share/man/man1/tqr-sim.1; do
    [[ -s $prefix/$f ]] || fail "no $f installed"
  done
fi
# The examples promise to need nothing but the installed headers and library.
"${CC:-cc}" -std=c99 "${extra[@]}" "$examples/c_example.c" "${cflags[@]}" "${libs[@]}" -o c_example
"${CXX:-c++}" -std=c++20 "${extra[@]}" "$examples/instrument_tour.cpp" "${cflags[@]}" "${libs[@]}" \
  -o instrument_tour

cmake -S src -B cmake-build -G "${GENERATOR:-Ninja}" -DCMAKE_PREFIX_PATH="$prefix" \
  -DCMAKE_C_COMPILER="${CC:-cc}" -DCMAKE_CXX_COMPILER="${CXX:-c++}" \
  -DCMAKE_C_FLAGS="${strict[*]} $flags" -DCMAKE_CXX_FLAGS="${strict[*]} $flags" \
  -DCMAKE_EXE_LINKER_FLAGS="$flags" -DMOTQR_WANTED_VERSION="$version" >cmake-build.log
cmake --build cmake-build >>cmake-build.log
# The imported target's location becomes the programs' run path: no LD_LIBRARY_PATH here.
./cmake-build/c_consumer
./cmake-build/cxx_consumer
echo "installed tree: pkg-config and find_package consumers built and ran"
