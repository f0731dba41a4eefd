#!/usr/bin/env bash
# Installs the library into a fresh prefix and checks it as a C programmer meets it: through
# pkg-config or find_package, with nothing from the source tree but the examples.
#
#   check_installed_library.sh MODE BUILD_DIR SOURCE_DIR LIB_DIR TARGETS_SUFFIX
#
# MODE is tree, header, examples, window, package or bad_input. LIB_DIR is the install's library folder
# (lib, or lib/<triplet> on a /usr prefix); TARGETS_SUFFIX names the build type's targets file.
# CMAKE, CC and CXX choose the tools; EXTRA_FLAGS is added to every compile (sanitizer builds).
set -euo pipefail
mode=$1 build_dir=$2 source_dir=$3 lib_dir=$4 targets_suffix=$5
cmake=${CMAKE:-cmake}
cc=${CC:-cc}
cxx=${CXX:-c++}
read -r -a extra_flags <<< "${EXTRA_FLAGS:-}"

work=$(mktemp -d)
trap 'rm -rf "$work"' EXIT
prefix=$work/prefix
"$cmake" --install "$build_dir" --prefix "$prefix" --component kestrune_system > /dev/null
export PKG_CONFIG_PATH=$prefix/$lib_dir/pkgconfig
export LD_LIBRARY_PATH=$prefix/$lib_dir${LD_LIBRARY_PATH:+:$LD_LIBRARY_PATH}
here=$source_dir/tests/platform/install
warnings=(-Wall -Wextra -pedantic -Werror)

fail() {
  echo "FAIL: $*" >&2
  exit 1
}

# Builds examples/NAME.c (or a helper from here) the way the guide tells a C programmer to.
build_c() {
  local name=$1 source=$2
  shift 2
  # shellcheck disable=SC2046  # pkg-config's output is a list of flags
  "$cc" -std=c11 "${warnings[@]}" "${extra_flags[@]}" -o "$work/$name" "$source" \
    $(pkg-config --cflags --libs kestrune_system "$@")
}

expect_line() {
  local output=$1 line=$2
  grep -qxF -- "$line" <<< "$output" || fail "expected the line '$line' in:"$'\n'"$output"
}

