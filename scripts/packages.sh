# Debian packages, sourced by the build and test scripts.
# shellcheck disable=SC2034
BUILD_PACKAGES=(
    cmake ninja-build g++ pkg-config ccache
    juce-modules-source
    libfreetype-dev libpng-dev libjpeg-dev zlib1g-dev
    libx11-dev libxext-dev libxrandr-dev libxinerama-dev libxcursor-dev libxtst-dev
    libogg-dev libvorbis-dev libflac-dev
    libgtest-dev libbenchmark-dev
)
TEST_PACKAGES=(
    clang libclang-rt-14-dev
    xvfb
    ardour
)
