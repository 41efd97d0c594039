# Sourced by ./run and ./test: installs the Debian packages the build needs.
# As root it installs what is missing; otherwise it prints the line to run.
orvane_packages=(cmake g++ make pkg-config clang-format libgtest-dev libgmock-dev libbenchmark-dev lib2geom-dev libboost-dev
                 nlohmann-json3-dev libpugixml-dev libcairo2-dev libmuparser-dev fonts-dejavu-core fonts-dejavu-extra
                 qt6-base-dev qt6-svg-dev desktop-file-utils appstream dpkg-dev lintian xvfb xdotool openbox imagemagick
                 librsvg2-bin "$@")

orvane_ensure_deps() {
    local missing=()
    for package in "${orvane_packages[@]}"; do
        dpkg-query -W -f='${Status}' "$package" 2>/dev/null | grep -q "install ok installed" || missing+=("$package")
    done
    [ ${#missing[@]} -eq 0 ] && return 0
    if [ "$(id -u)" -eq 0 ]; then
        echo "Installing ${missing[*]}" >&2
        apt-get update -qq && DEBIAN_FRONTEND=noninteractive apt-get install -y -qq "${missing[@]}" >/dev/null
    else
        echo "Missing packages. Run:" >&2
        echo "  sudo apt-get install -y ${missing[*]}" >&2
        return 1
    fi
}