check_tree() {
  local version major
  version=$(pkg-config --modversion kestrune_system)
  major=${version%%.*}
  local expected
  expected=$(sort <<EOF
include/kestrune_system.h
$lib_dir/libkestrune_system.so
$lib_dir/libkestrune_system.so.$major
$lib_dir/libkestrune_system.so.$version
$lib_dir/pkgconfig/kestrune_system.pc
$lib_dir/cmake/kestrune_system/kestrune_system-config.cmake
$lib_dir/cmake/kestrune_system/kestrune_system-config-version.cmake
$lib_dir/cmake/kestrune_system/kestrune_system-targets.cmake
$lib_dir/cmake/kestrune_system/kestrune_system-targets-$targets_suffix.cmake
EOF
)
  local installed
  installed=$(cd "$prefix" && find . -type f -o -type l | sed 's|^\./||' | sort)
  [ "$installed" = "$expected" ] || fail "install tree differs:"$'\n'"$(diff <(echo "$expected") <(echo "$installed"))"

  local library=$prefix/$lib_dir
  [ "$(readlink "$library/libkestrune_system.so")" = "libkestrune_system.so.$major" ] || fail "development link"
  [ "$(readlink "$library/libkestrune_system.so.$major")" = "libkestrune_system.so.$version" ] || fail "runtime link"
  [ ! -L "$library/libkestrune_system.so.$version" ] || fail "the versioned file is a link"
  local soname
  soname=$(objdump -p "$library/libkestrune_system.so.$version" | awk '$1 == "SONAME" { print $2 }')
  [ "$soname" = "libkestrune_system.so.$major" ] || fail "SONAME is '$soname'"

  # The header's version macros and the package's version agree.
  local header=$prefix/include/kestrune_system.h header_version
  header_version=$(for field in MAJOR MINOR PATCH; do
    awk -v name="KESTRUNE_SYSTEM_VERSION_$field" '$1 == "#define" && $2 == name { print $3 }' "$header"
  done | paste -sd.)
  [ "$header_version" = "$version" ] || fail "header $header_version, package $version"

  # The libraries under it are named for static links, but their include folders stay out of
  # every user's compile line: the header needs none of them.
  local cflags
  cflags=$(pkg-config --cflags kestrune_system | xargs)
  ! grep -q SDL2 <<< "$cflags" || fail "SDL's include folder in the compile flags: $cflags"
  [[ $cflags == -I* && $cflags != *" "* && ${cflags#-I} -ef $prefix/include ]] || fail "compile flags: $cflags"
  [ -z "$(pkg-config --print-requires-private kestrune_system)" ] ||
    fail "private requirements: $(pkg-config --print-requires-private kestrune_system)"
  local static_libs
  static_libs=$(pkg-config --static --libs-only-l kestrune_system | xargs)
  [ "$static_libs" = "-lkestrune_system -lSDL2 -lepoxy -lsndfile -lvorbisfile -lpng16 -ljpeg -lm" ] || fail "static libs: $static_libs"
  [ "$(pkg-config --libs-only-l kestrune_system | xargs)" = "-lkestrune_system" ] ||
    fail "libs: $(pkg-config --libs kestrune_system)"
  [ "$(pkg-config --variable=includedir kestrune_system)/kestrune_system.h" -ef "$header" ] || fail "includedir"
  echo "install tree, links, SONAME and pkg-config file are as expected"
}

check_header() {
  local header=$prefix/include/kestrune_system.h
  ! grep -nE '\bSDL_|_SDL|struct SDL' "$header" || fail "SDL names in the public header"
  [ "$(grep -c '^#include' "$header")" = 2 ] || fail "the header includes more than stdbool.h and stdint.h"
  # Only the install's own folder on the include path: SDL's headers are not reachable.
  local std
  for std in c11 c17; do
    "$cc" -x c -std=$std "${warnings[@]}" "${extra_flags[@]}" -I"$prefix/include" -o "$work/header_$std" \
      "$here/header_use.c" -L"$prefix/$lib_dir" -lkestrune_system || fail "C ($std)"
    "$work/header_$std" || fail "the C program ($std) saw unexpected values"
  done
  for std in c++11 c++20; do
    "$cxx" -x c++ -std=$std "${warnings[@]}" "${extra_flags[@]}" -I"$prefix/include" -o "$work/header_$std" \
      "$here/header_use.c" -L"$prefix/$lib_dir" -lkestrune_system || fail "C++ ($std)"
    "$work/header_$std" || fail "the C++ program ($std) saw unexpected values"
  done
  echo "the header builds alone as C11, C17, C++11 and C++20"
}

check_examples() {
  local example
  for example in triangle sound_tool image_tool echo; do
    build_c "$example" "$source_dir/examples/$example.c" || fail "building $example"
    [ "$(wc -l < "$source_dir/examples/$example.c")" -le 150 ] || fail "$example is over 150 lines"
  done
  build_c sound_fixture "$here/sound_fixture.c" sndfile
  build_c same_pixels "$here/same_pixels.c"

  # Sound: lossless inputs come back sample for sample; the lossy one keeps its shape.
  local container output
  for container in wav flac ogg; do
    "$work/sound_fixture" write "$work/known.$container"
    output=$("$work/sound_tool" "$work/known.$container" "$work/from_$container.wav") || fail "sound_tool on $container"
    expect_line "$output" "$work/known.$container: 2 channels, 22050 Hz, 4410 frames, 0.200 seconds"
  done
  "$work/sound_fixture" same "$work/from_wav.wav"
  "$work/sound_fixture" same "$work/from_flac.wav"
  "$work/sound_fixture" shape "$work/from_ogg.wav"
  ! "$work/sound_tool" "$work/missing.ogg" "$work/never.wav" 2> /dev/null || fail "a missing file converted"
  [ ! -e "$work/never.wav" ] || fail "a failed conversion wrote a file"

  # Pictures: each save turns the picture over, so one pass reads back flipped and two upright.
  local picture=$source_dir/resources/triangle.png
  "$work/image_tool" "$picture" "$work/once.bmp" > /dev/null
  "$work/image_tool" "$work/once.bmp" "$work/twice.tga" > /dev/null
  "$work/same_pixels" "$picture" "$work/once.bmp" flipped
  ! "$work/same_pixels" "$picture" "$work/once.bmp" upright 2> /dev/null || fail "the saved picture was not flipped"
  "$work/same_pixels" "$picture" "$work/twice.tga" upright
  ! "$work/image_tool" "$picture" "$work/wrong.gif" 2> /dev/null || fail "a gif was claimed written"

  output=$("$work/echo" "a message over the loopback" 42000) || fail "echo"
  expect_line "$output" "echoed: a message over the loopback"
  output=$("$work/echo" "on a port the system chose" 0) || fail "echo on port 0"
  expect_line "$output" "echoed: on a port the system chose"
  grep -q "^server listening on 127.0.0.1 port [1-9]" <<< "$output" || fail "echo told no chosen port:"$'\n'"$output"
  echo "the examples build from the install and do their work"
}

# Under the X display the test runs with: a few frames, then the centre pixel. With red, green and
# blue corners at (-0.8, -0.8), (0.8, -0.8) and (0, 0.8), the centre weighs blue one half and the
# others a quarter each: about (64, 64, 128).
check_window() {
  build_c triangle "$source_dir/examples/triangle.c" || fail "building triangle"
  local output red green blue alpha
  output=$("$work/triangle" 3) || fail "triangle"
  read -r red green blue alpha < <(awk '$1 == "centre" { print $2, $3, $4, $5 }' <<< "$output")
  [ -n "${alpha:-}" ] || fail "no centre pixel in: $output"
  local near=3
  (( red >= 64 - near && red <= 64 + near && green >= 64 - near && green <= 64 + near &&
     blue >= 128 - near && blue <= 128 + near && alpha == 255 )) || fail "centre pixel $red $green $blue $alpha"
  echo "the triangle's centre is $red $green $blue $alpha"
}

check_package() {
  "$cmake" -S "$here/cmake_consumer" -B "$work/consumer" -DCMAKE_PREFIX_PATH="$prefix" \
    -DEXAMPLES_DIR="$source_dir/examples" -DCMAKE_C_COMPILER="$cc" -DCMAKE_C_FLAGS="${extra_flags[*]}" > /dev/null
  "$cmake" --build "$work/consumer" > /dev/null
  local output
  output=$("$work/consumer/echo_from_package" "found by find_package" 42200) || fail "echo from the package"
  expect_line "$output" "echoed: found by find_package"
  echo "find_package(kestrune_system) gives a working kestrune_system::kestrune_system"
}

# The careless-input suite of tests/platform, built from the install alone as a C programmer would.
check_bad_input() {
  build_c bad_input "$source_dir/tests/platform/bad_input.c" || fail "building the bad-input suite"
  SDL_VIDEODRIVER=dummy SDL_AUDIODRIVER=dummy "$work/bad_input" || fail "the bad-input suite"
}

case $mode in
  tree) check_tree ;;
  header) check_header ;;
  examples) check_examples ;;
  window) check_window ;;
  package) check_package ;;
  bad_input) check_bad_input ;;
  *) fail "unknown mode $mode" ;;
esac
